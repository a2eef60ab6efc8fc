// Driving a program from a second process.
#include "drive/Drive.h"

#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/Painting.h"

namespace foyer::drive {

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

ScreenPicture CaptureScreen(const RECT& area) {
  ScreenPicture picture;
  picture.Width = area.right - area.left;
  picture.Height = area.bottom - area.top;
  if (picture.Width <= 0 || picture.Height <= 0) return picture;
  const BITMAPINFO info = TopDownBitmapInfo(picture.Width, picture.Height);
  ClientDC screen;
  void* bits = nullptr;
  GdiBitmap bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDC memory(CreateCompatibleDC(screen.Get()));
  if (!bitmap || !memory) return {};
  {
    ObjectSelection selection(memory.Get(), bitmap.Get());
    BitBlt(memory.Get(), 0, 0, picture.Width, picture.Height, screen.Get(), area.left, area.top,
           SRCCOPY);
    GdiFlush();
  }
  const auto* pixels = static_cast<const uint32_t*>(bits);
  picture.Pixels.assign(pixels, pixels + static_cast<size_t>(picture.Width) * picture.Height);
  for (uint32_t& pixel : picture.Pixels)
    pixel &= 0xFFFFFF;
  return picture;
}

ScreenPicture CaptureWindow(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  return CaptureScreen(frame);
}

ScreenPicture CaptureClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&client, origin.x, origin.y);
  return CaptureScreen(client);
}

std::vector<std::string> ListRows(HWND listBox) {
  std::vector<std::string> rows;
  const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    // The program may fill the list anew between the two questions, and a row's text has no
    // limit it would be cut at: room to spare for a longer row than the one measured.
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 0) + 1 + 65536, L'\0');
    SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(wcslen(wide.c_str()));
    // Up to three bytes a unit in UTF-8.
    std::string ansi(wide.size() * 3 + 1, '\0');
    const int written =
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), ansi.data(),
                            static_cast<int>(ansi.size()), nullptr, nullptr);
    ansi.resize(static_cast<size_t>(written > 0 ? written : 0));
    rows.push_back(ansi);
  }
  return rows;
}

HWND FindDescendant(HWND parent, const char* className, const char* text) {
  for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child != nullptr;
       child = FindWindowExA(parent, child, nullptr, nullptr)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    char caption[64] = {};
    if (text != nullptr) GetWindowTextA(child, caption, sizeof caption);
    if (lstrcmpiA(name, className) == 0 && (text == nullptr || lstrcmpA(caption, text) == 0)) {
      return child;
    }
    if (HWND inner = FindDescendant(child, className, text)) return inner;
  }
  return nullptr;
}

ProgramProcess::ProgramProcess(const std::string& exe, const std::string& arguments) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  PROCESS_INFORMATION info{};
  if (CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    FProcess = FileHandle(info.hProcess);
    FileHandle thread(info.hThread);
    FProcessId = info.dwProcessId;
  }
}

ProgramProcess::~ProgramProcess() {
  if (FProcess && WaitForSingleObject(FProcess.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(FProcess.Get(), 1);
    WaitForSingleObject(FProcess.Get(), 5000);
  }
}

HWND ProgramProcess::Window(const char* className) const {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == FProcessId && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

bool SettledPicture(HWND window, DWORD timeoutMs, DWORD gapMs, ScreenPicture& picture) {
  picture = CaptureWindow(window);
  DWORD lastAt = GetTickCount();
  return WaitFor(
      [&] {
        if (GetTickCount() - lastAt < gapMs) return false;
        ScreenPicture now = CaptureWindow(window);
        lastAt = GetTickCount();
        if (now == picture && now.Width > 0) return true;
        picture = std::move(now);
        return false;
      },
      timeoutMs);
}

std::string BmpFileBytes(const ScreenPicture& picture) {
  const uint32_t rowBytes = (static_cast<uint32_t>(picture.Width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + rowBytes * static_cast<uint32_t>(picture.Height);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = picture.Width;
  info.biHeight = picture.Height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  for (int y = picture.Height - 1; y >= 0; --y) {
    std::string row(rowBytes, '\0');
    for (int x = 0; x < picture.Width; ++x) {
      const uint32_t pixel = picture.Pixels[static_cast<size_t>(y) * picture.Width + x];
      row[3 * x] = static_cast<char>(pixel & 0xFF);
      row[3 * x + 1] = static_cast<char>((pixel >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<char>((pixel >> 16) & 0xFF);
    }
    bytes += row;
  }
  return bytes;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  return file.IsValid() &&
         WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                   nullptr) &&
         written == bytes.size();
}

}  // namespace foyer::drive
