// The in-memory file system beyond the shared contract: drives, faults, Windows matching rules.
#include "platform/memory/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace foyer {
namespace {

using Names = std::vector<std::string>;

Names NamesOf(const FindResult& found) {
  Names names;
  for (const auto& entry : found.Entries)
    names.push_back(entry.Name);
  return names;
}

std::string Read(IFileSystem& fs, const std::string& path) {
  std::string content;
  EXPECT_EQ(ReadWholeFile(fs, path, content), kErrNone) << path;
  return content;
}

class MemoryFsTest : public testing::Test {
 protected:
  MemoryFsTest() {
    FFs.AddDrive('C', DriveKind::Fixed, "SYSTEM");
    FFs.AddDrive('D', DriveKind::CdRom, "DEMO_CD");
  }

  MemoryFileSystem FFs;
};

using MemoryDrives = MemoryFsTest;

TEST_F(MemoryDrives, ListsDrivesInLetterOrderWithWhatTheyWereGiven) {
  DriveInfo share;
  share.Letter = 'n';
  share.Kind = DriveKind::Remote;
  share.Label = "DATA";
  share.ConnectionName = "\\\\server\\data";
  share.IsCaseSensitive = true;
  FFs.AddDrive(share);
  FFs.AddDrive('A', DriveKind::Removable);

  const std::vector<DriveInfo> drives = FFs.Drives();
  ASSERT_EQ(drives.size(), 4u);
  EXPECT_EQ(drives[0].Letter, 'A');
  EXPECT_EQ(drives[0].Kind, DriveKind::Removable);
  EXPECT_EQ(drives[1].Letter, 'C');
  EXPECT_EQ(drives[1].Label, "SYSTEM");
  EXPECT_EQ(drives[2].Letter, 'D');
  EXPECT_EQ(drives[2].Kind, DriveKind::CdRom);
  EXPECT_EQ(drives[2].Label, "DEMO_CD");
  EXPECT_EQ(drives[3].Letter, 'N');
  EXPECT_EQ(drives[3].Kind, DriveKind::Remote);
  EXPECT_EQ(drives[3].ConnectionName, "\\\\server\\data");
  EXPECT_TRUE(drives[3].IsCaseSensitive);
  EXPECT_FALSE(drives[1].IsCaseSensitive);
  for (const auto& drive : drives)
    EXPECT_TRUE(drive.IsReady) << drive.Letter;
}

TEST_F(MemoryDrives, AddingALetterTwiceIsRefused) {
  EXPECT_THROW(FFs.AddDrive('c'), std::invalid_argument);
  EXPECT_THROW(FFs.AddDrive('1'), std::invalid_argument);
}

TEST_F(MemoryDrives, FirstDriveAddedIsTheCurrentOne) {
  MemoryFileSystem fs;
  fs.AddDrive('E');
  fs.AddDrive('C');
  EXPECT_EQ(fs.GetCurrentDir(), "E:\\");
  EXPECT_EQ(fs.FullPath("x"), "E:\\x");
}

TEST_F(MemoryDrives, DriveNotReadyHasNoLabelAndRefusesEveryAccess) {
  FFs.WriteFile("D:\\setup.exe", "MZ");
  FFs.WriteFile("C:\\a.txt", "a");
  FFs.SetDriveReady('D', false);

  const DriveInfo cd = FFs.Drives()[1];
  EXPECT_FALSE(cd.IsReady);
  EXPECT_EQ(cd.Label, "");
  EXPECT_EQ(FFs.Enumerate("D:\\*").Error, kErrNotReady);
  EXPECT_FALSE(FFs.FileExists("D:\\setup.exe"));
  EXPECT_FALSE(FFs.DirExists("D:\\"));
  EXPECT_EQ(FFs.CreateDir("D:\\new"), kErrNotReady);
  EXPECT_EQ(FFs.CopyFile("D:\\setup.exe", "C:\\setup.exe", false), kErrNotReady);
  EXPECT_EQ(FFs.CopyFile("C:\\a.txt", "D:\\a.txt", false), kErrNotReady);
  uint32_t error = kErrNone;
  EXPECT_EQ(FFs.OpenRead("D:\\setup.exe", error), nullptr);
  EXPECT_EQ(error, kErrNotReady);
  EXPECT_EQ(FFs.SetCurrentDir("D:\\"), kErrNotReady);
  EXPECT_EQ(FFs.GetCurrentDir(), "C:\\");
  EXPECT_EQ(FFs.GetCurrentDir('D'), "D:\\");

  FFs.SetDriveReady('D', true);
  EXPECT_EQ(FFs.Drives()[1].Label, "DEMO_CD");
  EXPECT_EQ(Read(FFs, "D:\\setup.exe"), "MZ");
}

TEST_F(MemoryDrives, UnknownDriveIsPathNotFoundEverywhere) {
  FFs.WriteFile("C:\\a.txt", "a");
  EXPECT_EQ(FFs.Enumerate("Q:\\*").Error, kErrPathNotFound);
  EXPECT_EQ(FFs.CreateDir("Q:\\new"), kErrPathNotFound);
  EXPECT_EQ(FFs.CopyFile("Q:\\a.txt", "C:\\b.txt", false), kErrPathNotFound);
  EXPECT_EQ(FFs.CopyFile("C:\\a.txt", "Q:\\a.txt", false), kErrPathNotFound);
  EXPECT_EQ(FFs.SetCurrentDir("Q:\\"), kErrPathNotFound);
  EXPECT_FALSE(FFs.DirExists("Q:\\"));
  EXPECT_EQ(FFs.GetCurrentDir('Q'), "Q:\\");
}

TEST_F(MemoryDrives, CaseSensitiveVolumeStillMatchesNamesWithoutRegardToCase) {
  DriveInfo info;
  info.Letter = 'E';
  info.IsCaseSensitive = true;
  FFs.AddDrive(info);
  FFs.WriteFile("E:\\ReadMe.TXT", "r");
  EXPECT_TRUE(FFs.FileExists("E:\\readme.txt"));
  EXPECT_EQ(FFs.CreateDir("E:\\README.TXT"), kErrAlreadyExists);
}

using MemoryNames = MemoryFsTest;

TEST_F(MemoryNames, AccentedCapitalsMatchTheirSmallLetters) {
  FFs.WriteFile("C:\\\xC9t\xE9.txt", "summer");  // "Été"
  EXPECT_TRUE(FFs.FileExists("C:\\\xE9T\xC9.TXT"));
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*\xC9.*")), (Names{"\xC9t\xE9.txt"}));
  FFs.MakeDir("C:\\\x8A\x8C\x8E\x9F");  // S caron, OE, Z caron, Y diaeresis
  EXPECT_TRUE(FFs.DirExists("C:\\\x9A\x9C\x9E\xFF"));
}

TEST_F(MemoryNames, MultiplicationAndDivisionSignsAreDifferentNames) {
  FFs.WriteFile("C:\\\xD7.txt", "times");
  EXPECT_FALSE(FFs.FileExists("C:\\\xF7.txt"));
  FFs.WriteFile("C:\\\xF7.txt", "divided");
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*")), (Names{"\xD7.txt", "\xF7.txt"}));
}

TEST_F(MemoryNames, NamesKeepTheCaseTheyWereCreatedIn) {
  EXPECT_EQ(FFs.CreateDir("C:\\MixedCase"), kErrNone);
  EXPECT_EQ(FFs.CreateDir("C:\\MIXEDCASE"), kErrAlreadyExists);
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\mixedcase")), (Names{"MixedCase"}));
}

TEST_F(MemoryNames, CharactersWindowsRefusesMakeAnInvalidName) {
  EXPECT_EQ(FFs.CreateDir("C:\\a<b"), kErrInvalidName);
  EXPECT_EQ(FFs.CreateDir("C:\\a\"b"), kErrInvalidName);
  EXPECT_EQ(FFs.CreateDir("C:\\a|b"), kErrInvalidName);
  EXPECT_EQ(FFs.CreateDir(std::string("C:\\a\tb")), kErrInvalidName);
  EXPECT_EQ(FFs.SetCurrentDir("C:\\a*"), kErrInvalidName);
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*")), Names{});
}

using MemoryEnumerate = MemoryFsTest;

TEST_F(MemoryEnumerate, EntriesComeInCreationOrderWithDotsFirstBelowTheTop) {
  FFs.WriteFile("C:\\b.txt", "");
  FFs.MakeDir("C:\\dir");
  FFs.WriteFile("C:\\a.txt", "");
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*")), (Names{"b.txt", "dir", "a.txt"}));
  FFs.WriteFile("C:\\dir\\z", "");
  FFs.WriteFile("C:\\dir\\Y", "");
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\dir\\*")), (Names{".", "..", "z", "Y"}));
}

TEST_F(MemoryEnumerate, RewrittenFileKeepsItsPlaceAndARemovedOneReturnsLast) {
  FFs.WriteFile("C:\\1", "");
  FFs.WriteFile("C:\\2", "");
  FFs.WriteFile("C:\\3", "");
  FFs.WriteFile("C:\\1", "again");
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*")), (Names{"1", "2", "3"}));
  FFs.Remove("C:\\1");
  EXPECT_FALSE(FFs.FileExists("C:\\1"));
  EXPECT_EQ(FFs.CreateDir("C:\\1"), kErrNone);
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*")), (Names{"2", "3", "1"}));
}

TEST_F(MemoryEnumerate, StarDotFindsOnlyNamesWithoutADot) {
  FFs.MakeDir("C:\\dir\\Sub");
  FFs.WriteFile("C:\\dir\\README", "");
  FFs.WriteFile("C:\\dir\\a.txt", "");
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\dir\\*.")), (Names{".", "..", "Sub", "README"}));
}

TEST_F(MemoryEnumerate, QuestionMarkMayMatchNothingBeforeADotOrTheEnd) {
  for (const char* name : {"a.txt", "ab.txt", "abc.txt", "x", "xy", "xyz"}) {
    FFs.WriteFile(std::string("C:\\") + name, "");
  }
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\a?.txt")), (Names{"a.txt", "ab.txt"}));
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\x?")), (Names{"x", "xy"}));
}

TEST_F(MemoryEnumerate, StarBeforeADotStopsShortOfTheLastDot) {
  for (const char* name : {"x.wav.bak", "a.tar.gz", "b.gz"}) {
    FFs.WriteFile(std::string("C:\\") + name, "");
  }
  EXPECT_EQ(FFs.Enumerate("C:\\*.wav").Error, kErrFileNotFound);
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*.bak")), (Names{"x.wav.bak"}));
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*.tar.gz")), (Names{"a.tar.gz"}));
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*.gz")), (Names{"a.tar.gz", "b.gz"}));
}

TEST_F(MemoryEnumerate, ShortNameMatchNeedsAThreeCharacterPatternExtension) {
  for (const char* name : {"x.wave", "y.waves", "z.wa", "w.awav", "v.html"}) {
    FFs.WriteFile(std::string("C:\\") + name, "");
  }
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*.wav")), (Names{"x.wave", "y.waves"}));
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*.wave")), (Names{"x.wave"}));
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*.wa")), (Names{"z.wa"}));
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*.HTM")), (Names{"v.html"}));
}

TEST_F(MemoryEnumerate, PatternsRelativeToTheCurrentFolderOfTheirDrive) {
  FFs.WriteFile("D:\\media\\song.mid", "");
  FFs.WriteFile("C:\\work\\notes.txt", "");
  ASSERT_EQ(FFs.SetCurrentDir("D:\\media"), kErrNone);
  ASSERT_EQ(FFs.SetCurrentDir("C:\\work"), kErrNone);
  EXPECT_EQ(NamesOf(FFs.Enumerate("*.txt")), (Names{"notes.txt"}));
  EXPECT_EQ(NamesOf(FFs.Enumerate("D:*.mid")), (Names{"song.mid"}));
  EXPECT_EQ(NamesOf(FFs.Enumerate("..\\work\\*.txt")), (Names{"notes.txt"}));
}

TEST_F(MemoryEnumerate, FolderWithoutAPatternAndAFileAsFolderFindNothing) {
  FFs.WriteFile("C:\\dir\\a.txt", "");
  EXPECT_EQ(FFs.Enumerate("C:\\dir\\").Error, kErrFileNotFound);
  EXPECT_EQ(FFs.Enumerate("C:\\dir\\a.txt\\*").Error, kErrPathNotFound);
}

using MemoryFaults = MemoryFsTest;

TEST_F(MemoryFaults, UnreadableFolderRefusesListingAndEverythingInside) {
  FFs.WriteFile("C:\\locked\\inner\\a.txt", "a");
  FFs.WriteFile("C:\\locked\\b.txt", "b");
  FFs.SetUnreadable("C:\\locked", true);

  EXPECT_EQ(FFs.Enumerate("C:\\locked\\*").Error, kErrAccessDenied);
  EXPECT_EQ(FFs.Enumerate("C:\\locked\\inner\\*").Error, kErrAccessDenied);
  uint32_t error = kErrNone;
  EXPECT_EQ(FFs.OpenRead("C:\\locked\\b.txt", error), nullptr);
  EXPECT_EQ(error, kErrAccessDenied);
  EXPECT_EQ(FFs.CopyFile("C:\\locked\\inner\\a.txt", "C:\\a.txt", false), kErrAccessDenied);
  EXPECT_EQ(FFs.CreateDir("C:\\locked\\new"), kErrAccessDenied);
  EXPECT_EQ(FFs.SetCurrentDir("C:\\locked"), kErrAccessDenied);
  EXPECT_FALSE(FFs.FileExists("C:\\locked\\b.txt"));
  EXPECT_TRUE(FFs.DirExists("C:\\locked"));
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\*")), (Names{"locked"}));

  FFs.SetUnreadable("C:\\locked", false);
  EXPECT_EQ(NamesOf(FFs.Enumerate("C:\\locked\\*.txt")), (Names{"b.txt"}));
  EXPECT_EQ(Read(FFs, "C:\\locked\\inner\\a.txt"), "a");
}

TEST_F(MemoryFaults, WriteProtectedFolderRefusesNewEntriesBelowIt) {
  FFs.WriteFile("C:\\ro\\sub\\a.txt", "a");
  FFs.WriteFile("C:\\src.txt", "s");
  FFs.SetWriteProtected("C:\\ro", true);

  EXPECT_EQ(FFs.CreateDir("C:\\ro\\new"), kErrAccessDenied);
  EXPECT_EQ(FFs.CreateDir("C:\\ro\\sub\\new"), kErrAccessDenied);
  EXPECT_EQ(FFs.CopyFile("C:\\src.txt", "C:\\ro\\src.txt", false), kErrAccessDenied);
  EXPECT_EQ(FFs.CopyFile("C:\\src.txt", "C:\\ro\\sub\\a.txt", false), kErrAccessDenied);
  EXPECT_EQ(Read(FFs, "C:\\ro\\sub\\a.txt"), "a");
  EXPECT_EQ(FFs.CopyFile("C:\\ro\\sub\\a.txt", "C:\\a.txt", false), kErrNone);
  EXPECT_EQ(FFs.CreateDir("C:\\elsewhere"), kErrNone);

  FFs.SetWriteProtected("C:\\ro", false);
  EXPECT_EQ(FFs.CreateDir("C:\\ro\\new"), kErrNone);
}

TEST_F(MemoryFaults, WriteProtectedTopFolderMakesAReadOnlyMedium) {
  FFs.SetWriteProtected("D:\\", true);
  EXPECT_EQ(FFs.CreateDir("D:\\new"), kErrAccessDenied);
  EXPECT_EQ(FFs.CreateDir("C:\\new"), kErrNone);
}

TEST_F(MemoryFaults, CopyFaultLetsTheFirstCopiesThroughAndLeavesLaterTargetsAlone) {
  FFs.WriteFile("D:\\src.txt", "s");
  FFs.FailCopiesAfter(2, 23);
  EXPECT_EQ(FFs.CopyFile("D:\\missing.txt", "C:\\0.txt", false), kErrFileNotFound);
  EXPECT_EQ(FFs.CopyFile("D:\\src.txt", "C:\\1.txt", false), kErrNone);
  EXPECT_EQ(FFs.CopyFile("D:\\src.txt", "C:\\2.txt", false), kErrNone);
  EXPECT_EQ(FFs.CopyFile("D:\\src.txt", "C:\\3.txt", false), 23u);
  EXPECT_FALSE(FFs.FileExists("C:\\3.txt"));
  FFs.WriteFile("C:\\4.txt", "old");
  EXPECT_EQ(FFs.CopyFile("D:\\src.txt", "C:\\4.txt", false), 23u);
  EXPECT_EQ(FFs.ReadBack("C:\\4.txt"), "old");

  FFs.ClearCopyFault();
  EXPECT_EQ(FFs.CopyFile("D:\\src.txt", "C:\\3.txt", false), kErrNone);
}

TEST_F(MemoryFaults, FullDiskWritesWhatFitsAndFailsWithDiskFull) {
  FFs.WriteFile("D:\\four", "1234");
  FFs.WriteFile("D:\\ten", "0123456789");
  FFs.SetFreeSpace('C', 10);
  EXPECT_EQ(FFs.CopyFile("D:\\four", "C:\\four", false), kErrNone);
  EXPECT_EQ(FFs.CopyFile("D:\\ten", "C:\\ten", false), kErrDiskFull);
  EXPECT_EQ(FFs.ReadBack("C:\\ten"), "012345");
  EXPECT_EQ(FFs.CopyFile("D:\\four", "C:\\more", false), kErrDiskFull);
  EXPECT_EQ(FFs.ReadBack("C:\\more"), "");

  FFs.ClearFreeSpace('C');
  EXPECT_EQ(FFs.CopyFile("D:\\ten", "C:\\ten", false), kErrNone);
  EXPECT_EQ(FFs.ReadBack("C:\\ten"), "0123456789");
}

TEST_F(MemoryFaults, ReplacingAFileGivesItsSpaceBackAndOtherDrivesHaveTheirOwn) {
  FFs.WriteFile("D:\\ten", "0123456789");
  FFs.WriteFile("C:\\old", "12345678");
  FFs.SetFreeSpace('C', 2);
  EXPECT_EQ(FFs.CopyFile("D:\\ten", "C:\\old", false), kErrNone);
  EXPECT_EQ(FFs.ReadBack("C:\\old"), "0123456789");
  FFs.AddDrive('E');
  EXPECT_EQ(FFs.CopyFile("D:\\ten", "E:\\ten", false), kErrNone);
  EXPECT_EQ(FFs.CopyFile("D:\\ten", "C:\\new", false), kErrDiskFull);
}

using MemoryCopy = MemoryFsTest;

// A copy's bytes sit in the cache until a power cut takes them; a replace flushed its file
// before it moved it, so the name keeps the new bytes.
TEST_F(MemoryFaults, PowerCutEmptiesCopiedFilesButNotReplacedOnes) {
  FFs.WriteFile("D:\\new.txt", "new bytes");
  FFs.WriteFile("C:\\set-up.txt", "set up");
  FFs.WriteFile("C:\\over.txt", "old bytes");
  FFs.WriteFile("C:\\replaced.txt", "old bytes");
  ASSERT_EQ(FFs.CopyFile("D:\\new.txt", "C:\\copied.txt", true), kErrNone);
  ASSERT_EQ(FFs.CopyFile("D:\\new.txt", "C:\\over.txt", false), kErrNone);
  ASSERT_EQ(FFs.CopyFile("D:\\new.txt", "C:\\new.tmp", true), kErrNone);
  ASSERT_EQ(FFs.ReplaceFile("C:\\replaced.txt", "C:\\new.tmp"), kErrNone);
  FFs.SetFreeSpace('C', 0);
  FFs.CutPower();
  const std::vector<std::pair<std::string, std::string>> after = {
      {"C:\\copied.txt", ""},        {"C:\\over.txt", ""},
      {"C:\\replaced.txt", "new bytes"}, {"C:\\set-up.txt", "set up"},
      {"D:\\new.txt", "new bytes"},
  };
  for (const auto& [path, bytes] : after)
    EXPECT_EQ(Read(FFs, path), bytes) << path;
  // What the cut took is free again.
  EXPECT_EQ(FFs.CopyFile("C:\\set-up.txt", "C:\\again.txt", true), kErrNone);
}

TEST_F(MemoryCopy, TargetGetsTheSourceAttributesAndTheArchiveBit) {
  FFs.WriteFile("D:\\sys.dat", "s");
  FFs.SetAttributes("D:\\sys.dat", faHidden | faSysFile);
  ASSERT_EQ(FFs.CopyFile("D:\\sys.dat", "C:\\sys.dat", false), kErrNone);
  EXPECT_EQ(FFs.GetAttributes("C:\\sys.dat"), faHidden | faSysFile | faArchive);
}

TEST_F(MemoryCopy, ReadOnlyTargetIsNotReplaced) {
  FFs.WriteFile("D:\\new.txt", "new");
  FFs.WriteFile("C:\\old.txt", "old");
  FFs.SetAttributes("C:\\old.txt", faReadOnly);
  EXPECT_EQ(FFs.CopyFile("D:\\new.txt", "C:\\old.txt", false), kErrAccessDenied);
  EXPECT_EQ(FFs.ReadBack("C:\\old.txt"), "old");
}

TEST_F(MemoryCopy, HiddenTargetIsReplacedOnlyByAHiddenSource) {
  FFs.WriteFile("D:\\plain.ini", "plain");
  FFs.WriteFile("D:\\hidden.ini", "hidden");
  FFs.SetAttributes("D:\\hidden.ini", faHidden);
  FFs.WriteFile("C:\\desktop.ini", "old");
  FFs.SetAttributes("C:\\desktop.ini", faHidden);
  EXPECT_EQ(FFs.CopyFile("D:\\plain.ini", "C:\\desktop.ini", false), kErrAccessDenied);
  EXPECT_EQ(FFs.CopyFile("D:\\hidden.ini", "C:\\desktop.ini", false), kErrNone);
  EXPECT_EQ(FFs.ReadBack("C:\\desktop.ini"), "hidden");
}

TEST_F(MemoryCopy, PathsEndingInABackslashAreNotFileNames) {
  FFs.WriteFile("C:\\a.txt", "a");
  EXPECT_EQ(FFs.CopyFile("C:\\a.txt\\", "C:\\b.txt", false), kErrInvalidName);
  EXPECT_EQ(FFs.CopyFile("C:\\a.txt", "C:\\b\\", false), kErrInvalidName);
  EXPECT_EQ(FFs.CopyFile("C:\\a.txt", "C:\\", false), kErrAccessDenied);
  uint32_t error = kErrNone;
  EXPECT_EQ(FFs.OpenRead("C:\\a.txt\\", error), nullptr);
  EXPECT_EQ(error, kErrInvalidName);
}

using MemoryCurrentDir = MemoryFsTest;

TEST_F(MemoryCurrentDir, EachDriveKeepsItsOwnCurrentFolder) {
  FFs.MakeDir("D:\\games");
  FFs.MakeDir("C:\\work");
  ASSERT_EQ(FFs.SetCurrentDir("D:\\games"), kErrNone);
  ASSERT_EQ(FFs.SetCurrentDir("C:\\work"), kErrNone);
  EXPECT_EQ(FFs.GetCurrentDir(), "C:\\work");
  EXPECT_EQ(FFs.GetCurrentDir('D'), "D:\\games");
  EXPECT_EQ(FFs.GetCurrentDir('d'), "D:\\games");
  EXPECT_EQ(FFs.FullPath("D:x"), "D:\\games\\x");
  EXPECT_EQ(FFs.FullPath("D:"), "D:\\games");
  EXPECT_EQ(FFs.FullPath("D:.."), "D:\\");

  ASSERT_EQ(FFs.SetCurrentDir("D:"), kErrNone);
  EXPECT_EQ(FFs.GetCurrentDir(), "D:\\games");
  EXPECT_EQ(FFs.GetCurrentDir('C'), "C:\\work");
  EXPECT_EQ(FFs.FullPath("\\x"), "D:\\x");
}

TEST_F(MemoryCurrentDir, KeepsTheLetterCaseItWasGiven) {
  FFs.MakeDir("C:\\Work\\Sub");
  ASSERT_EQ(FFs.SetCurrentDir("c:\\WORK"), kErrNone);
  EXPECT_EQ(FFs.GetCurrentDir(), "c:\\WORK");
  ASSERT_EQ(FFs.SetCurrentDir("sub"), kErrNone);
  EXPECT_EQ(FFs.GetCurrentDir(), "c:\\WORK\\sub");
}

TEST_F(MemoryCurrentDir, FolderReachedThroughAFileIsPathNotFound) {
  FFs.WriteFile("C:\\a.txt", "");
  EXPECT_EQ(FFs.SetCurrentDir("C:\\a.txt\\x"), kErrPathNotFound);
}

using MemoryFullPath = MemoryFsTest;

TEST_F(MemoryFullPath, DotsAndSpacesThatEndNamesAreDropped) {
  EXPECT_EQ(FFs.FullPath("C:\\a.\\b"), "C:\\a\\b");
  EXPECT_EQ(FFs.FullPath("C:\\a\\b. ."), "C:\\a\\b");
  EXPECT_EQ(FFs.FullPath("C:\\..\\.."), "C:\\");
  EXPECT_EQ(FFs.FullPath(""), "");
}

using MemorySetup = MemoryFsTest;

TEST_F(MemorySetup, WritingAFileCreatesTheFoldersOnItsPath) {
  FFs.WriteFile("C:/deep/er/file.bin", std::string("\0\1", 2));
  EXPECT_TRUE(FFs.DirExists("C:\\deep\\er"));
  EXPECT_EQ(FFs.ReadBack("C:\\DEEP\\ER\\FILE.BIN"), std::string("\0\1", 2));
  EXPECT_EQ(FFs.GetAttributes("C:\\deep\\er\\file.bin"), faArchive);
  EXPECT_EQ(FFs.GetAttributes("C:\\deep"), faDirectory);
}

TEST_F(MemorySetup, SettingAttributesKeepsWhetherTheEntryIsAFolder) {
  FFs.MakeDir("C:\\dir");
  FFs.WriteFile("C:\\file", "");
  FFs.SetAttributes("C:\\dir", faHidden);
  FFs.SetAttributes("C:\\file", faDirectory | faSysFile);
  EXPECT_EQ(FFs.GetAttributes("C:\\dir"), faDirectory | faHidden);
  EXPECT_EQ(FFs.GetAttributes("C:\\file"), faSysFile);
  FFs.SetAttributes("C:\\file", 0);
  EXPECT_EQ(FFs.GetAttributes("C:\\file"), 0u);
}

TEST_F(MemorySetup, PathsTheSetUpCannotUseAreRefused) {
  FFs.WriteFile("C:\\file", "");
  EXPECT_THROW(FFs.WriteFile("relative.txt", ""), std::invalid_argument);
  EXPECT_THROW(FFs.WriteFile("Q:\\x.txt", ""), std::invalid_argument);
  EXPECT_THROW(FFs.WriteFile("C:\\file\\x.txt", ""), std::invalid_argument);
  EXPECT_THROW(FFs.WriteFile("C:\\", ""), std::invalid_argument);
  EXPECT_THROW(FFs.MakeDir("C:\\file"), std::invalid_argument);
  EXPECT_THROW(FFs.ReadBack("C:\\"), std::invalid_argument);
  EXPECT_THROW(FFs.ReadBack("C:\\missing"), std::invalid_argument);
  EXPECT_THROW(FFs.Remove("C:\\"), std::invalid_argument);
  EXPECT_THROW(FFs.SetDriveReady('Q', false), std::invalid_argument);
}

}  // namespace
}  // namespace foyer
