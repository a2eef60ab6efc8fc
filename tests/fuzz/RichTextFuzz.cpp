// Feeds arbitrary documents to the rich-text viewer's reading, in chunks of random sizes, with the
// program's strings in UTF-8 or in code page 1252: read as rich text with a random nesting limit
// it hands on a prefix of the document with every line break as CR LF (and, with UTF-8 strings,
// the legacy code page named after the header), stopping before a group would open deeper than
// the limit (by the rule read directly off the bytes); read again as plain text it hands on the
// whole document decoded at once; and a document larger than the room left is stopped before a
// byte is handed on.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

#include "FuzzFile.h"
#include "util/TextDecoder.h"
#include "viewers/RichTextStream.h"

namespace {

using foyer::TRichTextStream;
using foyer::TStreamFormat;

std::string WithCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      out += text[i];
      continue;
    }
    out += "\r\n";
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

// The code page named right after "{\rtfN" when another byte follows, and again after an "\ansi"
// that follows it when a byte that ends the word follows.
std::string WithCodePage(std::string text) {
  const std::string word = "\\ansicpg1252";
  if (text.compare(0, 5, "{\\rtf") != 0) return text;
  size_t at = 5;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9')
    ++at;
  if (at == text.size()) return text;
  text.insert(at, word);
  at += word.size() + 5;
  if (text.compare(at - 5, 5, "\\ansi") == 0 && at < text.size() &&
      !std::isalnum(static_cast<unsigned char>(text[at])) && text[at] != '-') {
    text.insert(at, word);
  }
  return text;
}

// Where the first group deeper than the limit opens, or the text's size: every brace counts but
// one that follows a backslash.
size_t TooDeepAt(const std::string& text, int limit) {
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\')
      ++i;
    else if (text[i] == '{' && ++depth > limit)
      return i;
    else if (text[i] == '}')
      depth = std::max(0, depth - 1);
  }
  return text.size();
}

std::string ReadAll(TRichTextStream& stream, foyer::fuzz::ChunkedFile& sizes) {
  std::string handed;
  char buffer[128];
  size_t got = 0;
  while (stream.Read(buffer, sizes.Next() % sizeof buffer + 1, got) && got > 0)
    handed.append(buffer, got);
  return handed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using TStop = TRichTextStream::TStop;
  foyer::fuzz::ChunkedFile file(data, size);
  const bool isUtf8 = size > 0 && data[0] % 2 == 1;
  foyer::fuzz::UseCodePage(isUtf8);
  const std::string bytes(reinterpret_cast<const char*>(data) + std::min<size_t>(size, 4),
                          size - std::min<size_t>(size, 4));
  const std::string text = WithCrLf(isUtf8 ? WithCodePage(bytes) : bytes);
  const int limit = static_cast<int>(file.Next() % 40);
  const uint64_t room = file.Next() % 8 == 0 ? file.Size() / 2 : file.Size();
  TRichTextStream stream(file, TStreamFormat::RichText, limit,
                         [room](uint64_t bytes) { return bytes <= room; });
  const std::string rich = ReadAll(stream, file);
  const size_t deep = limit == 0 ? text.size() : TooDeepAt(text, limit);
  if (room < file.Size()) {
    if (stream.Stopped() != TStop::TooLarge || !rich.empty()) std::abort();
  } else if (deep < text.size()) {
    if (stream.Stopped() != TStop::TooDeep || rich.size() > deep) std::abort();
  } else if (stream.Stopped() != TStop::None || rich.size() != text.size()) {
    std::abort();
  }
  if (text.compare(0, rich.size(), rich) != 0) std::abort();

  if (room < file.Size()) return 0;
  if (!stream.Rewind(TStreamFormat::PlainText)) std::abort();
  const std::string plain = WithCrLf(foyer::DecodeText(bytes));
  if (ReadAll(stream, file) != plain || stream.Stopped() != TStop::None) std::abort();
  return 0;
}
