// Browsing: which mode a category gets, what its list shows, and what the action bar does.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "main/UMain.h"
#include "platform/CountingFileSystem.h"
#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowRtf.h"
#include "viewers/ShowTxt.h"

namespace foyer {
namespace {

class BrowseTest : public ::testing::Test {
 protected:
  BrowseTest() {
    FPlatform.Fs.AddDrive('C');
    for (const char* skin : {"rgb256", "tc24"}) {
      const std::string folder = std::string("C:\\cd\\layout.dat\\") + skin;
      FPlatform.Fs.WriteFile(folder + "\\back.bmp", test::SolidBmp(64, 48, 0x204080));
      FPlatform.Fs.WriteFile(folder + "\\butt.bmp", test::SolidBmp(105, 41, 0xC0C0C0));
    }
    Headless().Errors.clear();
    Headless().Announcements.clear();
    Headless().ModalHook = [this](TForm& form) {
      FShown.push_back(form.Name() + ":" + form.Caption());
      return static_cast<int32_t>(mrCancel);
    };
  }
  ~BrowseTest() override {
    Headless().ModalHook = nullptr;
    Application().DestroyForms();
    MainForm = nullptr;
  }

  // Writes files (a trailing backslash makes a folder) under C:\cd, then starts the program.
  void Medium(const std::vector<std::pair<std::string, std::string>>& files) {
    for (const auto& [path, content] : files) {
      if (!path.empty() && path.back() == '\\') {
        FPlatform.Fs.MakeDir("C:\\cd\\" + path.substr(0, path.size() - 1));
      } else {
        FPlatform.Fs.WriteFile("C:\\cd\\" + path, content);
      }
    }
    ProgramArgs() = {"C:\\cd\\bin.dat\\foyer.exe", {}};
    Application().CreateForm(FForm);
    MainForm = FForm;
    FForm->SetEntryActions(&FActions);
    Application().CreateForm(ShowBmpForm);
    Application().CreateForm(ShowTxtForm);
    Application().CreateForm(ShowRtfForm);
    Headless().FireTimer(*FForm->InitTimer);
    ASSERT_TRUE(Headless().Errors.empty());
  }

  void Open(const std::string& category) {
    for (int32_t slot = 1; slot <= FForm->CatCount(); ++slot) {
      if (FForm->CatName(slot) == category) {
        Application().Dispatch([&] { FForm->CatLabel(slot)->Click(); });
        return;
      }
    }
    FAIL() << "no category " << category;
  }

  std::vector<std::string> ListRows() const {
    std::vector<std::string> rows;
    for (int32_t row = 0; row < FForm->TextBox->Count(); ++row) {
      rows.push_back(FForm->TextBox->Row(row));
    }
    return rows;
  }

  void Select(int32_t row) {
    Application().Dispatch([&] { FForm->TextBox->UserSelect(row); });
  }

