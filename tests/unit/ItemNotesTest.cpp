// The ReadMe and ViewMe lookups: which file each shows for folder and single-file entries.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "main/UMain.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowTxt.h"

namespace foyer {
namespace {

constexpr const char* kRoot = "C:\\cd\\";

// Viewers that note the file they were asked to show.
struct NotingTxt : TShowTxtForm {
  void ShowFile(const std::string& path) override { Shown = path; }
  std::string Shown;
};
struct NotingBmp : TShowBmpForm {
  void ShowFile(const std::string& path) override { Shown = path; }
  std::string Shown;
};

class ItemNotesTest : public ::testing::Test {
 protected:
  ItemNotesTest() {
    Fs().AddDrive('C');
    for (const char* skin : {"rgb256", "tc24"}) {
      const std::string folder = std::string(kRoot) + "layout.dat\\" + skin;
      Fs().WriteFile(folder + "\\back.bmp", test::SolidBmp(64, 48, 0x204080));
      Fs().WriteFile(folder + "\\butt.bmp", test::SolidBmp(105, 41, 0xC0C0C0));
    }
    for (const char* file :
         {"Games\\Alpha\\readme.txt", "Games\\Alpha\\ViewMe.bmp", "Games\\Alpha\\alpha.exe",
          "Games\\Beta\\beta.exe", "Games\\readme.txt", "Games\\ViewMe.bmp", "Tools\\tool.zip",
          "Tools\\tool.readme", "Tools\\tool.txt", "Tools\\tool.bmp", "Tools\\kit.zip",
          "Tools\\kit.txt", "Tools\\zap.zip", "Tools\\readme", "Tools\\ViewMe.bmp"}) {
      Fs().WriteFile(kRoot + std::string(file), "x");
    }
    Headless().Errors.clear();
    ProgramArgs() = {std::string(kRoot) + "foyer.exe", {}};
    Application().CreateForm(MainForm);
    Application().CreateForm(FTxt);
    Application().CreateForm(FBmp);
    ShowTxtForm = FTxt;
    ShowBmpForm = FBmp;
    Headless().FireTimer(*MainForm->InitTimer);
  }
  ~ItemNotesTest() override {
    Application().DestroyForms();
    MainForm = nullptr;
    ShowTxtForm = nullptr;
    ShowBmpForm = nullptr;
  }

  MemoryFileSystem& Fs() { return FPlatform.Fs; }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
  NotingTxt* FTxt = nullptr;
  NotingBmp* FBmp = nullptr;
};

TEST_F(ItemNotesTest, EachEntryShowsItsOwnNotesAndPreviewOrTheFolders) {
  struct Case {
    const char* Category;
    const char* Entry;
    const char* Readme;  // below the root; empty: nothing is shown
    const char* ViewMe;
  };
  const Case cases[] = {
      {"Games", "Alpha", "Games\\Alpha\\readme.txt", "Games\\Alpha\\ViewMe.bmp"},
      // A folder entry has no fallback to the folder's own files.
      {"Games", "Beta", "", ""},
      {"Games", "", "Games\\readme.txt", "Games\\ViewMe.bmp"},
      {"Tools", "tool.zip", "Tools\\tool.readme", "Tools\\tool.bmp"},
      // The entry's text beside it, before the folder's notes.
      {"Tools", "kit.zip", "Tools\\kit.txt", "Tools\\ViewMe.bmp"},
      {"Tools", "zap.zip", "Tools\\readme", "Tools\\ViewMe.bmp"},
      {"Tools", "", "Tools\\readme", "Tools\\ViewMe.bmp"},
  };
  for (const Case& c : cases) {
    for (int32_t slot = 1; slot <= MainForm->CatCount(); ++slot) {
      if (MainForm->CatName(slot) == c.Category) {
        Application().Dispatch([&] { MainForm->CatLabel(slot)->Click(); });
      }
    }
    ASSERT_EQ(MainForm->CurDir(), kRoot + std::string(c.Category) + "\\");
    FTxt->Shown.clear();
    FBmp->Shown.clear();
    Application().Dispatch([&] {
      MainForm->ShowItemReadme(c.Entry);
      MainForm->ShowItemViewMe(c.Entry);
    });
    const auto expected = [](const char* below) {
      return *below == '\0' ? std::string() : kRoot + std::string(below);
    };
    EXPECT_EQ(FTxt->Shown, expected(c.Readme)) << c.Category << " " << c.Entry;
    EXPECT_EQ(FBmp->Shown, expected(c.ViewMe)) << c.Category << " " << c.Entry;
  }
  EXPECT_TRUE(Headless().Errors.empty());
}

}  // namespace
}  // namespace foyer
