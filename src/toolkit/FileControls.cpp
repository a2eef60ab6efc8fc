// The drive chooser and the folder list.
#include "toolkit/FileControls.h"

#include <algorithm>

#include "util/Checked.h"
#include "util/Errors.h"
#include "util/Path.h"

namespace foyer {

namespace {

char LowerLetter(char letter) {
  return (letter >= 'A' && letter <= 'Z') ? static_cast<char>(letter - 'A' + 'a') : letter;
}

std::string Bracketed(const std::string& label) {
  return "[" + label + "]";
}

// The length of the top folder at the start of a path: "C:\" or "\\server\share\".
size_t RootLength(const std::string& path) {
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t server = path.find('\\', 2);
    if (server == std::string::npos) return path.size();
    const size_t share = path.find('\\', server + 1);
    return share == std::string::npos ? path.size() : share + 1;
  }
  return std::min<size_t>(path.size(), 3);
}

// A name on the path as the volume stores it; the system keeps the current folder in the case
// it was typed.
std::string StoredName(IFileSystem& fs, const std::string& path, const std::string& typed) {
  const FindResult found = fs.Enumerate(path);
  if (found.Error == kErrNone && found.Entries.size() == 1 &&
      (found.Entries.front().Attr & faDirectory) != 0 &&
      SameName(found.Entries.front().Name, typed)) {
    return found.Entries.front().Name;
  }
  return typed;
}

}  // namespace

std::optional<TDriveItem> DriveItemOf(const DriveInfo& drive) {
  TDriveItem item;
  item.Letter = LowerLetter(drive.Letter);
  std::string text{drive.Letter, ':'};
  switch (drive.Kind) {
    case DriveKind::Removable:
      item.Image = TDriveImage::Floppy;
      break;
    case DriveKind::Fixed:
      item.Image = TDriveImage::Hard;
      text += " " + Bracketed(drive.Label);
      break;
    case DriveKind::Remote:
      item.Image = TDriveImage::Network;
      text += " " + (drive.ConnectionName.empty() ? Bracketed(drive.Label) : drive.ConnectionName);
      break;
    case DriveKind::CdRom:
      item.Image = TDriveImage::CdRom;
      text += " " + Bracketed(drive.Label);
      break;
    case DriveKind::RamDisk:
      item.Image = TDriveImage::Ram;
      text += " " + Bracketed(drive.Label);
      break;
    default:
      return std::nullopt;
  }
  item.Text = LowerStr(text);
  return item;
}

TDriveComboBox::TDriveComboBox(TWinControl* parent) : TWinControl(parent) {
  SetColor(clWindow);
  StoreBounds(0, 0, 145, 19);
}

void TDriveComboBox::BuildList() {
  const char selected = Drive();
  FItems.clear();
  FItemIndex = -1;
  for (const DriveInfo& drive : Platform().Fs->Drives()) {
    if (auto item = DriveItemOf(drive)) FItems.push_back(std::move(*item));
  }
  Changed(TChange::RowsCleared);
  SetDrive(selected);
}

char TDriveComboBox::Drive() const {
  return FItemIndex >= 0 ? FItems[static_cast<size_t>(FItemIndex)].Letter : 0;
}

void TDriveComboBox::SetDrive(char letter) {
  const char lower = LowerLetter(letter);
  const auto found = std::find_if(FItems.begin(), FItems.end(),
                                  [lower](const TDriveItem& item) { return item.Letter == lower; });
  FItemIndex = found == FItems.end() ? -1 : CheckedInt32(found - FItems.begin());
  Changed(TChange::Selection, FItemIndex);
}

void TDriveComboBox::UserSelect(int32_t index) {
  if (index < 0 || index >= CheckedInt32(FItems.size()) || index == FItemIndex) return;
  FItemIndex = index;
  if (OnChange) OnChange(this);
}

TDirectoryListBox::TDirectoryListBox(TWinControl* parent) : TWinControl(parent) {
  SetColor(clWindow);
  StoreBounds(0, 0, 145, 97);
}

char TDirectoryListBox::Drive() const {
  if (FDirectory.size() < 2 || FDirectory[1] != ':') return 0;
  return LowerLetter(FDirectory[0]);
}

