// What only the real services can show: the screen's depth and size, the code page's letter
// case, the machine's drives and the system's way of keeping a folder per drive.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>

#include "contract/ContractBed.h"
#include "platform/memory/MemoryCodePage.h"
#include "platform/win32/Win32Platform.h"
#include "util/Unicode.h"

namespace foyer {
namespace {

std::string TempFolder() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

char UpperLetter(char letter) {
  return (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
}

// The screen.

TEST(Win32Display, BitsPerPixelIsTheDepthTheScreenRunsAt) {
  const int bits = Win32Services().Display->BitsPerPixel();
  // The test-bed says which depth it started the screen at; elsewhere any real depth will do.
  if (const char* expected = std::getenv("FOYER_EXPECT_BPP")) {
    EXPECT_EQ(bits, std::atoi(expected));
  } else {
    EXPECT_TRUE(bits == 8 || bits == 16 || bits == 24 || bits == 32) << bits;
  }
}

TEST(Win32Display, ScreenSizeIsNotSwappedOrTakenFromAnotherMetric) {
  IDisplay& display = *Win32Services().Display;
  EXPECT_EQ(display.ScreenWidth(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(display.ScreenHeight(), GetSystemMetrics(SM_CYSCREEN));
}

TEST(Win32Display, PixelsPerInchIsAPlausibleResolution) {
  const int pixelsPerInch = Win32Services().Display->PixelsPerInch();
  EXPECT_GE(pixelsPerInch, 72);
  EXPECT_LE(pixelsPerInch, 480);
}

// Letter case.

std::string Lowered(std::string text) {
  Win32Services().CodePage->LowerBuff(text);
  return text;
}

TEST(Win32CodePage, LowersAsciiCapitalsAndLeavesEverythingElse) {
  EXPECT_EQ(Lowered("ABC"), "abc");
  EXPECT_EQ(Lowered("Setup 2.EXE [x]_@"), "setup 2.exe [x]_@");
}

TEST(Win32CodePage, GoesOnPastAZeroByte) {
  EXPECT_EQ(Lowered(std::string("A\0B", 3)), std::string("a\0b", 3));
}

class Win32CharCase1252 : public testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 1252) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 1252";
  }
};

TEST_F(Win32CharCase1252, LowersAccentedCapitals) {
  EXPECT_EQ(Lowered("\xC0\xC9\xCE"), "\xE0\xE9\xEE");
}

TEST_F(Win32CharCase1252, LeavesTheMultiplicationSignAndSharpSAlone) {
  EXPECT_EQ(Lowered("\xD7\xDF"), "\xD7\xDF");
}

// The in-memory services stand in for these in every native test, so they must agree on every
// byte of the code page.
TEST_F(Win32CharCase1252, MemoryCharCaseAgreesOnEveryByte) {
  std::string everyByte;
  for (int code = 1; code < 256; ++code)
    everyByte.push_back(static_cast<char>(code));
  std::string memory = everyByte;
  MemoryCodePage().LowerBuff(memory);
  const std::string system = Lowered(everyByte);
  for (size_t index = 0; index < everyByte.size(); ++index) {
    EXPECT_EQ(static_cast<unsigned char>(memory[index]), static_cast<unsigned char>(system[index]))
        << "byte 0x" << std::hex << static_cast<unsigned char>(everyByte[index]) + 0;
  }
}

// With the UTF-8 code page of the program's manifest (Windows 10 1903 and later, and Wine).
class Win32CodePageUtf8 : public testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != CP_UTF8) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not UTF-8";
  }
};

// The in-memory services lower UTF-8 names by their own table: it must agree with the system on
// every character of the 16-bit range.
TEST_F(Win32CodePageUtf8, MemoryCodePageAgreesOnEveryCharacter) {
  MemoryCodePage memory(true);
  {
    for (char32_t c = 1; c <= 0xFFFF; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      std::string mine;
      AppendUtf8(mine, c);
      std::string system = mine;
      memory.LowerBuff(mine);
      Win32Services().CodePage->LowerBuff(system);
      EXPECT_EQ(mine, system) << "U+" << std::hex << static_cast<uint32_t>(c);
    }
  }
}

// Drives.

TEST(Win32Drives, TheTemporaryFolderDriveIsFixedAndReady) {
  const std::string temp = TempFolder();
  ASSERT_GE(temp.size(), 3u);
  ASSERT_EQ(temp[1], ':') << temp;
  const auto drives = Win32Services().Fs->Drives();
  const auto found = std::find_if(drives.begin(), drives.end(), [&](const DriveInfo& drive) {
    return drive.Letter == UpperLetter(temp[0]);
  });
  ASSERT_NE(found, drives.end()) << temp;
  EXPECT_EQ(found->Kind, DriveKind::Fixed);
  EXPECT_TRUE(found->IsReady);
  EXPECT_TRUE(found->ConnectionName.empty()) << found->ConnectionName;
}

// A folder per drive: the system keeps only the process's; the drive's own lives in an
// environment variable that the file system must keep up to date.

TEST(Win32CurrentDir, ADriveKeepsItsFolderWhileAnotherDriveIsCurrent) {
  auto bed = test::MakeContractBed();
  IFileSystem& fs = bed->Fs();
  const char bedDrive = UpperLetter(bed->Root()[0]);
  const auto drives = fs.Drives();
  const auto other = std::find_if(drives.begin(), drives.end(), [&](const DriveInfo& drive) {
    return drive.Letter != bedDrive && drive.IsReady && drive.Kind == DriveKind::Fixed;
  });
  if (other == drives.end()) GTEST_SKIP() << "no second fixed drive to change to";
  const std::string folder = bed->Root() + "Kept";
  bed->MakeDir(folder);
  const std::string otherTop = std::string(1, other->Letter) + ":\\";
  const std::string saved = fs.GetCurrentDir();

  ASSERT_EQ(fs.SetCurrentDir(folder), kErrNone);
  ASSERT_EQ(fs.SetCurrentDir(otherTop), kErrNone);
  EXPECT_EQ(fs.GetCurrentDir(bedDrive), folder);
  EXPECT_EQ(fs.GetCurrentDir(static_cast<char>(bedDrive - 'A' + 'a')), folder);
  EXPECT_EQ(fs.FullPath(std::string(1, bedDrive) + ":"), folder);
  EXPECT_EQ(fs.GetCurrentDir(), otherTop);
  fs.SetCurrentDir(saved);
}

}  // namespace
}  // namespace foyer
