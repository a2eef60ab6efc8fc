// The install-folder dialog on the real system: its windows and pictures, a double-click that
// enters a folder, a typed path taken with Enter, and a CD-ROM drive without a disc.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "EndToEndBed.h"
#include "contract/ContractBed.h"
#include "dialogs/OpenDir.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/win32/Win32Backend.h"
#include "viewers/ShowTxt.h"

namespace foyer::test {
namespace {

constexpr int32_t kTimedOut = 99;
constexpr uint32_t kYellow = 0xFFFF00;  // the folders
constexpr uint32_t kLime = 0x00FF00;    // the fixed drive's lamp

std::string TextOf(HWND window) {
  char buffer[1024];
  const int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(std::max(0, length)));
}

class OpenDirDialogTest : public Win32BackendTest {
 protected:
  void SetUp() override {
    Win32BackendTest::SetUp();
    FPlatform.emplace(Win32Services());
    FBed = MakeContractBed();
    FRoot = FBed->Root();
    FBed->MakeDir(FRoot + "Games");
    FBed->MakeDir(FRoot + "Games\\Arcade");
    FBed->MakeDir(FRoot + "Tools");
    InitOpenDirModule();
    LastInstallDir = FRoot.substr(0, FRoot.size() - 1);
    Application().CreateForm(OpenDirDialog);
    Application().CreateForm(ShowTxtForm);
  }

  // Runs the dialog while the steps play the user's part; a dialog left open fails the test.
  bool Execute(std::vector<std::function<void()>> steps) {
    IdleSteps user(std::move(steps));
    Watchdog watchdog(10000, [] { OpenDirDialog->SetModalResult(kTimedOut); });
    const bool ok = OpenDirDialog->Execute("Select Install Directory for \"Tool\"");
    EXPECT_FALSE(watchdog.Fired()) << "the dialog did not close";
    return ok;
  }

  HWND Edit() const { return HandleOf(*OpenDirDialog->Edit1); }
  HWND Combo() const { return HandleOf(*OpenDirDialog->DriveComboBox1); }
  HWND List() const { return HandleOf(*OpenDirDialog->DirectoryListBox1); }

