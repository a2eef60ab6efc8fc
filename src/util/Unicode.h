// Characters in UTF-8 strings: decoding with the replacement character, encoding, code page 1252
// and letter case, for the program's strings and the texts it shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace foyer {

// What an invalid byte sequence is shown as.
constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the character at text[at] and moves at past it. An ill-formed sequence gives
// kReplacementChar for its longest start that could have begun a character (at least one byte),
// so every byte is passed exactly once and nothing after a fault is lost. False at the end.
bool NextChar(const char* text, size_t size, size_t& at, char32_t& c);
inline bool NextChar(const std::string& text, size_t& at, char32_t& c) {
  return NextChar(text.data(), text.size(), at, c);
}

// The bytes of a well-formed UTF-8 sequence that starts with lead (1 to 4), 0 for a byte that
// starts none.
size_t Utf8SequenceLength(unsigned char lead);

// Appends the character in UTF-8; a surrogate or a value beyond U+10FFFF becomes
// kReplacementChar.
void AppendUtf8(std::string& out, char32_t c);

// True when the bytes are well-formed UTF-8. With isCutShort, a sequence that the end cuts
// short counts as well-formed (the rest may follow in the next bytes).
bool IsUtf8(const char* text, size_t size, bool isCutShort = false);
inline bool IsUtf8(const std::string& text) {
  return IsUtf8(text.data(), text.size());
}

// The text made well-formed: each ill-formed sequence becomes kReplacementChar.
std::string RepairedUtf8(const std::string& text);

// The number of characters of a UTF-8 string (an ill-formed sequence counts as NextChar gives
// it), and the number of UTF-16 units it takes (what Windows' file systems count in a path).
size_t Utf8Length(const std::string& text);
size_t Utf16Length(const std::string& text);

// The byte offset just past the first count characters of a UTF-8 string (its size when it
// holds no more).
size_t Utf8Offset(const std::string& text, size_t count);

// Code page 1252, the Western legacy code page: a byte's character, and a character's byte
// (false when the code page lacks it).
char32_t CharOf1252(unsigned char byte);
bool ByteOf1252(char32_t c, unsigned char& byte);

// The lower-case form of one character of the 16-bit range, as Windows' lower-casing gives it;
// others come back unchanged.
char32_t LowerChar(char32_t c);

// Lower-cases a UTF-8 string a character at a time; ill-formed bytes are kept as they are.
std::string LowerUtf8(const std::string& text);

}  // namespace foyer
