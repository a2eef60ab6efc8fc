// The main window: start-up, skin, category buttons, layout, and the browsing state. Its
// members are defined across main/:
//   UMain.cpp      start-up (the content root, the skin), the category buttons and the layout
//   Browse.cpp     a category click rendered as its list, the rows, the action bar, and the
//                  hand-over of each action to the entry actions
// Beside it:
//   Catalogue.h    the decisions about a category's files (kinds, mode, filter, flags, rows)
//                  and what a list offers, free of windows
//   EntryNotes.h   the files an entry's notes and preview are looked for in, for every use
//   EntryActions.h acting on an entry, and the window program's way of doing it, defined in
//                  Install.cpp (install dialog, copy, progress, alert), Launch.cpp (play, run)
//                  and ItemNotes.cpp (viewers, ReadMe, ViewMe)
//   Program.h      the program's start and end
// Outside main/: check/Checker.cpp runs this window headless over a medium, clicks every category
// and reads what each list offers (foyer-check), its actions recorded.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "main/Catalogue.h"
#include "main/EntryActions.h"
#include "toolkit/Form.h"
#include "util/Checked.h"

namespace foyer {

// What the list on screen shows, as one value: saved and given back whole when a category's
// single entry is acted on at once.
struct TListState {
  TListMode Mode = lmNone;
  // The listed folder, with its trailing backslash.
  std::string CurDir;
  bool ZipMode = false;
  bool HasReadme = false;
  bool HasViewMe = false;
  // The media device type the list plays on.
  TMPDeviceType DeviceType = TMPDeviceType::dtAutoSelect;
};

class TMainForm : public TForm {
 public:
  TMainForm();

  // Components, with their design names.
  TImage* BackImage;
  TImage* QuitBtn;
  TLabel* QuitLabel;
  TImage* Action1Btn;
  TImage* Action2Btn;
  TImage* Action3Btn;
  TLabel* Action1Label;
  TLabel* Action2Label;
  TLabel* Action3Label;
  TPanel* TextPanel;
  TListBox* TextBox;
  TMediaPlayer* MPlay;
  TTimer* InitTimer;

  void FormCreate(TComponent* sender);
  void FindRootDir();
  void ChooseLayoutDir();
  void LoadBackground();
  void SetupButtons();
  void AddCategory(const std::string& folder, int32_t slot);
  void InitTimerTimer(TComponent* sender);
  void QuitBtnClick(TComponent* sender);
  TPoint CategoryPos(int32_t slot);
  void FormResize(TComponent* sender);
  // Lays the window out at its pixels per inch: lengths are designed at 96.
  void FormPixelsPerInchChange(TComponent* sender);
  // A picture button takes its picture's size at the window's scale, the picture stretched
  // over it; without a picture, its designed size.
  void SizeButton(TImage& button);

  // Browsing: a category's scan rendered as its list, or its single entry acted on.
  using TItemAction = void (TMainForm::*)(const std::string& name);
  void CategoryClick(TComponent* sender);
  // Lists the category the scan describes; true when it held a single entry, which was acted on
  // at once with the list on screen left as it was.
  bool ListCategory(const std::string& folder, const TCategoryScan& scan);
  // Acts on a category's single entry with the list state it would have listed in, then gives
  // the list on screen its state back.
  void ActAtOnce(const TListState& listed, const std::string& name);
  // Shows the entries found (the listing's whole result, all of the folder when isWholeFolder)
  // as the list, in the state listed.
  void ShowList(const TListState& listed, const std::vector<DirEntry>& found,
                const std::vector<const DirEntry*>& entries, bool isWholeFolder);
  // Adds the row of the current folder's entry name (a folder when isFolder), described by its
  // readme; true when it has one. The row is added once with its whole text: each change of a
  // row costs the system's list a deletion and an insertion.
  bool AddItem(const std::string& name, bool isFolder);

