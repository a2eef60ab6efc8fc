// The medium checker: the main window run headless, and the medium's files looked through.
#include "check/Checker.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

#include "main/EntryActions.h"
#include "main/EntryNotes.h"
#include "main/UMain.h"
#include "platform/Platform.h"
#include "platform/memory/MemoryCodePage.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Headless.h"
#include "util/Errors.h"
#include "util/FileCopy.h"
#include "util/Path.h"
#include "util/TextDecoder.h"
#include "util/TextReader.h"
#include "util/Unicode.h"

namespace foyer {

namespace {

// The install target a checked tree is measured under, as a typical user would pick it.
const char* const kTypicalTarget = "C:\\Program Files (x86)\\";
// A list longer than this is hard to find one's way in.
constexpr size_t kManyRows = 500;

// What is read of a rich text or a media file: its header, and a margin.
constexpr uint64_t kHeadBytes = 4096;

// The first bytes of a file, or empty when it cannot be read.
std::string Head(const std::string& path, size_t count) {
  uint32_t error = kErrNone;
  std::unique_ptr<IReadFile> file = Platform().Fs->OpenRead(path, error);
  if (!file) return {};
  std::string bytes(count, '\0');
  size_t done = 0;
  while (done < count) {
    size_t got = 0;
    if (file->Read(bytes.data() + done, count - done, got) != kErrNone || got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

// How a text was saved, as the program's decoder tells it; Ascii when it cannot be read. A
// text is read only until the decoder has told it: what it found is never taken back.
TTextEncoding EncodingOf(const std::string& path) {
  uint32_t error = kErrNone;
  std::unique_ptr<IReadFile> file = Platform().Fs->OpenRead(path, error);
  TTextDecoder decoder;
  if (!file) return decoder.Encoding();
  std::string bytes(64 * 1024, '\0');
  std::string text;
  size_t got = 0;
  while (decoder.Encoding() == TTextEncoding::Ascii &&
         file->Read(bytes.data(), bytes.size(), got) == kErrNone && got > 0) {
    decoder.Take(bytes.data(), got, text);
    text.clear();  // only how it was saved matters here
  }
  decoder.Finish(text);
  return decoder.Encoding();
}

std::string KindsText(uint16_t kinds) {
  static const std::pair<TContentKind, const char*> kNames[] = {
      {ckFolder, "folders"},      {ckWave, "wave"},     {ckMidi, "MIDI"},
      {ckProgram, "programs"},    {ckBitmap, "pictures"}, {ckText, "texts"},
      {ckRichText, "rich texts"}, {ckZip, "zip files"}, {ckVideo, "videos"},
      {ckOther, "files of no known kind"}};
  std::vector<std::string> found;
  for (const auto& [kind, name] : kNames) {
    if ((kinds & kind) != 0) found.emplace_back(name);
  }
  std::string text;
  for (size_t i = 0; i < found.size(); ++i)
    text += (i == 0 ? "" : i + 1 == found.size() ? " and " : ", ") + found[i];
  return text;
}

// The first few of the names, then how many more there are ("a, b and 3 more").
std::string FewOf(const std::vector<std::string>& names) {
  constexpr size_t kNamed = 5;
  std::string text;
  for (size_t i = 0; i < names.size() && i < kNamed; ++i)
    text += (i == 0 ? "" : ", ") + names[i];
  if (names.size() > kNamed) text += " and " + std::to_string(names.size() - kNamed) + " more";
  return text;
}

// The first characters of a UTF-8 name that pass the test, each once, as "\"é\" (U+00E9)".
template <typename TTest>
std::string CharsOf(const std::string& name, TTest isNamed) {
  constexpr size_t kNamed = 3;
  std::vector<char32_t> found;
  size_t at = 0;
  char32_t c = 0;
  while (found.size() < kNamed && NextChar(name, at, c)) {
    if (isNamed(c) && std::find(found.begin(), found.end(), c) == found.end()) found.push_back(c);
  }
  std::string text;
  for (const char32_t named : found) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(named));
    std::string shown;
    AppendUtf8(shown, named);
    text += (text.empty() ? "\"" : ", \"") + shown + "\" (" + code + ")";
  }
  return text;
}

// What autorun.inf says, as Windows reads its [autorun] section: keys without regard to case,
// the first of a key taken, lines that begin with ";" left out. A ";" further on is part of the
// value, as the system's profile reading keeps it.
struct TAutorun {
  bool HasSection = false;
  std::map<std::string, std::string> Values;  // by lower-cased key
};

TAutorun ParseAutorun(const std::string& text) {
  const auto trimmed = [](const std::string& part) {
    const size_t first = part.find_first_not_of(" \t");
    return first == std::string::npos
               ? std::string()
               : part.substr(first, part.find_last_not_of(" \t") - first + 1);
  };
  TAutorun autorun;
  bool isInSection = false;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
    const std::string line = trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      isInSection = LowerStr(trimmed(line.substr(1, line.find(']') - 1))) == "autorun";
      autorun.HasSection = autorun.HasSection || isInSection;
      continue;
    }
    const size_t equals = line.find('=');
    if (!isInSection || equals == std::string::npos) continue;
    std::string value = trimmed(line.substr(equals + 1));
    // A value in quotes from end to end loses them.
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    autorun.Values.emplace(LowerStr(trimmed(line.substr(0, equals))), value);
  }
  return autorun;
}

// A file that autorun.inf names, as the medium holds it: from its top, with backslashes.
std::string FromTop(std::string file) {
  std::replace(file.begin(), file.end(), '/', '\\');
  const size_t first = file.find_first_not_of('\\');
  return first == std::string::npos ? std::string() : file.substr(first);
}

// The program of an open= command line: in quotes, or up to the first blank (what follows is
// its arguments).
std::string ProgramOf(const std::string& command) {
  return FromTop(command.size() > 1 && command[0] == '"'
                     ? command.substr(1, command.find('"', 1) - 1)
                     : command.substr(0, command.find_first_of(" \t")));
}

// The file of an icon= value: in quotes or not, without the index of an icon in it (",0").
std::string IconFileOf(std::string icon) {
  const size_t comma = icon.rfind(',');
  if (comma != std::string::npos &&
      icon.find_first_not_of("-0123456789 ", comma + 1) == std::string::npos) {
    icon.resize(comma);
  }
  if (icon.size() >= 2 && icon.front() == '"' && icon.back() == '"')
    icon = icon.substr(1, icon.size() - 2);
  return FromTop(icon);
}

class TChecker {
 public:
  TChecker(TReport& report, const TCheckOptions& options)
      : FReport(report), FOptions(options), FFs(*Platform().Fs) {}

