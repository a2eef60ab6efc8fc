// Owners for the system's handles: each gives its handle back exactly once, when it goes away.
#pragma once

#include "platform/win32/WinApi.h"

namespace foyer {

// One owner per handle kind; Traits names the handle type, its invalid value and how to close it.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : FHandle(handle) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : FHandle(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = other.Release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  bool IsValid() const { return FHandle != Traits::Invalid(); }
  explicit operator bool() const { return IsValid(); }
  Handle Get() const { return FHandle; }

  Handle Release() {
    Handle handle = FHandle;
    FHandle = Traits::Invalid();
    return handle;
  }

  void Reset() {
    if (IsValid()) Traits::Close(FHandle);
    FHandle = Traits::Invalid();
  }

 private:
  Handle FHandle = Traits::Invalid();
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { FindClose(handle); }
};

struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle handle) { CloseHandle(handle); }
};

// A FindFirstFile search.
using FindHandle = UniqueHandle<FindHandleTraits>;
// A file from CreateFile.
using FileHandle = UniqueHandle<FileHandleTraits>;

// A process or thread, which is null when there is none (INVALID_HANDLE_VALUE would be this
// process itself).
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { CloseHandle(handle); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// A device context from GetDC: of a window's client area, or of the whole screen when the window
// is null.
class ClientDC {
 public:
  explicit ClientDC(HWND window = nullptr) : FWindow(window), FDC(GetDC(window)) {}
  ~ClientDC() {
    if (FDC) ReleaseDC(FWindow, FDC);
  }
  ClientDC(const ClientDC&) = delete;
  ClientDC& operator=(const ClientDC&) = delete;

  bool IsValid() const { return FDC != nullptr; }
  HDC Get() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// Adds flags to the process's error mode for a scope and puts the previous mode back after.
class ErrorModeScope {
 public:
  explicit ErrorModeScope(UINT flags) : FPrevious(SetErrorMode(flags)) {
    SetErrorMode(FPrevious | flags);
  }
  ~ErrorModeScope() { SetErrorMode(FPrevious); }
  ErrorModeScope(const ErrorModeScope&) = delete;
  ErrorModeScope& operator=(const ErrorModeScope&) = delete;

 private:
  UINT FPrevious;
};

}  // namespace foyer
