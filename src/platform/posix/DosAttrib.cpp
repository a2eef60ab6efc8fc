// The hidden and system bits that Wine and Samba keep in a Linux file's user.DOSATTRIB
// extended attribute.
#include "platform/posix/DosAttrib.h"

#include <algorithm>
#include <cstdio>

#include "platform/Platform.h"

namespace foyer {

namespace {

constexpr uint32_t kKeptAttrs = faHidden | faSysFile;

// Samba's record bit saying its attribute field holds the attributes.
constexpr uint32_t kRecordHasAttrs = 0x1;

uint32_t LittleEndian(const std::string& bytes, size_t at, size_t size) {
  uint32_t value = 0;
  for (size_t index = size; index-- > 0;)
    value = (value << 8) | static_cast<unsigned char>(bytes[at + index]);
  return value;
}

std::optional<uint32_t> ParseHex(const std::string& text) {
  if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
  if (text.size() > 2 + 8) return std::nullopt;
  uint32_t value = 0;
  for (size_t index = 2; index < text.size(); ++index) {
    const char c = text[index];
    uint32_t digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = (value << 4) | digit;
  }
  return value;
}

// Samba's binary record after its text: the text's terminator is padded to an even offset, then
// a 16-bit version, the version again as the 32-bit tag of the record that follows, and in
// versions 3 to 5 a 32-bit field of valid parts and the 32-bit attributes, little-endian.
std::optional<uint32_t> ParseRecord(const std::string& value, size_t textEnd) {
  const size_t at = (textEnd + 2) & ~size_t{1};
  if (value.size() < at + 14) return std::nullopt;
  const uint32_t version = LittleEndian(value, at, 2);
  if (version < 3 || version > 5 || LittleEndian(value, at + 2, 4) != version) return std::nullopt;
  if ((LittleEndian(value, at + 6, 4) & kRecordHasAttrs) == 0) return std::nullopt;
  return LittleEndian(value, at + 10, 4);
}

}  // namespace

std::optional<uint32_t> ParseDosAttrib(const std::string& value) {
  const size_t textEnd = std::min(value.find('\0'), value.size());
  std::optional<uint32_t> attrs = ParseHex(value.substr(0, textEnd));
  if (!attrs && textEnd == 0) attrs = ParseRecord(value, textEnd);
  if (!attrs) return std::nullopt;
  return *attrs & kKeptAttrs;
}

std::string DosAttribValue(uint32_t attrs) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(attrs & kKeptAttrs));
  return text;
}

}  // namespace foyer
