// foyer_try: opens a medium in foyer.exe as its user would, clicks every category, and keeps a
// picture of the main window and of each category's list (foyer-try runs it under Wine).
//
//   foyer_try <foyer.exe> <medium> <pictures folder>
//
// What a click on each category does is learned first from the program's own main window, made
// headless over the same medium: so the pictures are taken of what the program lists, and a
// category whose single entry would be played or run is not clicked (a publisher's installer
// would start). A category whose single entry opens one of Foyer's windows (a viewer, the
// install dialog) gives a picture of that window, which is then closed as a user closes it. A
// message the program shows instead (a picture it cannot read) is the category's picture.
// Each picture is a 24-bit .bmp of one window, frame and caption included.
#include "platform/win32/WinApi.h"

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "drive/Drive.h"
#include "main/UMain.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"

namespace foyer::tryout {
namespace {

using drive::CaptureWindow;
using drive::FindDescendant;
using drive::ListRows;
using drive::WaitFor;
using Shot = drive::ScreenPicture;

constexpr DWORD kStartMs = 30000;
constexpr DWORD kStepMs = 15000;
// A window is settled when two pictures of it taken this far apart are the same.
constexpr DWORD kSettleGapMs = 200;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "foyer-try: %s\n", what.c_str());
  std::exit(1);
}

void Require(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// What a click on a category does, as the program decides it.
struct Category {
  std::string Name;
  // The middle of its button, in the main window's client area.
  POINT Middle{};
  // The list's rows, when the click lists the folder.
  std::vector<std::string> Rows;
  // What the click does at once instead ("views manual.txt"), and the window that shows it.
  std::string ActsAtOnce;
  const char* Window = nullptr;
  // The caption a screen reader names its button by.
  std::string ReaderName;
};

// The window class an action opens on the screen, or null for one that opens none of ours.
const char* WindowOf(TEntryAction action) {
  switch (action) {
    case TEntryAction::Install:
      return "TOpenDirDialog";
    case TEntryAction::ShowPicture:
      return "TShowBmpForm";
    case TEntryAction::ViewText:
      return "TShowTxtForm";
    case TEntryAction::ViewRichText:
      return "TShowRtfForm";
    case TEntryAction::Play:
    case TEntryAction::Run:
    case TEntryAction::ShowNotes:
    case TEntryAction::ShowPreview:
      break;
  }
  return nullptr;
}

// The categories of the medium as the program's main window, made headless over the real
// services on this screen, numbers, lays out and answers them.
std::vector<Category> LearnCategories(const std::string& medium) {
  ScopedPlatform platform(Win32Services());
  Application().SetBackend(std::make_unique<HeadlessBackend>());
  Headless().ModalHook = [](TForm&) { return static_cast<int32_t>(mrCancel); };
  ProgramArgs() = {"foyer.exe", {medium}};
  TRecordingActions actions;
  TMainForm* form = nullptr;
  const bool isStarted = Application().Dispatch([&] {
    Application().CreateForm(form);
    MainForm = form;
    form->SetEntryActions(&actions);
    Headless().FireTimer(*form->InitTimer);
  });
  Require(isStarted && form != nullptr, "the program's window does not start on " + medium);
  for (const std::string& error : Headless().Errors)
    Say("At start-up the program shows: " + error);
  std::vector<Category> categories;
  for (int32_t slot = 1; slot <= form->CatCount(); ++slot) {
    Category category;
    category.Name = form->CatName(slot);
    const TImage& button = *form->CatBtn(slot);
    category.Middle = {button.Left() + button.Width() / 2, button.Top() + button.Height() / 2};
    category.ReaderName = DescribeAccessible(button).Name;
    actions.Calls.clear();
    Application().Dispatch([&] { form->CatLabel(slot)->Click(); });
    if (!actions.Calls.empty()) {
      category.ActsAtOnce = DoneText(actions.Calls.back());
      category.Window = WindowOf(actions.Calls.back().Action);
    }
    if (category.ActsAtOnce.empty() && form->LastScan().Mode != lmNone) {
      for (const TListedEntry& entry : form->Offer().Entries)
        category.Rows.push_back(entry.Row);
    }
    categories.push_back(std::move(category));
  }
  Application().DestroyForms();
  MainForm = nullptr;
  return categories;
}

// The window's picture once it has stopped changing.
Shot Settled(HWND window, const std::string& what) {
  Shot shot;
  Require(drive::SettledPicture(window, kStepMs, kSettleGapMs, shot),
          "the window of " + what + " did not stop changing");
  return shot;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  Require(drive::WriteWholeFile(path, bytes), "cannot write " + path);
}

// Keeps a picture as an uncompressed 24-bit .bmp; foyer-try makes the PNG.
void SaveBmp(const Shot& shot, const std::string& folder, const std::string& name,
             const std::string& what) {
  WriteWholeFile(folder + "\\" + name + ".bmp", drive::BmpFileBytes(shot));
  Say("picture " + name + ": " + what);
}

// True once a screen reader finds the category's button on the main window: the categories and
// the skin come half a second after the window, and a picture before then shows neither.
bool HasButtonNamed(HWND window, const std::string& name) {
  IAccessible* object = nullptr;
  // Defined here: MinGW's import library gives IID_IAccessible as a thunk in a static link.
  static constexpr GUID kIidAccessible = {
      0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                                        reinterpret_cast<void**>(&object)))) {
    return false;
  }
  const std::wstring wanted = [&] {
    std::wstring wide(name.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), static_cast<int>(wide.size())) -
        1));
    return wide;
  }();
  long count = 0;
  object->get_accChildCount(&count);
  bool found = false;
  for (long id = 1; id <= count && !found; ++id) {
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = id;
    BSTR answered = nullptr;
    if (SUCCEEDED(object->get_accName(child, &answered)) && answered != nullptr)
      found = std::wstring(answered, SysStringLen(answered)) == wanted;
    SysFreeString(answered);
  }
  object->Release();
  return found;
}

