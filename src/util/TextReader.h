// Reads text files line by line, as the one decoder gives their text (util/TextDecoder.h): CR,
// CR LF and a lone LF end a line; Ctrl-Z ends the text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform.h"
#include "util/TextDecoder.h"

namespace foyer {

class TTextReader {
 public:
  // Opens the file through the installed file system; a failure throws EInOutError with the
  // system's code.
  explicit TTextReader(const std::string& path);
  // Reads a file already opened.
  explicit TTextReader(std::unique_ptr<IReadFile> file);
  ~TTextReader();
  TTextReader(const TTextReader&) = delete;
  TTextReader& operator=(const TTextReader&) = delete;

  // True when no text is left: the file has ended, or a Ctrl-Z was reached.
  bool Eof();
  // The next line without its end. At the end of the text it gives an empty line.
  std::string ReadLine();
  // Appends the next line to text without its end (saves a copy for long files).
  void AppendLine(std::string& text);
  // How the text was found to be written, as far as it has been read: Ascii until a mark or a
  // byte beyond 127 (and the text after it) has been seen.
  TTextEncoding Encoding() const { return FDecoder.Encoding(); }

 private:
  // Makes at least one character of decoded text available unless the text has ended; false at
  // the end.
  bool Fill();

  std::unique_ptr<IReadFile> FFile;
  TTextDecoder FDecoder;
  std::string FBytes;
  uint64_t FRead = 0;
  // Decoded text, and the position in it.
  std::string FBuffer;
  size_t FPos = 0;
  bool FEnded = false;
};

// The first line of a text file; an empty file gives an empty line. Only as much of the file is
// read as the line and the decoding need: a list reads one for every row.
std::string ReadFirstLine(const std::string& path);
std::string ReadFirstLine(std::unique_ptr<IReadFile> file);

}  // namespace foyer
