// The rich-text viewer and the ReadMe and ViewMe buttons of foyer.exe, driven from a second
// process: letters open in the system's rich edit and Escape or OK close them, a letter gone
// since the listing is reported, and the notes and previews of install entries open in the
// right viewers.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EndToEndBed.h"
#include "contract/ContractBed.h"
#include "main/Catalogue.h"
#include "medgen/Medium.h"
#include "toolkit/Bitmap.h"

namespace foyer::test {
namespace {

constexpr DWORD kStepMs = 10000;

std::string FileBytes(const std::string& path) {
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(*Platform().Fs, path, bytes), kErrNone) << path;
  return bytes;
}

class EndToEndNotes : public EndToEndTest {
 protected:
  // A window of the program's that came up with a class, or null.
  HWND WaitForWindow(const char* className) const {
    HWND window = nullptr;
    WaitFor([&] { return (window = FFoyer->Window(className)) != nullptr; }, kStepMs);
    return window;
  }

  bool Closed(const char* className) const {
    return WaitFor([&] { return FFoyer->Window(className) == nullptr && IsWindowEnabled(FMain); },
                   kStepMs);
  }

  // Clicks the middle of an action button: Action1 in the bottom-right corner, the others above.
  void ClickAction(int number) const {
    RECT client{};
    GetClientRect(FMain, &client);
    const int pitch = Scaled(FButtonHeight) + Scaled(8);
    PostClick(FMain, client.right - Scaled(8) - Scaled(FButtonWidth) / 2,
              client.bottom - number * pitch + Scaled(FButtonHeight) / 2);
  }

  // The message of the error box the program shows, closed again; empty when none came up.
  std::string ErrorBox() const {
    const HWND box = WaitForWindow("#32770");
    if (box == nullptr) return {};
    std::string message;
    for (HWND child = nullptr; (child = FindWindowExA(box, child, "Static", nullptr)) != nullptr;) {
      if (!WindowText(child).empty()) message = WindowText(child);
    }
    PostMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Closed("#32770"));
    return message;
  }

  // Selects an install entry, presses ReadMe or ViewMe, and expects the viewer of that kind with
  // the file's name as its caption; the text viewer holds the file's text. Closes it again.
  void ExpectNotes(const std::string& category, const std::string& entry, int action,
                   const char* viewerClass, const std::string& file) {
    ASSERT_NO_FATAL_FAILURE(SelectEntry(category, entry));
    ClickAction(action);
    const HWND viewer = WaitForWindow(viewerClass);
    ASSERT_NE(viewer, nullptr) << entry << ": no " << viewerClass;
    // The caption names the file as the program looked for it, in its own case.
    const std::string name = file.substr(file.find_last_of('\\') + 1);
    EXPECT_EQ(lstrcmpiA(WindowText(viewer).c_str(), name.c_str()), 0) << WindowText(viewer);
    if (const HWND text = FindWindowExA(viewer, nullptr, "FoyerTextView", nullptr)) {
      std::string bytes = FileBytes(file);
      if (bytes.ends_with("\r\n")) bytes.resize(bytes.size() - 2);
      EXPECT_EQ(WindowText(text), bytes) << file;
    }
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Closed(viewerClass)) << entry;
  }
};

