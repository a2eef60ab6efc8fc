// Drives, folders and files held in memory, answering as the Windows file system does.
#include "platform/memory/MemoryFileSystem.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/WinPath.h"

namespace foyer {

namespace memoryfs {

struct Node {
  std::string Name;
  uint32_t Attr = faDirectory;
  std::string Data;
  Node* Parent = nullptr;
  std::vector<std::unique_ptr<Node>> Children;  // in the order they were created
  bool IsUnreadable = false;
  // A file that fails to open (ReadableBytes 0) or fails once that many bytes were read.
  uint32_t ReadFault = kErrNone;
  size_t ReadableBytes = 0;
  bool IsWriteProtected = false;
  // A folder whose listing fails with ListFault after ListedEntries entries.
  uint32_t ListFault = kErrNone;
  size_t ListedEntries = 0;
  // Whether the file's bytes are on the disk, or still in the system's cache, where a power cut
  // loses them.
  bool IsOnDisk = true;

  bool IsFolder() const { return (Attr & faDirectory) != 0; }
};

struct Drive {
  DriveInfo Info;
  Node Top;
  std::optional<uint64_t> FreeSpace;
};

// Where a path leads: the folder that holds (or would hold) its last name, and the entry of
// that name if there is one.
struct Walk {
  uint32_t Error = kErrNone;
  std::string Full;  // the path made absolute
  Drive* OnDrive = nullptr;
  Node* Parent = nullptr;  // null for a drive's top folder
  Node* Target = nullptr;
  std::string Name;
  bool HasTrailingBackslash = false;
};

}  // namespace memoryfs

using memoryfs::Drive;
using memoryfs::Node;
using memoryfs::Walk;
using namespace winpath;

namespace {

constexpr uint32_t kSettableAttrs = faReadOnly | faHidden | faSysFile | faArchive;

class MemoryReadFile final : public IReadFile {
 public:
  MemoryReadFile(std::string data, uint32_t fault, size_t readableBytes)
      : FData(std::move(data)), FFault(fault), FReadableBytes(readableBytes) {}

  uint32_t Read(void* buffer, size_t count, size_t& got) override {
    got = 0;
    if (FFault != kErrNone && FPosition >= FReadableBytes) return FFault;
    if (FFault != kErrNone) count = std::min(count, FReadableBytes - FPosition);
    got = std::min(count, FData.size() - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, got);
    FPosition += got;
    return kErrNone;
  }

  uint64_t Size() const override { return FData.size(); }

  uint32_t Seek(uint64_t position) override {
    FPosition = static_cast<size_t>(std::min<uint64_t>(position, FData.size()));
    return kErrNone;
  }

