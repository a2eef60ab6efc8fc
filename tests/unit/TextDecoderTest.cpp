// Decoding what text files hold: marks, UTF-8 told from the legacy code page, faults shown as
// the replacement character, double-byte characters kept whole. (That the text is the same
// however it comes in pieces, the text reader's fuzzer checks.)
#include "util/TextDecoder.h"

#include <gtest/gtest.h>

#include "platform/memory/MemoryPlatform.h"

namespace foyer {
namespace {

using enum TTextEncoding;

const std::string kFffd = "\xEF\xBF\xBD";
const std::string kWide(64 * 1024, 'a');  // as long as the window that tells UTF-8 apart

TEST(TextDecoder, DecodesEachWayOfWritingATextAsTheProgramsStrings) {
  const struct {
    const char* What;
    std::string Bytes;
    bool IsUtf8Program;
    std::string Text;
    TTextEncoding Encoding;
  } cases[] = {
      // One case a line.
      // clang-format off
      {"nothing", "", true, "", Ascii},
      {"ASCII", "plain\r\n", true, "plain\r\n", Ascii},
      {"UTF-8 mark", "\xEF\xBB\xBF" "caf\xC3\xA9", true, "caf\xC3\xA9", Utf8Mark},
      {"a mark's start", "\xEF\xBB", true, "\xC3\xAF\xC2\xBB", Legacy},
      {"not a mark", "\xFF" "A", true, "\xC3\xBF" "A", Legacy},
      {"UTF-16 LE", std::string("\xFF\xFEh\0\r\0\n\0\xE9\0", 10), true, "h\r\n\xC3\xA9", Utf16Le},
      {"UTF-16 BE pair", std::string("\xFE\xFF\xD8\x3D\xDE\0", 6), true, "\xF0\x9F\x98\x80", Utf16Be},
      {"lone high surrogate", std::string("\xFF\xFE\x3D\xD8" "A\0", 6), true, kFffd + "A", Utf16Le},
      {"lone low surrogate", std::string("\xFF\xFE\0\xDE" "A\0", 6), true, kFffd + "A", Utf16Le},
      {"high surrogate last", std::string("\xFF\xFE" "A\0\x3D\xD8", 6), true, "A" + kFffd, Utf16Le},
      {"odd length", std::string("\xFF\xFE" "A\0" "B", 5), true, "A" + kFffd, Utf16Le},
      {"UTF-8", "caf\xC3\xA9", true, "caf\xC3\xA9", Utf8},
      {"overlong", "\xC0\xAF", true, "\xC3\x80\xC2\xAF", Legacy},
      {"surrogate in UTF-8", "\xED\xA0\x80", true, "\xC3\xAD\xC2\xA0\xE2\x82\xAC", Legacy},
      {"beyond U+10FFFF", "\xF4\x90\x80", true, "\xC3\xB4\xC2\x90\xE2\x82\xAC", Legacy},
      {"cut short by the end", "caf\xC3", true, "caf\xC3\x83", Legacy},
      {"stray continuation", "a\x80" "b", true, "a\xE2\x82\xAC" "b", Legacy},
      {"1252", "caf\xE9 \x80", true, "caf\xC3\xA9 \xE2\x82\xAC", Legacy},
      // A fault after the window shows as the replacement character; a sequence the window's
      // end cuts short counts as well-formed.
      {"late fault", "\xC3\xA9" + kWide + "\xFF", true, "\xC3\xA9" + kWide + kFffd, Utf8},
      {"cut by the window", "\xC3\xA9" + kWide.substr(3) + "\xE2\x82\xAC", true,
       "\xC3\xA9" + kWide.substr(3) + "\xE2\x82\xAC", Utf8},
      // Strings in the legacy code page, as before Windows 10 1903.
      {"1252 kept", "caf\xE9", false, "caf\xE9", Legacy},
      {"UTF-8 as 1252", "caf\xC3\xA9", false, "caf\xE9", Utf8},
      {"UTF-16 beyond 1252", "\xFF\xFE\x3A\x04", false, "?", Utf16Le},
      // clang-format on
  };
  MemoryPlatform platform;
  ScopedPlatform scoped(platform.Get());
  for (const auto& c : cases) {
    platform.CodePage.SetUtf8(c.IsUtf8Program);
    TTextEncoding encoding = Ascii;
    EXPECT_EQ(DecodeText(c.Bytes, &encoding), c.Text) << c.What;
    EXPECT_EQ(encoding, c.Encoding) << c.What;
  }
}

// The text decoded from two pieces, cut at a byte.
std::string InTwo(const std::string& bytes, size_t cut, TTextEncoding& encoding) {
  TTextDecoder decoder;
  std::string text;
  decoder.Take(bytes.data(), cut, text);
  decoder.Take(bytes.data() + cut, bytes.size() - cut, text);
  decoder.Finish(text);
  encoding = decoder.Encoding();
  return text;
}

// A double-byte code page converts a piece at a time: a character split between two pieces
// would show as two wrong ones.
struct PieceCodePage final : ICodePage {
  bool IsUtf8() override { return true; }
  uint32_t LegacyCodePage() override { return 932; }
  std::string FromLegacy(const std::string& bytes) override { return Pieces.emplace_back(bytes); }
  std::string FromUtf8(const std::string& text) override { return text; }
  void LowerBuff(std::string&) override {}
  std::vector<std::string> Pieces;
};

TEST(TextDecoder, ALegacyDoubleByteCharacterIsNeverSplitBetweenConversions) {
  PieceCodePage codePage;
  ScopedPlatform scoped({.CodePage = &codePage});
  // Shift-JIS: the second byte of a character may be a letter or even "\". The window is all
  // "\x83\x5C", so the text is known to be legacy while it still comes in.
  std::string bytes;
  while (bytes.size() < kWide.size())
    bytes += "\x83\x5C";
  bytes += "\x83\x74\x83\x67 \x82\xA0\r\n\x83\x41\x83\x5C";
  for (size_t cut = kWide.size() - 4; cut <= bytes.size(); ++cut) {
    codePage.Pieces.clear();
    TTextEncoding encoding = Ascii;
    EXPECT_EQ(InTwo(bytes, cut, encoding), bytes);
    for (size_t i = 0; i + 1 < codePage.Pieces.size(); ++i)
      EXPECT_LT(static_cast<unsigned char>(codePage.Pieces[i].back()), 0x40) << "cut at " << cut;
  }
}

}  // namespace
}  // namespace foyer
