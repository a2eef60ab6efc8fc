// What a category's scan decides that the main window does not show: the kinds it found and why
// a category offers nothing.
#include <gtest/gtest.h>

#include "main/Catalogue.h"
#include "platform/memory/MemoryPlatform.h"

namespace foyer {
namespace {

TEST(CatalogueTest, ScanNamesTheKindsAndWhyACategoryOffersNothing) {
  using R = TNoModeReason;
  const struct {
    std::vector<std::string> Files;
    uint16_t Kinds;
    TListMode Mode;
    R Reason;
  } cases[] = {
      {{}, 0, lmNone, R::NoEntries},
      {{"readme.txt", "viewme.bmp", "a.readme"}, 0, lmNone, R::NoEntries},
      {{"a.wav", "b.mid"}, ckWave | ckMidi, lmNone, R::MixedKinds},
      {{"a.wav", "notes.doc"}, ckWave | ckOther, lmNone, R::UnknownFiles},
      {{"LICENSE"}, ckOther, lmNone, R::UnknownFiles},
      {{"song.old.wav"}, ckOther, lmNone, R::UnknownFiles},
      {{"setup.exe", "data.cab", "setup.txt"}, ckProgram | ckOther | ckText, lmNone, R::MixedKinds},
      {{"setup.exe", "data.cab"}, ckProgram | ckOther, lmRun, R::None},
      {{"tool.zip", "tool.txt", "tool.bmp"}, ckZip, lmInstall, R::None},
      {{"Game\\readme.txt", "x.avi"}, ckFolder | ckVideo, lmInstall, R::None},
  };
  for (const auto& c : cases) {
    MemoryPlatform platform;
    const ScopedPlatform scoped(platform.Get());
    MemoryFileSystem& fs = platform.Fs;
    fs.AddDrive('D');
    fs.MakeDir("D:\\Cat");
    for (const std::string& file : c.Files)
      fs.WriteFile("D:\\Cat\\" + file, "x");
    const TCategoryScan scan = ScanCategory(fs, "D:\\Cat");
    const std::string name = c.Files.empty() ? "(empty)" : c.Files.front();
    EXPECT_EQ(scan.Kinds, c.Kinds) << name;
    EXPECT_EQ(scan.Mode, c.Mode) << name;
    EXPECT_EQ(scan.Reason, c.Reason) << name;
  }
}

}  // namespace
}  // namespace foyer
