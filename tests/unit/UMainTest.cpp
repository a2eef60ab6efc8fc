// The main window: content root, skin choice, categories, layout and start-up failures.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "dialogs/OpenDir.h"
#include "main/UMain.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "viewers/ShowTxt.h"

namespace foyer {
namespace {

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    FPlatform.Fs.AddDrive('C');
    FPlatform.Fs.AddDrive('D', DriveKind::CdRom, "EXTRAS");
    Headless().Errors.clear();
    Application().SetTitle("foyer");
  }
  ~MainFormTest() override {
    Application().DestroyForms();
    MainForm = nullptr;
  }

  void WriteSkins(const std::string& top, int buttonWidth = 105, int buttonHeight = 41) {
    for (const char* skin : {"rgb256", "tc24"}) {
      const std::string folder = top + "\\layout.dat\\" + skin;
      FPlatform.Fs.WriteFile(folder + "\\back.bmp", test::SolidBmp(64, 48, 0x204080));
      FPlatform.Fs.WriteFile(folder + "\\butt.bmp",
                             test::SolidBmp(buttonWidth, buttonHeight, 0xC0C0C0));
    }
  }

  void Start(const std::string& exePath, std::vector<std::string> params = {}) {
    ProgramArgs() = {exePath, std::move(params)};
    Application().CreateForm(MainForm);
  }

  void StartUp(const std::string& exePath, std::vector<std::string> params = {}) {
    Start(exePath, std::move(params));
    Headless().FireTimer(*MainForm->InitTimer);
  }

  std::vector<std::string> Categories() const {
    std::vector<std::string> names;
    for (int32_t slot = 1; slot <= MainForm->CatCount(); ++slot) {
      names.push_back(MainForm->CatName(slot));
    }
    return names;
  }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
};

TEST_F(MainFormTest, RootIsTheProgramsFolderOrTheMediumAboveBinDat) {
  FPlatform.Fs.MakeDir("D:\\bin.dat");
  Start("D:\\bin.dat\\FOYER.EXE");
  EXPECT_EQ(RootDir, "D:\\");
  EXPECT_EQ(MainForm->Caption(), "FOYER");
  Application().DestroyForms();

  Start("C:\\Extras\\SETUP.EXE");
  EXPECT_EQ(RootDir, "C:\\Extras\\");
  EXPECT_EQ(MainForm->Caption(), "SETUP");
  Application().DestroyForms();

  Start("C:\\x\\a.ex");  // four characters or fewer: no caption
  EXPECT_EQ(MainForm->Caption(), "");
}

TEST_F(MainFormTest, FirstArgumentIsTheRootAndBinDatIsStrippedInAnyCase) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"d:"}, "d:\\"},
      {{"d:\\cd\\BIN.DAT"}, "d:\\cd\\"},
      {{"d:\\cd\\Bin.Dat\\"}, "d:\\cd\\"},
      {{"d:bin.dat"}, "d:\\"},
      {{"d:/cd/bin.dat"}, "d:\\cd\\"},
      {{"d:\\cd", "second", "third"}, "d:\\cd\\"},
      // Only a whole last folder named bin.dat is stripped.
      {{"d:\\tools\\mybin.dat"}, "d:\\tools\\mybin.dat\\"},
      {{"\\\\server\\share\\bin.dat"}, "\\\\server\\share\\"},
  };
  for (const auto& [params, root] : cases) {
    Start("C:\\foyer.exe", params);
    EXPECT_EQ(RootDir, root) << params.front();
    Application().DestroyForms();
  }
}

TEST_F(MainFormTest, RelativeRootIsMadeAbsoluteOnceAtStartUp) {
  FPlatform.Fs.MakeDir("C:\\work\\media");
  ASSERT_EQ(FPlatform.Fs.SetCurrentDir("C:\\work"), kErrNone);
  Start("C:\\foyer.exe", {"media"});
  EXPECT_EQ(RootDir, "C:\\work\\media\\");
  Application().DestroyForms();

  // "bin.dat\" alone leaves nothing after the strip: the current folder is the root.
  Start("C:\\foyer.exe", {"bin.dat\\"});
  EXPECT_EQ(RootDir, "C:\\work\\");
  Application().DestroyForms();

  // A later change of the current folder (the install dialog, a started program) no longer
  // moves the root.
  Start("C:\\foyer.exe", {"media\\bin.dat"});
  ASSERT_EQ(FPlatform.Fs.SetCurrentDir("C:\\"), kErrNone);
  EXPECT_EQ(RootDir, "C:\\work\\media\\");
}

