// The install-folder dialog, its drive chooser and folder list, headless over a memory machine.
#include <gtest/gtest.h>

#include <functional>

#include "dialogs/OpenDir.h"
#include "platform/memory/MemoryPlatform.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "viewers/ShowTxt.h"

namespace foyer {
namespace {

std::string LabelOf(const TForm& form) {
  for (const TControl* control : form.Controls()) {
    if (const auto* label = dynamic_cast<const TLabel*>(control)) return label->Caption();
  }
  return {};
}

class OpenDirTest : public ::testing::Test {
 protected:
  OpenDirTest() {
    FPlatform.Fs.AddDrive('C', DriveKind::Fixed, "SYSTEM");
    FPlatform.Fs.AddDrive('D', DriveKind::CdRom, "EXTRAS");
    FPlatform.Fs.MakeDir("C:\\Games\\Arcade");
    FPlatform.Fs.MakeDir("C:\\apps");
    Headless().Errors.clear();
    Headless().ModalHook = [this](TForm& form) {
      FShown.push_back(form.Caption());
      if (&form == OpenDirDialog && FUser) FUser();
      if (form.Caption() == "Alert") FAlerts.push_back(LabelOf(form));
      return form.ModalResult() != mrNone ? form.ModalResult() : static_cast<int32_t>(mrCancel);
    };
    InitOpenDirModule();
    Application().CreateForm(OpenDirDialog);
    Application().CreateForm(ShowTxtForm);
  }
  ~OpenDirTest() override {
    Headless().ModalHook = nullptr;
    Application().DestroyForms();
  }

  // Runs the dialog; the user's part runs while it is open.
  bool Run(std::function<void()> user, const std::string& caption = "Select") {
    FUser = std::move(user);
    return OpenDirDialog->Execute(caption);
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& item : OpenDirDialog->DirectoryListBox1->Items())
      texts.push_back(item.Text);
    return texts;
  }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
  std::function<void()> FUser;
  std::vector<std::string> FShown;
  std::vector<std::string> FAlerts;
};

TEST_F(OpenDirTest, FirstDialogOpensOnTheTopOfDriveCAndCancelRemembersWhereTheUserWent) {
  TOpenDirDialog& dialog = *OpenDirDialog;
  dialog.FSelectedDir = "kept";
  EXPECT_FALSE(Run(
      [&] {
        EXPECT_EQ(dialog.Edit1->Text(), "c:\\");
        EXPECT_EQ(dialog.DriveComboBox1->Drive(), 'c');
        dialog.DirectoryListBox1->OpenItem(1);  // apps, listed before Games
        dialog.DirectoryListBox1->OpenItem(0);  // back up to the top
        dialog.DirectoryListBox1->OpenItem(2);  // Games
        dialog.DirectoryListBox1->OpenItem(2);  // Arcade
      },
      "Install \"Tool\""));
  EXPECT_EQ(FShown, std::vector<std::string>{"Install \"Tool\""});
  EXPECT_EQ(dialog.FSelectedDir, "kept");
  EXPECT_EQ(LastInstallDir, "c:\\Games\\Arcade");
  EXPECT_EQ(FPlatform.Fs.GetCurrentDir(), "c:\\Games\\Arcade");

  // An empty caption keeps the last one; the dialog opens where it was left.
  EXPECT_FALSE(Run([&] { EXPECT_EQ(dialog.Edit1->Text(), "c:\\Games\\Arcade"); }, ""));
  EXPECT_EQ(FShown.back(), "Install \"Tool\"");
}

TEST_F(OpenDirTest, OkReturnsTheEditBoxAsTypedAndCreateReturnsToTheListsFolder) {
  TOpenDirDialog& dialog = *OpenDirDialog;
  struct Case {
    std::string Typed;
    bool PressCreate;
    std::string Selected;
  };
  const Case cases[] = {
      {"E:\\Nowhere\\New", false, "E:\\Nowhere\\New"},
      {"relative\\part", false, "relative\\part"},
      {"", false, ""},
      {"C:\\Made\\Deep", true, "c:\\"},
      {"fresh", true, "c:\\"},
  };
  for (const Case& test : cases) {
    EXPECT_TRUE(Run([&] {
      dialog.Edit1->BackendTextChanged(test.Typed);
      if (test.PressCreate) dialog.CreateButton->Click();
      dialog.OKBtn->Click();
    })) << test.Typed;
    EXPECT_EQ(dialog.FSelectedDir, test.Selected) << test.Typed;
  }
  EXPECT_TRUE(FPlatform.Fs.DirExists("C:\\Made\\Deep"));
  // Relative to the folder the list shows; and the new folder is listed at once.
  EXPECT_TRUE(FPlatform.Fs.DirExists("C:\\fresh"));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"c:\\", "apps", "fresh", "Games", "Made"}));

  // Create with an empty box makes nothing and only reads the list again.
  FPlatform.Fs.MakeDir("C:\\Later");
  EXPECT_TRUE(Run([&] {
    dialog.Edit1->BackendTextChanged("");
    dialog.CreateButton->Click();
    EXPECT_EQ(dialog.Edit1->Text(), "c:\\");
    dialog.OKBtn->Click();
  }));
  EXPECT_EQ(Texts().size(), 6u);
}

