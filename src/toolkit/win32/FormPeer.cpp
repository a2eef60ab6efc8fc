// A form's top-level window.
#include "toolkit/win32/FormPeer.h"

#include <algorithm>
#include <optional>

#include "toolkit/Application.h"
#include "toolkit/win32/ButtonPeer.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/FormAccessible.h"
#include "toolkit/win32/Painting.h"
#include "toolkit/win32/PixelsPerInch.h"
#include "toolkit/win32/ScrollKeys.h"

namespace foyer {

namespace {

TPoint PointOf(LPARAM lParam) {
  // Client coordinates are signed: the mouse can be left of or above the window while captured.
  return {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

DWORD FrameStyle(const TForm& form) {
  const TBorderIcons icons = form.BorderIcons();
  DWORD style = WS_CLIPCHILDREN;
  switch (form.BorderStyle()) {
    case TBorderStyle::Sizeable:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME;
      break;
    case TBorderStyle::Single:
      style |= WS_OVERLAPPED | WS_CAPTION;
      break;
    case TBorderStyle::Dialog:
      // Dialogs have a close box at most.
      style |= WS_OVERLAPPED | WS_CAPTION;
      if (icons.SystemMenu) style |= WS_SYSMENU;
      return style;
    case TBorderStyle::None:
      return style | WS_POPUP;
  }
  // Minimise and maximise boxes live on the system menu's bar.
  if (icons.SystemMenu) {
    style |= WS_SYSMENU;
    if (icons.Minimize) style |= WS_MINIMIZEBOX;
    if (icons.Maximize) style |= WS_MAXIMIZEBOX;
  }
  return style;
}

DWORD FrameExStyle(const TForm& form) {
  return form.BorderStyle() == TBorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0;
}

std::string ClassNameOf(const TForm& form) {
  return form.Name().empty() ? std::string("TForm") : "T" + form.Name();
}

// The outer size of a frame around a client area of the form's client size, at the form's
// pixels per inch.
SIZE FrameAroundClient(const TForm& form, DWORD style, DWORD exStyle) {
  RECT frame = {0, 0, std::max(0, form.ClientWidth()), std::max(0, form.ClientHeight())};
  FrameAroundClientAt(frame, style, exStyle, form.PixelsPerInch());
  return {frame.right - frame.left, frame.bottom - frame.top};
}

SIZE FrameOfBounds(const TForm& form) {
  return {std::max(0, form.Width()), std::max(0, form.Height())};
}

// The top-left corner that centres a frame on the screen; never off its top or left edge.
POINT CenteredOrigin(SIZE frame) {
  const int left = (GetSystemMetrics(SM_CXSCREEN) - frame.cx) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - frame.cy) / 2;
  return {std::max(0, left), std::max(0, top)};
}

// Secondary forms belong to the main window: they stay above it and leave the task bar to it.
HWND OwnerFor(const TForm& form) {
  const TForm* mainForm = Application().MainForm();
  if (mainForm == nullptr || mainForm == &form) return nullptr;
  WindowPeer* peer = WindowPeer::Of(*mainForm);
  return peer != nullptr ? peer->Handle() : nullptr;
}

}  // namespace

FormPeer::FormPeer(const PeerContext& context, TForm& form)
    : WindowPeer(context, form),
      FForm(form),
      FStyle(FrameStyle(form)),
      FExStyle(FrameExStyle(form)) {
  const std::string className = ClassNameOf(form);
  RegisterClassOnce(className, CS_DBLCLKS, true);
  // Unbound, a form's Width and Height follow its client size unless SetBounds gave it an
  // outer size since.
  const bool sizedByClient =
      form.Width() == form.ClientWidth() && form.Height() == form.ClientHeight();
  const SIZE frame =
      sizedByClient ? FrameAroundClient(form, FStyle, FExStyle) : FrameOfBounds(form);
  POINT origin{form.Left(), form.Top()};
  switch (form.Position()) {
    case TPosition::Designed:
      break;
    case TPosition::Default:
    case TPosition::DefaultPosOnly:
      origin = {CW_USEDEFAULT, CW_USEDEFAULT};
      break;
    case TPosition::ScreenCenter:
      origin = CenteredOrigin(frame);
      break;
  }
  // Created hidden; forms are shown when they are needed and reused.
  CreateOwnWindow(FExStyle, className, form.Caption(), FStyle, origin.x, origin.y, frame.cx,
                  frame.cy, OwnerFor(form));
  // The window may have been made on a monitor of other pixels per inch than the screen's: the
  // form lays itself out for that monitor, and the frame follows its client size.
  const int pixelsPerInch = WindowPixelsPerInch(Handle());
  if (pixelsPerInch != form.PixelsPerInch()) {
    form.BackendPixelsPerInchChanged(pixelsPerInch);
    FrameClientSize(std::nullopt);
  }
  // Users who asked for keyboard cues always see them.
  BOOL cues = FALSE;
  if (SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0) && cues) FForm.SetFocusCues(true);
  // A hidden window gets its first WM_SIZE only when it is shown: the form learns its sizes
  // now. Its resize handler may run, as for any resize.
  Application().Dispatch([this] { StoreSizes(); });
}

void FormPeer::ShowAsStarted() {
  ShowWindow(Handle(), SW_SHOWDEFAULT);
}

void FormPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::Bounds:
      ApplyBounds();
      break;
    case TChange::Visible:
      ShowWindow(Handle(), FForm.Visible() ? SW_SHOW : SW_HIDE);
      // After the hiding, which deactivates the form and so records the focus.
      if (!FForm.Visible()) FLastFocus = nullptr;
      break;
    case TChange::Focus:
      FLastFocus = nullptr;
      if (GetActiveWindow() == Handle()) {
        const HWND target = FocusTarget();
        SetFocus(target != nullptr ? target : Handle());
        NotifyFocusedPicture();
      }
      break;
    case TChange::Text:
      SetWindowTextA(Handle(), FForm.Caption().c_str());
      break;
    case TChange::Enabled:
      WindowPeer::Changed(what, index);
      break;
    default:
      // Colour, font, style: everything the form paints may look different.
      InvalidateRect(Handle(), nullptr, FALSE);
      break;
  }
}

