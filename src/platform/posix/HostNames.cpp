// Names as Linux keeps them (UTF-8 bytes) and as the program sees them (code page 1252).
#include "platform/posix/HostNames.h"

#include <cstdint>
#include <optional>

namespace foyer {

namespace {

// The characters of code page 1252 at 0x80 to 0x9F; the five codes it leaves free stand for
// the control characters of the same number, as the system's conversion gives them.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t CodePoint(unsigned char c) {
  return (c >= 0x80 && c <= 0x9F) ? kHigh1252[c - 0x80] : c;
}

std::optional<char> CharOf(uint32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<char>(codePoint);
  }
  for (unsigned index = 0; index < 32; ++index) {
    if (kHigh1252[index] == codePoint) return static_cast<char>(0x80 + index);
  }
  return std::nullopt;
}

// The code page's form of a UTF-8 name, with "?" for each character the code page lacks (two
// for one beyond the 16-bit range), as the system's conversion gives it; nothing when the name
// is not UTF-8.
std::optional<std::string> From8(const std::string& name) {
  std::string result;
  for (size_t at = 0; at < name.size();) {
    const auto lead = static_cast<unsigned char>(name[at]);
    size_t length = 1;
    uint32_t codePoint = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      codePoint = lead & 0x07;
    } else if (lead >= 0x80) {
      return std::nullopt;  // a stray continuation or an overlong form
    }
    if (at + length > name.size()) return std::nullopt;
    for (size_t index = 1; index < length; ++index) {
      const auto next = static_cast<unsigned char>(name[at + index]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < least[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
      return std::nullopt;
    }
    const std::optional<char> c = CharOf(codePoint);
    result += c ? std::string(1, *c) : codePoint >= 0x10000 ? "??" : "?";
    at += length;
  }
  return result;
}

}  // namespace

std::string WindowsName(const std::string& hostName) {
  return From8(hostName).value_or(hostName);
}

std::string HostName(const std::string& windowsName) {
  std::string result;
  for (const char c : windowsName) {
    const uint32_t codePoint = CodePoint(static_cast<unsigned char>(c));
    if (codePoint < 0x80) {
      result += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
      result += static_cast<char>(0xC0 | (codePoint >> 6));
      result += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
      result += static_cast<char>(0xE0 | (codePoint >> 12));
      result += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
      result += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
  }
  return result;
}

}  // namespace foyer
