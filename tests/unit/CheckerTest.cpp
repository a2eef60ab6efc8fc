// The medium checker on the demonstration medium, and on media with one planted fault each.
#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "Fixtures.h"
#include "check/Checker.h"
#include "platform/posix/PosixPlatform.h"
#include "unit/TempFolder.h"
#include "util/Unicode.h"

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
      {"Documents\\old.txt", "Caf\xE9", "warning D:\\cd\\Documents\\old.txt"},
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

TEST(CheckerTest, NamesInEveryScriptOpenAndTextsAreTakenAsTheyWereSavedOnLinuxFolders) {
  const test::TempFolder folder;
  const std::string wave("RIFF\0\0\0\0WAVE", 12);
  const struct {
    std::string File;
    std::string Bytes;
    std::string Problem;      // empty: none for the file
    std::string Description;  // a readme's, as its row shows it
  } cases[] = {
      {"Sounds/\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1.wav", wave, "warning", ""},
      {"Sounds/\xE6\x97\xA5\xE6\x9C\xAC.wav", wave, "warning", ""},
      {"Sounds/Caf\xC3\xA9.wav", wave, "note", ""},
      {"Sounds/caf\xE9.wav", wave, "warning", ""},  // not UTF-8
      {"Install/Plain/readme", "Menu caf\xC3\xA9\r\nmore", "", "Menu caf\xC3\xA9"},
      {"Install/Marked/readme", "\xEF\xBB\xBFMenu caf\xC3\xA9", "", "Menu caf\xC3\xA9"},
      {"Install/Wide/readme", std::string("\xFF\xFEM\0e\0n\0u\0 \0c\0a\0f\0\xE9\0", 20), "",
       "Menu caf\xC3\xA9"},
      {"Install/Old/readme", "Menu caf\xE9", "warning", "Menu caf\xC3\xA9"},
      {"layout.dat/tc24/back.bmp", test::SolidBmp(64, 48, 0x204080), "", ""},
      {"layout.dat/tc24/butt.bmp", test::SolidBmp(105, 41, 0xC0C0C0), "", ""},
  };
  for (const auto& c : cases) {
    const std::filesystem::path host = folder.Path() + "/" + c.File;
    std::filesystem::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << c.Bytes;
  }
  PosixPlatform posix;
  posix.Fs.AddDrive('M', folder.Path());
  const ScopedPlatform scoped(posix.Get());
  const TReport report = CheckMedium("M:\\");
  std::map<std::string, std::string> severities;  // by path
  for (const std::string& problem : Problems(report))
    severities[problem.substr(problem.find(' ') + 1)] = problem.substr(0, problem.find(' '));
  const auto install = std::find_if(report.Categories.begin(), report.Categories.end(),
                                    [](const auto& c) { return c.Folder == "Install"; });
  ASSERT_NE(install, report.Categories.end());
  for (const auto& c : cases) {
    std::string path = "M:\\" + c.File;
    std::replace(path.begin(), path.end(), '/', '\\');
    EXPECT_EQ(severities[path], c.Problem) << c.File;
    if (c.Description.empty()) continue;
    const std::string entry = c.File.substr(8, c.File.find('/', 8) - 8);  // Install/<entry>/
    const auto listed = std::find_if(install->Entries.begin(), install->Entries.end(),
                                     [&](const TListedEntry& e) { return e.Name == entry; });
    ASSERT_NE(listed, install->Entries.end()) << entry;
    EXPECT_EQ(listed->Description, c.Description) << c.File;
  }
  // The name that is not UTF-8 reaches neither report as such.
  EXPECT_TRUE(IsUtf8(ReportText(report)));
  EXPECT_TRUE(IsUtf8(ReportJson(report)));
}

}  // namespace
}  // namespace foyer