// A bound form has two sizes: SetClientSize changes the client size, SetBounds the outer one.
// Whichever no longer matches the window is the one that changed.
void FormPeer::ApplyBounds() {
  RECT client{};
  GetClientRect(Handle(), &client);
  const bool clientChanged =
      client.right != FForm.ClientWidth() || client.bottom != FForm.ClientHeight();
  const SIZE frame =
      clientChanged ? FrameAroundClient(FForm, FStyle, FExStyle) : FrameOfBounds(FForm);
  const int width = FForm.ClientWidth();
  const int height = FForm.ClientHeight();
  SetWindowPos(Handle(), nullptr, FForm.Left(), FForm.Top(), frame.cx, frame.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (clientChanged) FitClient(width, height);
}

// The frame around the form's client size, at the place given or where the window is.
void FormPeer::FrameClientSize(std::optional<POINT> origin) {
  const int width = FForm.ClientWidth();
  const int height = FForm.ClientHeight();
  const SIZE frame = FrameAroundClient(FForm, FStyle, FExStyle);
  SetWindowPos(Handle(), nullptr, origin ? origin->x : 0, origin ? origin->y : 0, frame.cx,
               frame.cy, (origin ? 0 : SWP_NOMOVE) | SWP_NOZORDER | SWP_NOACTIVATE);
  FitClient(width, height);
}

// Frames are measured at the form's pixels per inch; where the system draws one at others (Wine
// draws every frame at the system's), the client area it left differs from the one wanted, and
// the frame grows or shrinks by the difference.
void FormPeer::FitClient(int width, int height) {
  RECT client{};
  GetClientRect(Handle(), &client);
  if (client.right == width && client.bottom == height) return;
  RECT frame{};
  GetWindowRect(Handle(), &frame);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left + width - client.right,
               frame.bottom - frame.top + height - client.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Left, Top, Width and Height of a bound form are its outer frame's, as the toolkit centres
// forms with them. The client size goes first, so that the resize handler sees the new one.
void FormPeer::StoreSizes() {
  if (IsIconic(Handle())) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  FForm.BackendClientResized(client.right, client.bottom);
  RECT frame{};
  GetWindowRect(Handle(), &frame);
  FForm.BackendBoundsChanged(frame.left, frame.top, frame.right - frame.left,
                             frame.bottom - frame.top);
}

// Moved to a monitor of other pixels per inch: the form lays itself out again (its fonts are
// made anew at their new heights), and the window takes the frame the system suggests. A window
// of fixed size keeps the client size its layout gave it, framed at the suggested place.
void FormPeer::PixelsPerInchChanged(int pixelsPerInch, const RECT& suggested) {
  FForm.BackendPixelsPerInchChanged(pixelsPerInch);
  if (FForm.BorderStyle() == TBorderStyle::Sizeable) {
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    FrameClientSize(POINT{suggested.left, suggested.top});
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT FormPeer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto reflected = ReflectToChild(message, wParam, lParam)) return *reflected;
  if (auto painted = HandlePaintMessage(message, wParam)) return *painted;
  if (auto recoloured = HandleColorChange(message, wParam, lParam)) return *recoloured;
  switch (message) {
    case WM_SIZE:
    case WM_MOVE:
      StoreSizes();
      return 0;
    case kWmDpiChanged:
      PixelsPerInchChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      // Deactivation comes before the focused child loses the focus: remember it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focused = GetFocus();
        if (focused != nullptr && IsChild(Handle(), focused)) FLastFocus = focused;
      }
      // Activated, the system gives the focus to the form, which hands it on (WM_SETFOCUS).
      return Default(message, wParam, lParam);
    case WM_SETFOCUS:
      FForm.BackendFocusChanged(nullptr);
      // A picture button that has the focus keeps it on the form's own window.
      if (dynamic_cast<TImage*>(FForm.Focused()) != nullptr) {
        InvalidateFocused();
        NotifyFocusedPicture();
      } else if (const HWND target = FocusTarget()) {
        SetFocus(target);
      }
      return 0;
    case WM_KILLFOCUS:
      InvalidateFocused();
      if (TWinControl* control = ControlOfWindow(reinterpret_cast<HWND>(wParam))) {
        FForm.BackendFocusChanged(control);
      }
      return 0;
    case WM_UPDATEUISTATE:
      // The system shows or hides focus cues (a key, the user's setting): the pictures follow.
      if ((HIWORD(wParam) & UISF_HIDEFOCUS) != 0) {
        if (LOWORD(wParam) == UIS_SET) FForm.SetFocusCues(false);
        if (LOWORD(wParam) == UIS_CLEAR) FForm.SetFocusCues(true);
      }
      return Default(message, wParam, lParam);
    case WM_CLOSE:
      // Forms are hidden, not destroyed: they are reused.
      FForm.Close();
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(PointOf(lParam));
      return 0;
    case WM_MOUSELEAVE:
      FTrackingLeave = false;
      FForm.MouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(Handle());
      FForm.MouseDown(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      FReleasing = true;
      if (GetCapture() == Handle()) ReleaseCapture();
      FReleasing = false;
      FForm.MouseUp(PointOf(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      FForm.MouseDoubleClick(PointOf(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (!FReleasing) FForm.MouseCaptureLost();
      return 0;
    case WM_QUERYNEWPALETTE:
      return RealizeOnScreen(false) ? TRUE : FALSE;
    case WM_PALETTECHANGED:
      if (reinterpret_cast<HWND>(wParam) != Handle()) RealizeOnScreen(true);
      return 0;
    default:
      return Default(message, wParam, lParam);
  }
}

void FormPeer::Paint(HDC dc, const RECT& area) {
  if (IsRectEmpty(&area)) return;
  HPALETTE palette = IsPaletteDevice(dc) ? Palette() : nullptr;
  std::optional<PaletteSelection> targetPalette;
  if (palette != nullptr) targetPalette.emplace(dc, palette, false);
  PaintBuffer buffer(dc, area);
  std::optional<PaletteSelection> bufferPalette;
  if (palette != nullptr) bufferPalette.emplace(buffer.Get(), palette, false);
  FillSolid(buffer.Get(), area, BackgroundOf(FForm));
  const ButtonLooks looks{FForm, FForm.FocusCues() && GetFocus() == Handle(), FShades};
  PaintGraphicControls(buffer.Get(), FForm, area, Context().Fonts, &looks);
  buffer.Present();
}

bool FormPeer::CanFocus(HWND parent, HWND child) {
  return child != nullptr && IsWindow(child) && IsChild(parent, child) && IsWindowVisible(child) &&
         IsWindowEnabled(child);
}

HWND FormPeer::FocusTarget() const {
  if (CanFocus(Handle(), FLastFocus)) return FLastFocus;
  const TWinControl* active = FForm.ActiveControl();
  const WindowPeer* peer = active != nullptr ? Of(*active) : nullptr;
  const HWND window = peer != nullptr ? peer->Handle() : nullptr;
  return CanFocus(Handle(), window) ? window : nullptr;
}

TWinControl* FormPeer::ControlOfWindow(HWND window) const {
  // A window inside a control (a combo box's edit) counts as the control.
  for (; window != nullptr && window != Handle(); window = GetParent(window)) {
    if (WindowPeer* peer = FromHandle(window)) return &peer->Control();
  }
  return nullptr;
}

void FormPeer::NotifyFocusedPicture() const {
  const auto* picture = dynamic_cast<const TImage*>(FForm.Focused());
  if (picture != nullptr && GetFocus() == Handle()) NotifyPaintedFocus(Handle(), FForm, *picture);
}

void FormPeer::InvalidateFocused() {
  if (auto* picture = dynamic_cast<TImage*>(FForm.Focused())) picture->Invalidate();
}

namespace {

// The character a key of the keyboard types unshifted, upper-case for letters; 0 for none.
char CharOfKey(WPARAM key) {
  const UINT typed = MapVirtualKeyA(static_cast<UINT>(key), MAPVK_VK_TO_CHAR) & 0xFFFF;
  return typed > 0x20 && typed < 0x100 ? static_cast<char>(typed) : '\0';
}

}  // namespace

bool FormPeer::FormKey(const MSG& message, WindowPeer* focused) {
  const bool alt = (message.lParam & (1 << 29)) != 0;
  if (message.message == WM_SYSKEYDOWN) {
    const char typed = alt ? CharOfKey(message.wParam) : '\0';
    return typed != '\0' && FForm.AccessKey(typed, true);
  }
  if (focused != nullptr && focused != this && focused->TakesKey(message.wParam)) return false;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (message.wParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0) return false;
      return FForm.KeyDown(TKey::Tab, shift);
    case VK_LEFT:
      return FForm.KeyDown(TKey::Left, shift);
    case VK_UP:
      return FForm.KeyDown(TKey::Up, shift);
    case VK_RIGHT:
      return FForm.KeyDown(TKey::Right, shift);
    case VK_DOWN:
      return FForm.KeyDown(TKey::Down, shift);
    case VK_SPACE:
      return FForm.KeyDown(TKey::Space, shift);
    case VK_RETURN:
      return FForm.KeyDown(TKey::Enter, shift);
    default: {
      if (GetKeyState(VK_CONTROL) < 0) return false;
      const char typed = CharOfKey(message.wParam);
      return typed != '\0' && FForm.AccessKey(typed, false);
    }
  }
}

bool FormPeer::DialogKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const bool hadCues = FForm.FocusCues();
  const bool used = DialogKeyOf(message);
  // The keyboard was used: the system's controls of this window show their cues too.
  if (!hadCues && FForm.FocusCues()) {
    Send(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL));
  }
  return used;
}

bool FormPeer::DialogKeyOf(const MSG& message) {
  WindowPeer* focused = FromHandle(message.hwnd);
  FForm.BackendFocusChanged(ControlOfWindow(message.hwnd));
  if (message.message == WM_KEYDOWN && ScrollKey(message.wParam, focused)) return true;
  if (FormKey(message, focused)) return true;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && FForm.EscapeCloses() &&
      !FForm.HasButtons()) {
    FForm.Close();
    return true;
  }
  if (message.message != WM_KEYDOWN || !FForm.HasButtons()) return false;
  if (focused != nullptr && focused->TakesKey(message.wParam)) return false;
  switch (message.wParam) {
    case VK_ESCAPE:
      return FForm.PressDialogKey(TDialogKey::Escape);
    case VK_RETURN: {
      // A button with the focus is the one Enter presses, as in a dialog.
      if (auto* button = dynamic_cast<ButtonPeer*>(focused)) {
        button->Button().Click();
        return true;
      }
      return FForm.PressDialogKey(TDialogKey::Enter);
    }
    case VK_TAB: {
      const bool backwards = GetKeyState(VK_SHIFT) < 0;
      const HWND focused = IsChild(Handle(), message.hwnd) ? message.hwnd : nullptr;
      const HWND next = GetNextDlgTabItem(Handle(), focused, backwards ? TRUE : FALSE);
      if (next != nullptr) SetFocus(next);
      return true;
    }
    default:
      return false;
  }
}

// While a button has the focus, the scrolling keys scroll the form's scroll target.
bool FormPeer::ScrollKey(WPARAM key, WindowPeer* focused) {
  TWinControl* target = FForm.ScrollTarget();
  const WindowPeer* view = target != nullptr ? Of(*target) : nullptr;
  if (view == nullptr || dynamic_cast<ButtonPeer*>(focused) == nullptr ||
      !IsWindowVisible(view->Handle())) {
    return false;
  }
  return SendScrollKey(view->Handle(), key, GetKeyState(VK_CONTROL) < 0);
}

HPALETTE FormPeer::Palette() {
  std::shared_ptr<const Picture> source;
  for (TControl* control : FForm.Controls()) {
    const auto* image = dynamic_cast<const TImage*>(control);
    if (image != nullptr && !image->GetPicture()->Palette.empty()) {
      source = image->GetPicture();
      break;
    }
  }
  if (source != FPalettePicture) {
    FPalette = source != nullptr ? CreatePictureColors(*source) : GdiPalette();
    FPalettePicture = std::move(source);
  }
  return FPalette.Get();
}

// The palette messages: realise the skin's colours when the window becomes active, and map to
// the new system palette when another window took it.
bool FormPeer::RealizeOnScreen(bool background) {
  ClientDC dc(Handle());
  if (!dc.IsValid() || !IsPaletteDevice(dc.Get())) return false;
  HPALETTE palette = Palette();
  if (palette == nullptr) return false;
  PaletteSelection selection(dc.Get(), palette, background);
  if (selection.ChangedSystemPalette() || background) InvalidateRect(Handle(), nullptr, FALSE);
  return true;
}

void FormPeer::MouseMove(TPoint point) {
  if (!FTrackingLeave) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = Handle();
    FTrackingLeave = TrackMouseEvent(&track) != FALSE;
  }
  FForm.MouseMove(point);
}

}  // namespace foyer
