// Pictures from the program's resources for owner-drawn items, and the drawing of one such item.
#pragma once

#include <string>

#include "platform/win32/WinApi.h"
#include "toolkit/Types.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/GdiHandles.h"

namespace foyer {

// A bitmap resource drawn with its fuchsia pixels left out, so the row below shows through.
class ResourcePicture {
 public:
  ResourcePicture() = default;
  // A picture the resources do not hold stays empty and draws nothing.
  ResourcePicture(HINSTANCE instance, const char* name);
  bool IsEmpty() const { return !FColor; }
  SIZE Size() const { return FSize; }
  void Draw(HDC dc, int x, int y) const;

 private:
  GdiBitmap FColor;  // the picture, its transparent pixels black
  GdiBitmap FMask;   // monochrome: white where the picture is transparent
  SIZE FSize{0, 0};
};

// One row of an owner-drawn list: its background (the highlight when selected), the picture at
// indent pixels from the left and centred in height, the text 4 pixels after it, and the focus
// rectangle when the row has the focus. The text is in the font, or in the face that has its
// glyphs.
void DrawPictureItem(const DRAWITEMSTRUCT& item, const ResourcePicture& picture, int indent,
                     const std::string& text, FontCache& fonts, const TFont& font,
                     COLORREF background, COLORREF textColor);

}  // namespace foyer
