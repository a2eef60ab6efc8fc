// Fonts by face and height.
#include "toolkit/win32/FontCache.h"

#include "util/Errors.h"

namespace foyer {

namespace {

// "Terminal" is an OEM font: asked for with another character set, the font mapper picks a
// different face.
BYTE CharSetFor(const std::string& name) {
  return lstrcmpiA(name.c_str(), "Terminal") == 0 ? OEM_CHARSET : DEFAULT_CHARSET;
}

}  // namespace

HFONT FontCache::Get(const TFont& font) {
  for (const Entry& entry : FEntries) {
    if (entry.Height == font.Height && entry.Name == font.Name) return entry.Font.Get();
  }
  GdiFont created(CreateFontA(font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              CharSetFor(font.Name), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str()));
  if (!created) throw Exception("Cannot create the font " + font.Name);
  FEntries.push_back({font.Name, font.Height, std::move(created)});
  return FEntries.back().Font.Get();
}

}  // namespace foyer