 private:
  std::string FData;  // a snapshot: later writes to the file do not reach an open reader
  uint32_t FFault;
  size_t FReadableBytes;
  size_t FPosition = 0;
};

Node* ChildNamed(Node& folder, const std::string& name) {
  for (auto& child : folder.Children) {
    if (IsSameName(child->Name, name)) return child.get();
  }
  return nullptr;
}

bool IsWriteProtectedAt(const Node* folder) {
  for (; folder != nullptr; folder = folder->Parent) {
    if (folder->IsWriteProtected) return true;
  }
  return false;
}

Node& AddChild(Node& folder, const std::string& name, uint32_t attr) {
  auto child = std::make_unique<Node>();
  child->Name = name;
  child->Attr = attr;
  child->Parent = &folder;
  folder.Children.push_back(std::move(child));
  return *folder.Children.back();
}

// Walks the set-up calls' folders, creating the missing ones.
Node& MakeFolders(Node& top, const std::vector<std::string>& names, size_t count) {
  Node* folder = &top;
  for (size_t index = 0; index < count; ++index) {
    Node* child = ChildNamed(*folder, names[index]);
    if (child == nullptr) child = &AddChild(*folder, names[index], faDirectory);
    if (!child->IsFolder()) {
      throw std::invalid_argument("MemoryFileSystem: a file is in the way: " + names[index]);
    }
    folder = child;
  }
  return *folder;
}

}  // namespace

MemoryFileSystem::MemoryFileSystem() = default;
MemoryFileSystem::~MemoryFileSystem() = default;

Drive* MemoryFileSystem::FindDrive(char letter) {
  const auto found = FDrives.find(UpperLetter(letter));
  return found == FDrives.end() ? nullptr : found->second.get();
}

Walk MemoryFileSystem::WalkPath(const std::string& path) {
  Walk walk;
  walk.Full = FullPath(path);
  if (!IsAbsoluteDrivePath(walk.Full)) {
    walk.Error = kErrPathNotFound;
    return walk;
  }
  walk.OnDrive = FindDrive(walk.Full[0]);
  if (walk.OnDrive == nullptr) {
    walk.Error = kErrPathNotFound;
    return walk;
  }
  if (!walk.OnDrive->Info.IsReady) {
    walk.Error = kErrNotReady;
    return walk;
  }
  const std::vector<std::string> names = SplitNames(walk.Full.substr(3));
  walk.HasTrailingBackslash = !names.empty() && walk.Full.back() == '\\';
  if (!std::all_of(names.begin(), names.end(), IsValidName)) {
    walk.Error = kErrInvalidName;
    return walk;
  }
  Node* folder = &walk.OnDrive->Top;
  if (names.empty()) {
    walk.Target = folder;
    return walk;
  }
  for (size_t index = 0; index + 1 < names.size(); ++index) {
    if (folder->IsUnreadable) {
      walk.Error = kErrAccessDenied;
      return walk;
    }
    folder = ChildNamed(*folder, names[index]);
    if (folder == nullptr || !folder->IsFolder()) {
      walk.Error = kErrPathNotFound;
      return walk;
    }
  }
  if (folder->IsUnreadable) {
    walk.Error = kErrAccessDenied;
    return walk;
  }
  walk.Parent = folder;
  walk.Name = names.back();
  walk.Target = ChildNamed(*folder, walk.Name);
  return walk;
}

FindResult MemoryFileSystem::Enumerate(const std::string& pattern) {
  std::string folderPath;
  std::string mask;
  SplitPattern(pattern, folderPath, mask);

  FindResult result;
  const Walk walk = WalkPath(folderPath);
  if (walk.Error != kErrNone) {
    result.Error = walk.Error;
    return result;
  }
  if (walk.Target == nullptr || !walk.Target->IsFolder()) {
    result.Error = kErrPathNotFound;
    return result;
  }
  if (walk.Target->IsUnreadable) {
    result.Error = kErrAccessDenied;
    return result;
  }
  // A drive's top folder has no "." or ".." entries; every other folder lists them first.
  if (walk.Target != &walk.OnDrive->Top && !mask.empty()) {
    for (const char* dots : {".", ".."}) {
      if (MatchesMask(mask, dots)) result.Entries.push_back(DotEntry(dots));
    }
  }
  for (const auto& child : walk.Target->Children) {
    if (mask.empty() || !MatchesMask(mask, child->Name)) continue;
    DirEntry entry;
    entry.Name = child->Name;
    entry.Attr = child->Attr;
    entry.Size = child->Data.size();
    result.Entries.push_back(std::move(entry));
  }
  if (walk.Target->ListFault != kErrNone) {
    if (result.Entries.size() > walk.Target->ListedEntries) {
      result.Entries.resize(walk.Target->ListedEntries);
    }
    result.Error = walk.Target->ListFault;
    return result;
  }
  if (result.Entries.empty()) result.Error = kErrFileNotFound;
  return result;
}

bool MemoryFileSystem::FileExists(const std::string& path) {
  const Walk walk = WalkPath(path);
  return walk.Error == kErrNone && walk.Target != nullptr && !walk.Target->IsFolder() &&
         !walk.HasTrailingBackslash;
}

bool MemoryFileSystem::DirExists(const std::string& path) {
  const Walk walk = WalkPath(path);
  return walk.Error == kErrNone && walk.Target != nullptr && walk.Target->IsFolder();
}

uint32_t MemoryFileSystem::CreateDir(const std::string& path) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone) return walk.Error;
  if (walk.Target != nullptr) return kErrAlreadyExists;
  if (IsWriteProtectedAt(walk.Parent)) return kErrAccessDenied;
  AddChild(*walk.Parent, walk.Name, faDirectory);
  return kErrNone;
}

