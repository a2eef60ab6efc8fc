// What a screen reader reads of a window through Active Accessibility, from this process or
// another.
#pragma once

#include "platform/win32/WinApi.h"

#include <oleacc.h>

#include <memory>
#include <string>

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

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
using Accessible = std::unique_ptr<IAccessible, Releaser>;

inline VARIANT ChildId(long id) {
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// A window's client object; null when it gives none. The reader's thread must be in COM's
// apartment, as unmarshalling another process's object takes.
inline Accessible ClientObjectOf(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                        reinterpret_cast<void**>(&object)))) {
    return nullptr;
  }
  return Accessible(object);
}

// An object's answers (the object itself, or a simple child of it); zeros and empty strings
// where it gives none.
inline ReaderView ReadObject(IAccessible& object, long child = CHILDID_SELF) {
  ReaderView view;
  VARIANT answer{};
  if (SUCCEEDED(object.get_accRole(ChildId(child), &answer)) && answer.vt == VT_I4)
    view.Role = answer.lVal;
  if (SUCCEEDED(object.get_accState(ChildId(child), &answer)) && answer.vt == VT_I4)
    view.State = answer.lVal;
  for (auto [get, text] : {std::pair{&IAccessible::get_accName, &view.Name},
                           std::pair{&IAccessible::get_accValue, &view.Value}}) {
    BSTR answered = nullptr;
    if (SUCCEEDED((object.*get)(ChildId(child), &answered)) && answered != nullptr)
      text->assign(answered, SysStringLen(answered));
    SysFreeString(answered);
  }
  return view;
}

// The client object's own answers, read from a thread put in COM's apartment for the reading.
inline ReaderView ReadAsScreenReader(HWND window) {
  const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ReaderView view;
  if (Accessible object = ClientObjectOf(window)) view = ReadObject(*object);
  if (SUCCEEDED(apartment)) CoUninitialize();
  return view;
}

}  // namespace foyer::test
