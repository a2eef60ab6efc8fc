// foyer_shots: opens every window of foyer.exe on the demonstration medium, as a user would, and
// keeps a picture of each for the publisher's guide.
//
//   foyer_shots true-colour <medium> <pictures folder> <scratch folder>
//   foyer_shots 256-colours <medium> <pictures folder> <scratch folder>
//   foyer_shots high-contrast <medium> <pictures folder> <scratch folder>
//
// The first and the last set need a screen of 16 bits per pixel or more, the second one of 8. Each
// picture is a 24-bit .bmp of one window, frame and caption included, named after what it shows.
// Every step waits for what it needs with a deadline and ends the run with a message when it does
// not come, so a picture is never taken of the wrong window.
#include "platform/win32/WinApi.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drive/Drive.h"
#include "platform/win32/Handles.h"
#include "toolkit/Bitmap.h"
#include "toolkit/win32/GdiHandles.h"

namespace foyer::shots {
namespace {

using drive::CaptureClient;
using drive::CaptureWindow;
using drive::FindDescendant;
using drive::ListRows;
using drive::WaitFor;
using Shot = drive::ScreenPicture;

constexpr DWORD kStartMs = 30000;
constexpr DWORD kStepMs = 15000;
// A window is settled when two pictures of it taken this far apart are the same.
constexpr DWORD kSettleGapMs = 200;
constexpr int kMargin = 8;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "shots: %s\n", what.c_str());
  std::exit(1);
}

void Require(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

std::string ReadWholeFile(const std::string& path) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  Require(file.IsValid(), "cannot open " + path);
  std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
  DWORD got = 0;
  Require(ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
              got == bytes.size(),
          "cannot read " + path);
  return bytes;
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  Require(drive::WriteWholeFile(path, bytes), "cannot write " + path);
}

// The window's picture once it has stopped changing.
Shot Settled(HWND window, const std::string& name) {
  Shot shot;
  Require(drive::SettledPicture(window, kStepMs, kSettleGapMs, shot),
          "the window of " + name + " did not stop changing");
  return shot;
}

// Keeps a picture as an uncompressed 24-bit .bmp; the script makes the PNG.
void SaveBmp(const Shot& shot, const std::string& folder, const std::string& name) {
  WriteWholeFile(folder + "\\" + name + ".bmp", drive::BmpFileBytes(shot));
  std::printf("shots: %s (%d x %d)\n", name.c_str(), shot.Width, shot.Height);
  std::fflush(stdout);
}

void PostClick(HWND window, int x, int y, bool isDouble = false) {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(window, WM_LBUTTONUP, 0, at);
  if (isDouble) {
    PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
  }
}

