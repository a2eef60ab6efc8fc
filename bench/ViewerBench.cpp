// Times the text viewer on large files on the real system: from ShowFile until its window is up
// and painted, against reading the file alone in the same run, and against the system's notepad
// until its edit control holds the same text. With --rich, the rich-text viewer on documents,
// against the system's WordPad in the same way.
#include "platform/win32/WinApi.h"

#include "Clock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Application.h"
#include "toolkit/win32/Win32Backend.h"
#include "util/Path.h"
#include "viewers/ShowRtf.h"
#include "viewers/ShowTxt.h"

namespace {

using namespace foyer;

using bench::Seconds;

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Writes the file anew with the text; the benchmark cannot go on without it.
void WriteWholeFile(const std::string& path, const std::string& text) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file ||
      !WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
    std::fprintf(stderr, "bench: cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

// A file of text lines with CR LF ends, megabytes long; made once and reused.
std::string MakeTextFile(const std::string& top, int megabytes) {
  const std::string path = top + "\\text" + std::to_string(megabytes) + "mb.txt";
  const uint64_t size = static_cast<uint64_t>(megabytes) * 1024 * 1024;
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES && FileSize(path) >= size) {
    return path;
  }
  std::string text;
  text.reserve(size + 128);
  char line[128];
  for (int number = 1; text.size() < size; ++number) {
    const int length = std::snprintf(
        line, sizeof line, "%08d  Catalogue entry, item %d of the disc: title, maker, year.\r\n",
        number, number % 977);
    text.append(line, static_cast<size_t>(length));
  }
  WriteWholeFile(path, text);
  return path;
}

// A rich-text document of paragraphs with bold and italic runs, megabytes long; made once.
std::string MakeRtfFile(const std::string& top, int megabytes) {
  const std::string path = top + "\\doc" + std::to_string(megabytes) + "mb.rtf";
  const uint64_t size = static_cast<uint64_t>(megabytes) * 1024 * 1024;
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES && FileSize(path) >= size) {
    return path;
  }
  std::string text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20\r\n";
  text.reserve(size + 128);
  char line[160];
  for (int number = 1; text.size() < size; ++number) {
    const int length = std::snprintf(
        line, sizeof line,
        "%08d  Catalogue entry {\\b item %d} of the disc: title, maker, {\\i year}.\\par\r\n",
        number, number % 977);
    text.append(line, static_cast<size_t>(length));
  }
  text += "}";
  WriteWholeFile(path, text);
  return path;
}

// What any viewer must do: read the whole file into memory.
double TimeRead(const std::string& path) {
  const double start = Seconds();
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  std::string bytes(FileSize(path), '\0');
  DWORD got = 0;
  if (!file ||
      !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
      got != bytes.size()) {
    std::fprintf(stderr, "bench: cannot read %s\n", path.c_str());
  }
  return Seconds() - start;
}

struct ViewerTimes {
  double Shown = 0;    // ShowFile until the window is up and painted
  double SetText = 0;  // handing the same text to the hidden memo again
  size_t Length = 0;   // the characters the edit control held
  int32_t Result = 0;  // how the viewer closed
};

// A timer fires only when no painting is pending: its first tick marks the window as up. It
// then reads how much text the viewer's text area holds and closes the viewer as a user would,
// with Escape.
template <typename Viewer>
ViewerTimes TimeViewer(Viewer& form, const char* textClass, const std::string& path) {
  ViewerTimes times;
  TTimer upTimer;
  upTimer.SetEnabled(false);
  upTimer.SetInterval(1);
  double shownAt = 0;
  upTimer.OnTimer = [&](TComponent*) {
    upTimer.SetEnabled(false);
    shownAt = Seconds();
    const HWND viewer = HandleOf(form);
    times.Length = static_cast<size_t>(
        GetWindowTextLengthA(FindWindowExA(viewer, nullptr, textClass, nullptr)));
    // To the viewer itself: the focus can still be on its way from the previous showing.
    PostMessageA(viewer, WM_KEYDOWN, VK_ESCAPE, 0);
  };
  form.OnShow = [&](TComponent*) { upTimer.SetEnabled(true); };
  const double start = Seconds();
  form.ShowFile(path);
  times.Shown = shownAt - start;
  times.Result = form.ModalResult();
  form.OnShow = nullptr;
  return times;
}

