// Drawing the components with GDI.
#include "toolkit/win32/Painting.h"

#include <algorithm>
#include <vector>

#include "util/Errors.h"

namespace foyer {

COLORREF ColorRef(TColor color) {
  if ((color & kSystemColor) != 0) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0xFFFFFF;
}

namespace {

std::optional<bool> toldHighContrast;

}  // namespace

bool IsHighContrast() {
  if (toldHighContrast) return *toldHighContrast;
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  // Asked at every paint: the answer costs little and is never stale.
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void TellHighContrast(std::optional<bool> isOn) {
  toldHighContrast = isOn;
}

COLORREF BackgroundOf(const TWinControl& control) {
  return IsHighContrast() ? GetSysColor(COLOR_WINDOW) : ColorRef(control.Color());
}

COLORREF TextColorOf(const TWinControl& control) {
  return IsHighContrast() ? GetSysColor(COLOR_WINDOWTEXT) : ColorRef(control.Font().Color);
}

RECT ToRect(const TRect& rect) {
  return {rect.Left, rect.Top, rect.Right, rect.Bottom};
}

bool IsPaletteDevice(HDC dc) {
  return (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0;
}

void FillSolid(HDC dc, const RECT& area, COLORREF color) {
  GdiBrush brush(CreateSolidBrush(color));
  if (brush) FillRect(dc, &area, brush.Get());
}

PaintBuffer::PaintBuffer(HDC target, const RECT& area)
    : FTarget(target), FArea(area), FDC(CreateCompatibleDC(target)) {
  const int width = std::max<LONG>(1, area.right - area.left);
  const int height = std::max<LONG>(1, area.bottom - area.top);
  // Compatible with the target, not with the memory DC, which starts with a 1 x 1 monochrome
  // bitmap.
  FBitmap = GdiBitmap(CreateCompatibleBitmap(target, width, height));
  if (!FDC || !FBitmap) throw Exception("Out of system resources");
  FSelection.emplace(FDC.Get(), FBitmap.Get());
  SetWindowOrgEx(FDC.Get(), area.left, area.top, nullptr);
}

void PaintBuffer::Present() const {
  BitBlt(FTarget, FArea.left, FArea.top, FArea.right - FArea.left, FArea.bottom - FArea.top,
         FDC.Get(), FArea.left, FArea.top, SRCCOPY);
}

BITMAPINFO TopDownBitmapInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  // Negative: the rows are stored top-down.
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

void PaintImage(HDC dc, const TImage& image, const Picture& picture) {
  if (picture.IsEmpty() || image.Width() <= 0 || image.Height() <= 0) return;
  const BITMAPINFO info = TopDownBitmapInfo(picture.Width, picture.Height);
  SavedDCState state(dc);
  SetStretchBltMode(dc, COLORONCOLOR);
  if (image.Stretch()) {
    StretchDIBits(dc, image.Left(), image.Top(), image.Width(), image.Height(), 0, 0, picture.Width,
                  picture.Height, picture.Pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    return;
  }
  // Clipping, rather than a smaller source rectangle, sidesteps where a top-down DIB's source
  // rows are counted from.
  IntersectClipRect(dc, image.Left(), image.Top(), image.Left() + image.Width(),
                    image.Top() + image.Height());
  StretchDIBits(dc, image.Left(), image.Top(), picture.Width, picture.Height, 0, 0, picture.Width,
                picture.Height, picture.Pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void PaintLabel(HDC dc, const TLabel& label, FontCache& fonts, COLORREF background, int offset,
                std::optional<COLORREF> highContrastText) {
  RECT area = ToRect(label.BoundsRect());
  if (!label.Transparent()) FillSolid(dc, area, background);
  OffsetRect(&area, offset, offset);
  if (label.Caption().empty()) return;
  // Drawn wide: DrawTextA reads its bytes in the font's code page, not in the program's.
  const std::wstring caption = WideText(label.Caption());
  SavedDCState state(dc);
  ObjectSelection fontSelection(dc, fonts.For(label.Font(), caption));
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_SINGLELINE | DT_TOP;
  format |= label.IsPath() ? DT_NOPREFIX | DT_PATH_ELLIPSIS : DT_NOCLIP;
  switch (label.Alignment()) {
    case TAlignment::LeftJustify:
      format |= DT_LEFT;
      break;
    case TAlignment::RightJustify:
      format |= DT_RIGHT;
      break;
    case TAlignment::Center:
      format |= DT_CENTER;
      break;
  }
  const int length = static_cast<int>(caption.size());
  if (IsHighContrast()) {
    // Flat: an embossed caption's light copy is lost on a light theme.
    SetTextColor(dc, !label.Enabled() ? GetSysColor(COLOR_GRAYTEXT)
                                      : highContrastText.value_or(GetSysColor(COLOR_WINDOWTEXT)));
    DrawTextW(dc, caption.c_str(), length, &area, format);
    return;
  }
  if (label.Enabled()) {
    SetTextColor(dc, ColorRef(label.Font().Color));
    DrawTextW(dc, caption.c_str(), length, &area, format);
    return;
  }
  // Disabled text is embossed: a light copy one pixel right and down, the shadow on top.
  RECT light = area;
  OffsetRect(&light, 1, 1);
  SetTextColor(dc, ColorRef(clBtnHighlight));
  DrawTextW(dc, caption.c_str(), length, &light, format);
  SetTextColor(dc, ColorRef(clBtnShadow));
  DrawTextW(dc, caption.c_str(), length, &area, format);
}

void PaintBevel(HDC dc, RECT& area, TBevelCut cut, int32_t width) {
  if (cut == TBevelCut::None) return;
  const COLORREF light = ColorRef(clBtnHighlight);
  const COLORREF dark = ColorRef(clBtnShadow);
  const COLORREF topLeft = cut == TBevelCut::Raised ? light : dark;
  const COLORREF bottomRight = cut == TBevelCut::Raised ? dark : light;
  for (int32_t ring = 0; ring < width && !IsRectEmpty(&area); ++ring) {
    const LONG l = area.left, t = area.top, r = area.right, b = area.bottom;
    // The light edges own the bottom-left corner, the dark ones the top-right.
    FillSolid(dc, {l, t, r - 1, t + 1}, topLeft);
    FillSolid(dc, {l, t, l + 1, b}, topLeft);
    FillSolid(dc, {r - 1, t, r, b}, bottomRight);
    FillSolid(dc, {l + 1, b - 1, r, b}, bottomRight);
    InflateRect(&area, -1, -1);
  }
}

GdiPalette CreatePictureColors(const Picture& picture) {
  if (picture.Palette.empty()) return GdiPalette();
  const size_t count = std::min<size_t>(picture.Palette.size(), 256);
  // LOGPALETTE declares one entry and is followed by the rest.
  std::vector<uint8_t> storage(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = static_cast<WORD>(count);
  for (size_t i = 0; i < count; ++i) {
    const uint32_t rgb = picture.Palette[i];
    PALETTEENTRY& entry = logical->palPalEntry[i];
    entry.peRed = static_cast<BYTE>(rgb >> 16);
    entry.peGreen = static_cast<BYTE>(rgb >> 8);
    entry.peBlue = static_cast<BYTE>(rgb);
    entry.peFlags = 0;
  }
  return GdiPalette(CreatePalette(logical));
}

void ButtonShades::MakeFor(const std::shared_ptr<const Picture>& source) {
  if (source == FSource) return;
  FLighter = Shaded(*source, 35);
  FDarker = Shaded(*source, -25);
  FSource = source;
}

const Picture& ButtonShades::Lighter(const std::shared_ptr<const Picture>& source) {
  MakeFor(source);
  return FLighter;
}

const Picture& ButtonShades::Darker(const std::shared_ptr<const Picture>& source) {
  MakeFor(source);
  return FDarker;
}

namespace {

constexpr int32_t kHotRingWidth = 2;

// A ring of one colour inside the rectangle.
void PaintRing(HDC dc, RECT area, COLORREF color, int32_t width) {
  for (int32_t ring = 0; ring < width && !IsRectEmpty(&area); ++ring) {
    const LONG l = area.left, t = area.top, r = area.right, b = area.bottom;
    FillSolid(dc, {l, t, r, t + 1}, color);
    FillSolid(dc, {l, b - 1, r, b}, color);
    FillSolid(dc, {l, t, l + 1, b}, color);
    FillSolid(dc, {r - 1, t, r, b}, color);
    InflateRect(&area, -1, -1);
  }
}

void PaintButtonImage(HDC dc, const TImage& image, const ButtonLooks* looks) {
  const std::shared_ptr<const Picture>& picture = image.GetPicture();
  if (looks == nullptr) {
    PaintImage(dc, image, *picture);
    return;
  }
  if (&image == looks->Form.DownButton()) {
    PaintImage(dc, image, looks->Shades.Darker(picture));
  } else if (&image == looks->Form.HotButton()) {
    PaintImage(dc, image, looks->Shades.Lighter(picture));
    // A light picture can hardly be lightened further, so a ring in the system's selection
    // colour, a pixel inside the picture's own edge, tells the lit button on every skin.
    RECT ring = ToRect(image.BoundsRect());
    InflateRect(&ring, -1, -1);
    PaintRing(dc, ring, GetSysColor(COLOR_HIGHLIGHT), kHotRingWidth);
  } else {
    PaintImage(dc, image, *picture);
  }
  if (looks->ShowFocus && &image == looks->Form.Focused()) {
    RECT inside = ToRect(image.BoundsRect());
    InflateRect(&inside, -4, -4);
    if (!IsRectEmpty(&inside)) {
      // Drawn in the caption's colour against the picture, whatever its colours.
      SavedDCState state(dc);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      DrawFocusRect(dc, &inside);
    }
  }
}

// The tab stop that makes a picture a button, found by its picture or by its caption; null for
// any other control.
const TTabStop* ButtonStopOf(const TForm& form, const TControl* control) {
  for (const TTabStop& stop : form.TabOrder()) {
    if (dynamic_cast<const TImage*>(stop.Control) == nullptr) continue;
    if (stop.Control == control || stop.Caption == control) return &stop;
  }
  return nullptr;
}

// A picture button whose picture or caption is disabled takes no click, so it is never lit.
bool IsDisabledButton(const TTabStop& stop) {
  return !stop.Control->Enabled() || (stop.Caption != nullptr && !stop.Caption->Enabled());
}

bool IsLitButton(const ButtonLooks& looks, const TTabStop& stop) {
  return !IsDisabledButton(stop) &&
         (stop.Control == looks.Form.HotButton() || stop.Control == looks.Form.DownButton());
}

COLORREF HighContrastCaption(const ButtonLooks& looks, const TTabStop& stop) {
  if (IsDisabledButton(stop)) return GetSysColor(COLOR_GRAYTEXT);
  return GetSysColor(IsLitButton(looks, stop) ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
}

// The skin's background: a picture that a visible picture button lies on.
bool IsBackdrop(const TForm& form, const TImage& image) {
  const RECT bounds = ToRect(image.BoundsRect());
  bool isAbove = false;
  for (const TControl* control : form.Controls()) {
    if (control == &image) {
      isAbove = true;
      continue;
    }
    if (!isAbove || !control->Visible()) continue;
    const TTabStop* stop = ButtonStopOf(form, control);
    if (stop == nullptr || stop->Control != control) continue;
    const RECT other = ToRect(control->BoundsRect());
    RECT overlap{};
    if (IntersectRect(&overlap, &bounds, &other)) return true;
  }
  return false;
}

constexpr int32_t kHighContrastFocusInset = 3;
constexpr int32_t kHighContrastFocusWidth = 2;

// The skin's pictures are the publisher's: their colours were chosen for the skin, not for the
// user's eyes, and captions on them may be unreadable; the theme the user chose wins. The
// buttons keep their size and place, so the window's layout does not change. Pictures that are
// not skin (an entry's preview, the picture viewer's) are what the user asked to see: they stay.
void PaintHighContrastImage(HDC dc, const TImage& image, const ButtonLooks* looks) {
  const TTabStop* stop = looks != nullptr ? ButtonStopOf(looks->Form, &image) : nullptr;
  if (stop != nullptr && stop->Control == &image) {
    RECT face = ToRect(image.BoundsRect());
    const bool isLit = IsLitButton(*looks, *stop);
    FillSolid(dc, face, GetSysColor(isLit ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    // In the window's text colour: the theme's button face may be its window colour too.
    PaintRing(dc, face, GetSysColor(COLOR_WINDOWTEXT), 1);
    if (looks->ShowFocus && &image == looks->Form.Focused()) {
      InflateRect(&face, -kHighContrastFocusInset, -kHighContrastFocusInset);
      PaintRing(dc, face, HighContrastCaption(*looks, *stop), kHighContrastFocusWidth);
    }
    return;
  }
  if (looks != nullptr && IsBackdrop(looks->Form, image)) return;
  PaintImage(dc, image, *image.GetPicture());
}

}  // namespace

void PaintGraphicControls(HDC dc, const TWinControl& parent, const RECT& area, FontCache& fonts,
                          const ButtonLooks* looks) {
  const bool isHighContrast = IsHighContrast();
  const COLORREF background = BackgroundOf(parent);
  for (TControl* control : parent.Controls()) {
    if (!control->Visible()) continue;
    const RECT bounds = ToRect(control->BoundsRect());
    RECT overlap{};
    // A disabled caption's light copy reaches one pixel past its bounds.
    RECT reach = bounds;
    InflateRect(&reach, 1, 1);
    if (!IntersectRect(&overlap, &reach, &area)) continue;
    if (const auto* image = dynamic_cast<const TImage*>(control)) {
      if (isHighContrast) {
        PaintHighContrastImage(dc, *image, looks);
      } else {
        PaintButtonImage(dc, *image, looks);
      }
    } else if (const auto* label = dynamic_cast<const TLabel*>(control)) {
      const bool pressed = looks != nullptr && looks->Form.DownButton() != nullptr &&
                           looks->Form.PictureButtonOf(label) == looks->Form.DownButton();
      std::optional<COLORREF> text;
      const TTabStop* stop = looks != nullptr ? ButtonStopOf(looks->Form, label) : nullptr;
      if (isHighContrast && stop != nullptr && stop->Caption == label)
        text = HighContrastCaption(*looks, *stop);
      PaintLabel(dc, *label, fonts, background, pressed ? 1 : 0, text);
    } else if (dynamic_cast<const TBevel*>(control) != nullptr) {
      RECT frame = bounds;
      PaintBevel(dc, frame, TBevelCut::Lowered, 1);
    }
  }
}

}  // namespace foyer
