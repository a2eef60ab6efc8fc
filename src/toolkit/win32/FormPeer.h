// A form's top-level window: frame and placement, painting of the pictures and labels on it,
// their mouse clicks, and the skin's palette on 256-colour screens.
#pragma once

#include <memory>

#include "toolkit/Form.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class FormPeer final : public WindowPeer {
 public:
  FormPeer(const PeerContext& context, TForm& form);

  void Changed(TChange what, int32_t index) override;
  TPoint ChildOffset() const override { return {}; }
  // The first showing of the main window: as the program was started (minimised, maximised).
  void ShowAsStarted();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Paints the whole client area, or the part given, into any device context.
  void Paint(HDC dc, const RECT& area);
  void PaintControls(HDC dc, const RECT& area);
  void ApplyBounds();
  void StoreSizes();
  // The palette of the bottom-most picture that has a colour table (the background).
  HPALETTE Palette();
  bool RealizeOnScreen(bool background);
  void MouseDown(TPoint point);
  void MouseUp(TPoint point);
  void DoubleClick(TPoint point);

  TForm& FForm;
  DWORD FStyle = 0;
  DWORD FExStyle = 0;
  // The control the left button went down on; it gets the click if the button comes up over it.
  TGraphicControl* FPressed = nullptr;
  GdiPalette FPalette;
  std::shared_ptr<const Picture> FPalettePicture;
};

}  // namespace foyer
