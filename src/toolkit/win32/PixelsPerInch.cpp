// The pixels per inch of windows, with the per-monitor calls loaded where the system has them.
#include "toolkit/win32/PixelsPerInch.h"

namespace foyer {

namespace {

FARPROC User32Call(const char* name) {
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
}

}  // namespace

int WindowPixelsPerInch(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void*>(User32Call("GetDpiForWindow")));
  if (getDpiForWindow != nullptr) {
    const UINT pixelsPerInch = getDpiForWindow(window);
    if (pixelsPerInch > 0) return static_cast<int>(pixelsPerInch);
  }
  const HDC dc = GetDC(window);
  if (dc == nullptr) return 96;
  const int pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(window, dc);
  return pixelsPerInch > 0 ? pixelsPerInch : 96;
}

void FrameAroundClientAt(RECT& rect, DWORD style, DWORD exStyle, int pixelsPerInch) {
  using AdjustForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = reinterpret_cast<AdjustForDpiCall>(
      reinterpret_cast<void*>(User32Call("AdjustWindowRectExForDpi")));
  if (adjustForDpi != nullptr &&
      adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(pixelsPerInch))) {
    return;
  }
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

}  // namespace foyer
