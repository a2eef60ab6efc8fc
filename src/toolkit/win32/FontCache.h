// The fonts the components name, created once each and shared by every window that uses them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/WinApi.h"
#include "toolkit/Types.h"
#include "toolkit/win32/GdiHandles.h"

namespace foyer {

class FontCache {
 public:
  // The font of that face and height; the colour of a TFont is not part of a font.
  HFONT Get(const TFont& font);

 private:
  struct Entry {
    std::string Name;
    int32_t Height;
    GdiFont Font;
  };
  // A program uses a handful of fonts: a list searched from the front is enough.
  std::vector<Entry> FEntries;
};

}  // namespace foyer
