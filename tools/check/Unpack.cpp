// Unpacking a disc image or a zip file with libarchive.
#include "Unpack.h"

#include <archive.h>
#include <archive_entry.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace foyer {

namespace {

bool IsInside(const std::string& name) {
  if (name.empty() || name[0] == '/') return false;
  for (const auto& part : std::filesystem::path(name)) {
    if (part == "..") return false;
  }
  return true;
}

}  // namespace

TUnpackedMedium::TUnpackedMedium(const std::string& path) {
  const std::unique_ptr<archive, decltype(&archive_read_free)> reader(archive_read_new(),
                                                                      archive_read_free);
  archive_read_support_format_iso9660(reader.get());
  archive_read_support_format_zip(reader.get());
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
  if (!FError.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(FFolder, ignored);
    FFolder.clear();
  }
}

TUnpackedMedium::~TUnpackedMedium() {
  if (FFolder.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(FFolder, ignored);
}

}  // namespace foyer
