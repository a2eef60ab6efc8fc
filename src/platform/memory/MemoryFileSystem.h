// Drives, folders and files held in memory, answering as the Windows file system does.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/WinPath.h"

namespace foyer {

namespace memoryfs {
struct Drive;
struct Node;
struct Walk;
}  // namespace memoryfs

// A machine's drives with Windows semantics: drive letters; backslashes, or slashes as Windows
// also accepts; names matched without regard to case (ASCII and the accented letters of code
// page 1252) but kept as they were created; wildcards matched as FindFirstFile matches them;
// entries listed in the order they were created, as on a FAT medium; a current folder per drive.
// A drive's case-sensitivity flag is only reported, as Windows reports the volume's: names
// are matched without regard to case on every drive.
//
// The set-up calls below the interface are for tests and fixtures: they take absolute paths,
// are not subject to injected faults, and throw std::invalid_argument for a path they cannot use.
class MemoryFileSystem final : public IFileSystem {
 public:
  MemoryFileSystem();
  ~MemoryFileSystem() override;
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

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

  // Adds a drive with an empty top folder; the first drive added becomes the current drive.
  void AddDrive(const DriveInfo& info);
  void AddDrive(char letter, DriveKind kind = DriveKind::Fixed, const std::string& label = {});
  // Writes a file, creating the folders on its path; a file written again keeps its place in
  // the listing and its attributes. New files carry the archive bit, as the system gives them.
  void WriteFile(const std::string& path, const std::string& bytes);
  // Creates a folder and any missing folders above it.
  void MakeDir(const std::string& path);
  // Removes a file, or a folder with everything in it.
  void Remove(const std::string& path);
  // Sets read-only, hidden, system and archive; the folder bit stays what the entry is.
  void SetAttributes(const std::string& path, uint32_t attrs);
  uint32_t GetAttributes(const std::string& path);
  std::string ReadBack(const std::string& path);

  // Injected faults, each set and cleared by its call.
  // A drive that is not ready (no disc): every access to it fails with kErrNotReady. The drive
  // list still reports a removable one ready, since it does not ask removable drives.
  void SetDriveReady(char letter, bool isReady);
  // A folder that cannot be read: listing it, and reaching anything inside it, fails with
  // kErrAccessDenied. The folder itself is still seen in its parent.
  void SetUnreadable(const std::string& path, bool isUnreadable);
  // A file that cannot be opened (readableBytes 0: opening or copying it fails with error), or
  // that fails with error once readableBytes were read or copied. kErrNone clears the fault.
  void SetReadFault(const std::string& path, uint32_t error, size_t readableBytes = 0);
  // A folder whose listing gives its first listedEntries entries ("." and ".." count) and then
  // fails with error, as a network drive that drops the connection cuts a listing short. Only
  // the listing fails: the folder's files can still be opened, copied, made and replaced.
  // kErrNone clears the fault.
  void SetListingFault(const std::string& path, uint32_t error, size_t listedEntries = 0);
  // A folder (a drive's top folder for a read-only medium) in which, and anywhere below which,
  // nothing can be created or copied to: kErrAccessDenied.
  void SetWriteProtected(const std::string& path, bool isWriteProtected);
  // The next count copies succeed; every copy after them fails with error and leaves its target
  // as it was, until the fault is cleared. Copies refused for another reason do not count.
  void FailCopiesAfter(int count, uint32_t error);
  void ClearCopyFault();
  // Room left on the drive for copies. A copy that needs more writes what fits and fails with
  // kErrDiskFull; the system's plain copy leaves that partial file behind, a reporting one
  // removes it. Replacing a file frees its old size.
  void SetFreeSpace(char letter, uint64_t bytes);
  // Room without limit again.
  void ClearFreeSpace(char letter);
  // What a power cut leaves: a file whose bytes a copy wrote into the system's cache and that
  // was never flushed keeps its name but loses its bytes, as a journaling file system brings it
  // back. A file put in place by ReplaceFile was flushed before it was moved, and the move
  // written through: it keeps its bytes. Files the set-up calls write are on the disk.
  void CutPower();

 private:
  memoryfs::Drive* FindDrive(char letter);
  memoryfs::Drive& SetupDrive(char letter);
  memoryfs::Drive& SetupDrive(const std::string& path, std::vector<std::string>& names);
  memoryfs::Node& SetupNode(const std::string& path);
  memoryfs::Walk WalkPath(const std::string& path);

  std::map<char, std::unique_ptr<memoryfs::Drive>> FDrives;
  winpath::CurrentFolders FCurrent;
  std::optional<int> FCopiesBeforeFault;  // empty when no copy fault is set
  uint32_t FCopyFaultError = kErrNone;
};

}  // namespace foyer
