// The text viewer of foyer.exe on a generated medium, driven from a second process as a user
// would drive it: a text category's View action and a category holding one text file open the
// viewer with the file's text, which a screen reader in another process reads; Escape, Enter and
// the OK button close it; a file that went missing gives an error box and no viewer.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "EndToEndBed.h"
#include "medgen/FolderSink.h"
#include "medgen/Medium.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Bitmap.h"
#include "toolkit/win32/GdiHandles.h"
#include "util/Path.h"
#include "win32/ScreenReader.h"

namespace foyer::test {
namespace {

constexpr DWORD kStartMs = 20000;
constexpr DWORD kStepMs = 10000;
// The main window's margin around its buttons, as designed.
constexpr int kMargin = 8;

// The window that has the keyboard focus in the thread of another process's window.
HWND FocusedWindowOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

std::string ReadWholeFile(const std::string& path) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
  DWORD got = 0;
  if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
    return {};
  bytes.resize(got);
  return bytes;
}

// What the viewer shows of a file whose lines all end in CR LF: the same bytes, less the last
// line end (a final CR LF adds no empty line).
std::string ShownText(std::string bytes) {
  if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0) {
    bytes.resize(bytes.size() - 2);
  }
  return bytes;
}

// Whether every CR of the text starts a CR LF and every LF ends one, and no Ctrl-Z ends it early:
// then the viewer's lines joined with CR LF give the file's bytes back.
bool HasOnlyCrLfLineEnds(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\x1A') return false;
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  }
  return true;
}

// The file behind a row of a text category's list: the row shows its name without ".txt".
std::string RowFile(const std::string& folder, const std::string& row) {
  return folder + row.substr(0, row.find(' ')) + ".txt";
}

// The message of a message box: its longest static text (the icon is a static too).
BOOL CALLBACK CollectStaticText(HWND child, LPARAM found) {
  auto* text = reinterpret_cast<std::string*>(found);
  if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) {
    std::string candidate = WindowText(child);
    if (candidate.size() > text->size()) *text = std::move(candidate);
  }
  return TRUE;
}

// Dark pixels (text) inside an area of a rendering.
int DarkPixels(const Rendering& shot, const RECT& area) {
  int dark = 0;
  for (int y = std::max<int>(area.top, 0); y < std::min<int>(area.bottom, shot.Height); ++y) {
    for (int x = std::max<int>(area.left, 0); x < std::min<int>(area.right, shot.Width); ++x) {
      if (Near(shot.At(x, y), 0x000000, 80)) ++dark;
    }
  }
  return dark;
}