  // What the entry actions were asked, each a line ("plays a.wav on WaveAudio").
  std::vector<std::string> Done() const {
    std::vector<std::string> done;
    for (const TActionCall& call : FActions.Calls)
      done.push_back(DoneText(call));
    return done;
  }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
  TMainForm* FForm = nullptr;
  TRecordingActions FActions;
  std::vector<std::string> FShown;
};

using Rows = std::vector<std::string>;

TEST_F(BrowseTest, SubFoldersGiveAnInstallListOfEveryEntryWithTheirDescriptions) {
  Medium({{"Games\\GAME1\\readme.txt", "Space shooter\r\nMore text"},
          {"Games\\GAME2\\", ""},
          {"Games\\notes.doc", "x"}});
  Open("Games");
  EXPECT_EQ(FForm->Mode(), lmInstall);
  EXPECT_FALSE(FForm->ZipMode());
  EXPECT_TRUE(FForm->HasReadme());
  EXPECT_EQ(FForm->CurDir(), "C:\\cd\\Games\\");
  EXPECT_EQ(ListRows(), (Rows{"GAME1      Space shooter", "GAME2", "notes"}));
  EXPECT_EQ(FForm->Item(2), "notes.doc");
  EXPECT_EQ(FForm->Action1Label->Caption(), "Install");
  EXPECT_TRUE(FForm->Action1Btn->Visible());
  EXPECT_TRUE(FForm->TextPanel->Visible());
  EXPECT_EQ(FForm->TextBox->ItemIndex(), 0);
  EXPECT_EQ(FForm->Action2Label->Caption(), "ReadMe");
  EXPECT_TRUE(FForm->Action2Btn->Visible());
  EXPECT_FALSE(FForm->Action3Btn->Visible());
}

TEST_F(BrowseTest, ModeFollowsTheKindsOfFilesInTheFolder) {
  Medium({{"Setup\\setup.exe", "MZ"},
          {"Setup\\setup.ini", ""},
          {"Setup\\data.cab", ""},
          {"Sounds\\a.wav", "RIFF"},
          {"Sounds\\b.wav", "RIFF"},
          {"Sounds\\a.readme", "Alarm"},
          {"Caps\\A.WAV", "RIFF"},
          {"Caps\\B.Wav", "RIFF"},
          {"Caps\\README", "notes"},
          {"Zips\\x.zip", "PK"},
          {"Zips\\y.zip", "PK"},
          {"Mixed\\Sub\\", ""},
          {"Mixed\\x.zip", "PK"},
          {"Mixed\\y.zip", "PK"}});
  Open("Setup");
  EXPECT_EQ(FForm->Mode(), lmRun);
  EXPECT_EQ(ListRows(), (Rows{"setup", "setup", "data"}));
  EXPECT_EQ(FForm->Action1Label->Caption(), "Run");

  Open("Sounds");
  EXPECT_EQ(FForm->Mode(), lmPlay);
  EXPECT_EQ(ListRows(), (Rows{"a          Alarm", "b"}));
  EXPECT_EQ(FForm->MPlay->DeviceType(), TMPDeviceType::dtWaveAudio);
  EXPECT_TRUE(FForm->HasReadme());

  Open("Caps");  // a README without a dot is readme material, not an unknown file
  EXPECT_EQ(ListRows(), (Rows{"A", "B"}));

  Open("Zips");
  EXPECT_EQ(FForm->Mode(), lmInstall);
  EXPECT_TRUE(FForm->ZipMode());
  EXPECT_EQ(ListRows(), (Rows{"x", "y"}));

  Open("Mixed");  // sub-folders decide: a tree install, the zip files listed beside them
  EXPECT_FALSE(FForm->ZipMode());
  EXPECT_EQ(ListRows(), (Rows{"Sub", "x", "y"}));
}

TEST_F(BrowseTest, FoldersThatFitNoModeLeaveTheListAsItWasAndSelectItsFirstRow) {
  Medium({{"Sounds\\a.wav", "RIFF"},
          {"Sounds\\b.wav", "RIFF"},
          {"OnlyNotes\\readme.txt", "x"},
          {"OnlyNotes\\viewme.bmp", "BM"},
          {"Empty\\", ""},
          {"Unknown\\a.wav", "RIFF"},
          {"Unknown\\notes.doc", ""},
          {"Double\\song.old.wav", "RIFF"},
          {"TwoKinds\\setup.exe", "MZ"},
          {"TwoKinds\\intro.avi", "RIFF"},
          {"Desktop\\a.wav", "RIFF"},
          {"Desktop\\desktop.ini", ""}});
  FPlatform.Fs.SetAttributes("C:\\cd\\Desktop\\desktop.ini", faHidden | faSysFile);
  Open("Sounds");
  Select(1);
  const Rows before = ListRows();
  for (const char* category : {"OnlyNotes", "Empty", "Unknown", "Double", "TwoKinds", "Desktop"}) {
    Open(category);
    EXPECT_EQ(ListRows(), before) << category;
    EXPECT_EQ(FForm->Mode(), lmPlay) << category;
    EXPECT_EQ(FForm->CurDir(), "C:\\cd\\Sounds\\") << category;
    EXPECT_FALSE(FForm->HasReadme()) << category;
    EXPECT_FALSE(FForm->HasViewMe()) << category;
    EXPECT_EQ(FForm->TextBox->ItemIndex(), 0) << category;
    EXPECT_EQ(FForm->MPlay->DeviceType(), TMPDeviceType::dtWaveAudio) << category;
  }
  EXPECT_TRUE(FActions.Calls.empty());
  EXPECT_TRUE(Headless().Errors.empty());
}

TEST_F(BrowseTest, SingleEntryIsActedOnAtOnceAndTheListOnScreenStays) {
  Medium({{"Games\\GAME1\\readme.txt", "Space shooter"},
          {"Games\\GAME2\\viewme.bmp", "BM"},
          {"Jingle\\intro.mid", "MThd"},
          {"Jingle\\readme.txt", "About"},
          {"Archive\\x.zip", "PK"}});
  Open("Games");
  ASSERT_TRUE(FForm->HasReadme());
  ASSERT_TRUE(FForm->HasViewMe());
  const Rows before = ListRows();
  bool hadViewMe = true;
  FActions.OnCall = [&](const TActionCall&) { hadViewMe = FForm->HasViewMe(); };

  Open("Jingle");
  ASSERT_EQ(Done(), std::vector<std::string>{"plays intro.mid on Sequencer"});
  const TEntryRef& play = FActions.Calls[0].Entry;
  EXPECT_EQ(play.Folder, "C:\\cd\\Jingle\\");
  EXPECT_TRUE(play.HasReadme);  // as the scan of Jingle found it
  EXPECT_FALSE(hadViewMe);
  // Afterwards everything describes the install list again, the media device included.
  EXPECT_EQ(ListRows(), before);
  EXPECT_EQ(FForm->Mode(), lmInstall);
  EXPECT_EQ(FForm->CurDir(), "C:\\cd\\Games\\");
  EXPECT_TRUE(FForm->HasViewMe());
  EXPECT_EQ(FForm->MPlay->DeviceType(), TMPDeviceType::dtAutoSelect);
  EXPECT_TRUE(FForm->Action3Btn->Visible());

  Open("Archive");
  ASSERT_EQ(Done().size(), 2u);
  EXPECT_EQ(Done()[1], "installs x.zip");
  EXPECT_TRUE(FActions.Calls[1].Entry.ZipMode);
  EXPECT_FALSE(FForm->ZipMode());
  EXPECT_EQ(ListRows(), before);
}

TEST_F(BrowseTest, StateComesBackWhenTheSingleEntrysActionFails) {
  Medium({{"Sounds\\a.wav", "RIFF"},
          {"Sounds\\b.wav", "RIFF"},
          {"Sounds\\a.readme", "x"},
          {"Intro\\intro.avi", "RIFF"}});
  Open("Sounds");
  FActions.OnCall = [](const TActionCall&) { throw EInOutError(5); };
  Open("Intro");
  ASSERT_EQ(Headless().Errors, std::vector<std::string>{"File access denied."});
  EXPECT_EQ(Done(), std::vector<std::string>{"plays intro.avi on AVIVideo"});
  EXPECT_EQ(FForm->CurDir(), "C:\\cd\\Sounds\\");
  EXPECT_TRUE(FForm->HasReadme());
  EXPECT_EQ(FForm->MPlay->DeviceType(), TMPDeviceType::dtWaveAudio);
}

TEST_F(BrowseTest, RowTextsPadShortNamesAndTakeTheFirstReadmeFound) {
  Medium({{"Videos\\intro.avi", "RIFF"},
          {"Videos\\intro.readme", "Opening titles\nsecond"},
          {"Videos\\averyverylongname.avi", "RIFF"},
          {"Videos\\averyverylongname.readme", "Long"},
          {"Videos\\empty.avi", "RIFF"},
          {"Videos\\empty.readme", ""},
          {"Videos\\notes.readme", "not an entry"},
          {"Tools\\upper.readme.txt", "listed"},
          {"Tools\\notes.readme", "x"},
          {"Tools\\readme\\", ""},
          {"Tools\\Kit\\readme", "Plain readme first"},
          {"Tools\\Kit\\readme.txt", "never shown"},
          {"Tools\\Box\\readme.txt", "inside"},
          {"Tools\\BOX.readme", "Box beside"}});
  Open("Videos");
  EXPECT_EQ(ListRows(),
            (Rows{"intro      Opening titles", "averyverylongname Long", "empty      "}));
  EXPECT_EQ(FForm->Item(1), "averyverylongname.avi");  // the whole name, not 16 characters

  Open("Tools");
  EXPECT_EQ(FForm->Mode(), lmInstall);
  EXPECT_EQ(ListRows(), (Rows{"upper", "Kit        Plain readme first", "Box        Box beside"}));
}

TEST_F(BrowseTest, EveryListableEntryIsListedInEnumerationOrder) {
  std::vector<std::pair<std::string, std::string>> files;
  for (int i = 300; i > 0; --i)
    files.push_back({"Many\\f" + std::to_string(i) + ".txt", "x"});
  Medium(files);
  Open("Many");
  ASSERT_EQ(FForm->TextBox->Count(), 300);
  EXPECT_EQ(FForm->TextBox->Row(0), "f300");
  EXPECT_EQ(FForm->TextBox->Row(299), "f1");
  Application().Dispatch([&] { FForm->TextBox->UserSelect(299); });
  Application().Dispatch([&] { FForm->Action1Btn->Click(); });
  EXPECT_EQ(Done(), std::vector<std::string>{"views f1.txt"});
}

TEST_F(BrowseTest, AnUnreadableReadmeEndsTheListingWithTheRowsSoFar) {
  Medium({{"Games\\A\\readme.txt", "First"},
          {"Games\\B\\readme.txt", "Second"},
          {"Games\\C\\readme.txt", "Third"}});
  FPlatform.Fs.SetReadFault("C:\\cd\\Games\\B\\readme.txt", kErrAccessDenied);
  Open("Games");
  EXPECT_EQ(Headless().Errors, std::vector<std::string>{"File access denied."});
  // B's row was added with its bare name before its readme failed.
  EXPECT_EQ(ListRows(), (Rows{"A          First", "B"}));
  EXPECT_EQ(FForm->TextBox->ItemIndex(), -1);  // the click ended before selecting
}

// Each call is a seek on a disc: the calls a listing makes per row, told apart from those made
// once per list by listing a category of n and one of 2n entries.
TEST_F(BrowseTest, AListingAsksTheFileSystemLittlePerRow) {
  const struct {
    const char* Kind;
    std::vector<std::string> EntryFiles;  // {n} stands for the entry's number
    FileSystemCalls PerRow;
  } cases[] = {
      // One test for the viewme.bmp it lacks, one open for the readme it lacks, then the
      // readme.txt opened and read.
      {"folders", {"Item{n}\\readme.txt"}, {0, 1, 2, 1, 0}},
      // Nothing lies inside a file; a readme beside it is known from the names listed.
      {"zips", {"t{n}.zip"}, {0, 0, 0, 0, 0}},
      {"zips with readmes", {"t{n}.zip", "t{n}.readme"}, {0, 0, 1, 1, 0}},
  };
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& c : cases) {
    for (const int count : {10, 20}) {
      for (int n = 0; n < count; ++n) {
        for (std::string name : c.EntryFiles) {
          name.replace(name.find("{n}"), 3, std::to_string(n));
          files.push_back({std::string(c.Kind) + std::to_string(count) + "\\" + name, "Line\r\n"});
        }
      }
    }
  }
  Medium(files);
  CountingFileSystem counting(FPlatform.Fs);
  Services services = FPlatform.Get();
  services.Fs = &counting;
  ScopedPlatform scoped(services);
  for (const auto& c : cases) {
    FileSystemCalls calls[2];
    for (int i = 0; i < 2; ++i) {
      counting.Reset();
      Open(c.Kind + std::to_string(10 * (i + 1)));
      ASSERT_EQ(FForm->TextBox->Count(), 10 * (i + 1)) << c.Kind;
      calls[i] = counting.Calls();
    }
    const auto perRow = [&](uint64_t FileSystemCalls::*kind) {
      return (calls[1].*kind - calls[0].*kind) / 10;
    };
    EXPECT_EQ(perRow(&FileSystemCalls::Enumerations), c.PerRow.Enumerations) << c.Kind;
    EXPECT_EQ(perRow(&FileSystemCalls::Tests), c.PerRow.Tests) << c.Kind;
    EXPECT_EQ(perRow(&FileSystemCalls::Opens), c.PerRow.Opens) << c.Kind;
    EXPECT_EQ(perRow(&FileSystemCalls::Reads), c.PerRow.Reads) << c.Kind;
    EXPECT_EQ(perRow(&FileSystemCalls::Other), c.PerRow.Other) << c.Kind;
  }
}

TEST_F(BrowseTest, FolderHoldingOnlyAViewMeFolderGivesAnEmptyInstallList) {
  Medium({{"Odd\\viewme.bmp\\", ""}});
  Open("Odd");
  EXPECT_EQ(FForm->Mode(), lmInstall);
  EXPECT_TRUE(ListRows().empty());
  EXPECT_EQ(FForm->Action1Label->Caption(), "Install");
  Application().Dispatch([&] { FForm->Action1Btn->Click(); });
  EXPECT_TRUE(FActions.Calls.empty());
}

TEST_F(BrowseTest, ZipCompanionsArePreviewsAndNotesNotContent) {
  Medium({{"Zips\\tool.zip", "PK"},
          {"Zips\\tool.bmp", "BM"},
          {"Zips\\tool.txt", "Notes"},
          {"Zips\\other.zip", "PK"},
          {"Zips\\other.readme", "About other"},
          {"Pics\\a.bmp", "BM"},
          {"Pics\\b.bmp", "BM"},
          {"Pics\\tool.txt", "no zip here"},
          {"Mixed\\Game\\readme.txt", "About the game"},
          {"Mixed\\tool.zip", "PK"},
          {"Mixed\\tool.bmp", "BM"},
          {"Mixed\\tool.txt", "Notes"}});
  Open("Zips");
  EXPECT_EQ(FForm->Mode(), lmInstall);
  EXPECT_TRUE(FForm->ZipMode());
  EXPECT_EQ(ListRows(), (Rows{"tool", "other      About other"}));
  EXPECT_EQ(FForm->Action2Label->Caption(), "ReadMe");
  EXPECT_EQ(FForm->Action3Label->Caption(), "ViewMe");
  // tool.zip has both; other.zip only its readme.
  EXPECT_TRUE(FForm->Action2Label->Enabled());
  EXPECT_TRUE(FForm->Action3Label->Enabled());
  Select(1);
  EXPECT_TRUE(FForm->Action2Label->Enabled());
  EXPECT_FALSE(FForm->Action3Label->Enabled());
  // A greyed caption does not stop the button.
  Application().Dispatch([&] { FForm->Action3Btn->Click(); });
  EXPECT_EQ(Done(), std::vector<std::string>{"preview of other.zip"});

  Open("Pics");  // a text file that belongs to no zip is content: two kinds, no mode
  EXPECT_EQ(FForm->Mode(), lmInstall);

  // Among folders a zip's notes and preview raise no button and enable no caption.
  Open("Mixed");
  EXPECT_EQ(FForm->Action2Label->Caption(), "ReadMe");
  EXPECT_FALSE(FForm->Action3Btn->Visible());
  Select(1);
  EXPECT_EQ(FForm->Item(1), "tool.zip");
  EXPECT_FALSE(FForm->Action2Label->Enabled());
}

TEST_F(BrowseTest, ActionBarRolesFollowTheFlagsAndTheSelectedRow) {
  Medium({{"Views\\One\\viewme.bmp", "BM"},
          {"Views\\Two\\", ""},
          {"Kits\\Alpha\\readme.txt", "A"},
          {"Kits\\Beta\\", ""},
          {"Kits\\readme", "folder"},
          {"Kits\\txt", "stem-less trap"}});
  Open("Views");
  EXPECT_EQ(FForm->Action2Label->Caption(), "ViewMe");
  EXPECT_FALSE(FForm->Action3Btn->Visible());
  EXPECT_TRUE(FForm->Action2Label->Enabled());
  Select(1);
  EXPECT_FALSE(FForm->Action2Label->Enabled());
  Application().Dispatch([&] { FForm->Action2Label->Click(); });
  EXPECT_EQ(Done(), std::vector<std::string>{"preview of Two"});

  // Folder entries have no companions beside them: a folder-level "readme" or "txt" file
  // does not enable the ReadMe caption of every folder.
  Open("Kits");
  Select(1);
  EXPECT_FALSE(FForm->Action2Label->Enabled());
  Select(0);
  EXPECT_TRUE(FForm->Action2Label->Enabled());
  Application().Dispatch([&] { FForm->Action2Btn->Click(); });
  EXPECT_EQ(Done().back(), "notes of Alpha");
}

TEST_F(BrowseTest, VerbsChangeWithTheListAndActionOneRunsTheListsAction) {
  Medium({{"Games\\G1\\readme.txt", "x"},
          {"Games\\G2\\viewme.bmp", "BM"},
          {"Sounds\\a.wav", "RIFF"},
          {"Sounds\\b.wav", "RIFF"},
          {"Docs\\a.txt", "hello"},
          {"Docs\\b.txt", "world"},
          {"Letters\\a.rtf", "{\\rtf1 a}"},
          {"Letters\\b.rtf", "{\\rtf1 b}"},
          {"Pictures\\a.bmp", ""},
          {"Pictures\\b.bmp", ""}});
  Open("Games");
  EXPECT_TRUE(FForm->Action3Btn->Visible());
  Open("Sounds");
  EXPECT_EQ(FForm->Action1Label->Caption(), "Play");
  EXPECT_FALSE(FForm->Action2Btn->Visible());
  EXPECT_FALSE(FForm->Action2Label->Visible());
  EXPECT_FALSE(FForm->Action3Btn->Visible());
  Application().Dispatch([&] { FForm->Action2Btn->Click(); });  // no role outside installs
  EXPECT_TRUE(FActions.Calls.empty());
  Application().Dispatch([&] { FForm->TextBox->DblClick(); });  // a double-click is Action1
  EXPECT_EQ(Done(), std::vector<std::string>{"plays a.wav on WaveAudio"});

  Open("Docs");
  EXPECT_EQ(FForm->Action1Label->Caption(), "View");
  Application().Dispatch([&] { FForm->Action1Label->Click(); });
  Open("Letters");
  EXPECT_EQ(FForm->Action1Label->Caption(), "View");
  Application().Dispatch([&] { FForm->Action1Btn->Click(); });
  Open("Pictures");
  EXPECT_EQ(FForm->Action1Label->Caption(), "Show");
  Application().Dispatch([&] { FForm->Action1Btn->Click(); });
  EXPECT_EQ(Done(), (std::vector<std::string>{"plays a.wav on WaveAudio", "views a.txt",
                                              "views a.rtf", "shows a.bmp"}));
  // The window program's own actions open the viewer.
  FForm->SetEntryActions(nullptr);
  Open("Docs");
  Application().Dispatch([&] { FForm->Action1Btn->Click(); });
  EXPECT_EQ(FShown, std::vector<std::string>{"ShowTxtForm:a.txt"});
  EXPECT_EQ(ShowTxtForm->Memo1->Text(), "hello");
}

TEST_F(BrowseTest, BackgroundDoubleClickShowsTheEmptyPanelBeforeAnyList) {
  Medium({{"Games\\G1\\", ""}});
  EXPECT_FALSE(FForm->TextPanel->Visible());
  Application().Dispatch([&] { FForm->BackImage->DblClick(); });
  EXPECT_TRUE(FForm->TextPanel->Visible());
  Application().Dispatch([&] { FForm->Action1Btn->Click(); });  // no mode yet: nothing
  EXPECT_TRUE(FActions.Calls.empty());
}

// Nine categories of two tunes each: seven in the left column, two in the right one.
class KeyboardTest : public BrowseTest {
 protected:
  void SetUp() override {
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 1; i <= 9; ++i) {
      const std::string folder = "Cat" + std::to_string(i);
      files.push_back({folder + "\\a.wav", "RIFF"});
      files.push_back({folder + "\\b.wav", "RIFF"});
    }
    Medium(files);
    ASSERT_EQ(FForm->RowsPerCol(), 7);
  }

