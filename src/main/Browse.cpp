// Browsing a category: its scan rendered as the list, the rows, and the action bar.
#include <algorithm>
#include <memory>
#include <utility>

#include "main/EntryNotes.h"
#include "main/UMain.h"
#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "util/Errors.h"
#include "util/Path.h"
#include "util/TextReader.h"

namespace foyer {

namespace {

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

// The system's media device of a list that plays.
TMPDeviceType DeviceTypeOf(TPlayDevice device) {
  switch (device) {
    case TPlayDevice::WaveAudio:
      return TMPDeviceType::dtWaveAudio;
    case TPlayDevice::Sequencer:
      return TMPDeviceType::dtSequencer;
    case TPlayDevice::AVIVideo:
      return TMPDeviceType::dtAVIVideo;
    case TPlayDevice::None:
      break;
  }
  return TMPDeviceType::dtAutoSelect;
}

// What Action1, a double-click and a category's single entry do in a list mode.
TMainForm::TItemAction ActionOf(TListMode mode) {
  switch (mode) {
    case lmInstall:
      return &TMainForm::DoInstall;
    case lmPlay:
      return &TMainForm::DoPlay;
    case lmRun:
      return &TMainForm::DoRun;
    case lmShow:
      return &TMainForm::DoShowBmp;
    case lmViewTxt:
      return &TMainForm::DoViewTxt;
    case lmViewRtf:
      return &TMainForm::DoViewRtf;
    case lmNone:
      break;
  }
  return nullptr;
}

}  // namespace

const std::string& TMainForm::Item(int32_t row) const {
  return ListedEntry(row).Name;
}

const TListedEntry& TMainForm::ListedEntry(int32_t row) const {
  if (row < 0 || row >= ItemCount()) throw ERangeError();
  return FOffer.Entries[static_cast<size_t>(row)];
}

void TMainForm::CategoryClick(TComponent* sender) {
  const std::string folder = FCatNames[sender->Tag()];
  FLastScan = ScanCategory(*Platform().Fs, JoinPath(RootDir, folder));
  const TCategoryScan& scan = FLastScan;
  // A category with nothing to offer leaves the list on screen and all that describes it.
  const bool isListed = scan.Mode != lmNone && !ListCategory(folder, scan);
  TextBox->SetItemIndex(0);
  TextBoxClick(sender);
  if (!isListed) return;
  // A sighted user sees the new list fill; a screen reader's user hears what it is and how
  // long, while the focus stays on the category.
  const std::string caption = ParseCaption(FCatLabels[sender->Tag()]->Caption()).Text;
  TextBox->SetAccessibleName(caption);
  const int32_t count = TextBox->Count();
  Application().Backend().Announce(caption + ": " + std::to_string(count) +
                                   (count == 1 ? " entry" : " entries"));
}

bool TMainForm::ListCategory(const std::string& folder, const TCategoryScan& scan) {
  if (scan.Device != TPlayDevice::None) MPlay->SetDeviceType(DeviceTypeOf(scan.Device));
  std::string dir = JoinPath(RootDir, folder);
  AddBackslash(dir);
  // Outside install lists the zip mode stays as it was.
  const TListState listed{scan.Mode,
                          dir,
                          scan.SetsZipMode ? scan.ZipMode : FList.ZipMode,
                          scan.HasReadme,
                          scan.HasViewMe,
                          MPlay->DeviceType()};
  // One enumeration serves both the count of listable entries and the list itself.
  const FindResult found = FindFiles(*Platform().Fs, JoinPath(dir, "*." + scan.Filter), faAnyFile);
  const std::vector<const DirEntry*> entries =
      ListableEntries(found.Entries, scan.Mode == lmInstall && listed.ZipMode);

  if (entries.size() == 1) {
    ActAtOnce(listed, entries.front()->Name);
    return true;
  }
  ShowList(listed, found.Entries, entries, scan.Filter == "*");
  return false;
}

void TMainForm::ActAtOnce(const TListState& listed, const std::string& name) {
  // Acted on in its folder and with the category's notes; the list on screen and what describes
  // it stay, the media device included.
  struct ListBack {
    TMainForm& Form;
    TListState Shown;
    ~ListBack() {
      Form.FList = Shown;
      Form.MPlay->SetDeviceType(Shown.DeviceType);
    }
  } back{*this, FList};
  FList.CurDir = listed.CurDir;
  FList.ZipMode = listed.ZipMode;
  FList.HasReadme = listed.HasReadme;
  FList.HasViewMe = listed.HasViewMe;
  (this->*ActionOf(listed.Mode))(name);
}

void TMainForm::ShowList(const TListState& listed, const std::vector<DirEntry>& found,
                         const std::vector<const DirEntry*>& entries, bool isWholeFolder) {
  FList = listed;
  // When the enumeration saw every name of the folder, an entry's readme beside it is looked up
  // among those names instead of asked of the file system, which (under Wine at least) reads
  // the whole folder again for every name it does not find: quadratic in big folders.
  FFolderFiles.clear();
  FHasFolderFiles = isWholeFolder;
  if (FHasFolderFiles) {
    for (const DirEntry& entry : found) {
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
  for (const DirEntry* entry : entries) {
    if (AddItem(entry->Name, (entry->Attr & faDirectory) != 0)) FList.HasReadme = true;
    Update();
  }
  OfferNotes(FOffer, FList.HasReadme, FList.HasViewMe);
  if (FOffer.ReadMe) {
    ShowActionBtn("ReadMe", Action2Btn, Action2Label);
    if (FOffer.ViewMe) ShowActionBtn("ViewMe", Action3Btn, Action3Label);
  } else if (FOffer.ViewMe) {
    ShowActionBtn("ViewMe", Action2Btn, Action2Label);
  }
}

bool TMainForm::AddItem(const std::string& name, bool isFolder) {
  TListedEntry& entry = FOffer.Entries.emplace_back();
  entry = {name, ShownName(name), {}, false, isFolder, {}};
  const std::string& shown = entry.Shown;
  std::string description;
  bool hasReadme = false;
  try {
    std::unique_ptr<IReadFile> readme;
    const std::vector<std::string> files = DescriptionFiles(FList.CurDir, name, isFolder);
    for (size_t i = 0; i < files.size() && !readme; ++i) {
      // The readme beside the entry is looked for among the folder's names first, when the
      // listing saw them all.
      const bool isBeside = i == 0;
      if (isBeside && FHasFolderFiles &&
          FFolderFiles.count(LowerStr(files[i].substr(FList.CurDir.size()))) == 0) {
        continue;
      }
      readme = OpenIfFile(files[i]);
    }
    hasReadme = readme != nullptr;
    if (hasReadme) description = ReadFirstLine(std::move(readme));
    entry.Description = description;
    entry.HasDescription = hasReadme;
  } catch (...) {
    // A readme that cannot be read ends the listing; the entry's row stays, with its bare name.
    entry.Row = name;
    TextBox->AddRow(entry.Row);
    throw;
  }
  entry.Row = hasReadme ? RowText(shown, description) : shown;
  TextBox->AddRow(entry.Row);
  return hasReadme;
}

void TMainForm::UpdateActionBar() {
  Action2Btn->Hide();
  Action2Label->Hide();
  Action3Btn->Hide();
  Action3Label->Hide();
  TextPanel->Show();
  TextBox->Clear();
  FOffer = {FList.Mode, {}, false, false};
  Action1Btn->Show();
  Action1Label->SetCaption(ActionVerb(FList.Mode));
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
  if (const TItemAction action = ActionOf(FList.Mode)) (this->*action)(name);
}

void TMainForm::Action2BtnClick(TComponent*) {
  const int32_t row = TextBox->ItemIndex();
  const std::string name = row < 0 ? std::string() : Item(row);
  if (FList.Mode != lmInstall) return;
  if (FList.HasReadme) {
    ShowItemReadme(name);
  } else {
    ShowItemViewMe(name);
  }
}

void TMainForm::Action3BtnClick(TComponent*) {
  const int32_t row = TextBox->ItemIndex();
  const std::string name = row < 0 ? std::string() : Item(row);
  if (FList.Mode == lmInstall) ShowItemViewMe(name);
}

void TMainForm::TextBoxClick(TComponent*) {
  const int32_t row = TextBox->ItemIndex();
  if (row < 0) return;
  const std::string& name = Item(row);
  const auto anyExists = [](const std::vector<std::string>& files) {
    return std::any_of(files.begin(), files.end(), FileExists);
  };
  const bool hasReadme =
      FList.HasReadme && anyExists(ReadmeCaptionFiles(FList.CurDir, name, FList.ZipMode));
  const bool hasViewMe =
      FList.HasViewMe && anyExists(ViewMeCaptionFiles(FList.CurDir, name, FList.ZipMode));
  if (FList.HasReadme) {
    Action2Label->SetEnabled(hasReadme);
    if (FList.HasViewMe) Action3Label->SetEnabled(hasViewMe);
  } else if (FList.HasViewMe) {
    Action2Label->SetEnabled(hasViewMe);
  }
}

void TMainForm::BackImageDblClick(TComponent*) {
  TextPanel->Show();
}

TEntryRef TMainForm::Entry(const std::string& name) const {
  return {FList.CurDir, name, FList.ZipMode, FList.HasReadme};
}

void TMainForm::SetEntryActions(IEntryActions* actions) {
  FActions = actions != nullptr ? actions : FWindowActions.get();
}

void TMainForm::DoInstall(const std::string& name) {
  FActions->Install(Entry(name));
}

void TMainForm::DoPlay(const std::string& name) {
  FActions->Play(Entry(name), MPlay->DeviceType());
}

void TMainForm::DoRun(const std::string& name) {
  FActions->Run(Entry(name));
}

void TMainForm::DoShowBmp(const std::string& name) {
  FActions->ShowPicture(Entry(name));
}

void TMainForm::DoViewTxt(const std::string& name) {
  FActions->ViewText(Entry(name));
}

void TMainForm::DoViewRtf(const std::string& name) {
  FActions->ViewRichText(Entry(name));
}

void TMainForm::ShowItemReadme(const std::string& name) {
  FActions->ShowNotes(Entry(name));
}

void TMainForm::ShowItemViewMe(const std::string& name) {
  FActions->ShowPreview(Entry(name));
}

}  // namespace foyer
