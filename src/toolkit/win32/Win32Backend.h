// The Win32 backend: binds the components to real windows and runs the system's event loop.
#pragma once

#include <memory>

#include "platform/win32/WinApi.h"
#include "toolkit/Application.h"

namespace foyer {

// The backend for the program's module; install it and start it before the first form is
// created.
std::unique_ptr<IBackend> MakeWin32Backend(HINSTANCE instance);

// The window bound to a control, or null when it has none.
HWND HandleOf(const TWinControl& control);

}  // namespace foyer
