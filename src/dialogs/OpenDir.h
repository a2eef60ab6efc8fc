// The install-folder dialog: the user picks, types or creates the folder an entry goes into.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/FileControls.h"
#include "toolkit/Form.h"

namespace foyer {

// The folder the dialog showed last; it opens there next time, for as long as the program runs.
extern std::string LastInstallDir;
// The file the ReadMe button shows.
extern std::string DialogReadme;
// Sets the module's start-up values; runs before any window exists.
void InitOpenDirModule();

class TOpenDirDialog : public TForm {
 public:
  TOpenDirDialog();

  TButton* OKBtn;
  TButton* CancelBtn;
  TBevel* Bevel1;
  TDriveComboBox* DriveComboBox1;
  TDirectoryListBox* DirectoryListBox1;
  TButton* CreateButton;
  TEdit* Edit1;
  TButton* ReadMeBtn;

  // Opens on the folder shown last, with the caption given (an empty one keeps the caption) and
  // the ReadMe button only when FReadmeFile was handed in; true when closed with OK. A folder that
  // cannot be entered throws EInOutError before the window opens.
  bool Execute(const std::string& caption);

  void FormCreate(TComponent* sender);
  void FormShow(TComponent* sender);
  void DriveComboBox1Change(TComponent* sender);
  void DirectoryListBox1Change(TComponent* sender);
  void CreateButtonClick(TComponent* sender);
  void OKBtnClick(TComponent* sender);
  void ReadMeBtnClick(TComponent* sender);
  void FormPixelsPerInchChange(TComponent* sender);

  // The calling protocol: the caller writes FReadmeFile (or leaves it empty) before Execute and
  // reads FSelectedDir, the edit box's text as typed, after Execute returned true.
  std::string FSelectedDir;
  std::string FReadmeFile;

 private:
  // Makes the remembered folder current, or the nearest folder above it that can be, or its
  // drive's top folder, or c:\; returns the one entered.
  std::string EnterRememberedFolder();
};

extern TOpenDirDialog* OpenDirDialog;

// The modal "Drive not ready" alert, built for one showing.
void ShowDriveAlert();

}  // namespace foyer
