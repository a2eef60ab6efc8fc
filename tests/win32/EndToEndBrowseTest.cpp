// Browsing the demonstration medium with foyer.exe: every category gives its list or acts on
// its single entry at once.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "EndToEndBed.h"
#include "main/Catalogue.h"
#include "medgen/Medium.h"
#include "util/Path.h"

namespace foyer::test {
namespace {

class EndToEndBrowse : public EndToEndTest {
 protected:
  // The rows of a category of the demonstration medium as the generator says it wrote them,
  // in the order Wine lists a folder (by name, letter case aside).
  static std::vector<std::string> Rows(const std::string& category) {
    medgen::DemoOptions options;
    options.ProgramExe = "MZ";
    options.LargeTextBytes = 0;
    std::vector<medgen::DemoEntry> entries;
    for (const medgen::DemoEntry& entry : medgen::DemoEntries(options)) {
      if (entry.Category == category) entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return LowerStr(a.Name) < LowerStr(b.Name); });
    std::vector<std::string> rows;
    for (const medgen::DemoEntry& entry : entries) {
      const std::string shown = ShownName(entry.Name);
      rows.push_back(entry.Description.empty() ? shown : RowText(shown, entry.Description));
    }
    return rows;
  }
};

TEST_F(EndToEndBrowse, EveryCategoryListsItsEntriesOrActsOnItsSingleEntry) {
  // The generator's categories, in the order Wine lists the top folder.
  std::vector<std::string> categories = medgen::DemoCategoryNames();
  std::sort(categories.begin(), categories.end(),
            [](const auto& a, const auto& b) { return LowerStr(a) < LowerStr(b); });
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
  const std::vector<std::string> install = Rows("Install");
  ASSERT_TRUE(WaitFor(
      [&] {
        open("Install");
        return WaitFor([&] { return IsWindowVisible(list) != FALSE; }, 300);
      },
      20000));
  ASSERT_TRUE(rowsBecome(install)) << "the install list with its descriptions";
  EXPECT_EQ(install.front().substr(0, 17), "Atlas      World ");
  KeepRendering(CaptureClientWithList(window, list), "install-list");

  for (const char* category :
       {"Archives", "Documents", "Letters", "Music", "Pictures", "Programs", "Sounds", "Video"}) {
    open(category);
    EXPECT_TRUE(rowsBecome(Rows(category))) << category;
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
