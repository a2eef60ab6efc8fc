// The drive chooser and the folder list: a drop-down of the drives present and the folders of
// one drive, linked so that the chooser shows the drive of the folder the list is in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/Component.h"

namespace foyer {

// The pictures the items show, kept in the program's resources under the names in brackets.
enum class TDriveImage : uint8_t { Floppy, Hard, Network, CdRom, Ram };  // FLOPPY, HARD, ...
enum class TFolderImage : uint8_t { Open, Current, Closed };  // OPENFOLDER, CURRENTFOLDER, ...

struct TDriveItem {
  char Letter = 'c';  // lower case
  TDriveImage Image = TDriveImage::Hard;
  std::string Text;
  bool operator==(const TDriveItem&) const = default;
};

// The item of a drive: "a:" for a removable drive, else the letter and a blank, then for a
// network drive its connection's name, and otherwise (or when it has none) the volume label in
// square brackets; all in lower case. Kinds without a picture are not listed: no item.
std::optional<TDriveItem> DriveItemOf(const DriveInfo& drive);

class TDirectoryListBox;

class TDriveComboBox : public TWinControl {
 public:
  explicit TDriveComboBox(TWinControl* parent);
  // Asks the system again which drives are present; the drive selected stays selected while it
  // is there.
  void BuildList();
  const std::vector<TDriveItem>& Items() const { return FItems; }
  int32_t ItemIndex() const { return FItemIndex; }
  // The selected drive's letter in lower case, or 0 when none is selected.
  char Drive() const;
  // Selects the drive's item, without raising OnChange; a letter not listed selects none.
  void SetDrive(char letter);

  // Raised when the user picked another drive.
  TNotifyEvent OnChange;
  // For backends and tests: the user picked an item.
  void UserSelect(int32_t index);

 private:
  std::vector<TDriveItem> FItems;
  int32_t FItemIndex = -1;
};

struct TFolderItem {
  std::string Text;
  TFolderImage Image = TFolderImage::Closed;
  int32_t Indent = 0;  // where the picture starts, in pixels from the left edge
  std::string Path;    // the folder the item opens
  bool operator==(const TFolderItem&) const = default;
};

// The folders of one drive: the path from the top folder down to the current folder, then the
// current folder's sub-folders. The current folder is always the process's current folder too.
class TDirectoryListBox : public TWinControl {
 public:
  explicit TDirectoryListBox(TWinControl* parent);
  // The current folder as the system gives it: a drive's top folder ends in a backslash, any
  // other folder does not. Empty until one was set.
  const std::string& Directory() const { return FDirectory; }
  // Makes the folder current (for the process as well), reads its sub-folders, selects its item,
  // moves the linked chooser to its drive and raises OnChange. A folder that cannot be made
  // current throws EInOutError with the system's code and changes nothing.
  void SetDirectory(const std::string& path);
  // Moves to the folder the process last had current on that drive (its top folder at first).
  void SetDrive(char letter);
  // The current folder's drive letter in lower case, or 0 before a folder was set.
  char Drive() const;
  // Reads the current folder's sub-folders again, and raises OnChange.
  void Reread();

  const std::vector<TFolderItem>& Items() const { return FItems; }
  int32_t ItemIndex() const { return FItemIndex; }
  int32_t ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int32_t value);
  void SetDriveCombo(TDriveComboBox* combo) { FDriveCombo = combo; }

  // Raised whenever the current folder was set or read again.
  TNotifyEvent OnChange;
  // For backends and tests: the user highlighted an item (a click, an arrow key).
  void UserSelect(int32_t index);
  // For backends and tests: the user opened an item (a double-click, Enter): its folder becomes
  // the current one.
  void OpenItem(int32_t index);

 private:
  void BuildItems();

  std::string FDirectory;
  std::vector<TFolderItem> FItems;
  int32_t FItemIndex = -1;
  int32_t FItemHeight = 16;
  TDriveComboBox* FDriveCombo = nullptr;
};

}  // namespace foyer
