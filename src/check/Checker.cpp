// The medium checker: the main window run headless, and the medium's files looked through.
#include "check/Checker.h"

#include <algorithm>
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

class TChecker {
 public:
  explicit TChecker(TReport& report) : FReport(report), FFs(*Platform().Fs) {}

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
        return "A click does nothing: beside its " + KindsText(category.Scan.Kinds) +
               ", the folder holds files of no known kind.";
      }();
      Add(TSeverity::Error, folder, seen,
          "Keep one kind of content per folder (see the guide's table of what a category offers).");
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
      Add(TSeverity::Warning, path,
          "Windows before 10 version 1903 shows the name as \"" + Utf8From1252(western) +
              "\" on a Western system, and with \"?\" on every system whose code page lacks its "
              "characters; there the entry cannot be opened or installed.",
          fix);
    } else {
      // A Western system holds it; a Greek, Russian or Asian one before 1903 does not.
      Add(TSeverity::Note, path,
          "Windows before 10 version 1903 shows the name with \"?\" on a system whose code page "
          "lacks its characters (a Greek or a Russian one), and cannot open or install the entry "
          "there.",
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

 private:
  TReport& FReport;
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

TReport CheckMedium(const std::string& root) {
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
  TChecker checker(report);
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
  checker.CheckSkins();
  checker.CheckTopFolders();
  for (const TCheckedCategory& category : report.Categories)
    checker.CheckCategory(category);
  return report;
}

uint64_t CheckedBytes(const std::string& name) {
  // As CheckFile and CheckReadme read them, and as the program reads pictures and readmes.
  const TContentKind kind = KindOf(ExtensionOf(name));
  if (kind == ckBitmap || kind == ckText || IsReadmeName(name)) return UINT64_MAX;
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
