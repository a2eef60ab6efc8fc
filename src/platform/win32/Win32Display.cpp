// The screen as the system's device capabilities describe it.
#include "platform/win32/Win32Display.h"

#include "platform/win32/WinApi.h"

#include "platform/win32/Handles.h"

namespace foyer {

namespace {

int ScreenCaps(int index) {
  ClientDC screen;
  return screen.IsValid() ? GetDeviceCaps(screen.Get(), index) : 0;
}

}  // namespace

int Win32Display::BitsPerPixel() {
  // Planar modes count a bit per plane; every mode since the 16-colour ones has one plane.
  ClientDC screen;
  if (!screen.IsValid()) return 0;
  return GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
}

int Win32Display::ScreenWidth() {
  return ScreenCaps(HORZRES);
}

int Win32Display::ScreenHeight() {
  return ScreenCaps(VERTRES);
}

int Win32Display::PixelsPerInch() {
  return ScreenCaps(LOGPIXELSY);
}

}  // namespace foyer
