// Browsing a category: the scan that chooses a mode, the listing, and the action bar.
#include <algorithm>
#include <memory>
#include <utility>

#include "main/UMain.h"
#include "platform/Platform.h"
#include "util/Errors.h"
#include "util/Path.h"
#include "util/TextReader.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowRtf.h"
#include "viewers/ShowTxt.h"

namespace foyer {

namespace {

// The part of a name after its first dot, lower-cased; empty without a dot.
std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : LowerStr(name.substr(dot + 1));
}

// Readme and preview material is never an entry of its own.
bool IsListable(const std::string& name) {
  if (name == "." || name == "..") return false;
  const std::string lower = LowerStr(name);
  if (lower == "readme.txt" || lower == "viewme.bmp" || lower == "readme") return false;
  const size_t lastDot = lower.rfind('.');
  return lastDot == std::string::npos || lower.substr(lastDot) != ".readme";
}

// The lower-cased stems (name up to and including the first dot) of the zip files of a folder;
// stem + "bmp" and stem + "txt" are a zip's preview and notes.
std::vector<std::string> ZipStems(const std::vector<DirEntry>& entries) {
  std::vector<std::string> stems;
  for (const DirEntry& entry : entries) {
    if ((entry.Attr & faDirectory) != 0 || ExtensionOf(entry.Name) != "zip") continue;
    stems.push_back(LowerStr(entry.Name.substr(0, entry.Name.find('.') + 1)));
  }
  return stems;
}

bool IsZipCompanion(const std::vector<std::string>& zipStems, const std::string& name,
                    const char* extension) {
  const std::string lower = LowerStr(name);
  return std::any_of(zipStems.begin(), zipStems.end(),
                     [&](const std::string& stem) { return lower == stem + extension; });
}

bool FileExists(const std::string& path) {
  return Platform().Fs->FileExists(path);
}

// The file opened, or null when there is no file of that name (a folder of that name is none).
// Opening stands in for testing first: one call to the file system instead of two, each a seek
// on a disc. Only an open that fails for another reason than a missing name asks whether the
// file is there; a file that is there but cannot be opened is an I/O error, as reading it is.
std::unique_ptr<IReadFile> OpenIfFile(const std::string& path) {
  IFileSystem& fs = *Platform().Fs;
  uint32_t error = kErrNone;
  std::unique_ptr<IReadFile> file = fs.OpenRead(path, error);
  if (file || error == kErrFileNotFound || error == kErrPathNotFound) return file;
  if (fs.FileExists(path)) throw EInOutError(static_cast<int>(error));
  return nullptr;
}

// Gives a value back its old content when the scope ends, also on an error.
template <typename T>
class Restore {
 public:
  Restore(T& target, T saved) : FTarget(target), FSaved(std::move(saved)) {}
  ~Restore() { FTarget = std::move(FSaved); }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

 private:
  T& FTarget;
  T FSaved;
};

}  // namespace

std::string ActionVerb(TListMode mode) {
  switch (mode) {
    case lmInstall:
      return "Install";
    case lmPlay:
      return "Play";
    case lmRun:
      return "Run";
    case lmShow:
      return "Show";
    case lmViewTxt:
    case lmViewRtf:
      return "View";
    case lmNone:
      break;
  }
  return {};
}

const std::string& TMainForm::Item(int32_t row) const {
  if (row < 0 || row >= CheckedInt32(FItems.size())) throw ERangeError();
  return FItems[static_cast<size_t>(row)];
}

