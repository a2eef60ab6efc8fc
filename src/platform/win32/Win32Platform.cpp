// The real services of the system.
#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32CharCase.h"
#include "platform/win32/Win32Display.h"
#include "platform/win32/Win32FileSystem.h"

namespace foyer {

Services Win32Services() {
  static Win32FileSystem fileSystem;
  static Win32Display display;
  static Win32CharCase charCase;
  return Services{&fileSystem, &display, &charCase};
}

}  // namespace foyer
