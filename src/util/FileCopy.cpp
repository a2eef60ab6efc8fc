// The file copier.
#include "util/FileCopy.h"

#include <optional>
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
    } else if (IsCopiedFolder(entry)) {
      parts.Folders.push_back(entry.Name);
    }
  }
  return parts;
}

// A file that replaces an earlier one is first written beside it under one of these names:
// "~fy1.tmp", "~fy2.tmp", ... Short, so that it keeps within the path limit about as far as the
// name it stands in for; the first that neither the entry nor the target folder holds is taken.
// A copy killed part way (the program ended, the power cut) leaves its temporary file behind,
// and later installs step over it; there are more names than a FAT folder can hold entries
// (65,534), so such files can never use them all up and block an install into their folder.
constexpr int kTempNames = 65536;

bool IsAmong(const std::string& name, const std::vector<DirEntry>& files) {
  for (const DirEntry& file : files) {
    if (SameName(file.Name, name)) return true;
  }
  return false;
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

  // Copies the file source to folder\file.Name; file holds the source's attributes and size,
  // others the entry's files beside it, whose names a temporary file must not take, and
  // earlier the file already there when the folder's listing showed one. A new file is written
  // under its own name and added to written, to be checked with the others of its folder; one
  // that replaces an earlier file is checked before it takes that one's place.
  bool CopyFile(const std::string& source, const std::string& folder, const DirEntry& file,
                const std::vector<DirEntry>& others, std::optional<DirEntry> earlier,
                std::vector<DirEntry>& written) {
    const std::string target = JoinPath(folder, file.Name);
    // The system would cut a longer path short and copy from or to another file.
    if (PathLength(source) > kMaxCopyPath || PathLength(target) > kMaxCopyPath) return false;
    FState.CurrentFile = source;
    if (!Report()) return false;
    FFileStart = FState.BytesDone;
    // Created only where there is no file: an earlier one is replaced, never written over.
    const uint32_t error = earlier ? kErrFileExists : FFs.CopyFile(source, target, true, this);
    if (error == kErrFileExists) {
      if (!earlier) earlier = FindEarlier(folder, file.Name);
      if (!earlier || !Replace(source, folder, file, *earlier, others)) return false;
    } else if (error != kErrNone) {
      return false;
    } else {
      written.push_back(file);
    }
    FState.BytesDone = FFileStart + file.Size;
    FState.FilesDone += 1;
    return Report();
  }

  // Whether every file in written (name and size) is in the folder at the size of its source.
  // A full disk that a network or emulated drive did not report shows as a short file, which is
  // removed. A listing that fails, or that leaves a file out, proves nothing: the copy fails and
  // nothing is removed, so a folder that cannot be listed never costs the user a file. One
  // listing of the folder serves all of its files.
  bool AreWhole(const std::string& folder, const std::string& pattern,
                const std::vector<DirEntry>& written) {
    if (written.empty()) return true;
    const FindResult found = FFs.Enumerate(JoinPath(folder, pattern));
    if (found.Error != kErrNone) return false;
    std::unordered_map<std::string, uint64_t> sizes;
    for (const DirEntry& entry : found.Entries) {
      if ((entry.Attr & faDirectory) == 0) sizes.emplace(LowerStr(entry.Name), entry.Size);
    }
    bool isWhole = true;
    for (const DirEntry& file : written) {
      const auto listed = sizes.find(LowerStr(file.Name));
      if (listed != sizes.end() && listed->second == file.Size) continue;
      if (listed != sizes.end()) FFs.DeleteFile(JoinPath(folder, file.Name));
      isWhole = false;
    }
    return isWhole;
  }

  bool CopyTree(const std::string& source, const std::string& target) {
    ForceDirs(target);
    const FolderParts parts = ReadFolder(FFs, source);
    if (!parts.IsReadable) return false;
    // The files already there, from one listing rather than one look for each file (a
    // reinstall); when the folder cannot be listed, each file finds out for itself.
    std::unordered_map<std::string, DirEntry> there;
    for (const DirEntry& entry : FFs.Enumerate(JoinPath(target, "*.*")).Entries)
      there.emplace(LowerStr(entry.Name), entry);
    std::vector<DirEntry> written;
    for (const DirEntry& file : parts.Files) {
      const auto found = there.find(LowerStr(file.Name));
      std::optional<DirEntry> earlier;
      if (found != there.end()) earlier = found->second;
      if (!CopyFile(JoinPath(source, file.Name), target, file, parts.Files, earlier, written)) {
        AreWhole(target, "*.*", written);
        return false;
      }
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

  // The file of that name in the folder, as the folder lists it.
  std::optional<DirEntry> FindEarlier(const std::string& folder, const std::string& name) {
    const FindResult found = FFs.Enumerate(JoinPath(folder, name));
    for (const DirEntry& entry : found.Entries) {
      if (SameName(entry.Name, name)) return entry;
    }
    return std::nullopt;
  }

  // Writes the file beside the earlier one under a temporary name and puts it in that one's
  // place, in one step, only once it is whole: a copy that fails or is cancelled before then
  // removes the temporary file and leaves the earlier one as it was.
  bool Replace(const std::string& source, const std::string& folder, const DirEntry& file,
               const DirEntry& earlier, const std::vector<DirEntry>& others) {
    // A read-only file, or a hidden or system one that the new file would not keep so, refuses
    // the copy, as the system refuses to create a file over it.
    if ((earlier.Attr & (faDirectory | faReadOnly)) != 0 ||
        (earlier.Attr & (faHidden | faSysFile) & ~file.Attr) != 0) {
      return false;
    }
    for (int number = 1; number <= kTempNames; ++number) {
      DirEntry temp = file;
      temp.Name = "~fy" + std::to_string(number) + ".tmp";
      if (IsAmong(temp.Name, others)) continue;
      const std::string tempPath = JoinPath(folder, temp.Name);
      if (PathLength(tempPath) > kMaxCopyPath) return false;
      const uint32_t error = FFs.CopyFile(source, tempPath, true, this);
      // A file of the user's by that name, or one left by an install that was cut off.
      if (error == kErrFileExists) continue;
      // A copy that fails removes what it wrote.
      if (error != kErrNone) return false;
      if (!AreWhole(folder, temp.Name, {temp})) {
        FFs.DeleteFile(tempPath);
        return false;
      }
      // Named as the folder stores it: Wine gives the file the name it is handed, and
      // the user's file would change its letter case. Whether the replace succeeds or not, the
      // temporary file is gone afterwards.
      return FFs.ReplaceFile(JoinPath(folder, earlier.Name), tempPath) == kErrNone;
    }
    return false;
  }

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
  const DirEntry original = found.Entries.front();
  if ((original.Attr & faDirectory) != 0) return false;
  Copier copier(fs, progress);
  copier.CountFile(original.Size);
  const size_t cut = target.find_last_of('\\');
  const std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut);
  DirEntry file = original;
  file.Name = target.substr(cut == std::string::npos ? 0 : cut + 1);
  std::vector<DirEntry> written;
  const bool isCopied = copier.CopyFile(source, folder, file, {original}, std::nullopt, written);
  // Checked also when a Cancel came once the file was whole.
  const bool isWhole = copier.AreWhole(folder, file.Name, written);
  return isCopied && isWhole;
}

bool IsCopiedFolder(const DirEntry& entry) {
  return (entry.Attr & faDirectory) != 0 && (entry.Attr & (faHidden | faSysFile)) == 0 &&
         !IsDots(entry.Name);
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
