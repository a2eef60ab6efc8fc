// The one decoder of what a text file holds.
#include "util/TextDecoder.h"

#include <string_view>

#include "platform/Platform.h"
#include "util/Unicode.h"

namespace foyer {

namespace {

// How much text from its first byte beyond 127 tells UTF-8 from the legacy code page. Legacy
// text is all but never well-formed UTF-8 for long, while UTF-8 text held back this long costs
// nothing but memory; a fixed window makes the answer the same however the text comes in pieces.
constexpr size_t kWindow = 64 * 1024;

constexpr size_t kUndecided = static_cast<size_t>(-1);

struct TMark {
  std::string_view Bytes;
  TTextEncoding Encoding;
};
constexpr TMark kMarks[] = {
    {"\xEF\xBB\xBF", TTextEncoding::Utf8Mark},
    {"\xFF\xFE", TTextEncoding::Utf16Le},
    {"\xFE\xFF", TTextEncoding::Utf16Be},
};

// The length of the mark that starts the text (0 for none), or kUndecided while the start may
// still become one.
size_t MarkLength(const std::string& start, bool isEnd, TTextEncoding& encoding) {
  for (const TMark& mark : kMarks) {
    if (start.starts_with(mark.Bytes)) {
      encoding = mark.Encoding;
      return mark.Bytes.size();
    }
  }
  for (const TMark& mark : kMarks) {
    if (!isEnd && start.size() < mark.Bytes.size() && mark.Bytes.starts_with(start))
      return kUndecided;
  }
  return 0;
}

// The bytes of a UTF-8 text that can be converted now: all but a last sequence that the end cuts
// short and the next bytes may complete.
size_t WholeUtf8(const std::string& text) {
  const size_t size = text.size();
  for (size_t back = 1; back <= 3 && back <= size; ++back) {
    const auto byte = static_cast<unsigned char>(text[size - back]);
    if (byte < 0x80) return size;
    if (byte < 0xC0) continue;  // a continuation: its lead is further back
    if (Utf8SequenceLength(byte) <= back) return size;
    size_t at = size - back;
    char32_t c = 0;
    NextChar(text.data(), size, at, c);
    // A sequence already broken is converted (to the replacement character) at once.
    return at == size ? size - back : size;
  }
  return size;
}

// The bytes of a legacy text that can be converted now. A byte below 0x40 is never the second
// byte of a double-byte character, so a text cut just after one cuts no character in two.
size_t WholeLegacy(const std::string& text, size_t from) {
  for (size_t at = text.size(); at > from; --at) {
    if (static_cast<unsigned char>(text[at - 1]) < 0x40) return at;
  }
  return 0;
}

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void TTextDecoder::Take(const char* bytes, size_t size, std::string& out) {
  if (size == 0) return;
  if (FPhase != TPhase::Mark) {
    Pass(bytes, size, out);
    return;
  }
  FHeld.append(bytes, size);
  const size_t mark = MarkLength(FHeld, false, FEncoding);
  if (mark == kUndecided) return;
  FPhase = FEncoding == TTextEncoding::Ascii ? TPhase::Ascii : TPhase::Decided;
  const std::string rest = FHeld.substr(mark);
  FHeld.clear();
  Pass(rest.data(), rest.size(), out);
}

void TTextDecoder::Finish(std::string& out) {
  if (FPhase == TPhase::Mark) {
    const size_t mark = MarkLength(FHeld, true, FEncoding);
    FPhase = FEncoding == TTextEncoding::Ascii ? TPhase::Ascii : TPhase::Decided;
    const std::string rest = FHeld.substr(mark);
    FHeld.clear();
    Pass(rest.data(), rest.size(), out);
  }
  // The text ends inside the window: what there is of it decides, and a sequence the end cuts
  // short is ill-formed, not cut by the window.
  if (FPhase == TPhase::Deciding) Decide(IsUtf8(FHeld.data(), FHeld.size()), out);
  if (FPhase == TPhase::Decided) Convert(nullptr, 0, true, out);
}

void TTextDecoder::Pass(const char* bytes, size_t size, std::string& out) {
  switch (FPhase) {
    case TPhase::Mark:
      break;
    case TPhase::Ascii: {
      // The same in every code page: no conversion to pay for.
      size_t ascii = 0;
      while (ascii < size && static_cast<unsigned char>(bytes[ascii]) < 0x80)
        ++ascii;
      out.append(bytes, ascii);
      if (ascii == size) return;
      FPhase = TPhase::Deciding;
      bytes += ascii;
      size -= ascii;
      [[fallthrough]];
    }
    case TPhase::Deciding:
      FHeld.append(bytes, size);
      // A sequence that the window's end cuts short may go on well-formed after it.
      if (FHeld.size() >= kWindow) Decide(IsUtf8(FHeld.data(), kWindow, true), out);
      return;
    case TPhase::Decided:
      Convert(bytes, size, false, out);
      return;
  }
}

void TTextDecoder::Decide(bool isUtf8, std::string& out) {
  FEncoding = isUtf8 ? TTextEncoding::Utf8 : TTextEncoding::Legacy;
  FPhase = TPhase::Decided;
  std::string held;
  held.swap(FHeld);
  Convert(held.data(), held.size(), false, out);
}

std::string TTextDecoder::Utf16ToUtf8(size_t& done, bool isFinal) const {
  const bool isLittleEndian = FEncoding == TTextEncoding::Utf16Le;
  const size_t size = FHeld.size();
  const auto unitAt = [&](size_t at) {
    const auto first = static_cast<unsigned char>(FHeld[at]);
    const auto second = static_cast<unsigned char>(FHeld[at + 1]);
    return static_cast<char32_t>(isLittleEndian ? first | second << 8 : first << 8 | second);
  };
  std::string text;
  text.reserve(size);
  size_t at = 0;
  while (at + 2 <= size) {
    const char32_t unit = unitAt(at);
    if (!IsHighSurrogate(unit)) {
      // A lone low surrogate becomes the replacement character there.
      AppendUtf8(text, unit);
      at += 2;
    } else if (at + 4 <= size && IsLowSurrogate(unitAt(at + 2))) {
      AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00));
      at += 4;
    } else if (at + 4 <= size || isFinal) {
      AppendUtf8(text, kReplacementChar);
      at += 2;
    } else {
      break;  // its low surrogate may come with the next bytes
    }
  }
  if (isFinal && at < size) {
    AppendUtf8(text, kReplacementChar);  // an odd last byte
    at = size;
  }
  done = at;
  return text;
}