TEST_F(EndToEndNotes, LetterShowsInTheRichEditAndEscapeOrOkCloseIt) {
  ASSERT_NO_FATAL_FAILURE(StartFoyer());
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Letters", "welcome.rtf"));
  HWND viewer = WaitForWindow("TShowRtfForm");
  ASSERT_NE(viewer, nullptr) << "the letter opened no rich-text viewer";
  EXPECT_EQ(WindowText(viewer), "welcome.rtf");
  EXPECT_FALSE(IsWindowEnabled(FMain)) << "the viewer is not modal";
  const HWND edit = FindWindowExA(viewer, nullptr, "RichEdit20A", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(WindowText(edit).find("Welcome to the Extras disc"), 0u);
  EXPECT_EQ(WindowText(edit).find("\\rtf"), std::string::npos) << "shown as plain text";
  KeepRendering(CaptureWindow(viewer), "rich-viewer");
  PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(Closed("TShowRtfForm")) << "Escape did not close the viewer";

  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Letters", "news.rtf"));
  ASSERT_NE(viewer = WaitForWindow("TShowRtfForm"), nullptr);
  EXPECT_EQ(WindowText(viewer), "news.rtf");
  const HWND ok = FindWindowExA(viewer, nullptr, "Button", "OK");
  ASSERT_NE(ok, nullptr);
  PostClick(ok, 5, 5);
  EXPECT_TRUE(Closed("TShowRtfForm")) << "OK did not close the viewer";
}

TEST_F(EndToEndNotes, LetterGoneSinceTheListingSaysCannotOpenFileAndShowsNoViewer) {
  const std::unique_ptr<ContractBed> bed = MakeContractBed();
  const std::string root = bed->Root() + "Disc\\";
  ASSERT_NO_FATAL_FAILURE(CopySkins(root));
  bed->MakeDir(root + "Letters");
  bed->MakeFile(root + "Letters\\first.rtf", "{\\rtf1 First}");
  bed->MakeFile(root + "Letters\\second.rtf", "{\\rtf1 Second}");
  FMedium = root;  // the categories are this root's
  ASSERT_NO_FATAL_FAILURE(StartFoyer(root));
  ASSERT_NO_FATAL_FAILURE(SelectEntry("Letters", "first.rtf"));
  ASSERT_TRUE(DeleteFileA((root + "Letters\\first.rtf").c_str()));
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Letters", "first.rtf"));
  EXPECT_EQ(ErrorBox(), "Cannot open file " + root + "Letters\\first.rtf.");
  EXPECT_EQ(FFoyer->Window("TShowRtfForm"), nullptr) << "the viewer showed anyway";
}

TEST_F(EndToEndNotes, ReadMeAndViewMeOpenEachEntrysOwnNotesAndPreview) {
  ASSERT_NO_FATAL_FAILURE(StartFoyer());
  const std::string install = FMedium + "Install\\";
  const std::string archives = FMedium + "Archives\\";
  ExpectNotes("Install", "Atlas", 2, "TShowTxtForm", install + "Atlas\\readme.txt");
  ExpectNotes("Install", "Atlas", 3, "TShowBmpForm", install + "Atlas\\viewme.bmp");
  ExpectNotes("Archives", "fonts.zip", 2, "TShowTxtForm", archives + "fonts.readme");
  ExpectNotes("Archives", "fonts.zip", 3, "TShowBmpForm", archives + "fonts.bmp");
}

// Greek, Russian and Japanese folders, notes saved as UTF-8 with and without a mark, as UTF-16 and
// in the Western code page: each row and each text as its writer saved it.
TEST_F(EndToEndNotes, NamesAndNotesInEveryScriptShowAsWritten) {
  ASSERT_NO_FATAL_FAILURE(StartFoyer());
  ASSERT_NO_FATAL_FAILURE(OpenCategory(FMain, "Languages"));
  FListed = "Languages";
  std::vector<std::string> expected;
  for (const medgen::LanguageEntry& entry : medgen::LanguageEntries())
    expected.push_back(RowText(entry.Name, entry.Description));
  std::vector<std::string> rows = ListRows(FList);
  KeepRendering(CaptureClientWithList(FMain, FList), "languages-list");
  std::sort(rows.begin(), rows.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(rows, expected);
  for (const medgen::LanguageEntry& entry : medgen::LanguageEntries()) {
    ASSERT_NO_FATAL_FAILURE(SelectEntry("Languages", entry.Name));
    ClickAction(2);
    const HWND viewer = WaitForWindow("TShowTxtForm");
    ASSERT_NE(viewer, nullptr) << entry.Name << ": no text viewer";
    const HWND text = FindWindowExA(viewer, nullptr, "FoyerTextView", nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(WindowText(text), entry.Description + "\r\n\r\n" + entry.Description) << entry.Name;
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Closed("TShowTxtForm")) << entry.Name;
  }
}

}  // namespace
}  // namespace foyer::test
