// The operating-system services the program uses, as interfaces with a real and an in-memory side.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace foyer {

// File attribute bits, with the values the system gives them.
enum FileAttr : uint32_t {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faAnyFile = 0x3F,
};

// System error codes the services return (0 is success).
enum SysError : uint32_t {
  kErrNone = 0,
  kErrFileNotFound = 2,
  kErrPathNotFound = 3,
  kErrAccessDenied = 5,
  kErrNotReady = 21,
  kErrSharingViolation = 32,  // copying a file onto itself
  kErrFileExists = 80,        // a copy that must not replace its target
  kErrDiskFull = 112,
  kErrInvalidName = 123,  // a name with a character the file system refuses
  kErrAlreadyExists = 183,
  kErrDirectory = 267,        // the name is not a folder (changing into a file)
  kErrRequestAborted = 1235,  // a copy its caller cancelled
};

// A copy that reports its progress writes a file in chunks of this many bytes (the last one may
// be shorter) and reports after each.
constexpr uint64_t kCopyChunkSize = 1 << 20;

// Told after each chunk of a file copy how many of the file's bytes are written.
class ICopyChunks {
 public:
  virtual ~ICopyChunks() = default;
  // False cancels the copy: the partly written target is removed.
  virtual bool ChunkCopied(uint64_t bytesDone, uint64_t fileSize) = 0;
};

struct DirEntry {
  std::string Name;  // as stored: letter case kept
  uint32_t Attr = 0;
  uint64_t Size = 0;
};

struct FindResult {
  uint32_t Error = kErrNone;  // kErrFileNotFound when nothing matches
  std::vector<DirEntry> Entries;
};

// Drive kinds, numbered as GetDriveType numbers them.
enum class DriveKind : uint8_t {
  Unknown = 0,
  NoRootDir = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6
};

// What the drive list says of a drive. A removable drive's volume is never asked for (that
// would spin up a floppy drive, or wait for one): it is reported ready, without a label, and with
// the case behaviour of a long-name FAT disk.
struct DriveInfo {
  char Letter = 'C';  // upper case
  DriveKind Kind = DriveKind::Fixed;
  bool IsReady = true;           // false when its volume cannot be read (no disc, say)
  std::string Label;             // volume label; empty when none or not ready
  std::string ConnectionName;    // network share name; empty for local drives
  bool IsCaseSensitive = false;  // the file system keeps names apart by case
  bool IsCasePreserved = true;   // the file system keeps names in the case they were given
};

// A file opened for reading.
class IReadFile {
 public:
  virtual ~IReadFile() = default;
  // Reads up to count bytes; got is 0 at the end. Returns a system error code.
  virtual uint32_t Read(void* buffer, size_t count, size_t& got) = 0;
  virtual uint64_t Size() const = 0;
  // Moves the read position to a byte offset from the start. Returns a system error code.
  virtual uint32_t Seek(uint64_t position) = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // Every entry of the folder that matches the wildcard pattern (folder\pattern), in the order
  // the file system keeps them, with "." and ".." where the system reports them. The attribute
  // filter is applied by FindFiles below, so both implementations share it.
  virtual FindResult Enumerate(const std::string& pattern) = 0;

  // True only for an existing file; a folder of that name does not count.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool DirExists(const std::string& path) = 0;
  virtual uint32_t CreateDir(const std::string& path) = 0;
  // Copies a file, replacing the target unless failIfExists; the target gets the source's
  // attributes and the archive bit. With chunks, the copy reports each chunk and can be
  // cancelled (kErrRequestAborted); a copy that fails or is cancelled once it began writing
  // removes what it wrote, so no truncated file is left under the target's name. Without, it is
  // the system's own copy, which may leave a partial file behind on a full disk.
  virtual uint32_t CopyFile(const std::string& source, const std::string& target, bool failIfExists,
                            ICopyChunks* chunks = nullptr) = 0;
  // Puts the file replacement in the place of the file replaced in one step: the result has
  // replacement's bytes and attributes, read-only included, and the name replacement is gone.
  // Pass replaced as the folder's listing names it: Wine gives the result the letter case it is
  // handed. When the replace fails (replaced is missing, a folder, read-only or in
  // use), replaced is left as it was and replacement is removed. The replacement's bytes reach
  // the disk before it takes the name, and the move is written through: a power cut at any time
  // leaves the old file or the new one whole under the name.
  virtual uint32_t ReplaceFile(const std::string& replaced, const std::string& replacement) = 0;
  // Removes a file (never a folder).
  virtual uint32_t DeleteFile(const std::string& path) = 0;
  // Opens a file for reading; on failure returns null and sets error.
  virtual std::unique_ptr<IReadFile> OpenRead(const std::string& path, uint32_t& error) = 0;

  // The current folder of the process (drive 0) or of the given drive letter, without a
  // trailing backslash except for a drive's top folder ("C:\").
  virtual std::string GetCurrentDir(char drive = 0) = 0;
  // Makes the folder current, and its drive the current drive.
  virtual uint32_t SetCurrentDir(const std::string& path) = 0;
  // Resolves a relative path against the current folders, and "." and ".." parts.
  virtual std::string FullPath(const std::string& path) = 0;

  // The drives present, in letter order.
  virtual std::vector<DriveInfo> Drives() = 0;
  // One drive as the drive list gives it; a letter without a drive is of kind NoRootDir and not
  // ready.
  virtual DriveInfo DriveOf(char letter) = 0;
};

