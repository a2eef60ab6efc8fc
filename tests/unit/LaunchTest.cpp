// The play and run actions: the media commands in their order, what a failure tells the user,
// and how a program is started.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "main/UMain.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "util/Errors.h"

namespace foyer {
namespace {

// A content root with a space in its name.
constexpr const char* kRoot = "C:\\Demo Disc\\";

// A command as the tests compare it: message, device, flags, and the open's or query's details.
std::string Describe(const MciCommand& c) {
  std::string text = std::to_string(c.Message) + " dev" + std::to_string(c.DeviceId) + " flags" +
                     std::to_string(c.Flags);
  if (c.Message == kMciOpen) text += " " + c.DeviceType + " " + c.Element;
  if (c.Item != 0) text += " item" + std::to_string(c.Item);
  return text;
}

class LaunchTest : public ::testing::Test {
 protected:
  LaunchTest() {
    FPlatform.Fs.AddDrive('C');
    for (const char* skin : {"rgb256", "tc24"}) {
      const std::string folder = std::string(kRoot) + "layout.dat\\" + skin;
      FPlatform.Fs.WriteFile(folder + "\\back.bmp", test::SolidBmp(64, 48, 0x204080));
      FPlatform.Fs.WriteFile(folder + "\\butt.bmp", test::SolidBmp(105, 41, 0xC0C0C0));
    }
    for (const char* file :
         {"Sounds\\bell.wav", "Sounds\\chime.wav", "Music\\ode.mid", "Music\\saints.mid",
          "Video\\orbit.avi", "Video\\bounce.avi", "Programs\\setup.exe", "Programs\\notes.bat",
          "Jingle\\jingle.mid", "Tool\\tool.exe"}) {
      FPlatform.Fs.WriteFile(kRoot + std::string(file), "data");
    }
    Headless().Errors.clear();
    ProgramArgs() = {std::string(kRoot) + "foyer.exe", {}};
    Application().CreateForm(MainForm);
    Headless().FireTimer(*MainForm->InitTimer);
  }
  ~LaunchTest() override {
    Application().DestroyForms();
    MainForm = nullptr;
  }

  // Lists the category, then acts on its entry with the list's action.
  void Act(const std::string& category, const std::string& entry) {
    for (int32_t slot = 1; slot <= MainForm->CatCount(); ++slot) {
      if (MainForm->CatName(slot) == category && MainForm->CurDir() != kRoot + category + "\\") {
        Application().Dispatch([&] { MainForm->CatLabel(slot)->Click(); });
      }
    }
    ASSERT_EQ(MainForm->CurDir(), kRoot + category + "\\");
    Application().Dispatch([&] {
      if (MainForm->Mode() == lmRun) {
        MainForm->DoRun(entry);
      } else {
        MainForm->DoPlay(entry);
      }
    });
  }

