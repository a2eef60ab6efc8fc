// The Win32 backend tests' ground: the backend installed per test, message pumping with a
// deadline, renderings of windows into memory, and hooks that answer windows of this thread.
#pragma once

#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Controls.h"

namespace foyer::test {

// Installs the Win32 backend for one test; afterwards the forms are gone, the program's
// title and "terminated" state are as before, and a headless backend is back.
class Win32BackendTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  std::string FSavedTitle;
};

// Dispatches this thread's messages until the condition holds or the deadline passes.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Dispatches the messages already queued (posted mouse clicks, for example).
void DrainMessages();

// Posts a left click (press and release) at a client point of a window.
void PostClick(HWND window, int x, int y);
// A window's class name, and its outer rectangle in its parent's client area.
std::string ClassOf(HWND window);
RECT RectInParent(HWND window);

// Posts a key press and its release to a window.
void PostKey(HWND window, WPARAM key);

// Runs steps one after the other, each once the modal loop is idle: a timer ticks only when no
// message is queued and no painting is pending, so a step sees what the previous one posted
// handled.
class IdleSteps {
 public:
  explicit IdleSteps(std::vector<std::function<void()>> steps);
  IdleSteps(const IdleSteps&) = delete;
  IdleSteps& operator=(const IdleSteps&) = delete;

 private:
  std::vector<std::function<void()>> FSteps;
  size_t FNext = 0;
  TTimer FTimer;
};

// A picture of a window's client area as WM_PRINTCLIENT paints it, 0x00RRGGBB top-down.
struct Rendering {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  // The pixels of one colour inside an area, and their bounding box.
  int Count(uint32_t rgb, const RECT& area) const;
  RECT Bounds(uint32_t rgb, const RECT& area) const;
};
Rendering RenderClient(HWND window);
// A picture of what paint draws into a memory DC of the given size.
Rendering RenderWith(int width, int height, const std::function<void(HDC)>& paint);
// Keeps a rendering as a .bmp in the folder FOYER_RENDER_DIR names, for people to look at.
void KeepRendering(const Rendering& rendering, const std::string& name);

// A colour as the renderings hold it.
uint32_t Rgb(TColor color);
// A picture of one colour, and one of four coloured quadrants (top-left, top-right,
// bottom-left, bottom-right) each half x half pixels.
std::shared_ptr<const Picture> SolidPicture(int width, int height, uint32_t rgb);
std::shared_ptr<const Picture> QuadrantPicture(int half, const uint32_t (&rgb)[4]);

// Calls the handler for every window of this thread that is about to be activated.
class ActivationHook {
 public:
  explicit ActivationHook(std::function<void(HWND)> onActivate);
  ~ActivationHook();
  ActivationHook(const ActivationHook&) = delete;
  ActivationHook& operator=(const ActivationHook&) = delete;

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam);
  HHOOK FHook;
  std::function<void(HWND)> FOnActivate;
};

// Answers this thread's message boxes with OK and records what they said.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer();
  int Count() const { return static_cast<int>(FTitles.size()); }
  const std::vector<std::string>& Titles() const { return FTitles; }
  const std::vector<std::string>& Texts() const { return FTexts; }

 private:
  std::vector<std::string> FTitles;
  std::vector<std::string> FTexts;
  ActivationHook FHook;
};

// Runs a rescue after a time, so that a test whose modal window never closes fails instead of
// hanging; the rescue runs inside whatever message loop is running then.
class Watchdog {
 public:
  Watchdog(DWORD timeoutMs, std::function<void()> rescue);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;
  bool Fired() const { return FFired; }

 private:
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD);
  UINT_PTR FTimer;
  std::function<void()> FRescue;
  bool FFired = false;
};

}  // namespace foyer::test
