// A pool of fixed-size slabs for one system module's small heap blocks, under Wine only.
//
// Wine's heap (8.0) has no low-fragmentation front end: it searches a free list block by block
// for every allocation. The rich edit frees and takes again hundreds of thousands of small blocks
// while it lays out a long document, and the search grows with every block left free, so a 1 MB
// document took 90 s and a 5 MB one did not load in 10 minutes. Routed through the pool, 1 MB
// takes 2.4 s and 5 MB 19 s. Windows' own heap has that front end, and there nothing changes.
#pragma once

#include <cstddef>

#include "platform/win32/WinApi.h"

namespace foyer {

// Whether the program runs under Wine rather than on Windows.
bool RunsUnderWine();

// Routes the module's imported HeapAlloc, HeapReAlloc, HeapFree and HeapSize on the process heap
// to the pool when the program runs under Wine; returns whether it did. Blocks the module took
// before, and blocks too large for the pool, stay with the process heap. Once per module, before
// it allocates anything that matters (a window class's blocks from its loading are fine).
bool PoolModuleHeapUnderWine(HMODULE module);

// The pool's functions, with the process heap's signatures, for tests.
namespace module_pool {

// The largest block the pool serves; larger ones go to the process heap.
constexpr size_t kLargestBlock = 1024;

LPVOID WINAPI Alloc(HANDLE heap, DWORD flags, SIZE_T bytes);
LPVOID WINAPI ReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);
BOOL WINAPI Free(HANDLE heap, DWORD flags, LPVOID block);
SIZE_T WINAPI Size(HANDLE heap, DWORD flags, LPCVOID block);

// Whether the block is one of the pool's.
bool Owns(LPCVOID block);

struct Use {
  size_t Slabs;   // slabs held from the system
  size_t Blocks;  // blocks handed out and not freed
};
Use InUse();

}  // namespace module_pool

}  // namespace foyer
