// Linux folders as Windows drives, answering as the Windows file system does: the medium, and
// the folders a checker installs to, without Windows.
#include "platform/posix/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/xattr.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/posix/DosAttrib.h"

namespace foyer {

using namespace winpath;

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;
// A file that became shorter while it was copied ends the copy as the system's reading past the
// end does.
constexpr uint32_t kErrHandleEof = 38;

// The system error code for a Linux one; missing is what a name that is not there means.
uint32_t ErrorOf(int error, uint32_t missing = kErrFileNotFound) {
  switch (error) {
    case 0:
      return kErrNone;
    case ENOENT:
      return missing;
    case ENOTDIR:
      return kErrPathNotFound;
    case EEXIST:
    case ENOTEMPTY:
      return kErrAlreadyExists;
    case ENOSPC:
    case EDQUOT:
      return kErrDiskFull;
    case ENAMETOOLONG:
    case EILSEQ:
      return kErrInvalidName;
    default:
      return kErrAccessDenied;
  }
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : FFd(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  explicit operator bool() const { return FFd >= 0; }
  int Get() const { return FFd; }
  // Returns the Linux error of the close, 0 when none.
  int Close() {
    if (FFd < 0) return 0;
    const int result = close(FFd);
    FFd = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int FFd;
};

class FolderListing {
 public:
  explicit FolderListing(const std::string& folder) : FDir(opendir(folder.c_str())) {}
  ~FolderListing() {
    if (FDir != nullptr) closedir(FDir);
  }
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;

  explicit operator bool() const { return FDir != nullptr; }
  // The next Linux name but "." and "..", false at the end.
  bool Next(std::string& name) {
    while (const dirent* entry = readdir(FDir)) {
      name = entry->d_name;
      if (name != "." && name != "..") return true;
    }
    return false;
  }

 private:
  DIR* FDir;
};

std::string Join(const std::string& folder, const std::string& name) {
  return folder.back() == '/' ? folder + name : folder + '/' + name;
}

// A Linux name a Windows program can name: none of the characters Windows refuses, and no
// backslash, which would read as a folder.
bool IsNameable(const std::string& name) {
  return IsValidName(name) && name.find('\\') == std::string::npos;
}

bool IsReadOnly(mode_t mode) {
  return (mode & kWriteBits) == 0;
}

// Whether the entry at host is one the drive shows, with its status: a folder or a regular file,
// or a link to a regular file inside the drive's top folder (top, without links). Links to
// folders are not followed, so that a walk of the drive enters each folder once; links out of it
// and devices, FIFOs and sockets are not there, as a disc or a Windows folder holds none of them.
bool Admitted(const std::string& top, const std::string& host, struct stat& status) {
  if (lstat(host.c_str(), &status) != 0) return false;
  if (S_ISDIR(status.st_mode) || S_ISREG(status.st_mode)) return true;
  char real[PATH_MAX];
  if (S_ISLNK(status.st_mode) && realpath(host.c_str(), real) != nullptr &&
      std::string(real).rfind(top == "/" ? top : top + "/", 0) == 0 &&
      stat(real, &status) == 0 && S_ISREG(status.st_mode)) {
    return true;
  }
  errno = ENOENT;
  return false;
}

bool IsSameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::optional<uint32_t> StoredAttrs(const std::string& host) {
  char value[256];
  const ssize_t length = getxattr(host.c_str(), kDosAttribName, value, sizeof value);
  if (length < 0) return std::nullopt;
  return ParseDosAttrib(std::string(value, static_cast<size_t>(length)));
}

uint32_t AttributesOf(const std::string& host, const std::string& name, const struct stat& status) {
  uint32_t attrs = S_ISDIR(status.st_mode) ? faDirectory : faArchive;
  if (IsReadOnly(status.st_mode)) attrs |= faReadOnly;
  const std::optional<uint32_t> stored = StoredAttrs(host);
  if (stored) {
    attrs |= *stored;
  } else if (!name.empty() && name[0] == '.') {
    attrs |= faHidden;
  }
  return attrs;
}

// Gives the entry the attributes: the extended attribute first, which a file without write
// permission may refuse to a process that is not root.
uint32_t SetHostAttributes(const std::string& host, const std::string& name, mode_t mode,
                           uint32_t attrs) {
  mode &= 07777;
  if (IsReadOnly(mode) && chmod(host.c_str(), mode | S_IWUSR) != 0) {
    return ErrorOf(errno);
  }
  const uint32_t dosAttrs = attrs & (faHidden | faSysFile);
  // A name with a leading dot needs the attribute to be seen as not hidden.
  if (dosAttrs != 0 || (!name.empty() && name[0] == '.')) {
    const std::string value = DosAttribValue(dosAttrs);
    if (setxattr(host.c_str(), kDosAttribName, value.data(), value.size(), 0) != 0 &&
        dosAttrs != 0) {
      const int error = errno;
      chmod(host.c_str(), mode);
      return ErrorOf(error);
    }
  } else {
    removexattr(host.c_str(), kDosAttribName);
  }
  const mode_t wanted = (attrs & faReadOnly) != 0 ? mode & ~kWriteBits
                        : IsReadOnly(mode)        ? mode | S_IWUSR
                                                  : mode;
  if (chmod(host.c_str(), wanted) != 0) return ErrorOf(errno);
  return kErrNone;
}

class PosixReadFile final : public IReadFile {
 public:
  explicit PosixReadFile(int fd) : FFile(fd) {}

  uint32_t Read(void* buffer, size_t count, size_t& got) override {
    got = 0;
    ssize_t length;
    do {
      length = read(FFile.Get(), buffer, count);
    } while (length < 0 && errno == EINTR);
    if (length < 0) return ErrorOf(errno);
    got = static_cast<size_t>(length);
    return kErrNone;
  }

  uint64_t Size() const override {
    struct stat status;
    if (fstat(FFile.Get(), &status) != 0) return 0;
    return static_cast<uint64_t>(status.st_size);
  }

  uint32_t Seek(uint64_t position) override {
    if (lseek(FFile.Get(), static_cast<off_t>(position), SEEK_SET) < 0) return ErrorOf(errno);
    return kErrNone;
  }

 private:
  FileDescriptor FFile;
};

// Fills the buffer from the file but at its end; returns a Linux error.
int ReadFully(int fd, char* buffer, size_t count, size_t& got) {
  got = 0;
  while (got < count) {
    const ssize_t length = read(fd, buffer + got, count - got);
    if (length < 0 && errno == EINTR) continue;
    if (length < 0) return errno;
    if (length == 0) break;
    got += static_cast<size_t>(length);
  }
  return 0;
}

int WriteFully(int fd, const char* buffer, size_t count) {
  for (size_t done = 0; done < count;) {
    const ssize_t length = write(fd, buffer + done, count - done);
    if (length < 0 && errno == EINTR) continue;
    if (length < 0) return errno;
    done += static_cast<size_t>(length);
  }
  return 0;
}

}  // namespace

// Where a path leads: the Linux folder that holds (or would hold) its last name, and the entry
// of that name if there is one.
struct PosixFileSystem::Walk {
  uint32_t Error = kErrNone;
  std::string Full;  // the path made absolute
  std::string Top;   // the drive's top folder, without links
  std::string Parent;
  std::string Host;  // the entry's Linux path, or the one a new entry of the name gets
  std::string Name;  // the entry's name as listed, or as given when there is none
  bool Exists = false;
  bool IsTop = false;
  struct stat Status = {};
  bool HasTrailingBackslash = false;

  bool IsFolder() const { return Exists && S_ISDIR(Status.st_mode); }
  uint32_t Attributes() const { return AttributesOf(Host, Name, Status); }
};

// The folder's names by folded name. They are kept for the next look only once the folder's
// time of change is two seconds past: a change within the same tick of the file system's clock
// would leave that time as it was.
const PosixFileSystem::FolderIndex* PosixFileSystem::IndexOf(const std::string& folder,
                                                             uint32_t& error) {
  struct stat status;
  if (stat(folder.c_str(), &status) != 0) {
    error = ErrorOf(errno, kErrPathNotFound);
    return nullptr;
  }
  FolderIndex& index = FIndexes[folder];
  if (index.IsSettled && IsSameFile(index.Status, status) &&
      index.Status.st_mtim.tv_sec == status.st_mtim.tv_sec &&
      index.Status.st_mtim.tv_nsec == status.st_mtim.tv_nsec) {
    return &index;
  }
  FolderListing listing(folder);
  if (!listing) {
    error = ErrorOf(errno, kErrPathNotFound);
    FIndexes.erase(folder);
    return nullptr;
  }
  index.Hosts.clear();
  std::string candidate;
  while (listing.Next(candidate)) {
    std::string& host = index.Hosts[Folded(candidate)];
    if (host.empty() || candidate < host) host = candidate;
  }
  struct timespec now = {};
  clock_gettime(CLOCK_REALTIME, &now);
  index.Status = status;
  index.IsSettled = now.tv_sec - status.st_mtim.tv_sec >= 2;
  return &index;
}

// The Linux name in the folder that the Windows name stands for, with its status: the name in
// that very form first, else the first in byte order that differs from it only in letter case.
// False when there is none, or the folder cannot be searched (error set).
bool PosixFileSystem::FindEntry(const std::string& top, const std::string& folder,
                                const std::string& name, std::string& host, struct stat& status,
                                uint32_t& error) {
  host = name;
  if (Admitted(top, Join(folder, host), status)) return true;
  if (errno == EACCES) {
    error = kErrAccessDenied;
    return false;
  }
  const FolderIndex* index = IndexOf(folder, error);
  if (index == nullptr) return false;
  const auto found = index->Hosts.find(Folded(name));
  if (found == index->Hosts.end()) return false;
  host = found->second;
  return Admitted(top, Join(folder, host), status);
}

PosixFileSystem::Walk PosixFileSystem::WalkPath(const std::string& path) {
  Walk walk;
  walk.Full = FCurrent.FullPath(path);
  const auto drive =
      IsAbsoluteDrivePath(walk.Full) ? FDrives.find(UpperLetter(walk.Full[0])) : FDrives.end();
  if (drive == FDrives.end()) {
    walk.Error = kErrPathNotFound;
    return walk;
  }
  std::string folder = drive->second.Folder;
  walk.Top = drive->second.Real;
  struct stat status;
  if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
    walk.Error = kErrNotReady;
    return walk;
  }
  const std::vector<std::string> names = SplitNames(walk.Full.substr(3));
  walk.HasTrailingBackslash = !names.empty() && walk.Full.back() == '\\';
  for (const std::string& name : names) {
    if (!IsValidName(name)) {
      walk.Error = kErrInvalidName;
      return walk;
    }
  }
  if (names.empty()) {
    walk.Host = folder;
    walk.Exists = walk.IsTop = true;
    walk.Status = status;
    return walk;
  }
  std::string host;
  for (size_t index = 0; index + 1 < names.size(); ++index) {
    if (!FindEntry(drive->second.Real, folder, names[index], host, status, walk.Error)) {
      if (walk.Error == kErrNone) walk.Error = kErrPathNotFound;
      return walk;
    }
    if (!S_ISDIR(status.st_mode)) {
      walk.Error = kErrPathNotFound;
      return walk;
    }
    folder = Join(folder, host);
  }
  walk.Parent = folder;
  walk.Exists =
      FindEntry(drive->second.Real, folder, names.back(), host, walk.Status, walk.Error);
  if (walk.Error != kErrNone) return walk;
  walk.Host = Join(folder, walk.Exists ? host : names.back());
  walk.Name = walk.Exists ? host : names.back();
  return walk;
}

FindResult PosixFileSystem::Enumerate(const std::string& pattern) {
  std::string folderPath;
  std::string mask;
  SplitPattern(pattern, folderPath, mask);
  FindResult result;
  const Walk walk = WalkPath(folderPath);
  if (walk.Error != kErrNone) {
    result.Error = walk.Error;
    return result;
  }
  if (!walk.IsFolder()) {
    result.Error = kErrPathNotFound;
    return result;
  }
  FolderListing listing(walk.Host);
  if (!listing) {
    result.Error = ErrorOf(errno, kErrPathNotFound);
    return result;
  }
  // A drive's top folder has no "." or ".." entries; every other folder lists them first.
  if (!walk.IsTop && !mask.empty()) {
    for (const char* dots : {".", ".."}) {
      if (MatchesMask(mask, dots)) result.Entries.push_back(DotEntry(dots));
    }
  }
  const size_t dots = result.Entries.size();
  // The Linux name is the program's name: UTF-8 where the system runs the program with the
  // UTF-8 code page, as this platform does.
  std::string name;
  while (!mask.empty() && listing.Next(name)) {
    if (!IsNameable(name) || !MatchesMask(mask, name)) continue;
    const std::string hostPath = Join(walk.Host, name);
    struct stat status;
    if (!Admitted(walk.Top, hostPath, status)) continue;
    DirEntry entry;
    entry.Name = name;
    entry.Attr = AttributesOf(hostPath, name, status);
    if (!S_ISDIR(status.st_mode)) entry.Size = static_cast<uint64_t>(status.st_size);
    result.Entries.push_back(std::move(entry));
  }
  // NTFS and CD media list a folder by name without regard to case, which is what the program
  // shows a medium's categories in; a Linux folder's own order changes from machine to machine.
  const auto named = result.Entries.begin() + static_cast<std::ptrdiff_t>(dots);
  std::sort(named, result.Entries.end(), [](const DirEntry& a, const DirEntry& b) {
    const std::string foldedA = Folded(a.Name);
    const std::string foldedB = Folded(b.Name);
    return foldedA != foldedB ? foldedA < foldedB : a.Name < b.Name;
  });
  if (result.Entries.empty()) result.Error = kErrFileNotFound;
  return result;
}

bool PosixFileSystem::FileExists(const std::string& path) {
  const Walk walk = WalkPath(path);
  return walk.Error == kErrNone && walk.Exists && !walk.IsFolder() && !walk.HasTrailingBackslash;
}

bool PosixFileSystem::DirExists(const std::string& path) {
  const Walk walk = WalkPath(path);
  return walk.Error == kErrNone && walk.IsFolder();
}

uint32_t PosixFileSystem::CreateDir(const std::string& path) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone) return walk.Error;
  if (walk.Exists) return kErrAlreadyExists;
  if (mkdir(walk.Host.c_str(), 0777) != 0) return ErrorOf(errno, kErrPathNotFound);
  return kErrNone;
}

