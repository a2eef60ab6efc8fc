// Driving foyer.exe from a second process, as a user would: start it, find its windows, click,
// read what its controls hold and what the screen shows.
#pragma once

#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BackendBed.h"
#include "drive/Drive.h"
#include "platform/Platform.h"

namespace foyer::test {

// An environment variable, or empty.
std::string Env(const char* name);

using drive::FindDescendant;
using drive::ListRows;
using drive::WaitFor;

// What the screen shows in a window's client area, read back from the screen itself.
Rendering CaptureClient(HWND window);
// The client area of a window showing a list, once the list's first row is painted on screen:
// its rows can be listed before the system's list box has drawn them.
Rendering CaptureClientWithList(HWND window, HWND list);
// What the screen shows of a whole window, frame and caption included.
Rendering CaptureWindow(HWND window);
// The text of a window of another process, whatever its length.
std::string WindowText(HWND window);

// Colours on an 8-bit screen come from the system palette: near enough is the same colour.
bool Near(uint32_t a, uint32_t b, int tolerance);

// A running foyer.exe; killed at the end if it is still running.
class FoyerProcess : public drive::ProgramProcess {
 public:
  using ProgramProcess::ProgramProcess;
  HWND MainWindow() const { return Window("TMainForm"); }
};

// Ground of every end-to-end test: the demonstration medium FOYER_MEDIUM names (skipped without
// one), the real services installed, and the screen's colour depth.
class EndToEndTest : public testing::Test {
 protected:
  void SetUp() override;

  // The categories of the medium at FMedium in slot order, and the middle of a category's
  // button (index counted from 0), as the program's own main window numbers and lays them out:
  // the window is made headless over the same medium, so the tests hold no copy of those rules.
  std::vector<std::string> Categories() const;
  POINT CaptionOf(size_t index) const;
  // Starts foyer.exe on a content root (the medium's own foyer.exe when empty) and waits for
  // its main window.
  void StartFoyer(const std::string& root = {});
  // Clicks a category's caption until the main window's list shows other rows than before.
  void OpenCategory(HWND mainWindow, const std::string& category);
  // Lists the category (unless it was listed last) and double-clicks the row that shows the
  // entry, as a user acts on it.
  void ActOnEntry(const std::string& category, const std::string& entry);
  // Lists the category (unless it was listed last) and clicks the row that shows the entry.
  void SelectEntry(const std::string& category, const std::string& entry);
  // Copies the medium's skins to another content root, folders made as needed.
  void CopySkins(const std::string& root);

  std::optional<ScopedPlatform> FPlatform;
  // The medium's top folder, with its trailing backslash.
  std::string FMedium;
  int FBitsPerPixel = 0;
  // The screen's, which foyer.exe lays its windows out at (this program is as aware as it).
  int FPixelsPerInch = 96;
  // A length of the main window's design (96 pixels per inch) on this screen.
  int Scaled(int designed) const { return designed * FPixelsPerInch / 96; }
  int FButtonWidth = 0;
  int FButtonHeight = 0;
  std::unique_ptr<FoyerProcess> FFoyer;
  HWND FMain = nullptr;
  HWND FList = nullptr;
  std::string FListed;     // the category SelectEntry listed last
  LPARAM FSelectedAt = 0;  // where SelectEntry clicked in the list
};

}  // namespace foyer::test
