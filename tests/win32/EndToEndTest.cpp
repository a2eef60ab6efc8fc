// foyer.exe on the demonstration medium, driven from a second process as a user would drive it.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    // As many as the program's own window, made headless over the medium, counts.
    FCategories = static_cast<int>(Categories().size());
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

  // The exe's icon at a size, as the system picks the image for it.
  HICON ExeIcon(int size) const {
    const HMODULE exe = LoadLibraryExA((FMedium + "bin.dat\\foyer.exe").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE);
    if (exe == nullptr) return nullptr;
    const auto icon = static_cast<HICON>(LoadImageA(exe, "FOYER", IMAGE_ICON, size, size, 0));
    FreeLibrary(exe);
    return icon;
  }

  // An icon drawn over a colour.
  static Rendering DrawnIcon(HICON icon, int size, uint32_t behind) {
    return RenderWith(size, size, [&](HDC dc) {
      const RECT all{0, 0, size, size};
      HBRUSH brush = CreateSolidBrush(RGB(behind >> 16, (behind >> 8) & 0xFF, behind & 0xFF));
      FillRect(dc, &all, brush);
      DeleteObject(brush);
      DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    });
  }

  // Whether the disc of the exe's small icon shows near the top-left corner of a window: every
  // silver pixel of the icon is silver there, at one place.
  bool ShowsSmallIcon(const Rendering& frame) const {
    const int size = GetSystemMetrics(SM_CXSMICON);
    const HICON icon = ExeIcon(size);
    if (icon == nullptr) return false;
    const Rendering drawn = DrawnIcon(icon, size, 0x000000);
    DestroyIcon(icon);
    std::vector<POINT> silver;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (drawn.At(x, y) == 0xC0C0C0) silver.push_back({x, y});
      }
    }
    const int tolerance = FBitsPerPixel < 16 ? 64 : 0;
    for (int top = 0; top + size <= std::min(frame.Height, 48); ++top) {
      for (int left = 0; left + size <= std::min(frame.Width, 64); ++left) {
        const bool all = std::all_of(silver.begin(), silver.end(), [&](const POINT& p) {
          return Near(frame.At(left + p.x, top + p.y), 0xC0C0C0, tolerance);
        });
        if (all && !silver.empty()) return true;
      }
    }
    return false;
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
  // The title bar shows the program's own icon.
  const Rendering titled = CaptureWindow(window);
  KeepRendering(titled, "main-window-frame-" + std::to_string(FBitsPerPixel) + "bpp");
  EXPECT_TRUE(ShowsSmallIcon(titled)) << "no icon of the program in the title bar";
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

// The exe carries its icon in both sizes, each drawn for its size: a black rim, a silver disc
// and a hole that shows what lies behind.
TEST_F(EndToEndDepth, ExeCarriesItsIconDrawnForEachSize) {
  for (const int size : {32, 16}) {
    const HICON icon = ExeIcon(size);
    ASSERT_NE(icon, nullptr) << size;
    const int middle = size / 2 - 1;  // a pixel of the hole, on the middle row
    for (const uint32_t behind : {0xFFFFFFu, 0x000000u}) {
      const Rendering drawn = DrawnIcon(icon, size, behind);
      EXPECT_EQ(drawn.At(middle, middle), behind) << size << " the hole";
      EXPECT_EQ(drawn.At(0, middle), 0x000000u) << size << " the rim";
      EXPECT_EQ(drawn.At(2, middle), 0xC0C0C0u) << size << " the disc";
      EXPECT_EQ(drawn.At(0, 0), behind) << size << " outside the disc";
    }
    DestroyIcon(icon);
  }
}

// At the screen's resolution (96, and 144 in a pass of its own) the main window, a category
// button, the list, the install dialog and the text viewer are scaled from their designs.
TEST_F(EndToEndTest, ScaledToTheScreenMainWindowListInstallDialogAndTextViewer) {
  // The pass at another resolution says which: a prefix that did not take it fails here.
  ASSERT_EQ(std::to_string(FPixelsPerInch), Env("FOYER_EXPECT_PPI"));
  const auto client = [](HWND w) {
    return std::pair{CaptureClient(w).Width, CaptureClient(w).Height};
  };
  // Painted now, for the picture kept of it.
  const auto keep = [&](HWND window, const char* name) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    KeepRendering(CaptureWindow(window), name + ("-" + std::to_string(FPixelsPerInch) + "ppi"));
  };
  ASSERT_NO_FATAL_FAILURE(StartFoyer());
  EXPECT_EQ(client(FMain), std::pair(Scaled(622), Scaled(443)));
  // The first category's button: its picture's size times the scale, a margin from the corner;
  // its one-pixel border on the scaled rectangle's edges and not beyond them.
  const int m = Scaled(8), right = m + Scaled(FButtonWidth), bottom = m + Scaled(FButtonHeight);
  EXPECT_TRUE(WaitFor(
      [&] {
        const Rendering shot = CaptureClient(FMain);
        const uint32_t edge = shot.At(m + 9, m);
        return edge != 0 && shot.At(right - 1, m + 9) == edge &&
               shot.At(m + 9, bottom - 1) == edge && shot.At(m, m + 9) == edge &&
               shot.At(right, m + 9) != edge && shot.At(m + 9, bottom) != edge;
      },
      20000));
  ASSERT_NO_FATAL_FAILURE(SelectEntry("Install", "Typing"));  // the last row
  EXPECT_EQ(SendMessageA(FList, LB_GETITEMHEIGHT, 0, 0), Scaled(12));
  WaitFor(
      [&] {
        return SendMessageA(FList, LB_GETCURSEL, 0, 0) + 1 ==
               SendMessageA(FList, LB_GETCOUNT, 0, 0);
      },
      10000);
  // The rows are on screen before the picture is kept.
  CaptureClientWithList(FMain, FList);
  keep(FMain, "main-window-list");
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Install", "Atlas"));
  HWND dialog = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (dialog = FFoyer->Window("TOpenDirDialog")) != nullptr; }, 10000));
  EXPECT_EQ(client(dialog), std::pair(Scaled(479), Scaled(255)));
  keep(dialog, "install-dialog");
  PostKey(FindDescendant(dialog, "Edit"), VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(FMain) != FALSE; }, 10000));
  // The Manual category holds one text file: a click opens the viewer, designed at 120.
  const std::vector<std::string> names = Categories();
  const POINT manual = CaptionOf(std::find(names.begin(), names.end(), "Manual") - names.begin());
  PostClick(FMain, manual.x, manual.y);
  HWND viewer = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (viewer = FFoyer->Window("TShowTxtForm")) != nullptr; }, 10000));
  EXPECT_EQ(client(viewer), std::pair(607 * FPixelsPerInch / 120, 471 * FPixelsPerInch / 120));
  keep(viewer, "text-viewer");
}

}  // namespace
}  // namespace foyer::test