TEST(SplitParams, QuotesGroupAndAreRemovedAndTheProgramIsDropped) {
  EXPECT_EQ(SplitParams("foyer.exe"), std::vector<std::string>{});
  EXPECT_EQ(SplitParams("\"c:\\my media\\foyer.exe\"  \"d:\\my cd\\\" x"),
            (std::vector<std::string>{"d:\\my cd\\", "x"}));
  EXPECT_EQ(SplitParams("foyer a\"b c\"d\te"), (std::vector<std::string>{"ab cd", "e"}));
  EXPECT_EQ(SplitParams("   "), std::vector<std::string>{});
}

TEST_F(MainFormTest, SkinFolderFollowsTheScreensColourDepth) {
  const std::pair<int, const char*> depths[] = {
      {8, "C:\\cd\\layout.dat\\rgb256"}, {15, "C:\\cd\\layout.dat\\rgb256"},
      {16, "C:\\cd\\layout.dat\\tc24"},  {24, "C:\\cd\\layout.dat\\tc24"},
      {32, "C:\\cd\\layout.dat\\tc24"},
  };
  Start("C:\\cd\\bin.dat\\foyer.exe");
  for (const auto& [bits, folder] : depths) {
    FPlatform.Display.SetBitsPerPixel(bits);
    MainForm->ChooseLayoutDir();
    EXPECT_EQ(LayoutDir, folder) << bits;
  }
}

TEST_F(MainFormTest, CategoriesAreVisibleDotlessFoldersInEnumerationOrder) {
  WriteSkins("C:\\cd");
  auto& fs = FPlatform.Fs;
  fs.MakeDir("C:\\cd\\bin.dat");
  fs.MakeDir("C:\\cd\\Music");
  fs.MakeDir("C:\\cd\\Tremlov");  // left out: the exact name only
  fs.MakeDir("C:\\cd\\tremlov2");
  fs.MakeDir("C:\\cd\\Secret");
  fs.SetAttributes("C:\\cd\\Secret", faDirectory | faHidden);
  fs.MakeDir("C:\\cd\\System");
  fs.SetAttributes("C:\\cd\\System", faDirectory | faSysFile);
  fs.MakeDir("C:\\cd\\v1.2");
  fs.WriteFile("C:\\cd\\Readme", "a file, not a folder");
  fs.MakeDir("C:\\cd\\Apps & Tools");
  StartUp("C:\\cd\\bin.dat\\foyer.exe");

  const std::vector<std::string> expected = {"Music", "tremlov2", "Apps & Tools"};
  EXPECT_EQ(Categories(), expected);
  for (int32_t slot = 1; slot <= MainForm->CatCount(); ++slot) {
    EXPECT_EQ(MainForm->CatBtn(slot)->Tag(), slot);
    EXPECT_EQ(MainForm->CatLabel(slot)->Tag(), slot);
    EXPECT_EQ(MainForm->CatLabel(slot)->Caption(), expected[static_cast<size_t>(slot - 1)]);
    EXPECT_EQ(MainForm->CatBtn(slot)->GetPicture(), MainForm->QuitBtn->GetPicture());
  }
  // "Apps & Tools" shows as "Apps  Tools" with the space underlined: one character fewer.
  EXPECT_EQ(MainForm->CatLabel(3)->Width(), 11 * HeadlessBackend::kCharWidth);
  EXPECT_TRUE(Headless().Errors.empty());
}

TEST_F(MainFormTest, TremlovInAnotherLetterCaseIsACategory) {
  WriteSkins("C:\\cd");
  FPlatform.Fs.MakeDir("C:\\cd\\TREMLOV");
  StartUp("C:\\cd\\foyer.exe");
  EXPECT_EQ(Categories(), std::vector<std::string>{"TREMLOV"});
}

TEST_F(MainFormTest, FoldersBeyondTheFifteenthAreIgnored) {
  WriteSkins("C:\\cd");
  for (int i = 1; i <= 17; ++i)
    FPlatform.Fs.MakeDir("C:\\cd\\Cat" + std::to_string(i));
  StartUp("C:\\cd\\foyer.exe");
  EXPECT_EQ(MainForm->CatCount(), 15);
  EXPECT_EQ(MainForm->CatName(15), "Cat15");
  EXPECT_TRUE(Headless().Errors.empty());
}

