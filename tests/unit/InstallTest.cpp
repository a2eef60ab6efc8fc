// The install action: what the dialog is given, where the entry goes, and when the alert shows.
#include <gtest/gtest.h>

#include <optional>

#include "Fixtures.h"
#include "dialogs/CopyFail.h"
#include "dialogs/CopyProgress.h"
#include "dialogs/OpenDir.h"
#include "main/UMain.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "viewers/ShowTxt.h"

namespace foyer {
namespace {

// A content root with a dot in its name: stems are cut at the entry name's dot, not the root's.
constexpr const char* kRoot = "C:\\cd.1\\";

class InstallTest : public ::testing::Test {
 protected:
  InstallTest() {
    Fs().AddDrive('C');
    for (const char* skin : {"rgb256", "tc24"}) {
      const std::string folder = std::string(kRoot) + "layout.dat\\" + skin;
      Fs().WriteFile(folder + "\\back.bmp", test::SolidBmp(64, 48, 0x204080));
      Fs().WriteFile(folder + "\\butt.bmp", test::SolidBmp(105, 41, 0xC0C0C0));
    }
    Write("Games\\Alpha\\readme.txt", "Alpha: a game");
    Write("Games\\Alpha\\alpha.exe", "MZ alpha");
    Write("Games\\Alpha\\Data\\Maps\\one.map", "map one");
    Write("Games\\Beta\\beta.exe", "MZ beta");
    Write("Tools\\tool.zip", "PK tool");
    Write("Tools\\tool.readme", "Tool notes");
    Write("Tools\\tool.txt", "Tool text");
    Write("Tools\\zap.zip", "PK zap");
    Headless().Errors.clear();
    Headless().Announcements.clear();
    Headless().ModalHook = [this](TForm& form) { return Answer(form); };
    InitOpenDirModule();
    ProgramArgs() = {std::string(kRoot) + "foyer.exe", {}};
    Application().CreateForm(MainForm);
    Application().CreateForm(OpenDirDialog);
    Application().CreateForm(CopyFailBox);
    Application().CreateForm(ShowTxtForm);
    Headless().FireTimer(*MainForm->InitTimer);
  }
  ~InstallTest() override {
    Headless().ModalHook = nullptr;
    Headless().PumpHook = nullptr;
    Headless().ModalShowingNames.clear();
    Application().DestroyForms();
    MainForm = nullptr;
  }

  MemoryFileSystem& Fs() { return FPlatform.Fs; }
  void Write(const std::string& path, const std::string& bytes) {
    Fs().WriteFile(kRoot + path, bytes);
  }

  // Lists the category unless it is listed, then installs the entry into target (none: the user
  // cancels).
  void Install(const std::string& category, const std::string& entry,
               std::optional<std::string> target) {
    FTarget = std::move(target);
    for (int32_t slot = 1; slot <= MainForm->CatCount(); ++slot) {
      if (MainForm->CurDir() == kRoot + category + "\\") break;
      if (MainForm->CatName(slot) == category) {
        Application().Dispatch([&] { MainForm->CatLabel(slot)->Click(); });
      }
    }
    ASSERT_EQ(MainForm->CurDir(), kRoot + category + "\\");
    Application().Dispatch([&] { MainForm->DoInstall(entry); });
    ASSERT_EQ(Headless().Errors, std::vector<std::string>{});
  }

