// The file-system contract's ground natively: a C: drive in memory with a scratch folder.
#include <stdexcept>

#include "contract/ContractBed.h"
#include "platform/memory/MemoryFileSystem.h"

namespace foyer::test {
namespace {

class MemoryBed final : public ContractBed {
 public:
  MemoryBed() {
    FFs.AddDrive('C', DriveKind::Fixed, "SYSTEM");
    FFs.MakeDir("C:\\scratch");
  }

  IFileSystem& Fs() override { return FFs; }
  std::string Root() override { return "C:\\scratch\\"; }

  // The real bed cannot create parent folders on the way, so neither does this one: a contract
  // test that forgot one fails here too.
  void MakeFile(const std::string& path, const std::string& bytes) override {
    RequireParent(path);
    FFs.WriteFile(path, bytes);
  }

  void MakeDir(const std::string& path) override {
    RequireParent(path);
    FFs.MakeDir(path);
  }

  void SetAttributes(const std::string& path, uint32_t attrs) override {
    FFs.SetAttributes(path, attrs);
  }

 private:
  void RequireParent(const std::string& path) {
    const std::string parent = path.substr(0, path.find_last_of('\\'));
    if (!FFs.DirExists(parent)) throw std::invalid_argument("no parent folder for " + path);
  }

  MemoryFileSystem FFs;
};

}  // namespace

std::unique_ptr<ContractBed> MakeContractBed() {
  return std::make_unique<MemoryBed>();
}

}  // namespace foyer::test
