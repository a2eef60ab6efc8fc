// foyer.exe on the demonstration medium, driven from a second process as a user would drive it.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "BackendBed.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Bitmap.h"
#include "util/Path.h"

namespace foyer::test {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Polls a condition until it holds or the deadline passes; never waits a fixed time.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

// What the screen shows in a window's client area, read back from the screen itself.
Rendering CaptureClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  Rendering rendering;
  rendering.Width = client.right;
  rendering.Height = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = rendering.Width;
  info.bmiHeader.biHeight = -rendering.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  ClientDC screen;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen.Get());
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, rendering.Width, rendering.Height, screen.Get(), origin.x, origin.y,
         SRCCOPY);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  rendering.Pixels.assign(pixels, pixels + static_cast<size_t>(rendering.Width) * rendering.Height);
  for (uint32_t& pixel : rendering.Pixels)
    pixel &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return rendering;
}

// Colours on an 8-bit screen come from the system palette: near enough is the same colour.
bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int delta = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (delta > tolerance || delta < -tolerance) return false;
  }
  return true;
}

// A running foyer.exe and its main window; killed at the end if it is still running.
class FoyerProcess {
 public:
  explicit FoyerProcess(const std::string& exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exe + "\"";
    PROCESS_INFORMATION info{};
    if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &info)) {
      FProcess = FileHandle(info.hProcess);
      FileHandle thread(info.hThread);
      FProcessId = info.dwProcessId;
    }
  }
  ~FoyerProcess() {
    if (FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(FProcess.Get(), 1);
      WaitForSingleObject(FProcess.Get(), 5000);
    }
  }
  FoyerProcess(const FoyerProcess&) = delete;
  FoyerProcess& operator=(const FoyerProcess&) = delete;

  bool Started() const { return FProcess.IsValid(); }
  HANDLE Handle() const { return FProcess.Get(); }

  // The visible main window of this process.
  HWND MainWindow() const {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "TMainForm", nullptr)) != nullptr) {
      DWORD owner = 0;
      GetWindowThreadProcessId(window, &owner);
      if (owner == FProcessId && IsWindowVisible(window)) return window;
    }
    return nullptr;
  }

 private:
  FileHandle FProcess;
  DWORD FProcessId = 0;
};

class EndToEndDepth : public testing::Test {
 protected:
  void SetUp() override {
    FMedium = Env("FOYER_MEDIUM");
    if (FMedium.empty()) GTEST_SKIP() << "FOYER_MEDIUM names no demonstration medium";
    AddBackslash(FMedium);
    FPlatform.emplace(Win32Services());
    ClientDC screen;
    FBitsPerPixel = GetDeviceCaps(screen.Get(), BITSPIXEL);
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

  std::optional<ScopedPlatform> FPlatform;
  std::string FMedium;
  int FBitsPerPixel = 0;
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
