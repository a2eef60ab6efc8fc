// Context menus on screen.
#include "toolkit/win32/PopupMenus.h"

#include "platform/win32/Handles.h"
#include "util/Errors.h"

namespace foyer {

namespace {

struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DestroyMenu(handle); }
};
using Menu = UniqueHandle<MenuTraits>;

}  // namespace

POINT ContextMenuPoint(HWND window, LPARAM lParam, POINT fallback) {
  // The keyboard's menu key and Shift+F10 give no point.
  if (lParam != -1) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  }
  ClientToScreen(window, &fallback);
  return fallback;
}

int TrackChoices(HWND owner, POINT at, const std::vector<MenuChoice>& choices) {
  Menu menu(CreatePopupMenu());
  if (!menu) throw Exception("Out of system resources");
  for (size_t index = 0; index < choices.size(); ++index) {
    const UINT flags = MF_STRING | (choices[index].Enabled ? MF_ENABLED : MF_GRAYED);
    // Command 0 means that nothing was chosen, so the commands count from 1.
    if (!AppendMenuA(menu.Get(), flags, index + 1, choices[index].Caption.c_str())) {
      throw Exception("Out of system resources");
    }
  }
  const BOOL chosen = TrackPopupMenuEx(menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                       at.x, at.y, owner, nullptr);
  return chosen > 0 ? chosen - 1 : -1;
}

void ShowPopupMenu(HWND owner, POINT at, TPopupMenu& menu) {
  std::vector<MenuChoice> choices;
  for (const auto& item : menu.Items())
    choices.push_back({item->Caption(), item->Enabled()});
  const int chosen = TrackChoices(owner, at, choices);
  // The items are read again: a handler may have changed the menu while it was open.
  if (chosen >= 0 && static_cast<size_t>(chosen) < menu.Items().size()) {
    menu.Items()[static_cast<size_t>(chosen)]->Click();
  }
}

}  // namespace foyer
