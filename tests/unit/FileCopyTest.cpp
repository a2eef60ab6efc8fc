// The file copier: what a tree copy takes and leaves, how it stops, and what it reports.
#include <gtest/gtest.h>

#include <functional>

#include "platform/memory/MemoryPlatform.h"
#include "util/FileCopy.h"

namespace foyer {
namespace {

// Records each report; the hook may act on one (cancel it by returning false).
class Recorder final : public ICopyProgress {
 public:
  bool CopyProgressed(const TCopyState& state) override {
    States.push_back(state);
    return !Hook || Hook(state);
  }
  // The files in the order they were started.
  std::vector<std::string> Started() const {
    std::vector<std::string> files;
    for (const TCopyState& state : States) {
      if (files.empty() || files.back() != state.CurrentFile) files.push_back(state.CurrentFile);
    }
    return files;
  }
  std::vector<TCopyState> States;
  std::function<bool(const TCopyState&)> Hook;
};

// Drive C, and a disc in D with a tree of every kind of entry.
void MakeMachine(MemoryFileSystem& fs) {
  fs.AddDrive('C');
  fs.AddDrive('D', DriveKind::CdRom, "DISC");
  fs.WriteFile("D:\\Game\\a.txt", "alpha");
  fs.WriteFile("D:\\Game\\b.txt", "hidden file");
  fs.SetAttributes("D:\\Game\\b.txt", faHidden);
  fs.WriteFile("D:\\Game\\Sub1\\d.txt", "one");
  fs.WriteFile("D:\\Game\\Sub1\\Sub2\\Sub3\\f.txt", "three");
  fs.WriteFile("D:\\Game\\Sub1\\Sub2\\e.txt", "two");
  fs.WriteFile("D:\\Game\\Hidden\\h.txt", "never");
  fs.SetAttributes("D:\\Game\\Hidden", faHidden);
  fs.WriteFile("D:\\Game\\System\\s.txt", "never");
  fs.SetAttributes("D:\\Game\\System", faSysFile);
  fs.WriteFile("D:\\Game\\Fixed\\r.txt", "read-only folder");
  fs.SetAttributes("D:\\Game\\Fixed", faReadOnly | faArchive);
  fs.WriteFile("D:\\Game\\c.sys", "system file");
  fs.SetAttributes("D:\\Game\\c.sys", faSysFile);
}

class FileCopyTest : public ::testing::Test {
 protected:
  FileCopyTest() { MakeMachine(Fs()); }

