// The file copier the install action uses: one file, or a folder tree, with progress and Cancel.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace foyer {

// How far a copy has got. The totals are known before the first file: a tree is walked once
// before it is copied.
struct TCopyState {
  uint64_t FilesDone = 0;
  uint64_t FilesTotal = 0;
  uint64_t BytesDone = 0;
  uint64_t BytesTotal = 0;
  // The source of the file being copied, or of the one copied last.
  std::string CurrentFile;
};

// Told as a copy goes: before each file, after each chunk of it, and after it.
class ICopyProgress {
 public:
  virtual ~ICopyProgress() = default;
  // False cancels the copy. A file cancelled part way is removed; the ones complete stay.
  virtual bool CopyProgressed(const TCopyState& state) = 0;
};

// Paths the copier passes to the system are at most this long; a longer one is never cut short.
constexpr size_t kMaxCopyPath = 255;

// Whether a copy of a tree goes into the sub-folder it lists as entry: hidden and system folders,
// and "." and "..", are left out.
bool IsCopiedFolder(const DirEntry& entry);

// Copies the file source to the file path target, replacing an existing target. True when the
// file was copied whole: the target is then the size of the source. A copy that fails part way
// or is cancelled leaves no truncated file under the target's name: a new file is removed, and
// an earlier file that was to be replaced is left as it was, since the new one is written
// beside it and takes its place only once whole. A read-only target, or a hidden or system one
// where the source is not so, is not replaced.
bool CopyOneFile(const std::string& source, const std::string& target,
                 ICopyProgress* progress = nullptr);

// Copies what the folder source holds into the folder target, which is created with any
// missing parents: first a folder's files (hidden and system ones too) in the order the system
// lists them, then its sub-folders depth first, leaving out hidden and system folders. Each file
// is copied as CopyOneFile copies it. Stops at the first file that cannot be copied or folder
// that cannot be read; what was copied before it stays, also when the target folder cannot be
// listed to check it. True when everything was copied, also when there was nothing to copy.
bool CopyTree(const std::string& source, const std::string& target,
              ICopyProgress* progress = nullptr);

}  // namespace foyer