  // The names of the stops the focus visits, starting from nothing focused.
  std::string Visit(TKey key, bool shift, int times) {
    std::string visited;
    for (int i = 0; i < times; ++i) {
      FForm->KeyDown(key, shift);
      visited += (visited.empty() ? "" : " ") + NameOf(FForm->Focused());
    }
    return visited;
  }

  std::string NameOf(const TControl* control) const {
    for (int32_t slot = 1; slot <= FForm->CatCount(); ++slot) {
      if (control == FForm->CatBtn(slot)) return FForm->CatName(slot);
    }
    return control != nullptr ? control->Name() : "none";
  }

  TPoint CenterOf(const TControl& control) const {
    return {control.Left() + control.Width() / 2, control.Top() + control.Height() / 2};
  }
};

TEST_F(KeyboardTest, TabFollowsTheColumnsThenTheListTheActionsUpwardsAndQuit) {
  EXPECT_EQ(FForm->Focused(), nullptr);
  EXPECT_FALSE(FForm->FocusCues()) << "the focus shows only once the keyboard is used";
  // The list and the action buttons are hidden until a category is open.
  EXPECT_EQ(Visit(TKey::Tab, false, 11), "Cat1 Cat2 Cat3 Cat4 Cat5 Cat6 Cat7 Cat8 Cat9 QuitBtn Cat1");
  EXPECT_TRUE(FForm->FocusCues());
  EXPECT_EQ(Visit(TKey::Tab, true, 2), "QuitBtn Cat9");
  FForm->KeyDown(TKey::Space, false);
  EXPECT_EQ(FForm->CurDir(), "C:\\cd\\Cat9\\") << "Space clicks the focused button";
  EXPECT_EQ(Visit(TKey::Tab, false, 4), "TextBox Action1Btn QuitBtn Cat1");
  // A greyed caption takes its button out of the order.
  FForm->Action2Btn->Show();
  FForm->Action2Label->Show();
  FForm->Action2Label->SetEnabled(false);
  FForm->FocusControl(FForm->TextBox);
  EXPECT_EQ(Visit(TKey::Tab, false, 2), "Action1Btn QuitBtn");
  FForm->Action2Label->SetEnabled(true);
  FForm->FocusControl(FForm->TextBox);
  EXPECT_EQ(Visit(TKey::Tab, false, 3), "Action1Btn Action2Btn QuitBtn");
}

