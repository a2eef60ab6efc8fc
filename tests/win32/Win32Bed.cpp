// The contract tests' ground under Windows: the real file system and a fresh temporary folder.
#include "platform/win32/WinApi.h"

#include <stdexcept>
#include <string>

#include "contract/ContractBed.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"

namespace foyer::test {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  const DWORD error = GetLastError();
  throw std::runtime_error(what + " " + path + ": system error " + std::to_string(error));
}

std::string SystemString(DWORD (*call)(DWORD, char*)) {
  char buffer[MAX_PATH + 1];
  const DWORD length = call(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) Fail("cannot read", "the system folder");
  return std::string(buffer, length);
}

DWORD TempPath(DWORD size, char* buffer) {
  return GetTempPathA(size, buffer);
}

DWORD CurrentDirectory(DWORD size, char* buffer) {
  return GetCurrentDirectoryA(size, buffer);
}

// A new folder of its own under the temporary folder, in its long form so that paths the system
// gives back (current folder, full paths) start the same way.
std::string MakeUniqueFolder() {
  const std::string temp = SystemString(TempPath);
  const std::string stem = temp + "foyer-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(GetTickCount());
  for (int attempt = 0;; ++attempt) {
    const std::string folder = stem + "-" + std::to_string(attempt);
    if (CreateDirectoryA(folder.c_str(), nullptr)) {
      char longName[MAX_PATH + 1];
      const DWORD length = GetLongPathNameA(folder.c_str(), longName, sizeof longName);
      if (length == 0 || length >= sizeof longName) Fail("cannot resolve", folder);
      return std::string(longName, length) + "\\";
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) Fail("cannot create", folder);
  }
}

// Clears read-only bits on the way, since the system refuses to delete a read-only file.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA data;
  {
    FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (find) {
      do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path);
        } else {
          DeleteFileA(path.c_str());
        }
      } while (FindNextFileA(find.Get(), &data));
    }
  }
  SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(folder.c_str());
}

// A drive's own current folder, kept in the hidden "=X:" environment variable.
class DriveDirSaver {
 public:
  explicit DriveDirSaver(char drive) : FName{'=', drive, ':', '\0'} {
    char buffer[MAX_PATH + 1];
    const DWORD length = GetEnvironmentVariableA(FName, buffer, sizeof buffer);
    FIsSet = length != 0 && length < sizeof buffer;
    if (FIsSet) FValue.assign(buffer, length);
  }
  ~DriveDirSaver() { SetEnvironmentVariableA(FName, FIsSet ? FValue.c_str() : nullptr); }
  DriveDirSaver(const DriveDirSaver&) = delete;
  DriveDirSaver& operator=(const DriveDirSaver&) = delete;

 private:
  char FName[4];
  bool FIsSet = false;
  std::string FValue;
};

class Win32Bed final : public ContractBed {
 public:
  Win32Bed()
      : FSavedDir(SystemString(CurrentDirectory)),
        FRoot(MakeUniqueFolder()),
        FSavedDriveDir(FRoot[0]) {}

  ~Win32Bed() override {
    // A test may have made a folder of the bed current, and a current folder cannot be removed.
    SetCurrentDirectoryA(FSavedDir.c_str());
    RemoveTree(FRoot.substr(0, FRoot.size() - 1));
  }

  Win32Bed(const Win32Bed&) = delete;
  Win32Bed& operator=(const Win32Bed&) = delete;

  IFileSystem& Fs() override { return FFs; }
  std::string Root() override { return FRoot; }

  void MakeFile(const std::string& path, const std::string& bytes) override {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("cannot create", path);
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
      Fail("cannot write", path);
    }
  }

  void MakeDir(const std::string& path) override {
    if (!CreateDirectoryA(path.c_str(), nullptr)) Fail("cannot create", path);
  }

  void SetAttributes(const std::string& path, uint32_t attrs) override {
    // Wine keeps hidden and system as an extended attribute of the Linux file.
    const DWORD settable = attrs & (faReadOnly | faHidden | faSysFile | faArchive);
    if (!SetFileAttributesA(path.c_str(), settable ? settable : FILE_ATTRIBUTE_NORMAL)) {
      Fail("cannot set attributes of", path);
    }
  }

 private:
  std::string FSavedDir;
  std::string FRoot;
  // The file system remembers the bed's drive folder as the current one of its drive.
  DriveDirSaver FSavedDriveDir;
  Win32FileSystem FFs;
};

}  // namespace

std::unique_ptr<ContractBed> MakeContractBed() {
  return std::make_unique<Win32Bed>();
}

std::vector<NamedBed> ContractBeds() {
  return {{"Win32", MakeContractBed}};
}

}  // namespace foyer::test
