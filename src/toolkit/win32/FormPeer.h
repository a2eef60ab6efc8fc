// A form's top-level window: frame and placement, painting of the pictures and labels on it,
// their mouse clicks, and the skin's palette on 256-colour screens.
#pragma once

#include <memory>
#include <optional>

#include "toolkit/Form.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/Painting.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class FormPeer final : public WindowPeer {
 public:
  FormPeer(const PeerContext& context, TForm& form);

  void Changed(TChange what, int32_t index) override;
  TPoint ChildOffset() const override { return {}; }
  // The first showing of the main window: as the program was started (minimised, maximised).
  void ShowAsStarted();
  // A key pressed in this window or one of its children, before the focused control sees it:
  // the scrolling keys for the form's scroll target while a button has the focus; the form's
  // own keys (its tab order, arrows between pictures, access keys, Enter in a list); then, in a
  // form that holds buttons, Escape presses the cancel button, Enter the focused or the default
  // button, and Tab moves the focus between tab stops; in one without, Escape closes it if the
  // form says so. True when the key was used.
  bool DialogKey(const MSG& message);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Paints the whole client area, or the part given, into any device context.
  void Paint(HDC dc, const RECT& area) override;
  void ApplyBounds();
  void PixelsPerInchChanged(int pixelsPerInch, const RECT& suggested);
  void FrameClientSize(std::optional<POINT> origin);
  void FitClient(int width, int height);
  void StoreSizes();
  // The palette of the bottom-most picture that has a colour table (the background).
  HPALETTE Palette();
  bool RealizeOnScreen(bool background);
  bool DialogKeyOf(const MSG& message);
  bool FormKey(const MSG& message, WindowPeer* focused);
  // A scrolling key sent on to the form's scroll target while a button has the focus.
  bool ScrollKey(WPARAM key, WindowPeer* focused);
  void MouseMove(TPoint point);
  // The control a window of this form belongs to, the form's own window giving null.
  TWinControl* ControlOfWindow(HWND window) const;
  void InvalidateFocused();
  // Tells readers which picture button has the keyboard's focus, when the window has it.
  void NotifyFocusedPicture() const;
  // The child that should have the focus when the form gets it, or null.
  HWND FocusTarget() const;
  static bool CanFocus(HWND parent, HWND child);

  TForm& FForm;
  DWORD FStyle = 0;
  DWORD FExStyle = 0;
  // Asked for WM_MOUSELEAVE since the pointer came in.
  bool FTrackingLeave = false;
  // The capture is being let go of on purpose, with the release of the button.
  bool FReleasing = false;
  ButtonShades FShades;
  // The child that had the focus when the form was last deactivated; forgotten when it hides,
  // so that every showing starts at the active control.
  HWND FLastFocus = nullptr;
  GdiPalette FPalette;
  std::shared_ptr<const Picture> FPalettePicture;
};

}  // namespace foyer