TEST_F(MainFormTest, LayoutOfTheDesignedWindowPlacesEveryButton) {
  WriteSkins("C:\\cd");
  for (int i = 1; i <= 15; ++i)
    FPlatform.Fs.MakeDir("C:\\cd\\Cat" + std::to_string(i));
  StartUp("C:\\cd\\foyer.exe");
  ASSERT_EQ(MainForm->ClientWidth(), 622);
  ASSERT_EQ(MainForm->ClientHeight(), 443);

  EXPECT_EQ(MainForm->RowsPerCol(), 7);
  for (int32_t slot = 1; slot <= 7; ++slot) {
    EXPECT_EQ(MainForm->CatBtn(slot)->Left(), 8);
    EXPECT_EQ(MainForm->CatBtn(slot)->Top(), 8 + 49 * (slot - 1));
  }
  EXPECT_EQ(MainForm->CatBtn(7)->Top(), 302);
  EXPECT_EQ(MainForm->CatBtn(8)->Left(), 509);
  EXPECT_EQ(MainForm->CatBtn(8)->Top(), 8);
  EXPECT_EQ(MainForm->CatBtn(15)->Left(), 509);
  EXPECT_EQ(MainForm->CatBtn(15)->Top(), 351);
  EXPECT_EQ(MainForm->QuitBtn->BoundsRect(), (TRect{8, 394, 113, 435}));
  EXPECT_EQ(MainForm->Action1Btn->BoundsRect(), (TRect{509, 394, 614, 435}));
  EXPECT_EQ(MainForm->Action2Btn->BoundsRect(), (TRect{509, 345, 614, 386}));
  EXPECT_EQ(MainForm->Action3Btn->BoundsRect(), (TRect{509, 296, 614, 337}));
  EXPECT_EQ(MainForm->TextPanel->BoundsRect(), (TRect{121, 122, 501, 435}));
  EXPECT_EQ(MainForm->BackImage->BoundsRect(), (TRect{0, 0, 622, 443}));
  // Captions are centred on their buttons: "Quit" is 24 x 13, "Cat1" too.
  EXPECT_EQ(MainForm->QuitLabel->Left(), 8 + (105 - 24) / 2);
  EXPECT_EQ(MainForm->QuitLabel->Top(), 394 + (41 - 13) / 2);
  EXPECT_EQ(MainForm->CatLabel(8)->Left(), 509 + 40);
  // The skin's buttons are in place and hidden until a list needs them.
  EXPECT_FALSE(MainForm->Action1Btn->Visible());
  EXPECT_FALSE(MainForm->Action1Label->Visible());
  EXPECT_TRUE(MainForm->QuitLabel->Visible());
  EXPECT_FALSE(MainForm->TextPanel->Visible());
}

// Every window at a resolution: lengths designed at 96 (the text viewer's at 120) scaled and
// truncated toward zero. Quit lies a margin from the left edge, Action1 beside it at the given
// left; the list's rows are as high as its font; the folder list's rows are 16 high at 96.
struct ScaleRow {
  int32_t PixelsPerInch, ListRow, Font, ActionLeft, FolderRow;
  TSize Main, OpenDir, Text;
  TRect Quit, Panel, OpenDirOK, TextOK;
};
constexpr ScaleRow kScaleRows[] = {
    {96, 12, -11, 509, 16, {622, 443}, {479, 255}, {485, 376}, {8, 394, 113, 435},
     {121, 122, 501, 435}, {396, 8, 471, 33}, {428, 351, 479, 370}},
    {120, 15, -13, 636, 20, {777, 553}, {598, 318}, {607, 471}, {10, 492, 141, 543},
     {151, 152, 626, 543}, {495, 10, 588, 41}, {535, 439, 599, 463}},
    {144, 18, -16, 764, 24, {933, 664}, {718, 382}, {728, 565}, {12, 591, 169, 652},
     {181, 183, 752, 652}, {594, 12, 706, 49}, {642, 527, 718, 555}},
    {192, 24, -22, 1018, 32, {1244, 886}, {958, 510}, {971, 753}, {16, 788, 226, 870},
     {242, 244, 1002, 870}, {792, 16, 942, 66}, {856, 702, 958, 740}},
};

