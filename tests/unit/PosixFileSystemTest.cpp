// The Linux-folder file system beyond the shared contract: the attribute Wine and Samba keep,
// names that Linux keeps apart by case or in any script, and drives without a folder.
#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/DosAttrib.h"
#include "unit/TempFolder.h"

namespace foyer {
namespace {

using namespace std::string_literals;

TEST(DosAttribValues, TextAndRecordFormsGiveHiddenAndSystemOnly) {
  const std::string record4 = "\0\0\x04\0\x04\0\0\0\x01\0\0\0\x06\0\0\0"s;  // empty text, v4
  const std::vector<std::pair<std::string, std::optional<uint32_t>>> cases = {
      {"0x2", faHidden},
      {"0X6", faHidden | faSysFile},
      {"0x27", faHidden | faSysFile},  // read-only, archive left to the permissions
      {"0x20", 0u},
      {"0x2\0\0\x03\0\x03\0\0\0\x01\0\0\0\x20\0\0\0"s, faHidden},  // the text is Samba's answer
      {record4, faHidden | faSysFile},
      {"\0\0\x04\0\x04\0\0\0\x00\0\0\0\x06\0\0\0"s, std::nullopt},  // attributes not valid
      {"\0\0\x04\0\x03\0\0\0\x01\0\0\0\x06\0\0\0"s, std::nullopt},  // versions disagree
      {"\0\0\x02\0\x02\0\0\0\x01\0\0\0\x06\0\0\0"s, std::nullopt},  // a version not known
      {record4.substr(0, 15), std::nullopt},
      {"0x", std::nullopt},
      {"0x2g", std::nullopt},
      {"0x123456789", std::nullopt},
      {"hidden", std::nullopt},
  };
  for (const auto& [value, attrs] : cases)
    EXPECT_EQ(ParseDosAttrib(value), attrs) << testing::PrintToString(value);
  EXPECT_EQ(ParseDosAttrib(DosAttribValue(faHidden | faSysFile | faArchive)), faHidden | faSysFile);
}

class PosixFsTest : public testing::Test {
 protected:
  PosixFsTest() { FFs.AddDrive('D', FTemp.Path(), DriveKind::CdRom, "MEDIUM"); }

