// The medium checker on the demonstration medium, and on media with one planted fault each.
#include <gtest/gtest.h>

#include <algorithm>

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "Fixtures.h"
#include "check/Checker.h"
#include "Unpack.h"
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
    options.FoyerExe = "MZ";  // which its autorun.inf starts
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
  // Its names beyond ASCII and its one text in a code page are all it is told of.
  std::vector<std::string> found = Problems(report);
  std::sort(found.begin(), found.end());
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
  const std::string french = "Languages\\Fran\xC3\xA7" "ais";
  const std::vector<std::string> expected = {
      "warning D:\\cd\\Archives\\" + japanese + ".bmp",
      "warning D:\\cd\\Archives\\" + japanese + ".readme",
      "warning D:\\cd\\Archives\\" + japanese + ".zip",
      "warning D:\\cd\\" + french,
      "warning D:\\cd\\" + french + "\\readme.txt",
      "warning D:\\cd\\Languages\\\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC",
      "warning D:\\cd\\Languages\\\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9",
      "warning D:\\cd\\Languages\\" + japanese};
  EXPECT_EQ(found, expected) << ReportText(report);
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
      {"A caption wider than a button\\a.txt", "x",
       "warning D:\\cd\\A caption wider than a button"},
      {"layout.dat\\tc24\\butt.bmp", "", "error D:\\cd\\layout.dat\\tc24\\butt.bmp"},
      {"Install\\Deep\\" + std::string(120, 'd') + "\\" + std::string(120, 'f') + ".txt", "x",
       "warning D:\\cd\\Install\\Deep\\" + std::string(120, 'd') + "\\" + std::string(120, 'f') +
           ".txt"},
  };
  const std::vector<std::string> demo = [] {
    const DemoMedium medium;
    return Problems(CheckMedium("D:\\cd"));
  }();
  for (const auto& c : cases) {
    DemoMedium medium;
    medium.Platform.Fs.WriteFile("D:\\cd\\" + c.File, c.Bytes);
    // A second kind beside the first.
    if (c.File.rfind("Mixed", 0) == 0) medium.Platform.Fs.WriteFile("D:\\cd\\Mixed\\b.mid", "MThd");
    const TReport report = CheckMedium("D:\\cd");
    // The planted fault, and nothing else beside what the medium had.
    std::vector<std::string> expected = demo;
    expected.push_back(c.Problem);
    std::vector<std::string> found = Problems(report);
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, expected) << c.Problem << "\n" << ReportText(report);
  }
}

TEST(CheckerTest, CaptionsAreMeasuredAgainstTheButtonOfEachSkin) {
  const std::vector<std::string> demo = [] {
    const DemoMedium medium;
    return Problems(CheckMedium("D:\\cd"));
  }();
  // Sixteen characters fit the true-colour button, not a narrower 256-colour one.
  DemoMedium palette;
  palette.Platform.Fs.WriteFile("D:\\cd\\Sixteen chars ab\\a.txt", "x");
  palette.Platform.Fs.WriteFile("D:\\cd\\layout.dat\\rgb256\\butt.bmp",
                                test::SolidBmp(90, 41, 0xC0C0C0));
  std::vector<std::string> expected = demo;
  expected.push_back("warning D:\\cd\\Sixteen chars ab");
  std::vector<std::string> found = Problems(CheckMedium("D:\\cd"));
  std::sort(expected.begin(), expected.end());
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, expected);
  // A button too narrow for "Install" and "Quit" is told once, at the picture.
  DemoMedium narrow;
  narrow.Platform.Fs.WriteFile("D:\\cd\\layout.dat\\tc24\\butt.bmp",
                               test::SolidBmp(20, 41, 0xC0C0C0));
  found = Problems(CheckMedium("D:\\cd"));
  EXPECT_EQ(std::count(found.begin(), found.end(), "warning D:\\cd\\layout.dat\\tc24\\butt.bmp"),
            1);
}

TEST(CheckerTest, OnlyARowsOwnDescriptionIsMeasuredAgainstTheList) {
  const std::string line(80, 'x');
  const struct {
    std::string File;
    bool IsNoted;
  } cases[] = {{"Install\\readme.txt", false},  // the category's own: no row shows it
               {"Install\\Atlas.readme", true},  // beside the entry, before its own
               {"Install\\Atlas\\readme", true},  // inside, before its readme.txt
               {"Install\\Atlas\\readme.txt", true}};
  for (const auto& c : cases) {
    DemoMedium medium;
    medium.Platform.Fs.WriteFile("D:\\cd\\" + c.File, line + "\r\nmore");
    const std::vector<std::string> found = Problems(CheckMedium("D:\\cd"));
    EXPECT_EQ(std::count(found.begin(), found.end(), "note D:\\cd\\" + c.File), c.IsNoted)
        << c.File;
  }
}