  // The action bar.
  void UpdateActionBar();
  void ShowActionBtn(const std::string& caption, TImage* button, TLabel* label);
  void Action1BtnClick(TComponent* sender);
  void Action2BtnClick(TComponent* sender);
  void Action3BtnClick(TComponent* sender);
  void TextBoxClick(TComponent* sender);
  void BackImageDblClick(TComponent* sender);
  void DoShowBmp(const std::string& name);
  void DoViewTxt(const std::string& name);
  void DoViewRtf(const std::string& name);

  // Who acts on the entries: the window program's actions unless others are given (null gives
  // them back).
  void SetEntryActions(IEntryActions* actions);
  // An entry of the listed folder as the actions take it.
  TEntryRef Entry(const std::string& name) const;
  // The actions on an entry of the listed folder, and its notes and preview: each handed on to
  // the entry actions.
  void DoInstall(const std::string& name);
  void DoPlay(const std::string& name);
  void DoRun(const std::string& name);
  void ShowItemReadme(const std::string& name);
  void ShowItemViewMe(const std::string& name);

  // State, read by tests and by the browsing code.
  bool InitDone() const { return FInitDone; }
  int32_t CatCount() const { return FCatCount; }
  int32_t RowsPerCol() const { return FRowsPerCol; }
  TImage* CatBtn(int32_t slot) const { return FCatBtns[slot]; }
  TLabel* CatLabel(int32_t slot) const { return FCatLabels[slot]; }
  const std::string& CatName(int32_t slot) const { return FCatNames[slot]; }
  TListMode Mode() const { return FList.Mode; }
  bool ZipMode() const { return FList.ZipMode; }
  bool HasReadme() const { return FList.HasReadme; }
  bool HasViewMe() const { return FList.HasViewMe; }
  const std::string& CurDir() const { return FList.CurDir; }
  // What the last click on a category found in its folder.
  const TCategoryScan& LastScan() const { return FLastScan; }
  // The entry name behind a row of the list.
  const std::string& Item(int32_t row) const;
  int32_t ItemCount() const { return CheckedInt32(FOffer.Entries.size()); }
  // The entry behind a row of the list, with what its row shows.
  const TListedEntry& ListedEntry(int32_t row) const;
  // What the list on screen offers, as it is drawn.
  const TListOffer& Offer() const { return FOffer; }

 private:
  bool FInitDone = false;
  RangeArray<TImage*, 1, kMaxCategories> FCatBtns;
  RangeArray<TLabel*, 1, kMaxCategories> FCatLabels;
  RangeArray<std::string, 1, kMaxCategories> FCatNames;
  TListState FList;
  TCategoryScan FLastScan;
  std::unique_ptr<IEntryActions> FWindowActions;
  IEntryActions* FActions = nullptr;
  TListOffer FOffer;
  int32_t FCatCount = 0;
  int32_t FRowsPerCol = 0;
  // The files of the folder being listed, by lower-cased name, while a listing knows them all.
  std::unordered_set<std::string> FFolderFiles;
  bool FHasFolderFiles = false;
};

// Centres a caption label on its picture button; an odd pixel falls right and below.
void CenterLabel(const TControl& button, TControl& label);

// The command line the program was started with: the executable's full path and its arguments
// with quotes removed.
struct TProgramArgs {
  std::string ExePath;
  std::vector<std::string> Params;
};
TProgramArgs& ProgramArgs();

// Splits a command line as the program's arguments are counted: blanks separate them, double
// quotes group and are removed. The first part (the program) is dropped.
std::vector<std::string> SplitParams(const std::string& commandLine);

// The folders at the medium's top that are no category: the program's own, and the skin's,
// which has a sub-folder for each kind of screen holding its background and button pictures.
constexpr const char* kProgramFolder = "bin.dat";
constexpr const char* kSkinFolder = "layout.dat";
constexpr const char* kBackPicture = "back.bmp";
constexpr const char* kButtonPicture = "butt.bmp";
// The skin's folder, under the medium's top, for a screen of bitsPerPixel: the 256-colour one
// below 16 bits per pixel, else the true-colour one.
std::string SkinFolderFor(int32_t bitsPerPixel);

// The content root (ends in a backslash) and the skin folder.
extern std::string RootDir;
extern std::string LayoutDir;
extern TMainForm* MainForm;

}  // namespace foyer
