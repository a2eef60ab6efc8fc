// Slabs of 64 KB, each holding blocks of one size class, taken from and given back to the system
// with VirtualAlloc and VirtualFree.
#include "toolkit/win32/ModulePool.h"

#include <cstdint>
#include <cstring>
#include <unordered_set>

namespace foyer {

namespace {

using module_pool::kLargestBlock;

constexpr size_t kGrain = 16;
constexpr size_t kClasses = kLargestBlock / kGrain;
// VirtualAlloc hands out memory at this granularity, so a block's slab is found by its address.
constexpr uintptr_t kSlabBytes = 64 * 1024;

struct Slab {
  Slab* Next;  // among the slabs of its class that have room
  Slab* Prev;
  void* FreeBlocks;  // freed blocks, each holding the next one's address
  uint32_t BlockBytes;
  uint32_t Live;    // blocks handed out
  uint32_t Carved;  // blocks ever cut from the slab
  uint32_t Capacity;
  bool Listed;  // whether it is on its class's list
};
// The blocks start after the header, aligned as the heap aligns its blocks.
constexpr size_t kHeaderBytes = (sizeof(Slab) + kGrain - 1) / kGrain * kGrain;

class Pool {
 public:
  Pool() { InitializeCriticalSection(&FLock); }

  void* Alloc(size_t bytes) {
    const size_t sizeClass = bytes == 0 ? 0 : (bytes - 1) / kGrain;
    Locked lock(FLock);
    Slab* slab = FRoom[sizeClass];
    if (slab == nullptr) {
      slab = NewSlab((sizeClass + 1) * kGrain);
      if (slab == nullptr) return nullptr;
      Link(sizeClass, slab);
    }
    void* block;
    if (slab->FreeBlocks != nullptr) {
      block = slab->FreeBlocks;
      slab->FreeBlocks = *static_cast<void**>(block);
    } else {
      block =
          reinterpret_cast<char*>(slab) + kHeaderBytes + size_t{slab->Carved} * slab->BlockBytes;
      ++slab->Carved;
    }
    ++slab->Live;
    ++FBlocks;
    if (slab->FreeBlocks == nullptr && slab->Carved == slab->Capacity) Unlink(sizeClass, slab);
    // Always zeroed, and kept zero past the size last asked for, so that a reallocation that
    // asks for zeroed memory finds it zero where it grows in place.
    std::memset(block, 0, slab->BlockBytes);
    return block;
  }

  void Free(void* block) {
    Locked lock(FLock);
    Slab* slab = SlabOf(block);
    const size_t sizeClass = slab->BlockBytes / kGrain - 1;
    *static_cast<void**>(block) = slab->FreeBlocks;
    slab->FreeBlocks = block;
    --slab->Live;
    --FBlocks;
    if (!slab->Listed) Link(sizeClass, slab);
    // An empty slab goes back to the system unless it is the only room its class has left, so a
    // block taken and freed in turn does not map and unmap a slab each time.
    if (slab->Live == 0 && (slab->Next != nullptr || slab->Prev != nullptr)) {
      Unlink(sizeClass, slab);
      FSlabs.erase(reinterpret_cast<uintptr_t>(slab));
      VirtualFree(slab, 0, MEM_RELEASE);
    }
  }

  bool Owns(const void* block) {
    if (block == nullptr) return false;
    Locked lock(FLock);
    return FSlabs.count(reinterpret_cast<uintptr_t>(block) & ~(kSlabBytes - 1)) != 0;
  }

  // Only for a block the pool owns.
  size_t BlockBytes(const void* block) {
    Locked lock(FLock);
    return SlabOf(block)->BlockBytes;
  }

  module_pool::Use InUse() {
    Locked lock(FLock);
    return {FSlabs.size(), FBlocks};
  }