TEST_F(OpenDirTest, ReadMeIsOfferedOnlyToTheCallThatWasHandedOne) {
  TOpenDirDialog& dialog = *OpenDirDialog;
  FPlatform.Fs.WriteFile("D:\\Games\\Tool\\readme.txt", "How to play");
  dialog.FReadmeFile = "D:\\Games\\Tool\\readme.txt";
  Run([&] {
    EXPECT_TRUE(dialog.ReadMeBtn->Visible());
    dialog.ReadMeBtn->Click();
  });
  EXPECT_EQ(FShown, (std::vector<std::string>{"Select", "readme.txt"}));
  EXPECT_EQ(ShowTxtForm->Memo1->Text(), "How to play");
  EXPECT_EQ(dialog.FReadmeFile, "");
  EXPECT_EQ(DialogReadme, "D:\\Games\\Tool\\readme.txt");
  Run([&] { EXPECT_FALSE(dialog.ReadMeBtn->Visible()); });
}

TEST_F(OpenDirTest, DriveChooserListsEveryKnownKindInLowerCase) {
  DriveInfo share;
  share.Letter = 'N';
  share.Kind = DriveKind::Remote;
  share.ConnectionName = "\\\\Server\\Data";
  FPlatform.Fs.AddDrive(share);
  FPlatform.Fs.AddDrive('M', DriveKind::Remote, "Backup");
  FPlatform.Fs.AddDrive('A', DriveKind::Removable, "NEVER ASKED");
  FPlatform.Fs.AddDrive('R', DriveKind::RamDisk);
  FPlatform.Fs.AddDrive('U', DriveKind::Unknown, "ODD");
  FPlatform.Fs.AddDrive('E', DriveKind::CdRom, "GONE");
  FPlatform.Fs.SetDriveReady('E', false);
  TDriveComboBox& chooser = *OpenDirDialog->DriveComboBox1;
  chooser.BuildList();
  const std::vector<TDriveItem> expected = {
      {'a', TDriveImage::Floppy, "a:"},
      {'c', TDriveImage::Hard, "c: [system]"},
      {'d', TDriveImage::CdRom, "d: [extras]"},
      {'e', TDriveImage::CdRom, "e: []"},
      {'m', TDriveImage::Network, "m: [backup]"},
      {'n', TDriveImage::Network, "n: \\\\server\\data"},
      {'r', TDriveImage::Ram, "r: []"},
  };
  EXPECT_EQ(chooser.Items(), expected);
}

TEST_F(OpenDirTest, FolderListShowsThePathOpenTheCurrentFolderAndVisibleSubFoldersIndented) {
  FPlatform.Fs.MakeDir("C:\\Games\\Arcade\\Zeta");
  FPlatform.Fs.MakeDir("C:\\Games\\Arcade\\alpha");
  FPlatform.Fs.MakeDir("C:\\Games\\Arcade\\Hidden");
  FPlatform.Fs.SetAttributes("C:\\Games\\Arcade\\Hidden", faHidden);
  FPlatform.Fs.MakeDir("C:\\Games\\Arcade\\System");
  FPlatform.Fs.SetAttributes("C:\\Games\\Arcade\\System", faSysFile);
  FPlatform.Fs.WriteFile("C:\\Games\\Arcade\\file.txt", "");
  TDirectoryListBox& list = *OpenDirDialog->DirectoryListBox1;

  list.SetDirectory("c:\\GAMES\\arcade");
  const std::vector<TFolderItem> deep = {
      {"c:\\", TFolderImage::Open, 2, "c:\\"},
      {"Games", TFolderImage::Open, 6, "c:\\GAMES"},
      {"Arcade", TFolderImage::Current, 10, "c:\\GAMES\\arcade"},
      {"alpha", TFolderImage::Closed, 14, "c:\\GAMES\\arcade\\alpha"},
      {"Zeta", TFolderImage::Closed, 14, "c:\\GAMES\\arcade\\Zeta"},
  };
  EXPECT_EQ(list.Items(), deep);
  EXPECT_EQ(list.ItemIndex(), 2);

  list.SetDirectory("C:\\");
  const std::vector<TFolderItem> top = {
      {"c:\\", TFolderImage::Current, 2, "C:\\"},
      {"apps", TFolderImage::Closed, 10, "C:\\apps"},
      {"Games", TFolderImage::Closed, 10, "C:\\Games"},
  };
  EXPECT_EQ(list.Items(), top);
  EXPECT_EQ(list.ItemIndex(), 0);

  // A volume that neither keeps nor tells case shows its names in lower case.
  DriveInfo old;
  old.Letter = 'F';
  old.IsCasePreserved = false;
  FPlatform.Fs.AddDrive(old);
  FPlatform.Fs.MakeDir("F:\\GAMES\\SETUP");
  list.SetDirectory("F:\\GAMES");
  EXPECT_EQ(Texts(), (std::vector<std::string>{"f:\\", "games", "setup"}));
  EXPECT_EQ(OpenDirDialog->DriveComboBox1->Drive(), 0);  // not listed: the chooser was not read
}

