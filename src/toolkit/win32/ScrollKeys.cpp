// The keys that scroll a window as its scroll bars would.
#include "toolkit/win32/ScrollKeys.h"

namespace foyer {

bool SendScrollKey(HWND window, WPARAM key, bool control) {
  UINT bar = WM_VSCROLL;
  WORD code = SB_LINEDOWN;
  switch (key) {
    case VK_UP:
      code = SB_LINEUP;
      break;
    case VK_DOWN:
      code = SB_LINEDOWN;
      break;
    case VK_PRIOR:
      code = SB_PAGEUP;
      break;
    case VK_NEXT:
      code = SB_PAGEDOWN;
      break;
    case VK_HOME:
    case VK_END:
      if (!control) return false;
      code = key == VK_HOME ? SB_TOP : SB_BOTTOM;
      break;
    case VK_LEFT:
    case VK_RIGHT: {
      // Sideways only where the horizontal bar can move: a wrapped text's cannot.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_RANGE | SIF_PAGE;
      const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
      if ((style & WS_HSCROLL) == 0 || !GetScrollInfo(window, SB_HORZ, &info) ||
          info.nMax - info.nMin + 1 <= static_cast<int>(info.nPage)) {
        return false;
      }
      bar = WM_HSCROLL;
      code = key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT;
      break;
    }
    default:
      return false;
  }
  SendMessageA(window, bar, code, 0);
  // As a scroll bar ends every action.
  SendMessageA(window, bar, SB_ENDSCROLL, 0);
  return true;
}

}  // namespace foyer
