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
#include "platform/Platform.h"
#include "platform/win32/Handles.h"

namespace foyer::test {

// An environment variable, or empty.
std::string Env(const char* name);

// Polls a condition until it holds or the deadline passes; never waits a fixed time.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs);

// What the screen shows in a window's client area, read back from the screen itself.
Rendering CaptureClient(HWND window);
// What the screen shows of a whole window, frame and caption included.
Rendering CaptureWindow(HWND window);
// The text of a window of another process, whatever its length.
std::string WindowText(HWND window);

// Colours on an 8-bit screen come from the system palette: near enough is the same colour.
bool Near(uint32_t a, uint32_t b, int tolerance);

// The rows of a list box of another process. Under Wine LB_GETTEXT sent as ANSI answers in
// UTF-16, so the rows are asked for in UTF-16 and turned back into the ANSI code page.
std::vector<std::string> ListRows(HWND listBox);

// The first descendant window of a class.
HWND FindDescendant(HWND parent, const char* className);

// A running foyer.exe; killed at the end if it is still running.
class FoyerProcess {
 public:
  explicit FoyerProcess(const std::string& exe, const std::string& arguments = {});
  ~FoyerProcess();
  FoyerProcess(const FoyerProcess&) = delete;
  FoyerProcess& operator=(const FoyerProcess&) = delete;

  bool Started() const { return FProcess.IsValid(); }
  HANDLE Handle() const { return FProcess.Get(); }
  // The visible top-level window of this process with a window class, or null.
  HWND Window(const char* className) const;
  HWND MainWindow() const { return Window("TMainForm"); }

 private:
  FileHandle FProcess;
  DWORD FProcessId = 0;
};

// Ground of every end-to-end test: the demonstration medium FOYER_MEDIUM names (skipped without
// one), the real services installed, and the screen's colour depth.
class EndToEndTest : public testing::Test {
 protected:
  void SetUp() override;

  // The categories of the medium in the order the file system lists them, as the program
  // numbers them.
  std::vector<std::string> Categories() const;
  // The client point at the middle of a category's caption, the index counted from 0.
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