// Made on a screen of the row's resolution, or made at 144, shown, and moved to a monitor of it.
TEST_F(MainFormTest, EveryWindowIsLaidOutAtItsMonitorsResolution) {
  WriteSkins("C:\\cd");
  FPlatform.Fs.MakeDir("C:\\cd\\Cat");
  for (const bool moved : {false, true}) {
    for (const ScaleRow& row : kScaleRows) {
      SCOPED_TRACE(std::to_string(row.PixelsPerInch) + (moved ? " moved" : ""));
      FPlatform.Display.SetPixelsPerInch(moved ? 144 : row.PixelsPerInch);
      StartUp("C:\\cd\\foyer.exe");
      TOpenDirDialog openDir;
      TShowTxtForm text;
      for (TForm* form : std::initializer_list<TForm*>{MainForm, &openDir, &text}) {
        form->Show();
        form->BackendPixelsPerInchChanged(row.PixelsPerInch);
      }
      EXPECT_EQ((TSize{MainForm->ClientWidth(), MainForm->ClientHeight()}), row.Main);
      EXPECT_EQ((TSize{text.ClientWidth(), text.ClientHeight()}), row.Text);
      const TRect& quit = row.Quit;
      EXPECT_EQ(MainForm->QuitBtn->BoundsRect(), quit);
      EXPECT_EQ(MainForm->CatBtn(1)->BoundsRect(),
                (TRect{quit.Left, quit.Left, quit.Right, quit.Left + quit.Bottom - quit.Top}));
      EXPECT_EQ(MainForm->Action1Btn->Left(), row.ActionLeft);
      EXPECT_EQ(MainForm->TextPanel->BoundsRect(), row.Panel);
      EXPECT_EQ(MainForm->TextBox->ItemHeight(), row.ListRow);
      EXPECT_EQ(MainForm->TextBox->Font().Height, row.ListRow);
      EXPECT_EQ(MainForm->Font().Height, row.Font);
      EXPECT_EQ(openDir.Edit1->Font().Height, row.Font);
      EXPECT_EQ((TSize{openDir.ClientWidth(), openDir.ClientHeight()}), row.OpenDir);
      EXPECT_EQ(openDir.OKBtn->BoundsRect(), row.OpenDirOK);
      EXPECT_EQ(openDir.DirectoryListBox1->ItemHeight(), row.FolderRow);
      EXPECT_EQ(text.Button1->BoundsRect(), row.TextOK);
      Application().DestroyForms();
    }
  }
}

TEST_F(MainFormTest, ResizeLaysTheWindowOutAgainIncludingDegenerateSizes) {
  WriteSkins("C:\\cd");
  for (int i = 1; i <= 3; ++i)
    FPlatform.Fs.MakeDir("C:\\cd\\Cat" + std::to_string(i));
  StartUp("C:\\cd\\foyer.exe");

  MainForm->SetClientSize(800, 600);
  EXPECT_EQ(MainForm->BackImage->BoundsRect(), (TRect{0, 0, 800, 600}));
  EXPECT_EQ(MainForm->QuitBtn->Top(), 551);
  EXPECT_EQ(MainForm->Action1Btn->Left(), 687);
  EXPECT_EQ(MainForm->TextPanel->Width(), 558);
  EXPECT_EQ(MainForm->RowsPerCol(), 11);  // (600 - 16 - 41) / 49

  // No room for a single row: every category goes to the right-hand column.
  MainForm->SetClientSize(300, 100);
  EXPECT_EQ(MainForm->RowsPerCol(), 0);
  EXPECT_EQ(MainForm->CatBtn(1)->Left(), 300 - 8 - 105);
  EXPECT_EQ(MainForm->CatBtn(1)->Top(), 8);
  EXPECT_EQ(MainForm->TextPanel->Top(), 100 - 313 - 8);

  // At most 8 pixels high the row count is negative and the column starts lower.
  MainForm->SetClientSize(200, 8);
  EXPECT_EQ(MainForm->RowsPerCol(), -1);
  EXPECT_EQ(MainForm->CatBtn(1)->Top(), 49 + 8);
  EXPECT_EQ(MainForm->TextPanel->Width(), 200 - 2 * 121);
}

TEST_F(MainFormTest, ResizingBeforeTheStartUpTimerMovesNothing) {
  WriteSkins("C:\\cd");
  Start("C:\\cd\\foyer.exe");
  EXPECT_FALSE(MainForm->InitDone());
  ASSERT_EQ(Headless().RunningTimers.size(), 1u);
  EXPECT_EQ(Headless().RunningTimers.front()->Interval(), 500u);
  MainForm->SetClientSize(800, 600);
  EXPECT_EQ(MainForm->QuitBtn->BoundsRect(), (TRect{8, 392, 113, 433}));
  EXPECT_EQ(MainForm->TextPanel->BoundsRect(), (TRect{128, 120, 521, 433}));
  EXPECT_TRUE(MainForm->Action1Btn->Visible());  // the design state until start-up
  Headless().FireTimer(*MainForm->InitTimer);
  EXPECT_TRUE(MainForm->InitDone());
  EXPECT_TRUE(Headless().RunningTimers.empty());  // fires once
  EXPECT_EQ(MainForm->QuitBtn->Top(), 551);
}