  void Add(TSeverity severity, const std::string& path, const std::string& seen,
           const std::string& fix) {
    FReport.Problems.push_back({severity, path, seen, fix});
  }

  // The skins: the true-colour one is the one most screens show; the 256-colour one only
  // screens of 256 colours.
  void CheckSkins() {
    for (const int32_t bitsPerPixel : {24, 8}) {
      const bool isMain = bitsPerPixel == 24;
      for (const char* picture : {kBackPicture, kButtonPicture}) {
        const std::string path =
            JoinPath(JoinPath(FReport.Root, SkinFolderFor(bitsPerPixel)), picture);
        if (!FFs.FileExists(path)) {
          Add(isMain ? TSeverity::Error : TSeverity::Warning, path,
              isMain ? "The program stops at start-up with an error, on screens of 16 bits per "
                       "pixel or more."
                     : "The program stops at start-up with an error, on screens of 256 colours.",
              "Put the skin's " + std::string(picture) + " there.");
          continue;
        }
        CheckPicture(path, isMain ? TSeverity::Error : TSeverity::Warning);
      }
    }
  }

  void CheckPicture(const std::string& path, TSeverity severity) {
    try {
      if (LoadPicture(path).IsEmpty()) {
        Add(severity, path, "The file holds no picture: nothing shows in its place.",
            "Save the picture again.");
      }
    } catch (const Exception& error) {
      Add(severity, path, "The picture does not show: \"" + error.Message() + "\".",
          "Save it again as a Windows bitmap (BMP) of 1, 4, 8, 16, 24 or 32 bits per pixel, "
          "uncompressed or run-length encoded (see \"The pictures Foyer reads\" in the guide's "
          "skin page); a skin in 24 bits for true colour, and in 8 bits with a colour table for "
          "256 colours.");
    }
  }