uint32_t MemoryFileSystem::CopyFile(const std::string& source, const std::string& target,
                                    bool failIfExists, ICopyChunks* chunks) {
  const Walk from = WalkPath(source);
  if (from.Error != kErrNone) return from.Error;
  if (from.Target == nullptr) return kErrFileNotFound;
  if (from.Target->IsFolder()) return kErrAccessDenied;
  if (from.HasTrailingBackslash) return kErrInvalidName;

  const Walk to = WalkPath(target);
  if (to.Error != kErrNone) return to.Error;
  if (to.Parent == nullptr) return kErrAccessDenied;
  if (to.HasTrailingBackslash) return kErrInvalidName;
  Node* existing = to.Target;
  if (existing != nullptr) {
    if (failIfExists) return kErrFileExists;
    // The source is held open while its target is replaced.
    if (existing == from.Target) return kErrSharingViolation;
    if (existing->IsFolder() || (existing->Attr & faReadOnly) != 0) return kErrAccessDenied;
    // Replacing a hidden or system file is refused unless the new file keeps those bits, and
    // the copy gives the new file the source's bits.
    const uint32_t guarded = faHidden | faSysFile;
    if ((existing->Attr & guarded & ~from.Target->Attr) != 0) return kErrAccessDenied;
  }
  if (IsWriteProtectedAt(to.Parent)) return kErrAccessDenied;

  if (FCopiesBeforeFault && *FCopiesBeforeFault == 0) return FCopyFaultError;
  const uint32_t readFault = from.Target->ReadFault;
  if (readFault != kErrNone && from.Target->ReadableBytes == 0) return readFault;

  const std::string& data = from.Target->Data;
  const uint32_t attr = (from.Target->Attr & kSettableAttrs) | faArchive;
  Node& written = existing != nullptr ? *existing : AddChild(*to.Parent, to.Name, attr);
  written.Attr = attr;
  written.IsOnDisk = false;
  std::optional<uint64_t>& freeSpace = to.OnDrive->FreeSpace;
  // Replacing a file frees its old size first.
  if (freeSpace) *freeSpace += written.Data.size();
  written.Data.clear();
  // A reporting copy removes what it wrote when it cannot end.
  const auto abandon = [&](uint32_t error) {
    if (chunks != nullptr) {
      if (freeSpace) *freeSpace += written.Data.size();
      auto& siblings = to.Parent->Children;
      siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                  [&](const auto& child) { return child.get() == &written; }));
    }
    return error;
  };
  const uint64_t size = data.size();
  const uint64_t readable = readFault != kErrNone ? from.Target->ReadableBytes : size;
  const uint64_t step = chunks != nullptr ? kCopyChunkSize : std::max<uint64_t>(size, 1);
  for (uint64_t done = 0; done < size;) {
    if (done >= readable) return abandon(readFault);
    const uint64_t chunk = std::min({step, size - done, readable - done});
    if (freeSpace && chunk > *freeSpace) {
      written.Data.append(data, static_cast<size_t>(done), static_cast<size_t>(*freeSpace));
      *freeSpace = 0;
      return abandon(kErrDiskFull);
    }
    written.Data.append(data, static_cast<size_t>(done), static_cast<size_t>(chunk));
    if (freeSpace) *freeSpace -= chunk;
    done += chunk;
    if (chunks != nullptr && !chunks->ChunkCopied(done, size)) return abandon(kErrRequestAborted);
  }
  if (FCopiesBeforeFault) --*FCopiesBeforeFault;
  return kErrNone;
}

uint32_t MemoryFileSystem::ReplaceFile(const std::string& replaced,
                                       const std::string& replacement) {
  const Walk from = WalkPath(replacement);
  if (from.Error != kErrNone) return from.Error;
  if (from.Target == nullptr) return kErrFileNotFound;
  if (from.Target->IsFolder()) return kErrAccessDenied;
  const Walk to = WalkPath(replaced);
  if (to.Target == from.Target) return kErrSharingViolation;
  uint32_t error = to.Error;
  if (error == kErrNone && to.Target == nullptr) error = kErrFileNotFound;
  if (error == kErrNone && (to.Target->IsFolder() || (to.Target->Attr & faReadOnly) != 0)) {
    error = kErrAccessDenied;
  }
  if (error == kErrNone && IsWriteProtectedAt(to.Parent)) error = kErrAccessDenied;
  if (error == kErrNone) {
    if (to.OnDrive->FreeSpace) *to.OnDrive->FreeSpace += to.Target->Data.size();
    to.Target->Data = std::move(from.Target->Data);
    to.Target->Attr = from.Target->Attr;
    // Flushed before it took the name, and the move written through.
    to.Target->IsOnDisk = true;
  } else if (from.OnDrive->FreeSpace) {
    *from.OnDrive->FreeSpace += from.Target->Data.size();
  }
  auto& siblings = from.Parent->Children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& child) { return child.get() == from.Target; }));
  return error;
}

