// The checker's report, for people and for programs.
#include <algorithm>

#include <nlohmann/json.hpp>

#include "check/Checker.h"
#include "util/Path.h"
#include "util/Unicode.h"

namespace foyer {

namespace {

const char* SeverityName(TSeverity severity) {
  switch (severity) {
    case TSeverity::Error:
      return "error";
    case TSeverity::Warning:
      return "warning";
    case TSeverity::Note:
      return "note";
  }
  return "";
}

const char* ReasonName(TNoModeReason reason) {
  switch (reason) {
    case TNoModeReason::NoEntries:
      return "no entries";
    case TNoModeReason::MixedKinds:
      return "mixed kinds";
    case TNoModeReason::UnknownFiles:
      return "files of no known kind";
    case TNoModeReason::None:
      break;
  }
  return "";
}

// The text in a column of the width in characters, and at least one space after it.
std::string Padded(const std::string& text, size_t width) {
  const size_t length = CharLength(text);
  return text + std::string(length < width ? width - length : 1, ' ');
}

size_t Count(const TReport& report, TSeverity severity) {
  size_t count = 0;
  for (const TProblem& problem : report.Problems)
    count += problem.Severity == severity ? 1 : 0;
  return count;
}

std::string Counted(size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Whether path a comes before b, one folder separator like the other and before any character:
// the reports of Windows and of Linux list their problems alike.
bool IsBeforeInPath(const std::string& a, const std::string& b) {
  const auto rank = [](char c) {
    return c == '\\' || c == '/' ? 0 : static_cast<int>(static_cast<unsigned char>(c)) + 1;
  };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char x, char y) { return rank(x) < rank(y); });
}

}  // namespace

std::vector<TProblem> ProblemsInOrder(const TReport& report) {
  std::vector<TProblem> problems = report.Problems;
  std::stable_sort(problems.begin(), problems.end(), [](const TProblem& a, const TProblem& b) {
    return a.Severity != b.Severity ? a.Severity < b.Severity : IsBeforeInPath(a.Path, b.Path);
  });
  return problems;
}

std::string ReportText(const TReport& report) {
  std::string text = "Medium " + report.Root + "\nSkin   " + report.Skin + "\n";
  for (const std::string& remark : report.Remarks)
    text += remark + "\n";
  for (const TCheckedCategory& category : report.Categories) {
    text += "\n" + Padded(std::to_string(category.Slot), 3) + Padded(category.Folder, 14);
    if (category.Verb.empty()) {
      text += "a click does nothing (" + std::string(ReasonName(category.Scan.Reason)) + ")\n";
      continue;
    }
    if (!category.ActsAtOnce.empty()) {
      text += "acts at once: " + category.ActsAtOnce + "\n";
      continue;
    }
    text += category.Verb;
    if (category.ReadMe) text += ", ReadMe";
    if (category.ViewMe) text += ", ViewMe";
    text += "\n";
    for (const std::string& row : category.Rows)
      text += "     " + row + "\n";
  }
  if (!report.Problems.empty()) text += "\nProblems\n";
  for (const TProblem& problem : ProblemsInOrder(report)) {
    text += "  " + Padded(SeverityName(problem.Severity), 8) + problem.Path + "\n";
    text += "          " + problem.Seen + "\n";
    text += "          " + problem.Fix + "\n";
  }
  text += "\n" + Counted(report.Categories.size(), "category", "categories") + ", " +
          Counted(Count(report, TSeverity::Error), "error", "errors") + ", " +
          Counted(Count(report, TSeverity::Warning), "warning", "warnings") + ", " +
          Counted(Count(report, TSeverity::Note), "note", "notes") + "\n";
  // A Linux name that is not UTF-8 is shown as the program shows it, with U+FFFD.
  return IsUtf8Strings() ? RepairedUtf8(text) : text;
}

std::string ReportJson(const TReport& report) {
  nlohmann::ordered_json json;
  json["medium"] = report.Root;
  json["skin"] = report.Skin;
  json["remarks"] = report.Remarks;
  json["categories"] = nlohmann::ordered_json::array();
  for (const TCheckedCategory& category : report.Categories) {
    nlohmann::ordered_json entry;
    entry["slot"] = category.Slot;
    entry["folder"] = category.Folder;
    entry["verb"] = category.Verb;
    if (category.Verb.empty()) entry["nothing_because"] = ReasonName(category.Scan.Reason);
    entry["acts_at_once"] = category.ActsAtOnce;
    entry["rows"] = nlohmann::ordered_json::array();
    for (size_t row = 0; row < category.Rows.size(); ++row) {
      const TListedEntry& listed = category.Entries.at(row);
      entry["rows"].push_back({{"text", category.Rows[row]},
                               {"name", listed.Name},
                               {"folder", listed.IsFolder},
                               {"description", listed.Description}});
    }
    entry["readme"] = category.ReadMe;
    entry["viewme"] = category.ViewMe;
    json["categories"].push_back(entry);
  }
  json["problems"] = nlohmann::ordered_json::array();
  for (const TProblem& problem : ProblemsInOrder(report)) {
    json["problems"].push_back({{"severity", SeverityName(problem.Severity)},
                                {"path", problem.Path},
                                {"seen", problem.Seen},
                                {"fix", problem.Fix}});
  }
  json["summary"] = {{"categories", report.Categories.size()},
                     {"errors", Count(report, TSeverity::Error)},
                     {"warnings", Count(report, TSeverity::Warning)},
                     {"notes", Count(report, TSeverity::Note)}};
  // Bytes that are no UTF-8 (a Linux name that is not, or a name in the code page of a system
  // before the UTF-8 one) come out as U+FFFD, each ill-formed sequence as the text report shows
  // it, never as an error.
  return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace foyer
