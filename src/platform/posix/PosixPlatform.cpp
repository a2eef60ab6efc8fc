// Services over Linux folders for the native build.
#include "platform/posix/PosixPlatform.h"

namespace foyer {

Services PosixPlatform::Get() {
  return Services{&Fs, &Display, &CodePage, &Clock, &Media, &Programs};
}

}  // namespace foyer