uint32_t MemoryFileSystem::DeleteFile(const std::string& path) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone) return walk.Error;
  if (walk.Target == nullptr) return kErrFileNotFound;
  if (walk.HasTrailingBackslash) return kErrInvalidName;
  if (walk.Target->IsFolder() || (walk.Target->Attr & faReadOnly) != 0) return kErrAccessDenied;
  if (IsWriteProtectedAt(walk.Parent)) return kErrAccessDenied;
  if (walk.OnDrive->FreeSpace) *walk.OnDrive->FreeSpace += walk.Target->Data.size();
  auto& siblings = walk.Parent->Children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& child) { return child.get() == walk.Target; }));
  return kErrNone;
}

std::unique_ptr<IReadFile> MemoryFileSystem::OpenRead(const std::string& path, uint32_t& error) {
  const Walk walk = WalkPath(path);
  error = walk.Error;
  if (error == kErrNone && walk.Target == nullptr) error = kErrFileNotFound;
  if (error == kErrNone && walk.Target->IsFolder()) error = kErrAccessDenied;
  if (error == kErrNone && walk.HasTrailingBackslash) error = kErrInvalidName;
  if (error == kErrNone && walk.Target->ReadFault != kErrNone && walk.Target->ReadableBytes == 0) {
    error = walk.Target->ReadFault;
  }
  if (error != kErrNone) return nullptr;
  return std::make_unique<MemoryReadFile>(walk.Target->Data, walk.Target->ReadFault,
                                          walk.Target->ReadableBytes);
}

std::string MemoryFileSystem::GetCurrentDir(char drive) {
  return FCurrent.Get(drive);
}

uint32_t MemoryFileSystem::SetCurrentDir(const std::string& path) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone) return walk.Error;
  if (walk.Target == nullptr) return kErrFileNotFound;
  if (!walk.Target->IsFolder()) return kErrDirectory;
  if (walk.Target->IsUnreadable) return kErrAccessDenied;
  // The folder is kept as it was named, letter case and all, as Windows keeps it.
  FCurrent.Set(walk.Full);
  return kErrNone;
}

std::string MemoryFileSystem::FullPath(const std::string& path) {
  return FCurrent.FullPath(path);
}

std::vector<DriveInfo> MemoryFileSystem::Drives() {
  std::vector<DriveInfo> drives;
  for (const auto& [letter, drive] : FDrives)
    drives.push_back(DriveOf(letter));
  return drives;
}

DriveInfo MemoryFileSystem::DriveOf(char letter) {
  const Drive* drive = FindDrive(letter);
  DriveInfo info;
  info.Letter = UpperLetter(letter);
  if (drive == nullptr) {
    info.Kind = DriveKind::NoRootDir;
    info.IsReady = false;
    return info;
  }
  info.Kind = drive->Info.Kind;
  // Not asked, as the system's drive list does not ask a removable drive.
  if (info.Kind == DriveKind::Removable) return info;
  info.ConnectionName = drive->Info.ConnectionName;
  info.IsReady = drive->Info.IsReady;
  if (info.IsReady) {
    info.Label = drive->Info.Label;
    info.IsCaseSensitive = drive->Info.IsCaseSensitive;
    info.IsCasePreserved = drive->Info.IsCasePreserved;
  }
  return info;
}

void MemoryFileSystem::AddDrive(const DriveInfo& info) {
  const char letter = UpperLetter(info.Letter);
  if (!IsLetter(letter) || FDrives.count(letter) != 0) {
    throw std::invalid_argument(std::string("MemoryFileSystem: cannot add drive ") + letter);
  }
  if (FDrives.empty()) FCurrent.SetDrive(letter);
  auto drive = std::make_unique<Drive>();
  drive->Info = info;
  drive->Info.Letter = letter;
  FDrives.emplace(letter, std::move(drive));
}

void MemoryFileSystem::AddDrive(char letter, DriveKind kind, const std::string& label) {
  DriveInfo info;
  info.Letter = letter;
  info.Kind = kind;
  info.Label = label;
  AddDrive(info);
}

Drive& MemoryFileSystem::SetupDrive(char letter) {
  Drive* drive = FindDrive(letter);
  if (drive == nullptr) {
    throw std::invalid_argument(std::string("MemoryFileSystem: no drive ") + letter);
  }
  return *drive;
}

