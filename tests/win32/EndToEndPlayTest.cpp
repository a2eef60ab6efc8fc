// Playing and running entries with foyer.exe: wave, MIDI and video on the system's media
// interface, its error text for a broken file, a batch file under a folder whose name holds a
// space, an installer asking for administrator rights, and the error for a program that is gone.
#include "platform/win32/WinApi.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "EndToEndBed.h"
#include "contract/ContractBed.h"
#include "util/Path.h"

namespace foyer::test {
namespace {

std::string TextOf(HWND window) {
  char buffer[1024];
  const int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(std::max(0, length)));
}

class EndToEndPlay : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    if (IsSkipped()) return;
    FBed = MakeContractBed();
    // A content root whose name holds a space.
    FRoot = FBed->Root() + "Demo Disc\\";
    ASSERT_NO_FATAL_FAILURE(CopySkins(FRoot));
    // Beside the demonstration medium's files, entries named in Russian and Japanese.
    const std::pair<const char*, const char*> entries[] = {
        {"Sounds\\bell.wav", "Sounds\\bell.wav"},
        {"Sounds\\bell.wav", "Sounds\\звонок.wav"},
        {"Music\\ode.mid", "Music\\ode.mid"},
        {"Music\\saints.mid", "Music\\saints.mid"},
        {"Video\\orbit.avi", "Video\\orbit.avi"},
        {"Video\\bounce.avi", "Video\\bounce.avi"},
        {"Pictures\\sunset.bmp", "Pictures\\sunset.bmp"},
        {"Pictures\\sunset.bmp", "Pictures\\日の出.bmp"},
        {"Documents\\faq.txt", "Documents\\faq.txt"},
        {"Languages\\日本語\\lessons\\日本語.txt", "Documents\\日本語.txt"}};
    for (const auto& [from, to] : entries) {
      const std::string target = FRoot + to;
      ForceDirs(target.substr(0, target.find_last_of('\\')));
      ASSERT_TRUE(CopyFileA((FMedium + from).c_str(), target.c_str(), FALSE)) << to;
    }
    FBed->MakeFile(FRoot + "Sounds\\broken.wav", "RIFF, but nothing more");
    ForceDirs(FRoot + "Programs");
    FRan = FBed->Root() + "ran.txt";
    FBed->MakeFile(FRoot + "Programs\\write.bat", "@echo ran> \"" + FRan + "\"\r\n");
    FBed->MakeFile(FRoot + "Programs\\gone.exe", "MZ");
    // The command interpreter reads a batch file in the OEM code page: the file it writes has an
    // ASCII name.
    FRanGreek = FBed->Root() + "ran-greek.txt";
    FBed->MakeFile(FRoot + "Programs\\δοκιμή.bat", "@echo ran> \"" + FRanGreek + "\"\r\n");
    // An installer whose manifest asks for administrator rights, built beside foyer.exe.
    const std::string exe = Env("FOYER_EXE");
    const std::string admin = exe.substr(0, exe.find_last_of('\\') + 1) + "sample_admin.exe";
    ASSERT_TRUE(CopyFileA(admin.c_str(), (FRoot + "Programs\\setup.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(admin.c_str(), (FRoot + "Programs\\πρόγραμμα.exe").c_str(), FALSE));
    FMedium = FRoot;
    ASSERT_NO_FATAL_FAILURE(StartFoyer(FRoot));
  }

  // The message of the error box the program shows, or empty when none came up in time.
  std::string ErrorBox() {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FFoyer->Window("#32770")) != nullptr; }, 10000)) return {};
    std::string message;
    for (HWND child = nullptr; (child = FindWindowExA(box, child, "Static", nullptr)) != nullptr;) {
      if (!TextOf(child).empty()) message = TextOf(child);
    }
    PostMessageA(box, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return FFoyer->Window("#32770") == nullptr; }, 10000));
    return message;
  }

  std::unique_ptr<ContractBed> FBed;
  std::string FRoot;
  std::string FRan;
  std::string FRanGreek;
};

