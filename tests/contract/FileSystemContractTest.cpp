// What every file system must answer alike: run natively on the in-memory one and on Linux
// folders, and under Wine on the real one, over a scratch folder that each of the build's
// ContractBeds provides.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <tuple>
#include <vector>

#include "contract/ContractBed.h"
#include "platform/Platform.h"

namespace foyer::test {
namespace {

const NamedBed& BedOf(const NamedBed& bed) {
  return bed;
}

template <typename Rest>
const NamedBed& BedOf(const std::tuple<NamedBed, Rest>& param) {
  return std::get<0>(param);
}

template <typename Param>
std::string TestName(const testing::TestParamInfo<Param>& info) {
  return BedOf(info.param).Name;
}

// Each test runs on every bed, the bed given by the test's parameter.
template <typename Param>
class ContractFixture : public testing::TestWithParam<Param> {
 protected:
  void SetUp() override {
    FBed = BedOf(this->GetParam()).Make();
    FRoot = FBed->Root();
    FSavedDir = Fs().GetCurrentDir();
  }

  // The bed removes its scratch folder afterwards, which must not be left current.
  void TearDown() override { Fs().SetCurrentDir(FSavedDir); }

  IFileSystem& Fs() { return FBed->Fs(); }
  ContractBed& Bed() { return *FBed; }
  std::string At(const std::string& relative) const { return FRoot + relative; }
  // The scratch folder without its trailing backslash, as the current folder is given.
  std::string RootDir() const { return FRoot.substr(0, FRoot.size() - 1); }
  char DriveLetter() const { return FRoot[0]; }
  std::string DriveTop() const { return FRoot.substr(0, 3); }

  void MakeFiles(const std::vector<std::string>& names) {
    for (const auto& name : names)
      Bed().MakeFile(At(name), "x");
  }

  // Enumeration order belongs to the file system, so names are compared sorted.
  static std::vector<std::string> SortedNames(const FindResult& found) {
    std::vector<std::string> names;
    for (const auto& entry : found.Entries)
      names.push_back(entry.Name);
    std::sort(names.begin(), names.end());
    return names;
  }

  static const DirEntry* EntryNamed(const FindResult& found, const std::string& name) {
    for (const auto& entry : found.Entries) {
      if (entry.Name == name) return &entry;
    }
    return nullptr;
  }

  // Hidden and system bits where the bed can set them.
  bool CanHide() { return FBed->CanHide(); }

  std::string ReadAll(const std::string& path) {
    std::string content;
    EXPECT_EQ(ReadWholeFile(Fs(), path, content), kErrNone) << path;
    return content;
  }

