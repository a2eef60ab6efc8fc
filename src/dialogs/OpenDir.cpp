// The install-folder dialog.
#include "dialogs/OpenDir.h"

#include <memory>

#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "util/Errors.h"
#include "util/Path.h"
#include "viewers/ShowTxt.h"

namespace foyer {

std::string LastInstallDir;
std::string DialogReadme;
TOpenDirDialog* OpenDirDialog = nullptr;

namespace {

constexpr const char* kFirstInstallDir = "c:\\";

// The folder above a path, or empty at a drive's top folder.
std::string ParentOf(const std::string& path) {
  std::string dir = path;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  const size_t cut = dir.find_last_of('\\');
  if (cut == std::string::npos) return {};
  // The parent of "C:\Games" is the top folder "C:\", which keeps its backslash.
  return dir.substr(0, cut == 2 && dir[1] == ':' ? cut + 1 : cut);
}

}  // namespace

void InitOpenDirModule() {
  LastInstallDir = kFirstInstallDir;
}

TOpenDirDialog::TOpenDirDialog() {
  SetName("OpenDirDialog");
  SetCaption("Select Install Directory");
  SetBorderStyle(TBorderStyle::Dialog);
  SetBorderIcons({true, false, false});
  SetPosition(TPosition::ScreenCenter);
  SetScaledFont({"MS Sans Serif", -11, clWindowText});

  // Created in tab order: the windows take the focus in the order they were made.
  OKBtn = Create<TButton>(this);
  OKBtn->SetName("OKBtn");
  OKBtn->SetCaption("OK");
  OKBtn->SetDefault(true);
  OKBtn->OnClick = Handler(this, &TOpenDirDialog::OKBtnClick);

  CancelBtn = Create<TButton>(this);
  CancelBtn->SetName("CancelBtn");
  CancelBtn->SetCaption("Cancel");
  CancelBtn->SetCancel(true);
  CancelBtn->SetModalResult(mrCancel);

  Bevel1 = Create<TBevel>(this);
  Bevel1->SetName("Bevel1");

  DriveComboBox1 = Create<TDriveComboBox>(this);
  DriveComboBox1->SetName("DriveComboBox1");
  // No label names the three on the screen; a screen reader needs the names all the same.
  DriveComboBox1->SetAccessibleName("Drive");
  DriveComboBox1->OnChange = Handler(this, &TOpenDirDialog::DriveComboBox1Change);

  DirectoryListBox1 = Create<TDirectoryListBox>(this);
  DirectoryListBox1->SetName("DirectoryListBox1");
  DirectoryListBox1->SetAccessibleName("Folders");
  DirectoryListBox1->SetDriveCombo(DriveComboBox1);
  DirectoryListBox1->OnChange = Handler(this, &TOpenDirDialog::DirectoryListBox1Change);

  CreateButton = Create<TButton>(this);
  CreateButton->SetName("CreateButton");
  CreateButton->SetCaption("Create");
  CreateButton->OnClick = Handler(this, &TOpenDirDialog::CreateButtonClick);

  Edit1 = Create<TEdit>(this);
  Edit1->SetName("Edit1");
  Edit1->SetAccessibleName("Install folder");
  Edit1->SetAutoSelect(false);

  ReadMeBtn = Create<TButton>(this);
  ReadMeBtn->SetName("ReadMeBtn");
  ReadMeBtn->SetCaption("ReadMe");
  ReadMeBtn->SetVisible(false);
  ReadMeBtn->OnClick = Handler(this, &TOpenDirDialog::ReadMeBtnClick);

  PlaceScaled(*Bevel1, 8, 8, 377, 209);
  PlaceScaled(*OKBtn, 396, 8, 75, 25);
  PlaceScaled(*CancelBtn, 396, 48, 75, 25);
  PlaceScaled(*DriveComboBox1, 16, 16, 361, 19);
  PlaceScaled(*DirectoryListBox1, 16, 40, 361, 169);
  PlaceScaled(*CreateButton, 392, 224, 81, 25);
  PlaceScaled(*Edit1, 8, 224, 377, 21);
  PlaceScaled(*ReadMeBtn, 396, 88, 75, 25);
  SetScaledClientSize(479, 255);
  SetActiveControl(Edit1);
  OnPixelsPerInchChange = Handler(this, &TOpenDirDialog::FormPixelsPerInchChange);
  FormPixelsPerInchChange(this);

  OnCreate = Handler(this, &TOpenDirDialog::FormCreate);
  OnShow = Handler(this, &TOpenDirDialog::FormShow);
}

std::string TOpenDirDialog::EnterRememberedFolder() {
  IFileSystem& fs = *Platform().Fs;
  const uint32_t error = fs.SetCurrentDir(LastInstallDir);
  if (error == kErrNone) return LastInstallDir;
  // A remembered folder that went away (deleted, its disc taken out) must not keep the user
  // from installing for the rest of the run: open on the nearest place that can be entered.
  std::vector<std::string> candidates;
  for (std::string up = ParentOf(LastInstallDir); !up.empty(); up = ParentOf(up))
    candidates.push_back(up);
  if (LastInstallDir.size() >= 2 && LastInstallDir[1] == ':') {
    candidates.push_back(LastInstallDir.substr(0, 2) + "\\");
  }
  candidates.push_back(kFirstInstallDir);
  for (const std::string& candidate : candidates) {
    if (fs.SetCurrentDir(candidate) == kErrNone) return candidate;
  }
  throw EInOutError(static_cast<int>(error));
}

bool TOpenDirDialog::Execute(const std::string& caption) {
  const std::string folder = EnterRememberedFolder();
  // Drives come and go (a stick plugged in, a share connected): the chooser asks each time.
  DriveComboBox1->BuildList();
  DriveComboBox1->SetDrive(folder[0]);
  DirectoryListBox1->SetDirectory(folder);
  if (!caption.empty()) SetCaption(caption);
  if (!FReadmeFile.empty()) {
    DialogReadme = FReadmeFile;
    FReadmeFile.clear();
    ReadMeBtn->Show();
  } else {
    ReadMeBtn->Hide();
  }
  return ShowModal() == mrOk;
}

void TOpenDirDialog::FormCreate(TComponent*) {
  FReadmeFile.clear();
}

void TOpenDirDialog::FormShow(TComponent* sender) {
  DirectoryListBox1Change(sender);
}

void TOpenDirDialog::DirectoryListBox1Change(TComponent*) {
  Edit1->SetText(DirectoryListBox1->Directory());
  LastInstallDir = DirectoryListBox1->Directory();
}

void TOpenDirDialog::DriveComboBox1Change(TComponent*) {
  try {
    DirectoryListBox1->SetDrive(DriveComboBox1->Drive());
  } catch (const Exception&) {
    ShowDriveAlert();
    DriveComboBox1->SetDrive(DirectoryListBox1->Drive());
  }
}

void TOpenDirDialog::CreateButtonClick(TComponent*) {
  // An empty box names no folder: only the list is read again.
  if (!Edit1->Text().empty()) ForceDirs(Edit1->Text());
  DirectoryListBox1->Reread();
}

void TOpenDirDialog::OKBtnClick(TComponent*) {
  FSelectedDir = Edit1->Text();
  SetModalResult(mrOk);
}

void TOpenDirDialog::FormPixelsPerInchChange(TComponent*) {
  DirectoryListBox1->SetItemHeight(Scaled(16));
}

void TOpenDirDialog::ReadMeBtnClick(TComponent*) {
  ShowTxtForm->ShowFile(DialogReadme);
}

void ShowDriveAlert() {
  TForm alert;
  alert.SetName("DriveAlert");
  alert.SetCaption("Alert");
  alert.SetBorderStyle(TBorderStyle::Single);
  alert.SetBorderIcons({true, false, false});
  alert.SetPosition(TPosition::ScreenCenter);
  alert.SetBounds(0, 0, alert.Scaled(250), alert.Scaled(100));
  alert.SetScaledFont({"MS Sans Serif", -11, clWindowText});

  auto* label = alert.Create<TLabel>(&alert);
  label->SetAutoSize(false);
  label->SetAlignment(TAlignment::Center);
  alert.PlaceScaled(*label, 0, 20, 250, 50);
  label->SetCaption("Drive not ready");

  auto* button = alert.Create<TButton>(&alert);
  button->SetCaption("OK");
  alert.PlaceScaled(*button, 100, 50, 50, 25);
  button->SetModalResult(mrOk);
  // Enter and Escape close it as well, as they close any alert.
  button->SetDefault(true);
  button->SetCancel(true);
  alert.SetActiveControl(button);
  alert.ShowModal();
}

}  // namespace foyer
