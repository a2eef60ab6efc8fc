// The window behind a windowed component.
#include "toolkit/win32/WindowPeer.h"

#include "toolkit/win32/FontCache.h"

#include <algorithm>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/win32/FormAccessible.h"
#include "toolkit/win32/Painting.h"
#include "util/Errors.h"

namespace foyer {

namespace {

// A window property rather than GWLP_USERDATA: windows of system classes (list boxes) carry a
// peer as well, and their user data is not ours to take.
constexpr const char* kPeerProperty = "Foyer.Peer";

// The icon a program of the toolkit carries in its resources, if any.
constexpr const char* kIconName = "FOYER";

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

}  // namespace

WindowPeer::WindowPeer(const PeerContext& context, TWinControl& control)
    : FContext(context), FControl(control) {}

WindowPeer::~WindowPeer() {
  if (FHandle == nullptr || !IsWindow(FHandle) || FromHandle(FHandle) != this) return;
  // Messages sent while the window goes away must not reach a peer that is half destroyed.
  const HWND window = FHandle;
  Detach();
  DestroyWindow(window);
}

WindowPeer* WindowPeer::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  return static_cast<WindowPeer*>(GetPropA(window, kPeerProperty));
}

WindowPeer* WindowPeer::Of(const TWinControl& control) {
  return dynamic_cast<WindowPeer*>(control.Peer());
}

void WindowPeer::Attach(HWND window) {
  FHandle = window;
  SetPropA(window, kPeerProperty, this);
}

void WindowPeer::Detach() {
  RemovePropA(FHandle, kPeerProperty);
  FHandle = nullptr;
}

HWND WindowPeer::ParentHandle() const {
  TWinControl* parent = FControl.Parent();
  WindowPeer* parentPeer = parent != nullptr ? Of(*parent) : nullptr;
  return parentPeer != nullptr ? parentPeer->Handle() : nullptr;
}

void WindowPeer::RegisterClassOnce(const std::string& name, UINT style, bool withIcon) const {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExA(FContext.Instance, name.c_str(), &windowClass)) return;
  windowClass.style = style;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = FContext.Instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name.c_str();
  if (withIcon) {
    // The program's icon, when its resources have one: the large size for the taskbar and task
    // switcher, the small one for the title bar, each the image drawn for that size.
    windowClass.hIcon = LoadIconA(FContext.Instance, kIconName);
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageA(FContext.Instance, kIconName, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  }
  if (RegisterClassExA(&windowClass) == 0)
    throw Exception("Cannot register the window class " + name);
}

void WindowPeer::CreateOwnWindow(DWORD exStyle, const std::string& className,
                                 const std::string& title, DWORD style, int x, int y, int width,
                                 int height, HWND parent) {
  const HWND window = CreateWindowExA(exStyle, className.c_str(), title.c_str(), style, x, y, width,
                                      height, parent, nullptr, FContext.Instance, this);
  if (window == nullptr) throw Exception("Cannot create a window of class " + className);
}

void WindowPeer::AdoptWindow(HWND window) {
  if (window == nullptr) throw Exception("Cannot create a window");
  Attach(window);
}

void WindowPeer::ReplaceWindow(HWND window) {
  if (window == nullptr) throw Exception("Cannot create a window");
  const HWND old = FHandle;
  const bool focused = GetFocus() == old;
  SetWindowPos(window, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Detach();
  DestroyWindow(old);
  FSentFont = nullptr;
  Attach(window);
  if (focused) SetFocus(window);
}

LRESULT CALLBACK WindowPeer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    static_cast<WindowPeer*>(create->lpCreateParams)->Attach(window);
  }
  WindowPeer* peer = FromHandle(window);
  // Before WM_NCCREATE (WM_GETMINMAXINFO comes first) and after the peer let go.
  if (peer == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  LRESULT result = 0;
  // Forms and panels paint controls that have no window: they answer for them to readers.
  const bool paintsControls = dynamic_cast<TForm*>(&peer->Control()) != nullptr ||
                              dynamic_cast<TPanel*>(&peer->Control()) != nullptr;
  if (paintsControls && message == WM_GETOBJECT) {
    if (auto answer = AnswerPaintedControls(window, wParam, lParam)) return *answer;
  }
  if (paintsControls && message == kWmPressPainted) {
    Application().Dispatch([&] { PressPainted(window, wParam); });
    return 0;
  }
  Application().Dispatch([&] { result = peer->HandleMessage(message, wParam, lParam); });
  if (message == WM_NCDESTROY) peer->Detach();
  return result;
}

LRESULT WindowPeer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return Default(message, wParam, lParam);
}

std::optional<LRESULT> WindowPeer::Reflected(UINT, WPARAM, LPARAM) {
  return std::nullopt;
}

