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

// Whether windows draw in the colours of the user's high-contrast theme: what
// SPI_GETHIGHCONTRAST says, unless the painting was told otherwise.
bool IsHighContrast();
// Tells the painting that high contrast is on or off, whatever the system says; nullopt goes back
// to asking the system. Wine 8 always answers that it is off and refuses SPI_SETHIGHCONTRAST, so
// this is how its tests and screenshots see the high-contrast look.
void TellHighContrast(std::optional<bool> isOn);

// What a window or a panel fills its area with, and what text on it is drawn in, by default:
// its own colours, or in high contrast the theme's window and window-text colours.
COLORREF BackgroundOf(const TWinControl& control);
COLORREF TextColorOf(const TWinControl& control);

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
// In high contrast the text is in the colour given (the theme's window text when none is) and a
// disabled caption in the theme's grey text, flat.
void PaintLabel(HDC dc, const TLabel& label, FontCache& fonts, COLORREF background, int offset = 0,
                std::optional<COLORREF> highContrastText = std::nullopt);

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
// rectangle inside while the focus is shown. In high contrast they are plain buttons in the
// theme's colours instead (see PaintGraphicControls).
struct ButtonLooks {
  const TForm& Form;
  bool ShowFocus;
  ButtonShades& Shades;
};

// One bevel of a panel, drawn inside the rectangle, which shrinks by the bevel's width.
void PaintBevel(HDC dc, RECT& area, TBevelCut cut, int32_t width);

// The pictures, captions and bevels that lie on a window, in z-order, where they reach into the
// area. In high contrast the skin gives way to the theme: a form's picture buttons are plain
// buttons in its button colours, lit in its selection colours under the pointer and while
// pressed, ringed in their caption's colour while they show the focus, and a picture that lies
// under picture buttons (the skin's background) is not drawn; other pictures are content and
// are drawn as they are.
void PaintGraphicControls(HDC dc, const TWinControl& parent, const RECT& area, FontCache& fonts,
                          const ButtonLooks* looks = nullptr);

// A logical palette of the picture's colour table, or none when it has no table.
GdiPalette CreatePictureColors(const Picture& picture);

}  // namespace foyer