uint32_t PosixFileSystem::CopyFile(const std::string& source, const std::string& target,
                                   bool failIfExists, ICopyChunks* chunks) {
  const Walk from = WalkPath(source);
  if (from.Error != kErrNone) return from.Error;
  if (!from.Exists) return kErrFileNotFound;
  if (from.IsFolder()) return kErrAccessDenied;
  if (from.HasTrailingBackslash) return kErrInvalidName;

  const Walk to = WalkPath(target);
  if (to.Error != kErrNone) return to.Error;
  if (to.IsTop) return kErrAccessDenied;
  if (to.HasTrailingBackslash) return kErrInvalidName;
  const uint32_t attrs = from.Attributes() & (faReadOnly | faHidden | faSysFile);
  if (to.Exists) {
    if (failIfExists) return kErrFileExists;
    // The source is held open while its target is replaced.
    if (IsSameFile(to.Status, from.Status)) return kErrSharingViolation;
    if (to.IsFolder() || IsReadOnly(to.Status.st_mode)) return kErrAccessDenied;
    // Replacing a hidden or system file is refused unless the new file keeps those bits.
    if ((to.Attributes() & (faHidden | faSysFile) & ~attrs) != 0) return kErrAccessDenied;
  }

  FileDescriptor in(open(from.Host.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat status;
  if (!in || fstat(in.Get(), &status) != 0) return ErrorOf(errno);
  // Never written through a link, which the drive does not show where it leads out.
  FileDescriptor out(
      open(to.Host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
  if (!out) return ErrorOf(errno, kErrPathNotFound);

  // A copy that cannot end removes what it wrote, so no truncated file keeps the name.
  const auto abandon = [&](uint32_t error) {
    out.Close();
    unlink(to.Host.c_str());
    return error;
  };
  const auto size = static_cast<uint64_t>(status.st_size);
  std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(size, kCopyChunkSize)));
  for (uint64_t done = 0; done < size;) {
    size_t got = 0;
    const size_t chunk = static_cast<size_t>(std::min<uint64_t>(size - done, buffer.size()));
    if (const int error = ReadFully(in.Get(), buffer.data(), chunk, got)) {
      return abandon(ErrorOf(error));
    }
    if (got == 0) return abandon(kErrHandleEof);
    if (const int error = WriteFully(out.Get(), buffer.data(), got)) {
      return abandon(ErrorOf(error));
    }
    done += got;
    if (chunks != nullptr && !chunks->ChunkCopied(done, size)) {
      return abandon(kErrRequestAborted);
    }
  }
  const struct timespec times[2] = {{0, UTIME_OMIT}, status.st_mtim};
  futimens(out.Get(), times);
  struct stat written;
  if (fstat(out.Get(), &written) != 0) return abandon(ErrorOf(errno));
  if (const int error = out.Close()) return abandon(ErrorOf(error));
  // The extended attribute is kept where the file system keeps one: a hidden file copied to one
  // that does not is no longer hidden, as on a Windows file system without the attribute.
  SetHostAttributes(to.Host, to.Name, written.st_mode, attrs);
  return kErrNone;
}

uint32_t PosixFileSystem::ReplaceFile(const std::string& replaced, const std::string& replacement) {
  const Walk from = WalkPath(replacement);
  if (from.Error != kErrNone) return from.Error;
  if (!from.Exists) return kErrFileNotFound;
  if (from.IsFolder()) return kErrAccessDenied;
  const Walk to = WalkPath(replaced);
  if (to.Error == kErrNone && to.Exists && IsSameFile(to.Status, from.Status)) {
    return kErrSharingViolation;
  }
  uint32_t error = to.Error;
  if (error == kErrNone && !to.Exists) error = kErrFileNotFound;
  if (error == kErrNone && (to.IsFolder() || IsReadOnly(to.Status.st_mode)))
    error = kErrAccessDenied;
  // The rename keeps the replacement's permissions and extended attribute, so its attributes.
  if (error == kErrNone && rename(from.Host.c_str(), to.Host.c_str()) != 0) error = ErrorOf(errno);
  if (error != kErrNone) unlink(from.Host.c_str());
  return error;
}

uint32_t PosixFileSystem::DeleteFile(const std::string& path) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone) return walk.Error;
  if (!walk.Exists) return kErrFileNotFound;
  if (walk.HasTrailingBackslash) return kErrInvalidName;
  if (walk.IsFolder() || IsReadOnly(walk.Status.st_mode)) return kErrAccessDenied;
  if (unlink(walk.Host.c_str()) != 0) return ErrorOf(errno);
  return kErrNone;
}