class EndToEndViewer : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    if (IsSkipped()) return;
    ClientDC screen;
    FPixelsPerInch = GetDeviceCaps(screen.Get(), LOGPIXELSY);
    const std::string skin = FBitsPerPixel < 16 ? "rgb256" : "tc24";
    FButton = LoadPicture(FMedium + "layout.dat\\" + skin + "\\butt.bmp");
  }

  // A length of the viewer's design (120 pixels per inch) on this screen.
  int Scaled(int designed) const { return designed * FPixelsPerInch / 120; }

  // The slot (from 1) of a category of the medium at FMedium; 0 when it has none of that name.
  int SlotOf(const std::string& folder) const {
    const std::vector<std::string> names = Categories();
    const auto at = std::find(names.begin(), names.end(), folder);
    return at == names.end() ? 0 : static_cast<int>(at - names.begin()) + 1;
  }
  POINT CategoryMiddle(int slot) const { return CaptionOf(static_cast<size_t>(slot) - 1); }
  POINT CategoryCorner(int slot) const {
    const POINT middle = CategoryMiddle(slot);
    return {middle.x - FButton.Width / 2, middle.y - FButton.Height / 2};
  }

  // Waits for the main window until it shows the category's button, so that a click on it is
  // taken (the buttons appear when the start-up timer has fired).
  HWND WaitForCategory(const FoyerProcess& foyer, int slot) const {
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = foyer.MainWindow()) != nullptr; }, kStartMs)) return nullptr;
    const POINT corner = CategoryCorner(slot);
    const uint32_t expected = FButton.Pixels[3 * static_cast<size_t>(FButton.Width) + 3];
    // Wine's 8-bit window surface maps colours to its own palette: measured up to 63 off.
    const int tolerance = FBitsPerPixel < 16 ? 64 : 0;
    const bool shown = WaitFor(
        [&] {
          const Rendering shot = CaptureClient(main);
          if (shot.Width < corner.x + FButton.Width || shot.Height < corner.y + FButton.Height) {
            return false;
          }
          return Near(shot.At(corner.x + 3, corner.y + 3), expected, tolerance);
        },
        kStartMs);
    return shown ? main : nullptr;
  }

  // Clicks a category and waits until its list shows rows.
  HWND OpenListing(HWND main, int slot) const {
    const POINT middle = CategoryMiddle(slot);
    PostClick(main, middle.x, middle.y);
    HWND list = nullptr;
    const bool listed = WaitFor(
        [&] {
          list = FindDescendant(main, "ListBox");
          return list != nullptr && IsWindowVisible(list) &&
                 SendMessageA(list, LB_GETCOUNT, 0, 0) > 0;
        },
        kStepMs);
    return listed ? list : nullptr;
  }

  // Action1 lies in the bottom-right corner of the main window.
  void ClickAction1(HWND main) const {
    RECT client{};
    GetClientRect(main, &client);
    PostClick(main, client.right - kMargin - FButton.Width / 2,
              client.bottom - kMargin - FButton.Height / 2);
  }

  static HWND WaitForViewer(const FoyerProcess& foyer) {
    HWND viewer = nullptr;
    WaitFor([&] { return (viewer = foyer.Window("TShowTxtForm")) != nullptr; }, kStepMs);
    return viewer;
  }

  // The viewer holds the file's text, has the focus on its OK button and the layout of its
  // design scaled to the screen; its picture is kept for people to look at.
  void ExpectViewerShows(HWND viewer, const std::string& path, const std::string& renderingName) {
    EXPECT_EQ(WindowText(viewer), path.substr(path.find_last_of('\\') + 1));
    // The text area is the program's own read-only text view.
    const HWND text = FindWindowExA(viewer, nullptr, "FoyerTextView", nullptr);
    const HWND button = FindWindowExA(viewer, nullptr, "Button", nullptr);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(button, nullptr);
    const std::string bytes = ReadWholeFile(path);
    ASSERT_FALSE(bytes.empty()) << path;
    ASSERT_TRUE(HasOnlyCrLfLineEnds(bytes)) << path << " is not plain CR LF text";
    const std::string shown = WindowText(text);
    const std::string expected = ShownText(bytes);
    EXPECT_EQ(shown.size(), expected.size());
    EXPECT_TRUE(shown == expected) << "the viewer's text differs from " << path;
    EXPECT_EQ(WindowText(button), "OK");
    EXPECT_TRUE(WaitFor([&] { return FocusedWindowOf(viewer) == button; }, kStepMs))
        << "the OK button does not have the focus";
    const FileHandle alone(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(alone) << "the viewer holds the file open";

    const LONG style = GetWindowLongA(text, GWL_STYLE);
    EXPECT_NE(style & WS_VSCROLL, 0);
    EXPECT_NE(style & WS_HSCROLL, 0);
    EXPECT_EQ(style & WS_TABSTOP, 0);

    // Designed for 120 pixels per inch and scaled once, by the viewer itself.
    RECT client{};
    GetClientRect(viewer, &client);
    EXPECT_EQ(client.right, Scaled(607));
    EXPECT_EQ(client.bottom, Scaled(471));
    const RECT memo = RectInParent(text);
    EXPECT_EQ(memo.left, Scaled(8));
    EXPECT_EQ(memo.top, Scaled(8));
    EXPECT_EQ(memo.right, client.right - Scaled(88) + Scaled(8));
    EXPECT_EQ(memo.bottom, client.bottom - Scaled(16) + Scaled(8));
    const RECT ok = RectInParent(button);
    EXPECT_EQ(ok.left, client.right - Scaled(72));
    EXPECT_EQ(ok.top, client.bottom - Scaled(32));
    EXPECT_EQ(ok.right - ok.left, Scaled(64));
    EXPECT_EQ(ok.bottom - ok.top, Scaled(24));

    // The text is painted: dark pixels in the text area.
    const bool painted =
        WaitFor([&] { return DarkPixels(CaptureClient(viewer), memo) > 200; }, kStepMs);
    KeepRendering(CaptureWindow(viewer), renderingName);
    EXPECT_TRUE(painted) << "no text was painted in the viewer";
  }

  // Waits until the viewer is gone and the main window takes input again.
  static bool ClosedAndMainEnabled(const FoyerProcess& foyer, HWND main) {
    return WaitFor([&] { return foyer.Window("TShowTxtForm") == nullptr && IsWindowEnabled(main); },
                   kStepMs);
  }

  int FPixelsPerInch = 96;
  Picture FButton;
};

