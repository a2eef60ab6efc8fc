// Driving a program from a second process, as a user would: start it, find its windows, wait for
// them, read what its lists hold and what the screen shows. The Windows tests and the guide's
// screenshot driver both stand on it.
#pragma once

#include "platform/win32/WinApi.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"

namespace foyer::drive {

// Polls a condition, pumping this thread's messages, until it holds or the deadline passes;
// never waits a fixed time.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs);

// What the screen shows: 0x00RRGGBB, rows top-down.
struct ScreenPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  bool operator==(const ScreenPicture&) const = default;
};
ScreenPicture CaptureScreen(const RECT& area);
// A whole window, frame and caption included.
ScreenPicture CaptureWindow(HWND window);
// A window's client area.
ScreenPicture CaptureClient(HWND window);

// A window's picture once two taken gapMs apart are the same; false when it was still changing
// after timeoutMs.
bool SettledPicture(HWND window, DWORD timeoutMs, DWORD gapMs, ScreenPicture& picture);

// A picture as an uncompressed 24-bit Windows bitmap file.
std::string BmpFileBytes(const ScreenPicture& picture);

// Writes bytes as the whole of a file; false when it cannot be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// The rows of a list box of another process. Under Wine LB_GETTEXT sent as ANSI answers in
// UTF-16, so the rows are asked for in UTF-16 and turned back into the ANSI code page.
std::vector<std::string> ListRows(HWND listBox);

// The first descendant window of a class, and with a window text when one is given.
HWND FindDescendant(HWND parent, const char* className, const char* text = nullptr);

// A program started with a command line; killed at the end if it is still running.
class ProgramProcess {
 public:
  // arguments follow the quoted program path on the command line, as they are.
  explicit ProgramProcess(const std::string& exe, const std::string& arguments = {});
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  bool Started() const { return FProcess.IsValid(); }
  HANDLE Handle() const { return FProcess.Get(); }
  // The visible top-level window of this process with a window class, or null.
  HWND Window(const char* className) const;

 private:
  FileHandle FProcess;
  DWORD FProcessId = 0;
};

}  // namespace foyer::drive