  // The top folders that are no category, and why.
  void CheckTopFolders() {
    const FindResult found = FindFiles(FFs, JoinPath(FReport.Root, "*"), faAnyFile);
    int32_t shown = 0;
    for (const DirEntry& entry : found.Entries) {
      const std::string path = JoinPath(FReport.Root, entry.Name);
      switch (LeftOutAsCategory(entry, shown)) {
        case TLeftOut::No:
          ++shown;
          break;
        case TLeftOut::BeyondLast:
          Add(TSeverity::Warning, path,
              "Never shown: only the first " + std::to_string(kMaxCategories) +
                  " categories are.",
              "Keep to " + std::to_string(kMaxCategories) +
                  " category folders; merge or remove the others.");
          break;
        case TLeftOut::HiddenOrSystem:
          Add(TSeverity::Note, path, "Not shown: the folder is hidden or a system folder.",
              "Clear its hidden and system attributes if it should be a category.");
          break;
        case TLeftOut::DotInName:
          if (!SameName(entry.Name, kProgramFolder) && !SameName(entry.Name, kSkinFolder)) {
            Add(TSeverity::Note, path, "Not shown: a folder with a dot in its name is no category.",
                "Rename it without the dot if it should be a category.");
          }
          break;
        case TLeftOut::Reserved:
          Add(TSeverity::Note, path, "Not shown: the name is kept for another use.",
              "Rename it if it should be a category.");
          break;
        case TLeftOut::NotAFolder:
          break;
      }
    }
  }

  void CheckCategory(const TCheckedCategory& category) {
    const std::string folder = JoinPath(FReport.Root, category.Folder);
    CheckName(folder, category.Folder);
    if (category.Scan.Mode == lmNone) {
      const std::string seen = [&]() -> std::string {
        switch (category.Scan.Reason) {
          case TNoModeReason::NoEntries:
            return "A click does nothing: the folder holds nothing to act on.";
          case TNoModeReason::MixedKinds:
            return "A click does nothing: the folder mixes " + KindsText(category.Scan.Kinds) +
                   ".";
          case TNoModeReason::UnknownFiles:
          case TNoModeReason::None:
            break;
        }
        const uint16_t known = category.Scan.Kinds & ~ckOther;
        const std::vector<std::string> unknown = FilesOfNoKnownKind(folder);
        return "A click does nothing: " +
               (known == 0 ? std::string("the folder holds only")
                           : "beside its " + KindsText(known) + ", the folder holds") +
               " files of no known kind" + (unknown.empty() ? "" : ": " + FewOf(unknown)) + "." +
               (FOptions.HasShortNamesOnly
                    ? " The disc has no Joliet names, the likely cause: Windows sees their short "
                      "names, and a notes.readme becomes NOTES.REA, of no kind Foyer knows."
                    : "");
      }();
      const bool isShortNames =
          FOptions.HasShortNamesOnly && category.Scan.Reason == TNoModeReason::UnknownFiles;
      Add(TSeverity::Error, folder, seen,
          isShortNames
              ? "Make the image with Joliet names (genisoimage -J, xorriso -as mkisofs -J)."
              : "Keep one kind of content per folder (see the guide's table of what a category "
                "offers).");
    }
    if (category.Rows.size() > kManyRows) {
      Add(TSeverity::Note, folder,
          "The list has " + std::to_string(category.Rows.size()) + " rows.",
          "Split the category into smaller ones.");
    }
    const FindResult found = FindFiles(FFs, JoinPath(folder, "*"), faAnyFile);
    // The files whose first lines are rows' descriptions, as the program finds them: not the
    // category's own readme, which describes no row.
    std::set<std::string> descriptions;
    for (const DirEntry& entry : found.Entries) {
      if (entry.Name == "." || entry.Name == "..") continue;
      const std::string file =
          FirstFileOf(DescriptionFiles(folder, entry.Name, (entry.Attr & faDirectory) != 0));
      if (!file.empty()) descriptions.insert(LowerStr(file));
    }
    const auto isDescription = [&](const std::string& path) {
      return descriptions.count(LowerStr(path)) != 0;
    };
    for (const DirEntry& entry : found.Entries) {
      if (entry.Name == "." || entry.Name == "..") continue;
      const std::string path = JoinPath(folder, entry.Name);
      CheckName(path, entry.Name);
      // Only a system that holds names in its code page has "?" in one, and opens no entry by it.
      if (entry.Name.find('?') != std::string::npos) continue;
      if ((entry.Attr & faDirectory) != 0) {
        CheckInstallTree(path, PathLength(entry.Name) + 1, path);
        // The texts and the picture inside the entry that the list and its buttons show.
        std::vector<std::string> texts = DescriptionFiles(folder, entry.Name, true);
        for (const std::string& notes : ReadmeButtonFiles(folder, entry.Name, false))
          texts.push_back(notes);
        std::set<std::string> done;
        for (const std::string& notes : texts) {
          if (notes.rfind(path + "\\", 0) == 0 && done.insert(LowerStr(notes)).second &&
              FFs.FileExists(notes)) {
            CheckReadme(notes, isDescription(notes));
          }
        }
        for (const std::string& preview : ViewMeButtonFiles(folder, entry.Name, false)) {
          if (FFs.FileExists(preview)) CheckPicture(preview, TSeverity::Error);
        }
        continue;
      }
      CheckFile(path, entry.Name, isDescription(path));
    }
  }