TEST(CheckerTest, AutorunInfIsReadAsWindowsReadsIt) {
  const struct {
    const char* Bytes;                  // null: none
    std::vector<std::string> Problems;  // the severities of what is found in it
  } cases[] = {
      {nullptr, {"note"}},
      {";\r\n[AutoRun]\r\nOPEN = \"bin.dat\\foyer.exe\" /x\r\nicon=Bin.dat/Foyer.exe, -1\r\n", {}},
      {"[other]\r\nopen=x.exe\r\n[autorun]\r\nopen=bin.dat\\foyer.exe\r\nopen=x.exe\r\n", {}},
      {"[autorun]\nopen=bin.dat\\foyer.exe\n", {"warning"}},
      {"[setup]\r\nopen=bin.dat\\foyer.exe\r\n", {"warning"}},
      {"[autorun]\r\nopen=foyer.exe\r\n", {"error"}},
      {"[autorun]\r\nopen=bin.dat\r\n", {"error"}},  // a folder
      {"[autorun]\r\nicon=\"bin.dat\\my icon.ico\",0\r\n", {"warning"}},
      {"[autorun]\r\nlabel=Extras from the publisher, volume one\r\n", {"note"}},
  };
  for (const auto& c : cases) {
    DemoMedium medium;
    medium.Platform.Fs.Remove("D:\\cd\\autorun.inf");
    if (c.Bytes != nullptr) medium.Platform.Fs.WriteFile("D:\\cd\\autorun.inf", c.Bytes);
    std::vector<std::string> found;
    for (const std::string& problem : Problems(CheckMedium("D:\\cd"))) {
      if (problem.ends_with(" D:\\cd\\autorun.inf"))
        found.push_back(problem.substr(0, problem.find(' ')));
    }
    EXPECT_EQ(found, c.Problems) << (c.Bytes != nullptr ? c.Bytes : "none");
  }
}

TEST(CheckerTest, FilesOfNoKnownKindAreNamedAndShortNamesTakenForTheirCause) {
  for (const bool isShortNamesOnly : {false, true}) {
    DemoMedium medium;
    for (const char* name : {"A.REA", "B.REA", "C.REA", "D.REA", "E.REA", "F.REA", "G"})
      medium.Platform.Fs.WriteFile(std::string("D:\\cd\\Sounds\\") + name, "x");
    TCheckOptions options;
    options.HasShortNamesOnly = isShortNamesOnly;
    const TReport report = CheckMedium("D:\\cd", options);
    const auto sounds = std::find_if(report.Problems.begin(), report.Problems.end(),
                                     [](const TProblem& p) { return p.Path == "D:\\cd\\Sounds"; });
    ASSERT_NE(sounds, report.Problems.end());
    EXPECT_NE(sounds->Seen.find(" kind: A.REA, B.REA, C.REA, D.REA, E.REA and 2 more."),
              std::string::npos)
        << sounds->Seen;
    EXPECT_EQ(sounds->Seen.find("Joliet") != std::string::npos, isShortNamesOnly);
  }
}