// The categories of a medium in the order the main window numbers them: visible folders without
// a dot in their name, as the file system lists them, at most fifteen.
std::vector<std::string> Categories(const std::string& medium) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data{};
  FindHandle find(FindFirstFileA((medium + "*").c_str(), &data));
  if (!find) return names;
  do {
    const std::string name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
    if ((data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
    if (name.find('.') != std::string::npos || name == "Tremlov") continue;
    if (names.size() < 15) names.push_back(name);
  } while (FindNextFileA(find.Get(), &data));
  return names;
}

// A foyer.exe started on a medium, and what the user does in it.
class Foyer {
 public:
  // In high contrast the skin's pictures are not drawn: the skin has come when the first
  // category's button shows its border in the theme's text colour.
  Foyer(const std::string& exe, const std::string& medium, const std::string& button,
        bool isRootGiven, bool isHighContrast = false)
      : FMedium(medium),
        FIsHighContrast(isHighContrast),
        FButton(DecodeButton(button)),
        FProcess(exe, isRootGiven ? "\"" + medium + "\"" : std::string()) {
    Require(FProcess.Started(), "cannot start " + exe);
    Require(WaitFor([&] { return (FMain = Window("TMainForm")) != nullptr; }, kStartMs),
            "the main window did not appear");
    FList = FindDescendant(FMain, "ListBox");
    Require(FList != nullptr, "the main window has no list");
    WaitForSkin();
  }

  ~Foyer() {
    PostMessageA(FMain, WM_CLOSE, 0, 0);
    // Whatever has not closed by then is ended.
    WaitForSingleObject(FProcess.Handle(), kStepMs);
  }
  Foyer(const Foyer&) = delete;
  Foyer& operator=(const Foyer&) = delete;

  HWND Main() const { return FMain; }

  HWND Window(const char* className) const { return FProcess.Window(className); }

  HWND WaitForWindow(const char* className) const {
    HWND window = nullptr;
    Require(WaitFor([&] { return (window = Window(className)) != nullptr; }, kStepMs),
            std::string("no window of class ") + className + " appeared");
    return window;
  }

  void WaitUntilGone(const char* className) const {
    Require(
        WaitFor([&] { return Window(className) == nullptr && IsWindowEnabled(FMain); }, kStepMs),
        std::string("the window of class ") + className + " did not close");
  }

  // Clicks a category's caption and waits until the list shows its rows.
  void OpenCategory(const std::string& category) {
    const std::vector<std::string> before = Rows();
    ClickCategory(category);
    Require(WaitFor([&] { return !Rows().empty() && Rows() != before; }, kStepMs),
            "the category " + category + " listed nothing");
  }

  // Clicks a category's caption; one that holds a single entry acts on it at once.
  void ClickCategory(const std::string& category) {
    const std::vector<std::string> names = Categories(FMedium);
    size_t index = 0;
    while (index < names.size() && names[index] != category)
      ++index;
    Require(index < names.size(), "the medium has no category " + category);
    const POINT corner = CategoryCorner(static_cast<int>(index) + 1);
    PostClick(FMain, corner.x + FButton.Width / 2, corner.y + FButton.Height / 2);
  }

  // Double-clicks the row that shows the entry, as a user acts on it.
  void ActOn(const std::string& entry) {
    const std::vector<std::string> rows = Rows();
    size_t row = 0;
    while (row < rows.size() && rows[row].compare(0, entry.size(), entry) != 0)
      ++row;
    Require(row < rows.size(), "no row shows " + entry);
    RECT area{};
    SendMessageA(FList, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&area));
    PostClick(FList, area.left + 5, (area.top + area.bottom) / 2, true);
  }

 private:
  static Picture DecodeButton(const std::string& path) {
    const std::string bytes = ReadWholeFile(path);
    Picture button = DecodeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    Require(!button.IsEmpty(), path + " holds no picture");
    return button;
  }

  std::vector<std::string> Rows() const {
    return IsWindowVisible(FList) ? ListRows(FList) : std::vector<std::string>();
  }

  // The top-left corner of a category's button: a column down the left edge, then one down the
  // right edge.
  POINT CategoryCorner(int slot) const {
    RECT client{};
    GetClientRect(FMain, &client);
    const int rows = (client.bottom - 2 * kMargin - FButton.Height) / (FButton.Height + kMargin);
    const bool isLeft = slot <= rows;
    const int row = isLeft ? slot - 1 : slot - 1 - rows;
    return {isLeft ? kMargin : client.right - kMargin - FButton.Width,
            (FButton.Height + kMargin) * row + kMargin};
  }

  // The skin and the categories come half a second after the window: a picture or a click before
  // then shows or does nothing. They are there when the first category shows the button picture.
  void WaitForSkin() const {
    Require(!Categories(FMedium).empty(), "the medium has no category");
    const POINT corner = CategoryCorner(1);
    const COLORREF border = GetSysColor(COLOR_WINDOWTEXT);
    const uint32_t expected =
        FIsHighContrast ? (static_cast<uint32_t>(GetRValue(border)) << 16) |
                              (static_cast<uint32_t>(GetGValue(border)) << 8) | GetBValue(border)
                        : FButton.Pixels[3 * static_cast<size_t>(FButton.Width) + 3];
    const POINT probe{FIsHighContrast ? corner.x : corner.x + 3, corner.y + 3};
    // On an 8-bit screen colours come from the system palette: near enough is the same.
    ClientDC screen;
    const int tolerance = GetDeviceCaps(screen.Get(), BITSPIXEL) < 16 ? 64 : 0;
    const bool shown = WaitFor(
        [&] {
          const Shot shot = CaptureClient(FMain);
          if (shot.Width <= probe.x || shot.Height <= probe.y) return false;
          const uint32_t seen = shot.Pixels[static_cast<size_t>(probe.y) * shot.Width + probe.x];
          for (int channel = 0; channel < 24; channel += 8) {
            const int delta = static_cast<int>((seen >> channel) & 0xFF) -
                              static_cast<int>((expected >> channel) & 0xFF);
            if (delta > tolerance || delta < -tolerance) return false;
          }
          return true;
        },
        kStartMs);
    Require(shown, "the skin did not appear on the main window");
  }

  std::string FMedium;
  bool FIsHighContrast;
  Picture FButton;
  drive::ProgramProcess FProcess;
  HWND FMain = nullptr;
  HWND FList = nullptr;
};

