// Feeds arbitrary bytes to the bitmap decoder: it may refuse them, but only with the program's
// own errors, and what it accepts must be a whole picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "toolkit/Bitmap.h"
#include "util/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const foyer::Picture picture = foyer::DecodeBitmap(data, size);
    const size_t pixels = static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height);
    if (picture.Width < 0 || picture.Height < 0 || picture.Pixels.size() != pixels ||
        picture.Palette.size() > 256) {
      std::abort();
    }
  } catch (const foyer::Exception&) {
  }
  return 0;
}
