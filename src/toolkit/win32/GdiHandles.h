// Owners for GDI objects, device contexts and what is selected into them.
#pragma once

#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

namespace foyer {

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DeleteObject(handle); }
};

using GdiFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using GdiBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using GdiPalette = UniqueHandle<GdiObjectTraits<HPALETTE>>;
using GdiBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;

struct MemoryDCTraits {
  using Handle = HDC;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { DeleteDC(handle); }
};

// A device context from CreateCompatibleDC.
using MemoryDC = UniqueHandle<MemoryDCTraits>;

// Selects a pen, brush, font or bitmap into a device context for a scope and puts the previous
// one back, so that the object can be deleted afterwards.
class ObjectSelection {
 public:
  ObjectSelection(HDC dc, HGDIOBJ object) : FDC(dc), FPrevious(SelectObject(dc, object)) {}
  ~ObjectSelection() {
    if (FPrevious != nullptr && FPrevious != HGDI_ERROR) SelectObject(FDC, FPrevious);
  }
  ObjectSelection(const ObjectSelection&) = delete;
  ObjectSelection& operator=(const ObjectSelection&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};

// Selects and realises a palette in a device context for a scope.
class PaletteSelection {
 public:
  PaletteSelection(HDC dc, HPALETTE palette, bool background)
      : FDC(dc),
        FPrevious(SelectPalette(dc, palette, background ? TRUE : FALSE)),
        FChanged(RealizePalette(dc)) {}
  ~PaletteSelection() {
    if (FPrevious != nullptr) SelectPalette(FDC, FPrevious, TRUE);
  }
  PaletteSelection(const PaletteSelection&) = delete;
  PaletteSelection& operator=(const PaletteSelection&) = delete;

  // Whether realising it changed entries of the system palette.
  bool ChangedSystemPalette() const { return FChanged != 0 && FChanged != GDI_ERROR; }

 private:
  HDC FDC;
  HPALETTE FPrevious;
  UINT FChanged;
};

// Keeps a device context's clipping, origins and modes for a scope.
class SavedDCState {
 public:
  explicit SavedDCState(HDC dc) : FDC(dc), FState(SaveDC(dc)) {}
  ~SavedDCState() {
    if (FState != 0) RestoreDC(FDC, FState);
  }
  SavedDCState(const SavedDCState&) = delete;
  SavedDCState& operator=(const SavedDCState&) = delete;

 private:
  HDC FDC;
  int FState;
};

// BeginPaint and EndPaint around a WM_PAINT handler; the update region is validated even when
// the painting fails, so a failing paint does not come back for ever.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : FWindow(window), FDC(BeginPaint(window, &FPaint)) {}
  ~PaintScope() { EndPaint(FWindow, &FPaint); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  HDC Get() const { return FDC; }
  const RECT& Area() const { return FPaint.rcPaint; }

 private:
  HWND FWindow;
  PAINTSTRUCT FPaint{};
  HDC FDC;
};

}  // namespace foyer
