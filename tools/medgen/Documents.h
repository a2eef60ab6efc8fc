// Writes documents: plain text with CR LF line ends, a large generated catalogue, and rich text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace foyer::medgen {

// Every line ended by CR LF, the last one too.
std::string MakeText(const std::vector<std::string>& lines);

// A parts catalogue of whole CR LF lines, at least minBytes long; the same bytes for the same
// minBytes.
std::string MakeCatalogText(size_t minBytes);

enum class RtfFont { Serif = 0, Sans = 1, Mono = 2, Symbol = 3 };
enum class RtfColor { Black = 1, Navy = 2, DarkRed = 3, DarkGreen = 4, Grey = 5, Purple = 6 };

struct RtfRun {
  std::string Text;  // bytes in code page 1252
  bool IsBold = false;
  bool IsItalic = false;
  bool IsUnderlined = false;
  RtfColor Color = RtfColor::Black;
  RtfFont Font = RtfFont::Serif;
  int HalfPoints = 24;  // 12 point
};

// A plain run of text in the document's body font.
RtfRun Plain(const std::string& text);
RtfRun Bold(const std::string& text);
RtfRun Italic(const std::string& text);

// Escapes RTF's special characters and writes bytes above 127 as \'hh.
std::string RtfEscape(const std::string& text);

// A rich-text document built paragraph by paragraph, with a fixed font and colour table.
class RtfDocument {
 public:
  void Heading(const std::string& text, int halfPoints, RtfColor color);
  void Paragraph(const std::vector<RtfRun>& runs);
  void Centred(const std::vector<RtfRun>& runs);
  // A bulleted paragraph, indented, with a hanging bullet from the Symbol font.
  void Bullet(const std::vector<RtfRun>& runs);
  // The whole file; paragraphs are written one per line with CR LF.
  std::string Bytes() const;

 private:
  std::string FBody;
};

}  // namespace foyer::medgen
