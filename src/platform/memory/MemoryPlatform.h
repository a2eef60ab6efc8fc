// A whole in-memory set of services, for tests and tools.
#pragma once

#include "platform/Platform.h"
#include "platform/memory/MemoryCodePage.h"
#include "platform/memory/MemoryClock.h"
#include "platform/memory/MemoryDisplay.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryMedia.h"

namespace foyer {

// Owns one of each in-memory service; install it with ScopedPlatform(platform.Get()).
struct MemoryPlatform {
  MemoryFileSystem Fs;
  MemoryDisplay Display;
  MemoryCodePage CodePage;
  MemoryClock Clock;
  MemoryMedia Media;
  MemoryPrograms Programs;

  Services Get();
};

}  // namespace foyer