void ClickButton(HWND window, const char* caption) {
  HWND button = FindDescendant(window, "Button", caption);
  Require(button != nullptr, std::string("no button ") + caption);
  PostMessageA(button, BM_CLICK, 0, 0);
}

void TypeInto(HWND window, const char* className, const std::string& text) {
  HWND edit = FindDescendant(window, className);
  Require(edit != nullptr, std::string("no ") + className + " to type into");
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Copies a folder's files and sub-folders into another, made as needed.
void CopyFolder(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA data{};
  FindHandle find(FindFirstFileA((from + "\\*").c_str(), &data));
  Require(find.IsValid(), "cannot list " + from);
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      CopyFolder(from + "\\" + name, to + "\\" + name);
    } else {
      Require(CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE),
              "cannot copy " + from + "\\" + name);
    }
  } while (FindNextFileA(find.Get(), &data));
}

// A file of the given size that takes no room on disk until it is copied.
void MakeSparseFile(const std::string& path, LONGLONG size) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  Require(file.IsValid(), "cannot make " + path);
  LARGE_INTEGER end;
  end.QuadPart = size;
  Require(SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.Get()),
          "cannot size " + path);
}

struct Places {
  std::string Medium;   // the demonstration medium's top folder, with a backslash
  std::string Output;   // where the pictures go
  std::string Scratch;  // a folder of this run's own, for install targets and a second medium
  std::string Exe() const { return Medium + "bin.dat\\foyer.exe"; }
  std::string Button(const char* skin) const {
    return Medium + "layout.dat\\" + skin + "\\butt.bmp";
  }
};

