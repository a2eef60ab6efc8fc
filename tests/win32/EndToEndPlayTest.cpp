// Playing and running entries with foyer.exe: wave, MIDI and video on the system's media
// interface, its error text for a broken file, a batch file under a folder whose name holds a
// space, an installer asking for administrator rights, and the error for a program that is gone.
#include "platform/win32/WinApi.h"

#include <mmsystem.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

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
    for (const char* entry : {"Sounds\\bell.wav", "Music\\ode.mid", "Music\\saints.mid",
                              "Video\\orbit.avi", "Video\\bounce.avi"}) {
      const std::string target = FRoot + entry;
      ForceDirs(target.substr(0, target.find_last_of('\\')));
      ASSERT_TRUE(CopyFileA((FMedium + entry).c_str(), target.c_str(), FALSE)) << entry;
    }
    FBed->MakeFile(FRoot + "Sounds\\broken.wav", "RIFF, but nothing more");
    ForceDirs(FRoot + "Programs");
    FRan = FBed->Root() + "ran.txt";
    FBed->MakeFile(FRoot + "Programs\\write.bat", "@echo ran> \"" + FRan + "\"\r\n");
    FBed->MakeFile(FRoot + "Programs\\gone.exe", "MZ");
    // An installer whose manifest asks for administrator rights, built beside foyer.exe.
    const std::string exe = Env("FOYER_EXE");
    const std::string admin = exe.substr(0, exe.find_last_of('\\') + 1) + "sample_admin.exe";
    ASSERT_TRUE(CopyFileA(admin.c_str(), (FRoot + "Programs\\setup.exe").c_str(), FALSE));
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

}  // namespace
}  // namespace foyer::test