TEST_F(KeyboardTest, ArrowsMoveWithinAColumnAndAcrossAndStopAtTheEdges) {
  Open("Cat1");  // the list and Action1 show
  const struct {
    int32_t From;  // a category's slot, or 0 for Quit, -1 for Action1
    TKey Key;
    std::string To;
  } cases[] = {
      {1, TKey::Up, "Cat1"},        {1, TKey::Down, "Cat2"},
      {7, TKey::Down, "QuitBtn"},   {0, TKey::Down, "QuitBtn"},
      {0, TKey::Up, "Cat7"},        {1, TKey::Right, "Cat8"},
      {3, TKey::Right, "Cat9"},     {8, TKey::Left, "Cat1"},
      {9, TKey::Down, "Action1Btn"}, {-1, TKey::Down, "Action1Btn"},
      {0, TKey::Right, "Action1Btn"}, {-1, TKey::Right, "Action1Btn"},
      {1, TKey::Left, "Cat1"},
  };
  for (const auto& c : cases) {
    TControl* from = c.From > 0    ? static_cast<TControl*>(FForm->CatBtn(c.From))
                     : c.From == 0 ? FForm->QuitBtn
                                   : FForm->Action1Btn;
    FForm->FocusControl(from);
    EXPECT_TRUE(FForm->KeyDown(c.Key, false));
    EXPECT_EQ(NameOf(FForm->Focused()), c.To) << NameOf(from) << " key " << int(c.Key);
  }
  // In the list the arrows are the list's.
  FForm->FocusControl(FForm->TextBox);
  EXPECT_FALSE(FForm->KeyDown(TKey::Down, false));
  EXPECT_EQ(FForm->Focused(), FForm->TextBox);
}

