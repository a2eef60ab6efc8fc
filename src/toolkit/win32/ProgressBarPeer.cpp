// A progress bar's "msctls_progress32" child window.
#include "toolkit/win32/ProgressBarPeer.h"

#include <commctrl.h>

namespace foyer {

namespace {

// The common controls' window classes exist only once the library was asked for them.
void RegisterProgressClass() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    return InitCommonControlsEx(&classes) != FALSE;
  }();
  (void)registered;
}

}  // namespace

ProgressBarPeer::ProgressBarPeer(const PeerContext& context, TProgressBar& bar)
    : WindowPeer(context, bar), FBar(bar) {
  RegisterProgressClass();
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (bar.Visible()) style |= WS_VISIBLE;
  AdoptWindow(CreateWindowExA(0, PROGRESS_CLASSA, "", style, 0, 0, 0, 0, ParentHandle(), nullptr,
                              context.Instance, nullptr));
  ApplyBounds();
  Changed(TChange::Style, -1);
}

void ProgressBarPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::Style:
      SendMessageA(Handle(), PBM_SETRANGE32, 0, FBar.Max());
      SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(FBar.Position()), 0);
      break;
    case TChange::Selection:
      SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(FBar.Position()), 0);
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

}  // namespace foyer
