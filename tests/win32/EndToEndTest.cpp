// foyer.exe on the demonstration medium, driven from a second process as a user would drive it.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "BackendBed.h"
#include "EndToEndBed.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Bitmap.h"
#include "util/Path.h"

namespace foyer::test {
namespace {

class EndToEndDepth : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    if (IsSkipped()) return;
    const std::string skin = FBitsPerPixel < 16 ? "rgb256" : "tc24";
    FButton = LoadPicture(FMedium + "layout.dat\\" + skin + "\\butt.bmp");
    FCategories = ExpectedCategories();
  }

  // The categories the medium should show: visible dotless folders, at most fifteen.
  int ExpectedCategories() {
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA((FMedium + "*").c_str(), &data));
    int count = 0;
    if (!find) return 0;
    do {
      const DWORD attributes = data.dwFileAttributes;
      if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) continue;
      if ((attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0) continue;
      if (std::string(data.cFileName).find('.') != std::string::npos) continue;
      if (std::string(data.cFileName) == "Tremlov") continue;
      ++count;
    } while (FindNextFileA(find.Get(), &data));
    return count < 15 ? count : 15;
  }

  // True when the button picture shows at a client position: its corners match butt.bmp.
  bool ButtonAt(const Rendering& shot, int left, int top) const {
    // Wine's 8-bit window surface maps colours to its own palette: measured up to 63 off.
    const int tolerance = FBitsPerPixel < 16 ? 64 : 0;
    const POINT probes[] = {{3, 3},
                            {FButton.Width - 4, 3},
                            {3, FButton.Height - 4},
                            {FButton.Width - 4, FButton.Height - 4}};
    for (const POINT& p : probes) {
      const int x = left + p.x;
      const int y = top + p.y;
      if (x < 0 || y < 0 || x >= shot.Width || y >= shot.Height) return false;
      const uint32_t expected = FButton.Pixels[static_cast<size_t>(p.y) * FButton.Width + p.x];
      if (!Near(shot.At(x, y), expected, tolerance)) return false;
    }
    return true;
  }

  // How far the middle of the window is from a background picture stretched over it.
  static int64_t Distance(const Rendering& shot, const Picture& back) {
    int64_t total = 0;
    for (int y = 150; y < 300; y += 5) {
      for (int x = 130; x < 490; x += 5) {
        const uint32_t seen = shot.At(x, y);
        const uint32_t drawn =
            back.Pixels[static_cast<size_t>(y * back.Height / shot.Height) * back.Width +
                        x * back.Width / shot.Width];
        for (int shift = 0; shift < 24; shift += 8) {
          const int64_t delta = static_cast<int64_t>((seen >> shift) & 0xFF) -
                                static_cast<int64_t>((drawn >> shift) & 0xFF);
          total += delta * delta;
        }
      }
    }
    return total;
  }

  // Dark caption pixels in the middle of a button, where the light button picture has none.
  int CaptionPixels(const Rendering& shot, int left, int top) const {
    const RECT middle{left + 10, top + FButton.Height / 4, left + FButton.Width - 10,
                      top + FButton.Height * 3 / 4};
    int dark = 0;
    for (int y = middle.top; y < middle.bottom; ++y) {
      for (int x = middle.left; x < middle.right; ++x) {
        if (Near(shot.At(x, y), 0x000000, 40)) ++dark;
      }
    }
    return dark;
  }

  Picture FButton;
  int FCategories = 0;
};

TEST_F(EndToEndDepth, MainWindowShowsTheSkinAndOneButtonPerCategoryAndQuitEndsIt) {
  ASSERT_GT(FCategories, 0);
  FoyerProcess foyer(FMedium + "bin.dat\\foyer.exe");
  ASSERT_TRUE(foyer.Started());
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (window = foyer.MainWindow()) != nullptr; }, 20000));

  char caption[64] = {};
  GetWindowTextA(window, caption, sizeof caption);
  EXPECT_STREQ(caption, "foyer");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 622);
  EXPECT_EQ(client.bottom, 443);

  const int bw = FButton.Width;
  const int bh = FButton.Height;
  const int quitTop = 443 - bh - 8;
  Rendering shot;
  // The skin appears when the start-up timer has fired.
  const bool skinned = WaitFor(
      [&] {
        shot = CaptureClient(window);
        return ButtonAt(shot, 8, quitTop);
      },
      20000);
  KeepRendering(shot, "main-window-" + std::to_string(FBitsPerPixel) + "bpp");
  ASSERT_TRUE(skinned) << "the Quit button never showed the skin's button picture";
  // The background is the skin chosen for this depth, not the other one.
  const Picture rgb256 = LoadPicture(FMedium + "layout.dat\\rgb256\\back.bmp");
  const Picture tc24 = LoadPicture(FMedium + "layout.dat\\tc24\\back.bmp");
  const int64_t toRgb256 = Distance(shot, rgb256);
  const int64_t toTc24 = Distance(shot, tc24);
  if (FBitsPerPixel < 16) {
    EXPECT_LT(toRgb256, toTc24);
  } else {
    EXPECT_LT(toTc24, toRgb256);
  }

  const int rows = (443 - 16 - bh) / (bh + 8);
  for (int slot = 1; slot <= FCategories; ++slot) {
    const int left = slot <= rows ? 8 : 622 - 8 - bw;
    const int top = (bh + 8) * (slot <= rows ? slot - 1 : slot - 1 - rows) + 8;
    EXPECT_TRUE(ButtonAt(shot, left, top)) << "category " << slot;
    EXPECT_GT(CaptionPixels(shot, left, top), 10) << "caption of category " << slot;
  }
  EXPECT_GT(CaptionPixels(shot, 8, quitTop), 10) << "the Quit caption";
  // No category beyond the last one.
  const int next = FCategories + 1;
  if (next <= 2 * rows) {
    EXPECT_FALSE(ButtonAt(shot, next <= rows ? 8 : 622 - 8 - bw,
                          (bh + 8) * (next <= rows ? next - 1 : next - 1 - rows) + 8));
  }

  // Resized, the window lays itself out again: the Quit button follows the bottom edge.
  RECT frame{};
  GetWindowRect(window, &frame);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 100, frame.bottom - frame.top + 80,
               SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_TRUE(WaitFor(
      [&] {
        shot = CaptureClient(window);
        return shot.Height == 443 + 80 && ButtonAt(shot, 8, quitTop + 80);
      },
      10000));

  // A click on the Quit caption ends the program.
  PostClick(window, 8 + bw / 2, quitTop + 80 + bh / 2);
  ASSERT_EQ(WaitForSingleObject(foyer.Handle(), 10000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  GetExitCodeProcess(foyer.Handle(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace foyer::test
