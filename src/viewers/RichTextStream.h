// The rich-text viewer's reading of a document: every line break handed on as CR LF, the nesting
// of groups followed as the bytes pass, and the load stopped before the control is handed a
// document it cannot take.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/RichEdit.h"

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

// Hands a file's bytes to the rich-text control, every line break (CR alone, LF alone, or CR LF)
// as CR LF. Read as rich text, it stops before a group would open deeper than the control reads;
// read either way, it stops when the control has no room left for the rest of the document.
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
  bool Refill();
  bool Stop(TStop why);

  IReadFile& FFile;
  TStreamFormat FFormat;
  int32_t FMaxDepth;
  TRoomTest FHasRoom;
  std::vector<char> FInput;
  size_t FPosition = 0;
  size_t FEnd = 0;
  // Bytes of the file read so far, and where the room is next asked for.
  uint64_t FRead = 0;
  uint64_t FNextRoomTest = 0;
  // The last byte read was a CR: an LF right after it belongs to the same line break.
  bool FAfterCr = false;
  // The LF of a CR LF given out is still to come.
  bool FPendingLf = false;
  TGroupNesting FNesting;
  TStop FStopped = TStop::None;
};

}  // namespace foyer