void TTextDecoder::Convert(const char* bytes, size_t size, bool isFinal, std::string& out) {
  const size_t before = FHeld.size();
  FHeld.append(bytes, size);
  ICodePage& codePage = *Platform().CodePage;
  size_t done = FHeld.size();
  switch (FEncoding) {
    case TTextEncoding::Utf8Mark:
    case TTextEncoding::Utf8:
      if (!isFinal) done = WholeUtf8(FHeld);
      // FromUtf8 shows an ill-formed sequence as the replacement character.
      if (done > 0) out += codePage.FromUtf8(FHeld.substr(0, done));
      break;
    case TTextEncoding::Legacy:
      if (!isFinal) done = WholeLegacy(FHeld, before);
      if (done > 0) out += codePage.FromLegacy(FHeld.substr(0, done));
      break;
    case TTextEncoding::Utf16Le:
    case TTextEncoding::Utf16Be: {
      const std::string text = Utf16ToUtf8(done, isFinal);
      if (!text.empty()) out += codePage.FromUtf8(text);
      break;
    }
    case TTextEncoding::Ascii:
      out += FHeld;
      break;
  }
  FHeld.erase(0, done);
}

std::string DecodeText(const std::string& bytes, TTextEncoding* encoding) {
  TTextDecoder decoder;
  std::string text;
  decoder.Take(bytes.data(), bytes.size(), text);
  decoder.Finish(text);
  if (encoding != nullptr) *encoding = decoder.Encoding();
  return text;
}

}  // namespace foyer
