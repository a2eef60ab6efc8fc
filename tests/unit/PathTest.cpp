// Path and string helpers: backslashes, joining, cutting, case-blind names, folder creation.
#include <gtest/gtest.h>

#include "main/Catalogue.h"
#include "platform/memory/MemoryPlatform.h"
#include "util/Path.h"

namespace foyer {
namespace {

class PathTest : public ::testing::Test {
 protected:
  PathTest() { FPlatform.Fs.AddDrive('C'); }
  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
};

TEST(AddBackslash, AppendsOnlyWhenTheLastCharacterIsNotOne) {
  std::string path = "c:\\media";
  AddBackslash(path);
  EXPECT_EQ(path, "c:\\media\\");
  AddBackslash(path);
  EXPECT_EQ(path, "c:\\media\\");
  std::string drive = "d:";
  AddBackslash(drive);
  EXPECT_EQ(drive, "d:\\");
  std::string slash = "c:/media/";
  AddBackslash(slash);
  EXPECT_EQ(slash, "c:/media/\\");
  std::string empty;
  AddBackslash(empty);
  EXPECT_EQ(empty, "");
}

TEST(JoinPath, GivesOneBackslashWhetherOrNotTheFolderEndsInOne) {
  EXPECT_EQ(JoinPath("c:\\cd", "Music"), "c:\\cd\\Music");
  EXPECT_EQ(JoinPath("c:\\cd\\", "Music"), "c:\\cd\\Music");
  EXPECT_EQ(JoinPath("c:\\cd", ""), "c:\\cd\\");
  EXPECT_EQ(JoinPath("c:\\cd", "\\x"), "c:\\cd\\\\x");
  EXPECT_EQ(JoinPath("", "name.txt"), "name.txt");
}

TEST(LeftRightStr, CountsAtOrBeyondTheLengthGiveTheWholeString) {
  EXPECT_EQ(LeftStr("bin.dat", 3), "bin");
  EXPECT_EQ(LeftStr("bin.dat", 7), "bin.dat");
  EXPECT_EQ(LeftStr("bin.dat", 100), "bin.dat");
  EXPECT_EQ(LeftStr("bin.dat", 0), "");
  EXPECT_EQ(LeftStr("bin.dat", -5), "");
  EXPECT_EQ(RightStr("c:\\cd\\bin.dat\\", 8), "bin.dat\\");
  EXPECT_EQ(RightStr("abc", 3), "abc");
  EXPECT_EQ(RightStr("abc", 9), "abc");
  EXPECT_EQ(RightStr("abc", 0), "");
  EXPECT_EQ(RightStr("abc", -1), "");
  EXPECT_EQ(RightStr("abc", INT32_MAX), "abc");
}

TEST_F(PathTest, SameNameIgnoresCaseOfAccentedLettersButNotLength) {
  EXPECT_TRUE(SameName("BIN.DAT\\", "bin.dat\\"));
  EXPECT_TRUE(SameName("\xC9t\xC9", "\xE9t\xE9"));  // ÉTÉ and été in the ANSI code page
  EXPECT_EQ(LowerStr("\xC0"
                     "BC"),
            "\xE0"
            "bc");
  EXPECT_FALSE(SameName("readme", "readme "));
  EXPECT_FALSE(SameName("a/b", "a\\b"));
}

// With the UTF-8 code page a string's characters are not its bytes: nothing may count, cut,
// pad or lower-case a name a byte at a time.
TEST_F(PathTest, UtfEightNamesAreCountedCutPaddedAndComparedByCharacters) {
  FPlatform.CodePage.SetUtf8(true);
  const std::string longName(300, 'x');
  const struct {
    std::string Got;
    std::string Expected;
  } cases[] = {
      {LowerStr("ΕΛΛΗΝΙΚΆ РУССКИЙ ÀÉ Ǆ"), "ελληνικά русский àé ǆ"},
      // Title-case letters and the Kelvin sign keep their form, as the system lowers them.
      {LowerStr("ǅ \u212A"), "ǅ \u212A"},
      {LeftStr("日本語.txt", 2), "日本"},
      {RightStr("Ελληνικά", 3), "ικά"},
      {NamePart("c:\\cd\\" + longName + "日本"), std::string(255, 'x')},
      {NamePart("c:\\cd\\" + std::string(250, 'x') + "日本語日本語"), std::string(250, 'x') + "日本語日本"},
      {RowText(ShownName("日本語.zip"), "notes"), "日本語        notes"},
      {std::to_string(CharLength("Русский")) + " " + std::to_string(PathLength("c:\\𝄞")), "7 5"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.Got, c.Expected);
  EXPECT_TRUE(SameName("Ελληνικά\\Ρ", "ΕΛΛΗΝΙΚΆ\\ρ"));
  EXPECT_FALSE(SameName("日本語", "日本"));
}

TEST_F(PathTest, ForceDirsCreatesMissingFoldersOutermostFirst) {
  ForceDirs("C:\\a\\b\\c\\");
  EXPECT_TRUE(FPlatform.Fs.DirExists("C:\\a"));
  EXPECT_TRUE(FPlatform.Fs.DirExists("C:\\a\\b"));
  EXPECT_TRUE(FPlatform.Fs.DirExists("C:\\a\\b\\c"));
  // Again: all exist, nothing changes and nothing fails.
  ForceDirs("C:\\a\\b\\c");
  EXPECT_TRUE(FPlatform.Fs.DirExists("C:\\a\\b\\c"));
}

TEST_F(PathTest, ForceDirsLeavesShortAndEmptyPathsAlone) {
  ForceDirs("");
  ForceDirs("\\");
  ForceDirs("C:");
  ForceDirs("C:\\");
  ForceDirs("ab");
  EXPECT_FALSE(FPlatform.Fs.DirExists("C:\\ab"));
}

TEST_F(PathTest, ForceDirsOnARelativePathCreatesUnderTheCurrentFolder) {
  FPlatform.Fs.MakeDir("C:\\work");
  ASSERT_EQ(FPlatform.Fs.SetCurrentDir("C:\\work"), kErrNone);
  ForceDirs("games\\space\\");
  EXPECT_TRUE(FPlatform.Fs.DirExists("C:\\work\\games\\space"));
}

TEST_F(PathTest, ForceDirsPassesOverAFolderThatCannotBeCreated) {
  FPlatform.Fs.WriteFile("C:\\taken", "a file");
  ForceDirs("C:\\taken\\inner");
  EXPECT_FALSE(FPlatform.Fs.DirExists("C:\\taken\\inner"));
  FPlatform.Fs.MakeDir("C:\\locked");
  FPlatform.Fs.SetWriteProtected("C:\\locked", true);
  ForceDirs("C:\\locked\\new\\deeper");
  EXPECT_FALSE(FPlatform.Fs.DirExists("C:\\locked\\new"));
}

}  // namespace
}  // namespace foyer
