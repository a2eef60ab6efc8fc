// Linux folders as Windows drives, answering as the Windows file system does: the medium, and
// the folders a checker installs to, without Windows.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/WinPath.h"

namespace foyer {

// Each drive letter stands for a Linux folder, its top folder. Paths are Windows paths, resolved
// name by name: a name the folder holds in that very form first, else the first one, in byte
// order, that differs only in letter case (a character at a time, as Windows compares names),
// as several may on Linux. A Linux name is the program's name and the program's name the Linux
// one, as Windows 10 version 1903 and later list names in UTF-8 to a program that runs with the
// UTF-8 code page: every script shows and opens. A Linux name that is not UTF-8 keeps its bytes:
// what they meant (a zip's code page 437, a Western or a Cyrillic code page) cannot be told, and
// kept as they are they still open that entry and no other. Wildcards match as FindFirstFile
// matches them. A listing gives "." and ".." first (except in a drive's top folder), then the
// names in order without regard to case, as NTFS and CD media give them.
//
// Attributes: a file or folder without any write permission is read-only; hidden and system
// come from the user.DOSATTRIB extended attribute where the entry has one that can be read, as
// Wine and Samba keep them, and otherwise an entry whose name begins with a dot is hidden. Files
// carry the archive bit. Linux entries a Windows program cannot name (a name with a character
// Windows refuses) and links that lead nowhere are left out of listings. So are devices, FIFOs
// and sockets, links to folders and links that lead out of the drive's top folder: a walk of a
// drive enters each folder once and reads nothing outside it.
//
// Read-only files are refused to deletes, replaces and copies onto them, whatever rights the
// process has (root may write them on Linux). A path on a letter with no folder fails with
// kErrPathNotFound, as a drive that does not exist fails on Windows; a drive whose folder is gone
// is not ready (kErrNotReady).
class PosixFileSystem final : public IFileSystem {
 public:
  PosixFileSystem() = default;
  PosixFileSystem(const PosixFileSystem&) = delete;
  PosixFileSystem& operator=(const PosixFileSystem&) = delete;

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

  // Makes the Linux folder the drive's top folder; the first drive added becomes the current
  // drive. The drive list reports the kind and label given, names apart without regard to case.
  // Throws std::invalid_argument for a letter taken or a folder that is not one.
  void AddDrive(const DriveInfo& info, const std::string& folder);
  void AddDrive(char letter, const std::string& folder, DriveKind kind = DriveKind::Fixed,
                const std::string& label = {});

  // Sets read-only (the write permissions), hidden and system (the extended attribute, removed
  // when neither is set) of a file or folder. Returns a system error code: kErrAccessDenied
  // where the file system keeps no extended attributes and hidden or system was asked for.
  uint32_t SetAttributes(const std::string& path, uint32_t attrs);
  // The attributes as a listing gives them; 0 when the path leads nowhere.
  uint32_t GetAttributes(const std::string& path);
  // The Linux path a Windows path leads to, where it leads to something; empty otherwise.
  std::string HostPath(const std::string& path);

 private:
  struct Drive {
    DriveInfo Info;
    std::string Folder;  // the Linux folder, without a trailing slash but for "/"
    std::string Real;    // the same without links, which links it holds must lead into
  };
  struct Walk;
  // A folder's Linux names by their folded forms, each the first in byte order.
  struct FolderIndex {
    struct stat Status = {};  // the folder's, when it was read
    bool IsSettled = false;   // its time of change is far enough past to tell later changes
    std::map<std::string, std::string> Hosts;
  };

  Walk WalkPath(const std::string& path);
  bool FindEntry(const std::string& top, const std::string& folder, const std::string& name,
                 std::string& host, struct stat& status, uint32_t& error);
  const FolderIndex* IndexOf(const std::string& folder, uint32_t& error);

  std::map<char, Drive> FDrives;
  // The folders looked in without regard to case, so that a name missing from a large folder
  // costs one look at its status rather than a reading of it.
  std::map<std::string, FolderIndex> FIndexes;
  winpath::CurrentFolders FCurrent;
};

}  // namespace foyer