  MemoryFileSystem& Fs() { return FPlatform.Fs; }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
};

TEST_F(FileCopyTest, TreeGoesIntoTheTargetItselfFilesFirstDepthFirstWithoutHiddenFolders) {
  Recorder recorder;
  ASSERT_TRUE(CopyTree("D:\\Game", "C:\\Games\\Game", &recorder));
  EXPECT_EQ(
      recorder.Started(),
      (std::vector<std::string>{"D:\\Game\\a.txt", "D:\\Game\\b.txt", "D:\\Game\\c.sys",
                                "D:\\Game\\Sub1\\d.txt", "D:\\Game\\Sub1\\Sub2\\e.txt",
                                "D:\\Game\\Sub1\\Sub2\\Sub3\\f.txt", "D:\\Game\\Fixed\\r.txt"}));
  EXPECT_EQ(Fs().ReadBack("C:\\Games\\Game\\Sub1\\Sub2\\Sub3\\f.txt"), "three");
  EXPECT_EQ(Fs().ReadBack("C:\\Games\\Game\\Fixed\\r.txt"), "read-only folder");
  EXPECT_EQ(Fs().GetAttributes("C:\\Games\\Game\\b.txt") & faHidden, faHidden);
  EXPECT_FALSE(Fs().DirExists("C:\\Games\\Game\\Hidden"));
  EXPECT_FALSE(Fs().DirExists("C:\\Games\\Game\\System"));
  EXPECT_FALSE(Fs().DirExists("C:\\Games\\Game\\Game"));

  // The totals come before the first file; the last report has everything done.
  const uint64_t bytes = 5 + 11 + 11 + 3 + 3 + 5 + 16;
  ASSERT_FALSE(recorder.States.empty());
  EXPECT_EQ(recorder.States.front().FilesTotal, 7u);
  EXPECT_EQ(recorder.States.front().BytesTotal, bytes);
  EXPECT_EQ(recorder.States.front().BytesDone, 0u);
  EXPECT_EQ(recorder.States.back().FilesDone, 7u);
  EXPECT_EQ(recorder.States.back().BytesDone, bytes);
  for (size_t i = 1; i < recorder.States.size(); ++i)
    EXPECT_GE(recorder.States[i].BytesDone, recorder.States[i - 1].BytesDone);
}

TEST_F(FileCopyTest, ExistingFilesAreReplacedUnderTheirNamesAndAnEmptyFolderGivesAnEmptyTarget) {
  Fs().WriteFile("C:\\Games\\Game\\A.TXT", "an older alpha");
  Fs().WriteFile("C:\\Games\\Game\\mine.sav", "kept");
  Fs().WriteFile("C:\\Games\\Game\\~fy1.tmp", "a name the temporary file must not take");
  ASSERT_TRUE(CopyTree("D:\\Game", "C:\\Games\\Game"));
  EXPECT_EQ(Fs().Enumerate("C:\\Games\\Game\\a.txt").Entries[0].Name, "A.TXT");
  EXPECT_EQ(Fs().ReadBack("C:\\Games\\Game\\a.txt"), "alpha");
  EXPECT_EQ(Fs().ReadBack("C:\\Games\\Game\\mine.sav"), "kept");
  EXPECT_EQ(Fs().ReadBack("C:\\Games\\Game\\~fy1.tmp"), "a name the temporary file must not take");

  Fs().MakeDir("D:\\Empty");
  EXPECT_TRUE(CopyTree("D:\\Empty", "C:\\New\\Empty"));
  EXPECT_TRUE(Fs().DirExists("C:\\New\\Empty"));
}

// Each way a copy can fail stops it there, leaving what came before.
TEST_F(FileCopyTest, FailureStopsTheCopyAndKeepsTheFilesBeforeIt) {
  struct Case {
    const char* Name;
    std::function<void(MemoryFileSystem&)> Fault;
    std::string Target;
    std::vector<std::string> Kept;
    std::vector<std::string> Missing;
  };
  const std::string longTarget = "C:\\" + std::string(250, 'x');
  const std::vector<Case> cases = {
      {"copy fault after two files",
       [](MemoryFileSystem& fs) { fs.FailCopiesAfter(2, 5); },
       "C:\\T",
       {"C:\\T\\a.txt", "C:\\T\\b.txt"},
       {"C:\\T\\c.sys", "C:\\T\\Sub1"}},
      {"full disk in the third file",
       [](MemoryFileSystem& fs) { fs.SetFreeSpace('C', 20); },
       "C:\\T",
       {"C:\\T\\a.txt", "C:\\T\\b.txt"},
       {"C:\\T\\c.sys", "C:\\T\\Sub1"}},
      {"unreadable sub-folder",
       [](MemoryFileSystem& fs) { fs.SetUnreadable("D:\\Game\\Sub1", true); },
       "C:\\T",
       {"C:\\T\\c.sys"},
       {"C:\\T\\Sub1\\d.txt", "C:\\T\\Fixed"}},
      {"read-only target",
       [](MemoryFileSystem& fs) { fs.SetWriteProtected("C:\\T", true); },
       "C:\\T",
       {},
       {"C:\\T\\a.txt"}},
      {"target path over 255 characters",
       [](MemoryFileSystem&) {},
       longTarget,
       {},
       {longTarget + "\\a.txt", (longTarget + "\\a.txt").substr(0, 255)}},
      {"empty target", [](MemoryFileSystem&) {}, "", {}, {"a.txt"}},
  };
  for (const Case& c : cases) {
    MemoryPlatform platform;
    MakeMachine(platform.Fs);
    platform.Fs.MakeDir("C:\\T");
    ScopedPlatform scoped(platform.Get());
    platform.Fs.SetCurrentDir("C:\\T");
    c.Fault(platform.Fs);
    EXPECT_FALSE(CopyTree("D:\\Game", c.Target)) << c.Name;
    for (const std::string& kept : c.Kept)
      EXPECT_TRUE(platform.Fs.FileExists(kept)) << c.Name << ": " << kept;
    for (const std::string& missing : c.Missing) {
      EXPECT_FALSE(platform.Fs.FileExists(missing) || platform.Fs.DirExists(missing))
          << c.Name << ": " << missing;
    }
  }
}

TEST_F(FileCopyTest, CancelInsideAFileRemovesItAndKeepsTheFilesDoneBefore) {
  const std::string big(3 * kCopyChunkSize, 'b');
  Fs().WriteFile("D:\\Big\\first.txt", "complete");
  Fs().WriteFile("D:\\Big\\movie.avi", big);
  Recorder recorder;
  recorder.Hook = [](const TCopyState& state) {
    return !(state.CurrentFile == "D:\\Big\\movie.avi" && state.BytesDone > 8);
  };
  EXPECT_FALSE(CopyTree("D:\\Big", "C:\\Out", &recorder));
  EXPECT_EQ(Fs().ReadBack("C:\\Out\\first.txt"), "complete");
  EXPECT_FALSE(Fs().FileExists("C:\\Out\\movie.avi"));
  // It stopped at the first chunk of the large file: one report before it, one after the chunk.
  EXPECT_EQ(recorder.States.back().BytesDone, 8 + kCopyChunkSize);
  EXPECT_EQ(recorder.States.back().BytesTotal, 8 + big.size());
}

// A reinstall that cannot end leaves the earlier file byte for byte, and no temporary file.
TEST_F(FileCopyTest, ReplacingCopyThatCannotEndLeavesTheEarlierFile) {
  const std::vector<std::pair<const char*, std::function<void(MemoryFileSystem&)>>> cases = {
      {"full disk", [](MemoryFileSystem& fs) { fs.SetFreeSpace('C', kCopyChunkSize); }},
      {"read error", [](MemoryFileSystem& fs) { fs.SetReadFault("D:\\Big\\movie.avi", 23, 9); }},
      {"cancel mid-file", [](MemoryFileSystem&) {}},
      {"read-only earlier file",
       [](MemoryFileSystem& fs) { fs.SetAttributes("C:\\Out\\movie.avi", faReadOnly); }},
      {"hidden earlier file",
       [](MemoryFileSystem& fs) { fs.SetAttributes("C:\\Out\\movie.avi", faHidden); }},
  };
  for (const auto& [name, fault] : cases) {
    Fs().WriteFile("D:\\Big\\movie.avi", std::string(3 * kCopyChunkSize, 'n'));
    Fs().WriteFile("C:\\Out\\movie.avi", "earlier");
    fault(Fs());
    Recorder recorder;
    recorder.Hook = [](const TCopyState& state) { return state.BytesDone <= kCopyChunkSize; };
    EXPECT_FALSE(CopyTree("D:\\Big", "C:\\Out", &recorder)) << name;
    EXPECT_EQ(Fs().ReadBack("C:\\Out\\movie.avi"), "earlier") << name;
    EXPECT_EQ(Fs().Enumerate("C:\\Out\\*").Entries.size(), 3u) << name;
    Fs().Remove("C:\\Out");
    Fs().ClearFreeSpace('C');
  }
}

// A power cut after a reinstall finds each replaced file whole, and the temporary files that
// installs cut off earlier left in the folder, however many, do not stop it.
TEST_F(FileCopyTest, ReplacedFileSurvivesAPowerCutAndLeftTemporaryFilesNeverBlockAnInstall) {
  const std::string folder = "C:\\Games\\Game\\";
  Fs().WriteFile(folder + "a.txt", "an older alpha");
  const int left = 150;
  for (int number = 1; number <= left; ++number)
    Fs().WriteFile(folder + "~fy" + std::to_string(number) + ".tmp", "left by a cut");
  ASSERT_TRUE(CopyTree("D:\\Game", "C:\\Games\\Game"));
  Fs().CutPower();
  EXPECT_EQ(Fs().ReadBack(folder + "a.txt"), "alpha");
  EXPECT_FALSE(Fs().FileExists(folder + "~fy" + std::to_string(left + 1) + ".tmp"));
}

// A target folder whose listing fails, or is cut short, cannot check the files: the copy fails
// and every written file stays.
TEST_F(FileCopyTest, TargetListingThatFailsKeepsEveryWrittenFile) {
  for (const size_t listed : {0, 3}) {
    Fs().MakeDir("C:\\T");
    Fs().SetListingFault("C:\\T", 59, listed);
    EXPECT_FALSE(CopyTree("D:\\Game", "C:\\T")) << listed;
    for (const char* file : {"a.txt", "b.txt", "c.sys"})
      EXPECT_TRUE(Fs().FileExists(std::string("C:\\T\\") + file)) << listed << file;
    Fs().Remove("C:\\T");
  }
}

TEST_F(FileCopyTest, FileThatChangesSizeWhileCopiedIsAFailureAndIsRemoved) {
  Recorder recorder;
  recorder.Hook = [this](const TCopyState& state) {
    if (state.CurrentFile == "D:\\Game\\a.txt") Fs().WriteFile("D:\\Game\\a.txt", "al");
    return true;
  };
  EXPECT_FALSE(CopyTree("D:\\Game", "C:\\T", &recorder));
  EXPECT_FALSE(Fs().FileExists("C:\\T\\a.txt"));
}

TEST_F(FileCopyTest, OneFileNeedsAnExistingFolderAndAnExistingSource) {
  Fs().WriteFile("D:\\tool.zip", "zip");
  EXPECT_FALSE(CopyOneFile("D:\\tool.zip", "C:\\Missing\\tool.zip"));
  EXPECT_FALSE(Fs().DirExists("C:\\Missing"));
  EXPECT_FALSE(CopyOneFile("D:\\gone.zip", "C:\\gone.zip"));
  EXPECT_FALSE(CopyOneFile("D:\\Game", "C:\\Game"));
  EXPECT_TRUE(CopyOneFile("D:\\tool.zip", "C:\\tool.zip"));
  EXPECT_EQ(Fs().ReadBack("C:\\tool.zip"), "zip");
}

}  // namespace
}  // namespace foyer