TEST(CheckerTest, ProblemsAreListedBySeverityThenPathAlikeInBothReports) {
  TReport report;
  report.Problems = {{TSeverity::Note, "M:\\a", "4th", ""},
                     {TSeverity::Warning, "M:\\b2", "3rd", ""},
                     {TSeverity::Warning, "M:\\b\\c", "2nd", ""},
                     {TSeverity::Error, "M:\\c", "1st", ""}};
  for (const std::string& text : {ReportText(report), ReportJson(report)}) {
    EXPECT_LT(text.find("1st"), text.find("2nd")) << text;
    EXPECT_LT(text.find("2nd"), text.find("3rd")) << text;
    EXPECT_LT(text.find("3rd"), text.find("4th")) << text;
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
  // What a code page lacks is named.
  for (const auto& [file, named] : std::map<std::string, std::string>{
           {"Sounds\\Caf\xC3\xA9.wav", "lacks \"\xC3\xA9\" (U+00E9), a"},
           {"Sounds\\\xE6\x97\xA5\xE6\x9C\xAC.wav",
            "lacks \"\xE6\x97\xA5\" (U+65E5), \"\xE6\x9C\xAC\" (U+672C),"}}) {
    const auto problem = std::find_if(report.Problems.begin(), report.Problems.end(),
                                      [&](const TProblem& p) { return p.Path == "M:\\" + file; });
    ASSERT_NE(problem, report.Problems.end()) << file;
    EXPECT_NE(problem->Seen.find(named), std::string::npos) << problem->Seen;
  }
  // The name that is not UTF-8 reaches neither report as such.
  EXPECT_TRUE(IsUtf8(ReportText(report)));
  EXPECT_TRUE(IsUtf8(ReportJson(report)));
}

// An entry of an archive made in a test: a folder where the name ends in "/", a link where Link
// is set, else a file.
struct TArchived {
  TArchived(std::string name, std::string bytes = {}, mode_t mode = 0644, std::string link = {})
      : Name(std::move(name)), Bytes(std::move(bytes)), Mode(mode), Link(std::move(link)) {}
  std::string Name;
  std::string Bytes;
  mode_t Mode;
  std::string Link;
};

void WriteArchive(const std::string& path, const std::vector<TArchived>& entries) {
  const bool isImage = path.ends_with(".iso");
  // Names are given in UTF-8, which the writer converts to Joliet's UTF-16 in this locale.
  const std::string locale = setlocale(LC_CTYPE, nullptr);
  setlocale(LC_CTYPE, "C.UTF-8");
  archive* writer = archive_write_new();
  isImage ? archive_write_set_format_iso9660(writer) : archive_write_set_format_zip(writer);
  archive_write_set_options(writer, "zip:hdrcharset=UTF-8");
  archive_write_open_filename(writer, path.c_str());
  for (const TArchived& item : entries) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, item.Name.c_str());
    const bool isFolder = item.Name.ends_with("/");
    archive_entry_set_filetype(entry, isFolder ? AE_IFDIR : item.Link.empty() ? AE_IFREG
                                                                                : AE_IFLNK);
    archive_entry_set_perm(entry, item.Mode);
    if (!item.Link.empty()) archive_entry_set_symlink(entry, item.Link.c_str());
    archive_entry_set_size(entry, static_cast<la_int64_t>(item.Bytes.size()));
    archive_write_header(writer, entry);
    archive_write_data(writer, item.Bytes.data(), item.Bytes.size());
    archive_entry_free(entry);
  }
  archive_write_free(writer);
  setlocale(LC_CTYPE, locale.c_str());
}

// foyer-check run on a medium with its own TMPDIR: its exit code (minus the signal that ended
// it), and what it prints on both streams together; started is called once it runs.
std::pair<int, std::string> RunCheck(const std::string& tmp, const std::string& out,
                                     std::vector<std::string> args,
                                     rlim_t fileSize = RLIM_INFINITY, int signal = 0,
                                     const std::function<void()>& started = {}) {
  args.insert(args.begin(), FOYER_CHECK_PROGRAM);
  const pid_t child = fork();
  if (child == 0) {
    // A run started in the background or under nohup ignores interrupts and hang-ups, and an
    // ignored signal stays ignored across exec: the check gets the signals a terminal would send.
    for (const int each : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
      std::signal(each, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    setenv("TMPDIR", tmp.c_str(), 1);
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 1);
    dup2(fd, 2);
    const rlimit limit{fileSize, fileSize};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<char*> argv;
    for (std::string& arg : args)
      argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  if (started) started();
  if (signal != 0) kill(child, signal);
  int status = 0;
  waitpid(child, &status, 0);
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status), text.str()};
}

// Whether the unpacked tree holds only folders and files of this user's: none a link, a device,
// set-id, or writable by others; and its bytes on disk, and its files' sizes.
bool IsTame(const std::string& folder, uint64_t& onDisk, uint64_t& sizes) {
  for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
    struct stat status {};
    lstat(item.path().c_str(), &status);
    if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode)) return false;
    if ((status.st_mode & (S_ISUID | S_ISGID | S_IWGRP | S_IWOTH)) != 0) return false;
    onDisk += static_cast<uint64_t>(status.st_blocks) * 512;
    if (S_ISREG(status.st_mode)) sizes += static_cast<uint64_t>(status.st_size);
  }
  return true;
}

