// Reading text files by lines: line ends, Ctrl-Z, the end of the file, and I/O errors.
#include <gtest/gtest.h>

#include "platform/memory/MemoryPlatform.h"
#include "util/Errors.h"
#include "util/TextReader.h"

namespace foyer {
namespace {

class TextReaderTest : public ::testing::Test {
 protected:
  TextReaderTest() { FPlatform.Fs.AddDrive('C'); }

  // Every line as a loop of end test and read gives them.
  std::vector<std::string> Lines(const std::string& content) {
    FPlatform.Fs.WriteFile("C:\\file.txt", content);
    TTextReader reader("C:\\file.txt");
    std::vector<std::string> lines;
    while (!reader.Eof())
      lines.push_back(reader.ReadLine());
    return lines;
  }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
};

using LineList = std::vector<std::string>;

TEST_F(TextReaderTest, CrCrLfAndALoneLfEachEndALine) {
  EXPECT_EQ(Lines("one\r\ntwo\rthree\nfour"), (LineList{"one", "two", "three", "four"}));
  // CR then LF is one line end, LF then CR two.
  EXPECT_EQ(Lines("a\n\rb"), (LineList{"a", "", "b"}));
  EXPECT_EQ(Lines("a\r\r\nb"), (LineList{"a", "", "b"}));
}

TEST_F(TextReaderTest, AFinalLineEndAddsNoEmptyLineButTwoAddOne) {
  EXPECT_EQ(Lines("last line without an end"), (LineList{"last line without an end"}));
  EXPECT_EQ(Lines("a\r\n"), (LineList{"a"}));
  EXPECT_EQ(Lines("a\r\n\r\n"), (LineList{"a", ""}));
  EXPECT_EQ(Lines(""), LineList{});
}

TEST_F(TextReaderTest, CtrlZEndsTheText) {
  EXPECT_EQ(Lines("shown\r\nalso\x1A"
                  "hidden\r\nnever"),
            (LineList{"shown", "also"}));
  EXPECT_EQ(Lines("\x1A"
                  "nothing"),
            LineList{});
}

TEST_F(TextReaderTest, LineEndsAndLongLinesAcrossReadChunks) {
  const std::string longLine(200000, 'x');
  // The CR ends one 64 KB chunk and its LF starts the next.
  const std::string split = std::string(65535, 'a') + "\r\nb";
  EXPECT_EQ(Lines(longLine + "\r\nshort"), (LineList{longLine, "short"}));
  EXPECT_EQ(Lines(split), (LineList{std::string(65535, 'a'), "b"}));
}

TEST_F(TextReaderTest, FirstLineOfAnEmptyFileIsEmpty) {
  FPlatform.Fs.WriteFile("C:\\empty.txt", "");
  FPlatform.Fs.WriteFile("C:\\unix.txt", "Space shooter\nsecond");
  EXPECT_EQ(ReadFirstLine("C:\\empty.txt"), "");
  EXPECT_EQ(ReadFirstLine("C:\\unix.txt"), "Space shooter");
}

TEST_F(TextReaderTest, LineRulesApplyToTheDecodedText) {
  FPlatform.CodePage.SetUtf8(true);
  // UTF-16: its zero bytes end nothing, and its CR LF and Ctrl-Z are characters of two bytes.
  const std::string utf16("\xFF\xFEo\0\r\0\n\0\xE9\0\n\0\x1A\0h\0", 16);
  EXPECT_EQ(Lines(utf16), (LineList{"o", "\xC3\xA9"}));
  EXPECT_EQ(Lines("\xEF\xBB\xBFmarked\r\nnot"), (LineList{"marked", "not"}));
  FPlatform.Fs.WriteFile("C:\\file.txt", "\xEF\xBB\xBFplain");
  TTextReader reader("C:\\file.txt");
  EXPECT_EQ(reader.ReadLine(), "plain");
  EXPECT_EQ(reader.Encoding(), TTextEncoding::Utf8Mark);
}

// A list reads the first line of every row's readme: a long readme is not read to its end (here
// a read past 128 KB would fail), even when its first line waits for the window that tells UTF-8
// from the legacy code page.
TEST_F(TextReaderTest, FirstLineReadsLittleOfALongFile) {
  for (const std::string first : {"Title", "Caf\xE9"}) {
    FPlatform.Fs.WriteFile("C:\\long.txt", first + "\r\n" + std::string(1 << 20, 'x'));
    FPlatform.Fs.SetReadFault("C:\\long.txt", 23, 128 * 1024);
    EXPECT_EQ(ReadFirstLine("C:\\long.txt"), first);
  }
}

TEST_F(TextReaderTest, OpenAndReadFailuresCarryTheSystemsCode) {
  try {
    TTextReader reader("C:\\missing.txt");
    FAIL() << "a missing file opened";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.ErrorCode(), 2);
    EXPECT_EQ(error.Message(), "File not found");
  }
  EXPECT_THROW(TTextReader("C:\\no folder\\file.txt"), EInOutError);
  FPlatform.Fs.WriteFile("C:\\locked.txt", "text");
  FPlatform.Fs.SetReadFault("C:\\locked.txt", kErrAccessDenied);
  EXPECT_THROW(ReadFirstLine("C:\\locked.txt"), EInOutError);

  FPlatform.Fs.WriteFile("C:\\bad.txt", std::string(70000, 'y') + "\r\nz");
  FPlatform.Fs.SetReadFault("C:\\bad.txt", 23, 65536);
  TTextReader reader("C:\\bad.txt");
  try {
    reader.ReadLine();
    FAIL() << "a failed read went unnoticed";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.Message(), "I/O error 23");
  }
}

}  // namespace
}  // namespace foyer
