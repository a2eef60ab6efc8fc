// What screen readers and other assistive technology read of a window that paints controls of
// its own (a form, a panel): an IAccessible whose children are the picture buttons and labels it
// paints, then its child windows, which the system describes itself. The events that tell a
// reader what changed are raised here too.
#pragma once

#include <optional>
#include <string>

#include "platform/win32/WinApi.h"
#include "toolkit/Component.h"

namespace foyer {

class WindowPeer;

// Posted to such a window to press the painted control numbered in wParam, as a reader's
// default action asks.
constexpr UINT kWmPressPainted = WM_APP + 0x41;
// Presses it; false when there is no such control.
bool PressPainted(HWND window, WPARAM id);

// The answer to WM_GETOBJECT for the client area of a window that paints controls; nullopt
// for the other objects, which the system answers.
std::optional<LRESULT> AnswerPaintedControls(HWND window, WPARAM wParam, LPARAM lParam);

// Tells readers that a control the window paints changed: its name, state, visibility or place.
void NotifyPaintedControl(HWND window, const TWinControl& owner, TGraphicControl& control,
                          TChange what);
// Tells readers that the keyboard's focus is on a picture button the window paints.
void NotifyPaintedFocus(HWND window, const TWinControl& owner, const TGraphicControl& control);
// Says a status message through the window: as a UI Automation notification where the system
// has them (Windows 10 version 1709 and later), else as an alert of the window's status object.
void AnnounceThrough(HWND window, const std::string& message);

}  // namespace foyer
