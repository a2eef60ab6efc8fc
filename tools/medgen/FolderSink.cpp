// Writes a generated medium into a real folder of the host's file system.
#include "medgen/FolderSink.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/xattr.h>
#endif

namespace foyer::medgen {

namespace {

constexpr uint32_t kDosHidden = 0x02;

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path,
                       const std::string& reason) {
  throw std::runtime_error("cannot " + what + " " + path.string() + ": " + reason);
}

}  // namespace

std::string DosAttribValue(uint32_t attributes) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(attributes));
  return text;
}

std::filesystem::path HostPath(const std::filesystem::path& root, const std::string& relPath) {
  std::filesystem::path path = root;
  size_t start = 0;
  while (start <= relPath.size()) {
    const size_t end = std::min(relPath.find('\\', start), relPath.size());
    if (end > start) path /= relPath.substr(start, end - start);
    start = end + 1;
  }
  return path;
}

FolderSink::FolderSink(std::filesystem::path root) : FRoot(std::move(root)) {}

void FolderSink::MakeDir(const std::string& relPath) {
  const std::filesystem::path path = HostPath(FRoot, relPath);
  std::error_code error;
  std::filesystem::create_directories(path, error);
  if (error) Fail("create folder", path, error.message());
}

void FolderSink::WriteFile(const std::string& relPath, const std::string& bytes) {
  const std::filesystem::path path = HostPath(FRoot, relPath);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) Fail("create file", path, std::strerror(errno));
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) Fail("write file", path, std::strerror(errno));
  ++FFileCount;
  FByteCount += bytes.size();
}

void FolderSink::SetHidden(const std::string& relPath) {
  const std::filesystem::path path = HostPath(FRoot, relPath);
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesA(path.string().c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      !SetFileAttributesA(path.string().c_str(), attributes | kDosHidden)) {
    Fail("hide", path, "system error " + std::to_string(GetLastError()));
  }
#else
  // Wine reads the DOS attributes of a file from this extended attribute.
  const std::string value = DosAttribValue(kDosHidden);
  if (setxattr(path.c_str(), kDosAttribName, value.data(), value.size(), 0) != 0) {
    Fail("hide", path,
         std::string(std::strerror(errno)) +
             " (the file system must keep user extended attributes)");
  }
#endif
}

}  // namespace foyer::medgen
