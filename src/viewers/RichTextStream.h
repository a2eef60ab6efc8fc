// The rich-text viewer's reading of a document: every line break handed on as CR LF, rich text
// told the user's code page, plain text decoded, the nesting of groups followed as the bytes
// pass, and the load stopped before the control is handed a document it cannot take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/RichEdit.h"
#include "util/TextDecoder.h"

namespace foyer {

// Follows the nesting of groups in rich text, byte by byte, as the control reads it: a brace
// opens or closes a group unless a backslash escapes it. Wine's rich edit takes the braces in
// \binN data for groups too (40 of them end the program as 40 nested groups do), so they count.
class TGroupNesting {
 public:
  void Take(char c) {
    if (FEscaped) {
      FEscaped = false;
    } else if (c == '\\') {
      FEscaped = true;
    } else if (c == '{') {
      if (FDepth < std::numeric_limits<int32_t>::max()) ++FDepth;
    } else if (c == '}' && FDepth > 0) {
      // A closing brace too many closes nothing.
      --FDepth;
    }
  }
  // The groups open after the last byte taken.
  int32_t Depth() const { return FDepth; }

 private:
  int32_t FDepth = 0;
  bool FEscaped = false;
};

// Hands a document to the rich-text control, every line break (CR alone, LF alone, or CR LF) as
// CR LF. Rich text goes as its bytes are, the control reading its own code pages (\ansicpg, \u);
// when the program's strings are UTF-8 the control would read the 8-bit characters of a document
// that names no code page as UTF-8, so it is told the user's legacy code page after the header
// (and after an \ansi there), where a later \ansicpg of the document still has the last word. Read
// as rich text, it stops before a group would open deeper than the control reads. Plain text goes
// decoded (marks, UTF-8, UTF-16, else the legacy code page) as program strings, in pieces that cut
// no UTF-8 character, which the control reads in the program's code page. Either way, it stops when
// the control has no room left for the rest of the document.
class TRichTextStream {
 public:
  enum class TStop : uint8_t { None, ReadFailed, TooDeep, TooLarge };
  // Whether the control has room for this many more bytes of document.
  using TRoomTest = std::function<bool(uint64_t bytes)>;

  // maxDepth 0: no limit to the nesting.
  TRichTextStream(IReadFile& file, TStreamFormat format, int32_t maxDepth, TRoomTest hasRoom);

  // Up to capacity bytes into buffer, got 0 at the end. False when the load must stop; Stopped()
  // says why.
  bool Read(char* buffer, size_t capacity, size_t& got);
  // Back to the start of the file, for a second reading of the same bytes in the format.
  bool Rewind(TStreamFormat format);
  TStop Stopped() const { return FStopped; }

 private:
  // The state of a reading from the start of the file.
  void Start(TStreamFormat format);
  bool Refill();
  bool Stop(TStop why);
  // Appends text to what is handed on next: rich text with the code page after its header.
  void Append(const char* text, size_t size);
  // Appends text with its line breaks as CR LF.
  void AppendLines(const char* text, size_t size);
  // Rich text: follows the header "{\rtfN" and names the code page right after it, and after an
  // "\ansi" that follows it.
  void FollowHeader(char c);

  IReadFile& FFile;
  TStreamFormat FFormat;
  int32_t FMaxDepth;
  TRoomTest FHasRoom;
  std::vector<char> FInput;
  // Bytes of the file read so far, and where the room is next asked for.
  uint64_t FRead = 0;
  uint64_t FNextRoomTest = 0;
  bool FFileEnded = false;
  // What is handed on next, and how much of it has been.
  std::string FOutput;
  size_t FOutputAt = 0;
  // The last byte read was a CR: an LF right after it belongs to the same line break.
  bool FAfterCr = false;
  // The program's strings are UTF-8, and so is what the control reads as plain text.
  bool FIsUtf8Strings = false;
  TTextDecoder FDecoder;
  std::string FDecoded;
  // Rich text: "\ansicpgNNNN" when the control must be told the code page, how much of the
  // header "{\rtfN" has passed, and how much of an "\ansi" after it (kHeaderDone: dealt with, or
  // not begun).
  std::string FCodePageWord;
  size_t FHeaderAt = 0;
  size_t FAnsiAt = 0;
  TGroupNesting FNesting;
  TStop FStopped = TStop::None;
};

}  // namespace foyer
