// The Windows rules for paths, names and wildcard patterns, shared by the file systems that
// answer as Windows does over something else (memory, a Linux folder).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace foyer::winpath {

char UpperLetter(char c);
bool IsLetter(char c);

// The name with its letters lower-cased as code page 1252 cases them, for comparing names.
std::string Folded(const std::string& name);
bool IsSameName(const std::string& a, const std::string& b);
// False for a name with a control character or one of <>:"|?*, which Windows never stores.
bool IsValidName(const std::string& name);

// Slashes made backslashes, as Windows also accepts them.
std::string WithBackslashes(std::string path);
// "X:\..." with a drive letter.
bool IsAbsoluteDrivePath(const std::string& path);
// The names between backslashes, empty ones left out.
std::vector<std::string> SplitNames(const std::string& rest);
// Resolves "." and ".." and doubled backslashes in an absolute path, as GetFullPathName does.
std::string Collapsed(const std::string& absolute);

// True when the name matches the pattern as FindFirstFile matches it.
bool MatchesMask(const std::string& mask, const std::string& name);
// A pattern's folder part (with its backslash, "X:" or "." when it has none) and its mask.
void SplitPattern(const std::string& pattern, std::string& folder, std::string& mask);
// The "." or ".." entry of a listing.
DirEntry DotEntry(const char* name);

// The current folder of each drive and the current drive, and full paths reckoned from them.
class CurrentFolders {
 public:
  explicit CurrentFolders(char drive = 'C') : FDrive(UpperLetter(drive)) {}

  char Drive() const { return FDrive; }
  void SetDrive(char letter) { FDrive = UpperLetter(letter); }
  // The drive's current folder (drive 0: the current drive's), its top folder until one is set.
  std::string Get(char drive = 0) const;
  // Makes a folder (an absolute path, kept as it is named) current, and its drive the current
  // drive.
  void Set(std::string full);
  // Resolves a relative path against the current folders, and "." and ".." parts.
  std::string FullPath(const std::string& path) const;

 private:
  char FDrive;
  std::map<char, std::string> FFolders;
};

}  // namespace foyer::winpath
