// The accessible object of a window that paints controls of its own.
#include "toolkit/win32/FormAccessible.h"

#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "platform/win32/SystemLibraries.h"
#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

namespace {

// MinGW's import library gives IID_IAccessible as code in a static link, not as the GUID.
constexpr GUID kIidAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The last status message and the window that said it: the main form's status object reads it.
struct Status {
  HWND Window = nullptr;
  std::wstring Text;
};
Status& LastStatus() {
  static Status status;
  return status;
}

BSTR NewString(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

long RoleOf(TAccessRole role) {
  switch (role) {
    case TAccessRole::PushButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case TAccessRole::Graphic:
      return ROLE_SYSTEM_GRAPHIC;
    case TAccessRole::StaticText:
      break;
  }
  return ROLE_SYSTEM_STATICTEXT;
}

long StateOf(const TAccessState& state, bool windowFocused) {
  long result = STATE_SYSTEM_READONLY;
  if (state.Invisible) result |= STATE_SYSTEM_INVISIBLE;
  if (state.Unavailable) result |= STATE_SYSTEM_UNAVAILABLE;
  if (state.Focusable) result = (result & ~STATE_SYSTEM_READONLY) | STATE_SYSTEM_FOCUSABLE;
  if (state.Focused && windowFocused) result |= STATE_SYSTEM_FOCUSED;
  if (state.Hot) result |= STATE_SYSTEM_HOTTRACKED;
  if (state.Pressed) result |= STATE_SYSTEM_PRESSED;
  return result;
}

// The window's children as a reader walks them: the painted controls, the status object of the
// main form, then the child windows. Ids count from 1 in that order; 0 is the window itself.
class Children {
 public:
  explicit Children(HWND window) : FWindow(window) {
    WindowPeer* peer = WindowPeer::FromHandle(window);
    if (peer == nullptr) return;
    FOwner = &peer->Control();
    FPainted = AccessibleControls(*FOwner);
    FHasStatus = Application().MainForm() == FOwner;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      FWindows.push_back(child);
    }
  }
  bool IsAlive() const { return FOwner != nullptr; }
  const TWinControl& Owner() const { return *FOwner; }
  long Count() const {
    return static_cast<long>(FPainted.size() + (FHasStatus ? 1 : 0) + FWindows.size());
  }
  // The painted control with the id, or null.
  TGraphicControl* Painted(long id) const {
    return id >= 1 && id <= static_cast<long>(FPainted.size())
               ? FPainted[static_cast<size_t>(id - 1)]
               : nullptr;
  }
  bool IsStatus(long id) const {
    return FHasStatus && id == static_cast<long>(FPainted.size()) + 1;
  }
  // The child window with the id, or null.
  HWND Window(long id) const {
    const long first = static_cast<long>(FPainted.size() + (FHasStatus ? 1 : 0)) + 1;
    return id >= first && id < first + static_cast<long>(FWindows.size())
               ? FWindows[static_cast<size_t>(id - first)]
               : nullptr;
  }
  long IdOf(const TGraphicControl& control) const {
    const auto found = std::find(FPainted.begin(), FPainted.end(), &control);
    return found == FPainted.end() ? CHILDID_SELF
                                   : static_cast<long>(found - FPainted.begin()) + 1;
  }
  long IdOfWindow(HWND child) const {
    const auto found = std::find(FWindows.begin(), FWindows.end(), child);
    if (found == FWindows.end()) return CHILDID_SELF;
    return static_cast<long>(FPainted.size() + (FHasStatus ? 1 : 0) + (found - FWindows.begin())) +
           1;
  }
  long StatusId() const { return FHasStatus ? static_cast<long>(FPainted.size()) + 1 : 0; }

 private:
  HWND FWindow;
  const TWinControl* FOwner = nullptr;
  std::vector<TGraphicControl*> FPainted;
  bool FHasStatus = false;
  std::vector<HWND> FWindows;
};

class PaintedControlsObject final : public IAccessible {
 public:
  explicit PaintedControlsObject(HWND window) : FWindow(window) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, kIidAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&FReferences); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&FReferences);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: readers call the interface directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    if (!IsWindow(FWindow)) return RPC_E_DISCONNECTED;
    return AccessibleObjectFromWindow(FWindow, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (count == nullptr) return E_POINTER;
    const Children children(FWindow);
    if (!children.IsAlive()) return RPC_E_DISCONNECTED;
    *count = children.Count();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
    if (child == nullptr) return E_POINTER;
    *child = nullptr;
    const Children children(FWindow);
    if (!children.IsAlive()) return RPC_E_DISCONNECTED;
    if (id.vt != VT_I4 || id.lVal < 1 || id.lVal > children.Count()) return E_INVALIDARG;
    // Painted controls and the status object are simple elements of this object.
    const HWND window = children.Window(id.lVal);
    if (window == nullptr) return S_FALSE;
    return AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(child));
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
    return Text(id, name, [&](const Children& children, long child) -> std::optional<std::wstring> {
      if (child == CHILDID_SELF) return WideText(WindowText(FWindow));
      if (TGraphicControl* control = children.Painted(child))
        return WideText(DescribeAccessible(*control).Name);
      if (children.IsStatus(child)) return LastStatus().Text;
      return std::nullopt;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
    return Text(id, value, [](const Children&, long) { return std::optional<std::wstring>(); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override {
    return Text(id, description,
                [](const Children&, long) { return std::optional<std::wstring>(); });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
    if (role == nullptr) return E_POINTER;
    VariantInit(role);
    const Children children(FWindow);
    long child = 0;
    if (HRESULT checked = Check(children, id, child); checked != S_OK) return checked;
    role->vt = VT_I4;
    if (child == CHILDID_SELF) {
      role->lVal = ROLE_SYSTEM_CLIENT;
    } else if (TGraphicControl* control = children.Painted(child)) {
      role->lVal = RoleOf(DescribeAccessible(*control).Role);
    } else {
      role->lVal = ROLE_SYSTEM_ALERT;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
    if (state == nullptr) return E_POINTER;
    VariantInit(state);
    const Children children(FWindow);
    long child = 0;
    if (HRESULT checked = Check(children, id, child); checked != S_OK) return checked;
    state->vt = VT_I4;
    const bool windowFocused = GetFocus() == FWindow;
    if (child == CHILDID_SELF) {
      state->lVal = STATE_SYSTEM_FOCUSABLE | (windowFocused ? STATE_SYSTEM_FOCUSED : 0) |
                    (IsWindowVisible(FWindow) ? 0 : STATE_SYSTEM_INVISIBLE);
    } else if (TGraphicControl* control = children.Painted(child)) {
      state->lVal = StateOf(DescribeAccessible(*control).State, windowFocused);
    } else {
      // The status object says nothing until the program said something.
      state->lVal = STATE_SYSTEM_READONLY |
                    (LastStatus().Window == FWindow ? 0 : STATE_SYSTEM_INVISIBLE);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help == nullptr) return E_POINTER;
    *help = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file != nullptr) *file = nullptr;
    if (topic != nullptr) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override {
    return Text(id, shortcut, [](const Children& children, long child) {
      TGraphicControl* control = children.Painted(child);
      const std::string key = control != nullptr ? DescribeAccessible(*control).Shortcut : "";
      return key.empty() ? std::optional<std::wstring>() : WideText(key);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (focus == nullptr) return E_POINTER;
    VariantInit(focus);
    const Children children(FWindow);
    if (!children.IsAlive()) return RPC_E_DISCONNECTED;
    const HWND focused = GetFocus();
    if (focused == FWindow) {
      const auto* form = dynamic_cast<const TForm*>(&children.Owner());
      const auto* picture =
          form != nullptr ? dynamic_cast<const TGraphicControl*>(form->Focused()) : nullptr;
      focus->vt = VT_I4;
      focus->lVal = picture != nullptr ? children.IdOf(*picture) : CHILDID_SELF;
      return S_OK;
    }
    // The focus on a child window, or inside one: that child's object.
    HWND child = focused;
    while (child != nullptr && GetParent(child) != FWindow)
      child = GetParent(child);
    if (child == nullptr) return S_FALSE;
    focus->vt = VT_DISPATCH;
    return AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(&focus->pdispVal));
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection == nullptr) return E_POINTER;
    VariantInit(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
    return Text(id, action, [](const Children& children, long child) {
      TGraphicControl* control = children.Painted(child);
      const std::string verb = control != nullptr ? DescribeAccessible(*control).DefaultAction : "";
      return verb.empty() ? std::optional<std::wstring>() : WideText(verb);
    });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT id) override {
    const Children children(FWindow);
    long child = 0;
    if (HRESULT checked = Check(children, id, child); checked != S_OK) return checked;
    auto* form = dynamic_cast<TForm*>(const_cast<TWinControl*>(&children.Owner()));
    TGraphicControl* control = children.Painted(child);
    if ((flags & SELFLAG_TAKEFOCUS) == 0 || form == nullptr || control == nullptr ||
        !DescribeAccessible(*control).State.Focusable) {
      return S_FALSE;
    }
    SetFocus(FWindow);
    form->FocusControl(control);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT id) override {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    *left = *top = *width = *height = 0;
    const Children children(FWindow);
    long child = 0;
    if (HRESULT checked = Check(children, id, child); checked != S_OK) return checked;
    RECT area{};
    if (child == CHILDID_SELF) {
      GetClientRect(FWindow, &area);
    } else if (TGraphicControl* control = children.Painted(child)) {
      const TRect bounds = control->BoundsRect();
      const TPoint offset = WindowPeer::FromHandle(FWindow)->ChildOffset();
      area = {bounds.Left - offset.X, bounds.Top - offset.Y, bounds.Right - offset.X,
              bounds.Bottom - offset.Y};
    } else {
      return S_FALSE;  // the status object has no place on the screen
    }
    POINT origin{area.left, area.top};
    ClientToScreen(FWindow, &origin);
    *left = origin.x;
    *top = origin.y;
    *width = area.right - area.left;
    *height = area.bottom - area.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (end == nullptr) return E_POINTER;
    VariantInit(end);
    const Children children(FWindow);
    long from = 0;
    if (HRESULT checked = Check(children, start, from); checked != S_OK) return checked;
    long to = 0;
    switch (direction) {
      case NAVDIR_FIRSTCHILD:
        if (from != CHILDID_SELF) return E_INVALIDARG;
        to = 1;
        break;
      case NAVDIR_LASTCHILD:
        if (from != CHILDID_SELF) return E_INVALIDARG;
        to = children.Count();
        break;
      case NAVDIR_NEXT:
        if (from == CHILDID_SELF) return S_FALSE;  // the window's siblings are its parent's
        to = from + 1;
        break;
      case NAVDIR_PREVIOUS:
        if (from == CHILDID_SELF) return S_FALSE;
        to = from - 1;
        break;
      default:
        return S_FALSE;
    }
    if (to < 1 || to > children.Count()) return S_FALSE;
    return ChildVariant(children, to, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (hit == nullptr) return E_POINTER;
    VariantInit(hit);
    const Children children(FWindow);
    if (!children.IsAlive()) return RPC_E_DISCONNECTED;
    POINT point{x, y};
    ScreenToClient(FWindow, &point);
    RECT client{};
    GetClientRect(FWindow, &client);
    if (!PtInRect(&client, point)) return S_FALSE;
    const HWND child = ChildWindowFromPointEx(FWindow, point, CWP_SKIPINVISIBLE);
    if (child != nullptr && child != FWindow) {
      return ChildVariant(children, children.IdOfWindow(child), hit);
    }
    // The topmost painted control under the point; a caption counts as its button.
    const TPoint offset = WindowPeer::FromHandle(FWindow)->ChildOffset();
    const TPoint at{point.x + offset.X, point.y + offset.Y};
    const auto& controls = children.Owner().Controls();
    for (auto control = controls.rbegin(); control != controls.rend(); ++control) {
      auto* graphic = dynamic_cast<TGraphicControl*>(*control);
      if (graphic == nullptr || !graphic->Visible() || !graphic->BoundsRect().Contains(at)) continue;
      const long id = children.IdOf(*AccessibleOwnerOf(*graphic));
      if (id != CHILDID_SELF) return ChildVariant(children, id, hit);
    }
    hit->vt = VT_I4;
    hit->lVal = CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
    const Children children(FWindow);
    long child = 0;
    if (HRESULT checked = Check(children, id, child); checked != S_OK) return checked;
    TGraphicControl* control = children.Painted(child);
    if (control == nullptr || DescribeAccessible(*control).DefaultAction.empty()) {
      return DISP_E_MEMBERNOTFOUND;
    }
    // The click runs later, from the event loop, as a click of the mouse would: the reader's
    // call returns at once, and what the click opens (a modal window) does not run inside it.
    PostMessageA(FWindow, kWmPressPainted, static_cast<WPARAM>(child), 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // Whether the window lives and the id names it or one of its children.
  static HRESULT Check(const Children& children, const VARIANT& id, long& child) {
    if (!children.IsAlive()) return RPC_E_DISCONNECTED;
    if (id.vt != VT_I4 || id.lVal < 0 || id.lVal > children.Count()) return E_INVALIDARG;
    child = id.lVal;
    // A child window speaks for itself: readers ask its own object.
    if (children.Window(child) != nullptr) return E_INVALIDARG;
    return S_OK;
  }

  static HRESULT ChildVariant(const Children& children, long id, VARIANT* result) {
    if (const HWND window = children.Window(id)) {
      result->vt = VT_DISPATCH;
      return AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                        reinterpret_cast<void**>(&result->pdispVal));
    }
    result->vt = VT_I4;
    result->lVal = id;
    return S_OK;
  }

  template <typename F>
  HRESULT Text(const VARIANT& id, BSTR* text, F&& of) {
    if (text == nullptr) return E_POINTER;
    *text = nullptr;
    const Children children(FWindow);
    long child = 0;
    if (HRESULT checked = Check(children, id, child); checked != S_OK) return checked;
    const std::optional<std::wstring> found = of(children, child);
    if (!found) return S_FALSE;
    *text = NewString(*found);
    return *text != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  static std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
  }

  HWND FWindow;
  LONG FReferences = 1;
};

// UI Automation's notification, looked up once in the system's library: readers speak it
// whatever has the focus.
using HostProviderFromHwnd = HRESULT(WINAPI*)(HWND, IUnknown**);
using RaiseNotificationEvent = HRESULT(WINAPI*)(IUnknown*, int, int, BSTR, BSTR);
constexpr int kNotificationKindActionCompleted = 2;
constexpr int kNotificationProcessingMostRecent = 1;

bool RaiseNotification(HWND window, const std::wstring& text) {
  static const HMODULE library = LoadSystemLibrary("uiautomationcore.dll");
  if (library == nullptr) return false;
  static const auto hostProvider = reinterpret_cast<HostProviderFromHwnd>(
      reinterpret_cast<void*>(GetProcAddress(library, "UiaHostProviderFromHwnd")));
  static const auto raise = reinterpret_cast<RaiseNotificationEvent>(
      reinterpret_cast<void*>(GetProcAddress(library, "UiaRaiseNotificationEvent")));
  if (hostProvider == nullptr || raise == nullptr) return false;
  IUnknown* provider = nullptr;
  if (FAILED(hostProvider(window, &provider)) || provider == nullptr) return false;
  const BSTR message = NewString(text);
  const BSTR activity = SysAllocString(L"Foyer.Status");
  const HRESULT raised = raise(provider, kNotificationKindActionCompleted,
                               kNotificationProcessingMostRecent, message, activity);
  SysFreeString(activity);
  SysFreeString(message);
  provider->Release();
  return SUCCEEDED(raised);
}

}  // namespace

std::optional<LRESULT> AnswerPaintedControls(HWND window, WPARAM wParam, LPARAM lParam) {
  if (static_cast<long>(lParam) != OBJID_CLIENT) return std::nullopt;
  // Handing the object to another process needs COM on this thread; it stays initialised for
  // the life of the program.
  [[maybe_unused]] static const HRESULT com =
      CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  auto* object = new PaintedControlsObject(window);
  const LRESULT result = LresultFromObject(kIidAccessible, wParam, object);
  object->Release();
  return result;
}

bool PressPainted(HWND window, WPARAM id) {
  const Children children(window);
  TGraphicControl* control = children.Painted(static_cast<long>(id));
  if (control == nullptr) return false;
  control->Click();
  return true;
}

void NotifyPaintedControl(HWND window, const TWinControl& owner, TGraphicControl& control,
                          TChange what) {
  const Children children(window);
  const long id = children.IdOf(*AccessibleOwnerOf(control));
  if (id == CHILDID_SELF || &children.Owner() != &owner) return;
  switch (what) {
    case TChange::Text:
    case TChange::Name:
      NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, id);
      break;
    case TChange::Visible:
      NotifyWinEvent(DescribeAccessible(*children.Painted(id)).State.Invisible ? EVENT_OBJECT_HIDE
                                                                               : EVENT_OBJECT_SHOW,
                     window, OBJID_CLIENT, id);
      break;
    case TChange::Enabled:
      NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, id);
      break;
    case TChange::Bounds:
      NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, window, OBJID_CLIENT, id);
      break;
    default:
      break;
  }
}

void NotifyPaintedFocus(HWND window, const TWinControl& owner, const TGraphicControl& control) {
  const Children children(window);
  const long id = children.IdOf(control);
  if (id != CHILDID_SELF && &children.Owner() == &owner)
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, id);
}

void AnnounceThrough(HWND window, const std::string& message) {
  Status& status = LastStatus();
  status.Window = window;
  status.Text = WideText(message);
  const Children children(window);
  const long id = children.StatusId();
  if (id != 0) NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, id);
  // Where the system has notifications, readers speak them; an alert as well would be said
  // twice.
  if (RaiseNotification(window, status.Text)) return;
  if (id != 0) NotifyWinEvent(EVENT_SYSTEM_ALERT, window, OBJID_CLIENT, id);
}

}  // namespace foyer
