// foyer.exe as a screen reader meets it, read from this process as a reader reads it: the objects
// Active Accessibility hands out for each window, and the events that say what changed.
#include "platform/win32/WinApi.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "EndToEndBed.h"
#include "ScreenReader.h"
#include "contract/ContractBed.h"
#include "util/Path.h"

namespace foyer::test {
namespace {

std::string Narrow(const std::wstring& text) {
  const int wide = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), wide, result.data(), length, nullptr, nullptr);
  return result;
}

// An object as a reader says it: its role, its name, and the states a user is told of.
std::string Spoken(IAccessible& object, long id) {
  static const std::pair<long, const char*> kRoles[] = {
      {ROLE_SYSTEM_PUSHBUTTON, "button"}, {ROLE_SYSTEM_STATICTEXT, "text"},
      {ROLE_SYSTEM_LIST, "list"},         {ROLE_SYSTEM_TEXT, "edit"},
      {ROLE_SYSTEM_COMBOBOX, "combo box"}, {ROLE_SYSTEM_ALERT, "alert"},
      {ROLE_SYSTEM_CLIENT, "window"}};
  const ReaderView view = ReadObject(object, id);
  std::string spoken = std::to_string(view.Role);
  for (const auto& [role, text] : kRoles)
    if (role == view.Role) spoken = text;
  spoken += " \"" + Narrow(view.Name) + "\"";
  if ((view.State & STATE_SYSTEM_UNAVAILABLE) != 0) spoken += " unavailable";
  if ((view.State & STATE_SYSTEM_FOCUSED) != 0) spoken += " focused";
  return spoken;
}

// What a reader finds in a window, one line an object, children indented below their window:
// the window's client object and its visible children. A child window is read through its own
// client object (under Wine the window objects a container hands out carry no role or name).
void Read(HWND window, const std::string& indent, std::vector<std::string>& lines) {
  Accessible object = ClientObjectOf(window);
  if (object == nullptr) return;
  lines.push_back(indent + Spoken(*object, CHILDID_SELF));
  long count = 0;
  object->get_accChildCount(&count);
  for (long id = 1; id <= count; ++id) {
    IDispatch* child = nullptr;
    if (object->get_accChild(ChildId(id), &child) == S_OK && child != nullptr) {
      child->Release();  // a window: read below, through its own client object
      continue;
    }
    if ((ReadObject(*object, id).State & STATE_SYSTEM_INVISIBLE) == 0)
      lines.push_back(indent + "  " + Spoken(*object, id));
  }
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (IsWindowVisible(child)) Read(child, indent + "  ", lines);
  }
}

std::vector<std::string> ReadWindow(HWND window) {
  std::vector<std::string> lines;
  Read(window, "", lines);
  return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& found : lines)
    if (found.find(line) != std::string::npos) return true;
  return false;
}

// What a reader hears while the user works: the object that takes the focus, and the status
// messages the program says.
class Heard {
 public:
  explicit Heard(DWORD process) {
    gHeard = this;
    FHook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, Event, process,
                            0, WINEVENT_OUTOFCONTEXT);
  }
  ~Heard() {
    UnhookWinEvent(FHook);
    gHeard = nullptr;
  }
  Heard(const Heard&) = delete;
  Heard& operator=(const Heard&) = delete;

  // Takes the events that came in: they wait in this thread's queue.
  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
      DispatchMessageA(&message);
  }

  // Waits for a line that holds the text, heard since the last wait.
  bool Wait(const std::string& text) {
    return WaitFor(
        [&] {
          Pump();
          for (; FSeen < Lines.size(); ++FSeen)
            if (Lines[FSeen].find(text) != std::string::npos) return ++FSeen, true;
          return false;
        },
        20000);
  }

  std::vector<std::string> Lines;

 private:
  static void CALLBACK Event(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG childId,
                             DWORD, DWORD) {
    if (gHeard == nullptr || (event != EVENT_OBJECT_FOCUS && event != EVENT_OBJECT_NAMECHANGE))
      return;
    IAccessible* object = nullptr;
    VARIANT child;
    VariantInit(&child);
    if (FAILED(AccessibleObjectFromEvent(window, objectId, childId, &object, &child))) return;
    const Accessible held(object);
    const long id = child.vt == VT_I4 ? child.lVal : CHILDID_SELF;
    const std::string spoken = Spoken(*object, id);
    if (event == EVENT_OBJECT_FOCUS) {
      gHeard->Lines.push_back("focus: " + spoken);
    } else if (spoken.rfind("alert ", 0) == 0) {
      gHeard->Lines.push_back("status: " + spoken.substr(6));
    }
  }

  static Heard* gHeard;
  HWINEVENTHOOK FHook = nullptr;
  size_t FSeen = 0;
};
Heard* Heard::gHeard = nullptr;

HWND FocusedWindowOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                            : nullptr;
}