void TMainForm::CategoryClick(TComponent* sender) {
  const std::string folder = FCatNames[sender->Tag()];
  const std::string categoryDir = JoinPath(RootDir, folder);
  const bool savedReadme = FHasReadme;
  const bool savedViewMe = FHasViewMe;
  const bool savedZipMode = FZipMode;

  bool subFolder = false, wave = false, midi = false, program = false, bitmap = false;
  bool text = false, richText = false, zip = false, video = false, other = false;
  // A zip's notes and preview beside it count only for a list of zips: the lookups of a list of
  // folders look inside the entries alone.
  bool zipReadme = false, zipViewMe = false;
  FHasReadme = false;
  FHasViewMe = false;

  IFileSystem& fs = *Platform().Fs;
  const FindResult found = FindFiles(fs, JoinPath(categoryDir, "*.*"), faAnyFile);
  const std::vector<std::string> zipStems = ZipStems(found.Entries);
  for (const DirEntry& entry : found.Entries) {
    const std::string& name = entry.Name;
    if ((entry.Attr & faDirectory) != 0) {
      if (name == "." || name == "..") continue;
      subFolder = true;
      // A flag once raised stays: no further folder is asked about it.
      const std::string sub = JoinPath(categoryDir, name);
      if (!FHasReadme && fs.FileExists(JoinPath(sub, "readme.txt"))) FHasReadme = true;
      if (!FHasViewMe && fs.FileExists(JoinPath(sub, "viewme.bmp"))) FHasViewMe = true;
      continue;
    }
    const std::string lower = LowerStr(name);
    if (name.find('.') == std::string::npos) {
      if (lower == "readme") {
        FHasReadme = true;
      } else {
        other = true;
      }
      continue;
    }
    const std::string ext = ExtensionOf(name);
    if (ext == "wav") {
      wave = true;
    } else if (ext == "mid") {
      midi = true;
    } else if (ext == "exe" || ext == "bat") {
      program = true;
    } else if (ext == "bmp") {
      // A zip's preview beside it is preview material, not a picture to show.
      if (lower == "viewme.bmp") {
        FHasViewMe = true;
      } else if (IsZipCompanion(zipStems, name, "bmp")) {
        zipViewMe = true;
      } else {
        bitmap = true;
      }
    } else if (ext == "txt") {
      if (lower == "readme.txt") {
        FHasReadme = true;
      } else if (IsZipCompanion(zipStems, name, "txt")) {
        zipReadme = true;
      } else {
        text = true;
      }
    } else if (ext == "rtf") {
      richText = true;
    } else if (ext == "zip") {
      zip = true;
    } else if (ext == "avi") {
      video = true;
    } else if (ext == "readme") {
      FHasReadme = true;
    } else {
      other = true;
    }
  }

  const int count = wave + midi + program + bitmap + text + richText + zip + video;
  if (!subFolder) {
    FHasReadme = FHasReadme || zipReadme;
    FHasViewMe = FHasViewMe || zipViewMe;
  }
  if (subFolder) {
    FZipMode = false;
    StartInstall(folder, savedReadme, savedViewMe, savedZipMode);
  } else if (program && count == 1) {
    StartRun(folder, savedReadme, savedViewMe, savedZipMode);
  } else if (count == 1 && !other) {
    if (wave) StartWav(folder, savedReadme, savedViewMe, savedZipMode);
    if (midi) StartMid(folder, savedReadme, savedViewMe, savedZipMode);
    if (bitmap) StartBmp(folder, savedReadme, savedViewMe, savedZipMode);
    if (text) StartTxt(folder, savedReadme, savedViewMe, savedZipMode);
    if (richText) StartRtf(folder, savedReadme, savedViewMe, savedZipMode);
    if (video) StartAvi(folder, savedReadme, savedViewMe, savedZipMode);
    if (zip) {
      FZipMode = true;
      StartInstall(folder, savedReadme, savedViewMe, savedZipMode);
    }
  } else {
    // Nothing to offer: the list on screen and everything that describes it stay as they were.
    FHasReadme = savedReadme;
    FHasViewMe = savedViewMe;
  }

  TextBox->SetItemIndex(0);
  TextBoxClick(sender);
}

void TMainForm::StartInstall(const std::string& folder, bool savedReadme, bool savedViewMe,
                             bool savedZipMode) {
  if (ListFolder(folder, lmInstall, "*", &TMainForm::DoInstall, savedReadme, savedViewMe,
                 savedZipMode)) {
    return;
  }
  if (FHasReadme) {
    ShowActionBtn("ReadMe", Action2Btn, Action2Label);
    if (FHasViewMe) ShowActionBtn("ViewMe", Action3Btn, Action3Label);
  } else if (FHasViewMe) {
    ShowActionBtn("ViewMe", Action2Btn, Action2Label);
  }
}

void TMainForm::StartWav(const std::string& folder, bool savedReadme, bool savedViewMe,
                         bool savedZipMode) {
  MPlay->SetDeviceType(TMPDeviceType::dtWaveAudio);
  ListFolder(folder, lmPlay, "wav", &TMainForm::DoPlay, savedReadme, savedViewMe, savedZipMode);
}

void TMainForm::StartMid(const std::string& folder, bool savedReadme, bool savedViewMe,
                         bool savedZipMode) {
  MPlay->SetDeviceType(TMPDeviceType::dtSequencer);
  ListFolder(folder, lmPlay, "Mid", &TMainForm::DoPlay, savedReadme, savedViewMe, savedZipMode);
}

void TMainForm::StartAvi(const std::string& folder, bool savedReadme, bool savedViewMe,
                         bool savedZipMode) {
  MPlay->SetDeviceType(TMPDeviceType::dtAVIVideo);
  ListFolder(folder, lmPlay, "avi", &TMainForm::DoPlay, savedReadme, savedViewMe, savedZipMode);
}

void TMainForm::StartRun(const std::string& folder, bool savedReadme, bool savedViewMe,
                         bool savedZipMode) {
  ListFolder(folder, lmRun, "*", &TMainForm::DoRun, savedReadme, savedViewMe, savedZipMode);
}