TEST(CheckerTest, HostileArchivesGiveAReportOrACleanRefusalAndLeaveNothingBehind) {
  const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
  const std::string wave("RIFF\0\0\0\0WAVE", 12);
  const std::string back = test::SolidBmp(64, 48, 0x204080);
  const std::string button = test::SolidBmp(105, 41, 0xC0C0C0);
  const std::vector<TArchived> scripts = {{"Sounds/Caf\xC3\xA9.wav", wave},
                                          {"Sounds/" + greek + ".wav", wave},
                                          {"Sounds/" + japanese + ".wav", wave}};
  const struct {
    const char* Name;
    std::string File;  // .zip or .iso
    std::vector<TArchived> Entries;
    std::vector<std::string> Options;
    rlim_t FileSize;
    int Code;             // 2: refused; else the report's
    std::string Printed;  // in what it prints
    std::string Never;    // nowhere in it
  } cases[] = {
      {"link out", "a.zip",
       {{"Install/Tools/readme.txt", "Tools"}, {"Install/Tools/etc", "", 0777, "/etc"}},
       {}, RLIM_INFINITY, 0, "Left out: 1 entry", "passwd"},
      {"readme a link", "a.zip",
       {{"Install/Tools/a.exe", "MZ"},
        {"Install/Tools/readme", "", 0777, "/etc/passwd"},
        {"Install/Other/b.exe", "MZ"}},
       {}, RLIM_INFINITY, 0, "\n     Tools\n", "root:"},
      {"/dev/zero", "a.zip", {{"Video/zero.avi", "", 0777, "/dev/zero"}}, {}, RLIM_INFINITY, 1,
       "Left out: 1 entry", "foyer-check:"},
      {"loop", "a.zip", {{"Install/Tools/a", "", 0777, "."}, {"Install/Tools/b", "", 0777, "."},
                         {"Install/Tools/c.exe", "MZ"}},
       {}, RLIM_INFINITY, 0, "Left out: 2 entries", "foyer-check:"},
      {"modes", "a.zip", {{"./", "", 0777}, {"Install/Tools/c.exe", "MZ", 04755},
                          {"Install/Locked/", "", 0555}, {"Install/Locked/d.exe", "MZ", 0444}},
       {}, RLIM_INFINITY, 0, "\n     Locked\n", "foyer-check:"},
      {"climbs out", "a.zip", {{"Install/../../escape.txt", "x"}}, {}, RLIM_INFINITY, 2,
       "names a file outside itself", "Medium"},
      {"bomb", "a.zip", {{"readme.txt", std::string(20 << 20, '\0')}}, {"--max-size", "10000000"},
       RLIM_INFINITY, 2, "more than 10000000 bytes", "Medium"},
      {"many entries", "a.zip", scripts, {"--max-entries", "2"}, RLIM_INFINITY, 2,
       "more than 2 files and folders", "Medium"},
      {"disk full", "a.zip", {{"Pictures/big.bmp", std::string(2 << 20, 'x')}}, {}, 1 << 20, 2,
       "File too large", "Medium"},
      {"holes", "a.zip", {{"Video/big.avi", "RIFF" + std::string(64 << 20, '\0')}}, {},
       RLIM_INFINITY, 0, "plays big.avi", "foyer-check:"},
      {"Joliet names", "a.iso", scripts, {}, RLIM_INFINITY, 0, "Sounds/" + greek + ".wav",
       "foyer-check:"},
      {"zip names", "a.zip", scripts, {}, RLIM_INFINITY, 0, "Sounds/" + japanese + ".wav",
       "foyer-check:"},
  };
  for (const auto& c : cases) {
    const test::TempFolder work;
    const std::string tmp = work.Path() + "/tmp";
    mkdir(tmp.c_str(), 0700);
    const std::string file = work.Path() + "/" + c.File;
    // A medium with its skin, so that the window starts and lists what the archive holds.
    std::vector<TArchived> entries = c.Entries;
    for (const char* skin : {"tc24", "rgb256"}) {
      entries.push_back({"layout.dat/" + std::string(skin) + "/back.bmp", back});
      entries.push_back({"layout.dat/" + std::string(skin) + "/butt.bmp", button});
    }
    WriteArchive(file, entries);
    std::vector<std::string> args = c.Options;
    args.push_back(file);
    const auto [code, out] = RunCheck(tmp, work.Path() + "/out.txt", args, c.FileSize);
    EXPECT_EQ(code, c.Code) << c.Name << "\n" << out;
    EXPECT_NE(out.find(c.Printed), std::string::npos) << c.Name << "\n" << out;
    EXPECT_EQ(out.find(c.Never), std::string::npos) << c.Name << "\n" << out;
    EXPECT_TRUE(std::filesystem::is_empty(tmp)) << c.Name;
    // What is unpacked is tame, its files are of their sizes, and what the checker does not read
    // of them costs nothing on disk.
    if (c.Code == 2) continue;
    const std::string unpacked = work.Path() + "/unpacked";
    mkdir(unpacked.c_str(), 0700);
    PosixPlatform posix;
    const ScopedPlatform scoped(posix.Get());
    const TUnpackedMedium medium(file, unpacked);
    uint64_t onDisk = 0;
    uint64_t sizes = 0;
    uint64_t expected = 0;
    for (const TArchived& item : entries)
      expected += item.Link.empty() ? item.Bytes.size() : 0;
    EXPECT_TRUE(IsTame(unpacked, onDisk, sizes)) << c.Name;
    EXPECT_EQ(sizes, expected) << c.Name;
    EXPECT_LT(onDisk, 1u << 20) << c.Name;
    RemoveTree(unpacked);
    EXPECT_FALSE(std::filesystem::exists(unpacked)) << c.Name;
  }
}

