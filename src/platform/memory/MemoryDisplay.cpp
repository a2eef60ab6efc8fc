// A screen whose colour depth, size and resolution a test chooses.
#include "platform/memory/MemoryDisplay.h"

namespace foyer {

void MemoryDisplay::SetScreenSize(int width, int height) {
  FWidth = width;
  FHeight = height;
}

}  // namespace foyer
