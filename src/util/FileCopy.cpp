// The file copier.
#include "util/FileCopy.h"

#include <unordered_map>
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

  // Copies one file; its size is checked by the caller, with the others of its folder.
  bool CopyFile(const std::string& source, const std::string& target, uint64_t size) {
    // The system would cut a longer path short and copy from or to another file.
    if (source.size() > kMaxCopyPath || target.size() > kMaxCopyPath) return false;
    FState.CurrentFile = source;
    if (!Report()) return false;
    FFileStart = FState.BytesDone;
    if (FFs.CopyFile(source, target, false, this) != kErrNone) return false;
    FState.BytesDone = FFileStart + size;
    FState.FilesDone += 1;
    return Report();
  }

  // Whether every file written into the folder (name and size) is the size of its source. A
  // full disk that a network or emulated drive did not report shows as a short file, which is
  // removed. One listing of the folder serves all of its files.
  bool AreWhole(const std::string& folder, const std::string& pattern,
                const std::vector<DirEntry>& written) {
    if (written.empty()) return true;
    std::unordered_map<std::string, uint64_t> sizes;
    for (const DirEntry& entry : FFs.Enumerate(JoinPath(folder, pattern)).Entries) {
      if ((entry.Attr & faDirectory) == 0) sizes.emplace(LowerStr(entry.Name), entry.Size);
    }
    bool isWhole = true;
    for (const DirEntry& file : written) {
      const auto found = sizes.find(LowerStr(file.Name));
      if (found != sizes.end() && found->second == file.Size) continue;
      FFs.DeleteFile(JoinPath(folder, file.Name));
      isWhole = false;
    }
    return isWhole;
  }

  bool CopyTree(const std::string& source, const std::string& target) {
    ForceDirs(target);
    const FolderParts parts = ReadFolder(FFs, source);
    if (!parts.IsReadable) return false;
    std::vector<DirEntry> written;
    for (const DirEntry& file : parts.Files) {
      if (!CopyFile(JoinPath(source, file.Name), JoinPath(target, file.Name), file.Size)) {
        AreWhole(target, "*.*", written);
        return false;
      }
      written.push_back(file);
    }
    if (!AreWhole(target, "*.*", written)) return false;
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
  DirEntry file = found.Entries.front();
  if ((file.Attr & faDirectory) != 0) return false;
  Copier copier(fs, progress);
  copier.CountFile(file.Size);
  const size_t cut = target.find_last_of('\\');
  const std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut);
  file.Name = target.substr(cut == std::string::npos ? 0 : cut + 1);
  return copier.CopyFile(source, target, file.Size) && copier.AreWhole(folder, file.Name, {file});
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