// The main window before and after a category click, a list in other scripts, the install dialog, the alert of a failed
// copy and the three viewers.
void TakeTrueColourShots(const Places& places) {
  Foyer foyer(places.Exe(), places.Medium, places.Button("tc24"), false);
  HWND main = foyer.Main();
  SaveBmp(Settled(main, "the main window"), places.Output, "main-window");

  // Names and notes in other scripts, the notes saved in four ways.
  foyer.OpenCategory("Languages");
  SaveBmp(Settled(main, "the languages list"), places.Output, "languages-list");

  foyer.OpenCategory("Install");
  SaveBmp(Settled(main, "the install list"), places.Output, "install-list");

  foyer.ActOn("Painter");
  HWND dialog = foyer.WaitForWindow("TOpenDirDialog");
  TypeInto(dialog, "Edit", "C:\\Program Files\\Painter");
  SaveBmp(Settled(dialog, "the install dialog"), places.Output, "install-dialog");
  ClickButton(dialog, "Cancel");
  foyer.WaitUntilGone("TOpenDirDialog");

  // No folder can be made inside a file, so the copy fails.
  const std::string file = places.Scratch + "\\plain.txt";
  WriteWholeFile(file, "a file\r\n");
  foyer.ActOn("Cards");
  dialog = foyer.WaitForWindow("TOpenDirDialog");
  TypeInto(dialog, "Edit", file + "\\Cards");
  ClickButton(dialog, "OK");
  HWND alert = foyer.WaitForWindow("TCopyFailBox");
  SaveBmp(Settled(alert, "the copy alert"), places.Output, "copy-alert");
  ClickButton(alert, "OK");
  foyer.WaitUntilGone("TCopyFailBox");

  // Each viewer on an entry of its category, closed again as the user closes it.
  const struct {
    const char* Category;
    const char* Entry;
    const char* Viewer;
    const char* Name;
    const char* What;
  } viewers[] = {
      {"Pictures", "sunset", "TShowBmpForm", "picture-viewer", "the picture viewer"},
      {"Documents", "history", "TShowTxtForm", "text-viewer", "the text viewer"},
      {"Letters", "welcome", "TShowRtfForm", "rich-text-viewer", "the rich-text viewer"},
  };
  for (const auto& v : viewers) {
    foyer.OpenCategory(v.Category);
    foyer.ActOn(v.Entry);
    HWND viewer = foyer.WaitForWindow(v.Viewer);
    SaveBmp(Settled(viewer, v.What), places.Output, v.Name);
    // The picture viewer has no button: a click on the picture or closing it ends it.
    if (std::string(v.Viewer) == "TShowBmpForm") {
      PostMessageA(viewer, WM_CLOSE, 0, 0);
    } else {
      ClickButton(viewer, "OK");
    }
    foyer.WaitUntilGone(v.Viewer);
  }
}

// The progress window shows only while a copy lasts: a medium of its own holds the demonstration
// medium's skins and its Atlas with a large map added, which takes seconds to copy.
void TakeProgressShot(const Places& places) {
  const std::string medium = places.Scratch + "\\medium";
  CreateDirectoryA(medium.c_str(), nullptr);
  CopyFolder(places.Medium + "layout.dat", medium + "\\layout.dat");
  CreateDirectoryA((medium + "\\Install").c_str(), nullptr);
  CopyFolder(places.Medium + "Install\\Atlas", medium + "\\Install\\Atlas");
  MakeSparseFile(medium + "\\Install\\Atlas\\maps\\relief.map", 4LL << 30);

  Foyer foyer(places.Exe(), medium + "\\", places.Button("tc24"), true);
  // The category holds one entry: a click installs it at once.
  foyer.ClickCategory("Install");
  HWND dialog = foyer.WaitForWindow("TOpenDirDialog");
  TypeInto(dialog, "Edit", places.Scratch + "\\Atlas");
  ClickButton(dialog, "OK");
  HWND progress = foyer.WaitForWindow("TCopyProgressForm");
  HWND bar = FindDescendant(progress, "msctls_progress32");
  Require(bar != nullptr, "the progress window has no bar");
  // A quarter of the way: the bar shows what it is for.
  Require(WaitFor([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) >= 250; }, 60000),
          "the copy did not go on");
  SaveBmp(CaptureWindow(progress), places.Output, "install-progress");
  ClickButton(progress, "Cancel");
  // A cancelled install says how far it got.
  HWND cancelled = foyer.WaitForWindow("TCopyFailBox");
  SaveBmp(Settled(cancelled, "the cancelled install's message"), places.Output,
          "install-cancelled");
  ClickButton(cancelled, "OK");
  foyer.WaitUntilGone("TCopyFailBox");
}

// The main window with the 256-colour skin, a list open.
void Take256ColourShots(const Places& places) {
  Foyer foyer(places.Exe(), places.Medium, places.Button("rgb256"), false);
  foyer.OpenCategory("Install");
  SaveBmp(Settled(foyer.Main(), "the main window"), places.Output, "main-window-256");
}