TEST_F(EndToEndViewer, ViewActionShowsTheSelectedTextFileAndEscapeClosesIt) {
  const int slot = SlotOf("Documents");
  ASSERT_GT(slot, 0);
  FoyerProcess foyer(FMedium + "bin.dat\\foyer.exe");
  ASSERT_TRUE(foyer.Started());
  const HWND main = WaitForCategory(foyer, slot);
  ASSERT_NE(main, nullptr) << "the Documents button never showed";
  const HWND list = OpenListing(main, slot);
  ASSERT_NE(list, nullptr) << "the Documents category listed nothing";
  // The first row is selected.
  ASSERT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
  const std::string path = RowFile(FMedium + "Documents\\", ListRows(list).at(0));

  ClickAction1(main);
  const HWND viewer = WaitForViewer(foyer);
  ASSERT_NE(viewer, nullptr) << "View opened no text viewer";
  EXPECT_FALSE(IsWindowEnabled(main)) << "the viewer is not modal";
  ExpectViewerShows(viewer, path, "text-viewer");

  PostMessageA(FocusedWindowOf(viewer), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(ClosedAndMainEnabled(foyer, main));
  EXPECT_EQ(WaitForSingleObject(foyer.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(EndToEndViewer, CategoryOfOneTextFileOpensTheViewerAtOnceAndEnterClosesIt) {
  const int slot = SlotOf("Manual");
  ASSERT_GT(slot, 0);
  FoyerProcess foyer(FMedium + "bin.dat\\foyer.exe");
  ASSERT_TRUE(foyer.Started());
  const HWND main = WaitForCategory(foyer, slot);
  ASSERT_NE(main, nullptr) << "the Manual button never showed";
  const POINT middle = CategoryMiddle(slot);
  PostClick(main, middle.x, middle.y);
  const HWND viewer = WaitForViewer(foyer);
  ASSERT_NE(viewer, nullptr) << "the single text file opened no viewer";
  ExpectViewerShows(viewer, FMedium + "Manual\\manual.txt", "text-viewer-manual");

  // A screen reader in another process reads the text as read-only editable text, named after
  // the file.
  const HWND text = FindWindowExA(viewer, nullptr, "FoyerTextView", nullptr);
  const ReaderView reader = ReadAsScreenReader(text);
  EXPECT_EQ(reader.Role, ROLE_SYSTEM_TEXT);
  EXPECT_NE(reader.State & STATE_SYSTEM_READONLY, 0);
  EXPECT_TRUE(reader.Name == L"manual.txt");
  const std::string shown = ShownText(ReadWholeFile(FMedium + "Manual\\manual.txt"));
  EXPECT_TRUE(reader.Value == std::wstring(shown.begin(), shown.end())) << "the manual is ASCII";

  // Enter presses the focused OK button.
  PostMessageA(FocusedWindowOf(viewer), WM_KEYDOWN, VK_RETURN, 1);
  EXPECT_TRUE(ClosedAndMainEnabled(foyer, main));
}

// Without the mouse: Tab and the arrows reach a category, Space opens it, Tab reaches the list,
// Enter views the selected row, Escape closes the viewer and Alt+Q quits.
TEST_F(EndToEndViewer, KeysAloneOpenACategoryAndAViewerAndQuit) {
  const int slot = SlotOf("Documents");
  ASSERT_GT(slot, 0);
  // Down the left column the arrows reach it; the left column's buttons are the first slots.
  for (int before = 1; before <= slot; ++before)
    ASSERT_EQ(CategoryMiddle(before).x, CategoryMiddle(1).x) << "Documents is in the left column";
  FoyerProcess foyer(FMedium + "bin.dat\\foyer.exe");
  ASSERT_TRUE(foyer.Started());
  const HWND main = WaitForCategory(foyer, slot);
  ASSERT_NE(main, nullptr) << "the Documents button never showed";
  const HWND list = FindDescendant(main, "ListBox");
  ASSERT_NE(list, nullptr);

  PostKey(main, VK_TAB);  // the first category
  for (int i = 1; i < slot; ++i)
    PostKey(main, VK_DOWN);
  PostKey(main, VK_SPACE);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(list) && !ListRows(list).empty(); }, kStepMs))
      << "Space on the focused category listed nothing";
  const std::vector<std::string> rowsShown = ListRows(list);
  ASSERT_GE(rowsShown.size(), 2u);
  EXPECT_EQ(rowsShown[0].substr(0, rowsShown[0].find(' ')), "catalog");
  KeepRendering(CaptureClientWithList(main, list), "main-window-by-keys");

  // The list follows the last category in the tab order.
  for (size_t i = static_cast<size_t>(slot); i < std::min<size_t>(Categories().size(), 15); ++i) {
    PostKey(main, VK_TAB);
  }
  PostKey(main, VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return FocusedWindowOf(main) == list; }, kStepMs))
      << "Tab never reached the list";
  PostKey(list, VK_DOWN);
  PostKey(list, VK_RETURN);
  const HWND viewer = WaitForViewer(foyer);
  ASSERT_NE(viewer, nullptr) << "Enter in the list opened no viewer";
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  const std::string path = RowFile(FMedium + "Documents\\", rowsShown[1]);
  EXPECT_EQ(WindowText(viewer), path.substr(path.find_last_of('\\') + 1));

  PostKey(FocusedWindowOf(viewer), VK_ESCAPE);
  ASSERT_TRUE(ClosedAndMainEnabled(foyer, main));

  // Alt+Q goes to the window with the focus, as the keyboard sends it.
  const HWND focused = FocusedWindowOf(main);
  PostMessageA(focused != nullptr ? focused : main, WM_SYSKEYDOWN, 'Q', 1 | (1 << 29));
  ASSERT_EQ(WaitForSingleObject(foyer.Handle(), kStepMs), WAIT_OBJECT_0) << "Alt+Q did not quit";
  DWORD exitCode = 1;
  GetExitCodeProcess(foyer.Handle(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(EndToEndViewer, LargeFileArrivesWholeAndTheOkButtonClosesTheViewer) {
  const int slot = SlotOf("Documents");
  ASSERT_GT(slot, 0);
  FoyerProcess foyer(FMedium + "bin.dat\\foyer.exe");
  ASSERT_TRUE(foyer.Started());
  const HWND main = WaitForCategory(foyer, slot);
  ASSERT_NE(main, nullptr);
  const HWND list = OpenListing(main, slot);
  ASSERT_NE(list, nullptr);
  // The largest file of the category.
  const std::vector<std::string> rows = ListRows(list);
  int largest = -1;
  size_t largestSize = 0;
  std::string path;
  for (size_t row = 0; row < rows.size(); ++row) {
    const std::string candidate = RowFile(FMedium + "Documents\\", rows[row]);
    const size_t size = ReadWholeFile(candidate).size();
    if (size > largestSize) {
      largest = static_cast<int>(row);
      largestSize = size;
      path = candidate;
    }
  }
  ASSERT_GT(largestSize, 1024u * 1024u) << "the category holds no large text file";
  const int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  PostClick(list, 10, largest * rowHeight + rowHeight / 2);
  ASSERT_TRUE(WaitFor([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == largest; }, kStepMs));

  ClickAction1(main);
  const HWND viewer = WaitForViewer(foyer);
  ASSERT_NE(viewer, nullptr);
  ExpectViewerShows(viewer, path, "text-viewer-large");

  const HWND button = FindWindowExA(viewer, nullptr, "Button", nullptr);
  RECT rect{};
  GetClientRect(button, &rect);
  PostClick(button, rect.right / 2, rect.bottom / 2);
  EXPECT_TRUE(ClosedAndMainEnabled(foyer, main));
}

// A medium of its own in a temporary folder: the skins, one document category and the program.
class MissingFileMedium {
 public:
  explicit MissingFileMedium(const std::string& program) {
    const std::string unique = "foyer-viewer-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(GetTickCount());
    FRoot = std::filesystem::temp_directory_path() / unique;
    std::filesystem::create_directories(FRoot);
    medgen::FolderSink sink(FRoot);
    medgen::WriteSkin(sink, medgen::Skin::Rgb256);
    medgen::WriteSkin(sink, medgen::Skin::Tc24);
    medgen::WriteDocumentCategory(sink, "Documents", 4096);
    sink.MakeDir(medgen::kProgramFolder);
    FCopied = CopyFileA(program.c_str(), (Path() + "bin.dat\\foyer.exe").c_str(), FALSE) != FALSE;
  }
  ~MissingFileMedium() {
    std::error_code ignored;
    std::filesystem::remove_all(FRoot, ignored);
  }
  MissingFileMedium(const MissingFileMedium&) = delete;
  MissingFileMedium& operator=(const MissingFileMedium&) = delete;

  bool Ready() const { return FCopied; }
  std::string Path() const { return FRoot.string() + "\\"; }

 private:
  std::filesystem::path FRoot;
  bool FCopied = false;
};

TEST_F(EndToEndViewer, FileGoneSinceTheListingShowsFileNotFoundAndNoViewer) {
  MissingFileMedium medium(FMedium + "bin.dat\\foyer.exe");
  ASSERT_TRUE(medium.Ready());
  FMedium = medium.Path();
  ASSERT_EQ(SlotOf("Documents"), 1);
  // Declared after the medium: the program ends before its folder is removed.
  FoyerProcess foyer(medium.Path() + "bin.dat\\foyer.exe");
  ASSERT_TRUE(foyer.Started());
  const HWND main = WaitForCategory(foyer, 1);
  ASSERT_NE(main, nullptr);
  const HWND list = OpenListing(main, 1);
  ASSERT_NE(list, nullptr);
  const std::string path = RowFile(medium.Path() + "Documents\\", ListRows(list).at(0));
  ASSERT_TRUE(DeleteFileA(path.c_str())) << path;

  ClickAction1(main);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = foyer.Window("#32770")) != nullptr; }, kStepMs))
      << "no error box";
  std::string message;
  EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&message));
  EXPECT_EQ(message, "File not found.");
  EXPECT_EQ(WindowText(box), "foyer");
  EXPECT_EQ(foyer.Window("TShowTxtForm"), nullptr) << "the viewer showed anyway";
  KeepRendering(CaptureWindow(box), "text-viewer-file-not-found");

  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(
      WaitFor([&] { return foyer.Window("#32770") == nullptr && IsWindowEnabled(main); }, kStepMs));
  EXPECT_EQ(foyer.Window("TShowTxtForm"), nullptr);
  EXPECT_EQ(WaitForSingleObject(foyer.Handle(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the program ended";
}

}  // namespace
}  // namespace foyer::test
