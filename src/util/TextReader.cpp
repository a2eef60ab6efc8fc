// Text files read line by line.
#include "util/TextReader.h"

#include <utility>

#include "util/Errors.h"

namespace foyer {

namespace {
constexpr char kCr = 13;
constexpr char kLf = 10;
constexpr char kCtrlZ = 26;
// Reads are 64 KB, from one 64 KB boundary to the next, but for a small first one: most readmes
// fit in it, and a description needs only the first line of a long one.
constexpr size_t kChunk = 64 * 1024;
constexpr size_t kFirstChunk = 4 * 1024;
}  // namespace

TTextReader::TTextReader(const std::string& path) {
  uint32_t error = kErrNone;
  FFile = Platform().Fs->OpenRead(path, error);
  if (!FFile) throw EInOutError(static_cast<int>(error));
}

TTextReader::TTextReader(std::unique_ptr<IReadFile> file) : FFile(std::move(file)) {}

TTextReader::~TTextReader() = default;

bool TTextReader::Fill() {
  // The decoder may hold bytes back (a mark's start, a character cut short, the window that
  // tells UTF-8 from the legacy code page): read on until it gives text or the file ends.
  while (FPos >= FBuffer.size()) {
    if (FEnded) return false;
    FBuffer.clear();
    FPos = 0;
    const size_t want = FRead == 0 ? kFirstChunk : kChunk - FRead % kChunk;
    FBytes.resize(want);
    size_t got = 0;
    const uint32_t error = FFile->Read(FBytes.data(), want, got);
    if (error != kErrNone) throw EInOutError(static_cast<int>(error));
    FRead += got;
    if (got == 0) {
      FDecoder.Finish(FBuffer);
      FEnded = true;
    } else {
      FDecoder.Take(FBytes.data(), got, FBuffer);
    }
  }
  return true;
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