std::unique_ptr<IReadFile> PosixFileSystem::OpenRead(const std::string& path, uint32_t& error) {
  const Walk walk = WalkPath(path);
  error = walk.Error;
  if (error == kErrNone && !walk.Exists) error = kErrFileNotFound;
  if (error == kErrNone && walk.IsFolder()) error = kErrAccessDenied;
  if (error == kErrNone && walk.HasTrailingBackslash) error = kErrInvalidName;
  if (error != kErrNone) return nullptr;
  const int fd = open(walk.Host.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = ErrorOf(errno);
    return nullptr;
  }
  return std::make_unique<PosixReadFile>(fd);
}

std::string PosixFileSystem::GetCurrentDir(char drive) {
  return FCurrent.Get(drive);
}

uint32_t PosixFileSystem::SetCurrentDir(const std::string& path) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone) return walk.Error;
  if (!walk.Exists) return kErrFileNotFound;
  if (!walk.IsFolder()) return kErrDirectory;
  // The folder is kept as it was named, letter case and all, as Windows keeps it.
  FCurrent.Set(walk.Full);
  return kErrNone;
}

std::string PosixFileSystem::FullPath(const std::string& path) {
  return FCurrent.FullPath(path);
}

std::vector<DriveInfo> PosixFileSystem::Drives() {
  std::vector<DriveInfo> drives;
  for (const auto& [letter, drive] : FDrives)
    drives.push_back(DriveOf(letter));
  return drives;
}