// Entries matching a pattern as the classic FindFirst filter gives them: ordinary files always;
// folders, hidden, system and volume-label entries only when their bits are in attrFilter.
FindResult FindFiles(IFileSystem& fs, const std::string& pattern, uint32_t attrFilter);

// Reads a whole file; returns a system error code.
uint32_t ReadWholeFile(IFileSystem& fs, const std::string& path, std::string& content);

class IDisplay {
 public:
  virtual ~IDisplay() = default;
  virtual int BitsPerPixel() = 0;
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  virtual int PixelsPerInch() = 0;
};

// Media control interface commands, flags and query items, with the values the system gives them.
enum MciMessage : uint32_t {
  kMciOpen = 0x0803,
  kMciClose = 0x0804,
  kMciPlay = 0x0806,
  kMciGetDevCaps = 0x080B,
  kMciStatus = 0x0814,
  kMciWhere = 0x0843,
};
enum MciFlag : uint32_t {
  kMciNotify = 0x1,
  kMciWait = 0x2,
  kMciOpenShareable = 0x100,
  kMciItem = 0x100,  // MCI_STATUS_ITEM and MCI_GETDEVCAPS_ITEM
  kMciOpenElement = 0x200,
  kMciOpenType = 0x2000,
  kMciWhereSource = 0x20000,
};
enum MciItem : uint32_t {
  kMciStatusLength = 1,
  kMciStatusMode = 4,
  kMciCapsCanRecord = 1,
  kMciCapsHasVideo = 3,
  kMciCapsDeviceType = 4,
  kMciCapsCanEject = 7,
  kMciCapsCanPlay = 8,
};

// One command to the media control interface, and what it answered.
struct MciCommand {
  uint32_t DeviceId = 0;
  uint32_t Message = 0;
  uint32_t Flags = 0;
  std::string DeviceType;  // an open's device type name
  std::string Element;     // an open's file
  uint32_t Item = 0;       // a status or capability query's item
  uint32_t Answer = 0;     // the device an open gave, or a query's value
};

class IMedia {
 public:
  virtual ~IMedia() = default;
  // Sends a command; returns the interface's error code (0 is success). A command with
  // kMciNotify tells the service's own window when it is done: the program takes no action then.
  virtual uint32_t SendCommand(MciCommand& command) = 0;
  // The interface's text for an error code; false when it has none.
  virtual bool ErrorText(uint32_t error, std::string& text) = 0;
};

// Starting programs as processes of their own.

// System error codes a program start answers with, besides those of the file system.
enum StartError : uint32_t {
  kErrNotEnoughMemory = 8,
  kErrBadFormat = 11,
  kErrBadExeFormat = 193,
  kErrMachineMismatch = 216,    // a program for another processor
  kErrElevationRequired = 740,  // the program's manifest asks for administrator rights
  kErrCancelled = 1223,         // the user declined the consent prompt
};

// A program to start: the file, its parameters (empty for none), the folder it starts in and
// the show command its first window opens with.
struct ProgramStart {
  std::string File;
  std::string Parameters;
  std::string Folder;
  int ShowCommand = 0;
  bool operator==(const ProgramStart&) const = default;
};

class IPrograms {
 public:
  virtual ~IPrograms() = default;
  // Starts the program with the rights of this one; batch files through the command
  // interpreter. Returns 0 when it started, else the system's error code; a program that asks
  // for administrator rights answers kErrElevationRequired.
  virtual uint32_t Start(const ProgramStart& program) = 0;
  // Starts the program through the shell with administrator rights, after the system's consent
  // prompt. Returns 0 when it started, kErrCancelled when the user declined, else the system's
  // error code.
  virtual uint32_t StartElevated(const ProgramStart& program) = 0;
};

// A millisecond count that goes up with time and wraps round; only differences mean anything.
class IClock {
 public:
  virtual ~IClock() = default;
  virtual uint32_t Milliseconds() = 0;
};

// How the program's strings and the texts of a medium are encoded, and their letter case.
class ICodePage {
 public:
  virtual ~ICodePage() = default;
  // True when the program's strings are UTF-8 (the system runs it with the UTF-8 code page);
  // false when they are in the system's ANSI code page, a byte a character, as before.
  virtual bool IsUtf8() = 0;
  // The user's legacy ANSI code page (1252 on a Western system), whatever the program's own:
  // a text that is neither marked nor UTF-8 was written in it.
  virtual uint32_t LegacyCodePage() = 0;
  // Text in the legacy code page as a program string.
  virtual std::string FromLegacy(const std::string& bytes) = 0;
  // UTF-8 text as a program string; a character the program's code page lacks becomes "?".
  virtual std::string FromUtf8(const std::string& text) = 0;
  // Lower-cases every letter of the buffer in place: a byte at a time in an ANSI code page, a
  // character at a time in UTF-8, where the length may change.
  virtual void LowerBuff(std::string& text) = 0;
};

// The one set of services the running program uses, installed at start-up.
struct Services {
  IFileSystem* Fs = nullptr;
  IDisplay* Display = nullptr;
  ICodePage* CodePage = nullptr;
  IClock* Clock = nullptr;
  IMedia* Media = nullptr;
  IPrograms* Programs = nullptr;
};

Services& Platform();
void InstallPlatform(const Services& services);

// Installs a set of services for a scope (a test, say) and puts the previous set back after.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(const Services& services) : FSaved(Platform()) {
    InstallPlatform(services);
  }
  ~ScopedPlatform() { InstallPlatform(FSaved); }
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Services FSaved;
};

}  // namespace foyer
