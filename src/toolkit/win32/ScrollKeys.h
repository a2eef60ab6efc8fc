// The keys that scroll a window as its scroll bars would, for a window that does not have the
// focus: a text that is no tab stop, read from a button of its form.
#pragma once

#include "platform/win32/WinApi.h"

namespace foyer {

// Sends the window the scroll bar message a scrolling key stands for: Up and Down a line, Page
// Up and Down a page, Ctrl+Home and Ctrl+End to the top and bottom, Left and Right sideways
// where the horizontal bar can move. False for any other key, which it leaves alone.
bool SendScrollKey(HWND window, WPARAM key, bool control);

}  // namespace foyer
