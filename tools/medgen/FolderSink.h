// Writes a generated medium into a real folder of the host's file system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "medgen/Medium.h"

namespace foyer::medgen {

// The value of the extended attribute in which Wine keeps a file's DOS attributes on Linux
// ("user.DOSATTRIB"): the attribute bits as "0x"-prefixed hexadecimal text, as Samba writes it.
inline constexpr const char* kDosAttribName = "user.DOSATTRIB";
std::string DosAttribValue(uint32_t attributes);

// The host path of a medium's relative path: backslashes become the host's separator.
std::filesystem::path HostPath(const std::filesystem::path& root, const std::string& relPath);

// Failures throw std::runtime_error with the path and the system's reason.
class FolderSink : public IMediumSink {
 public:
  // The folder must exist; the sink writes into it.
  explicit FolderSink(std::filesystem::path root);
  void MakeDir(const std::string& relPath) override;
  void WriteFile(const std::string& relPath, const std::string& bytes) override;
  void SetHidden(const std::string& relPath) override;
  int FileCount() const { return FFileCount; }
  uint64_t ByteCount() const { return FByteCount; }

 private:
  std::filesystem::path FRoot;
  int FFileCount = 0;
  uint64_t FByteCount = 0;
};

}  // namespace foyer::medgen
