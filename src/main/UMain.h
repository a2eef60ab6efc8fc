// The main window: start-up, skin, category buttons, layout, and the browsing state.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "toolkit/Form.h"
#include "util/Checked.h"

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

constexpr int32_t kMaxCategories = 15;

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

  // Browsing: the category scan, its starters and the listing.
  using TItemAction = void (TMainForm::*)(const std::string& name);
  void CategoryClick(TComponent* sender);
  void StartInstall(const std::string& folder, bool savedReadme, bool savedViewMe,
                    bool savedZipMode);
  void StartWav(const std::string& folder, bool savedReadme, bool savedViewMe, bool savedZipMode);
  void StartMid(const std::string& folder, bool savedReadme, bool savedViewMe, bool savedZipMode);
  void StartAvi(const std::string& folder, bool savedReadme, bool savedViewMe, bool savedZipMode);
  void StartRun(const std::string& folder, bool savedReadme, bool savedViewMe, bool savedZipMode);
  void StartBmp(const std::string& folder, bool savedReadme, bool savedViewMe, bool savedZipMode);
  void StartTxt(const std::string& folder, bool savedReadme, bool savedViewMe, bool savedZipMode);
  void StartRtf(const std::string& folder, bool savedReadme, bool savedViewMe, bool savedZipMode);
  bool ListFolder(const std::string& folder, TListMode mode, const std::string& ext,
                  TItemAction action, bool savedReadme, bool savedViewMe, bool savedZipMode);
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

  // The actions on an entry of FCurDir, and the lookups of its notes and preview.
  virtual void DoInstall(const std::string& name);
  virtual void DoPlay(const std::string& name);
  virtual void DoRun(const std::string& name);
  virtual void ShowItemReadme(const std::string& name);
  virtual void ShowItemViewMe(const std::string& name);

  // State, read by tests and by the browsing code.
  bool InitDone() const { return FInitDone; }
  int32_t CatCount() const { return FCatCount; }
  int32_t RowsPerCol() const { return FRowsPerCol; }
  TImage* CatBtn(int32_t slot) const { return FCatBtns[slot]; }
  TLabel* CatLabel(int32_t slot) const { return FCatLabels[slot]; }
  const std::string& CatName(int32_t slot) const { return FCatNames[slot]; }
  TListMode Mode() const { return FMode; }
  bool ZipMode() const { return FZipMode; }
  bool HasReadme() const { return FHasReadme; }
  bool HasViewMe() const { return FHasViewMe; }
  const std::string& CurDir() const { return FCurDir; }
  // The entry name behind a row of the list.
  const std::string& Item(int32_t row) const;
  int32_t ItemCount() const { return CheckedInt32(FItems.size()); }

 private:
  bool FInitDone = false;
  RangeArray<TImage*, 1, kMaxCategories> FCatBtns;
  RangeArray<TLabel*, 1, kMaxCategories> FCatLabels;
  RangeArray<std::string, 1, kMaxCategories> FCatNames;
  std::string FCurDir;
  std::vector<std::string> FItems;
  TListMode FMode = lmNone;
  bool FZipMode = false;
  bool FHasReadme = false;
  bool FHasViewMe = false;
  int32_t FCatCount = 0;
  int32_t FRowsPerCol = 0;
  // The files of the folder being listed, by lower-cased name, while a listing knows them all.
  std::unordered_set<std::string> FFolderFiles;
  bool FHasFolderFiles = false;
  // The media device type the list on screen plays on.
  TMPDeviceType FListDeviceType = TMPDeviceType::dtAutoSelect;
};

// The verb Action1 shows for a list mode.
std::string ActionVerb(TListMode mode);

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

// The content root (ends in a backslash) and the skin folder.
extern std::string RootDir;
extern std::string LayoutDir;
extern TMainForm* MainForm;

}  // namespace foyer