  // A file of a category by its kind.
  void CheckFile(const std::string& path, const std::string& name, bool isDescription) {
    const std::string ext = ExtensionOf(name);
    const TContentKind kind = KindOf(ext);
    if (kind == ckBitmap) {
      CheckPicture(path, TSeverity::Error);
    } else if (IsReadmeName(name) || kind == ckText) {
      CheckReadme(path, isDescription);
    } else if (kind == ckRichText) {
      if (Head(path, 5) != "{\\rtf") {
        Add(TSeverity::Warning, path,
            "Shown as plain text, with its codes: it does not start as rich text (\"{\\rtf\").",
            "Save it again as rich text (RTF).");
      }
    } else if (kind == ckWave || kind == ckVideo || kind == ckMidi) {
      const std::string head = Head(path, 12);
      const bool isRight =
          kind == ckMidi ? head.compare(0, 4, "MThd") == 0
                         : head.compare(0, 4, "RIFF") == 0 && head.size() == 12 &&
                               head.compare(8, 4, kind == ckWave ? "WAVE" : "AVI ") == 0;
      if (!isRight) {
        Add(TSeverity::Warning, path,
            "The media device may not play it: its header is not that of a ." + ext + " file.",
            "Save it again in the format its extension names.");
      }
    }
  }

  // Texts: how each was saved, and a readme's first line, which is the entry's description.
  void CheckReadme(const std::string& path, bool isDescription) {
    if (EncodingOf(path) == TTextEncoding::Legacy) {
      Add(TSeverity::Warning, path,
          "The text is saved in an old code page: the program reads it in the user's own, so its "
          "characters beyond ASCII show differently on a Greek or a Russian system.",
          "Save it as UTF-8 (with or without a byte-order mark), or as UTF-16 (\"Unicode\").");
    }
    if (!isDescription) return;
    std::string line;
    try {
      line = ReadFirstLine(path);
    } catch (const Exception&) {
      return;  // a click on the category reports what the program shows
    }
    const size_t length = CharLength(line);
    const size_t room = kRowChars - kNameColumn - 1;
    if (length > room) {
      Add(TSeverity::Note, path,
          "The description (" + std::to_string(length) +
              " characters) is longer than the list shows without scrolling.",
          "Keep the readme's first line within " + std::to_string(room) + " characters.");
    }
  }