ViewerTimes TimeTextViewer(const std::string& path) {
  ViewerTimes times = TimeViewer(*ShowTxtForm, "FoyerTextView", path);
  std::string text = ShowTxtForm->Memo1->Text();
  const double setStart = Seconds();
  ShowTxtForm->Memo1->SetText(std::move(text));
  times.SetText = Seconds() - setStart;
  return times;
}

struct ProgramWindow {
  DWORD ProcessId;
  const char* TextClass;
  HWND Found;
};

BOOL CALLBACK FindTextArea(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProgramWindow*>(param);
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  const size_t prefix = std::strlen(search->TextClass);
  if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, className,
                     static_cast<int>(std::min(prefix, std::strlen(className))), search->TextClass,
                     static_cast<int>(prefix)) != CSTR_EQUAL) {
    return TRUE;
  }
  search->Found = window;
  return FALSE;
}

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProgramWindow*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->ProcessId) return TRUE;
  EnumChildWindows(window, FindTextArea, param);
  return search->Found == nullptr;
}

int ClientWidthOf(HWND window) {
  RECT area{};
  GetClientRect(window, &area);
  return area.right;
}

// A program of the system (notepad, WordPad) from its start until its text area, a child window
// whose class starts with textClass, holds length characters; negative when it did not within
// the deadline. The program started here is ended here.
double TimeProgram(const std::string& exe, const char* textClass, const std::string& path,
                   size_t length, int* textWidth = nullptr) {
  std::string commandLine = "\"" + exe + "\" \"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const double start = Seconds();
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return -1;
  }
  FileHandle process(info.hProcess);
  FileHandle thread(info.hThread);
  double seconds = -1;
  while (Seconds() - start < 120) {
    ProgramWindow search{info.dwProcessId, textClass, nullptr};
    EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&search));
    const HWND edit = search.Found;
    DWORD_PTR held = 0;
    // The program answers only between its own messages: the wait is part of its time.
    if (edit != nullptr &&
        SendMessageTimeoutA(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 60000, &held) != 0 &&
        held >= length) {
      seconds = Seconds() - start;
      if (textWidth != nullptr) *textWidth = ClientWidthOf(edit);
      break;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
  }
  // Told before and after, so that the script can end a program Wine fails to end.
  std::printf("-- ending the program\n");
  std::fflush(stdout);
  TerminateProcess(process.Get(), 0);
  WaitForSingleObject(process.Get(), 10000);
  std::printf("-- ended the program\n");
  std::fflush(stdout);
  return seconds;
}

std::string WindowsFolder() {
  char folder[MAX_PATH + 1] = {};
  GetWindowsDirectoryA(folder, MAX_PATH);
  return folder;
}

double TimeNotepad(const std::string& path, size_t length) {
  return TimeProgram(WindowsFolder() + "\\notepad.exe", "Edit", path, length);
}

double TimeWordPad(const std::string& path, size_t length, int* textWidth = nullptr) {
  // The program files folder lies beside the Windows one on the same drive.
  const std::string exe =
      WindowsFolder().substr(0, 3) + "Program Files\\Windows NT\\Accessories\\wordpad.exe";
  return TimeProgram(exe, "RichEdit", path, length, textWidth);
}