TEST_F(KeyboardTest, EnterInTheListActsOnTheRowAndAccessKeysWorkWithAltOrOutsideTheList) {
  Open("Cat2");
  FForm->BackendFocusChanged(FForm->TextBox);
  Select(1);
  EXPECT_TRUE(FForm->KeyDown(TKey::Enter, false));
  EXPECT_EQ(Done(), std::vector<std::string>{"plays b.wav on WaveAudio"});
  // Typed into the list, a letter is the list's; with Alt it is Quit's.
  EXPECT_FALSE(FForm->AccessKey('q', false));
  EXPECT_FALSE(FForm->AccessKey('x', true));
  EXPECT_TRUE(FForm->AccessKey('Q', true));
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(FForm->Visible());
  // With the focus on a picture the letter alone is enough.
  FForm->Show();
  FForm->FocusControl(FForm->CatBtn(1));
  EXPECT_TRUE(FForm->AccessKey('q', false));
  EXPECT_FALSE(FForm->Visible());
}

// A screen reader sees each picture button as a push button named by its caption, with the state
// a sighted user sees; captions, the background and hidden buttons are no separate stops.
TEST_F(KeyboardTest, ReadersSeeTheButtonsByTheirCaptionsAndHearWhatACategoryHolds) {
  const auto describe = [&](const TGraphicControl* control) {
    const TAccessItem item = DescribeAccessible(*control);
    std::string text = item.Name;
    if (item.Role != TAccessRole::PushButton) text += " (not a button)";
    if (item.State.Invisible) text += " hidden";
    if (item.State.Unavailable) text += " greyed";
    if (item.State.Focused) text += " focused";
    return text;
  };
  const std::vector<TGraphicControl*> controls = AccessibleControls(*FForm);
  ASSERT_EQ(controls.size(), 13u) << "Quit, three actions and nine categories";
  EXPECT_EQ(describe(controls.front()), "Quit");
  Open("Cat2");
  FForm->Action2Btn->Show();
  FForm->Action2Label->Show();
  FForm->Action2Label->SetCaption("ReadMe");
  FForm->Action2Label->SetEnabled(false);
  FForm->FocusControl(FForm->CatBtn(2));
  const std::vector<std::pair<const TGraphicControl*, std::string>> cases = {
      {FForm->CatBtn(2), "Cat2 focused"},  {FForm->CatBtn(9), "Cat9"},
      {FForm->Action1Btn, "Play"},         {FForm->Action2Btn, "ReadMe greyed"},
      {FForm->Action3Btn, "Action3 hidden"},      {FForm->QuitBtn, "Quit"},
  };
  for (const auto& [control, expected] : cases)
    EXPECT_EQ(describe(control), expected);
  // The list is named after the category, and the reader hears how long it is.
  EXPECT_EQ(FForm->TextBox->AccessibleName(), "Cat2");
  EXPECT_EQ(Headless().Announcements, std::vector<std::string>{"Cat2: 2 entries"});
}