TEST(CheckerTest, AZipOfTheMediumsFolderIsCheckedAsThatFolderWithOneWarning) {
  const test::TempFolder work;
  const std::string tmp = work.Path() + "/tmp";
  mkdir(tmp.c_str(), 0700);
  std::vector<TArchived> contents = {{"Sounds/a.wav", std::string("RIFF\0\0\0\0WAVE", 12)},
                                     {"Sounds/b.mid", "MThd"},
                                     {"Install/Tools/a.exe", "MZ"},
                                     {"bin.dat/foyer.exe", "MZ"},
                                     {"autorun.inf", "[autorun]\r\nopen=bin.dat\\foyer.exe\r\n"}};
  for (const char* skin : {"tc24/", "rgb256/"}) {
    contents.push_back({"layout.dat/" + std::string(skin) + "back.bmp", test::SolidBmp(64, 48, 0)});
    contents.push_back(
        {"layout.dat/" + std::string(skin) + "butt.bmp", test::SolidBmp(105, 41, 0)});
  }
  std::vector<TArchived> inFolder;
  for (const TArchived& item : contents)
    inFolder.push_back({"Extras/" + item.Name, item.Bytes});
  WriteArchive(work.Path() + "/a.zip", contents);
  WriteArchive(work.Path() + "/b.zip", inFolder);
  const auto [codeA, a] = RunCheck(tmp, work.Path() + "/out.txt", {work.Path() + "/a.zip"});
  auto [codeB, b] = RunCheck(tmp, work.Path() + "/out.txt", {work.Path() + "/b.zip"});
  // b with a's paths, less its one warning, which the summary counts.
  const std::string inner = work.Path() + "/b.zip/Extras", top = work.Path() + "/a.zip";
  for (size_t at = b.find(inner); at != std::string::npos; at = b.find(inner, at))
    b.replace(at, inner.size(), top);
  const size_t warning = b.find("  warning " + top + "\n");
  ASSERT_NE(warning, std::string::npos) << b;
  size_t end = warning;
  for (int line = 0; line < 3; ++line)
    end = b.find('\n', end) + 1;
  b.erase(warning, end - warning).replace(b.find(" 1 warning,"), 11, " 0 warnings,");
  EXPECT_EQ(b, a);
  EXPECT_EQ(codeB, codeA);
  EXPECT_EQ(a.find("autorun.inf"), std::string::npos) << a;  // unpacked, it is read whole
}

TEST(CheckerTest, AnArchiveCheckStoppedBySignalLeavesNothingBehind) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const test::TempFolder work;
    const std::string tmp = work.Path() + "/tmp";
    mkdir(tmp.c_str(), 0700);
    // A medium that never comes: the check waits in the middle of its unpacking.
    const std::string fifo = work.Path() + "/medium.iso";
    mkfifo(fifo.c_str(), 0600);
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, tmp.c_str(), IN_CREATE);
    const auto wait = [&] {
      char event[sizeof(inotify_event) + NAME_MAX + 1];
      EXPECT_GT(read(watch, event, sizeof event), 0);
    };
    const auto [code, out] =
        RunCheck(tmp, work.Path() + "/out.txt", {fifo}, RLIM_INFINITY, signal, wait);
    close(watch);
    EXPECT_EQ(code, -signal) << out;
    EXPECT_TRUE(std::filesystem::is_empty(tmp)) << signal;
  }
}

}  // namespace
}  // namespace foyer
