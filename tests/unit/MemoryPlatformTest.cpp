// The in-memory set of services and its screen.
#include "platform/memory/MemoryPlatform.h"

#include <gtest/gtest.h>

namespace foyer {
namespace {

TEST(MemoryDisplay, StartsAsATrueColourScreenOf1024By768At96PixelsPerInch) {
  MemoryDisplay display;
  EXPECT_EQ(display.BitsPerPixel(), 32);
  EXPECT_EQ(display.ScreenWidth(), 1024);
  EXPECT_EQ(display.ScreenHeight(), 768);
  EXPECT_EQ(display.PixelsPerInch(), 96);
}

TEST(MemoryDisplay, AnswersWhatATestSet) {
  MemoryDisplay display;
  display.SetBitsPerPixel(8);
  display.SetScreenSize(640, 480);
  display.SetPixelsPerInch(120);
  EXPECT_EQ(display.BitsPerPixel(), 8);
  EXPECT_EQ(display.ScreenWidth(), 640);
  EXPECT_EQ(display.ScreenHeight(), 480);
  EXPECT_EQ(display.PixelsPerInch(), 120);
}

TEST(MemoryPlatform, InstalledServicesAreItsOwnAndThePreviousOnesComeBack) {
  MemoryPlatform outer;
  MemoryPlatform inner;
  ScopedPlatform outerScope(outer.Get());
  {
    ScopedPlatform innerScope(inner.Get());
    EXPECT_EQ(Platform().Fs, &inner.Fs);
    EXPECT_EQ(Platform().Display, &inner.Display);
    EXPECT_EQ(Platform().CodePage, &inner.CodePage);
  }
  EXPECT_EQ(Platform().Fs, &outer.Fs);
}

}  // namespace
}  // namespace foyer
