// Lower-casing in code page 1252, as the in-memory platform gives it.
#include "platform/memory/MemoryCodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace foyer {
namespace {

std::string Lowered(std::string text) {
  MemoryCodePage charCase;
  charCase.LowerBuff(text);
  return text;
}

TEST(MemoryCodePage, LowersAsciiCapitalsOnly) {
  EXPECT_EQ(Lowered("ReadMe.TXT 42 @[`{"), "readme.txt 42 @[`{");
}

TEST(MemoryCodePage, LowersAccentedCapitalsButNotTheMultiplicationSign) {
  EXPECT_EQ(Lowered("\xC0\xC9\xD6\xD7\xD8\xDE"), "\xE0\xE9\xF6\xD7\xF8\xFE");
  // Sharp s and the small letters have no capital in the code page to become.
  EXPECT_EQ(Lowered("\xDF\xE0\xFF"), "\xDF\xE0\xFF");
}

TEST(MemoryCodePage, LowersTheIrregularCapitals) {
  EXPECT_EQ(Lowered("\x8A\x8C\x8E\x9F"), "\x9A\x9C\x9E\xFF");
}

TEST(MemoryCodePage, ChangesExactlyTheSixtyCapitalsAndKeepsTheLength) {
  std::string all;
  for (int code = 0; code < 256; ++code)
    all += static_cast<char>(code);
  const std::string lowered = Lowered(all);
  ASSERT_EQ(lowered.size(), 256u);
  int changed = 0;
  for (size_t index = 0; index < all.size(); ++index) {
    if (lowered[index] != all[index]) ++changed;
  }
  EXPECT_EQ(changed, 26 + 30 + 4);
}

}  // namespace
}  // namespace foyer
