// Fonts by face and height.
#include "toolkit/win32/FontCache.h"

#include "util/Errors.h"

namespace foyer {

namespace {

// "Terminal" is an OEM font: asked for with another character set, the font mapper picks a
// different face.
bool IsTerminal(const std::string& name) {
  return lstrcmpiA(name.c_str(), "Terminal") == 0;
}

// Where "Terminal" is missing (Wine ships none) the mapper must still pick a fixed-pitch face,
// or the descriptions of a list no longer line up in one column.
BYTE PitchFor(const std::string& name) {
  return IsTerminal(name) ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE;
}

}  // namespace

HFONT FontCache::Get(const TFont& font) {
  for (const Entry& entry : FEntries) {
    if (entry.Height == font.Height && entry.Name == font.Name) return entry.Font.Get();
  }
  GdiFont created(CreateFontA(font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              IsTerminal(font.Name) ? OEM_CHARSET : DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              PitchFor(font.Name), font.Name.c_str()));
  if (!created) throw Exception("Cannot create the font " + font.Name);
  FEntries.push_back({font.Name, font.Height, std::move(created)});
  return FEntries.back().Font.Get();
}

}  // namespace foyer
