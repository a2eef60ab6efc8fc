// The ground the file-system contract tests stand on: a real or in-memory file system with a
// scratch folder that each build provides (memory and a Linux folder natively, a temporary folder
// under Wine).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
  // False where the bed cannot make entries hidden or system (a Linux file system that keeps no
  // extended attributes): the tests that need them are skipped there.
  virtual bool CanHide() { return true; }
};

// Defined once per build: the memory bed natively, the Win32 bed in the Windows tests.
std::unique_ptr<ContractBed> MakeContractBed();

struct NamedBed {
  const char* Name;
  std::unique_ptr<ContractBed> (*Make)();
};

// Every bed of the build; the contract tests run on each.
std::vector<NamedBed> ContractBeds();

}  // namespace foyer::test
