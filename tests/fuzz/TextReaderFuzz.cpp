// Feeds arbitrary text to the line reader in chunks of random sizes, with the program's strings in
// UTF-8 or in code page 1252, and compares its lines with the rules read directly off the whole
// text decoded at once: CR, CR LF and a lone LF end a line, a Ctrl-Z ends the text, a final line
// end adds no empty line, and a line of any length (past 255 characters too) comes back whole.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "util/TextDecoder.h"
#include "util/TextReader.h"

namespace {

std::vector<std::string> ExpectedLines(std::string text) {
  text = text.substr(0, text.find('\x1A'));
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", i), text.size());
    lines.push_back(text.substr(i, end - i));
    i = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data) + std::min<size_t>(size, 4),
                         size - std::min<size_t>(size, 4));
  foyer::fuzz::UseCodePage(size > 0 && data[0] % 2 == 1);
  const std::vector<std::string> expected = ExpectedLines(foyer::DecodeText(text));
  foyer::TTextReader reader(std::make_unique<foyer::fuzz::ChunkedFile>(data, size));
  std::vector<std::string> lines;
  while (!reader.Eof())
    lines.push_back(reader.ReadLine());
  if (lines != expected) std::abort();
  const std::string first =
      foyer::ReadFirstLine(std::make_unique<foyer::fuzz::ChunkedFile>(data, size));
  if (first != (expected.empty() ? std::string() : expected.front())) std::abort();
  return 0;
}