 private:
  std::unique_ptr<ContractBed> FBed;
  std::string FRoot;
  std::string FSavedDir;
};

using ContractTest = ContractFixture<NamedBed>;
using Names = std::vector<std::string>;
constexpr char kCannotHide[] = "the bed's file system keeps no hidden or system bits";

// Runs the fixture's tests on every bed of the build.
#define CONTRACT_SUITE(Suite) \
  INSTANTIATE_TEST_SUITE_P(Beds, Suite, testing::ValuesIn(ContractBeds()), TestName<NamedBed>)

using ContractEnumerate = ContractTest;
CONTRACT_SUITE(ContractEnumerate);

TEST_P(ContractEnumerate, MatchesExtensionsWithoutRegardToCaseAndKeepsStoredCase) {
  MakeFiles({"A.WAV", "b.wav", "c.Mid", "SONG.MID", "notes.txt"});
  const FindResult waves = Fs().Enumerate(At("*.wav"));
  EXPECT_EQ(waves.Error, kErrNone);
  EXPECT_EQ(SortedNames(waves), (Names{"A.WAV", "b.wav"}));
  EXPECT_EQ(SortedNames(Fs().Enumerate(At("*.Mid"))), (Names{"SONG.MID", "c.Mid"}));
}

TEST_P(ContractEnumerate, StarDotStarAlsoFindsNamesWithoutADot) {
  MakeFiles({"README", "setup.exe"});
  EXPECT_EQ(SortedNames(Fs().Enumerate(At("*.*"))), (Names{".", "..", "README", "setup.exe"}));
}

TEST_P(ContractEnumerate, ThreeLetterExtensionAlsoFindsLongerExtensionStartingWithIt) {
  MakeFiles({"x.wave", "y.wav", "z.wa", "w.awav"});
  EXPECT_EQ(SortedNames(Fs().Enumerate(At("*.wav"))), (Names{"x.wave", "y.wav"}));
}

TEST_P(ContractEnumerate, QuestionMarkStandsForExactlyOneCharacterInsideAName) {
  MakeFiles({"a1.txt", "a22.txt", "b1.txt"});
  EXPECT_EQ(SortedNames(Fs().Enumerate(At("a?.txt"))), (Names{"a1.txt"}));
  EXPECT_EQ(SortedNames(Fs().Enumerate(At("?1.txt"))), (Names{"a1.txt", "b1.txt"}));
}

TEST_P(ContractEnumerate, NameWithoutWildcardsFindsThatEntryInItsStoredCase) {
  Bed().MakeFile(At("Setup.EXE"), "MZ\x90");
  const FindResult found = Fs().Enumerate(At("setup.exe"));
  ASSERT_EQ(found.Error, kErrNone);
  ASSERT_EQ(found.Entries.size(), 1u);
  EXPECT_EQ(found.Entries[0].Name, "Setup.EXE");
  EXPECT_EQ(found.Entries[0].Size, 3u);
  EXPECT_EQ(found.Entries[0].Attr & faDirectory, 0u);
}

TEST_P(ContractEnumerate, SubFolderListsDotEntriesAndMarksFoldersOnly) {
  Bed().MakeDir(At("Sub"));
  Bed().MakeFile(At("file.txt"), "hello");
  const FindResult found = Fs().Enumerate(At("*"));
  ASSERT_EQ(found.Error, kErrNone);
  EXPECT_EQ(SortedNames(found), (Names{".", "..", "Sub", "file.txt"}));
  for (const char* folder : {".", "..", "Sub"}) {
    ASSERT_NE(EntryNamed(found, folder), nullptr) << folder;
    EXPECT_NE(EntryNamed(found, folder)->Attr & faDirectory, 0u) << folder;
  }
  EXPECT_EQ(EntryNamed(found, "file.txt")->Attr & faDirectory, 0u);
  EXPECT_EQ(EntryNamed(found, "file.txt")->Size, 5u);
}

TEST_P(ContractEnumerate, NoMatchIsFileNotFound) {
  MakeFiles({"a.txt"});
  const FindResult found = Fs().Enumerate(At("*.xyz"));
  EXPECT_EQ(found.Error, kErrFileNotFound);
  EXPECT_TRUE(found.Entries.empty());
}

TEST_P(ContractEnumerate, MissingFolderIsPathNotFound) {
  EXPECT_EQ(Fs().Enumerate(At("missing\\*")).Error, kErrPathNotFound);
  EXPECT_EQ(Fs().Enumerate(At("missing\\deeper\\*.*")).Error, kErrPathNotFound);
}

TEST_P(ContractEnumerate, SlashesSeparateFoldersAsBackslashesDo) {
  Bed().MakeDir(At("Sub"));
  Bed().MakeFile(At("Sub\\inner.txt"), "x");
  EXPECT_EQ(SortedNames(Fs().Enumerate(At("Sub/*.txt"))), (Names{"inner.txt"}));
}

using ContractFindFiles = ContractTest;
CONTRACT_SUITE(ContractFindFiles);

TEST_P(ContractFindFiles, HiddenAndSystemFilesOnlyWhenAskedFor) {
  if (!CanHide()) GTEST_SKIP() << kCannotHide;
  MakeFiles({"plain.txt", "hidden.txt", "system.txt"});
  Bed().SetAttributes(At("hidden.txt"), faHidden);
  Bed().SetAttributes(At("system.txt"), faSysFile);
  EXPECT_EQ(SortedNames(FindFiles(Fs(), At("*.txt"), 0)), (Names{"plain.txt"}));
  EXPECT_EQ(SortedNames(FindFiles(Fs(), At("*.txt"), faHidden)),
            (Names{"hidden.txt", "plain.txt"}));
  EXPECT_EQ(SortedNames(FindFiles(Fs(), At("*.txt"), faHidden | faSysFile)),
            (Names{"hidden.txt", "plain.txt", "system.txt"}));
  const FindResult all = FindFiles(Fs(), At("*.txt"), faAnyFile);
  ASSERT_NE(EntryNamed(all, "hidden.txt"), nullptr);
  EXPECT_NE(EntryNamed(all, "hidden.txt")->Attr & faHidden, 0u);
}

TEST_P(ContractFindFiles, FoldersOnlyWithTheDirectoryBit) {
  Bed().MakeDir(At("Sub"));
  MakeFiles({"file.txt"});
  EXPECT_EQ(SortedNames(FindFiles(Fs(), At("*"), 0)), (Names{"file.txt"}));
  EXPECT_EQ(SortedNames(FindFiles(Fs(), At("*"), faDirectory)),
            (Names{".", "..", "Sub", "file.txt"}));
}

TEST_P(ContractFindFiles, HiddenFolderNeedsTheHiddenBitToo) {
  if (!CanHide()) GTEST_SKIP() << kCannotHide;
  Bed().MakeDir(At("Secret"));
  Bed().SetAttributes(At("Secret"), faHidden);
  EXPECT_EQ(SortedNames(FindFiles(Fs(), At("S*"), faDirectory)), Names{});
  EXPECT_EQ(SortedNames(FindFiles(Fs(), At("S*"), faDirectory | faHidden)), (Names{"Secret"}));
}

TEST_P(ContractFindFiles, NothingLeftByTheFilterIsFileNotFound) {
  if (!CanHide()) GTEST_SKIP() << kCannotHide;
  MakeFiles({"only.txt"});
  Bed().SetAttributes(At("only.txt"), faHidden);
  const FindResult found = FindFiles(Fs(), At("*.txt"), 0);
  EXPECT_EQ(found.Error, kErrFileNotFound);
  EXPECT_TRUE(found.Entries.empty());
}

using ContractFolders = ContractTest;
CONTRACT_SUITE(ContractFolders);

TEST_P(ContractFolders, FileExistsOnlyForFilesAndDirExistsOnlyForFolders) {
  Bed().MakeDir(At("Sub"));
  MakeFiles({"File.txt"});
  EXPECT_FALSE(Fs().FileExists(At("Sub")));
  EXPECT_TRUE(Fs().DirExists(At("Sub")));
  EXPECT_TRUE(Fs().DirExists(At("Sub\\")));
  EXPECT_TRUE(Fs().FileExists(At("File.txt")));
  EXPECT_TRUE(Fs().FileExists(At("FILE.TXT")));
  EXPECT_FALSE(Fs().DirExists(At("File.txt")));
  EXPECT_FALSE(Fs().FileExists(At("missing.txt")));
  EXPECT_FALSE(Fs().DirExists(At("missing")));
  EXPECT_FALSE(Fs().FileExists(At("missing\\File.txt")));
  EXPECT_FALSE(Fs().FileExists(At("File.txt\\")));
  EXPECT_TRUE(Fs().DirExists(DriveTop()));
}

TEST_P(ContractFolders, CreateDirMakesAFolderTheParentLists) {
  EXPECT_EQ(Fs().CreateDir(At("New")), kErrNone);
  EXPECT_TRUE(Fs().DirExists(At("New")));
  EXPECT_EQ(Fs().CreateDir(At("Other\\")), kErrNone);
  EXPECT_TRUE(Fs().DirExists(At("Other")));
  const FindResult found = FindFiles(Fs(), At("*"), faDirectory);
  EXPECT_EQ(SortedNames(found), (Names{".", "..", "New", "Other"}));
}

TEST_P(ContractFolders, CreateDirOfAnExistingNameIsAlreadyExists) {
  Bed().MakeDir(At("Sub"));
  MakeFiles({"file.txt"});
  EXPECT_EQ(Fs().CreateDir(At("Sub")), kErrAlreadyExists);
  EXPECT_EQ(Fs().CreateDir(At("SUB")), kErrAlreadyExists);
  EXPECT_EQ(Fs().CreateDir(At("file.txt")), kErrAlreadyExists);
}

TEST_P(ContractFolders, CreateDirWithAMissingParentIsPathNotFound) {
  EXPECT_EQ(Fs().CreateDir(At("missing\\New")), kErrPathNotFound);
  EXPECT_FALSE(Fs().DirExists(At("missing")));
}

TEST_P(ContractFolders, NameWithAWildcardIsInvalid) {
  EXPECT_EQ(Fs().CreateDir(At("a*b")), kErrInvalidName);
  EXPECT_EQ(Fs().CreateDir(At("a?b")), kErrInvalidName);
}

// Every rule of the copy holds alike for the system's plain copy and for the one that reports
// chunks.
using CopyParam = std::tuple<NamedBed, bool>;

class ContractCopy : public ContractFixture<CopyParam>, private ICopyChunks {
 protected:
  uint32_t Copy(const std::string& source, const std::string& target, bool failIfExists) {
    return Fs().CopyFile(source, target, failIfExists, std::get<1>(GetParam()) ? this : nullptr);
  }

