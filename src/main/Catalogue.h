// What a category's folder offers, decided from its files alone: the kinds of content found, the
// list mode and its filter, the notes and preview flags, and why a folder offers nothing. Free of
// windows: the main window renders it, and any other front end can read the same decisions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace foyer {

// What a category's list holds and what Action1 does with its entries.
enum TListMode : uint8_t {
  lmNone = 0,
  lmInstall = 1,
  lmPlay = 2,
  lmRun = 3,
  lmShow = 4,
  lmViewTxt = 5,
  lmViewRtf = 6
};

// The verb Action1 shows for a list mode.
std::string ActionVerb(TListMode mode);

// A kind of content a category's folder can hold; each is a bit of TCategoryScan::Kinds.
enum TContentKind : uint16_t {
  ckFolder = 1 << 0,
  ckWave = 1 << 1,
  ckMidi = 1 << 2,
  ckProgram = 1 << 3,
  ckBitmap = 1 << 4,
  ckText = 1 << 5,
  ckRichText = 1 << 6,
  ckZip = 1 << 7,
  ckVideo = 1 << 8,
  // A file of no kind the program acts on (no extension, or one it does not know).
  ckOther = 1 << 9,
};

// Why a category offers nothing.
enum class TNoModeReason : uint8_t {
  None,          // it has a mode
  NoEntries,     // it holds nothing to act on: empty, or only notes and previews
  MixedKinds,    // it holds more than one kind of content
  UnknownFiles,  // beside one kind, or alone, files of no known kind
};

// The media device a list of one kind plays on.
enum class TPlayDevice : uint8_t { None, WaveAudio, Sequencer, AVIVideo };

// The most categories the main window shows.
constexpr int32_t kMaxCategories = 15;

// Whether a top folder of the medium is a category, and if not, why.
enum class TLeftOut : uint8_t {
  No,              // it is a category
  NotAFolder,      // a file, or "." and ".."
  HiddenOrSystem,  // a hidden or system folder
  DotInName,       // a dot in its name (bin.dat, layout.dat)
  Reserved,        // a name kept for another use
  BeyondLast,      // fifteen categories came before it
};
// entry is a top folder as the listing gives it; shown is how many categories came before it.
TLeftOut LeftOutAsCategory(const DirEntry& entry, int32_t shown);

// What a click on a category finds.
struct TCategoryScan {
  uint16_t Kinds = 0;  // TContentKind bits
  TListMode Mode = lmNone;
  TNoModeReason Reason = TNoModeReason::None;
  // The filter of the listing ("*" or an extension as the listing asks for it).
  std::string Filter;
  TPlayDevice Device = TPlayDevice::None;
  // Whether the list holds zip files; only an install list sets it.
  bool SetsZipMode = false;
  bool ZipMode = false;
  // Notes or a preview somewhere in the category: the ReadMe and ViewMe buttons may show.
  bool HasReadme = false;
  bool HasViewMe = false;
};

// Looks through a category folder (with or without its trailing backslash) as a click on it
// does: one listing of the folder, and for each sub-folder, until the flag is raised, whether it
// holds a readme.txt and a viewme.bmp.
TCategoryScan ScanCategory(IFileSystem& fs, const std::string& categoryDir);

// The part of a name after its first dot, lower-cased; empty without a dot.
std::string ExtensionOf(const std::string& name);

// The kind of content of a file by its extension (as ExtensionOf gives it), once notes and
// previews are told apart; ckOther for an extension the program does not act on.
TContentKind KindOf(const std::string& ext);

// A category's or an entry's notes: "readme", "readme.txt", or a name whose extension is
// "readme".
bool IsReadmeName(const std::string& name);

// Readme and preview material is never an entry of its own.
bool IsListable(const std::string& name);

// The lower-cased stems (name up to and including the first dot) of the zip files of a folder;
// stem + "bmp" and stem + "txt" are a zip's preview and notes.
std::vector<std::string> ZipStems(const std::vector<DirEntry>& entries);
bool IsZipCompanion(const std::vector<std::string>& zipStems, const std::string& name,
                    const char* extension);

// The entries a listing of a folder shows, in the order the file system gave them: listable
// names only, and in a list of zip files no zip's notes or preview.
std::vector<const DirEntry*> ListableEntries(const std::vector<DirEntry>& found, bool isZipList);

// An entry as the list shows it.
struct TListedEntry {
  std::string Name;   // as the folder stores it
  std::string Shown;  // the name up to its first dot
  // The first line of its readme; HasDescription is false when it has none.
  std::string Description;
  bool HasDescription = false;
  bool IsFolder = false;
  // The row's text, exactly as the list shows it.
  std::string Row;
};

// What the list on screen offers: the rows, the verb of its mode, and whether the ReadMe and
// ViewMe buttons show beside it. The main window draws it; the checker reads it.
struct TListOffer {
  TListMode Mode = lmNone;
  std::vector<TListedEntry> Entries;
  bool ReadMe = false;
  bool ViewMe = false;
};

// Sets which of ReadMe and ViewMe an offer shows: only an install list has them, ReadMe when
// its category or one of its rows has notes, ViewMe when a preview was found.
void OfferNotes(TListOffer& offer, bool hasReadme, bool hasViewMe);

// An entry's name column is this many characters wide; a space and its description follow.
constexpr size_t kNameColumn = 10;
// The characters of a row that the list shows without scrolling at the window's designed size:
// beside its scroll bar the list is about 347 pixels wide inside, and its fixed font is 6
// pixels a character.
constexpr size_t kRowChars = 57;

// An entry's row: its name up to the first dot, and, when it has one, its description (the
// first line of its readme) beginning after the name column.
std::string ShownName(const std::string& name);
std::string RowText(const std::string& shown, const std::string& description);

}  // namespace foyer