class EndToEndAccessibility : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    if (IsSkipped()) return;
    // A reader's thread is in an apartment: the objects of another process come through COM.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    FBed = MakeContractBed();
    ASSERT_NO_FATAL_FAILURE(StartFoyer());
    FHeard = std::make_unique<Heard>(GetProcessId(FFoyer->Handle()));
  }
  void TearDown() override {
    FHeard.reset();
    FFoyer.reset();
    CoUninitialize();
    for (const std::string& line : FTranscript)
      std::cout << "    " << line << "\n";
  }

  // Presses a key where the program's focus is, and writes down what the reader heard.
  void Press(WPARAM key, const char* name, HWND window) {
    const size_t before = FHeard->Lines.size();
    const HWND focused = FocusedWindowOf(window);
    PostKey(focused != nullptr ? focused : window, key);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer);
    FTranscript.push_back(std::string("[") + name + "]");
    WaitFor(
        [&] {
          Heard::Pump();
          return FHeard->Lines.size() > before;
        },
        2000);
    for (size_t i = before; i < FHeard->Lines.size(); ++i)
      FTranscript.push_back("  " + FHeard->Lines[i]);
  }

  void Transcribe(const std::string& title, const std::vector<std::string>& lines) {
    FTranscript.push_back(title);
    for (const std::string& line : lines)
      FTranscript.push_back("  " + line);
  }

  std::unique_ptr<ContractBed> FBed;
  std::unique_ptr<Heard> FHeard;
  std::vector<std::string> FTranscript;
};

// A blind user installs an entry with Tab, the arrows and Enter alone, and hears each step.
TEST_F(EndToEndAccessibility, AnEntryIsInstalledWithTheKeyboardAloneAndEveryStepIsHeard) {
  const std::vector<std::string> categories = Categories();
  ASSERT_FALSE(categories.empty());
  std::vector<std::string> main;
  // The categories come with the end of the start-up.
  EXPECT_TRUE(WaitFor(
      [&] { return Has(main = ReadWindow(FMain), "button \"" + categories.back() + "\""); },
      10000));
  Transcribe("main window:", main);
  for (const std::string& category : categories)
    EXPECT_TRUE(Has(main, "button \"" + category + "\"")) << category;
  EXPECT_TRUE(Has(main, "button \"Quit\""));

  // Tab walks the categories in their order; Enter opens the one with the focus.
  size_t install = 0;
  while (install < categories.size() && categories[install] != "Install")
    ++install;
  ASSERT_LT(install, categories.size());
  for (size_t i = 0; i <= install; ++i) {
    Press(VK_TAB, "Tab", FMain);
    EXPECT_TRUE(FHeard->Wait("focus: button \"" + categories[i] + "\"")) << i;
  }
  Press(VK_RETURN, "Enter", FMain);
  EXPECT_TRUE(FHeard->Wait("status: \"Install: 4 entries\""));
  const std::vector<std::string> opened = ReadWindow(FMain);
  Transcribe("main window with Install open:", opened);
  for (const char* line : {"list \"Install\"", "button \"Install\"", "button \"ReadMe\""})
    EXPECT_TRUE(Has(opened, line)) << line;
  // Past the other categories Tab reaches the list.
  for (size_t i = install + 1; i <= categories.size(); ++i)
    Press(VK_TAB, "Tab", FMain);
  EXPECT_TRUE(FHeard->Wait("focus: list \"Install\""));
  Press(VK_DOWN, "Down", FMain);
  ASSERT_TRUE(WaitFor([&] { return SendMessageA(FList, LB_GETCURSEL, 0, 0) == 1; }, 5000));
  const std::string selected = Narrow(ReadAsScreenReader(FList).Value);
  FTranscript.push_back("  list's value: \"" + selected + "\"");
  EXPECT_EQ(selected.substr(0, 5), "Cards");
  Press(VK_RETURN, "Enter", FMain);

  HWND dialog = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (dialog = FFoyer->Window("TOpenDirDialog")) != nullptr; }, 10000));
  EXPECT_TRUE(FHeard->Wait("focus: edit \"Install folder\" focused"));
  const std::vector<std::string> asked = ReadWindow(dialog);
  Transcribe("install dialog:", asked);
  for (const char* line : {"edit \"Install folder\"", "list \"Folders\"", "button \"OK\"",
                           "button \"Cancel\"", "button \"Create\""}) {
    EXPECT_TRUE(Has(asked, line)) << line;
  }
  // The folder is typed; Enter installs there.
  const std::string target = FBed->Root() + "Cards";
  SendMessageA(FocusedWindowOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
  Press(VK_RETURN, "Enter", dialog);
  EXPECT_TRUE(FHeard->Wait("status: \"Installed \"Cards\" in " + target + "\"")) << target;
  EXPECT_TRUE(Platform().Fs->DirExists(target));

  // A failed install: its alert's lines are read, and the reader hears how it ended.
  FBed->MakeFile(FBed->Root() + "plain.txt", "a file");
  Press(VK_RETURN, "Enter", FMain);
  ASSERT_TRUE(
      WaitFor([&] { return (dialog = FFoyer->Window("TOpenDirDialog")) != nullptr; }, 10000));
  const std::string into = FBed->Root() + "plain.txt\\Cards";
  SendMessageA(FocusedWindowOf(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(into.c_str()));
  Press(VK_RETURN, "Enter", dialog);
  HWND alert = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (alert = FFoyer->Window("TCopyFailBox")) != nullptr; }, 10000));
  EXPECT_TRUE(FHeard->Wait("status: \"Install of \"Cards\" failed\""));
  const std::vector<std::string> failed = ReadWindow(alert);
  Transcribe("alert:", failed);
  for (const char* line :
       {"text \"Unable to complete operation\"", "text \"Check disk space\"", "button \"OK\""}) {
    EXPECT_TRUE(Has(failed, line)) << line;
  }
  Press(VK_RETURN, "Enter", alert);
  EXPECT_TRUE(WaitFor([&] { return FFoyer->Window("TCopyFailBox") == nullptr; }, 10000));
}

}  // namespace
}  // namespace foyer::test
