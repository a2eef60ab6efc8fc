// A child window's accessible object for screen readers: the system's own, with the name, role,
// value and state the window's peer gives it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/win32/WinApi.h"

namespace foyer {

// What a window says of itself in place of the system's answer; for the window itself only
// (CHILDID_SELF), never for its children.
struct AccessibleOverrides {
  std::function<std::wstring()> Name;   // unset: the system's answer
  std::optional<long> Role;             // ROLE_SYSTEM_*
  std::function<std::wstring()> Value;  // unset: the system's answer
  long StateAdded = 0, StateRemoved = 0;
};

// The answer to WM_GETOBJECT for the window's client object; nullopt for other object ids
// (the caller then lets DefWindowProc answer).
std::optional<LRESULT> AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam,
                                       const AccessibleOverrides& overrides);

}  // namespace foyer
