// The one decoder of what a text file holds: a byte-order mark (UTF-8, UTF-16 little or big
// endian) says how it was saved; else text that is well-formed UTF-8 is UTF-8; else it is in the
// user's legacy ANSI code page. The result is a program string (see ICodePage).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace foyer {

// How a text was found to be written.
enum class TTextEncoding : uint8_t {
  Ascii,     // no mark and no byte beyond 127 (so far): the same in every code page
  Utf8Mark,  // UTF-8 with its mark (which is not shown)
  Utf16Le,   // UTF-16 with its mark, little endian (Notepad's "Unicode")
  Utf16Be,   // UTF-16 with its mark, big endian
  Utf8,      // no mark, well-formed UTF-8 with bytes beyond 127
  Legacy,    // no mark, bytes beyond 127 that are not UTF-8: the user's legacy code page
};

// Decodes a text given in pieces of any size; the result does not depend on how it was cut.
// Bytes that cannot be told yet (the start of a mark, a sequence cut by the piece's end, text
// after the first byte beyond 127 until enough is seen to tell UTF-8 from the legacy code page)
// are held back until later pieces or Finish.
class TTextDecoder {
 public:
  // Appends the program's form of what the bytes tell to out.
  void Take(const char* bytes, size_t size, std::string& out);
  // The text ended: appends what was held back.
  void Finish(std::string& out);
  TTextEncoding Encoding() const { return FEncoding; }

 private:
  enum class TPhase : uint8_t {
    Mark,      // the first bytes may still be a mark
    Ascii,     // nothing beyond 127 yet: bytes pass as they are
    Deciding,  // from the first byte beyond 127, until a window of text tells UTF-8 or legacy
    Decided,   // the encoding is known
  };
  // Takes bytes that follow the mark (or its absence).
  void Pass(const char* bytes, size_t size, std::string& out);
  // Ends the deciding: the text held back is UTF-8 or it is not.
  void Decide(bool isUtf8, std::string& out);
  // Converts the whole characters of what is held and the bytes by the known encoding; with
  // isFinal, also what is left of a character cut short.
  void Convert(const char* bytes, size_t size, bool isFinal, std::string& out);
  std::string Utf16ToUtf8(size_t& done, bool isFinal) const;

  TPhase FPhase = TPhase::Mark;
  TTextEncoding FEncoding = TTextEncoding::Ascii;
  std::string FHeld;
};

// A whole text decoded; encoding, when given, receives how it was written.
std::string DecodeText(const std::string& bytes, TTextEncoding* encoding = nullptr);

}  // namespace foyer
