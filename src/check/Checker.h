// The medium checker: what every category of a medium will do when clicked, and what is wrong
// with the medium, found by running the program's own main window headless over the platform
// installed (Platform()). Acting on entries is recorded, never done.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "main/Catalogue.h"

namespace foyer {

enum class TSeverity : uint8_t { Error, Warning, Note };

// Something a publisher should know before the medium ships.
struct TProblem {
  TSeverity Severity = TSeverity::Error;
  // The medium's file or folder, as the program names it.
  std::string Path;
  // What the user would see.
  std::string Seen;
  // How to mend it.
  std::string Fix;
};

// A category as a click on it shows it.
struct TCheckedCategory {
  int32_t Slot = 0;
  std::string Folder;
  // The verb of the list ("Install", "Play", ...), empty when a click does nothing.
  std::string Verb;
  TCategoryScan Scan;
  // The rows exactly as the list shows them, and the entries behind them.
  std::vector<std::string> Rows;
  std::vector<TListedEntry> Entries;
  bool ReadMe = false;
  bool ViewMe = false;
  // For a category that acts at once, what it does ("plays intro.avi on AVIVideo").
  std::string ActsAtOnce;
};

struct TReport {
  // The medium's top folder as the program found it, and the skin folder it chose.
  std::string Root;
  std::string Skin;
  std::vector<TCheckedCategory> Categories;
  std::vector<TProblem> Problems;
  // What the report's reader should know of how the medium was read (hidden files, say).
  std::vector<std::string> Remarks;
};

// What the checker is told of how the medium came to the platform.
struct TCheckOptions {
  // The medium is a disc image without Joliet names: Windows shows its short names, in capitals
  // and cut to 8 characters and 3.
  bool HasShortNamesOnly = false;
};

// Checks the medium whose top folder is root (a path of the installed platform, ending in a
// backslash or not). The program's window is made, started and clicked as it would be on a
// screen of 16 bits per pixel or more; the 256-colour skin is checked beside it.
TReport CheckMedium(const std::string& root, const TCheckOptions& options = {});

// The report's problems as both reports list them: errors, then warnings, then notes, each by
// path, and those of one path in the order they were found.
std::vector<TProblem> ProblemsInOrder(const TReport& report);

// The report for people: one section per category, the problems last, a summary line.
std::string ReportText(const TReport& report);
// The report for programs, as JSON (its shape is described in docs/shipping.md).
std::string ReportJson(const TReport& report);
// How much of a medium's file, by its name, the checker and the program read: all of a picture,
// a text or autorun.inf, the head of a rich text or a media file, nothing of any other
// (UINT64_MAX: all).
uint64_t CheckedBytes(const std::string& name);

// 0 when the report holds no error, else 1.
int ExitCodeOf(const TReport& report);

}  // namespace foyer