 private:
  class Locked {
   public:
    explicit Locked(CRITICAL_SECTION& lock) : FLock(lock) { EnterCriticalSection(&FLock); }
    ~Locked() { LeaveCriticalSection(&FLock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

   private:
    CRITICAL_SECTION& FLock;
  };

  static Slab* SlabOf(const void* block) {
    return reinterpret_cast<Slab*>(reinterpret_cast<uintptr_t>(block) & ~(kSlabBytes - 1));
  }

  Slab* NewSlab(size_t blockBytes) {
    void* memory = VirtualAlloc(nullptr, kSlabBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (memory == nullptr) return nullptr;
    if ((reinterpret_cast<uintptr_t>(memory) & (kSlabBytes - 1)) != 0) {
      // Not at the granularity the lookup relies on: not used.
      VirtualFree(memory, 0, MEM_RELEASE);
      return nullptr;
    }
    try {
      FSlabs.insert(reinterpret_cast<uintptr_t>(memory));
    } catch (...) {
      VirtualFree(memory, 0, MEM_RELEASE);
      return nullptr;
    }
    auto* slab = static_cast<Slab*>(memory);  // committed pages come zeroed
    slab->BlockBytes = static_cast<uint32_t>(blockBytes);
    slab->Capacity = static_cast<uint32_t>((kSlabBytes - kHeaderBytes) / blockBytes);
    return slab;
  }

  void Link(size_t sizeClass, Slab* slab) {
    slab->Prev = nullptr;
    slab->Next = FRoom[sizeClass];
    if (slab->Next != nullptr) slab->Next->Prev = slab;
    FRoom[sizeClass] = slab;
    slab->Listed = true;
  }

  void Unlink(size_t sizeClass, Slab* slab) {
    if (slab->Prev != nullptr)
      slab->Prev->Next = slab->Next;
    else
      FRoom[sizeClass] = slab->Next;
    if (slab->Next != nullptr) slab->Next->Prev = slab->Prev;
    slab->Next = slab->Prev = nullptr;
    slab->Listed = false;
  }

  CRITICAL_SECTION FLock;
  Slab* FRoom[kClasses] = {};
  std::unordered_set<uintptr_t> FSlabs;
  size_t FBlocks = 0;
};

// Never destroyed: the module may free its blocks while the process ends.
Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

bool ForThePool(HANDLE heap) {
  return heap == GetProcessHeap();
}

// Counts the import slots of the module that hold one of the addresses and, when asked, points
// them at the replacement.
int PatchImports(HMODULE module, const void* const* originals, size_t count, void* replacement,
                 bool apply) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports =
      headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return 0;
  int patched = 0;
  for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       library->Name != 0; ++library) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
         slot->u1.Function != 0; ++slot) {
      const void* target = reinterpret_cast<const void*>(slot->u1.Function);
      bool match = false;
      for (size_t i = 0; i < count; ++i)
        match = match || (originals[i] != nullptr && target == originals[i]);
      if (!match) continue;
      if (!apply) {
        ++patched;
        continue;
      }
      DWORD protection = 0;
      if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                          &protection)) {
        continue;
      }
      slot->u1.Function = reinterpret_cast<decltype(slot->u1.Function)>(replacement);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
      ++patched;
    }
  }
  return patched;
}

}  // namespace

namespace module_pool {

LPVOID WINAPI Alloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
  if (!ForThePool(heap) || bytes > kLargestBlock) return HeapAlloc(heap, flags, bytes);
  void* block = ThePool().Alloc(bytes);
  if (block == nullptr) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return block;
}

LPVOID WINAPI ReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes) {
  if (!ForThePool(heap) || !ThePool().Owns(block)) return HeapReAlloc(heap, flags, block, bytes);
  const size_t had = ThePool().BlockBytes(block);
  if (bytes <= had && (bytes > had / 2 || (flags & HEAP_REALLOC_IN_PLACE_ONLY) != 0)) {
    std::memset(static_cast<char*>(block) + bytes, 0, had - bytes);
    return block;
  }
  if ((flags & HEAP_REALLOC_IN_PLACE_ONLY) != 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  // A larger block from the process heap is zeroed past the copy only when asked; the pool's
  // come zeroed, and the old block is zero past the size last asked for.
  void* moved = Alloc(heap, flags, bytes);
  if (moved == nullptr) return nullptr;
  std::memcpy(moved, block, bytes < had ? bytes : had);
  ThePool().Free(block);
  return moved;
}

BOOL WINAPI Free(HANDLE heap, DWORD flags, LPVOID block) {
  if (!ForThePool(heap) || !ThePool().Owns(block)) return HeapFree(heap, flags, block);
  ThePool().Free(block);
  return TRUE;
}

SIZE_T WINAPI Size(HANDLE heap, DWORD flags, LPCVOID block) {
  if (!ForThePool(heap) || !ThePool().Owns(block)) return HeapSize(heap, flags, block);
  return ThePool().BlockBytes(block);
}

bool Owns(LPCVOID block) {
  return ThePool().Owns(block);
}

Use InUse() {
  return ThePool().InUse();
}

}  // namespace module_pool

bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool PoolModuleHeapUnderWine(HMODULE module) {
  if (module == nullptr || !RunsUnderWine()) return false;
  // An import names kernel32's export, kernelbase's or ntdll's; each may forward to ntdll's.
  const HMODULE libraries[] = {GetModuleHandleA("kernel32.dll"), GetModuleHandleA("kernelbase.dll"),
                               GetModuleHandleA("ntdll.dll")};
  const char* const names[][2] = {{"HeapAlloc", "RtlAllocateHeap"},
                                  {"HeapReAlloc", "RtlReAllocateHeap"},
                                  {"HeapFree", "RtlFreeHeap"},
                                  {"HeapSize", "RtlSizeHeap"}};
  void* const replacements[] = {
      reinterpret_cast<void*>(module_pool::Alloc), reinterpret_cast<void*>(module_pool::ReAlloc),
      reinterpret_cast<void*>(module_pool::Free), reinterpret_cast<void*>(module_pool::Size)};
  const void* originals[4][3] = {};
  for (size_t call = 0; call < 4; ++call) {
    for (size_t i = 0; i < 3; ++i) {
      if (libraries[i] == nullptr) continue;
      const char* name = names[call][i == 2 ? 1 : 0];
      originals[call][i] = reinterpret_cast<const void*>(GetProcAddress(libraries[i], name));
    }
  }
  // A module that takes blocks but frees them by some other way must keep the process heap.
  if (PatchImports(module, originals[0], 3, nullptr, false) == 0 ||
      PatchImports(module, originals[2], 3, nullptr, false) == 0) {
    return false;
  }
  for (size_t call = 0; call < 4; ++call)
    PatchImports(module, originals[call], 3, replacements[call], true);
  return true;
}

}  // namespace foyer