void TMainForm::StartBmp(const std::string& folder, bool savedReadme, bool savedViewMe,
                         bool savedZipMode) {
  ListFolder(folder, lmShow, "bmp", &TMainForm::DoShowBmp, savedReadme, savedViewMe, savedZipMode);
}

void TMainForm::StartTxt(const std::string& folder, bool savedReadme, bool savedViewMe,
                         bool savedZipMode) {
  ListFolder(folder, lmViewTxt, "txt", &TMainForm::DoViewTxt, savedReadme, savedViewMe,
             savedZipMode);
}

void TMainForm::StartRtf(const std::string& folder, bool savedReadme, bool savedViewMe,
                         bool savedZipMode) {
  ListFolder(folder, lmViewRtf, "rtf", &TMainForm::DoViewRtf, savedReadme, savedViewMe,
             savedZipMode);
}

bool TMainForm::ListFolder(const std::string& folder, TListMode mode, const std::string& ext,
                           TItemAction action, bool savedReadme, bool savedViewMe,
                           bool savedZipMode) {
  std::string dir = JoinPath(RootDir, folder);
  AddBackslash(dir);
  // One enumeration serves both the count of listable entries and the list itself.
  const FindResult found = FindFiles(*Platform().Fs, JoinPath(dir, "*." + ext), faAnyFile);
  const bool isZipList = mode == lmInstall && FZipMode;
  const std::vector<std::string> zipStems =
      isZipList ? ZipStems(found.Entries) : std::vector<std::string>();
  std::vector<const DirEntry*> listable;
  for (const DirEntry& entry : found.Entries) {
    if (!IsListable(entry.Name)) continue;
    if (isZipList && (IsZipCompanion(zipStems, entry.Name, "bmp") ||
                      IsZipCompanion(zipStems, entry.Name, "txt"))) {
      continue;
    }
    listable.push_back(&entry);
  }

  if (listable.size() == 1) {
    // The single entry is acted on at once; the list on screen and what describes it stay.
    Restore<std::string> curDirBack(FCurDir, FCurDir);
    Restore<bool> readmeBack(FHasReadme, savedReadme);
    Restore<bool> viewMeBack(FHasViewMe, savedViewMe);
    Restore<bool> zipModeBack(FZipMode, savedZipMode);
    // The media device follows the list on screen, not the file played at once.
    struct DeviceTypeBack {
      TMediaPlayer& Player;
      TMPDeviceType Listed;
      ~DeviceTypeBack() { Player.SetDeviceType(Listed); }
    } deviceTypeBack{*MPlay, FListDeviceType};
    FCurDir = dir;
    (this->*action)(listable.front()->Name);
    return true;
  }

  FMode = mode;
  FCurDir = dir;
  FListDeviceType = MPlay->DeviceType();
  // When the enumeration saw every name of the folder, an entry's readme beside it is looked up
  // among those names instead of asked of the file system, which (under Wine at least) reads
  // the whole folder again for every name it does not find: quadratic in big folders.
  FFolderFiles.clear();
  FHasFolderFiles = ext == "*";
  if (FHasFolderFiles) {
    for (const DirEntry& entry : found.Entries) {
      if ((entry.Attr & faDirectory) == 0) FFolderFiles.insert(LowerStr(entry.Name));
    }
  }
  struct FolderFilesBack {
    TMainForm& Form;
    ~FolderFilesBack() {
      Form.FHasFolderFiles = false;
      Form.FFolderFiles.clear();
    }
  } folderFilesBack{*this};
  UpdateActionBar();
  // The viewme flag needs no test per row: the category's scan, which always comes first, tested
  // every folder of the category for its viewme.bmp until one had it, and a file entry never
  // holds one.
  for (const DirEntry* entry : listable) {
    if (AddItem(entry->Name, (entry->Attr & faDirectory) != 0)) FHasReadme = true;
    Update();
  }
  return false;
}