 private:
  bool ChunkCopied(uint64_t, uint64_t) override { return true; }
};

TEST_P(ContractCopy, CopyGivesTheTargetTheSourceBytes) {
  const std::string bytes("a\0b\xff\r\n", 6);
  Bed().MakeFile(At("source.dat"), bytes);
  EXPECT_EQ(Copy(At("source.dat"), At("target.dat"), true), kErrNone);
  EXPECT_EQ(ReadAll(At("target.dat")), bytes);
  EXPECT_EQ(ReadAll(At("source.dat")), bytes);
}

TEST_P(ContractCopy, CopyReplacesAnExistingTargetUnlessToldNotTo) {
  Bed().MakeFile(At("new.txt"), "new");
  Bed().MakeFile(At("old.txt"), "old contents");
  EXPECT_EQ(Copy(At("new.txt"), At("old.txt"), true), kErrFileExists);
  EXPECT_EQ(ReadAll(At("old.txt")), "old contents");
  EXPECT_EQ(Copy(At("new.txt"), At("old.txt"), false), kErrNone);
  EXPECT_EQ(ReadAll(At("old.txt")), "new");
}

TEST_P(ContractCopy, ReplacedTargetKeepsTheNameItWasStoredUnder) {
  Bed().MakeFile(At("new.txt"), "new");
  Bed().MakeFile(At("OLD.TXT"), "old");
  EXPECT_EQ(Copy(At("new.txt"), At("old.txt"), false), kErrNone);
  EXPECT_EQ(SortedNames(Fs().Enumerate(At("o*"))), (Names{"OLD.TXT"}));
  EXPECT_EQ(ReadAll(At("OLD.TXT")), "new");
}

TEST_P(ContractCopy, CopyKeepsTheSourceHiddenAndReadOnlyBits) {
  if (!CanHide()) GTEST_SKIP() << kCannotHide;
  MakeFiles({"secret.txt", "fixed.txt"});
  Bed().SetAttributes(At("secret.txt"), faHidden);
  Bed().SetAttributes(At("fixed.txt"), faReadOnly);
  ASSERT_EQ(Copy(At("secret.txt"), At("copy1.txt"), true), kErrNone);
  ASSERT_EQ(Copy(At("fixed.txt"), At("copy2.txt"), true), kErrNone);
  const FindResult found = FindFiles(Fs(), At("copy*"), faAnyFile);
  ASSERT_EQ(SortedNames(found), (Names{"copy1.txt", "copy2.txt"}));
  EXPECT_EQ(EntryNamed(found, "copy1.txt")->Attr & (faHidden | faReadOnly), faHidden);
  EXPECT_EQ(EntryNamed(found, "copy2.txt")->Attr & (faHidden | faReadOnly), faReadOnly);
}

TEST_P(ContractCopy, CopyOntoItselfIsRefused) {
  Bed().MakeFile(At("a.txt"), "same");
  EXPECT_EQ(Copy(At("a.txt"), At("A.TXT"), false), kErrSharingViolation);
  EXPECT_EQ(Copy(At("a.txt"), At("A.TXT"), true), kErrFileExists);
  EXPECT_EQ(ReadAll(At("a.txt")), "same");
}

TEST_P(ContractCopy, FoldersAreNeitherCopiedNorReplaced) {
  Bed().MakeDir(At("Sub"));
  MakeFiles({"a.txt"});
  EXPECT_EQ(Copy(At("Sub"), At("b.txt"), false), kErrAccessDenied);
  EXPECT_EQ(Copy(At("a.txt"), At("Sub"), false), kErrAccessDenied);
  EXPECT_TRUE(Fs().DirExists(At("Sub")));
  EXPECT_FALSE(Fs().FileExists(At("b.txt")));
}

TEST_P(ContractCopy, MissingSourceIsFileNotFoundAndMissingTargetFolderIsPathNotFound) {
  MakeFiles({"a.txt"});
  EXPECT_EQ(Copy(At("missing.txt"), At("b.txt"), false), kErrFileNotFound);
  EXPECT_FALSE(Fs().FileExists(At("b.txt")));
  EXPECT_EQ(Copy(At("a.txt"), At("missing\\b.txt"), false), kErrPathNotFound);
  EXPECT_FALSE(Fs().DirExists(At("missing")));
}

INSTANTIATE_TEST_SUITE_P(Plain, ContractCopy,
                         testing::Combine(testing::ValuesIn(ContractBeds()),
                                          testing::Values(false)),
                         TestName<CopyParam>);
INSTANTIATE_TEST_SUITE_P(Reporting, ContractCopy,
                         testing::Combine(testing::ValuesIn(ContractBeds()), testing::Values(true)),
                         TestName<CopyParam>);

// A reporting copy that records each report and cancels at the one given (0: never).
class ChunkRecorder final : public ICopyChunks {
 public:
  explicit ChunkRecorder(size_t cancelAt = 0) : FCancelAt(cancelAt) {}
  bool ChunkCopied(uint64_t bytesDone, uint64_t fileSize) override {
    Reports.emplace_back(bytesDone, fileSize);
    return Reports.size() != FCancelAt;
  }
  std::vector<std::pair<uint64_t, uint64_t>> Reports;

