// Installing from the demonstration medium with foyer.exe: a folder and an archive copied whole,
// a copy that fails showing the alert, and a long reinstall with its progress window and Cancel.
#include "platform/win32/WinApi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "EndToEndBed.h"
#include "contract/ContractBed.h"
#include "util/Path.h"

namespace foyer::test {
namespace {

std::string TextOf(HWND window) {
  char buffer[512];
  const int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(std::max(0, length)));
}

// Every file of a tree the install copies, by its path below the tree, with its bytes.
std::map<std::string, std::string> TreeFiles(const std::string& folder,
                                             const std::string& below = {}) {
  std::map<std::string, std::string> files;
  const FindResult found = FindFiles(*Platform().Fs, JoinPath(folder, "*.*"), faAnyFile);
  for (const DirEntry& entry : found.Entries) {
    const std::string path = JoinPath(folder, entry.Name);
    const std::string name = below.empty() ? entry.Name : below + "\\" + entry.Name;
    if ((entry.Attr & faDirectory) == 0) {
      ReadWholeFile(*Platform().Fs, path, files[name]);
    } else if (entry.Name != "." && entry.Name != ".." &&
               (entry.Attr & (faHidden | faSysFile)) == 0) {
      files.merge(TreeFiles(path, name));
    }
  }
  return files;
}

class EndToEndInstall : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    if (IsSkipped()) return;
    FBed = MakeContractBed();
    FTarget = FBed->Root();
  }

  // Acts on the entry as a user installs it, and answers the dialog with the folder typed into
  // its box, made first with the Create button when asked.
  void Install(const std::string& category, const std::string& entry, const std::string& target,
               bool isCreated = false) {
    ASSERT_NO_FATAL_FAILURE(ActOnEntry(category, entry));
    HWND dialog = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (dialog = FFoyer->Window("TOpenDirDialog")) != nullptr; }, 10000));
    EXPECT_EQ(TextOf(dialog), "Select Install Directory for \"" + entry + "\"");
    HWND edit = FindDescendant(dialog, "Edit");
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    if (isCreated) {
      HWND create = FindDescendant(dialog, "Button", "Create");
      ASSERT_NE(create, nullptr);
      PostMessageA(create, BM_CLICK, 0, 0);
      ASSERT_TRUE(WaitFor([&] { return Platform().Fs->DirExists(target); }, 10000)) << target;
      // The folder list, read again, puts its own folder in the box.
      SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    }
    PostKey(edit, VK_RETURN);
    ASSERT_TRUE(WaitFor([&] { return FFoyer->Window("TOpenDirDialog") == nullptr; }, 10000));
  }

  // Waits until the install ended: nothing of it is up and the main window takes input again.
  // A copy too short for its progress window runs without taking messages, with the main
  // window enabled: only a message answered tells that it is over.
  bool Ended() {
    return WaitFor(
        [&] {
          DWORD_PTR answer = 0;
          return SendMessageTimeoutA(FMain, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &answer) != 0 &&
                 IsWindowEnabled(FMain) && FFoyer->Window("TCopyProgressForm") == nullptr &&
                 FFoyer->Window("TCopyFailBox") == nullptr;
        },
        60000);
  }

  std::unique_ptr<ContractBed> FBed;
  std::string FTarget;
};

TEST_F(EndToEndInstall, FolderAndArchiveArriveWholeAndAFailedCopyShowsTheAlert) {
  ASSERT_NO_FATAL_FAILURE(StartFoyer());
  ASSERT_NO_FATAL_FAILURE(Install("Install", "Atlas", FTarget + "Atlas"));
  ASSERT_TRUE(Ended());
  const auto atlas = TreeFiles(FMedium + "Install\\Atlas");
  EXPECT_EQ(TreeFiles(FTarget + "Atlas"), atlas);
  EXPECT_TRUE(atlas.count("maps\\desktop.ini")) << "the hidden file is part of the copy";

  ASSERT_NO_FATAL_FAILURE(Install("Archives", "fonts.zip", FTarget.substr(0, FTarget.size() - 1)));
  ASSERT_TRUE(Ended());
  std::string copied, original;
  ReadWholeFile(*Platform().Fs, FTarget + "fonts.zip", copied);
  ReadWholeFile(*Platform().Fs, FMedium + "Archives\\fonts.zip", original);
  EXPECT_EQ(copied, original);

  // A folder cannot be made inside a file: nothing can be copied there.
  FBed->MakeFile(FTarget + "plain.txt", "a file");
  ASSERT_NO_FATAL_FAILURE(Install("Install", "Cards", FTarget + "plain.txt\\Cards"));
  HWND alert = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (alert = FFoyer->Window("TCopyFailBox")) != nullptr; }, 10000));
  EXPECT_EQ(TextOf(alert), "Alert");
  EXPECT_FALSE(IsWindowEnabled(FMain)) << "the alert is modal";
  RedrawWindow(alert, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  ASSERT_TRUE(WaitFor([&] { return GetQueueStatus(QS_PAINT) == 0; }, 1000));
  KeepRendering(CaptureClient(alert), "copy-failed");
  RECT client{};
  GetClientRect(alert, &client);
  EXPECT_EQ(client.right, 298);
  EXPECT_EQ(client.bottom, 129);
  HWND ok = FindWindowExA(alert, nullptr, "Button", "OK");
  ASSERT_NE(ok, nullptr);
  PostKey(ok, VK_RETURN);
  EXPECT_TRUE(Ended());
}

