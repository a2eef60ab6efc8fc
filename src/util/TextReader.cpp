// Text files read line by line.
#include "util/TextReader.h"

#include <utility>

#include "util/Errors.h"

namespace foyer {

namespace {
constexpr char kCr = 13;
constexpr char kLf = 10;
constexpr char kCtrlZ = 26;
constexpr size_t kChunk = 64 * 1024;
}  // namespace

TTextReader::TTextReader(const std::string& path) {
  uint32_t error = kErrNone;
  FFile = Platform().Fs->OpenRead(path, error);
  if (!FFile) throw EInOutError(static_cast<int>(error));
}

TTextReader::TTextReader(std::unique_ptr<IReadFile> file) : FFile(std::move(file)) {}

TTextReader::~TTextReader() = default;

bool TTextReader::Fill() {
  if (FPos < FBuffer.size()) return true;
  if (FEnded) return false;
  FBuffer.resize(kChunk);
  size_t got = 0;
  const uint32_t error = FFile->Read(FBuffer.data(), kChunk, got);
  if (error != kErrNone) {
    FBuffer.clear();
    FPos = 0;
    throw EInOutError(static_cast<int>(error));
  }
  FBuffer.resize(got);
  FPos = 0;
  if (got == 0) FEnded = true;
  return got > 0;
}

bool TTextReader::Eof() {
  if (!Fill()) return true;
  if (FBuffer[FPos] == kCtrlZ) {
    // Nothing after a Ctrl-Z belongs to the text.
    FEnded = true;
    FBuffer.clear();
    FPos = 0;
    return true;
  }
  return false;
}

void TTextReader::AppendLine(std::string& text) {
  while (Fill()) {
    const char* start = FBuffer.data() + FPos;
    const char* end = FBuffer.data() + FBuffer.size();
    const char* stop = start;
    while (stop != end && *stop != kCr && *stop != kLf && *stop != kCtrlZ)
      ++stop;
    text.append(start, stop);
    FPos += static_cast<size_t>(stop - start);
    if (stop == end) continue;
    if (*stop == kCtrlZ) return;  // left in place: Eof() ends the text there
    ++FPos;
    // A LF right after a CR belongs to the same line end, even across a buffer boundary.
    if (*stop == kCr && Fill() && FBuffer[FPos] == kLf) ++FPos;
    return;
  }
}

std::string TTextReader::ReadLine() {
  std::string line;
  AppendLine(line);
  return line;
}

std::string ReadFirstLine(const std::string& path) {
  TTextReader reader(path);
  return reader.ReadLine();
}

std::string ReadFirstLine(std::unique_ptr<IReadFile> file) {
  TTextReader reader(std::move(file));
  return reader.ReadLine();
}

}  // namespace foyer
