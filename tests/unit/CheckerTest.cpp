// The medium checker on the demonstration medium, and on media with one planted fault each.
#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include <fstream>

#include "Fixtures.h"
#include "check/Checker.h"
#include "platform/posix/PosixPlatform.h"
#include "unit/TempFolder.h"

namespace foyer {
namespace {

// The demonstration medium in memory under D:\cd, with the platform installed.
struct DemoMedium {
  DemoMedium() {
    Platform.Fs.AddDrive('D');
    test::MemorySink sink(Platform.Fs, "D:\\cd");
    medgen::DemoOptions options;
    options.LargeTextBytes = 1000;
    medgen::WriteDemoMedium(sink, options);
  }
  MemoryPlatform Platform;
  ScopedPlatform Scoped{Platform.Get()};
};

// The problems of a report as "severity path".
std::vector<std::string> Problems(const TReport& report) {
  std::vector<std::string> found;
  for (const TProblem& problem : report.Problems) {
    const char* severity = problem.Severity == TSeverity::Error     ? "error "
                           : problem.Severity == TSeverity::Warning ? "warning "
                                                                    : "note ";
    found.push_back(severity + problem.Path);
  }
  return found;
}

TEST(CheckerTest, DemonstrationMediumHasNoErrorAndEveryCategoryIsReported) {
  const DemoMedium medium;
  const TReport report = CheckMedium("D:\\cd");
  EXPECT_EQ(ExitCodeOf(report), 0) << ReportText(report);
  ASSERT_EQ(report.Categories.size(), medgen::DemoCategoryNames().size());
  const auto install = std::find_if(report.Categories.begin(), report.Categories.end(),
                                    [](const auto& c) { return c.Folder == "Install"; });
  ASSERT_NE(install, report.Categories.end());
  EXPECT_EQ(install->Verb, "Install");
  EXPECT_TRUE(install->ReadMe && install->ViewMe);
  EXPECT_NE(std::find(install->Rows.begin(), install->Rows.end(),
                      "Atlas      World atlas with forty maps"),
            install->Rows.end());
  const auto intro = std::find_if(report.Categories.begin(), report.Categories.end(),
                                  [](const auto& c) { return c.Folder == "Intro"; });
  ASSERT_NE(intro, report.Categories.end());
  EXPECT_EQ(intro->ActsAtOnce, "plays intro.avi on AVIVideo");
}

TEST(CheckerTest, EachPlantedFaultIsFoundWithItsSeverity) {
  const struct {
    std::string File;
    std::string Bytes;
    std::string Problem;
  } cases[] = {
      {"Mixed\\a.wav", std::string("RIFF\0\0\0\0WAVE", 12), "error D:\\cd\\Mixed"},
      {"Pictures\\broken.bmp", "BM not a picture", "error D:\\cd\\Pictures\\broken.bmp"},
      {"Documents\\bom.txt", "\xEF\xBB\xBFText", "warning D:\\cd\\Documents\\bom.txt"},
      {"Letters\\plain.rtf", "Not rich text", "warning D:\\cd\\Letters\\plain.rtf"},
      {"Sounds\\fake.wav", "MThd", "warning D:\\cd\\Sounds\\fake.wav"},
      {"layout.dat\\tc24\\butt.bmp", "", "error D:\\cd\\layout.dat\\tc24\\butt.bmp"},
      {"Install\\Deep\\" + std::string(120, 'd') + "\\" + std::string(120, 'f') + ".txt", "x",
       "warning D:\\cd\\Install\\Deep\\" + std::string(120, 'd') + "\\" + std::string(120, 'f') +
           ".txt"},
  };
  for (const auto& c : cases) {
    DemoMedium medium;
    medium.Platform.Fs.WriteFile("D:\\cd\\" + c.File, c.Bytes);
    // A second kind beside the first.
    if (c.File.rfind("Mixed", 0) == 0) medium.Platform.Fs.WriteFile("D:\\cd\\Mixed\\b.mid", "MThd");
    const TReport report = CheckMedium("D:\\cd");
    const std::vector<std::string> found = Problems(report);
    EXPECT_NE(std::find(found.begin(), found.end(), c.Problem), found.end())
        << c.Problem << "\n" << ReportText(report);
  }
}

TEST(CheckerTest, NameTheCodePageCannotHoldIsAnErrorOnLinuxFolders) {
  const test::TempFolder folder;
  ASSERT_EQ(mkdir((folder.Path() + "/Sounds").c_str(), 0777), 0);
  std::ofstream(folder.Path() + "/Sounds/\xE6\x97\xA5.wav") << std::string("RIFF\0\0\0\0WAVE", 12);
  std::ofstream(folder.Path() + "/Sounds/Caf\xC3\xA9.wav") << std::string("RIFF\0\0\0\0WAVE", 12);
  PosixPlatform posix;
  posix.Fs.AddDrive('M', folder.Path());
  const ScopedPlatform scoped(posix.Get());
  const std::vector<std::string> found = Problems(CheckMedium("M:\\"));
  for (const std::string problem : {"error M:\\Sounds\\?.wav", "warning M:\\Sounds\\Caf\xE9.wav"})
    EXPECT_NE(std::find(found.begin(), found.end(), problem), found.end()) << problem;
}

}  // namespace
}  // namespace foyer
