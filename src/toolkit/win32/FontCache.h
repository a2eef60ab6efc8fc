// The fonts the components name, created once each and shared by every window that uses them,
// and the TrueType face that shows what a bitmap font has no glyphs for.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/WinApi.h"
#include "toolkit/Types.h"
#include "toolkit/win32/GdiHandles.h"

namespace foyer {

// A program string in UTF-16, read as the A entry points read it: in the process's code page
// (UTF-8 where the manifest's code page is in force, else the ANSI code page).
std::wstring WideText(const std::string& text);

class FontCache {
 public:
  // The font of that face and height; the colour of a TFont is not part of a font.
  HFONT Get(const TFont& font);
  // The font to show the text in: the named one when it has a glyph for every character, else
  // a TrueType face of the same design and height, which has glyphs for more scripts of its own
  // and, like every TrueType font, the system's linked fonts for the rest (CJK).
  HFONT For(const TFont& font, const std::wstring& text);
  HFONT For(const TFont& font, const std::string& text);

 private:
  struct Entry {
    std::string Name;
    int32_t Height;
    GdiFont Font;
    // Made the first time a text needs it.
    GdiFont Fallback;
    // A bitmap font holds the characters of its character set's code page, and no others.
    bool IsBitmap = false;
    UINT CodePage = 0;
  };
  Entry& EntryOf(const TFont& font);
  bool Shows(const Entry& entry, const std::wstring& text);
  HDC ProbeDC();

  // A program uses a handful of fonts: a list searched from the front is enough.
  std::vector<Entry> FEntries;
  MemoryDC FProbe;
};

}  // namespace foyer
