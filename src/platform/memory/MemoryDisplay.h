// A screen whose colour depth, size and resolution a test chooses.
#pragma once

#include "platform/Platform.h"

namespace foyer {

class MemoryDisplay final : public IDisplay {
 public:
  int BitsPerPixel() override { return FBitsPerPixel; }
  int ScreenWidth() override { return FWidth; }
  int ScreenHeight() override { return FHeight; }
  int PixelsPerInch() override { return FPixelsPerInch; }

  void SetBitsPerPixel(int bits) { FBitsPerPixel = bits; }
  void SetScreenSize(int width, int height);
  void SetPixelsPerInch(int pixelsPerInch) { FPixelsPerInch = pixelsPerInch; }

 private:
  int FBitsPerPixel = 32;
  int FWidth = 1024;
  int FHeight = 768;
  int FPixelsPerInch = 96;
};

}  // namespace foyer