DriveInfo PosixFileSystem::DriveOf(char letter) {
  DriveInfo info;
  info.Letter = UpperLetter(letter);
  const auto drive = FDrives.find(info.Letter);
  if (drive == FDrives.end()) {
    info.Kind = DriveKind::NoRootDir;
    info.IsReady = false;
    return info;
  }
  info.Kind = drive->second.Info.Kind;
  // Not asked, as the system's drive list does not ask a removable drive.
  if (info.Kind == DriveKind::Removable) return info;
  info.ConnectionName = drive->second.Info.ConnectionName;
  const std::string& folder = drive->second.Folder;
  struct stat status;
  info.IsReady = stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
  if (info.IsReady) info.Label = drive->second.Info.Label;
  return info;
}

void PosixFileSystem::AddDrive(const DriveInfo& info, const std::string& folder) {
  const char letter = UpperLetter(info.Letter);
  struct stat status;
  if (!IsLetter(letter) || FDrives.count(letter) != 0 || stat(folder.c_str(), &status) != 0 ||
      !S_ISDIR(status.st_mode)) {
    throw std::invalid_argument(std::string("PosixFileSystem: cannot make ") + folder + " drive " +
                                letter);
  }
  if (FDrives.empty()) FCurrent.SetDrive(letter);
  Drive& drive = FDrives[letter];
  drive.Info = info;
  drive.Info.Letter = letter;
  drive.Folder = folder;
  while (drive.Folder.size() > 1 && drive.Folder.back() == '/')
    drive.Folder.pop_back();
  char real[PATH_MAX];
  drive.Real = realpath(drive.Folder.c_str(), real) != nullptr ? real : drive.Folder;
}

void PosixFileSystem::AddDrive(char letter, const std::string& folder, DriveKind kind,
                               const std::string& label) {
  DriveInfo info;
  info.Letter = letter;
  info.Kind = kind;
  info.Label = label;
  AddDrive(info, folder);
}

uint32_t PosixFileSystem::SetAttributes(const std::string& path, uint32_t attrs) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone) return walk.Error;
  if (!walk.Exists) return kErrFileNotFound;
  return SetHostAttributes(walk.Host, walk.Name, walk.Status.st_mode, attrs);
}

uint32_t PosixFileSystem::GetAttributes(const std::string& path) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone || !walk.Exists) return 0;
  return walk.IsTop ? faDirectory : walk.Attributes();
}

std::string PosixFileSystem::HostPath(const std::string& path) {
  const Walk walk = WalkPath(path);
  if (walk.Error != kErrNone || !walk.Exists) return {};
  return walk.Host;
}

}  // namespace foyer
