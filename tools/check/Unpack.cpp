// Unpacking a disc image or a zip file with libarchive, and an image's hidden flags with
// libiso9660.
#include "Unpack.h"

#include <archive.h>
#include <archive_entry.h>
#include <cdio/bytesex.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>
#include <dirent.h>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "check/Checker.h"
#include "platform/Platform.h"
#include "platform/posix/DosAttrib.h"

namespace foyer {

namespace {

// A folder's records in sectors: 64 MB, more than any real disc's folder needs.
constexpr uint32_t kMostFolderSectors = 32768;

// What the image's directory records say of one file or folder, under the names Windows shows.
struct TImageEntry {
  std::string Path;  // inside the image, "/" between names
  bool IsHidden = false;
};

// The files and folders of an ISO 9660 image as Windows lists them: from the Joliet tree where
// the image has one, else from the tree of short names. False, with the error, where the
// directory records cannot be read; nothing, and no error, for a file that is no such image.
bool ReadImageEntries(const std::string& image, std::vector<TImageEntry>& entries,
                      bool& isImage, bool& hasShortNamesOnly, std::string& error) {
  // A file that is no image is told by the answer alone, not by libcdio's messages.
  cdio_log_set_handler([](cdio_log_level_t, const char*) {});
  const std::unique_ptr<iso9660_t, decltype(&iso9660_close)> iso(
      iso9660_open_ext(image.c_str(), ISO_EXTENSION_JOLIET), iso9660_close);
  if (!iso) return true;
  isImage = true;
  hasShortNamesOnly = iso9660_ifs_get_joliet_level(iso.get()) == 0;
  // Each folder as libiso9660 finds it, and as Windows names it.
  std::vector<std::pair<std::string, std::string>> folders{{"/", ""}};
  std::set<lsn_t> seen;
  while (!folders.empty()) {
    const auto [lookup, shown] = folders.back();
    folders.pop_back();
    const std::unique_ptr<iso9660_stat_t, decltype(&iso9660_stat_free)> folder(
        iso9660_ifs_stat(iso.get(), lookup.c_str()), iso9660_stat_free);
    const std::unique_ptr<CdioList_t, decltype(&iso9660_filelist_free)> list(
        iso9660_ifs_readdir(iso.get(), lookup.c_str()), iso9660_filelist_free);
    if (!folder || !list) {
      error = "cannot read the folder " + lookup + " of the image";
      return false;
    }
    // A folder reached again (records that lead back up) is read once.
    if (!seen.insert(folder->lsn).second) continue;
    if (folder->secsize > kMostFolderSectors) {
      error = "the folder " + lookup + " of the image is larger than any disc's";
      return false;
    }
    // libiso9660 lists the records with their names but without their flags: the folder's
    // records are read beside the list, one for one, in the order both have.
    std::vector<uint8_t> records(size_t(folder->secsize) * ISO_BLOCKSIZE);
    if (iso9660_iso_seek_read(iso.get(), records.data(), folder->lsn, folder->secsize) !=
        long(records.size())) {
      error = "cannot read the folder " + lookup + " of the image";
      return false;
    }
    CdioListNode_t* node = _cdio_list_begin(list.get());
    for (size_t at = 0; at < records.size() && node != nullptr;) {
      const auto* record = reinterpret_cast<const iso9660_dir_t*>(&records[at]);
      const size_t length = iso9660_get_dir_len(record);
      if (length == 0) {  // the rest of the sector is unused
        at = (at / ISO_BLOCKSIZE + 1) * ISO_BLOCKSIZE;
        continue;
      }
      const auto* listed = static_cast<const iso9660_stat_t*>(_cdio_list_node_data(node));
      if (at + length > records.size() || listed->lsn != lsn_t(from_733(record->extent))) {
        error = "the records of the folder " + lookup + " of the image do not read as listed";
        return false;
      }
      at += length;
      node = _cdio_list_node_next(node);
      std::string name = listed->filename;
      if (name == "." || name == "..") continue;
      if (hasShortNamesOnly) {
        // Windows shows a short name without its version (";1") and without a dot at its end.
        const std::unique_ptr<char, decltype(&std::free)> raw(iso9660_dir_to_name(record),
                                                                std::free);
        name = raw ? raw.get() : "";
        name = name.substr(0, name.find(';'));
        if (!name.empty() && name.back() == '.') name.pop_back();
      }
      const std::string path = shown.empty() ? name : shown + "/" + name;
      entries.push_back({path, (record->file_flags & ISO_EXISTENCE) != 0});
      if ((record->file_flags & ISO_DIRECTORY) != 0) {
        folders.emplace_back(lookup + listed->filename + "/", path);
      }
    }
  }
  return true;
}

// The names of an entry's path, "." and empty ones dropped; false for a path that climbs out
// with "..", or that is absolute.
bool SplitInside(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  if (!path.empty() && path[0] == '/') return false;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string name = path.substr(start, end - start);
    if (name == "..") return false;
    if (!name.empty() && name != ".") names.push_back(name);
    start = end + 1;
  }
  return true;
}

// libarchive's message, which it may not have.
std::string ErrorOf(archive* reader) {
  const char* message = archive_error_string(reader);
  return message != nullptr ? message : "it cannot be read as a disc image or a zip file";
}

std::string Failure(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

struct TFile {
  int Fd;
  ~TFile() {
    if (Fd >= 0) close(Fd);
  }
};

int WriteAt(int fd, const char* bytes, size_t count, off_t offset) {
  while (count > 0) {
    const ssize_t done = pwrite(fd, bytes, count, offset);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return errno;
    bytes += done;
    count -= static_cast<size_t>(done);
    offset += done;
  }
  return 0;
}

// While it lives, characters are UTF-8, so that libarchive gives an image's Joliet names
// (UTF-16) and a zip's UTF-8 names as the UTF-8 that the folder's file system takes for the
// program's own, whatever this user's locale is; a zip's names in a code page keep their bytes.
class TUtf8Names {
 public:
  TUtf8Names() : FSaved(setlocale(LC_CTYPE, nullptr)) {
    for (const char* locale : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
      if (setlocale(LC_CTYPE, locale) != nullptr &&
          std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) {
        return;
      }
    }
  }
  ~TUtf8Names() { setlocale(LC_CTYPE, FSaved.c_str()); }
  TUtf8Names(const TUtf8Names&) = delete;
  TUtf8Names& operator=(const TUtf8Names&) = delete;

 private:
  std::string FSaved;
};

}  // namespace

TUnpackedMedium::TUnpackedMedium(const std::string& path, const std::string& folder,
                                 const TUnpackLimits& limits)
    : FFolder(folder) {
  const TUtf8Names names;
  Unpack(path, limits);
  if (FError.empty()) KeepAttributes(path);
}

void TUnpackedMedium::Unpack(const std::string& path, const TUnpackLimits& limits) {
  const std::unique_ptr<archive, decltype(&archive_read_free)> reader(archive_read_new(),
                                                                      archive_read_free);
  archive_read_support_format_iso9660(reader.get());
  archive_read_support_format_zip(reader.get());
  // An image's names as Windows shows them: Joliet, else the short names, never Rock Ridge.
  archive_read_set_options(reader.get(), "iso9660:!rockridge");
  if (archive_read_open_filename(reader.get(), path.c_str(), 64 * 1024) != ARCHIVE_OK) {
    FError = ErrorOf(reader.get());
    return;
  }
  // The files written so far by their paths inside, with their sizes, for an image's entries
  // that share another's contents (libarchive gives them as hard links).
  std::map<std::string, uint64_t> files;
  uint64_t entries = 0;
  uint64_t bytes = 0;
  const auto overBytes = [&](uint64_t more) {
    bytes += more;
    if (bytes <= limits.Bytes) return false;
    FError = "its files hold more than " + std::to_string(limits.Bytes) +
             " bytes (--max-size raises the limit)";
    return true;
  };
  std::vector<char> copy(64 * 1024);
  archive_entry* entry = nullptr;
  std::vector<std::string> names;
  for (;;) {
    const int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    // A warning (a name libarchive could not convert, say) leaves the entry readable.
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
      FError = ErrorOf(reader.get());
      return;
    }
    const char* raw = archive_entry_pathname(entry);
    if (raw == nullptr) raw = archive_entry_pathname_utf8(entry);
    if (raw == nullptr) {
      FError = "an entry has a name that cannot be read";
      return;
    }
    if (!SplitInside(raw, names)) {
      FError = "the medium names a file outside itself: " + std::string(raw);
      return;
    }
    if (++entries > limits.Entries) {
      FError = "it holds more than " + std::to_string(limits.Entries) +
               " files and folders (--max-entries raises the limit)";
      return;
    }
    if (names.empty()) continue;  // the top folder itself
    std::string inside;
    std::string host = FFolder;
    for (size_t i = 0; i + 1 < names.size(); ++i) {
      inside += names[i] + "/";
      host += "/" + names[i];
      if (mkdir(host.c_str(), 0700) != 0 && errno != EEXIST) {
        FError = Failure("cannot make " + host, errno);
        return;
      }
    }
    inside += names.back();
    host += "/" + names.back();
    const char* const link = archive_entry_hardlink(entry);
    const mode_t type = archive_entry_filetype(entry);
    if (type == AE_IFDIR) {
      struct stat made {};
      if (mkdir(host.c_str(), 0700) != 0 &&
          (errno != EEXIST || lstat(host.c_str(), &made) != 0 || !S_ISDIR(made.st_mode))) {
        FError = Failure("cannot make " + host, errno == 0 ? EEXIST : errno);
        return;
      }
      continue;
    }
    // Another name of a file written before (an image's files that share their contents), else
    // a file of its own; anything else is left out.
    std::vector<std::string> target;
    std::string key;
    if (link != nullptr && SplitInside(link, target)) {
      for (const std::string& name : target)
        key += (key.empty() ? "" : "/") + name;
    }
    const auto found = files.find(key);
    const bool isCopy = link != nullptr && found != files.end();
    if (type != AE_IFREG || (link != nullptr && !isCopy)) {
      ++FLeftOut;
      continue;
    }
    // A file of this user's, never a set-id one, and never through a link (none is made).
    const TFile file{
        open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600)};
    const int fd = file.Fd;
    if (fd < 0) {
      FError = Failure("cannot write " + host, errno);
      return;
    }
    const uint64_t wanted = CheckedBytes(names.back());
    uint64_t size = 0;
    int error = 0;
    if (isCopy) {
      // Its size, and what the checker reads of it, from the file written before.
      const std::string from = FFolder + "/" + key;
      size = found->second;
      if (overBytes(size)) return;
      const int in = open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
      for (uint64_t done = 0; in >= 0 && error == 0 && done < std::min(size, wanted);) {
        const ssize_t got = pread(in, copy.data(), std::min<uint64_t>(copy.size(), wanted - done),
                                  static_cast<off_t>(done));
        if (got <= 0) break;
        error = WriteAt(fd, copy.data(), static_cast<size_t>(got), static_cast<off_t>(done));
        done += static_cast<uint64_t>(got);
      }
      if (in >= 0) close(in);
    } else {
      const bool isSized = archive_entry_size_is_set(entry) != 0;
      const uint64_t declared = isSized ? static_cast<uint64_t>(archive_entry_size(entry)) : 0;
      if (overBytes(declared)) return;
      size = declared;
      const void* block = nullptr;
      size_t length = 0;
      la_int64_t offset = 0;
      // A file of a known size is read as far as the checker reads it; one whose size only its
      // end tells is read through, counted.
      while (error == 0 && !(isSized && wanted == 0)) {
        const int read = archive_read_data_block(reader.get(), &block, &length, &offset);
        if (read == ARCHIVE_EOF) break;
        if (read != ARCHIVE_OK && read != ARCHIVE_WARN) {
          FError = ErrorOf(reader.get());
          return;
        }
        const uint64_t end = static_cast<uint64_t>(offset) + length;
        if (isSized && end > declared) {
          FError = "the file " + inside + " holds more than the archive says it does";
          return;
        }
        if (!isSized && end > size && overBytes(end - size)) return;
        size = std::max(size, end);
        if (static_cast<uint64_t>(offset) < wanted) {
          error = WriteAt(fd, static_cast<const char*>(block),
                          static_cast<size_t>(std::min<uint64_t>(length, wanted - offset)), offset);
        }
        if (isSized && end >= std::min(wanted, declared)) break;
      }
      if (isSized) size = declared;
    }
    // The rest is a hole, which costs nothing on disk.
    if (error == 0 && ftruncate(fd, static_cast<off_t>(size)) != 0) error = errno;
    if (error != 0) {
      FError = Failure("cannot write " + host, error);
      return;
    }
    files[inside] = size;
  }
}

