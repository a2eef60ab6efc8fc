// Services over Linux folders for the native build: the real file system of PosixFileSystem,
// and a screen, media interface, program starter and clock that record and answer as told.
#pragma once

#include "platform/Platform.h"
#include "platform/memory/MemoryCodePage.h"
#include "platform/memory/MemoryClock.h"
#include "platform/memory/MemoryDisplay.h"
#include "platform/memory/MemoryMedia.h"
#include "platform/posix/PosixFileSystem.h"

namespace foyer {

// Owns one of each service; add its drives to Fs, then install it with
// ScopedPlatform(platform.Get()). Playing and starting programs are recorded, never done.
struct PosixPlatform {
  PosixFileSystem Fs;
  MemoryDisplay Display;
  MemoryCodePage CodePage{true};
  MemoryClock Clock;
  MemoryMedia Media;
  MemoryPrograms Programs;

  Services Get();
};

}  // namespace foyer