TEST_F(KeyboardTest, APictureButtonLightsUnderThePointerAndDarkensWhilePressed) {
  TImage* button = FForm->CatBtn(3);
  const TPoint inside = CenterOf(*FForm->CatLabel(3));  // the caption lies on the picture
  const TPoint outside{300, 5};
  FForm->MouseMove(inside);
  EXPECT_EQ(FForm->HotButton(), button);
  FForm->MouseMove(outside);
  EXPECT_EQ(FForm->HotButton(), nullptr);
  FForm->MouseDown(inside);
  EXPECT_EQ(FForm->DownButton(), button);
  EXPECT_EQ(FForm->Focused(), button) << "a clicked button takes the focus";
  EXPECT_FALSE(FForm->FocusCues()) << "but shows it only after a key";
  FForm->MouseMove(outside);
  EXPECT_EQ(FForm->DownButton(), nullptr) << "pressed only while the pointer is on it";
  EXPECT_EQ(FForm->HotButton(), nullptr) << "nothing else lights while the button is held";
  FForm->MouseMove(inside);
  EXPECT_EQ(FForm->DownButton(), button);
  FForm->MouseUp(inside);
  EXPECT_EQ(FForm->DownButton(), nullptr);
  EXPECT_EQ(FForm->HotButton(), button);
  EXPECT_EQ(FForm->CurDir(), "C:\\cd\\Cat3\\") << "the release over it clicks";
  FForm->MouseLeave();
  EXPECT_EQ(FForm->HotButton(), nullptr);
  // Released outside: no click. A greyed caption's button still lights.
  FForm->MouseDown(CenterOf(*FForm->CatBtn(4)));
  FForm->MouseUp(outside);
  EXPECT_EQ(FForm->CurDir(), "C:\\cd\\Cat3\\");
  FForm->Action2Btn->Show();
  FForm->Action2Label->Show();
  FForm->Action2Label->SetEnabled(false);
  FForm->MouseMove(CenterOf(*FForm->Action2Btn));
  EXPECT_EQ(FForm->HotButton(), FForm->Action2Btn);
}

}  // namespace
}  // namespace foyer
