// The rich-text viewer's reading of a document.
#include "viewers/RichTextStream.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>

namespace foyer {

namespace {

constexpr size_t kInputBytes = 64 * 1024;
// How often the control's room is asked for while the document streams in: often enough to stop
// well before memory runs out, rarely enough to cost nothing against the control's own work.
constexpr uint64_t kRoomTestBytes = 1024 * 1024;

// How rich text begins; the version's digits follow.
constexpr std::string_view kHeader = "{\\rtf";
constexpr std::string_view kAnsi = "\\ansi";
constexpr size_t kHeaderDone = static_cast<size_t>(-1);

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

TRichTextStream::TRichTextStream(IReadFile& file, TStreamFormat format, int32_t maxDepth,
                                 TRoomTest hasRoom)
    : FFile(file), FFormat(format), FMaxDepth(maxDepth), FHasRoom(std::move(hasRoom)) {
  Start(format);
}

void TRichTextStream::Start(TStreamFormat format) {
  FFormat = format;
  FInput.resize(kInputBytes);
  FRead = FNextRoomTest = 0;
  FFileEnded = false;
  FOutput.clear();
  FOutputAt = 0;
  FAfterCr = false;
  FDecoder = TTextDecoder();
  ICodePage& codePage = *Platform().CodePage;
  FIsUtf8Strings = codePage.IsUtf8();
  FCodePageWord.clear();
  if (format == TStreamFormat::RichText && FIsUtf8Strings)
    FCodePageWord = "\\ansicpg" + std::to_string(codePage.LegacyCodePage());
  FHeaderAt = FCodePageWord.empty() ? kHeaderDone : 0;
  FAnsiAt = kHeaderDone;
  FNesting = TGroupNesting();
  FStopped = TStop::None;
}

bool TRichTextStream::Stop(TStop why) {
  FStopped = why;
  return false;
}

void TRichTextStream::FollowHeader(char c) {
  if (FHeaderAt < kHeader.size()) {
    FHeaderAt = c == kHeader[FHeaderAt] ? FHeaderAt + 1 : kHeaderDone;
    return;
  }
  if (FAnsiAt == kHeaderDone) {
    if (c >= '0' && c <= '9') return;  // the version
    // A later \ansicpg of the document's own replaces this one.
    FOutput += FCodePageWord;
    FAnsiAt = 0;
  }
  // Most documents go on with the character set \ansi, which Windows' rich edit may take for
  // the program's own code page: the legacy one is named after it again.
  if (FAnsiAt < kAnsi.size()) {
    if (c == kAnsi[FAnsiAt]) {
      ++FAnsiAt;
    } else {
      FHeaderAt = kHeaderDone;
    }
    return;
  }
  const bool endsWord = !std::isalnum(static_cast<unsigned char>(c)) && c != '-';
  if (endsWord) FOutput += FCodePageWord;
  FHeaderAt = kHeaderDone;
}

void TRichTextStream::Append(const char* text, size_t size) {
  size_t at = 0;
  // The header's bytes pass one by one, so that the code page goes in before the byte after it.
  for (; at < size && FHeaderAt != kHeaderDone; ++at) {
    FollowHeader(text[at]);
    AppendLines(text + at, 1);
  }
  AppendLines(text + at, size - at);
}

void TRichTextStream::AppendLines(const char* text, size_t size) {
  size_t at = 0;
  while (at < size) {
    size_t stop = at;
    while (stop < size && text[stop] != '\r' && text[stop] != '\n')
      ++stop;
    if (stop > at) FAfterCr = false;
    FOutput.append(text + at, stop - at);
    if (stop == size) break;
    const bool lfOfCr = FAfterCr && text[stop] == '\n';
    FAfterCr = text[stop] == '\r';
    if (!lfOfCr) FOutput += "\r\n";
    at = stop + 1;
  }
}

bool TRichTextStream::Refill() {
  if (FRead >= FNextRoomTest) {
    const uint64_t size = FFile.Size();
    if (FHasRoom && !FHasRoom(size > FRead ? size - FRead : 0)) return Stop(TStop::TooLarge);
    FNextRoomTest = FRead + kRoomTestBytes;
  }
  size_t got = 0;
  if (FFile.Read(FInput.data(), FInput.size(), got) != kErrNone) return Stop(TStop::ReadFailed);
  FRead += got;
  FFileEnded = got == 0;
  FOutput.clear();
  FOutputAt = 0;
  if (FFormat == TStreamFormat::RichText) {
    Append(FInput.data(), got);
    return true;
  }
  FDecoded.clear();
  if (FFileEnded) {
    FDecoder.Finish(FDecoded);
  } else {
    FDecoder.Take(FInput.data(), got, FDecoded);
  }
  Append(FDecoded.data(), FDecoded.size());
  return true;
}

bool TRichTextStream::Read(char* buffer, size_t capacity, size_t& got) {
  got = 0;
  if (FStopped != TStop::None) return false;
  const bool followNesting = FFormat == TStreamFormat::RichText && FMaxDepth > 0;
  while (got < capacity) {
    if (FOutputAt == FOutput.size()) {
      if (FFileEnded) break;
      if (!Refill()) return false;
      continue;
    }
    const size_t count = std::min(capacity - got, FOutput.size() - FOutputAt);
    for (size_t index = 0; index < count; ++index) {
      const char c = FOutput[FOutputAt + index];
      if (followNesting) {
        FNesting.Take(c);
        if (FNesting.Depth() > FMaxDepth) return Stop(TStop::TooDeep);
      }
      buffer[got + index] = c;
    }
    got += count;
    FOutputAt += count;
  }
  // The control converts each piece on its own: a UTF-8 character cut in two would become two
  // replacement characters. A piece of the output ends where a character does; within it, the
  // cut goes back before a character's continuation bytes, unless nothing would be left.
  if (FFormat == TStreamFormat::PlainText && FOutputAt < FOutput.size() && FIsUtf8Strings) {
    size_t back = 0;
    while (back < got && back < FOutputAt && back < 3 &&
           IsContinuation(FOutput[FOutputAt - back])) {
      ++back;
    }
    if (back < got) {
      got -= back;
      FOutputAt -= back;
    }
  }
  return true;
}

bool TRichTextStream::Rewind(TStreamFormat format) {
  Start(format);
  return FFile.Seek(0) == kErrNone || Stop(TStop::ReadFailed);
}

}  // namespace foyer
