// A child window's accessible object: the system's own, with the peer's answers laid over it.
#include "toolkit/win32/StdAccessible.h"

#include <oleacc.h>

#include <climits>
#include <new>

namespace foyer {

namespace {

// MinGW-w64's import library of oleacc gives IID_IAccessible as an import thunk in a static
// link: a call handed it receives code bytes as the interface id and fails with E_NOINTERFACE.
constexpr GUID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// One reference to a COM object, released with its owner.
template <typename Interface>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (FObject != nullptr) FObject->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  Interface* Get() const { return FObject; }
  Interface* operator->() const { return FObject; }
  explicit operator bool() const { return FObject != nullptr; }
  // Where a call that hands out a new reference puts it.
  void** Out() { return reinterpret_cast<void**>(&FObject); }

 private:
  Interface* FObject = nullptr;
};

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// A string for the client, in the one allocator it frees BSTRs with.
HRESULT AnswerString(const std::function<std::wstring()>& source, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  try {
    const std::wstring text = source();
    if (text.size() > UINT_MAX / sizeof(wchar_t)) return E_OUTOFMEMORY;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    // Nothing thrown may cross into the client's call.
    return E_FAIL;
  }
}

// Answers for the window itself from the overrides, everything else from the system's object.
// It also hands on the system object's child enumeration and window, so that what a client
// finds by asking for those interfaces is the same object.
class OverridingAccessible final : public IAccessible, public IEnumVARIANT, public IOleWindow {
 public:
  OverridingAccessible(HWND window, const AccessibleOverrides& overrides)
      : FWindow(window), FOverrides(overrides) {}

  // Takes the system's client object of the window; false when there is none.
  bool Wrap() {
    if (FAILED(CreateStdAccessibleObject(FWindow, OBJID_CLIENT, kIidAccessible, FInner.Out())) ||
        !FInner) {
      return false;
    }
    FInner->QueryInterface(__uuidof(IEnumVARIANT), FEnum.Out());
    FInner->QueryInterface(__uuidof(IOleWindow), FOleWindow.Out());
    return true;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == kIidAccessible) {
      *out = static_cast<IAccessible*>(this);
    } else if (iid == __uuidof(IEnumVARIANT) && FEnum) {
      *out = static_cast<IEnumVARIANT*>(this);
    } else if (iid == __uuidof(IOleWindow) && FOleWindow) {
      *out = static_cast<IOleWindow*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&FReferences));
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&FReferences);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return FInner->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return FInner->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return FInner->GetIDsOfNames(iid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override {
    return FInner->Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
  }

  // IAccessible: what the peer overrides
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (Overrides(child) && FOverrides.Name) return AnswerString(FOverrides.Name, name);
    return FInner->get_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (Overrides(child) && FOverrides.Value) return AnswerString(FOverrides.Value, value);
    return FInner->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!Overrides(child) || !FOverrides.Role) return FInner->get_accRole(child, role);
    if (role == nullptr) return E_POINTER;
    VariantInit(role);
    role->vt = VT_I4;
    role->lVal = *FOverrides.Role;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT result = FInner->get_accState(child, state);
    if (SUCCEEDED(result) && Overrides(child) && state != nullptr && state->vt == VT_I4)
      state->lVal = (state->lVal | FOverrides.StateAdded) & ~FOverrides.StateRemoved;
    return result;
  }

  // IAccessible: the system's answers
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return FInner->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return FInner->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return FInner->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return FInner->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return FInner->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return FInner->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return FInner->get_accKeyboardShortcut(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return FInner->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return FInner->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return FInner->get_accDefaultAction(child, text);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return FInner->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return FInner->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return FInner->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return FInner->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return FInner->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return FInner->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return FInner->put_accValue(child, value);
  }

  // IEnumVARIANT
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
    return FEnum->Next(count, children, fetched);
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return FEnum->Skip(count); }
  HRESULT STDMETHODCALLTYPE Reset() override { return FEnum->Reset(); }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override { return FEnum->Clone(copy); }

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    return FOleWindow->GetWindow(window);
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override {
    return FOleWindow->ContextSensitiveHelp(enter);
  }

 private:
  ~OverridingAccessible() = default;

  // A client may keep the object after the window is gone, and with it the peer the overrides
  // ask: then only the system's object answers.
  bool Overrides(const VARIANT& child) const { return IsSelf(child) && IsWindow(FWindow); }

  LONG FReferences = 1;
  HWND FWindow;
  AccessibleOverrides FOverrides;
  ComRef<IAccessible> FInner;
  ComRef<IEnumVARIANT> FEnum;
  ComRef<IOleWindow> FOleWindow;
};

}  // namespace

std::optional<LRESULT> AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam,
                                       const AccessibleOverrides& overrides) {
  // The object id is 32 bits; a 64-bit sender need not extend its sign.
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return std::nullopt;
  // Handing the object to the client marshals it, which takes COM on this thread. The thread
  // stays in its apartment: the objects handed out live there for as long as clients hold them.
  static thread_local const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(apartment) && apartment != RPC_E_CHANGED_MODE) return std::nullopt;
  auto* object = new (std::nothrow) OverridingAccessible(window, overrides);
  if (object == nullptr) return std::nullopt;
  std::optional<LRESULT> answer;
  if (object->Wrap()) {
    // The client gets its own reference; ours goes below.
    const LRESULT result =
        LresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(object));
    if (result >= 0) answer = result;
  }
  object->Release();
  return answer;
}

}  // namespace foyer
