// Drawing the components with GDI: colours, the off-screen buffer, pictures, captions, bevels.
#pragma once

#include <memory>
#include <optional>

#include "platform/win32/WinApi.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Types.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/GdiHandles.h"

namespace foyer {

// A component colour as GDI takes it; system colours are looked up now.
COLORREF ColorRef(TColor color);

RECT ToRect(const TRect& rect);

// Whether the device maps colours through a palette (a screen of at most 256 colours).
bool IsPaletteDevice(HDC dc);

void FillSolid(HDC dc, const RECT& area, COLORREF color);

// An off-screen copy of an area of a target device context: drawing goes into the copy in the
// target's coordinates, and Present puts it on the target in one copy, so nothing flickers.
class PaintBuffer {
 public:
  PaintBuffer(HDC target, const RECT& area);
  HDC Get() const { return FDC.Get(); }
  void Present() const;

 private:
  HDC FTarget;
  RECT FArea;
  MemoryDC FDC;
  GdiBitmap FBitmap;
  std::optional<ObjectSelection> FSelection;
};

// The header of a 32-bit device-independent bitmap of that size with its rows top-down, as
// pictures are held in memory.
BITMAPINFO TopDownBitmapInfo(int width, int height);

// A picture over the control's area when it stretches, else at its top-left and clipped to it.
void PaintImage(HDC dc, const TImage& image, const Picture& picture);

// The caption in the label's font (or the face that has its glyphs), with the ampersand
// underlines, moved by the offset; an opaque label first fills its area with the background.
void PaintLabel(HDC dc, const TLabel& label, FontCache& fonts, COLORREF background, int offset = 0);

// The lighter and darker copies of picture buttons' picture, made once for the picture they
// share.
class ButtonShades {
 public:
  const Picture& Lighter(const std::shared_ptr<const Picture>& source);
  const Picture& Darker(const std::shared_ptr<const Picture>& source);

 private:
  void MakeFor(const std::shared_ptr<const Picture>& source);

  std::shared_ptr<const Picture> FSource;
  Picture FLighter;
  Picture FDarker;
};

// How a form's picture buttons look: lighter and ringed in the selection colour under the
// pointer; darker while pressed, with the caption one pixel right and down; with a focus
// rectangle inside while the focus is shown.
struct ButtonLooks {
  const TForm& Form;
  bool ShowFocus;
  ButtonShades& Shades;
};

// One bevel of a panel, drawn inside the rectangle, which shrinks by the bevel's width.
void PaintBevel(HDC dc, RECT& area, TBevelCut cut, int32_t width);

// The pictures, captions and bevels that lie on a window, in z-order, where they reach into the
// area.
void PaintGraphicControls(HDC dc, const TWinControl& parent, const RECT& area, FontCache& fonts,
                          const ButtonLooks* looks = nullptr);

// A logical palette of the picture's colour table, or none when it has no table.
GdiPalette CreatePictureColors(const Picture& picture);

}  // namespace foyer
