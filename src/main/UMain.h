// The main window: start-up, skin, category buttons, layout, and the browsing state.
#pragma once

#include <cstdint>
#include <string>
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
  void CategoryClick(TComponent* sender);
  TPoint CategoryPos(int32_t slot);
  void FormResize(TComponent* sender);

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

// The content root (ends in a backslash) and the skin folder.
extern std::string RootDir;
extern std::string LayoutDir;
extern TMainForm* MainForm;

}  // namespace foyer
