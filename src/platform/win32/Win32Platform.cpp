// The real services of the system.
#include "platform/win32/Win32Platform.h"

#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Display.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Media.h"
#include "platform/win32/WinApi.h"

namespace foyer {

namespace {

class Win32Clock final : public IClock {
 public:
  uint32_t Milliseconds() override { return GetTickCount(); }
};

}  // namespace

Services Win32Services() {
  static Win32FileSystem fileSystem;
  static Win32Display display;
  static Win32CodePage codePage;
  static Win32Clock clock;
  static Win32Media media;
  static Win32Programs programs;
  return Services{&fileSystem, &display, &codePage, &clock, &media, &programs};
}

}  // namespace foyer
