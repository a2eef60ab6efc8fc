// Code pages and letter case as Windows gives them, over code page 1252 and UTF-8.
#include "platform/memory/MemoryCodePage.h"

#include "util/Unicode.h"

namespace foyer {

char LowerChar1252(char c) {
  const auto code = static_cast<unsigned char>(c);
  // The accented capitals sit 0x20 below their small letters, except the multiplication sign
  // 0xD7, which has no case; the four letters borrowed from other scripts pair up irregularly.
  const bool isPlainCapital = (code >= 'A' && code <= 'Z') || (code >= 0xC0 && code <= 0xDE);
  if (isPlainCapital && code != 0xD7) return static_cast<char>(code + 0x20);
  switch (code) {
    case 0x8A:  // S caron
    case 0x8C:  // OE ligature
    case 0x8E:  // Z caron
      return static_cast<char>(code + 0x10);
    case 0x9F:  // Y diaeresis
      return static_cast<char>(0xFF);
    default:
      return c;
  }
}

std::string Utf8From1252(const std::string& bytes) {
  std::string result;
  result.reserve(bytes.size());
  for (const char c : bytes)
    AppendUtf8(result, CharOf1252(static_cast<unsigned char>(c)));
  return result;
}

std::string Utf8To1252(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  size_t at = 0;
  char32_t c = 0;
  while (NextChar(text, at, c)) {
    unsigned char byte = 0;
    if (ByteOf1252(c, byte)) {
      result += static_cast<char>(byte);
    } else {
      result += c >= 0x10000 ? "??" : "?";
    }
  }
  return result;
}

std::string MemoryCodePage::FromLegacy(const std::string& bytes) {
  return FIsUtf8 ? Utf8From1252(bytes) : bytes;
}

std::string MemoryCodePage::FromUtf8(const std::string& text) {
  return FIsUtf8 ? RepairedUtf8(text) : Utf8To1252(text);
}

void MemoryCodePage::LowerBuff(std::string& text) {
  if (FIsUtf8) {
    text = LowerUtf8(text);
    return;
  }
  for (char& c : text)
    c = LowerChar1252(c);
}

}  // namespace foyer
