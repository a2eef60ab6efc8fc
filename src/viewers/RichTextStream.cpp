// The rich-text viewer's reading of a document.
#include "viewers/RichTextStream.h"

#include <utility>

namespace foyer {

namespace {

constexpr size_t kInputBytes = 64 * 1024;
// How often the control's room is asked for while the document streams in: often enough to stop
// well before memory runs out, rarely enough to cost nothing against the control's own work.
constexpr uint64_t kRoomTestBytes = 1024 * 1024;

}  // namespace

TRichTextStream::TRichTextStream(IReadFile& file, TStreamFormat format, int32_t maxDepth,
                                 TRoomTest hasRoom)
    : FFile(file),
      FFormat(format),
      FMaxDepth(maxDepth),
      FHasRoom(std::move(hasRoom)),
      FInput(kInputBytes) {}

bool TRichTextStream::Stop(TStop why) {
  FStopped = why;
  return false;
}

bool TRichTextStream::Refill() {
  if (FRead >= FNextRoomTest) {
    const uint64_t size = FFile.Size();
    if (FHasRoom && !FHasRoom(size > FRead ? size - FRead : 0)) return Stop(TStop::TooLarge);
    FNextRoomTest = FRead + kRoomTestBytes;
  }
  size_t got = 0;
  if (FFile.Read(FInput.data(), FInput.size(), got) != kErrNone) return Stop(TStop::ReadFailed);
  FPosition = 0;
  FEnd = got;
  FRead += got;
  return true;
}

bool TRichTextStream::Read(char* buffer, size_t capacity, size_t& got) {
  got = 0;
  if (FStopped != TStop::None) return false;
  const bool followNesting = FFormat == TStreamFormat::RichText && FMaxDepth > 0;
  while (got < capacity) {
    char c;
    if (FPendingLf) {
      c = '\n';
      FPendingLf = false;
    } else {
      if (FPosition == FEnd && !Refill()) return false;
      if (FPosition == FEnd) break;
      c = FInput[FPosition++];
      const bool lfOfCr = FAfterCr && c == '\n';
      FAfterCr = c == '\r';
      if (lfOfCr) continue;
      if (c == '\n' || c == '\r') {
        c = '\r';
        FPendingLf = true;
      }
    }
    if (followNesting) {
      FNesting.Take(c);
      if (FNesting.Depth() > FMaxDepth) return Stop(TStop::TooDeep);
    }
    buffer[got++] = c;
  }
  return true;
}

bool TRichTextStream::Rewind(TStreamFormat format) {
  FFormat = format;
  FPosition = FEnd = 0;
  FRead = FNextRoomTest = 0;
  FAfterCr = FPendingLf = false;
  FNesting = TGroupNesting();
  FStopped = TStop::None;
  return FFile.Seek(0) == kErrNone || Stop(TStop::ReadFailed);
}

}  // namespace foyer
