// Shared fixtures of the native suite: an in-memory machine with media written by the generator.
#pragma once

#include <string>

#include "medgen/Medium.h"
#include "platform/memory/MemoryPlatform.h"

namespace foyer::test {

// Writes a medium into the memory file system under a top folder such as "C:\cd".
class MemorySink : public medgen::IMediumSink {
 public:
  MemorySink(MemoryFileSystem& fs, std::string top) : FFs(fs), FTop(std::move(top)) {}
  void MakeDir(const std::string& relPath) override;
  void WriteFile(const std::string& relPath, const std::string& bytes) override;
  void SetHidden(const std::string& relPath) override;

 private:
  std::string Full(const std::string& relPath) const;
  MemoryFileSystem& FFs;
  std::string FTop;
};

// A bitmap file of the given size in one colour (0x00RRGGBB).
std::string SolidBmp(int width, int height, uint32_t color);

}  // namespace foyer::test
