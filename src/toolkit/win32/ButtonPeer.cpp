// A push button's "BUTTON" child window.
#include "toolkit/win32/ButtonPeer.h"

#include "toolkit/Application.h"

namespace foyer {

ButtonPeer::ButtonPeer(const PeerContext& context, TButton& button)
    : WindowPeer(context, button), FButton(button) {
  AdoptWindow(CreateWindowExA(0, "BUTTON", button.Caption().c_str(), Style(), 0, 0, 0, 0,
                              ParentHandle(), nullptr, context.Instance, nullptr));
  ApplyBounds();
  SendFont(button.Caption());
}

DWORD ButtonPeer::Style() const {
  DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS;
  style |= FButton.IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if (FButton.Visible()) style |= WS_VISIBLE;
  if (!FButton.Enabled()) style |= WS_DISABLED;
  return style;
}

void ButtonPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::Text:
      SendFont(FButton.Caption());
      SetWindowTextA(Handle(), FButton.Caption().c_str());
      break;
    case TChange::Font:
      SendFont(FButton.Caption());
      break;
    case TChange::Style:
      // BM_SETSTYLE takes the button type only: the window styles stay as they are.
      SendMessageA(Handle(), BM_SETSTYLE, FButton.IsDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                   TRUE);
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

std::optional<LRESULT> ButtonPeer::Reflected(UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return std::nullopt;
  TButton& button = FButton;
  Application().Dispatch([&button] { button.Click(); });
  return 0;
}

}  // namespace foyer
