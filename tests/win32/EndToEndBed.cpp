// Driving foyer.exe from a second process.
#include "EndToEndBed.h"

#include <algorithm>
#include <cstdlib>

#include "main/Catalogue.h"
#include "main/UMain.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Headless.h"
#include "toolkit/win32/GdiHandles.h"
#include "util/Path.h"

namespace foyer::test {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

void EndToEndTest::SetUp() {
  FMedium = Env("FOYER_MEDIUM");
  if (FMedium.empty()) GTEST_SKIP() << "FOYER_MEDIUM names no demonstration medium";
  AddBackslash(FMedium);
  FPlatform.emplace(Win32Services());
  ClientDC screen;
  FBitsPerPixel = GetDeviceCaps(screen.Get(), BITSPIXEL);
  FPixelsPerInch = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  const Picture button = LoadPicture(FMedium + "layout.dat\\tc24\\butt.bmp");
  FButtonWidth = button.Width;
  FButtonHeight = button.Height;
}

namespace {

// A category and the middle of its button.
struct LaidOut {
  std::string Name;
  POINT Middle;
};

// The program's main window made headless over the installed platform on a medium, started,
// and read for its categories.
std::vector<LaidOut> LayOut(const std::string& medium) {
  Application().SetBackend(std::make_unique<HeadlessBackend>());
  ProgramArgs() = {"foyer.exe", {medium}};
  TMainForm* form = nullptr;
  std::vector<LaidOut> categories;
  const bool isStarted = Application().Dispatch([&] {
    Application().CreateForm(form);
    MainForm = form;
    Headless().FireTimer(*form->InitTimer);
  });
  EXPECT_TRUE(isStarted && form != nullptr) << "the program's window did not start on " << medium;
  for (int32_t slot = 1; form != nullptr && slot <= form->CatCount(); ++slot) {
    const TImage& button = *form->CatBtn(slot);
    categories.push_back(
        {form->CatName(slot),
         {button.Left() + button.Width() / 2, button.Top() + button.Height() / 2}});
  }
  Application().DestroyForms();
  MainForm = nullptr;
  return categories;
}

}  // namespace

std::vector<std::string> EndToEndTest::Categories() const {
  std::vector<std::string> names;
  for (const LaidOut& category : LayOut(FMedium))
    names.push_back(category.Name);
  return names;
}

POINT EndToEndTest::CaptionOf(size_t index) const {
  const std::vector<LaidOut> categories = LayOut(FMedium);
  EXPECT_LT(index, categories.size());
  return index < categories.size() ? categories[index].Middle : POINT{};
}

void EndToEndTest::StartFoyer(const std::string& root) {
  const std::string exe = root.empty() ? FMedium + "bin.dat\\foyer.exe" : Env("FOYER_EXE");
  FFoyer = std::make_unique<FoyerProcess>(exe, root.empty() ? "" : "\"" + root + "\"");
  ASSERT_TRUE(FFoyer->Started());
  ASSERT_TRUE(WaitFor([&] { return (FMain = FFoyer->MainWindow()) != nullptr; }, 20000));
  FList = FindDescendant(FMain, "ListBox");
  ASSERT_NE(FList, nullptr);
}

void EndToEndTest::ActOnEntry(const std::string& category, const std::string& entry) {
  ASSERT_NO_FATAL_FAILURE(SelectEntry(category, entry));
  const LPARAM at = FSelectedAt;
  PostMessageA(FList, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  PostMessageA(FList, WM_LBUTTONUP, 0, at);
}

void EndToEndTest::SelectEntry(const std::string& category, const std::string& entry) {
  if (category != FListed) {
    ASSERT_NO_FATAL_FAILURE(OpenCategory(FMain, category));
  }
  FListed = category;
  const std::vector<std::string> rows = ListRows(FList);
  const std::string shown = ShownName(entry);
  size_t row = 0;
  while (row < rows.size() && rows[row].compare(0, shown.size(), shown) != 0)
    ++row;
  ASSERT_LT(row, rows.size()) << entry << " among " << testing::PrintToString(rows);
  RECT area{};
  SendMessageA(FList, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&area));
  FSelectedAt = MAKELPARAM(area.left + 5, (area.top + area.bottom) / 2);
  PostMessageA(FList, WM_LBUTTONDOWN, MK_LBUTTON, FSelectedAt);
  PostMessageA(FList, WM_LBUTTONUP, 0, FSelectedAt);
}

void EndToEndTest::CopySkins(const std::string& root) {
  for (const char* skin : {"tc24", "rgb256"}) {
    const std::string folder = root + "layout.dat\\" + skin;
    ForceDirs(folder);
    for (const char* picture : {"back.bmp", "butt.bmp"}) {
      const std::string from = FMedium + "layout.dat\\" + skin + "\\" + picture;
      ASSERT_TRUE(CopyFileA(from.c_str(), (folder + "\\" + picture).c_str(), FALSE)) << from;
    }
  }
}

void EndToEndTest::OpenCategory(HWND mainWindow, const std::string& category) {
  const std::vector<std::string> categories = Categories();
  const auto at = std::find(categories.begin(), categories.end(), category);
  ASSERT_NE(at, categories.end()) << category;
  const POINT caption = CaptionOf(static_cast<size_t>(at - categories.begin()));
  HWND list = FindDescendant(mainWindow, "ListBox");
  ASSERT_NE(list, nullptr);
  const std::vector<std::string> before =
      IsWindowVisible(list) ? ListRows(list) : std::vector<std::string>();
  // The categories come half a second after the window: until then a click does nothing.
  ASSERT_TRUE(WaitFor(
      [&] {
        PostClick(mainWindow, caption.x, caption.y);
        return WaitFor([&] { return IsWindowVisible(list) && ListRows(list) != before; }, 300);
      },
      20000))
      << category;
}

std::string WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length)) return {};
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_NORMAL, 10000, &copied)) {
    return {};
  }
  text.resize(std::min<size_t>(copied, length));
  return text;
}

// The screen's picture as the renderings of the tests hold it.
static Rendering AsRendering(drive::ScreenPicture picture) {
  Rendering rendering;
  rendering.Width = picture.Width;
  rendering.Height = picture.Height;
  rendering.Pixels = std::move(picture.Pixels);
  return rendering;
}

Rendering CaptureWindow(HWND window) {
  return AsRendering(drive::CaptureWindow(window));
}

Rendering CaptureClient(HWND window) {
  return AsRendering(drive::CaptureClient(window));
}

Rendering CaptureClientWithList(HWND window, HWND list) {
  RECT row{};
  SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  const auto painted = [&] {
    const Rendering shown = CaptureClient(list);
    const RECT inside{0, 0, std::min<LONG>(row.right, shown.Width),
                      std::min<LONG>(row.bottom, shown.Height)};
    return inside.right > 0 && inside.bottom > 0 &&
           shown.Count(shown.At(0, 0), inside) < (inside.right * inside.bottom);
  };
  EXPECT_TRUE(WaitFor(painted, 10000)) << "the list's first row was never painted";
  return CaptureClient(window);
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int delta = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (delta > tolerance || delta < -tolerance) return false;
  }
  return true;
}

}  // namespace foyer::test