  // Names beyond ASCII. Where the program's strings are UTF-8 (Windows 10 version 1903 and
  // later) every name shows and opens; an older system holds names in its code page, shows "?"
  // for a character that it lacks, and cannot open an entry by a name with "?".
  void CheckName(const std::string& path, const std::string& name) {
    const bool isAscii = std::all_of(name.begin(), name.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const char* const fix =
        "Keep names to ASCII letters, digits, spaces and -_() for a medium such systems read.";
    if (!IsUtf8Strings()) {
      // Checked on such a system: what it lacks is lost here too.
      if (name.find('?') != std::string::npos) {
        Add(TSeverity::Error, path,
            "The name shows as \"" + name +
                "\": this system's code page cannot hold it, and the entry cannot be opened or "
                "installed.",
            fix);
      } else if (!isAscii) {
        Add(TSeverity::Warning, path,
            "Before Windows 10 version 1903, a system whose code page lacks its characters shows "
            "the name with \"?\" and cannot open or install the entry.",
            fix);
      }
      return;
    }
    if (isAscii) return;
    if (!IsUtf8(name)) {
      Add(TSeverity::Warning, path,
          "The name is not UTF-8 (bytes of an old code page): the program shows it as \"" +
              RepairedUtf8(name) +
              "\", and what Windows names it depends on the tool that writes the disc or zip.",
          "Rename it in UTF-8.");
      return;
    }
    const std::string western = Utf8To1252(name);
    if (western.find('?') != std::string::npos) {
      const std::string lacked = CharsOf(name, [](char32_t c) {
        unsigned char byte = 0;
        return !ByteOf1252(c, byte);
      });
      Add(TSeverity::Warning, path,
          "Windows before 10 version 1903 shows the name as \"" + Utf8From1252(western) +
              "\" on a Western system, whose code page lacks " + lacked +
              ", and with \"?\" on every system whose code page lacks its characters; there the "
              "entry cannot be opened or installed.",
          fix);
    } else {
      // A Western system holds it; a Greek, Russian or Asian one before 1903 does not.
      Add(TSeverity::Note, path,
          "Windows before 10 version 1903 shows the name with \"?\" on a system whose code page "
          "lacks " +
              CharsOf(name, [](char32_t c) { return c >= 0x80; }) +
              ", a Greek or a Russian one, and cannot open or install the entry there.",
          fix);
    }
  }

  // An install entry's tree, as a copy into a typical target would write it.
  void CheckInstallTree(const std::string& folder, size_t relative, const std::string& entry) {
    const FindResult found = FindFiles(FFs, JoinPath(folder, "*"), faAnyFile);
    for (const DirEntry& file : found.Entries) {
      if (file.Name == "." || file.Name == "..") continue;
      const std::string path = JoinPath(folder, file.Name);
      const size_t inside = PathLength(path) - (PathLength(entry) + 1);
      const size_t target = PathLength(kTypicalTarget) + relative + inside;
      if (target > kMaxCopyPath) {
        Add(TSeverity::Warning, path,
            "Installed under " + std::string(kTypicalTarget) + ", its path is " +
                std::to_string(target) + " characters long, and the copy fails.",
            "Keep install trees shallow and names short: paths may not pass " +
                std::to_string(kMaxCopyPath) + " characters.");
      }
      // Nothing below a folder already too deep can be installed; and a tree that never ends (a
      // link to a folder above it) ends here.
      if ((file.Attr & faDirectory) == 0 || target > kMaxCopyPath) continue;
      if (!IsCopiedFolder(file)) {
        Add(TSeverity::Warning, path,
            "Not installed: hidden and system folders are left out of a copy.",
            "Clear the folder's hidden and system attributes.");
        continue;
      }
      CheckInstallTree(path, relative, entry);
    }
  }

  // Captions on the picture buttons, as the window measured and placed them: one wider than its
  // button spills over the picture's edges, and past the window's edge it is cut.
  void CheckCaptions(const TMainForm& form, const std::vector<TCheckedCategory>& categories) {
    // On a screen of 256 colours the buttons take the 256-colour skin's picture, at the same
    // scale; one that does not load is reported by CheckSkins.
    int32_t paletteWidth = 0;
    try {
      const Picture button =
          LoadPicture(JoinPath(JoinPath(FReport.Root, SkinFolderFor(8)), kButtonPicture));
      if (!button.IsEmpty() && form.QuitBtn->GetPicture() != nullptr &&
          form.QuitBtn->GetPicture()->Width > 0) {
        paletteWidth = form.QuitBtn->Width() * button.Width / form.QuitBtn->GetPicture()->Width;
      }
    } catch (const Exception&) {
    }
    for (int32_t slot = 1; slot <= form.CatCount(); ++slot) {
      const TLabel& label = *form.CatLabel(slot);
      const int32_t trueWidth = form.CatBtn(slot)->Width();
      const bool isPaletteOnly =
          label.Width() <= trueWidth && paletteWidth > 0 && label.Width() > paletteWidth;
      if (label.Width() <= trueWidth && !isPaletteOnly) continue;
      const int32_t buttonWidth = isPaletteOnly ? paletteWidth : trueWidth;
      const bool isCut = label.Left() < 0 || label.Left() + label.Width() > form.ClientWidth();
      const size_t fits = CharLength(ParseCaption(label.Caption()).Text) *
                          static_cast<size_t>(buttonWidth) / static_cast<size_t>(label.Width());
      Add(TSeverity::Warning, JoinPath(FReport.Root, form.CatName(slot)),
          "The category's caption is " + std::to_string(label.Width()) +
              " pixels wide, wider than its button (" + std::to_string(buttonWidth) + " pixels" +
              (isPaletteOnly ? " on screens of 256 colours" : "") + "): it spills over the button" +
              (isCut ? " and is cut at the window's edge." : "'s edges."),
          "Shorten the folder name to about " + std::to_string(fits) +
              " characters, or make the skin's butt.bmp wider.");
    }
    // The program's own captions: Quit, and those of the action buttons this medium shows.
    std::vector<std::string> captions = {ParseCaption(form.QuitLabel->Caption()).Text};
    for (const TCheckedCategory& category : categories) {
      if (category.ActsAtOnce.empty()) captions.push_back(category.Verb);
      if (category.ReadMe) captions.emplace_back("ReadMe");
      if (category.ViewMe) captions.emplace_back("ViewMe");
    }
    const int32_t buttonWidth = form.QuitBtn->Width();
    int32_t widest = 0;
    std::vector<std::string> wider;
    for (const std::string& caption : captions) {
      // As a label sizes itself to its caption.
      const int32_t labelWidth =
          Application().Backend().MeasureText(form.QuitLabel->Font(), caption).Width;
      if (caption.empty() || labelWidth <= buttonWidth ||
          std::find(wider.begin(), wider.end(), caption) != wider.end()) {
        continue;
      }
      wider.push_back(caption);
      widest = std::max(widest, labelWidth);
    }
    if (wider.empty()) return;
    Add(TSeverity::Warning, JoinPath(FReport.Skin, kButtonPicture),
        "Foyer's own captions on the buttons (" + FewOf(wider) + ") are up to " +
            std::to_string(widest) + " pixels wide, wider than the button (" +
            std::to_string(buttonWidth) + " pixels): they spill over its edges.",
        "Make the skin's butt.bmp at least " + std::to_string(widest) + " pixels wide.");
  }

  // autorun.inf at the medium's top, as Windows reads it when the medium is inserted.
  void CheckAutorun() {
    const std::string path = JoinPath(FReport.Root, "autorun.inf");
    if (!FFs.FileExists(path)) {
      Add(TSeverity::Note, path,
          "There is no autorun.inf: the medium does not start by itself when inserted.",
          "Add one whose [autorun] section names the program: open=bin.dat\\foyer.exe.");
      return;
    }
    // More than any autorun.inf holds.
    constexpr size_t kAutorunBytes = 64 * 1024;
    const std::string text = DecodeText(Head(path, kAutorunBytes));
    size_t lineEnds = 0, lfAlone = 0, crAlone = 0;
    for (size_t at = 0; at < text.size(); ++at) {
      if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
        ++lineEnds;
        ++at;
      } else if (text[at] == '\n' || text[at] == '\r') {
        ++lineEnds;
        ++(text[at] == '\n' ? lfAlone : crAlone);
      }
    }
    if (lfAlone + crAlone > 0) {
      const std::string alone = crAlone == 0   ? "LF alone (as Linux writes them)"
                                : lfAlone == 0 ? "CR alone (as old Macs wrote them)"
                                               : "LF alone or CR alone";
      Add(TSeverity::Warning, path,
          std::to_string(lfAlone + crAlone) + " of its " + std::to_string(lineEnds) +
              " line ends are " + alone +
              ", not CR LF: some versions of Windows read such an autorun.inf wrongly, and the "
              "medium may not start or show its icon and label.",
          "Save it with CR LF line ends (unix2dos autorun.inf, or Notepad).");
    }
    const TAutorun autorun = ParseAutorun(text);
    if (!autorun.HasSection) {
      Add(TSeverity::Warning, path,
          "It has no [autorun] section: Windows finds no program, icon or label in it.",
          "Begin it with the line [autorun], before open=, icon= and label=.");
      return;
    }
    const auto value = [&](const char* key) {
      const auto found = autorun.Values.find(key);
      return found == autorun.Values.end() ? nullptr : &found->second;
    };
    const auto isOnMedium = [&](const std::string& file) {
      return FFs.FileExists(JoinPath(FReport.Root, file));
    };
    if (const std::string* open = value("open"); open != nullptr && !isOnMedium(ProgramOf(*open))) {
      Add(TSeverity::Error, path,
          "open= names " + ProgramOf(*open) +
              ", which is not on the medium: nothing starts when it is inserted.",
          "Name the program as it lies from the medium's top (open=bin.dat\\foyer.exe).");
    }
    if (const std::string* icon = value("icon");
        icon != nullptr && !isOnMedium(IconFileOf(*icon))) {
      Add(TSeverity::Warning, path,
          "icon= names " + IconFileOf(*icon) +
              ", which is not on the medium: the drive shows its usual icon.",
          "Name the icon as it lies from the medium's top (icon=bin.dat\\foyer.exe,0).");
    }
    if (const std::string* label = value("label"); label != nullptr && CharLength(*label) > 32) {
      Add(TSeverity::Note, path,
          "label= is " + std::to_string(CharLength(*label)) +
              " characters long: Windows shows 32 of them at most.",
          "Keep the label within 32 characters.");
    }
  }

