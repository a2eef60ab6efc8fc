// Writes documents: plain text with CR LF line ends, a large generated catalogue, and rich text.
#include "medgen/Documents.h"

#include <cstdio>

#include "medgen/FixedMath.h"

namespace foyer::medgen {

namespace {

constexpr const char* kFinishes[] = {"Brass",  "Steel",     "Oak",        "Walnut",
                                     "Copper", "Chrome",    "Nickel",     "Bronze",
                                     "Pine",   "Enamelled", "Galvanised", "Maple"};
constexpr const char* kSizes[] = {"small", "medium", "large", "narrow", "wide", "long", "short"};
constexpr const char* kParts[] = {"hinge",  "bracket", "hook", "knob",  "handle", "latch",
                                  "spring", "washer",  "bolt", "screw", "clamp",  "pulley",
                                  "castor", "shelf",   "rail", "catch", "plate",  "flange"};
constexpr const char* kUnits[] = {"each", "pair", "box of 10", "box of 50", "set of 4"};
constexpr int kLinesPerPage = 56;

template <size_t N>
const char* Pick(Lcg& random, const char* const (&words)[N]) {
  return words[random.Below(static_cast<int32_t>(N))];
}

void AppendLine(std::string& out, const std::string& line) {
  out += line;
  out += "\r\n";
}

std::string PageHeader(int page) {
  char line[96];
  std::snprintf(line, sizeof line,
                "HARDWARE CATALOGUE 1999                                  Page %d", page);
  return line;
}

}  // namespace

std::string MakeText(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines)
    AppendLine(out, line);
  return out;
}

std::string MakeCatalogText(size_t minBytes) {
  Lcg random(1999);
  std::string out;
  out.reserve(minBytes + 128);
  int page = 0;
  int lineOnPage = kLinesPerPage;
  for (int item = 1; out.size() < minBytes; ++item) {
    if (lineOnPage == kLinesPerPage) {
      if (page > 0) AppendLine(out, "");
      AppendLine(out, PageHeader(++page));
      AppendLine(out, "");
      AppendLine(out, "Part no.  Description                          Unit          Price");
      AppendLine(out, "--------  -----------------------------------  ---------  --------");
      lineOnPage = 0;
    }
    const std::string description = std::string(Pick(random, kFinishes)) + " " +
                                    Pick(random, kParts) + ", " + Pick(random, kSizes);
    const int cents = 45 + random.Below(9000);
    char line[128];
    std::snprintf(line, sizeof line, "%08d  %-35s  %-9s  %5d.%02d", 10000 + item * 7,
                  description.c_str(), Pick(random, kUnits), cents / 100, cents % 100);
    AppendLine(out, line);
    ++lineOnPage;
  }
  return out;
}

RtfRun Plain(const std::string& text) {
  return RtfRun{text};
}

RtfRun Bold(const std::string& text) {
  RtfRun run{text};
  run.IsBold = true;
  return run;
}

RtfRun Italic(const std::string& text) {
  RtfRun run{text};
  run.IsItalic = true;
  return run;
}

std::string RtfEscape(const std::string& text) {
  std::string out;
  for (char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (ch == '\\' || ch == '{' || ch == '}') {
      out += '\\';
      out += ch;
    } else if (byte >= 0x80) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", byte);
      out += hex;
    } else {
      out += ch;
    }
  }
  return out;
}

namespace {

std::string RunText(const RtfRun& run) {
  std::string out = "{\\f" + std::to_string(static_cast<int>(run.Font)) + "\\fs" +
                    std::to_string(run.HalfPoints) + "\\cf" +
                    std::to_string(static_cast<int>(run.Color));
  if (run.IsBold) out += "\\b";
  if (run.IsItalic) out += "\\i";
  if (run.IsUnderlined) out += "\\ul";
  return out + " " + RtfEscape(run.Text) + "}";
}

std::string RunsText(const std::vector<RtfRun>& runs) {
  std::string out;
  for (const RtfRun& run : runs)
    out += RunText(run);
  return out;
}

}  // namespace

void RtfDocument::Heading(const std::string& text, int halfPoints, RtfColor color) {
  RtfRun run{text};
  run.IsBold = true;
  run.Font = RtfFont::Sans;
  run.HalfPoints = halfPoints;
  run.Color = color;
  FBody += "\\pard\\sb240\\sa120 " + RunText(run) + "\\par\r\n";
}

void RtfDocument::Paragraph(const std::vector<RtfRun>& runs) {
  FBody += "\\pard\\sa120 " + RunsText(runs) + "\\par\r\n";
}

void RtfDocument::Centred(const std::vector<RtfRun>& runs) {
  FBody += "\\pard\\qc\\sa120 " + RunsText(runs) + "\\par\r\n";
}

void RtfDocument::Bullet(const std::vector<RtfRun>& runs) {
  // \pntext is the bullet as older readers draw it; \pn tells newer ones it is a list.
  FBody +=
      "\\pard{\\pntext\\f3\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf3\\pnindent360{\\pntxtb\\'b7}}"
      "\\fi-360\\li720\\sa60 " +
      RunsText(runs) + "\\par\r\n";
}

std::string RtfDocument::Bytes() const {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0\r\n"
         "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}{\\f1\\fswiss\\fcharset0 Arial;}"
         "{\\f2\\fmodern\\fcharset0 Courier New;}{\\f3\\ftech\\fcharset2 Symbol;}}\r\n"
         "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green0\\blue128;\\red160\\green0\\blue0;"
         "\\red0\\green110\\blue0;\\red96\\green96\\blue96;\\red112\\green32\\blue144;}\r\n"
         "\\viewkind4\\uc1\\f0\\fs24\r\n" +
         FBody + "}\r\n";
}

}  // namespace foyer::medgen
