// The Win32 backend: peers for the windowed components, modal showing, timers, the error box.
#include "toolkit/win32/Win32Backend.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/FileControls.h"
#include "toolkit/RichEdit.h"
#include "toolkit/win32/ButtonPeer.h"
#include "toolkit/win32/EditPeer.h"
#include "toolkit/win32/FileControlPeers.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/FormAccessible.h"
#include "toolkit/win32/FormPeer.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/ListBoxPeer.h"
#include "toolkit/win32/MemoPeer.h"
#include "toolkit/win32/Painting.h"
#include "toolkit/win32/PanelPeer.h"
#include "toolkit/win32/ProgressBarPeer.h"
#include "toolkit/win32/RichEditPeer.h"
#include "toolkit/win32/TextViewPeer.h"
#include "util/Errors.h"

namespace foyer {

namespace {

constexpr const char* kTimerWindowClass = "TFoyerTimers";

// The other top-level windows of the thread, disabled while a modal form is up.
class DisabledWindows {
 public:
  explicit DisabledWindows(HWND modal) : FModal(modal) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    for (HWND window : FWindows)
      EnableWindow(window, FALSE);
  }
  ~DisabledWindows() {
    for (HWND window : FWindows) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
  }
  DisabledWindows(const DisabledWindows&) = delete;
  DisabledWindows& operator=(const DisabledWindows&) = delete;

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    auto* disabled = reinterpret_cast<DisabledWindows*>(self);
    // Hidden forms stay enabled: one of them may be the next modal form.
    if (window != disabled->FModal && IsWindowVisible(window) && IsWindowEnabled(window)) {
      disabled->FWindows.push_back(window);
    }
    return TRUE;
  }

  HWND FModal;
  std::vector<HWND> FWindows;
};

// A modal showing of a form: the other windows are disabled while it is up; they are enabled
// again before it hides, so that activation goes back to the window below.
class ModalShowing {
 public:
  ModalShowing(TForm& form, HWND window) : FForm(form), FOthers(window) {
    FForm.SetVisible(true);
    SetActiveWindow(window);
  }
  ~ModalShowing() {
    FOthers.reset();
    FForm.SetVisible(false);
    FForm.EndModal();
  }
  ModalShowing(const ModalShowing&) = delete;
  ModalShowing& operator=(const ModalShowing&) = delete;

 private:
  TForm& FForm;
  std::optional<DisabledWindows> FOthers;
};

// Keys that a form takes before its focused control does: Escape, Enter and Tab in a form with
// buttons, the moves and access keys of picture buttons, and Alt with an access key.
bool IsDialogKey(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  if (message.hwnd == nullptr) return false;
  auto* form = dynamic_cast<FormPeer*>(WindowPeer::FromHandle(GetAncestor(message.hwnd, GA_ROOT)));
  if (form == nullptr) return false;
  bool used = false;
  Application().Dispatch([&] { used = form->DialogKey(message); });
  return used;
}

