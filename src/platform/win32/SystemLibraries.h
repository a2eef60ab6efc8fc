// The program's libraries come from the system folder, never from its own folder or the current
// one.
#pragma once

#include "platform/win32/WinApi.h"

namespace foyer {

// Confines the libraries the process loads from now on to the system folder: those loaded by
// name, those the system's own libraries load on the program's behalf, and those the program
// imports lazily. Call it first, before anything loads a library.
void LoadLibrariesFromSystemOnly();

// Loads one of the system's libraries, by its file name, from the system folder; null when it
// cannot.
HMODULE LoadSystemLibrary(const char* name);

}  // namespace foyer