// Windows' "High Contrast Black" theme, set as the system's colours for this Wine session and set
// back afterwards.
class HighContrastBlack {
 public:
  HighContrastBlack() {
    for (size_t i = 0; i < kCount; ++i)
      FSaved[i] = GetSysColor(kRoles[i]);
    SetSysColors(kCount, kRoles, kColours);
  }
  ~HighContrastBlack() { SetSysColors(kCount, kRoles, FSaved); }
  HighContrastBlack(const HighContrastBlack&) = delete;
  HighContrastBlack& operator=(const HighContrastBlack&) = delete;

 private:
  static constexpr int kCount = 16;
  static constexpr int kRoles[kCount] = {COLOR_WINDOW,
                                         COLOR_WINDOWTEXT,
                                         COLOR_BTNFACE,
                                         COLOR_BTNTEXT,
                                         COLOR_HIGHLIGHT,
                                         COLOR_HIGHLIGHTTEXT,
                                         COLOR_GRAYTEXT,
                                         COLOR_BTNSHADOW,
                                         COLOR_BTNHIGHLIGHT,
                                         COLOR_3DDKSHADOW,
                                         COLOR_3DLIGHT,
                                         COLOR_ACTIVECAPTION,
                                         COLOR_GRADIENTACTIVECAPTION,
                                         COLOR_CAPTIONTEXT,
                                         COLOR_WINDOWFRAME,
                                         COLOR_APPWORKSPACE};
  static constexpr COLORREF kColours[kCount] = {
      RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0),       RGB(255, 255, 255),
      RGB(26, 235, 255),  RGB(0, 0, 0),       RGB(63, 242, 63),   RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(26, 235, 255),
      RGB(26, 235, 255),  RGB(0, 0, 0),       RGB(255, 255, 255), RGB(0, 0, 0)};
  COLORREF FSaved[kCount];
};

// The main window in the theme's colours with a list open, the focus on a category button.
void TakeHighContrastShots(const Places& places) {
  HighContrastBlack theme;
  // Wine's system never reports high contrast as on: the program is told so.
  SetEnvironmentVariableA("FOYER_HIGH_CONTRAST", "1");
  Foyer foyer(places.Exe(), places.Medium, places.Button("tc24"), false, true);
  foyer.OpenCategory("Install");
  SetForegroundWindow(foyer.Main());
  PostMessageA(foyer.Main(), WM_KEYDOWN, VK_TAB, 0);
  PostMessageA(foyer.Main(), WM_KEYUP, VK_TAB, 0xC0000000);
  SaveBmp(Settled(foyer.Main(), "the main window in high contrast"), places.Output,
          "high-contrast");
}

int Run(int argc, char** argv) {
  if (argc != 5) {
    Fail(
        "usage: foyer_shots true-colour|256-colours|high-contrast <medium> <pictures folder> "
        "<scratch folder>");
  }
  const std::string set = argv[1];
  Places places{argv[2], argv[3], argv[4]};
  if (places.Medium.back() != '\\') places.Medium += '\\';
  ClientDC screen;
  const int bitsPerPixel = GetDeviceCaps(screen.Get(), BITSPIXEL);
  if (set == "true-colour") {
    Require(bitsPerPixel >= 16, "the true-colour pictures need a screen of 16 bits or more");
    TakeTrueColourShots(places);
    TakeProgressShot(places);
  } else if (set == "256-colours") {
    Require(bitsPerPixel == 8, "the 256-colour picture needs a screen of 8 bits per pixel");
    Take256ColourShots(places);
  } else if (set == "high-contrast") {
    Require(bitsPerPixel >= 16, "the high-contrast picture needs a screen of 16 bits or more");
    TakeHighContrastShots(places);
  } else {
    Fail("unknown set " + set);
  }
  return 0;
}

}  // namespace
}  // namespace foyer::shots

int main(int argc, char** argv) {
  return foyer::shots::Run(argc, argv);
}