  std::vector<std::string> Commands() {
    std::vector<std::string> commands;
    for (const MciCommand& command : FPlatform.Media.Commands)
      commands.push_back(Describe(command));
    FPlatform.Media.Commands.clear();
    return commands;
  }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
};

// The queries every open makes of its device, by device.
std::vector<std::string> Queries(uint32_t device) {
  const std::string prefix = " dev" + std::to_string(device) + " flags258 item";
  return {"2068" + prefix + "1", "2068" + prefix + "4", "2059" + prefix + "8",
          "2059" + prefix + "1", "2059" + prefix + "7", "2059" + prefix + "3",
          "2059" + prefix + "4"};
}

TEST_F(LaunchTest, EachPlayClosesTheDeviceBeforeOpeningTheNextOnTheListsDeviceType) {
  const std::string sounds = std::string(kRoot) + "Sounds\\";
  Act("Sounds", "bell.wav");
  std::vector<std::string> expected = {"2051 dev0 flags8706 WaveAudio " + sounds + "bell.wav"};
  for (const std::string& query : Queries(1))
    expected.push_back(query);
  expected.push_back("2054 dev1 flags1");
  EXPECT_EQ(Commands(), expected);

  // The same entry again starts from its beginning on a fresh device.
  Act("Sounds", "bell.wav");
  std::vector<std::string> again = Commands();
  ASSERT_GE(again.size(), 2u);
  EXPECT_EQ(again[0], "2052 dev1 flags2");
  EXPECT_EQ(again[1], "2051 dev0 flags8706 WaveAudio " + sounds + "bell.wav");
  EXPECT_EQ(again.back(), "2054 dev2 flags1");

  const std::pair<const char*, const char*> types[] = {{"Music", "Sequencer"},
                                                       {"Video", "AVIVideo"}};
  for (const auto& [category, type] : types) {
    Act(category, category == std::string("Music") ? "ode.mid" : "orbit.avi");
    const std::vector<std::string> commands = Commands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_NE(commands[1].find(std::string(" ") + type + " "), std::string::npos) << commands[1];
  }
  EXPECT_TRUE(Headless().Errors.empty());

  // The program's end closes the device it holds.
  Application().DestroyForms();
  MainForm = nullptr;
  EXPECT_EQ(Commands(), std::vector<std::string>{"2052 dev4 flags2"});
}

TEST_F(LaunchTest, VideoDeviceIsAskedForItsPicture) {
  struct VideoCaps final : IMedia {
    MemoryMedia& Inner;
    explicit VideoCaps(MemoryMedia& inner) : Inner(inner) {}
    uint32_t SendCommand(MciCommand& command) override {
      const uint32_t error = Inner.SendCommand(command);
      if (command.Message == kMciGetDevCaps && command.Item == kMciCapsHasVideo) command.Answer = 1;
      return error;
    }
    bool ErrorText(uint32_t error, std::string& text) override {
      return Inner.ErrorText(error, text);
    }
  } video(FPlatform.Media);
  Services services = FPlatform.Get();
  services.Media = &video;
  ScopedPlatform scoped(services);
  Act("Video", "orbit.avi");
  const std::vector<std::string> commands = Commands();
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[commands.size() - 2], "2115 dev1 flags131074");
}

TEST_F(LaunchTest, FailuresShowTheInterfacesTextAndNothingPlays) {
  FPlatform.Media.RefusedFiles[std::string(kRoot) + "Sounds\\bell.wav"] = 296;
  FPlatform.Media.RefusedFiles[std::string(kRoot) + "Sounds\\chime.wav"] = 999;
  Act("Sounds", "bell.wav");
  Act("Sounds", "chime.wav");
  FPlatform.Media.FailingMessages[kMciPlay] = 275;
  Act("Music", "ode.mid");
  EXPECT_EQ(Headless().Errors,
            (std::vector<std::string>{FPlatform.Media.Texts[296] + ".", "Unknown error code.",
                                      FPlatform.Media.Texts[275] + "."}));

  // A close that fails is not reported, and the next open goes ahead.
  FPlatform.Media.FailingMessages.clear();
  FPlatform.Media.FailingMessages[kMciClose] = 263;
  Commands();
  Act("Music", "saints.mid");
  const std::vector<std::string> commands = Commands();
  ASSERT_GE(commands.size(), 2u);
  EXPECT_EQ(commands[0].substr(0, 4), "2052");
  EXPECT_EQ(commands[1].substr(0, 4), "2051");
  EXPECT_EQ(commands.back().substr(0, 4), "2054");
  EXPECT_EQ(Headless().Errors.size(), 3u);
}

TEST_F(LaunchTest, ProgramsStartFromTheirFolderElevatedWhenTheyAskAndFailuresSaySo) {
  const std::string programs = std::string(kRoot) + "Programs\\";
  Act("Programs", "setup.exe");
  Act("Programs", "notes.bat");
  EXPECT_EQ(FPlatform.Programs.Started,
            (std::vector<ProgramStart>{{programs + "setup.exe", "", programs, 1},
                                       {programs + "notes.bat", "", programs, 1}}));
  EXPECT_EQ(FPlatform.Fs.GetCurrentDir(), programs.substr(0, programs.size() - 1));
  EXPECT_TRUE(Headless().Errors.empty());

  const struct {
    uint32_t Answer, ElevatedAnswer;
    std::vector<std::string> Shown;
  } cases[] = {
      {kErrElevationRequired, kErrNone, {}},
      {kErrElevationRequired, kErrCancelled, {}},  // the user declined the consent prompt
      {kErrElevationRequired, kErrFileNotFound, {"Cannot find the program setup.exe."}},
      {kErrNotEnoughMemory, kErrNone, {"Not enough memory to start setup.exe."}},
      {kErrFileNotFound, kErrNone, {"Cannot find the program setup.exe."}},
      {kErrPathNotFound, kErrNone, {"Cannot find the folder of the program setup.exe."}},
      {kErrBadExeFormat, kErrNone, {"setup.exe is not a program that can be started."}},
  };
  for (const auto& c : cases) {
    FPlatform.Fs.SetCurrentDir("C:\\");
    FPlatform.Programs = MemoryPrograms();
    FPlatform.Programs.Result = c.Answer;
    FPlatform.Programs.ElevatedResult = c.ElevatedAnswer;
    Headless().Errors.clear();
    Act("Programs", "setup.exe");
    ASSERT_EQ(FPlatform.Programs.Started.size(), 1u);
    EXPECT_EQ(Headless().Errors, c.Shown);
    // The elevating start is asked for the same file, parameters, folder and show command.
    EXPECT_EQ(FPlatform.Programs.StartedElevated, c.Answer == kErrElevationRequired
                                                      ? FPlatform.Programs.Started
                                                      : std::vector<ProgramStart>{});
    EXPECT_EQ(FPlatform.Fs.GetCurrentDir(), programs.substr(0, programs.size() - 1));
  }
}

TEST_F(LaunchTest, CategoryOfOneTuneOrProgramPlaysOrStartsItAtOnce) {
  for (const char* category : {"Jingle", "Tool"}) {
    for (int32_t slot = 1; slot <= MainForm->CatCount(); ++slot) {
      if (MainForm->CatName(slot) == category) {
        Application().Dispatch([&] { MainForm->CatLabel(slot)->Click(); });
      }
    }
  }
  const std::vector<std::string> commands = Commands();
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(commands.front(),
            "2051 dev0 flags8706 Sequencer " + std::string(kRoot) + "Jingle\\jingle.mid");
  EXPECT_EQ(commands.back(), "2054 dev1 flags1");
  ASSERT_EQ(FPlatform.Programs.Started.size(), 1u);
  EXPECT_EQ(FPlatform.Programs.Started[0].File, std::string(kRoot) + "Tool\\tool.exe");
  EXPECT_TRUE(Headless().Errors.empty());
}

TEST_F(LaunchTest, ProgramWhosePathWouldBeCutOrWhoseFolderWentIsNotStarted) {
  const std::string longName = std::string(240, 'p') + ".exe";
  FPlatform.Fs.WriteFile(std::string(kRoot) + "Programs\\" + longName, "MZ");
  Act("Programs", longName);
  FPlatform.Fs.Remove(std::string(kRoot) + "Programs");
  Act("Programs", "setup.exe");
  EXPECT_EQ(Headless().Errors,
            (std::vector<std::string>{"The path of " + longName + " is too long to start it.",
                                      InOutErrorMessage(kErrFileNotFound) + "."}));
  EXPECT_TRUE(FPlatform.Programs.Started.empty());
}

}  // namespace
}  // namespace foyer
