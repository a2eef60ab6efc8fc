// The Win32 backend tests' ground.
#include "win32/BackendBed.h"

#include <algorithm>
#include <cstdlib>

#include "platform/win32/Handles.h"
#include "toolkit/Headless.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/Painting.h"
#include "toolkit/win32/Win32Backend.h"

namespace foyer::test {

namespace {

// Hooks and watchdogs are per thread and the tests run on one: one of each at a time.
ActivationHook* gActivationHook = nullptr;
Watchdog* gWatchdog = nullptr;

std::string TextOf(HWND window) {
  char buffer[1024];
  const int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(std::max(0, length)));
}

// The message of a message box: its longest static text (the icon is a static too).
BOOL CALLBACK CollectStaticText(HWND child, LPARAM found) {
  auto* text = reinterpret_cast<std::string*>(found);
  if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) {
    std::string candidate = TextOf(child);
    if (candidate.size() > text->size()) *text = std::move(candidate);
  }
  return TRUE;
}

void Dispatch(MSG& message) {
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

}  // namespace

void Win32BackendTest::SetUp() {
  FSavedTitle = Application().Title();
  Application().SetBackend(MakeWin32Backend(GetModuleHandleA(nullptr)));
  Application().Backend().Start();
}

void Win32BackendTest::TearDown() {
  Application().DestroyForms();
  Application().SetBackend(std::make_unique<HeadlessBackend>());
  // Running without a main form only clears the "terminated" state a test may have left.
  Application().Run();
  Application().SetTitle(FSavedTitle);
  // A quit message a test left behind must not end a later test's loop.
  MSG message;
  while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message != WM_QUIT) Dispatch(message);
    }
  }
  return true;
}

void DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message != WM_QUIT) Dispatch(message);
  }
}

void PostClick(HWND window, int x, int y) {
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

std::string ClassOf(HWND window) {
  char buffer[256];
  const int length = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(std::max(0, length)));
}

RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void PostKey(HWND window, WPARAM key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

IdleSteps::IdleSteps(std::vector<std::function<void()>> steps) : FSteps(std::move(steps)) {
  FTimer.SetEnabled(false);
  FTimer.SetInterval(1);
  FTimer.OnTimer = [this](TComponent*) {
    if (FNext + 1 >= FSteps.size()) FTimer.SetEnabled(false);
    if (FNext < FSteps.size()) FSteps[FNext++]();
  };
  FTimer.SetEnabled(true);
}

int Rendering::Count(uint32_t rgb, const RECT& area) const {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x)
      count += At(x, y) == rgb ? 1 : 0;
  }
  return count;
}

RECT Rendering::Bounds(uint32_t rgb, const RECT& area) const {
  RECT bounds{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (At(x, y) != rgb) continue;
      bounds.left = std::min<LONG>(bounds.left, x);
      bounds.top = std::min<LONG>(bounds.top, y);
      bounds.right = std::max<LONG>(bounds.right, x + 1);
      bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
    }
  }
  return bounds;
}

Rendering RenderWith(int width, int height, const std::function<void(HDC)>& paint) {
  Rendering rendering;
  rendering.Width = width;
  rendering.Height = height;
  const BITMAPINFO info = TopDownBitmapInfo(width, height);
  void* bits = nullptr;
  GdiBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  MemoryDC dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) return rendering;
  const size_t count = static_cast<size_t>(width) * height;
  // A colour nothing paints, so that a pixel left unpainted shows.
  std::fill_n(static_cast<uint32_t*>(bits), count, 0x00FF00FFu);
  {
    ObjectSelection selection(dc.Get(), bitmap.Get());
    paint(dc.Get());
    GdiFlush();
  }
  const auto* pixels = static_cast<const uint32_t*>(bits);
  rendering.Pixels.assign(pixels, pixels + count);
  for (uint32_t& pixel : rendering.Pixels)
    pixel &= 0xFFFFFF;
  return rendering;
}

Rendering RenderClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return RenderWith(client.right, client.bottom, [window](HDC dc) {
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  });
}

void KeepRendering(const Rendering& rendering, const std::string& name) {
  const char* folder = std::getenv("FOYER_RENDER_DIR");
  if (folder == nullptr || *folder == '\0') return;
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = rendering.Width;
  header.biHeight = -rendering.Height;
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  const DWORD pixelBytes = static_cast<DWORD>(rendering.Pixels.size() * sizeof(uint32_t));
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + pixelBytes;
  FileHandle out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return;
  DWORD written = 0;
  WriteFile(out.Get(), &file, sizeof file, &written, nullptr);
  WriteFile(out.Get(), &header, sizeof header, &written, nullptr);
  WriteFile(out.Get(), rendering.Pixels.data(), pixelBytes, &written, nullptr);
}

uint32_t Rgb(TColor color) {
  const COLORREF value = (color & kSystemColor) != 0 ? GetSysColor(color & 0xFF) : color;
  return (static_cast<uint32_t>(GetRValue(value)) << 16) |
         (static_cast<uint32_t>(GetGValue(value)) << 8) | GetBValue(value);
}

std::shared_ptr<const Picture> SolidPicture(int width, int height, uint32_t rgb) {
  auto picture = std::make_shared<Picture>();
  picture->Width = width;
  picture->Height = height;
  picture->Pixels.assign(static_cast<size_t>(width) * height, rgb);
  return picture;
}

std::shared_ptr<const Picture> QuadrantPicture(int half, const uint32_t (&rgb)[4]) {
  auto picture = std::make_shared<Picture>();
  picture->Width = 2 * half;
  picture->Height = 2 * half;
  for (int y = 0; y < 2 * half; ++y) {
    for (int x = 0; x < 2 * half; ++x) {
      picture->Pixels.push_back(rgb[(y < half ? 0 : 2) + (x < half ? 0 : 1)]);
    }
  }
  return picture;
}

ActivationHook::ActivationHook(std::function<void(HWND)> onActivate)
    : FHook(SetWindowsHookExA(WH_CBT, Proc, nullptr, GetCurrentThreadId())),
      FOnActivate(std::move(onActivate)) {
  gActivationHook = this;
}

ActivationHook::~ActivationHook() {
  UnhookWindowsHookEx(FHook);
  gActivationHook = nullptr;
}

LRESULT CALLBACK ActivationHook::Proc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && gActivationHook != nullptr) {
    gActivationHook->FOnActivate(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

MessageBoxAnswerer::MessageBoxAnswerer()
    : FHook([this](HWND window) {
        if (ClassOf(window) != "#32770") return;
        std::string text;
        EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&text));
        FTitles.push_back(TextOf(window));
        FTexts.push_back(text);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
      }) {}

Watchdog::Watchdog(DWORD timeoutMs, std::function<void()> rescue)
    : FTimer(SetTimer(nullptr, 0, timeoutMs, Proc)), FRescue(std::move(rescue)) {
  gWatchdog = this;
}

Watchdog::~Watchdog() {
  KillTimer(nullptr, FTimer);
  gWatchdog = nullptr;
}

void CALLBACK Watchdog::Proc(HWND, UINT, UINT_PTR id, DWORD) {
  if (gWatchdog == nullptr || gWatchdog->FTimer != id || gWatchdog->FFired) return;
  gWatchdog->FFired = true;
  gWatchdog->FRescue();
}

}  // namespace foyer::test
