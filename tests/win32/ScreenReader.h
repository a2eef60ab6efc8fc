// What a screen reader reads of a window: its client object's role, state, name, value and
// size, through Active Accessibility, as from any process.
#pragma once

#include "platform/win32/WinApi.h"

#include <oleacc.h>

#include <string>

namespace foyer::test {

// IID_IAccessible, defined here: MinGW's import library gives it as a thunk in a static link.
inline constexpr GUID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// Reads the window's client object as a screen reader does; empty strings where it answers none.
class ReaderView {
 public:
  explicit ReaderView(HWND window) {
    // A reader's thread is in COM's apartment: the object from another process is marshalled.
    const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Read(window);
    if (SUCCEEDED(apartment)) CoUninitialize();
  }
  LONG Role = 0;
  LONG State = 0;
  std::wstring Name;
  std::wstring Value;
  LONG Width = 0;
  LONG Height = 0;

 private:
  void Read(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                          reinterpret_cast<void**>(&object)))) {
      return;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT answer{};
    if (SUCCEEDED(object->get_accRole(self, &answer)) && answer.vt == VT_I4) Role = answer.lVal;
    if (SUCCEEDED(object->get_accState(self, &answer)) && answer.vt == VT_I4) State = answer.lVal;
    const auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
      BSTR got = nullptr;
      std::wstring value;
      if (SUCCEEDED((object->*get)(self, &got)) && got != nullptr) {
        value.assign(got, SysStringLen(got));
        SysFreeString(got);
      }
      return value;
    };
    Name = text(&IAccessible::get_accName);
    Value = text(&IAccessible::get_accValue);
    LONG left = 0;
    LONG top = 0;
    object->accLocation(&left, &top, &Width, &Height, self);
    object->Release();
  }
};

}  // namespace foyer::test
