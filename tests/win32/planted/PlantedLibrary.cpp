// A library that stands for one planted beside the program (the build names it winmm.dll,
// mpr.dll and riched20.dll): once loaded, it leaves a marker beside itself, its own file name
// with ".loaded" added.
#include "platform/win32/Handles.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
  lstrcpyA(path + length, ".loaded");
  const foyer::FileHandle marker(
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return TRUE;
}