// The rich-text viewer against WordPad on documents of the sizes given. How long the rich edit
// takes depends much on how many rows its paragraphs wrap into, so the width of each text area
// is printed; with sameWidth the viewer is widened to WordPad's, for a like-for-like figure.
void BenchRich(const std::string& top, const std::vector<int>& sizes, bool wordPad,
               bool sameWidth) {
  Application().CreateForm(ShowRtfForm);
  double wordPadStart = -1;
  int wordPadWidth = 0;
  if (wordPad) {
    wordPadStart = TimeWordPad(MakeTextFile(top, 0), 0, &wordPadWidth);
    std::printf("WordPad start-up on an empty file: %.3f s; its text area is %d px wide\n",
                wordPadStart, wordPadWidth);
  }
  const HWND memo = HandleOf(*ShowRtfForm->Memo1);
  if (sameWidth && wordPadWidth > 0) {
    const int32_t frame = ShowRtfForm->Width() - ClientWidthOf(memo);
    ShowRtfForm->SetBounds(ShowRtfForm->Left(), ShowRtfForm->Top(), frame + wordPadWidth,
                           ShowRtfForm->Height());
  }
  std::printf("the viewer's text area is %d px wide\n", ClientWidthOf(memo));
  std::printf("%-6s %9s %9s %9s %11s %11s %8s\n", "MB", "read s", "viewer s", "wordpad s",
              "viewer/read", "viewer/wpad", "s/MB");
  for (int megabytes : sizes) {
    const std::string path = MakeRtfFile(top, megabytes);
    TimeRead(path);
    const double read = TimeRead(path);
    const ViewerTimes viewer = TimeViewer(*ShowRtfForm, "RichEdit20A", path);
    const double pad = wordPad ? TimeWordPad(path, viewer.Length) : 0;
    std::printf("%-6d %9.3f %9.3f %9.3f %11.1f %11.2f %8.3f\n", megabytes, read, viewer.Shown, pad,
                viewer.Shown / read, pad > 0 ? viewer.Shown / pad : 0.0, viewer.Shown / megabytes);
    std::printf("   the rich edit held %u characters\n", static_cast<unsigned>(viewer.Length));
    std::fflush(stdout);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(
        stderr, "usage: foyer_viewer_bench <work folder> [--rich] [megabytes...] [--no-notepad] "
        "[--same-width]\n");
    return 2;
  }
  InstallPlatform(Win32Services());
  Application().SetBackend(MakeWin32Backend(GetModuleHandleA(nullptr)));
  Application().Backend().Start();
  const std::string top = argv[1];
  std::vector<int> sizes;
  bool notepad = true;
  bool rich = false;
  bool sameWidth = false;
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "--rich") {
      rich = true;
    } else if (std::string(argv[i]) == "--no-notepad") {
      notepad = false;
    } else if (std::string(argv[i]) == "--same-width") {
      sameWidth = true;
    } else {
      sizes.push_back(std::atoi(argv[i]));
    }
  }
  ForceDirs(top);
  if (rich) {
    BenchRich(top, sizes.empty() ? std::vector<int>{5, 20} : sizes, notepad, sameWidth);
    Application().DestroyForms();
    return 0;
  }
  if (sizes.empty()) sizes = {1, 10, 20, 50};
  Application().CreateForm(ShowTxtForm);

  // Notepad's own start-up, to tell it apart from its loading.
  double notepadStart = -1;
  if (notepad) {
    const std::string empty = MakeTextFile(top, 0);
    notepadStart = TimeNotepad(empty, 0);
    std::printf("notepad start-up on an empty file: %.3f s\n", notepadStart);
  }
  std::printf("%-6s %9s %9s %9s %9s %10s %11s %8s\n", "MB", "read s", "viewer s", "settext s",
              "notepad s", "viewer/read", "viewer/note", "s/MB");
  for (int megabytes : sizes) {
    const std::string path = MakeTextFile(top, megabytes);
    // One warm-up, so that both find the file in the cache.
    TimeRead(path);
    const double read = TimeRead(path);
    const ViewerTimes viewer = TimeTextViewer(path);
    const double note = notepad ? TimeNotepad(path, viewer.Length) : -1;
    std::printf("%-6d %9.3f %9.3f %9.3f %9.3f %10.1f %11.2f %8.3f\n", megabytes, read, viewer.Shown,
                viewer.SetText, note, viewer.Shown / read, note > 0 ? viewer.Shown / note : 0.0,
                viewer.Shown / megabytes);
    if (viewer.Result != mrOk) std::printf("   the viewer closed with %d, not OK\n", viewer.Result);
    if (viewer.Length + 2 < FileSize(path)) {
      std::printf("   the edit control held %u characters of %u\n",
                  static_cast<unsigned>(viewer.Length), static_cast<unsigned>(FileSize(path)));
    }
    std::fflush(stdout);
  }
  Application().DestroyForms();
  return 0;
}
