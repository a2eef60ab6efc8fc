// Writes ZIP archives with stored (uncompressed) members.
#include "medgen/Zip.h"

#include <array>

#include "medgen/Bytes.h"

namespace foyer::medgen {

namespace {

constexpr uint16_t kDosTime = 12 << 11;                         // 12:00:00
constexpr uint16_t kDosDate = (1999 - 1980) << 9 | 6 << 5 | 1;  // 1999-06-01
constexpr uint32_t kDosFolderAttr = 0x10;
constexpr uint32_t kDosArchiveAttr = 0x20;

std::array<uint32_t, 256> MakeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k)
      c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

bool IsFolder(const ZipEntry& entry) {
  return !entry.Name.empty() && entry.Name.back() == '/';
}

}  // namespace

uint32_t Crc32(const std::string& bytes) {
  static const std::array<uint32_t, 256> kTable = MakeCrcTable();
  uint32_t crc = 0xFFFFFFFFu;
  for (char ch : bytes)
    crc = kTable[(crc ^ static_cast<uint8_t>(ch)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

std::string MakeZip(const std::vector<ZipEntry>& entries, const std::string& comment) {
  std::string out;
  std::string directory;
  for (const ZipEntry& entry : entries) {
    const uint32_t crc = Crc32(entry.Data);
    const uint32_t size = SizeU32(entry.Data.size());
    const uint32_t localOffset = SizeU32(out.size());
    const uint16_t versionNeeded = IsFolder(entry) ? 20 : 10;

    PutU32(out, 0x04034B50);
    PutU16(out, versionNeeded);
    PutU16(out, 0);  // flags
    PutU16(out, 0);  // stored
    PutU16(out, kDosTime);
    PutU16(out, kDosDate);
    PutU32(out, crc);
    PutU32(out, size);  // compressed
    PutU32(out, size);  // uncompressed
    PutU16(out, static_cast<uint16_t>(entry.Name.size()));
    PutU16(out, 0);  // extra field
    out += entry.Name;
    out += entry.Data;

    PutU32(directory, 0x02014B50);
    PutU16(directory, 20);  // made by: MS-DOS attributes, version 2.0
    PutU16(directory, versionNeeded);
    PutU16(directory, 0);
    PutU16(directory, 0);
    PutU16(directory, kDosTime);
    PutU16(directory, kDosDate);
    PutU32(directory, crc);
    PutU32(directory, size);
    PutU32(directory, size);
    PutU16(directory, static_cast<uint16_t>(entry.Name.size()));
    PutU16(directory, 0);  // extra field
    PutU16(directory, 0);  // comment
    PutU16(directory, 0);  // disk
    PutU16(directory, 0);  // internal attributes
    PutU32(directory, IsFolder(entry) ? kDosFolderAttr : kDosArchiveAttr);
    PutU32(directory, localOffset);
    directory += entry.Name;
  }
  const uint32_t directoryOffset = SizeU32(out.size());
  out += directory;
  PutU32(out, 0x06054B50);
  PutU16(out, 0);  // this disk
  PutU16(out, 0);  // disk with the directory
  PutU16(out, static_cast<uint16_t>(entries.size()));
  PutU16(out, static_cast<uint16_t>(entries.size()));
  PutU32(out, SizeU32(directory.size()));
  PutU32(out, directoryOffset);
  PutU16(out, static_cast<uint16_t>(comment.size()));
  out += comment;
  return out;
}

}  // namespace foyer::medgen
