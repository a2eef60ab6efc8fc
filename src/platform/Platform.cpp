// The installed set of services and the filters shared by every implementation.
#include "platform/Platform.h"

namespace foyer {

namespace {
Services gServices;
}

Services& Platform() {
  return gServices;
}

void InstallPlatform(const Services& services) {
  gServices = services;
}

FindResult FindFiles(IFileSystem& fs, const std::string& pattern, uint32_t attrFilter) {
  FindResult all = fs.Enumerate(pattern);
  const uint32_t excluded = ~attrFilter & (faHidden | faSysFile | faVolumeID | faDirectory);
  FindResult result;
  result.Error = all.Error;
  for (auto& entry : all.Entries) {
    if ((entry.Attr & excluded) == 0) result.Entries.push_back(std::move(entry));
  }
  if (result.Error == kErrNone && result.Entries.empty()) result.Error = kErrFileNotFound;
  return result;
}

uint32_t ReadWholeFile(IFileSystem& fs, const std::string& path, std::string& content) {
  uint32_t error = kErrNone;
  auto file = fs.OpenRead(path, error);
  if (!file) return error;
  content.clear();
  content.reserve(static_cast<size_t>(file->Size()));
  char buffer[65536];
  for (;;) {
    size_t got = 0;
    error = file->Read(buffer, sizeof buffer, got);
    if (error != kErrNone) return error;
    if (got == 0) return kErrNone;
    content.append(buffer, got);
  }
}

}  // namespace foyer
