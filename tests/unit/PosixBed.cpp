// The file-system contract's ground on Linux: drive D: over a fresh temporary folder, and the
// list of the native build's beds.
#include <sys/stat.h>
#include <sys/xattr.h>

#include <fstream>
#include <stdexcept>

#include "contract/ContractBed.h"
#include "platform/posix/PosixFileSystem.h"
#include "unit/TempFolder.h"

namespace foyer::test {
namespace {

class PosixBed final : public ContractBed {
 public:
  PosixBed() : FFolder(FTemp.Path()) {
    if (mkdir((FFolder + "/scratch").c_str(), 0777) != 0) {
      throw std::runtime_error("cannot create " + FFolder + "/scratch");
    }
    FFs.AddDrive('D', FFolder, DriveKind::Fixed, "SCRATCH");
    FCanHide = setxattr(FFolder.c_str(), "user.foyer-probe", "1", 1, 0) == 0;
  }

  IFileSystem& Fs() override { return FFs; }
  std::string Root() override { return "D:\\scratch\\"; }
  bool CanHide() override { return FCanHide; }

  // Written straight to Linux, so that the file system under test only reads them.
  void MakeFile(const std::string& path, const std::string& bytes) override {
    std::ofstream file(HostOfNew(path), std::ios::binary);
    file << bytes;
    if (!file.flush()) throw std::runtime_error("cannot write " + path);
  }

  void MakeDir(const std::string& path) override {
    if (mkdir(HostOfNew(path).c_str(), 0777) != 0) throw std::runtime_error("cannot make " + path);
  }

  void SetAttributes(const std::string& path, uint32_t attrs) override {
    if (FFs.SetAttributes(path, attrs) != kErrNone) {
      throw std::runtime_error("cannot set attributes of " + path);
    }
  }

 private:
  // The Linux path of a new entry in an existing folder.
  std::string HostOfNew(const std::string& path) {
    const size_t split = path.find_last_of('\\');
    const std::string folder = FFs.HostPath(path.substr(0, split));
    if (folder.empty()) throw std::invalid_argument("no parent folder for " + path);
    return folder + '/' + path.substr(split + 1);
  }

  TempFolder FTemp;
  std::string FFolder;
  PosixFileSystem FFs;
  bool FCanHide = false;
};

std::unique_ptr<ContractBed> MakePosixBed() {
  return std::make_unique<PosixBed>();
}

}  // namespace

std::vector<NamedBed> ContractBeds() {
  return {{"Memory", MakeContractBed}, {"Posix", MakePosixBed}};
}

}  // namespace foyer::test
