// Loading libraries from the system folder only.
#include "platform/win32/SystemLibraries.h"

#include <delayimp.h>

#include <string>

namespace foyer {

namespace {

// The delay-load helper asks this before it loads a library the program imports lazily (the
// build delay-loads the imports that are not among the system's known libraries): the system
// folder's copy is taken, whatever the search order of this system.
FARPROC WINAPI LoadDelayedImport(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary) return nullptr;
  return reinterpret_cast<FARPROC>(LoadSystemLibrary(info->szDll));
}

}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
  char folder[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  // With the full path, the library's own imports are looked for beside it, in the system
  // folder, before the program's folder.
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void LoadLibrariesFromSystemOnly() {
  // A library named without a path is looked for in the program's folder first, and a download
  // folder is where a planted winmm.dll waits beside the program. Windows 8 and later (and Vista
  // and 7 with update KB2533623) can leave that folder out for the whole process; older systems
  // lack the call, and there at least the current folder is left out.
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  const auto setDirectories = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDirectories == nullptr || !setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    SetDllDirectoryA("");
  }
  __pfnDliNotifyHook2 = LoadDelayedImport;
}

}  // namespace foyer