  std::optional<ScopedPlatform> FPlatform;
  std::unique_ptr<ContractBed> FBed;
  std::string FRoot;
};

TEST_F(OpenDirDialogTest,
       RealControlsShowPicturesDoubleClickAndEnterOpenFoldersEnterInTheBoxReturnsIt) {
  const std::string start = FRoot.substr(0, FRoot.size() - 1);
  const std::string typed = "C:\\Install\\Here";
  ASSERT_TRUE(Execute({
      [&] {
        EXPECT_EQ(ClassOf(Combo()), "ComboBox");
        EXPECT_EQ(ClassOf(List()), "ListBox");
        EXPECT_EQ(ClassOf(Edit()), "Edit");
        EXPECT_EQ(TextOf(Edit()), start);
        EXPECT_EQ(GetFocus(), Edit());
        DWORD from = 1, to = 1;
        SendMessageA(Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, to) << "the text is selected";
        EXPECT_FALSE(IsWindowVisible(HandleOf(*OpenDirDialog->ReadMeBtn)));
        EXPECT_EQ(TextOf(Combo()),
                  OpenDirDialog->DriveComboBox1
                      ->Items()[static_cast<size_t>(OpenDirDialog->DriveComboBox1->ItemIndex())]
                      .Text);
        const std::vector<std::string> rows = ListRows(List());
        ASSERT_GE(rows.size(), 3u);
        EXPECT_EQ(rows[rows.size() - 2], "Games");
        EXPECT_EQ(rows.back(), "Tools");

        RedrawWindow(HandleOf(*OpenDirDialog), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const Rendering shown = CaptureClient(HandleOf(*OpenDirDialog));
        KeepRendering(shown, "install-folder-dialog");
        EXPECT_GT(shown.Count(kYellow, RectInParent(List())), 40) << "no folder pictures";
        EXPECT_GT(shown.Count(kLime, RectInParent(Combo())), 0) << "no drive picture";
      },
      [&] {
        const int games = static_cast<int>(ListRows(List()).size()) - 2;
        RECT row{};
        SendMessageA(List(), LB_GETITEMRECT, static_cast<WPARAM>(games),
                     reinterpret_cast<LPARAM>(&row));
        const LPARAM at = MAKELPARAM(row.left + 40, (row.top + row.bottom) / 2);
        PostMessageA(List(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(List(), WM_LBUTTONUP, 0, at);
        PostMessageA(List(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(List(), WM_LBUTTONUP, 0, at);
      },
      [&] {
        EXPECT_EQ(TextOf(Edit()), FRoot + "Games");
        EXPECT_EQ(LastInstallDir, FRoot + "Games");
        EXPECT_EQ(ListRows(List()).back(), "Arcade");
        // From the keyboard: Enter on a highlighted folder opens it, and OK is not pressed.
        SetFocus(List());
        SendMessageA(List(), LB_SETCURSEL, ListRows(List()).size() - 1, 0);
        PostKey(List(), VK_RETURN);
      },
      [&] {
        EXPECT_EQ(TextOf(Edit()), FRoot + "Games\\Arcade");
        SetFocus(Edit());
        SendMessageA(Edit(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        for (char c : typed)
          PostMessageA(Edit(), WM_CHAR, static_cast<unsigned char>(c), 1);
        PostKey(Edit(), VK_RETURN);
      },
  }));
  EXPECT_EQ(OpenDirDialog->FSelectedDir, typed);
}

TEST_F(OpenDirDialogTest, DriveWithoutADiscSaysDriveNotReadyAndTheChooserGoesBack) {
  const std::string cd = Env("FOYER_CD_DRIVE");
  const std::string noDisc = Env("FOYER_NO_DISC_DRIVE");
  if (cd.empty() || noDisc.empty()) GTEST_SKIP() << "the test-bed's CD-ROM drives are not set";
  const std::string start = FRoot.substr(0, FRoot.size() - 1);
  HWND alert = nullptr;
  std::string alertClass;
  ActivationHook hook([&](HWND window) {
    if (TextOf(window) == "Alert") alert = window;
  });
  std::string before;
  EXPECT_FALSE(Execute({
      [&] {
        const auto& items = OpenDirDialog->DriveComboBox1->Items();
        EXPECT_EQ(SendMessageA(Combo(), CB_GETCOUNT, 0, 0), static_cast<LRESULT>(items.size()));
        const auto find = [&](char letter) {
          return std::find_if(items.begin(), items.end(),
                              [&](const TDriveItem& item) { return item.Letter == letter; });
        };
        ASSERT_NE(find(cd[0]), items.end());
        EXPECT_EQ(find(cd[0])->Text, cd + ": [foyer disc]");
        EXPECT_EQ(find(cd[0])->Image, TDriveImage::CdRom);
        const auto empty = find(noDisc[0]);
        ASSERT_NE(empty, items.end()) << "a CD-ROM drive without a disc is still listed";
        EXPECT_EQ(empty->Text, noDisc + ": []");
        before = TextOf(Combo());
        SetFocus(Combo());
        SendMessageA(Combo(), CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageA(Combo(), CB_SETCURSEL, static_cast<WPARAM>(empty - items.begin()), 0);
        PostKey(Combo(), VK_RETURN);
      },
      [&] {
        // The alert's own message loop runs this step.
        ASSERT_NE(alert, nullptr) << "no alert";
        alertClass = ClassOf(alert);
        RedrawWindow(alert, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        KeepRendering(CaptureClient(alert), "drive-not-ready");
        RECT frame{};
        GetWindowRect(alert, &frame);
        EXPECT_EQ(frame.right - frame.left, 250);
        EXPECT_EQ(frame.bottom - frame.top, 100);
        PostMessageA(FindWindowExA(alert, nullptr, "Button", "OK"), BM_CLICK, 0, 0);
      },
      [&] {
        EXPECT_FALSE(IsWindow(alert)) << "the alert is destroyed after it closed";
        EXPECT_EQ(TextOf(Combo()), before);
        EXPECT_EQ(TextOf(Edit()), start);
        EXPECT_EQ(LastInstallDir, start);
        PostKey(Edit(), VK_ESCAPE);
      },
  }));
  EXPECT_EQ(alertClass, "TDriveAlert");
}

}  // namespace
}  // namespace foyer::test