TEST_F(OpenDirTest, DriveThatIsNotReadyShowsTheAlertAndChangesNothing) {
  TOpenDirDialog& dialog = *OpenDirDialog;
  FPlatform.Fs.SetDriveReady('D', false);
  Run([&] {
    dialog.DirectoryListBox1->OpenItem(2);  // Games
    const auto items = dialog.DirectoryListBox1->Items();
    dialog.DriveComboBox1->UserSelect(1);  // d:
    EXPECT_EQ(dialog.DriveComboBox1->Drive(), 'c');
    EXPECT_EQ(dialog.DirectoryListBox1->Items(), items);
    EXPECT_EQ(dialog.Edit1->Text(), "c:\\Games");
    EXPECT_EQ(LastInstallDir, "c:\\Games");

    FPlatform.Fs.SetDriveReady('D', true);
    dialog.DriveComboBox1->UserSelect(1);
    EXPECT_EQ(dialog.Edit1->Text(), "D:\\");
  });
  EXPECT_EQ(FAlerts, (std::vector<std::string>{"Drive not ready"}));
  EXPECT_EQ(LastInstallDir, "D:\\");
}

TEST_F(OpenDirTest, UnreachableRememberedFolderOpensOnTheNearestPlaceThatCanBeEntered) {
  FPlatform.Fs.AddDrive('E', DriveKind::Fixed, "DATA");
  FPlatform.Fs.MakeDir("E:\\Keep\\Gone\\Deeper");
  struct Case {
    std::string Remembered;
    std::function<void()> Break;
    std::string Opened;
  };
  const Case cases[] = {
      {"E:\\Keep\\Gone\\Deeper", [&] { FPlatform.Fs.Remove("E:\\Keep\\Gone"); }, "E:\\Keep"},
      {"E:\\Keep", [&] { FPlatform.Fs.SetUnreadable("E:\\Keep", true); }, "E:\\"},
      {"E:\\Keep", [&] { FPlatform.Fs.SetDriveReady('E', false); }, "c:\\"},
  };
  for (const Case& test : cases) {
    LastInstallDir = test.Remembered;
    test.Break();
    Run([&] { EXPECT_EQ(OpenDirDialog->Edit1->Text(), test.Opened); });
    EXPECT_EQ(LastInstallDir, test.Opened) << test.Remembered;
  }

  // Nothing can be entered: the error of the remembered folder, and no window.
  FPlatform.Fs.SetDriveReady('C', false);
  LastInstallDir = "E:\\Keep";
  const size_t shown = FShown.size();
  Application().Dispatch([] { OpenDirDialog->Execute("x"); });
  EXPECT_EQ(Headless().Errors, std::vector<std::string>{"I/O error 21."});
  EXPECT_EQ(FShown.size(), shown);
  EXPECT_EQ(LastInstallDir, "E:\\Keep");
}

TEST_F(OpenDirTest, DialogIsLaidOutAsDesignedAndScaledForTheScreen) {
  TOpenDirDialog& dialog = *OpenDirDialog;
  EXPECT_EQ(dialog.ClientWidth(), 479);
  EXPECT_EQ(dialog.ClientHeight(), 255);
  EXPECT_EQ(dialog.DirectoryListBox1->BoundsRect(), (TRect{16, 40, 377, 209}));
  EXPECT_EQ(dialog.Edit1->BoundsRect(), (TRect{8, 224, 385, 245}));
  EXPECT_EQ(dialog.ActiveControl(), dialog.Edit1);
  Application().DestroyForms();
  FPlatform.Display.SetPixelsPerInch(120);
  Application().CreateForm(OpenDirDialog);
  EXPECT_EQ(OpenDirDialog->ClientWidth(), 598);
  EXPECT_EQ(OpenDirDialog->OKBtn->BoundsRect(), (TRect{495, 10, 588, 41}));
  EXPECT_EQ(OpenDirDialog->Font().Height, -13);
}

}  // namespace
}  // namespace foyer