bool TMainForm::AddItem(const std::string& name, bool isFolder) {
  const int32_t row = TextBox->Count();
  if (row == CheckedInt32(FItems.size())) {
    FItems.push_back(name);
  } else {
    FItems.at(static_cast<size_t>(row)) = name;
  }
  const std::string path = JoinPath(FCurDir, name);
  const size_t nameStart = path.find_last_of('\\') + 1;
  const size_t dot = path.find('.', nameStart);
  const std::string stem = dot == std::string::npos ? path : path.substr(0, dot);
  const std::string shown = stem.substr(stem.find_last_of("\\:") + 1);

  // The entry's own readme beside it, then, for a folder, a readme inside it: nothing lies
  // inside a file.
  const std::string beside = stem + ".readme";
  const bool isBesideKnown = FHasFolderFiles && beside.compare(0, FCurDir.size(), FCurDir) == 0;
  std::string description;
  bool hasReadme = false;
  try {
    std::unique_ptr<IReadFile> readme;
    if (!isBesideKnown || FFolderFiles.count(LowerStr(beside.substr(FCurDir.size()))) != 0) {
      readme = OpenIfFile(beside);
    }
    if (!readme && isFolder) readme = OpenIfFile(JoinPath(path, "readme"));
    if (!readme && isFolder) readme = OpenIfFile(JoinPath(path, "readme.txt"));
    hasReadme = readme != nullptr;
    if (hasReadme) description = ReadFirstLine(std::move(readme));
  } catch (...) {
    // A readme that cannot be read ends the listing; the entry's row stays, with its bare name.
    TextBox->AddRow(name);
    throw;
  }
  if (!hasReadme) {
    TextBox->AddRow(shown);
    return false;
  }
  std::string text = shown;
  if (text.size() < 10) text.resize(10, ' ');
  TextBox->AddRow(text + " " + description);
  return true;
}

void TMainForm::UpdateActionBar() {
  Action2Btn->Hide();
  Action2Label->Hide();
  Action3Btn->Hide();
  Action3Label->Hide();
  TextPanel->Show();
  TextBox->Clear();
  Action1Btn->Show();
  Action1Label->SetCaption(ActionVerb(FMode));
  CenterLabel(*Action1Btn, *Action1Label);
  Action1Label->Show();
}

void TMainForm::ShowActionBtn(const std::string& caption, TImage* button, TLabel* label) {
  button->Show();
  label->SetCaption(caption);
  CenterLabel(*button, *label);
  label->Show();
}

void TMainForm::Action1BtnClick(TComponent*) {
  const int32_t row = TextBox->ItemIndex();
  if (row < 0) return;
  const std::string name = Item(row);
  switch (FMode) {
    case lmInstall:
      DoInstall(name);
      break;
    case lmPlay:
      DoPlay(name);
      break;
    case lmRun:
      DoRun(name);
      break;
    case lmShow:
      DoShowBmp(name);
      break;
    case lmViewTxt:
      DoViewTxt(name);
      break;
    case lmViewRtf:
      DoViewRtf(name);
      break;
    case lmNone:
      break;
  }
}

void TMainForm::Action2BtnClick(TComponent*) {
  const int32_t row = TextBox->ItemIndex();
  const std::string name = row < 0 ? std::string() : Item(row);
  if (FMode != lmInstall) return;
  if (FHasReadme) {
    ShowItemReadme(name);
  } else {
    ShowItemViewMe(name);
  }
}

void TMainForm::Action3BtnClick(TComponent*) {
  const int32_t row = TextBox->ItemIndex();
  const std::string name = row < 0 ? std::string() : Item(row);
  if (FMode == lmInstall) ShowItemViewMe(name);
}

void TMainForm::TextBoxClick(TComponent*) {
  const int32_t row = TextBox->ItemIndex();
  if (row < 0) return;
  const std::string& name = Item(row);
  const std::string entry = JoinPath(FCurDir, name);
  // Only a list of zips looks beside an entry; in a list of folders, and for a name without a
  // dot, only the files inside the entry count, as in the lookups the buttons run.
  const size_t dot = name.find('.');
  const bool hasStem = FZipMode && dot != std::string::npos;
  const std::string stem = hasStem ? JoinPath(FCurDir, name.substr(0, dot + 1)) : std::string();

  const bool hasReadme =
      FHasReadme && (FileExists(JoinPath(entry, "readme.txt")) ||
                     (hasStem && (FileExists(stem + "txt") || FileExists(stem + "readme"))));
  const bool hasViewMe = FHasViewMe && (FileExists(JoinPath(entry, "viewme.bmp")) ||
                                        (hasStem && FileExists(stem + "bmp")));
  if (FHasReadme) {
    Action2Label->SetEnabled(hasReadme);
    if (FHasViewMe) Action3Label->SetEnabled(hasViewMe);
  } else if (FHasViewMe) {
    Action2Label->SetEnabled(hasViewMe);
  }
}

void TMainForm::BackImageDblClick(TComponent*) {
  TextPanel->Show();
}

void TMainForm::DoShowBmp(const std::string& name) {
  ShowBmpForm->ShowFile(JoinPath(FCurDir, name));
}

void TMainForm::DoViewTxt(const std::string& name) {
  ShowTxtForm->ShowFile(JoinPath(FCurDir, name));
}

void TMainForm::DoViewRtf(const std::string& name) {
  ShowRtfForm->ShowFile(JoinPath(FCurDir, name));
}

}  // namespace foyer
