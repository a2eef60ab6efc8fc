// The file system as the system's ANSI calls give it.
#pragma once

#include "platform/Platform.h"

namespace foyer {

// Every call returns the system's own error code (GetLastError) on failure.
class Win32FileSystem final : public IFileSystem {
 public:
  FindResult Enumerate(const std::string& pattern) override;
  bool FileExists(const std::string& path) override;
  bool DirExists(const std::string& path) override;
  uint32_t CreateDir(const std::string& path) override;
  uint32_t CopyFile(const std::string& source, const std::string& target, bool failIfExists,
                    ICopyChunks* chunks = nullptr) override;
  uint32_t ReplaceFile(const std::string& replaced, const std::string& replacement) override;
  uint32_t DeleteFile(const std::string& path) override;
  std::unique_ptr<IReadFile> OpenRead(const std::string& path, uint32_t& error) override;
  std::string GetCurrentDir(char drive = 0) override;
  uint32_t SetCurrentDir(const std::string& path) override;
  std::string FullPath(const std::string& path) override;
  std::vector<DriveInfo> Drives() override;
  DriveInfo DriveOf(char letter) override;
};

}  // namespace foyer