TEST_F(EndToEndInstall, LongCopyShowsProgressAndCancelLeavesTheEarlierInstall) {
  // A medium of its own: the demonstration skin, and an entry with a large file that is quick
  // to make (sparse) but takes seconds to copy.
  const std::string root = FBed->Root() + "medium\\";
  ASSERT_NO_FATAL_FAILURE(CopySkins(root));
  ForceDirs(root + "Big\\Small");
  ForceDirs(root + "Big\\Huge");
  FBed->MakeFile(root + "Big\\Small\\small.txt", "small");
  {
    FileHandle huge(CreateFileA((root + "Big\\Huge\\huge.bin").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(huge.IsValid());
    LARGE_INTEGER size;
    size.QuadPart = 6LL << 30;
    ASSERT_TRUE(SetFilePointerEx(huge.Get(), size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(huge.Get()));
  }
  const std::string target = FTarget + "Huge";
  ForceDirs(target);
  FBed->MakeFile(target + "\\huge.bin", "an earlier install");
  FMedium = root;
  ASSERT_NO_FATAL_FAILURE(StartFoyer(root));
  ASSERT_NO_FATAL_FAILURE(Install("Big", "Huge", target));

  HWND progress = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (progress = FFoyer->Window("TCopyProgressForm")) != nullptr; }, 20000));
  EXPECT_FALSE(IsWindowEnabled(FMain)) << "the progress window is modal";
  HWND bar = FindDescendant(progress, "msctls_progress32");
  ASSERT_NE(bar, nullptr);
  // The copy lets the windows answer while it goes on.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(FMain, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0);
  ASSERT_TRUE(WaitFor([&] { return SendMessageA(bar, PBM_GETPOS, 0, 0) > 0; }, 20000));
  KeepRendering(CaptureClient(progress), "copy-progress");
  HWND cancel = FindWindowExA(progress, nullptr, "Button", "Cancel");
  ASSERT_NE(cancel, nullptr);
  PostMessageA(cancel, BM_CLICK, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FFoyer->Window("TCopyFailBox")) != nullptr; }, 10000));
  EXPECT_EQ(TextOf(box), "Install Cancelled");
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  KeepRendering(CaptureClient(box), "copy-cancelled");
  PostKey(FindWindowExA(box, nullptr, "Button", "OK"), VK_RETURN);
  ASSERT_TRUE(Ended());
  std::string earlier;
  ReadWholeFile(*Platform().Fs, target + "\\huge.bin", earlier);
  EXPECT_EQ(earlier, "an earlier install");
  EXPECT_EQ(TreeFiles(target).size(), 1u) << "no temporary file is left";
}

TEST_F(EndToEndInstall, JapaneseFolderAndArchiveInstallIntoAGreekFolder) {
  const std::string japanese = "日本語";
  const std::string greek = FTarget + "Ελληνικά";
  ASSERT_NO_FATAL_FAILURE(StartFoyer());
  ASSERT_NO_FATAL_FAILURE(Install("Languages", japanese, greek, true));
  ASSERT_TRUE(Ended());
  EXPECT_TRUE(TreeFiles(greek) == TreeFiles(FMedium + "Languages\\" + japanese))
      << "the Japanese folder did not arrive whole";
  ASSERT_NO_FATAL_FAILURE(Install("Archives", japanese + ".zip", greek));
  ASSERT_TRUE(Ended());
  std::string copied, original;
  ReadWholeFile(*Platform().Fs, greek + "\\" + japanese + ".zip", copied);
  ReadWholeFile(*Platform().Fs, FMedium + "Archives\\" + japanese + ".zip", original);
  EXPECT_FALSE(original.empty());
  EXPECT_EQ(copied, original);
}

}  // namespace
}  // namespace foyer::test