  std::string Host(const std::string& name) const { return FTemp.Path() + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Host(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& path) {
    std::string content;
    EXPECT_EQ(ReadWholeFile(FFs, path, content), kErrNone) << path;
    return content;
  }

  test::TempFolder FTemp;
  PosixFileSystem FFs;
};

TEST_F(PosixFsTest, NameInItsOwnCaseWinsElseTheFirstInByteOrderAndListingsAreInThatOrder) {
  Write("readme.txt", "lower");
  Write("README.TXT", "upper");
  Write("Readme.txt", "mixed");
  ASSERT_EQ(mkdir(Host("sub").c_str(), 0777), 0);
  ASSERT_EQ(mkdir(Host("SUB").c_str(), 0777), 0);
  Write("sub/inner.txt", "in lower");
  EXPECT_EQ(Read("D:\\readme.txt"), "lower");
  EXPECT_EQ(Read("D:\\README.TXT"), "upper");
  EXPECT_EQ(Read("D:\\ReadMe.TXT"), "upper");
  EXPECT_EQ(Read("D:\\sub\\INNER.TXT"), "in lower");
  EXPECT_FALSE(FFs.FileExists("D:\\Sub\\inner.txt"));  // "SUB", first in byte order, has none
  std::string listed;  // by name without regard to case, then in byte order
  for (const DirEntry& entry : FFs.Enumerate("D:\\*").Entries)
    listed += entry.Name + ' ';
  EXPECT_EQ(listed, "README.TXT Readme.txt readme.txt SUB sub ");
}

TEST_F(PosixFsTest, HiddenFromTheAttributeWhereThereIsOneElseFromALeadingDot) {
  if (setxattr(FTemp.Path().c_str(), "user.foyer-probe", "1", 1, 0) != 0)
    GTEST_SKIP() << "the temporary folder's file system keeps no extended attributes";
  struct Case {
    const char* Name;
    const char* Stored;  // null: none
    uint32_t Attrs;
  };
  const std::vector<Case> cases = {{"plain", nullptr, faArchive},
                                   {".profile", nullptr, faArchive | faHidden},
                                   {".shown", "0x0", faArchive},
                                   {".unreadable", "hidden", faArchive | faHidden},
                                   {"secret", "0x2", faArchive | faHidden},
                                   {"system", "0x24", faArchive | faSysFile}};
  for (const Case& entry : cases) {
    Write(entry.Name, "x");
    const std::string stored = entry.Stored != nullptr ? entry.Stored : "";
    if (!stored.empty())
      setxattr(Host(entry.Name).c_str(), kDosAttribName, stored.data(), stored.size(), 0);
  }
  for (const Case& entry : cases)
    EXPECT_EQ(FFs.GetAttributes(std::string("D:\\") + entry.Name), entry.Attrs) << entry.Name;
  // Shown again by the attribute, as a name with a dot needs.
  EXPECT_EQ(FFs.SetAttributes("D:\\.profile", 0), kErrNone);
  EXPECT_EQ(FFs.GetAttributes("D:\\.profile"), faArchive);
}

TEST_F(PosixFsTest, NameAddedToAFolderWhoseNamesAreKeptIsFound) {
  Write("Old.txt", "old");
  const struct timespec past[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, FTemp.Path().c_str(), past, 0), 0);
  EXPECT_FALSE(FFs.FileExists("D:\\NEW.TXT"));
  Write("New.txt", "new");
  EXPECT_TRUE(FFs.FileExists("D:\\NEW.TXT"));
}

TEST_F(PosixFsTest, DriveOverTheLinuxTopFolderReachesEveryFolder) {
  FFs.AddDrive('Z', "/");
  Write("x.txt", "x");
  std::string path = "Z:" + Host("X.TXT");
  for (char& c : path)
    c = c == '/' ? '\\' : static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_TRUE(FFs.FileExists(path)) << path;
}

TEST_F(PosixFsTest, OnlyLinksToFilesInsideTheDriveAreFollowedAndNothingButFilesAndFolders) {
  ASSERT_EQ(mkdir(Host("sub").c_str(), 0777), 0);
  Write("sub/inside.txt", "inside");
  const struct {
    const char* Name;
    const char* Target;  // null: a FIFO
    bool IsShown;
  } cases[] = {{"file.txt", "sub/inside.txt", true}, {"out.txt", "/etc/passwd", false},
               {"zero.avi", "/dev/zero", false},     {"self", ".", false},
               {"folder", "sub", false},             {"nowhere.txt", "missing.txt", false},
               {"fifo.wav", nullptr, false}};
  for (const auto& c : cases) {
    const std::string host = Host(c.Name);
    ASSERT_EQ(c.Target != nullptr ? symlink(c.Target, host.c_str()) : mkfifo(host.c_str(), 0600),
              0)
        << c.Name;
  }
  std::string listed;
  for (const DirEntry& entry : FFs.Enumerate("D:\\*").Entries)
    listed += entry.Name + ' ';
  EXPECT_EQ(listed, "file.txt sub ");
  for (const auto& c : cases) {
    uint32_t error = kErrNone;
    EXPECT_EQ(FFs.OpenRead(std::string("D:\\") + c.Name, error) != nullptr, c.IsShown) << c.Name;
    EXPECT_FALSE(FFs.DirExists(std::string("D:\\") + c.Name)) << c.Name;
  }
}

TEST_F(PosixFsTest, ReadOnlyFileIsNotDeletedThoughLinuxWouldUnlinkIt) {
  Write("fixed.txt", "fixed");
  ASSERT_EQ(chmod(Host("fixed.txt").c_str(), 0444), 0);
  EXPECT_EQ(FFs.GetAttributes("D:\\fixed.txt"), faArchive | faReadOnly);
  EXPECT_EQ(FFs.DeleteFile("D:\\fixed.txt"), kErrAccessDenied);
  EXPECT_EQ(FFs.SetAttributes("D:\\fixed.txt", faArchive), kErrNone);
  EXPECT_EQ(FFs.DeleteFile("D:\\fixed.txt"), kErrNone);
}

TEST_F(PosixFsTest, LinuxNamesAreListedAsTheyAreAndOpenInEitherCase) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Caf\xC3\xA9.txt", "CAF\xC3\x89.TXT"},
      {"\xCE\xB1\xCE\xB2\xCE\xB3.txt", "\xCE\x91\xCE\x92\xCE\x93.TXT"},  // Greek
      {"\xD0\xB4\xD0\xB0.txt", "\xD0\x94\xD0\x90.TXT"},                  // Cyrillic
      {"\xE6\x97\xA5.txt", "\xE6\x97\xA5.TXT"},                          // no case in Japanese
      {"\xF0\x9F\x8E\xB5.txt", "\xF0\x9F\x8E\xB5.TXT"},                  // beyond 16 bits
      {"caf\xE9.txt", "CAF\xC9.TXT"},    // not UTF-8: its bytes, cased as code page 1252 cases them
      {"\xC0\xAE.txt", "\xC0\xAE.TXT"},  // an overlong form
  };
  std::vector<std::string> written;
  for (const auto& [host, other] : cases) {
    Write(host, host);
    written.push_back(host);
  }
  std::vector<std::string> listed;
  for (const DirEntry& entry : FFs.Enumerate("D:\\*.txt").Entries)
    listed.push_back(entry.Name);
  std::sort(listed.begin(), listed.end());
  std::sort(written.begin(), written.end());
  EXPECT_EQ(listed, written);
  for (const auto& [host, other] : cases)
    EXPECT_EQ(Read("D:\\" + other), host) << host;
  ASSERT_EQ(FFs.CreateDir("D:\\Gr\xC3\xBC\xC3\x9F"), kErrNone);
  struct stat status;
  EXPECT_EQ(stat(Host("Gr\xC3\xBC\xC3\x9F").c_str(), &status), 0);
}

TEST_F(PosixFsTest, UnmappedLetterIsPathNotFoundAndAFolderGoneIsNotReady) {
  EXPECT_EQ(FFs.CreateDir("E:\\New"), kErrPathNotFound);
  EXPECT_EQ(FFs.DriveOf('E').Kind, DriveKind::NoRootDir);
  test::TempFolder gone;
  const std::string folder = gone.Path() + "/medium";
  ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
  FFs.AddDrive('F', folder);
  ASSERT_EQ(rmdir(folder.c_str()), 0);
  EXPECT_EQ(FFs.Enumerate("F:\\*").Error, kErrNotReady);
  EXPECT_FALSE(FFs.DriveOf('F').IsReady);
}

}  // namespace
}  // namespace foyer
