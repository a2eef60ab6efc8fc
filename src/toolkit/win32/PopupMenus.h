// Context menus on screen: a list of commands shown at a point until one is chosen.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/WinApi.h"
#include "toolkit/Menus.h"

namespace foyer {

struct MenuChoice {
  std::string Caption;
  bool Enabled = true;
};

// Where the context menu of a WM_CONTEXTMENU opens, in screen coordinates: at the pointer for a
// right click, at the fallback (client coordinates of the window) for the keyboard's menu key.
POINT ContextMenuPoint(HWND window, LPARAM lParam, POINT fallback);
// Shows the choices at a screen point and waits: the index of the one chosen, or -1.
int TrackChoices(HWND owner, POINT at, const std::vector<MenuChoice>& choices);
// Shows a menu's items and raises the click of the one chosen.
void ShowPopupMenu(HWND owner, POINT at, TPopupMenu& menu);

}  // namespace foyer
