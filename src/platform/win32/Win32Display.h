// The screen as the system's device capabilities describe it.
#pragma once

#include "platform/Platform.h"

namespace foyer {

// Asks the screen afresh on every call: the user may change the display mode while we run.
class Win32Display final : public IDisplay {
 public:
  int BitsPerPixel() override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  int PixelsPerInch() override;
};

}  // namespace foyer
