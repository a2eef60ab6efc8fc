// Characters in UTF-8 strings.
#include "util/Unicode.h"

namespace foyer {

namespace {

// The characters of code page 1252 at 0x80 to 0x9F; the five codes it leaves free stand for
// the control characters of the same number, as the system's conversion gives them.
constexpr char16_t kHigh1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The range the second byte of a sequence must fall in: it rules out overlong forms,
// surrogates and values beyond U+10FFFF.
void SecondByteRange(unsigned char lead, unsigned char& least, unsigned char& most) {
  least = 0x80;
  most = 0xBF;
  if (lead == 0xE0) least = 0xA0;
  if (lead == 0xED) most = 0x9F;
  if (lead == 0xF0) least = 0x90;
  if (lead == 0xF4) most = 0x8F;
}

bool IsOddPair(char32_t c, char32_t first, char32_t last) {
  return c >= first && c <= last && (c - first) % 2 == 0;
}

}  // namespace

size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool NextChar(const char* text, size_t size, size_t& at, char32_t& c) {
  if (at >= size) return false;
  const auto lead = static_cast<unsigned char>(text[at]);
  const size_t length = Utf8SequenceLength(lead);
  ++at;
  if (length == 1) {
    c = lead;
    return true;
  }
  c = kReplacementChar;
  if (length == 0) return true;
  char32_t value = lead & (0xFF >> (length + 1));
  for (size_t index = 1; index < length; ++index) {
    if (at >= size) return true;
    const auto next = static_cast<unsigned char>(text[at]);
    unsigned char least = 0x80;
    unsigned char most = 0xBF;
    if (index == 1) SecondByteRange(lead, least, most);
    // The byte that breaks the sequence is read again as the start of the next character.
    if (next < least || next > most) return true;
    value = (value << 6) | (next & 0x3F);
    ++at;
  }
  c = value;
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = kReplacementChar;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsUtf8(const char* text, size_t size, bool isCutShort) {
  size_t at = 0;
  while (at < size) {
    const size_t start = at;
    char32_t c = 0;
    NextChar(text, size, at, c);
    if (c != kReplacementChar) continue;
    // A real U+FFFD is three well-formed bytes.
    if (at - start == 3 && static_cast<unsigned char>(text[start]) == 0xEF) continue;
    // Cut short by the end: every byte so far belongs to the sequence.
    const size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[start]));
    if (isCutShort && at == size && length > at - start) continue;
    return false;
  }
  return true;
}

std::string RepairedUtf8(const std::string& text) {
  if (IsUtf8(text)) return text;
  std::string result;
  result.reserve(text.size() + 8);
  size_t at = 0;
  char32_t c = 0;
  while (NextChar(text, at, c))
    AppendUtf8(result, c);
  return result;
}

size_t Utf8Length(const std::string& text) {
  size_t count = 0;
  size_t at = 0;
  char32_t c = 0;
  while (NextChar(text, at, c))
    ++count;
  return count;
}

size_t Utf16Length(const std::string& text) {
  size_t count = 0;
  size_t at = 0;
  char32_t c = 0;
  while (NextChar(text, at, c))
    count += c >= 0x10000 ? 2 : 1;
  return count;
}

size_t Utf8Offset(const std::string& text, size_t count) {
  size_t at = 0;
  char32_t c = 0;
  for (size_t index = 0; index < count && NextChar(text, at, c); ++index) {
  }
  return at;
}

char32_t CharOf1252(unsigned char byte) {
  return (byte >= 0x80 && byte <= 0x9F) ? kHigh1252[byte - 0x80] : byte;
}

bool ByteOf1252(char32_t c, unsigned char& byte) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
    byte = static_cast<unsigned char>(c);
    return true;
  }
  for (unsigned index = 0; index < 32; ++index) {
    if (kHigh1252[index] == c) {
      byte = static_cast<unsigned char>(0x80 + index);
      return true;
    }
  }
  return false;
}

char32_t LowerChar(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x130) return 'i';
  if (c == 0x178) return 0xFF;
  if (IsOddPair(c, 0x100, 0x136) || IsOddPair(c, 0x139, 0x147) || IsOddPair(c, 0x14A, 0x176) ||
      IsOddPair(c, 0x179, 0x17D)) {
    return c + 1;
  }
  // Greek: the capitals with a tonos, then the plain ones (0x3A2 is no letter).
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  // Cyrillic.
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c == 0x4C0) return 0x4CF;
  if (IsOddPair(c, 0x460, 0x480) || IsOddPair(c, 0x48A, 0x4BE) || IsOddPair(c, 0x4C1, 0x4CD) ||
      IsOddPair(c, 0x4D0, 0x52E)) {
    return c + 1;
  }
  // Armenian, Vietnamese and other Latin letters with marks, full-width Latin.
  if (c >= 0x531 && c <= 0x556) return c + 0x30;
  if (IsOddPair(c, 0x1E00, 0x1E94) || IsOddPair(c, 0x1EA0, 0x1EFE)) return c + 1;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 0x20;
  return c;
}

std::string LowerUtf8(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  size_t at = 0;
  while (at < text.size()) {
    const size_t start = at;
    char32_t c = 0;
    NextChar(text, at, c);
    if (c == kReplacementChar) {
      result.append(text, start, at - start);
    } else {
      AppendUtf8(result, LowerChar(c));
    }
  }
  return result;
}

}  // namespace foyer
