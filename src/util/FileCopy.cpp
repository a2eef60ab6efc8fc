// The file copier.
#include "util/FileCopy.h"

#include <vector>

#include "platform/Platform.h"
#include "util/Path.h"

namespace foyer {

namespace {

bool IsDots(const std::string& name) {
  return name == "." || name == "..";
}

// What a pass over a folder takes: its files, then the sub-folders it goes into.
struct FolderParts {
  bool IsReadable = true;
  std::vector<DirEntry> Files;
  std::vector<std::string> Folders;
};

FolderParts ReadFolder(IFileSystem& fs, const std::string& folder) {
  FolderParts parts;
  const FindResult found = fs.Enumerate(JoinPath(folder, "*.*"));
  // An empty folder matches nothing; any other error means its contents cannot be known.
  if (found.Error != kErrNone && found.Error != kErrFileNotFound) {
    parts.IsReadable = false;
    return parts;
  }
  for (const DirEntry& entry : found.Entries) {
    if ((entry.Attr & faDirectory) == 0) {
      parts.Files.push_back(entry);
    } else if ((entry.Attr & (faHidden | faSysFile)) == 0 && !IsDots(entry.Name)) {
      parts.Folders.push_back(entry.Name);
    }
  }
  return parts;
}

class Copier final : public ICopyChunks {
 public:
  Copier(IFileSystem& fs, ICopyProgress* progress) : FFs(fs), FProgress(progress) {}

  void CountFile(uint64_t size) {
    FState.FilesTotal += 1;
    FState.BytesTotal += size;
  }

  void CountTree(const std::string& source) {
    const FolderParts parts = ReadFolder(FFs, source);
    for (const DirEntry& file : parts.Files)
      CountFile(file.Size);
    for (const std::string& folder : parts.Folders)
      CountTree(JoinPath(source, folder));
  }

  bool CopyFile(const std::string& source, const std::string& target, uint64_t size) {
    // The system would cut a longer path short and copy from or to another file.
    if (source.size() > kMaxCopyPath || target.size() > kMaxCopyPath) return false;
    FState.CurrentFile = source;
    if (!Report()) return false;
    FFileStart = FState.BytesDone;
    if (FFs.CopyFile(source, target, false, this) != kErrNone) return false;
    // A full disk that a network or emulated drive did not report shows as a short file.
    const FindResult written = FFs.Enumerate(target);
    if (written.Error != kErrNone || written.Entries.size() != 1 ||
        written.Entries.front().Size != size) {
      FFs.DeleteFile(target);
      return false;
    }
    FState.BytesDone = FFileStart + size;
    FState.FilesDone += 1;
    return Report();
  }

  bool CopyTree(const std::string& source, const std::string& target) {
    ForceDirs(target);
    const FolderParts parts = ReadFolder(FFs, source);
    if (!parts.IsReadable) return false;
    for (const DirEntry& file : parts.Files) {
      if (!CopyFile(JoinPath(source, file.Name), JoinPath(target, file.Name), file.Size)) {
        return false;
      }
    }
    for (const std::string& folder : parts.Folders) {
      if (!CopyTree(JoinPath(source, folder), JoinPath(target, folder))) return false;
    }
    return true;
  }

  bool ChunkCopied(uint64_t bytesDone, uint64_t) override {
    FState.BytesDone = FFileStart + bytesDone;
    return Report();
  }

 private:
  bool Report() { return FProgress == nullptr || FProgress->CopyProgressed(FState); }

  IFileSystem& FFs;
  ICopyProgress* FProgress;
  TCopyState FState;
  uint64_t FFileStart = 0;
};

}  // namespace

bool CopyOneFile(const std::string& source, const std::string& target, ICopyProgress* progress) {
  IFileSystem& fs = *Platform().Fs;
  const FindResult found = fs.Enumerate(source);
  if (found.Error != kErrNone || found.Entries.size() != 1) return false;
  const DirEntry& file = found.Entries.front();
  if ((file.Attr & faDirectory) != 0) return false;
  Copier copier(fs, progress);
  copier.CountFile(file.Size);
  return copier.CopyFile(source, target, file.Size);
}

bool CopyTree(const std::string& source, const std::string& target, ICopyProgress* progress) {
  // An empty target would mean whatever folder happens to be current.
  if (target.empty()) return false;
  IFileSystem& fs = *Platform().Fs;
  Copier copier(fs, progress);
  if (progress != nullptr) copier.CountTree(source);
  return copier.CopyTree(source, target);
}

}  // namespace foyer
