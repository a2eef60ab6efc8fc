// A one-line edit's "EDIT" child window.
#include "toolkit/win32/EditPeer.h"

#include <string>

#include "util/Errors.h"

namespace foyer {

namespace {

DWORD StyleOf(const TEdit& edit) {
  DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL;
  if (edit.Visible()) style |= WS_VISIBLE;
  if (!edit.Enabled()) style |= WS_DISABLED;
  return style;
}

}  // namespace

EditPeer::EditPeer(const PeerContext& context, TEdit& edit)
    : WindowPeer(context, edit), FEdit(edit) {
  AdoptWindow(CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", StyleOf(edit), 0, 0, 0, 0,
                              ParentHandle(), nullptr, context.Instance, nullptr));
  ApplyBounds();
  MakeBackground();
  ApplyText();
}

void EditPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::Text:
      ApplyText();
      break;
    case TChange::Font:
      SendFont(FEdit.Text());
      break;
    case TChange::Color:
      MakeBackground();
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

void EditPeer::ApplyText() {
  SendFont(FEdit.Text());
  FApplyingText = true;
  const LRESULT set = Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(FEdit.Text().c_str()));
  FApplyingText = false;
  if (set == FALSE) throw Exception("Out of system resources");
  // The caret after the text, nothing selected: typing goes on where the path ends.
  const auto end = static_cast<WPARAM>(GetWindowTextLengthA(Handle()));
  Send(EM_SETSEL, end, static_cast<LPARAM>(end));
}

std::optional<LRESULT> EditPeer::Reflected(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return ColorReply(wParam);
    case WM_COMMAND:
      switch (HIWORD(wParam)) {
        case EN_CHANGE: {
          if (FApplyingText) return std::nullopt;
          const std::string typed = WindowText();
          // What the user types or pastes may need the other face as much as what was set.
          SendFont(typed);
          FEdit.BackendTextChanged(typed);
          return 0;
        }
        case EN_SETFOCUS:
          if (FEdit.AutoSelect()) Send(EM_SETSEL, 0, -1);
          return 0;
        default:
          return std::nullopt;
      }
    default:
      return std::nullopt;
  }
}

}  // namespace foyer
