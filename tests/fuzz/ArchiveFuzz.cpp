// Feeds arbitrary bytes to foyer-check's reading of a disc image or a zip file: unpacked within
// small limits into a private folder, then checked over the POSIX platform and reported as text
// and JSON, as foyer-check does. Whatever the bytes, nothing crashes or leaks, the unpacked tree
// holds only folders and regular files of this user's, and the folder is removed again.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "Unpack.h"
#include "check/Checker.h"
#include "platform/memory/MemoryDisplay.h"
#include "platform/memory/MemoryMedia.h"
#include "platform/posix/PosixPlatform.h"

namespace {

// The fuzzer's folder; the runner gives it a TMPDIR of its own and removes that.
std::string& Work() {
  static std::string work = [] {
    const char* temp = std::getenv("TMPDIR");
    std::string made = std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") +
                       "/foyer-archive-fuzz-XXXXXX";
    if (mkdtemp(made.data()) == nullptr) std::abort();
    return made;
  }();
  return work;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace foyer;
  const std::string medium = Work() + "/medium";
  const std::string folder = Work() + "/unpacked";
  std::ofstream(medium, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  mkdir(folder.c_str(), 0700);
  {
    MemoryDisplay display;
    MemoryMedia media;
    MemoryPrograms programs;
    PosixPlatform posix;
    posix.Fs.AddDrive('M', folder);
    Services services = posix.Get();
    services.Display = &display;
    services.Media = &media;
    services.Programs = &programs;
    const ScopedPlatform scoped(services);
    TUnpackLimits limits;
    limits.Entries = 200;
    limits.Bytes = 16 << 20;
    const TUnpackedMedium unpacked(medium, folder, limits);
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
      struct stat status {};
      if (lstat(item.path().c_str(), &status) != 0 ||
          (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode)) ||
          (status.st_mode & (S_ISUID | S_ISGID | S_IWGRP | S_IWOTH)) != 0) {
        std::fprintf(stderr, "unpacked an untame entry: %s\n", item.path().c_str());
        std::abort();
      }
    }
    if (unpacked.Error().empty()) {
      const TReport report = CheckMedium("M:\\");
      if (ReportText(report).empty() || ReportJson(report).empty()) std::abort();
    }
  }
  RemoveTree(folder);
  return 0;
}