TEST_F(EndToEndPlay, SoundsMusicAndVideoPlayAndABrokenWaveShowsTheInterfacesText) {
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Sounds", "bell.wav"));
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Music", "ode.mid"));
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Video", "orbit.avi"));
  // The video plays in a window of the interface's own; the clicks before it were handled first.
  HWND video = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, nullptr));) {
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == GetProcessId(FFoyer->Handle()) && IsWindowVisible(window) &&
              window != FMain && ClassOf(window) != "#32770") {
            video = window;
            return true;
          }
        }
        return false;
      },
      10000));
  EXPECT_EQ(FFoyer->Window("#32770"), nullptr) << "no error box for a sound, a tune or a video";
  PostMessageA(video, WM_CLOSE, 0, 0);

  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Sounds", "broken.wav"));
  const std::string message = ErrorBox();
  ASSERT_FALSE(message.empty()) << "no error box for a broken wave file";
  char text[4096] = {};
  ASSERT_TRUE(mciGetErrorStringA(296, text, sizeof text));
  EXPECT_EQ(message, std::string(text) + ".");
}

TEST_F(EndToEndPlay, BatchFileUnderAFolderWithASpaceRunsAndAGoneProgramIsReported) {
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Programs", "write.bat"));
  EXPECT_TRUE(WaitFor([&] { return Platform().Fs->FileExists(FRan); }, 20000))
      << "the batch file did not run";
  ASSERT_TRUE(DeleteFileA((FRoot + "Programs\\gone.exe").c_str()));
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Programs", "gone.exe"));
  EXPECT_EQ(ErrorBox(), "Cannot find the program gone.exe.");
}

// Wine knows no elevation: the program starts at once, where Windows would ask for consent.
TEST_F(EndToEndPlay, InstallerThatAsksForAdministratorRightsStarts) {
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Programs", "setup.exe"));
  const auto box = [] { return FindWindowA("#32770", "Sample program"); };
  ASSERT_TRUE(WaitFor([&] { return box() != nullptr; }, 20000)) << "the installer did not start";
  PostMessageA(box(), WM_CLOSE, 0, 0);
  EXPECT_EQ(FFoyer->Window("#32770"), nullptr) << "an error box besides the installer's window";
}

TEST_F(EndToEndPlay, EntriesNamedInOtherScriptsPlayRunShowAndView) {
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Sounds", "звонок.wav"));
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Programs", "δοκιμή.bat"));
  EXPECT_TRUE(WaitFor([&] { return Platform().Fs->FileExists(FRanGreek); }, 20000))
      << "the batch file did not run";
  // The wave was acted on before the batch file: an error box would be up by now.
  EXPECT_EQ(FFoyer->Window("#32770"), nullptr) << "the wave named in Russian did not play";
  ASSERT_NO_FATAL_FAILURE(ActOnEntry("Programs", "πρόγραμμα.exe"));
  const auto box = [] { return FindWindowA("#32770", "Sample program"); };
  ASSERT_TRUE(WaitFor([&] { return box() != nullptr; }, 20000)) << "the program did not start";
  PostMessageA(box(), WM_CLOSE, 0, 0);

  const struct {
    const char* Category;
    const char* Entry;
    const char* Viewer;
  } viewed[] = {{"Pictures", "日の出.bmp", "TShowBmpForm"},
                {"Documents", "日本語.txt", "TShowTxtForm"}};
  for (const auto& v : viewed) {
    ASSERT_NO_FATAL_FAILURE(ActOnEntry(v.Category, v.Entry));
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (viewer = FFoyer->Window(v.Viewer)) != nullptr; }, 10000))
        << v.Entry;
    EXPECT_EQ(TextOf(viewer), v.Entry);
    if (const HWND text = FindWindowExA(viewer, nullptr, "FoyerTextView", nullptr)) {
      std::string bytes;
      ReadWholeFile(*Platform().Fs, FRoot + v.Category + "\\" + v.Entry, bytes);
      EXPECT_EQ(WindowText(text) + "\r\n", bytes);
    }
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return FFoyer->Window(v.Viewer) == nullptr; }, 10000));
  }
}

}  // namespace
}  // namespace foyer::test