  // The files of a category that the program finds no kind for: neither notes nor of a kind
  // it knows by the extension (a name without one has none).
  std::vector<std::string> FilesOfNoKnownKind(const std::string& folder) {
    std::vector<std::string> names;
    const FindResult found = FindFiles(FFs, JoinPath(folder, "*"), faAnyFile);
    for (const DirEntry& entry : found.Entries) {
      if ((entry.Attr & faDirectory) == 0 && !IsReadmeName(entry.Name) &&
          KindOf(ExtensionOf(entry.Name)) == ckOther) {
        names.push_back(entry.Name);
      }
    }
    return names;
  }

 private:
  TReport& FReport;
  const TCheckOptions FOptions;
  IFileSystem& FFs;
};

// The program-wide values a check sets (the command line, the main form, the answer to modal
// windows), given back when it ends, however it ends; the forms it made are gone.
class TProgramGuard {
 public:
  TProgramGuard()
      : FArgs(ProgramArgs()), FMainForm(MainForm), FModalHook(Headless().ModalHook) {}
  ~TProgramGuard() {
    Application().DestroyForms();
    MainForm = FMainForm;
    Headless().ModalHook = FModalHook;
    ProgramArgs() = FArgs;
  }
  TProgramGuard(const TProgramGuard&) = delete;
  TProgramGuard& operator=(const TProgramGuard&) = delete;