// The text of a message box: its first static control with a text (the icon's has none).
std::string MessageText(HWND box) {
  for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child != nullptr;
       child = FindWindowExA(box, child, "Static", nullptr)) {
    char text[512] = {};
    if (GetWindowTextA(child, text, sizeof text) > 0) return text;
  }
  return {};
}

void PostClick(HWND window, POINT at) {
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

// Closes one of Foyer's windows as its user does: the picture viewer by a click on the
// picture, the others with their OK or Cancel button.
void CloseWindowOf(HWND window, const std::string& className) {
  if (className == "TShowBmpForm") {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return;
  }
  HWND button = FindDescendant(window, "Button", className == "TOpenDirDialog" ? "Cancel" : "OK");
  Require(button != nullptr, "no button closes the window of class " + className);
  PostMessageA(button, BM_CLICK, 0, 0);
}

std::string TwoDigits(size_t n) {
  return (n < 10 ? "0" : "") + std::to_string(n);
}

int Run(int argc, char** argv) {
  if (argc != 4) Fail("usage: foyer_try <foyer.exe> <medium> <pictures folder>");
  const std::string exe = argv[1];
  std::string medium = argv[2];
  const std::string pictures = argv[3];
  if (medium.back() != '\\') medium += '\\';
  const std::vector<Category> categories = LearnCategories(medium);
  Require(!categories.empty(), "the medium has no category: the window shows only Quit");

  const HRESULT apartment = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  drive::ProgramProcess foyer(exe, "\"" + medium + "\"");
  Require(foyer.Started(), "cannot start " + exe);
  HWND main = nullptr;
  Require(WaitFor([&] { return (main = foyer.Window("TMainForm")) != nullptr; }, kStartMs),
          "the main window did not appear");
  Require(WaitFor([&] { return HasButtonNamed(main, categories.front().ReaderName); }, kStartMs),
          "the categories did not appear on the main window");
  SaveBmp(Settled(main, "the main window"), pictures, "main-window", "the main window");
  HWND list = FindDescendant(main, "ListBox");
  Require(list != nullptr, "the main window has no list");

  // A message the program shows (a picture it cannot read, say) is what its user sees instead:
  // kept as the category's picture and answered with OK.
  HWND message = nullptr;
  const auto isMessageUp = [&] { return (message = foyer.Window("#32770")) != nullptr; };
  const auto keepMessage = [&](const std::string& name, const Category& category) {
    SaveBmp(Settled(message, "a message"), pictures, name,
            "a click on " + category.Name + " shows the message \"" + MessageText(message) +
                "\"");
    HWND ok = FindDescendant(message, "Button");
    Require(ok != nullptr, "the message has no button");
    PostMessageA(ok, BM_CLICK, 0, 0);
    Require(WaitFor([&] { return !isMessageUp() && IsWindowEnabled(main); }, kStepMs),
            "the message did not close");
  };

  for (size_t i = 0; i < categories.size(); ++i) {
    const Category& category = categories[i];
    const std::string name = TwoDigits(i + 1) + "-" + category.Name;
    if (!category.Rows.empty()) {
      PostClick(main, category.Middle);
      const auto isListed = [&] {
        return IsWindowVisible(list) && ListRows(list) == category.Rows;
      };
      Require(WaitFor([&] { return isListed() || isMessageUp(); }, kStepMs),
              "the list of " + category.Name + " did not show its rows");
      if (message != nullptr) {
        keepMessage(name, category);
        continue;
      }
      SaveBmp(Settled(main, "the list of " + category.Name), pictures, name,
              "the list of " + category.Name + " (" + std::to_string(category.Rows.size()) +
                  (category.Rows.size() == 1 ? " row)" : " rows)"));
    } else if (category.Window != nullptr) {
      PostClick(main, category.Middle);
      HWND window = nullptr;
      Require(WaitFor([&] { return (window = foyer.Window(category.Window)) != nullptr ||
                                   isMessageUp(); },
                      kStepMs),
              "a click on " + category.Name + " did not open its window");
      if (window == nullptr) {
        keepMessage(name, category);
        continue;
      }
      SaveBmp(Settled(window, category.ActsAtOnce), pictures, name,
              category.Name + " acts at once: " + category.ActsAtOnce);
      CloseWindowOf(window, category.Window);
      Require(WaitFor([&] { return foyer.Window(category.Window) == nullptr &&
                                   IsWindowEnabled(main); },
                      kStepMs),
              "the window " + category.ActsAtOnce + " opened did not close");
    } else if (!category.ActsAtOnce.empty()) {
      Say("not clicked: " + category.Name + " acts at once: " + category.ActsAtOnce);
    } else {
      Say("not clicked: a click on " + category.Name + " does nothing");
    }
  }
  PostMessageA(main, WM_CLOSE, 0, 0);
  WaitForSingleObject(foyer.Handle(), kStepMs);
  if (SUCCEEDED(apartment)) CoUninitialize();
  return 0;
}

}  // namespace
}  // namespace foyer::tryout

int main(int argc, char** argv) {
  return foyer::tryout::Run(argc, argv);
}
