// Letter case of the Windows-1252 code page, as the system's ANSI lower-casing gives it.
#include "platform/memory/MemoryCharCase.h"

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

void MemoryCharCase::LowerBuff(std::string& text) {
  for (char& c : text)
    c = LowerChar1252(c);
}

}  // namespace foyer
