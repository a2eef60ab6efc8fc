// Browsing the demonstration medium with foyer.exe: every category gives its list or acts on
// its single entry at once.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "EndToEndBed.h"
#include "platform/win32/Win32Platform.h"
#include "util/Path.h"
#include "util/TextReader.h"

namespace foyer::test {
namespace {

class EndToEndBrowse : public EndToEndTest {
 protected:
  // A row as the list shows it: the name before its first dot, and the first line of the
  // entry's readme after a column of ten.
  std::string Row(const std::string& folder, const std::string& entry) const {
    const std::string shown = entry.substr(0, entry.find('.'));
    const std::string path = FMedium + folder + "\\" + entry;
    for (const std::string& readme :
         {FMedium + folder + "\\" + shown + ".readme", path + "\\readme", path + "\\readme.txt"}) {
      if (!Platform().Fs->FileExists(readme)) continue;
      std::string row = shown;
      if (row.size() < 10) row.resize(10, ' ');
      return row + " " + ReadFirstLine(readme);
    }
    return shown;
  }
};

TEST_F(EndToEndBrowse, EveryCategoryListsItsEntriesOrActsOnItsSingleEntry) {
  const std::vector<std::string> categories = Categories();
  ASSERT_FALSE(categories.empty());
  FoyerProcess foyer(FMedium + "bin.dat\\foyer.exe");
  ASSERT_TRUE(foyer.Started());
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = foyer.MainWindow()) != nullptr; }, 20000));
  HWND list = FindDescendant(window, "ListBox");
  ASSERT_NE(list, nullptr);

  const auto open = [&](const std::string& category) {
    const auto at = std::find(categories.begin(), categories.end(), category);
    EXPECT_NE(at, categories.end()) << category;
    const POINT caption = CaptionOf(static_cast<size_t>(at - categories.begin()));
    PostClick(window, caption.x, caption.y);
  };
  const auto rowsBecome = [&](const std::vector<std::string>& rows) {
    return WaitFor([&] { return IsWindowVisible(list) && ListRows(list) == rows; }, 10000);
  };

  // The skin and the categories come half a second after the window: until then a click on a
  // caption does nothing, so the first category is clicked until its list appears.
  const std::vector<std::string> install = {Row("Install", "Atlas"), Row("Install", "Cards"),
                                            Row("Install", "Painter"), Row("Install", "Typing")};
  ASSERT_TRUE(WaitFor(
      [&] {
        open("Install");
        return WaitFor([&] { return IsWindowVisible(list) != FALSE; }, 300);
      },
      20000));
  ASSERT_TRUE(rowsBecome(install)) << "the install list with its descriptions";
  EXPECT_EQ(install.front().substr(0, 17), "Atlas      World ");
  KeepRendering(CaptureClientWithList(window, list), "install-list");

  const std::pair<const char*, std::vector<std::string>> lists[] = {
      {"Archives",
       {Row("Archives", "fonts.zip"), Row("Archives", "icons.zip"), Row("Archives", "tools.zip")}},
      {"Documents", {"catalog", "faq", "history"}},
      {"Letters", {"news", "prices", "welcome"}},
      {"Music", {"minuet", "ode", "saints"}},
      {"Pictures", {"fractal", "mosaic", "poster", "sunset"}},
      {"Programs", {"hello", "listing", "sample"}},
      {"Sounds", {"bell", Row("Sounds", "chime.wav"), "fanfare", "sweep"}},
      {"Video", {"bounce", "orbit"}},
  };
  for (const auto& [category, rows] : lists) {
    open(category);
    EXPECT_TRUE(rowsBecome(rows)) << category;
  }
  EXPECT_EQ(ListRows(list)[0], "bounce");

  // A single video or tune plays at once: the list on screen stays.
  for (const char* single : {"Intro", "Jingle"}) {
    open(single);
    open("Video");  // clicks are handled in order: once this one is done, so is the first
    EXPECT_TRUE(rowsBecome({"bounce", "orbit"})) << single;
  }

  // A single text file opens in the viewer at once, over the list that stays.
  open("Manual");
  HWND viewer = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (viewer = foyer.Window("TShowTxtForm")) != nullptr; }, 10000));
  char caption[64] = {};
  GetWindowTextA(viewer, caption, sizeof caption);
  EXPECT_STREQ(caption, "manual.txt");
  EXPECT_FALSE(IsWindowEnabled(window)) << "the viewer is modal";
  PostMessageA(viewer, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(window) != FALSE; }, 10000));
  EXPECT_EQ(ListRows(list), (std::vector<std::string>{"bounce", "orbit"}));
}

}  // namespace
}  // namespace foyer::test
