// The fuzzers' input as a file of the in-memory file system, read in chunks of sizes drawn from
// the input itself, so that every border between two reads is tried; and the code page that
// texts are decoded with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/memory/MemoryCodePage.h"
#include "platform/memory/MemoryFileSystem.h"

namespace foyer::fuzz {

// The first four bytes of the input seed the chunk sizes; the rest is the file.
class ChunkedFile : public IReadFile {
 public:
  ChunkedFile(const uint8_t* data, size_t size) {
    static MemoryFileSystem* fs = [] {
      auto* made = new MemoryFileSystem;
      made->AddDrive('C');
      return made;
    }();
    for (size_t i = 0; i < 4 && i < size; ++i)
      FSeed = FSeed << 8 | data[i];
    FSeed |= 1;
    const size_t skip = size < 4 ? size : 4;
    fs->WriteFile("C:\\fuzz.txt",
                  std::string(reinterpret_cast<const char*>(data) + skip, size - skip));
    uint32_t error = 0;
    FFile = fs->OpenRead("C:\\fuzz.txt", error);
  }

  uint32_t Read(void* buffer, size_t count, size_t& got) override {
    const size_t chunk = Next() % 97 + 1;
    return FFile->Read(buffer, count < chunk ? count : chunk, got);
  }
  uint64_t Size() const override { return FFile->Size(); }
  uint32_t Seek(uint64_t position) override { return FFile->Seek(position); }

  // A number drawn from the seed: xorshift, cheap and the same for the same input.
  uint32_t Next() {
    FSeed ^= FSeed << 13;
    FSeed ^= FSeed >> 17;
    FSeed ^= FSeed << 5;
    return FSeed;
  }

 private:
  uint32_t FSeed = 0;
  std::unique_ptr<IReadFile> FFile;
};

// Installs the in-memory code page, its strings UTF-8 or in code page 1252 as asked.
inline void UseCodePage(bool isUtf8) {
  static MemoryCodePage* codePage = [] {
    auto* made = new MemoryCodePage;
    Services services;
    services.CodePage = made;
    InstallPlatform(services);
    return made;
  }();
  codePage->SetUtf8(isUtf8);
}

}  // namespace foyer::fuzz