// Hands a message to its window, unless it is a dialog key its form used.
void Deliver(MSG& message) {
  if (IsDialogKey(message)) return;
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

class Win32Backend final : public IBackend {
 public:
  explicit Win32Backend(HINSTANCE instance);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  void Start() override;
  std::unique_ptr<IWindowPeer> CreatePeer(TWinControl& control) override;
  TSize MeasureText(const TFont& font, const std::string& text) override;
  int32_t ShowModal(TForm& form) override;
  void BeginModalShowing(TForm& form) override;
  void EndModalShowing(TForm& form) override;
  void ProcessMessages() override;
  void ShowError(const std::string& title, const std::string& message) override;
  void Announce(const std::string& message) override;
  void TimerChanged(TTimer& timer) override;
  void Run(TForm& mainForm) override;
  void Terminate() override { PostQuitMessage(0); }

 private:
  static LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void TimerFired(UINT_PTR id);

  HINSTANCE FInstance;
  FontCache FFonts;
  // A message-only window receives the timers' WM_TIMER, so they tick in any message loop.
  HWND FTimerWindow = nullptr;
  std::vector<std::pair<UINT_PTR, TTimer*>> FTimers;
  UINT_PTR FNextTimerId = 1;
  std::vector<std::pair<TForm*, std::unique_ptr<ModalShowing>>> FShowings;
};

Win32Backend::Win32Backend(HINSTANCE instance) : FInstance(instance) {}

void Win32Backend::Start() {
  // The manifest asks for version 6 of the common controls; their window classes, the system's
  // own buttons, edits, list and combo boxes among them, are the library's to register.
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX),
                                     ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  if (!InitCommonControlsEx(&classes)) throw Exception("Cannot load the common controls");
  // Wine can switch to no high-contrast theme (SPI_SETHIGHCONTRAST fails, and the answer is
  // always "off"): FOYER_HIGH_CONTRAST=1 shows the look there, with whatever system colours the
  // prefix has, so that a publisher can see a medium as those users will.
  char highContrast[2] = {};
  if (GetEnvironmentVariableA("FOYER_HIGH_CONTRAST", highContrast, sizeof highContrast) == 1 &&
      highContrast[0] == '1') {
    TellHighContrast(true);
  }
  WNDCLASSA windowClass{};
  if (!GetClassInfoA(FInstance, kTimerWindowClass, &windowClass)) {
    windowClass.lpfnWndProc = TimerWindowProc;
    windowClass.hInstance = FInstance;
    windowClass.lpszClassName = kTimerWindowClass;
    if (RegisterClassA(&windowClass) == 0) throw Exception("Cannot register the timer window");
  }
  LoadRichEditLibrary();
  FTimerWindow = CreateWindowExA(0, kTimerWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 FInstance, this);
  if (FTimerWindow == nullptr) throw Exception("Cannot create the timer window");
}

Win32Backend::~Win32Backend() {
  for (const auto& [id, timer] : FTimers)
    KillTimer(FTimerWindow, id);
  if (FTimerWindow != nullptr) DestroyWindow(FTimerWindow);
}

std::unique_ptr<IWindowPeer> Win32Backend::CreatePeer(TWinControl& control) {
  const PeerContext context{FInstance, FFonts};
  if (auto* form = dynamic_cast<TForm*>(&control))
    return std::make_unique<FormPeer>(context, *form);
  // A child window needs its parent's window.
  const TWinControl* parent = control.Parent();
  if (parent == nullptr || WindowPeer::Of(*parent) == nullptr) return nullptr;
  if (auto* panel = dynamic_cast<TPanel*>(&control)) {
    return std::make_unique<PanelPeer>(context, *panel);
  }
  if (auto* listBox = dynamic_cast<TListBox*>(&control)) {
    return std::make_unique<ListBoxPeer>(context, *listBox);
  }
  if (auto* button = dynamic_cast<TButton*>(&control)) {
    return std::make_unique<ButtonPeer>(context, *button);
  }
  if (auto* edit = dynamic_cast<TEdit*>(&control))
    return std::make_unique<EditPeer>(context, *edit);
  if (auto* bar = dynamic_cast<TProgressBar*>(&control)) {
    return std::make_unique<ProgressBarPeer>(context, *bar);
  }
  if (auto* combo = dynamic_cast<TDriveComboBox*>(&control)) {
    return std::make_unique<DriveComboPeer>(context, *combo);
  }
  if (auto* list = dynamic_cast<TDirectoryListBox*>(&control)) {
    return std::make_unique<DirListPeer>(context, *list);
  }
  if (auto* richEdit = dynamic_cast<TRichEdit*>(&control)) {
    return std::make_unique<RichEditPeer>(context, *richEdit);
  }
  if (auto* memo = dynamic_cast<TMemo*>(&control)) {
    // An edit control lays out every line of its text at once: seconds for a large file. Text
    // that is only read and wrapped goes to a view of our own that lays out what it shows.
    if (memo->ReadOnly() && memo->WordWrap()) return std::make_unique<TextViewPeer>(context, *memo);
    return std::make_unique<MemoPeer>(context, *memo);
  }
  return nullptr;
}

TSize Win32Backend::MeasureText(const TFont& font, const std::string& text) {
  ClientDC screen;
  if (!screen.IsValid()) throw Exception("Out of system resources");
  // In the font the text is painted in, character by character as DrawTextW takes it.
  const std::wstring wide = WideText(text);
  ObjectSelection selection(screen.Get(), FFonts.For(font, wide));
  SIZE size{};
  GetTextExtentPoint32W(screen.Get(), wide.c_str(), static_cast<int>(wide.size()), &size);
  return {size.cx, size.cy};
}

