// What a screen reader reads of a window's client object through Active Accessibility, from
// this process or another.
#pragma once

#include "platform/win32/WinApi.h"

#include <oleacc.h>

#include <string>
#include <utility>

namespace foyer::test {

// Defined here: MinGW's import library gives IID_IAccessible as a thunk in a static link.
inline constexpr GUID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

struct ReaderView {
  LONG Role = 0;
  LONG State = 0;
  std::wstring Name;
  std::wstring Value;
};

// The client object's own answers; zeros and empty strings where it gives none. The reader's
// thread is in COM's apartment, as unmarshalling another process's object takes.
inline ReaderView ReadAsScreenReader(HWND window) {
  ReaderView view;
  const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* object = nullptr;
  if (SUCCEEDED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                           reinterpret_cast<void**>(&object)))) {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT answer{};
    if (SUCCEEDED(object->get_accRole(self, &answer)) && answer.vt == VT_I4)
      view.Role = answer.lVal;
    if (SUCCEEDED(object->get_accState(self, &answer)) && answer.vt == VT_I4)
      view.State = answer.lVal;
    BSTR text = nullptr;
    if (SUCCEEDED(object->get_accName(self, &text))) view.Name.assign(text, SysStringLen(text));
    SysFreeString(std::exchange(text, nullptr));
    if (SUCCEEDED(object->get_accValue(self, &text))) view.Value.assign(text, SysStringLen(text));
    SysFreeString(text);
    object->Release();
  }
  if (SUCCEEDED(apartment)) CoUninitialize();
  return view;
}

}  // namespace foyer::test
