// Writes ZIP archives with stored (uncompressed) members.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace foyer::medgen {

// The CRC-32 that ZIP files use (polynomial 0xEDB88320, reflected, inverted).
uint32_t Crc32(const std::string& bytes);

struct ZipEntry {
  std::string Name;  // forward slashes; a name ending in "/" is a folder and has no data
  std::string Data;
};

// Local headers with their data, then the central directory and its end record. Every member is
// dated 1 June 1999, 12:00, so the archive is the same bytes every time.
std::string MakeZip(const std::vector<ZipEntry>& entries, const std::string& comment = "");

}  // namespace foyer::medgen