  int32_t Answer(TForm& form) {
    if (&form == CopyFailBox) {
      FAlerts += form.Caption() == "Alert";
      FBoxText = CopyFailBox->ProductName->Caption() + ". " + CopyFailBox->Version->Caption();
      return mrOk;
    }
    if (&form != OpenDirDialog) return mrCancel;
    FCaption = form.Caption();
    FOffered = OpenDirDialog->ReadMeBtn->Visible() ? DialogReadme : "";
    if (!FTarget) return mrCancel;
    OpenDirDialog->Edit1->SetText(*FTarget);
    OpenDirDialog->OKBtn->Click();
    return OpenDirDialog->ModalResult();
  }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
  std::optional<std::string> FTarget;
  std::string FCaption;
  std::string FOffered;
  int FAlerts = 0;
  std::string FBoxText;
};

TEST_F(InstallTest, DialogIsCaptionedWithTheEntryAndOffersItsReadme) {
  struct Case {
    const char* Category;
    const char* Entry;
    std::string Offered;
  };
  const std::string tools = std::string(kRoot) + "Tools\\";
  const std::vector<Case> cases = {
      {"Tools", "tool.zip", tools + "tool.readme"},
      {"Tools", "zap.zip", ""},
      {"Tools", "a.b.zip", tools + "a.txt"},
      {"Games", "Alpha", std::string(kRoot) + "Games\\Alpha\\readme.txt"},
      {"Games", "Beta", ""},
  };
  for (const Case& c : cases) {
    // A name with two dots is no zip to the category scan, but its stem ends at the first.
    if (c.Entry == std::string("a.b.zip")) {
      Write("Tools\\a.b.zip", "PK ab");
      Write("Tools\\a.txt", "A text");
    }
    Install(c.Category, c.Entry, std::nullopt);
    EXPECT_EQ(FCaption, std::string("Select Install Directory for \"") + c.Entry + "\"");
    EXPECT_EQ(FOffered, c.Offered) << c.Entry;
  }
  // Cancelling copied nothing and showed nothing.
  EXPECT_EQ(FAlerts, 0);
  EXPECT_EQ(Fs().Enumerate("C:\\*").Entries.size(), 1u);
}

TEST_F(InstallTest, FolderEntryMakesTheTypedFolderAndAZipEntryNeedsIt) {
  Install("Games", "Alpha", "C:\\Play\\Alpha");
  EXPECT_EQ(FAlerts, 0);
  EXPECT_EQ(Fs().ReadBack("C:\\Play\\Alpha\\Data\\Maps\\one.map"), "map one");
  EXPECT_EQ(Fs().ReadBack("C:\\Play\\Alpha\\alpha.exe"), "MZ alpha");

  Install("Tools", "tool.zip", "C:\\Play\\Tools");
  EXPECT_EQ(FAlerts, 1);
  // What a reader hears of each end: a finished install shows no window at all.
  EXPECT_EQ(Headless().Announcements,
            (std::vector<std::string>{"Games: 2 entries", "Installed \"Alpha\" in C:\\Play\\Alpha",
                                      "Tools: 2 entries", "Install of \"tool.zip\" failed"}));
  EXPECT_FALSE(Fs().DirExists("C:\\Play\\Tools"));
  Install("Tools", "tool.zip", "C:\\Play");
  EXPECT_EQ(FAlerts, 1);
  EXPECT_EQ(Fs().ReadBack("C:\\Play\\tool.zip"), "PK tool");
}

// Installs that cannot copy what the user asked for say so, instead of reporting nothing.
TEST_F(InstallTest, EntriesThatCannotBeInstalledShowTheAlert) {
  struct Case {
    const char* Name;
    const char* Entry;
    const char* Target;
    int Alerts;
    const char* Written;  // a file the install wrote, or null
  };
  Write("Games\\notes.doc", "notes");
  Fs().MakeDir("C:\\Current");
  Fs().SetCurrentDir("C:\\Current");
  const std::vector<Case> cases = {
      {"a plain file among folders", "notes.doc", "C:\\Docs", 0, "C:\\Docs\\notes.doc"},
      {"a folder taken away since the listing", "Gamma", "C:\\Gamma", 1, nullptr},
      {"an empty target", "Beta", "", 1, nullptr},
  };
  int alerts = 0;
  for (const Case& c : cases) {
    Install("Games", c.Entry, c.Target);
    alerts += c.Alerts;
    EXPECT_EQ(FAlerts, alerts) << c.Name;
    if (c.Written != nullptr) {
      EXPECT_EQ(Fs().ReadBack(c.Written), "notes") << c.Name;
    }
  }
  EXPECT_FALSE(Fs().DirExists("C:\\Gamma"));
  EXPECT_EQ(Fs().Enumerate("C:\\Current\\*.exe").Entries.size(), 0u);
}

TEST_F(InstallTest, FullDiskShowsTheAlertOnce) {
  Fs().SetFreeSpace('C', 16);
  Install("Games", "Alpha", "C:\\Play");
  EXPECT_EQ(FAlerts, 1);
  EXPECT_EQ(Fs().ReadBack("C:\\Play\\readme.txt"), "Alpha: a game");
  EXPECT_FALSE(Fs().FileExists("C:\\Play\\alpha.exe"));
}

TEST_F(InstallTest, LongCopyShowsProgressAndItsCancelSaysHowFarItGot) {
  Write("Games\\Movie\\intro.txt", "first");
  Write("Games\\Movie\\movie.avi", std::string(4 * kCopyChunkSize, 'm'));
  Fs().WriteFile("C:\\Play\\movie.avi", "earlier");
  // Each reading of the clock is a tenth of a second later.
  FPlatform.Clock.SetStep(100);
  std::vector<std::string> shownFiles;
  Headless().PumpHook = [&] {
    ASSERT_EQ(Headless().ModalShowings.size(), 1u);
    auto& form = dynamic_cast<TCopyProgressForm&>(*Headless().ModalShowings.front());
    EXPECT_EQ(form.EntryLabel->Caption(), "Installing \"Movie\"");
    shownFiles.push_back(form.FileLabel->Caption());
    if (form.ProgressBar1->Position() > 0) form.CancelBtn->Click();
  };
  Install("Games", "Movie", "C:\\Play");
  EXPECT_EQ(FAlerts, 0);
  EXPECT_EQ(Headless().ModalShowingNames, std::vector<std::string>{"CopyProgressForm"});
  EXPECT_TRUE(Headless().ModalShowings.empty());
  EXPECT_EQ(shownFiles.back(), "movie.avi");
  EXPECT_EQ(FBoxText, "Copied 1 of 2 files. Files not copied are left as they were");
  EXPECT_EQ(Headless().Announcements.back(), "Install of \"Movie\" cancelled: copied 1 of 2 files");
  EXPECT_EQ(Fs().ReadBack("C:\\Play\\intro.txt"), "first");
  EXPECT_EQ(Fs().ReadBack("C:\\Play\\movie.avi"), "earlier");

  // A copy that ends within half a second shows nothing.
  FPlatform.Clock.SetStep(0);
  Headless().ModalShowingNames.clear();
  Install("Games", "Beta", "C:\\Quick");
  EXPECT_EQ(Fs().ReadBack("C:\\Quick\\beta.exe"), "MZ beta");
  EXPECT_TRUE(Headless().ModalShowingNames.empty());
}

}  // namespace
}  // namespace foyer