// Windows hides what the image marks hidden, and nothing for a name that begins with a dot: the
// folder says so in the attribute the file system over it reads (without it, a dot hides).
void TUnpackedMedium::KeepAttributes(const std::string& medium) {
  std::vector<TImageEntry> entries;
  if (!ReadImageEntries(medium, entries, FIsImage, FHasShortNamesOnly, FError)) return;
  if (!FIsImage) {
    // A zip file: what it holds is unpacked with no attribute of its own.
    for (const auto& item : std::filesystem::recursive_directory_iterator(FFolder)) {
      if (item.is_symlink()) continue;
      entries.push_back({item.path().lexically_relative(FFolder).string(), false});
    }
  }
  for (const TImageEntry& entry : entries) {
    const std::string name = std::filesystem::path(entry.Path).filename().string();
    if (!entry.IsHidden && (name.empty() || name[0] != '.')) continue;
    const std::string value = DosAttribValue(entry.IsHidden ? uint32_t(faHidden) : 0);
    const std::string path = FFolder + "/" + entry.Path;
    // An entry that was left out (a link) has nothing to hide.
    if (lsetxattr(path.c_str(), kDosAttribName, value.data(), value.size(), 0) != 0 &&
        errno != ENOENT) {
      FError = "cannot keep the hidden attribute of " + entry.Path + " in " + FFolder + ": " +
               std::strerror(errno) +
               (errno == ENOTSUP ? " (set TMPDIR to a folder on a file system that has them)" : "");
      return;
    }
  }
}

void RemoveTree(const std::string& folder) {
  struct stat status {};
  if (lstat(folder.c_str(), &status) != 0) return;
  if (S_ISDIR(status.st_mode)) {
    // A folder this user cannot write or search is opened up first, as only its owner may.
    chmod(folder.c_str(), 0700);
    if (DIR* listing = opendir(folder.c_str())) {
      std::vector<std::string> names;
      while (const dirent* found = readdir(listing)) {
        const std::string name = found->d_name;
        if (name != "." && name != "..") names.push_back(name);
      }
      closedir(listing);
      for (const std::string& name : names)
        RemoveTree(folder + "/" + name);
    }
    rmdir(folder.c_str());
    return;
  }
  unlink(folder.c_str());
}

}  // namespace foyer