void TDirectoryListBox::SetDirectory(const std::string& path) {
  IFileSystem& fs = *Platform().Fs;
  const uint32_t error = fs.SetCurrentDir(path);
  if (error != kErrNone) throw EInOutError(static_cast<int>(error));
  FDirectory = fs.GetCurrentDir();
  if (FDriveCombo != nullptr && Drive() != 0 && Drive() != FDriveCombo->Drive()) {
    FDriveCombo->SetDrive(Drive());
  }
  Reread();
}

void TDirectoryListBox::SetDrive(char letter) {
  SetDirectory(Platform().Fs->GetCurrentDir(letter));
}

void TDirectoryListBox::Reread() {
  BuildItems();
  if (OnChange) OnChange(this);
}

void TDirectoryListBox::SetItemHeight(int32_t value) {
  FItemHeight = value;
  Changed(TChange::Style);
}

void TDirectoryListBox::UserSelect(int32_t index) {
  FItemIndex = index >= 0 && index < CheckedInt32(FItems.size()) ? index : -1;
}

void TDirectoryListBox::OpenItem(int32_t index) {
  if (index < 0 || index >= CheckedInt32(FItems.size())) return;
  // A copy: setting the folder rebuilds the items.
  const std::string path = FItems[static_cast<size_t>(index)].Path;
  SetDirectory(path);
}

void TDirectoryListBox::BuildItems() {
  IFileSystem& fs = *Platform().Fs;
  FItems.clear();
  FItemIndex = -1;
  const std::string& dir = FDirectory;
  const DriveInfo drive = Drive() != 0 ? fs.DriveOf(Drive()) : DriveInfo{};
  // A volume that neither keeps nor tells apart the case of names (an old FAT disk) stores them
  // in capitals; they read better in lower case.
  const bool isLowerCased = !drive.IsCasePreserved && !drive.IsCaseSensitive;
  const auto shown = [isLowerCased](const std::string& name) {
    return isLowerCased ? LowerStr(name) : name;
  };

  // The path: the top folder, then every folder down to the current one.
  const size_t rootLength = RootLength(dir);
  std::string root = dir.substr(0, rootLength);
  if (root.size() >= 2 && root[1] == ':') root[0] = LowerLetter(root[0]);
  FItems.push_back({root, TFolderImage::Open, 2, dir.substr(0, rootLength)});
  size_t start = rootLength;
  int32_t depth = 0;
  while (start < dir.size()) {
    size_t end = dir.find('\\', start);
    if (end == std::string::npos) end = dir.size();
    const std::string path = dir.substr(0, end);
    const std::string name = StoredName(fs, path, dir.substr(start, end - start));
    depth = CheckedAdd(depth, 1);
    FItems.push_back({shown(name), TFolderImage::Open, CheckedAdd(CheckedMul(4, depth), 2), path});
    start = end + 1;
  }
  FItems.back().Image = TFolderImage::Current;
  FItemIndex = CheckedInt32(FItems.size()) - 1;

  // The sub-folders, by name without regard to case; hidden and system ones are left out.
  struct Sub {
    std::string Key;
    std::string Name;
  };
  std::vector<Sub> subs;
  const FindResult found = FindFiles(fs, JoinPath(dir, "*"), faDirectory);
  for (const DirEntry& entry : found.Entries) {
    if ((entry.Attr & faDirectory) == 0 || entry.Name == "." || entry.Name == "..") continue;
    subs.push_back({LowerStr(entry.Name), entry.Name});
  }
  std::sort(subs.begin(), subs.end(), [](const Sub& a, const Sub& b) {
    return a.Key != b.Key ? a.Key < b.Key : a.Name < b.Name;
  });
  const int32_t backslashes = CheckedInt32(std::count(dir.begin(), dir.end(), '\\'));
  const int32_t subIndent = CheckedAdd(CheckedMul(4, backslashes), 6);
  for (const Sub& sub : subs) {
    FItems.push_back({shown(sub.Name), TFolderImage::Closed, subIndent, JoinPath(dir, sub.Name)});
  }
  Changed(TChange::RowsCleared);
  Changed(TChange::Selection, FItemIndex);
}

}  // namespace foyer