 private:
  TProgramArgs FArgs;
  TMainForm* FMainForm;
  std::function<int32_t(TForm&)> FModalHook;
};

}  // namespace

TReport CheckMedium(const std::string& root, const TCheckOptions& options) {
  TReport report;
  const TProgramGuard guard;
  HeadlessBackend& headless = Headless();
  headless.Errors.clear();
  // Any window that comes up as modal is answered with Cancel.
  headless.ModalHook = [](TForm&) { return static_cast<int32_t>(mrCancel); };
  ProgramArgs() = {"foyer.exe", {root}};
  TRecordingActions actions;
  TMainForm* form = nullptr;
  const bool isStarted = Application().Dispatch([&] {
    Application().CreateForm(form);
    MainForm = form;
    form->SetEntryActions(&actions);
    headless.FireTimer(*form->InitTimer);
  });
  report.Root = RootDir;
  report.Skin = LayoutDir;
  TChecker checker(report, options);
  for (const std::string& error : headless.Errors)
    checker.Add(TSeverity::Error, report.Root, "At start-up the program shows: " + error,
                "Mend what the message names.");
  if (isStarted && form != nullptr) {
    for (int32_t slot = 1; slot <= form->CatCount(); ++slot) {
      TCheckedCategory category;
      category.Slot = slot;
      category.Folder = form->CatName(slot);
      const size_t errors = headless.Errors.size();
      const size_t done = actions.Calls.size();
      Application().Dispatch([&] { form->CatLabel(slot)->Click(); });
      category.Scan = form->LastScan();
      if (actions.Calls.size() > done) category.ActsAtOnce = DoneText(actions.Calls.back());
      if (category.Scan.Mode != lmNone) category.Verb = ActionVerb(category.Scan.Mode);
      if (category.Scan.Mode != lmNone && category.ActsAtOnce.empty()) {
        const TListOffer& offer = form->Offer();
        for (const TListedEntry& entry : offer.Entries)
          category.Rows.push_back(entry.Row);
        category.Entries = offer.Entries;
        category.ReadMe = offer.ReadMe;
        category.ViewMe = offer.ViewMe;
      }
      for (size_t i = errors; i < headless.Errors.size(); ++i) {
        checker.Add(TSeverity::Error, JoinPath(report.Root, category.Folder),
                    "A click shows: " + headless.Errors[i], "Mend what the message names.");
      }
      report.Categories.push_back(std::move(category));
    }
  }
  // A window that could not start has no categories to click: what each would offer still
  // comes from its folder, without the rows.
  if (report.Categories.empty() && !headless.Errors.empty()) {
    const FindResult found = FindFiles(*Platform().Fs, JoinPath(report.Root, "*"), faAnyFile);
    for (const DirEntry& entry : found.Entries) {
      if (LeftOutAsCategory(entry, static_cast<int32_t>(report.Categories.size())) !=
          TLeftOut::No) {
        continue;
      }
      TCheckedCategory category;
      category.Slot = static_cast<int32_t>(report.Categories.size()) + 1;
      category.Folder = entry.Name;
      category.Scan = ScanCategory(*Platform().Fs, JoinPath(report.Root, entry.Name));
      category.Verb = ActionVerb(category.Scan.Mode);
      report.Categories.push_back(std::move(category));
    }
    report.Remarks.push_back("The program could not start: each category shows what its folder "
                             "offers, without its rows.");
  }
  if (isStarted && form != nullptr) checker.CheckCaptions(*form, report.Categories);
  checker.CheckAutorun();
  checker.CheckSkins();
  checker.CheckTopFolders();
  for (const TCheckedCategory& category : report.Categories)
    checker.CheckCategory(category);
  return report;
}

uint64_t CheckedBytes(const std::string& name) {
  // As CheckFile, CheckReadme and CheckAutorun read them, and as the program reads pictures and
  // readmes.
  const TContentKind kind = KindOf(ExtensionOf(name));
  if (kind == ckBitmap || kind == ckText || IsReadmeName(name) || SameName(name, "autorun.inf"))
    return UINT64_MAX;
  if (kind == ckRichText || kind == ckWave || kind == ckVideo || kind == ckMidi) return kHeadBytes;
  return 0;
}

int ExitCodeOf(const TReport& report) {
  const bool hasError =
      std::any_of(report.Problems.begin(), report.Problems.end(),
                  [](const TProblem& problem) { return problem.Severity == TSeverity::Error; });
  return hasError ? 1 : 0;
}

}  // namespace foyer
