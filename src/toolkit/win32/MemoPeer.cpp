// A memo's multi-line "EDIT" child window.
#include "toolkit/win32/MemoPeer.h"

#include <string>

#include "toolkit/Application.h"
#include "util/Errors.h"

namespace foyer {

MemoPeer::MemoPeer(const PeerContext& context, TMemo& memo)
    : WindowPeer(context, memo), FMemo(memo) {
  AdoptWindow(CreateEdit());
  ApplyBounds();
  MakeBackground();
  ApplyText();
}

DWORD MemoPeer::Style() const {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL;
  if (FMemo.Visible()) style |= WS_VISIBLE;
  if (!FMemo.Enabled()) style |= WS_DISABLED;
  if (FMemo.TabStop()) style |= WS_TABSTOP;
  // A read-only memo leaves Enter to the form's default button.
  style |= FMemo.ReadOnly() ? ES_READONLY : ES_WANTRETURN;
  const TScrollStyle bars = FMemo.ScrollBars();
  if (bars == TScrollStyle::Vertical || bars == TScrollStyle::Both) style |= WS_VSCROLL;
  if (bars == TScrollStyle::Horizontal || bars == TScrollStyle::Both) style |= WS_HSCROLL;
  // Without horizontal scrolling the control breaks long lines at its right edge.
  if (!FMemo.WordWrap()) style |= ES_AUTOHSCROLL;
  return style;
}

HWND MemoPeer::CreateEdit() {
  FStyle = Style();
  // An edit created with a horizontal scroll bar scrolls sideways and never wraps, whatever its
  // other styles say. A wrapping memo gets its bar after creation instead, shown disabled:
  // wrapped lines never reach past the right edge.
  const bool addBarLater = FMemo.WordWrap() && (FStyle & WS_HSCROLL) != 0;
  const DWORD createStyle = addBarLater ? FStyle & ~static_cast<DWORD>(WS_HSCROLL) : FStyle;
  const HWND window = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", createStyle, 0, 0, 0, 0,
                                      ParentHandle(), nullptr, Context().Instance, nullptr);
  if (window == nullptr) throw Exception("Cannot create a window");
  if (addBarLater) {
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(FStyle));
    SCROLLINFO empty{};
    empty.cbSize = sizeof empty;
    empty.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    SetScrollInfo(window, SB_HORZ, &empty, FALSE);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Zero asks for the largest text the system allows; the default is about 30,000 characters.
  SendMessageA(window, EM_SETLIMITTEXT, 0, 0);
  return window;
}

void MemoPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::Text:
      ApplyText();
      break;
    case TChange::Font:
      SendFont(FMemo.Text());
      break;
    case TChange::Color:
      MakeBackground();
      break;
    case TChange::Style:
      // Scroll bars, wrapping and Enter are read by the control only when it is created.
      if (Style() == FStyle) break;
      ReplaceWindow(CreateEdit());
      ApplyBounds();
      ApplyText();
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

void MemoPeer::ApplyText() {
  SendFont(FMemo.Text());
  // One hand-over of the whole text: the control lays it out once, in time linear in its size.
  FApplyingText = true;
  const LRESULT set = Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FMemo.Text().c_str()));
  FApplyingText = false;
  if (set == FALSE) throw Exception("Out of system resources");
}

void MemoPeer::StoreUserText() {
  FMemo.BackendTextChanged(WindowText());
}

std::optional<LRESULT> MemoPeer::Reflected(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CTLCOLOREDIT:
    // A read-only edit asks for the colours of a static text.
    case WM_CTLCOLORSTATIC:
      return ColorReply(wParam);
    case WM_COMMAND:
      if (HIWORD(wParam) != EN_CHANGE || FApplyingText || FMemo.ReadOnly()) return std::nullopt;
      StoreUserText();
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace foyer