std::optional<LRESULT> WindowPeer::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_VKEYTOITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      WindowPeer* child = FromHandle(reinterpret_cast<HWND>(lParam));
      if (child == nullptr || child == this) return std::nullopt;
      return child->Reflected(message, wParam, lParam);
    }
    case WM_NOTIFY: {
      WindowPeer* child = FromHandle(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom);
      if (child == nullptr || child == this) return std::nullopt;
      return child->Reflected(message, wParam, lParam);
    }
    // A child that has no menu of its own passes the right click up, naming itself.
    case WM_CONTEXTMENU: {
      WindowPeer* child = FromHandle(reinterpret_cast<HWND>(wParam));
      if (child == nullptr || child == this) return std::nullopt;
      return child->Reflected(message, wParam, lParam);
    }
    case WM_DRAWITEM: {
      // An owner-drawn control names itself inside the structure.
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      WindowPeer* child = FromHandle(item->hwndItem);
      if (child == nullptr || child == this) return std::nullopt;
      return child->Reflected(message, wParam, lParam);
    }
    default:
      return std::nullopt;
  }
}

LRESULT WindowPeer::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(FHandle, message, wParam, lParam);
}

void WindowPeer::SendFont(const std::string& text) {
  const HFONT font = FContext.Fonts.For(FControl.Font(), text);
  if (font == FSentFont) return;
  FSentFont = font;
  SendMessageA(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void WindowPeer::MakeBackground() {
  const TColor color = FControl.Color();
  FBackground =
      (color & kSystemColor) != 0 ? GdiBrush() : GdiBrush(CreateSolidBrush(ColorRef(color)));
  InvalidateRect(FHandle, nullptr, TRUE);
}

LRESULT WindowPeer::ColorReply(WPARAM dc) const {
  SetTextColor(reinterpret_cast<HDC>(dc), TextColorOf(FControl));
  SetBkColor(reinterpret_cast<HDC>(dc), BackgroundOf(FControl));
  if (IsHighContrast()) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  const TColor color = FControl.Color();
  if ((color & kSystemColor) != 0) {
    return reinterpret_cast<LRESULT>(GetSysColorBrush(static_cast<int>(color & 0xFF)));
  }
  return reinterpret_cast<LRESULT>(FBackground.Get());
}

std::optional<LRESULT> WindowPeer::HandleColorChange(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE && wParam != SPI_SETHIGHCONTRAST) return std::nullopt;
  if (message != WM_SYSCOLORCHANGE && message != WM_SETTINGCHANGE) return std::nullopt;
  std::vector<HWND> windows{FHandle};
  EnumChildWindows(FHandle, CollectWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows) {
    // Only top-level windows get WM_SYSCOLORCHANGE; the common controls ask to be handed it.
    if (message == WM_SYSCOLORCHANGE && window != FHandle) SendMessageA(window, message, 0, 0);
    // A colour change makes each peer take its colours anew (a brush, a rich edit's background).
    if (WindowPeer* peer = FromHandle(window)) peer->Changed(TChange::Color, -1);
  }
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return Default(message, wParam, lParam);
}

std::string WindowPeer::WindowText() const {
  const int length = GetWindowTextLengthA(FHandle);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(FHandle, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

TPoint WindowPeer::ChildOffset() const {
  RECT frame{};
  GetWindowRect(FHandle, &frame);
  POINT origin{0, 0};
  ClientToScreen(FHandle, &origin);
  return {origin.x - frame.left, origin.y - frame.top};
}

void WindowPeer::ApplyBounds() {
  TWinControl* parent = FControl.Parent();
  WindowPeer* parentPeer = parent != nullptr ? Of(*parent) : nullptr;
  const TPoint offset = parentPeer != nullptr ? parentPeer->ChildOffset() : TPoint{};
  SetWindowPos(FHandle, nullptr, FControl.Left() - offset.X, FControl.Top() - offset.Y,
               std::max(0, FControl.Width()), std::max(0, FControl.Height()),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPeer::Changed(TChange what, int32_t) {
  switch (what) {
    case TChange::Bounds:
      ApplyBounds();
      break;
    case TChange::Visible:
      ShowWindow(FHandle, FControl.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case TChange::Enabled:
      EnableWindow(FHandle, FControl.Enabled() ? TRUE : FALSE);
      break;
    case TChange::Name:
      NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, FHandle, OBJID_CLIENT, CHILDID_SELF);
      break;
    default:
      InvalidateRect(FHandle, nullptr, FALSE);
      break;
  }
}

void WindowPeer::InvalidateArea(const TRect& area) {
  RECT rect = ToRect(area);
  const TPoint offset = ChildOffset();
  OffsetRect(&rect, -offset.X, -offset.Y);
  InvalidateRect(FHandle, &rect, FALSE);
}

void WindowPeer::GraphicChanged(TGraphicControl& control, TChange what) {
  NotifyPaintedControl(FHandle, FControl, control, what);
}

void WindowPeer::Paint(HDC, const RECT&) {}

std::optional<LRESULT> WindowPeer::HandlePaintMessage(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_ERASEBKGND:
      // WM_PAINT covers every pixel; erasing first would only flicker.
      return 1;
    case WM_PAINT: {
      PaintScope paint(FHandle);
      Paint(paint.Get(), paint.Area());
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(FHandle, &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    default:
      return std::nullopt;
  }
}

void WindowPeer::Update() {
  // Asking each child for its update region costs more than the paint itself when nothing is
  // pending, as after most rows of a long list: the thread's queue says whether anything is.
  if ((HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT) == 0) return;
  RedrawWindow(FHandle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

}  // namespace foyer
