// The pixels per inch of a window's monitor, and frames measured at them, from the system's
// per-monitor calls where it has them (Windows 10 1607 and later, recent Wine).
#pragma once

#include "platform/win32/WinApi.h"

namespace foyer {

// Sent to a top-level window moved to a monitor of other pixels per inch: the new value in both
// words of wParam, lParam the frame the system suggests.
constexpr UINT kWmDpiChanged = 0x02E0;

// The pixels per inch of the monitor the window is on; where the system cannot tell per window,
// those of the window's device context.
int WindowPixelsPerInch(HWND window);

// Widens a client rectangle to the outer frame of a window of the styles, with its borders and
// caption as they are drawn at the pixels per inch.
void FrameAroundClientAt(RECT& rect, DWORD style, DWORD exStyle, int pixelsPerInch);

}  // namespace foyer
