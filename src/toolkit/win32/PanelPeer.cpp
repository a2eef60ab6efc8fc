// A panel's child window.
#include "toolkit/win32/PanelPeer.h"

#include "toolkit/win32/Painting.h"

namespace foyer {

namespace {

constexpr const char* kPanelClass = "TPanel";

}  // namespace

PanelPeer::PanelPeer(const PeerContext& context, TPanel& panel)
    : WindowPeer(context, panel), FPanel(panel) {
  RegisterClassOnce(kPanelClass, 0);
  // Placed at the origin first: where the bounds put it depends on the parent's borders.
  CreateOwnWindow(0, kPanelClass, "", Style(), 0, 0, 0, 0, ParentHandle());
  ApplyBounds();
}

DWORD PanelPeer::Style() const {
  DWORD style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (FPanel.Visible()) style |= WS_VISIBLE;
  if (!FPanel.Enabled()) style |= WS_DISABLED;
  // The single border is the system's one-pixel frame, outside the client area.
  if (FPanel.HasBorder()) style |= WS_BORDER;
  return style;
}

void PanelPeer::Changed(TChange what, int32_t index) {
  if (what != TChange::Style) {
    WindowPeer::Changed(what, index);
    return;
  }
  SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(Style()));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The border moved the client area: the children keep their place relative to the panel.
  for (TControl* child : FPanel.Controls()) {
    auto* windowed = dynamic_cast<TWinControl*>(child);
    WindowPeer* peer = windowed != nullptr ? Of(*windowed) : nullptr;
    if (peer != nullptr) peer->ApplyBounds();
  }
  InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT PanelPeer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto reflected = ReflectToChild(message, wParam, lParam)) return *reflected;
  if (auto painted = HandlePaintMessage(message, wParam)) return *painted;
  return Default(message, wParam, lParam);
}

void PanelPeer::Paint(HDC dc, const RECT& area) {
  if (IsRectEmpty(&area)) return;
  PaintBuffer buffer(dc, area);
  RECT face{};
  GetClientRect(Handle(), &face);
  PaintBevel(buffer.Get(), face, FPanel.BevelOuter(), FPanel.BevelWidth());
  PaintBevel(buffer.Get(), face, FPanel.BevelInner(), FPanel.BevelWidth());
  FillSolid(buffer.Get(), face, BackgroundOf(FPanel));
  PaintGraphicControls(buffer.Get(), FPanel, area, Context().Fonts);
  buffer.Present();
}

}  // namespace foyer
