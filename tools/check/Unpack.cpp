// Unpacking a disc image or a zip file with libarchive, and an image's hidden flags with
// libiso9660.
#include "Unpack.h"

#include <archive.h>
#include <archive_entry.h>
#include <cdio/bytesex.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>

#include "platform/Platform.h"
#include "platform/posix/DosAttrib.h"

namespace foyer {

namespace {

bool IsInside(const std::string& name) {
  if (name.empty() || name[0] == '/') return false;
  for (const auto& part : std::filesystem::path(name)) {
    if (part == "..") return false;
  }
  return true;
}

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

}  // namespace

TUnpackedMedium::TUnpackedMedium(const std::string& path) {
  const std::unique_ptr<archive, decltype(&archive_read_free)> reader(archive_read_new(),
                                                                      archive_read_free);
  archive_read_support_format_iso9660(reader.get());
  archive_read_support_format_zip(reader.get());
  // An image's names as Windows shows them: Joliet, else the short names, never Rock Ridge.
  archive_read_set_options(reader.get(), "iso9660:!rockridge");
  if (archive_read_open_filename(reader.get(), path.c_str(), 64 * 1024) != ARCHIVE_OK) {
    FError = archive_error_string(reader.get());
    return;
  }
  const char* temp = std::getenv("TMPDIR");
  std::string folder = std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") +
                       "/foyer-check-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) {
    FError = "cannot make a folder to unpack into";
    return;
  }
  const std::unique_ptr<archive, decltype(&archive_write_free)> writer(archive_write_disk_new(),
                                                                       archive_write_free);
  // Nothing is written through a link the medium holds.
  archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_SECURE_NODOTDOT |
                                                   ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                                                   ARCHIVE_EXTRACT_PERM | ARCHIVE_EXTRACT_TIME);
  archive_entry* entry = nullptr;
  int status = ARCHIVE_OK;
  while ((status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
    // Names stay inside the folder: an absolute one, or one that climbs out, is refused.
    const std::string name = archive_entry_pathname(entry);
    if (!IsInside(name)) {
      FError = "the medium names a file outside itself: " + name;
      break;
    }
    archive_entry_set_pathname(entry, (folder + "/" + name).c_str());
    if (const char* link = archive_entry_hardlink(entry)) {
      if (!IsInside(link)) {
        FError = "the medium links to a file outside itself: " + std::string(link);
        break;
      }
      archive_entry_set_hardlink(entry, (folder + "/" + link).c_str());
    }
    if (archive_write_header(writer.get(), entry) != ARCHIVE_OK) {
      FError = archive_error_string(writer.get());
      break;
    }
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    int read = ARCHIVE_OK;
    while ((read = archive_read_data_block(reader.get(), &block, &size, &offset)) == ARCHIVE_OK) {
      if (archive_write_data_block(writer.get(), block, size, offset) != ARCHIVE_OK) break;
    }
    if (read != ARCHIVE_EOF) {
      FError = archive_error_string(reader.get());
      break;
    }
    archive_write_finish_entry(writer.get());
  }
  if (FError.empty() && status != ARCHIVE_EOF) FError = archive_error_string(reader.get());
  FFolder = folder;
  if (FError.empty()) KeepAttributes(path);
  if (!FError.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(FFolder, ignored);
    FFolder.clear();
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
    if (lsetxattr(path.c_str(), kDosAttribName, value.data(), value.size(), 0) != 0) {
      FError = "cannot keep the hidden attribute of " + entry.Path + " in " + FFolder + ": " +
               std::strerror(errno) +
               (errno == ENOTSUP ? " (set TMPDIR to a folder on a file system that has them)" : "");
      return;
    }
  }
}

TUnpackedMedium::~TUnpackedMedium() {
  if (FFolder.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(FFolder, ignored);
}

}  // namespace foyer