TEST(CenterLabel, OddPixelFallsRightAndBelowForSmallerAndLargerLabels) {
  TForm form;
  TImage* button = form.Create<TImage>(&form);
  button->SetBounds(100, 50, 105, 41);
  TLabel* label = form.Create<TLabel>(&form);
  label->SetAutoSize(false);
  label->SetBounds(0, 0, 24, 14);
  CenterLabel(*button, *label);
  EXPECT_EQ(label->Left(), 100 + 40);  // 81 spare pixels: 40 left, 41 right
  EXPECT_EQ(label->Top(), 50 + 13);    // 27 spare: 13 above, 14 below
  label->SetBounds(0, 0, 120, 44);
  CenterLabel(*button, *label);
  EXPECT_EQ(label->Left(), 100 - 7);  // 15 wider: 7 over on the left, 8 on the right
  EXPECT_EQ(label->Top(), 50 - 1);    // 3 taller: 1 above, 2 below
}

TEST_F(MainFormTest, MissingBackgroundStopsStartUpWithItsMessage) {
  WriteSkins("C:\\cd");
  FPlatform.Fs.Remove("C:\\cd\\layout.dat\\tc24\\back.bmp");
  FPlatform.Fs.MakeDir("C:\\cd\\Music");
  StartUp("C:\\cd\\foyer.exe");
  ASSERT_EQ(Headless().Errors.size(), 1u);
  EXPECT_EQ(Headless().Errors[0], "Cannot open file C:\\cd\\layout.dat\\tc24\\back.bmp.");
  EXPECT_EQ(Headless().LastErrorTitle, "foyer");
  EXPECT_TRUE(MainForm->InitDone());
  EXPECT_TRUE(Headless().RunningTimers.empty());  // never retried
  EXPECT_EQ(MainForm->CatCount(), 0);
  EXPECT_TRUE(MainForm->QuitBtn->GetPicture()->IsEmpty());
}

TEST_F(MainFormTest, MissingButtonPictureKeepsTheBackgroundAndMakesNoCategory) {
  WriteSkins("C:\\cd");
  FPlatform.Display.SetBitsPerPixel(8);
  FPlatform.Fs.Remove("C:\\cd\\layout.dat\\rgb256\\butt.bmp");
  FPlatform.Fs.MakeDir("C:\\cd\\Music");
  StartUp("C:\\cd\\foyer.exe");
  ASSERT_EQ(Headless().Errors.size(), 1u);
  EXPECT_EQ(Headless().Errors[0], "Cannot open file C:\\cd\\layout.dat\\rgb256\\butt.bmp.");
  EXPECT_EQ(MainForm->BackImage->GetPicture()->Width, 64);
  EXPECT_EQ(MainForm->CatCount(), 0);
  EXPECT_TRUE(MainForm->Action1Btn->GetPicture()->IsEmpty());
}

TEST_F(MainFormTest, QuitButtonAndItsCaptionBothCloseTheProgram) {
  WriteSkins("C:\\cd");
  StartUp("C:\\cd\\foyer.exe");
  MainForm->QuitLabel->Click();
  EXPECT_TRUE(Application().Terminated());
  Application().DestroyForms();
  StartUp("C:\\cd\\foyer.exe");
  Application().Run();
  EXPECT_FALSE(Application().Terminated());
  MainForm->QuitBtn->Click();
  EXPECT_TRUE(Application().Terminated());
}

TEST_F(MainFormTest, ACategoryClickWithATagOutsideTheSlotsIsARangeError) {
  WriteSkins("C:\\cd");
  StartUp("C:\\cd\\foyer.exe");
  TLabel stray(MainForm);
  stray.SetTag(16);
  Application().Dispatch([&] { MainForm->CategoryClick(&stray); });
  ASSERT_EQ(Headless().Errors.size(), 1u);
  EXPECT_EQ(Headless().Errors[0], "Range check error.");
}

}  // namespace
}  // namespace foyer