// The form's window, made when the form is shown for the first time.
HWND WindowToShow(TForm& form) {
  if (!form.IsBound()) form.Bind();
  const HWND window = HandleOf(form);
  if (window == nullptr) throw Exception("The form " + form.Name() + " has no window");
  return window;
}

void Win32Backend::BeginModalShowing(TForm& form) {
  const HWND window = WindowToShow(form);
  form.BeginModal();
  Application().Dispatch([&form] { form.DoShow(); });
  FShowings.emplace_back(&form, std::make_unique<ModalShowing>(form, window));
}

void Win32Backend::EndModalShowing(TForm& form) {
  std::erase_if(FShowings, [&form](const auto& showing) { return showing.first == &form; });
}

void Win32Backend::ProcessMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The loop that waits for it must still see it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Deliver(message);
  }
}

int32_t Win32Backend::ShowModal(TForm& form) {
  const HWND window = WindowToShow(form);
  form.BeginModal();
  Application().Dispatch([&form] { form.DoShow(); });
  {
    ModalShowing showing(form, window);
    MSG message;
    while (form.ModalResult() == mrNone && !Application().Terminated()) {
      const BOOL got = GetMessageA(&message, nullptr, 0, 0);
      if (got == -1) break;
      if (got == 0) {
        // The program is ending: the main loop must see the quit message too.
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      Deliver(message);
    }
  }
  return form.ModalResult();
}

void Win32Backend::Announce(const std::string& message) {
  const TForm* mainForm = Application().MainForm();
  const WindowPeer* peer = mainForm != nullptr ? WindowPeer::Of(*mainForm) : nullptr;
  if (peer != nullptr) AnnounceThrough(peer->Handle(), message);
}

void Win32Backend::ShowError(const std::string& title, const std::string& message) {
  MessageBoxA(GetActiveWindow(), message.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

void Win32Backend::TimerChanged(TTimer& timer) {
  auto running = std::find_if(FTimers.begin(), FTimers.end(),
                              [&timer](const auto& entry) { return entry.second == &timer; });
  if (running != FTimers.end()) {
    KillTimer(FTimerWindow, running->first);
    FTimers.erase(running);
  }
  // A timer without a handler has nothing to run, as in the headless backend.
  if (!timer.Enabled() || timer.Interval() == 0 || !timer.OnTimer) return;
  const UINT_PTR id = FNextTimerId++;
  if (SetTimer(FTimerWindow, id, timer.Interval(), nullptr) == 0) {
    throw Exception("Not enough timers available");
  }
  FTimers.emplace_back(id, &timer);
}

void Win32Backend::TimerFired(UINT_PTR id) {
  auto running = std::find_if(FTimers.begin(), FTimers.end(),
                              [id](const auto& entry) { return entry.first == id; });
  // A WM_TIMER can still be queued for a timer that was stopped since.
  if (running == FTimers.end()) return;
  TTimer* timer = running->second;
  Application().Dispatch([timer] { timer->Fire(); });
}

LRESULT CALLBACK Win32Backend::TimerWindowProc(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (message == WM_TIMER) {
    auto* backend = reinterpret_cast<Win32Backend*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (backend != nullptr) {
      Application().Dispatch([backend, wParam] { backend->TimerFired(wParam); });
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Win32Backend::Run(TForm& mainForm) {
  if (!mainForm.IsBound()) mainForm.Bind();
  if (auto* peer = dynamic_cast<FormPeer*>(WindowPeer::Of(mainForm))) peer->ShowAsStarted();
  mainForm.SetVisible(true);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0)
    Deliver(message);
}

}  // namespace

std::unique_ptr<IBackend> MakeWin32Backend(HINSTANCE instance) {
  return std::make_unique<Win32Backend>(instance);
}

HWND HandleOf(const TWinControl& control) {
  const WindowPeer* peer = WindowPeer::Of(control);
  return peer != nullptr ? peer->Handle() : nullptr;
}

}  // namespace foyer
