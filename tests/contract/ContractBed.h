// The ground the file-system contract tests stand on: a real or in-memory file system with a
// scratch folder that each build provides (memory natively, a temporary folder under Wine).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace foyer::test {

class ContractBed {
 public:
  virtual ~ContractBed() = default;
  virtual IFileSystem& Fs() = 0;
  // An empty scratch folder: absolute, with its drive letter, ending in a backslash.
  virtual std::string Root() = 0;
  // Writes a file (absolute path), creating nothing else.
  virtual void MakeFile(const std::string& path, const std::string& bytes) = 0;
  virtual void MakeDir(const std::string& path) = 0;
  // Sets the attribute bits (faHidden, faSysFile, faReadOnly, faArchive) of a file or folder.
  virtual void SetAttributes(const std::string& path, uint32_t attrs) = 0;
};

// Defined once per build: the memory bed natively, the Win32 bed in the Windows tests.
std::unique_ptr<ContractBed> MakeContractBed();

}  // namespace foyer::test
