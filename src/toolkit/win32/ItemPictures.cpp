// Pictures from the program's resources for owner-drawn items.
#include "toolkit/win32/ItemPictures.h"

namespace foyer {

namespace {

constexpr COLORREF kTransparentKey = RGB(255, 0, 255);
// The raster operation "destination and not source": clears the pixels the mask marks.
constexpr DWORD kAndNotSource = 0x00220326;
constexpr int kTextGap = 4;

}  // namespace

ResourcePicture::ResourcePicture(HINSTANCE instance, const char* name) {
  GdiBitmap color(LoadBitmapA(instance, name));
  if (!color) return;
  BITMAP info{};
  GetObjectA(color.Get(), sizeof info, &info);
  const SIZE size{info.bmWidth, info.bmHeight};
  GdiBitmap mask(CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
  MemoryDC colorDC(CreateCompatibleDC(nullptr));
  MemoryDC maskDC(CreateCompatibleDC(nullptr));
  if (!mask || !colorDC || !maskDC) return;
  {
    ObjectSelection colorSelection(colorDC.Get(), color.Get());
    ObjectSelection maskSelection(maskDC.Get(), mask.Get());
    // A copy from colour to monochrome turns the background colour white and the rest black.
    SetBkColor(colorDC.Get(), kTransparentKey);
    BitBlt(maskDC.Get(), 0, 0, size.cx, size.cy, colorDC.Get(), 0, 0, SRCCOPY);
    // And back, white as white and black as black: the transparent pixels become black.
    SetBkColor(colorDC.Get(), RGB(255, 255, 255));
    SetTextColor(colorDC.Get(), RGB(0, 0, 0));
    BitBlt(colorDC.Get(), 0, 0, size.cx, size.cy, maskDC.Get(), 0, 0, kAndNotSource);
  }
  FColor = std::move(color);
  FMask = std::move(mask);
  FSize = size;
}

void ResourcePicture::Draw(HDC dc, int x, int y) const {
  if (IsEmpty()) return;
  MemoryDC source(CreateCompatibleDC(dc));
  if (!source) return;
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  {
    // Black where the picture goes, the row untouched elsewhere; then the picture over it.
    ObjectSelection maskSelection(source.Get(), FMask.Get());
    BitBlt(dc, x, y, FSize.cx, FSize.cy, source.Get(), 0, 0, SRCAND);
  }
  {
    ObjectSelection colorSelection(source.Get(), FColor.Get());
    BitBlt(dc, x, y, FSize.cx, FSize.cy, source.Get(), 0, 0, SRCPAINT);
  }
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
}

void DrawPictureItem(const DRAWITEMSTRUCT& item, const ResourcePicture& picture, int indent,
                     const std::string& text, FontCache& fonts, const TFont& font,
                     COLORREF background, COLORREF textColor) {
  const HDC dc = item.hDC;
  const RECT& area = item.rcItem;
  const bool isSelected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF fill = isSelected ? GetSysColor(COLOR_HIGHLIGHT) : background;
  SetBkColor(dc, fill);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);

  const SIZE size = picture.Size();
  const int left = area.left + indent;
  picture.Draw(dc, left, area.top + (area.bottom - area.top - size.cy) / 2);

  const std::wstring wide = WideText(text);
  ObjectSelection fontSelection(dc, fonts.For(font, wide));
  SetTextColor(dc, isSelected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColor);
  SetBkMode(dc, TRANSPARENT);
  RECT textArea = area;
  textArea.left = left + size.cx + kTextGap;
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &textArea,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    DrawFocusRect(dc, &area);
  }
}

}  // namespace foyer