Drive& MemoryFileSystem::SetupDrive(const std::string& path, std::vector<std::string>& names) {
  const std::string slashed = WithBackslashes(path);
  if (!IsAbsoluteDrivePath(slashed)) {
    throw std::invalid_argument("MemoryFileSystem: not an absolute path: " + path);
  }
  names = SplitNames(Collapsed(slashed).substr(3));
  return SetupDrive(slashed[0]);
}

Node& MemoryFileSystem::SetupNode(const std::string& path) {
  std::vector<std::string> names;
  Node* node = &SetupDrive(path, names).Top;
  for (const std::string& name : names) {
    node = ChildNamed(*node, name);
    if (node == nullptr) throw std::invalid_argument("MemoryFileSystem: no such entry: " + path);
  }
  return *node;
}

void MemoryFileSystem::WriteFile(const std::string& path, const std::string& bytes) {
  std::vector<std::string> names;
  Node& top = SetupDrive(path, names).Top;
  if (names.empty()) throw std::invalid_argument("MemoryFileSystem: not a file name: " + path);
  Node& folder = MakeFolders(top, names, names.size() - 1);
  Node* file = ChildNamed(folder, names.back());
  if (file == nullptr) file = &AddChild(folder, names.back(), faArchive);
  if (file->IsFolder()) throw std::invalid_argument("MemoryFileSystem: a folder: " + path);
  file->Data = bytes;
  file->IsOnDisk = true;
}

void MemoryFileSystem::CutPower() {
  for (auto& [letter, drive] : FDrives) {
    std::vector<Node*> folders{&drive->Top};
    while (!folders.empty()) {
      Node* folder = folders.back();
      folders.pop_back();
      for (auto& child : folder->Children) {
        if (child->IsFolder()) {
          folders.push_back(child.get());
        } else if (!child->IsOnDisk) {
          if (drive->FreeSpace) *drive->FreeSpace += child->Data.size();
          child->Data.clear();
          child->IsOnDisk = true;
        }
      }
    }
  }
}

void MemoryFileSystem::MakeDir(const std::string& path) {
  std::vector<std::string> names;
  Node& top = SetupDrive(path, names).Top;
  MakeFolders(top, names, names.size());
}

void MemoryFileSystem::Remove(const std::string& path) {
  Node& node = SetupNode(path);
  if (node.Parent == nullptr) {
    throw std::invalid_argument("MemoryFileSystem: cannot remove a drive's top folder: " + path);
  }
  auto& siblings = node.Parent->Children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& child) { return child.get() == &node; }));
}

void MemoryFileSystem::SetAttributes(const std::string& path, uint32_t attrs) {
  Node& node = SetupNode(path);
  node.Attr = (attrs & kSettableAttrs) | (node.Attr & faDirectory);
}

uint32_t MemoryFileSystem::GetAttributes(const std::string& path) {
  return SetupNode(path).Attr;
}

std::string MemoryFileSystem::ReadBack(const std::string& path) {
  Node& node = SetupNode(path);
  if (node.IsFolder()) throw std::invalid_argument("MemoryFileSystem: a folder: " + path);
  return node.Data;
}

void MemoryFileSystem::SetDriveReady(char letter, bool isReady) {
  SetupDrive(letter).Info.IsReady = isReady;
}

void MemoryFileSystem::SetReadFault(const std::string& path, uint32_t error, size_t readableBytes) {
  Node& node = SetupNode(path);
  node.ReadFault = error;
  node.ReadableBytes = readableBytes;
}

void MemoryFileSystem::SetUnreadable(const std::string& path, bool isUnreadable) {
  SetupNode(path).IsUnreadable = isUnreadable;
}

void MemoryFileSystem::SetListingFault(const std::string& path, uint32_t error,
                                       size_t listedEntries) {
  Node& node = SetupNode(path);
  node.ListFault = error;
  node.ListedEntries = listedEntries;
}

void MemoryFileSystem::SetWriteProtected(const std::string& path, bool isWriteProtected) {
  SetupNode(path).IsWriteProtected = isWriteProtected;
}

void MemoryFileSystem::FailCopiesAfter(int count, uint32_t error) {
  FCopiesBeforeFault = count;
  FCopyFaultError = error;
}

void MemoryFileSystem::ClearCopyFault() {
  FCopiesBeforeFault.reset();
}

void MemoryFileSystem::SetFreeSpace(char letter, uint64_t bytes) {
  SetupDrive(letter).FreeSpace = bytes;
}

void MemoryFileSystem::ClearFreeSpace(char letter) {
  SetupDrive(letter).FreeSpace.reset();
}

}  // namespace foyer