 private:
  size_t FCancelAt;
};

using ContractChunks = ContractTest;
CONTRACT_SUITE(ContractChunks);

TEST_P(ContractChunks, EachChunkIsReportedAndTheCopyIsWhole) {
  const std::string bytes(2 * kCopyChunkSize + 5, 'z');
  Bed().MakeFile(At("big.bin"), bytes);
  ChunkRecorder recorder;
  EXPECT_EQ(Fs().CopyFile(At("big.bin"), At("copy.bin"), false, &recorder), kErrNone);
  using Report = std::pair<uint64_t, uint64_t>;
  const uint64_t size = bytes.size();
  EXPECT_EQ(
      recorder.Reports,
      (std::vector<Report>{{kCopyChunkSize, size}, {2 * kCopyChunkSize, size}, {size, size}}));
  EXPECT_EQ(ReadAll(At("copy.bin")), bytes);
}

TEST_P(ContractChunks, CancelledCopyLeavesNoFileUnderTheTargetName) {
  const std::string bytes(3 * kCopyChunkSize, 'z');
  Bed().MakeFile(At("big.bin"), bytes);
  Bed().MakeFile(At("old.bin"), "old");
  for (const char* target : {"new.bin", "old.bin"}) {
    ChunkRecorder recorder(1);
    EXPECT_EQ(Fs().CopyFile(At("big.bin"), At(target), false, &recorder), kErrRequestAborted)
        << target;
    EXPECT_EQ(recorder.Reports.size(), 1u) << target;
    EXPECT_FALSE(Fs().FileExists(At(target))) << target;
  }
  EXPECT_EQ(ReadAll(At("big.bin")), bytes);
}

TEST_P(ContractChunks, ReadOnlySourceGivesAReadOnlyCopyThatACancelStillRemoves) {
  Bed().MakeFile(At("fixed.bin"), std::string(2 * kCopyChunkSize, 'r'));
  Bed().SetAttributes(At("fixed.bin"), faReadOnly);
  ChunkRecorder cancelling(1);
  EXPECT_EQ(Fs().CopyFile(At("fixed.bin"), At("gone.bin"), false, &cancelling), kErrRequestAborted);
  EXPECT_FALSE(Fs().FileExists(At("gone.bin")));
  ChunkRecorder whole;
  EXPECT_EQ(Fs().CopyFile(At("fixed.bin"), At("kept.bin"), false, &whole), kErrNone);
  const FindResult found = FindFiles(Fs(), At("kept.bin"), faAnyFile);
  ASSERT_EQ(found.Entries.size(), 1u);
  EXPECT_EQ(found.Entries[0].Attr & faReadOnly, faReadOnly);
}

TEST_P(ContractChunks, DeleteFileRemovesFilesOnly) {
  MakeFiles({"a.txt"});
  Bed().MakeDir(At("Sub"));
  EXPECT_EQ(Fs().DeleteFile(At("A.TXT")), kErrNone);
  EXPECT_FALSE(Fs().FileExists(At("a.txt")));
  EXPECT_EQ(Fs().DeleteFile(At("a.txt")), kErrFileNotFound);
  EXPECT_EQ(Fs().DeleteFile(At("Sub")), kErrAccessDenied);
  EXPECT_TRUE(Fs().DirExists(At("Sub")));
}

using ContractReplace = ContractTest;
CONTRACT_SUITE(ContractReplace);

TEST_P(ContractReplace, ReplacementTakesThePlaceWithItsBytesAndBits) {
  if (!CanHide()) GTEST_SKIP() << kCannotHide;
  Bed().MakeFile(At("OLD.TXT"), "old contents");
  Bed().MakeFile(At("new.tmp"), "new");
  Bed().SetAttributes(At("new.tmp"), faHidden | faReadOnly);
  EXPECT_EQ(Fs().ReplaceFile(At("OLD.TXT"), At("new.tmp")), kErrNone);
  const FindResult found = FindFiles(Fs(), At("*"), faAnyFile);
  ASSERT_EQ(SortedNames(found), (Names{".", "..", "OLD.TXT"}));
  EXPECT_EQ(EntryNamed(found, "OLD.TXT")->Attr & (faHidden | faReadOnly), faHidden | faReadOnly);
  EXPECT_EQ(ReadAll(At("OLD.TXT")), "new");
}

TEST_P(ContractReplace, FailedReplaceKeepsTheReplacedAndRemovesTheReplacement) {
  Bed().MakeFile(At("fixed.txt"), "fixed");
  Bed().SetAttributes(At("fixed.txt"), faReadOnly);
  Bed().MakeDir(At("Sub"));
  const std::vector<std::pair<const char*, uint32_t>> cases = {{"fixed.txt", kErrAccessDenied},
                                                               {"missing.txt", kErrFileNotFound},
                                                               {"Sub", kErrAccessDenied}};
  for (const auto& [replaced, error] : cases) {
    Bed().MakeFile(At("new.tmp"), "new");
    Bed().SetAttributes(At("new.tmp"), faReadOnly);
    EXPECT_EQ(Fs().ReplaceFile(At(replaced), At("new.tmp")), error) << replaced;
    EXPECT_EQ(SortedNames(FindFiles(Fs(), At("*"), faAnyFile)),
              (Names{".", "..", "Sub", "fixed.txt"}));
  }
  EXPECT_EQ(ReadAll(At("fixed.txt")), "fixed");
}

using ContractRead = ContractTest;
CONTRACT_SUITE(ContractRead);

TEST_P(ContractRead, ReadWholeFileGivesEveryByteOfAFileLargerThanOneRead) {
  std::string bytes(200000, '\0');
  for (size_t index = 0; index < bytes.size(); ++index) {
    bytes[index] = static_cast<char>(index * 7 % 251);
  }
  Bed().MakeFile(At("big.bin"), bytes);
  EXPECT_EQ(ReadAll(At("big.bin")), bytes);
}

TEST_P(ContractRead, OpenReadReportsTheSizeSeeksBackAndEmptyFilesReadEmpty) {
  Bed().MakeFile(At("five.txt"), "12345");
  Bed().MakeFile(At("empty.txt"), "");
  uint32_t error = kErrAccessDenied;
  auto file = Fs().OpenRead(At("five.txt"), error);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(error, kErrNone);
  EXPECT_EQ(file->Size(), 5u);
  char buffer[8];
  size_t got = 0;
  EXPECT_EQ(file->Read(buffer, 3, got), kErrNone);
  EXPECT_EQ(std::string(buffer, got), "123");
  EXPECT_EQ(file->Read(buffer, sizeof buffer, got), kErrNone);
  EXPECT_EQ(std::string(buffer, got), "45");
  EXPECT_EQ(file->Read(buffer, sizeof buffer, got), kErrNone);
  EXPECT_EQ(got, 0u);
  // A second pass over the same bytes, as a loader that retries in another format makes.
  EXPECT_EQ(file->Seek(1), kErrNone);
  EXPECT_EQ(file->Read(buffer, sizeof buffer, got), kErrNone);
  EXPECT_EQ(std::string(buffer, got), "2345");
  std::string content = "stale";
  EXPECT_EQ(ReadWholeFile(Fs(), At("empty.txt"), content), kErrNone);
  EXPECT_EQ(content, "");
}

TEST_P(ContractRead, MissingFileIsFileNotFoundAndMissingFolderIsPathNotFound) {
  uint32_t error = kErrNone;
  EXPECT_EQ(Fs().OpenRead(At("missing.txt"), error), nullptr);
  EXPECT_EQ(error, kErrFileNotFound);
  EXPECT_EQ(Fs().OpenRead(At("missing\\a.txt"), error), nullptr);
  EXPECT_EQ(error, kErrPathNotFound);
  std::string content;
  EXPECT_EQ(ReadWholeFile(Fs(), At("missing.txt"), content), kErrFileNotFound);
}

TEST_P(ContractRead, FolderCannotBeOpenedAsAFile) {
  Bed().MakeDir(At("Sub"));
  uint32_t error = kErrNone;
  EXPECT_EQ(Fs().OpenRead(At("Sub"), error), nullptr);
  EXPECT_EQ(error, kErrAccessDenied);
}

using ContractCurrentDir = ContractTest;
CONTRACT_SUITE(ContractCurrentDir);

TEST_P(ContractCurrentDir, SetFolderIsCurrentForTheProcessAndItsDrive) {
  Bed().MakeDir(At("Sub"));
  ASSERT_EQ(Fs().SetCurrentDir(At("Sub")), kErrNone);
  EXPECT_EQ(Fs().GetCurrentDir(), At("Sub"));
  EXPECT_EQ(Fs().GetCurrentDir(DriveLetter()), At("Sub"));
  ASSERT_EQ(Fs().SetCurrentDir(At("Sub\\")), kErrNone);
  EXPECT_EQ(Fs().GetCurrentDir(), At("Sub"));
}

TEST_P(ContractCurrentDir, RelativeNamesMoveFromTheCurrentFolder) {
  Bed().MakeDir(At("Sub"));
  ASSERT_EQ(Fs().SetCurrentDir(RootDir()), kErrNone);
  ASSERT_EQ(Fs().SetCurrentDir("Sub"), kErrNone);
  EXPECT_EQ(Fs().GetCurrentDir(), At("Sub"));
  ASSERT_EQ(Fs().SetCurrentDir(".."), kErrNone);
  EXPECT_EQ(Fs().GetCurrentDir(), RootDir());
}

TEST_P(ContractCurrentDir, FailuresSayWhatIsWrongAndKeepTheCurrentFolder) {
  Bed().MakeDir(At("Sub"));
  MakeFiles({"file.txt"});
  ASSERT_EQ(Fs().SetCurrentDir(At("Sub")), kErrNone);
  EXPECT_EQ(Fs().SetCurrentDir(At("missing")), kErrFileNotFound);
  EXPECT_EQ(Fs().SetCurrentDir(At("missing\\deeper")), kErrPathNotFound);
  EXPECT_EQ(Fs().SetCurrentDir(At("file.txt")), kErrDirectory);
  EXPECT_EQ(Fs().GetCurrentDir(), At("Sub"));
}

TEST_P(ContractCurrentDir, UnknownDriveIsPathNotFound) {
  std::string present;
  for (const auto& drive : Fs().Drives())
    present += drive.Letter;
  char unknown = 0;
  for (char letter = 'Y'; letter > 'C' && unknown == 0; --letter) {
    if (present.find(letter) == std::string::npos) unknown = letter;
  }
  ASSERT_NE(unknown, 0) << "every drive letter is taken";
  EXPECT_EQ(Fs().SetCurrentDir(std::string{unknown, ':', '\\'}), kErrPathNotFound);
}

using ContractFullPath = ContractTest;
CONTRACT_SUITE(ContractFullPath);

TEST_P(ContractFullPath, RelativeFormsResolveAgainstTheCurrentFolder) {
  Bed().MakeDir(At("Sub"));
  ASSERT_EQ(Fs().SetCurrentDir(At("Sub")), kErrNone);
  const std::string drive{DriveLetter(), ':'};
  EXPECT_EQ(Fs().FullPath("x.txt"), At("Sub\\x.txt"));
  EXPECT_EQ(Fs().FullPath("."), At("Sub"));
  EXPECT_EQ(Fs().FullPath(".."), RootDir());
  EXPECT_EQ(Fs().FullPath("..\\y.txt"), At("y.txt"));
  EXPECT_EQ(Fs().FullPath(drive + "x.txt"), At("Sub\\x.txt"));
  EXPECT_EQ(Fs().FullPath(drive), At("Sub"));
  EXPECT_EQ(Fs().FullPath("\\x.txt"), drive + "\\x.txt");
}

TEST_P(ContractFullPath, AbsolutePathsLoseDotPartsAndKeepATrailingBackslash) {
  EXPECT_EQ(Fs().FullPath(At("a\\..\\b")), At("b"));
  EXPECT_EQ(Fs().FullPath(At("a\\.\\b")), At("a\\b"));
  EXPECT_EQ(Fs().FullPath(At("a/b")), At("a\\b"));
  EXPECT_EQ(Fs().FullPath(At("a\\")), At("a\\"));
  EXPECT_EQ(Fs().FullPath(At("a\\\\b")), At("a\\b"));
  EXPECT_EQ(Fs().FullPath(At("name.")), At("name"));
  EXPECT_EQ(Fs().FullPath(DriveTop() + ".."), DriveTop());
}

using ContractDrives = ContractTest;
CONTRACT_SUITE(ContractDrives);

TEST_P(ContractDrives, TheScratchFolderDriveIsListedReadyInLetterOrder) {
  const std::vector<DriveInfo> drives = Fs().Drives();
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(DriveLetter())));
  const auto found = std::find_if(drives.begin(), drives.end(),
                                  [&](const DriveInfo& drive) { return drive.Letter == letter; });
  ASSERT_NE(found, drives.end());
  EXPECT_TRUE(found->IsReady);
  for (size_t index = 1; index < drives.size(); ++index) {
    EXPECT_LT(drives[index - 1].Letter, drives[index].Letter);
  }
}

}  // namespace
}  // namespace foyer::test
