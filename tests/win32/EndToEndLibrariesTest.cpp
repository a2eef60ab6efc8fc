// Libraries planted beside foyer.exe are never loaded: with Windows' search order, the
// program's folder is searched first for a library that is not one of the system's known ones.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EndToEndBed.h"
#include "contract/ContractBed.h"
#include "util/Path.h"

namespace foyer::test {
namespace {

constexpr const char* kPlanted[] = {"winmm.dll", "mpr.dll", "riched20.dll", "oleacc.dll"};

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\') + 1);
}

// Wine takes its own libraries before a file of the same name unless told otherwise: for the
// program under test, it is told to follow Windows' order (for as long as this lives).
class WindowsSearchOrder {
 public:
  explicit WindowsSearchOrder(const std::string& program)
      : FKey("Software\\Wine\\AppDefaults\\" + program) {
    HKEY overrides = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, (FKey + "\\DllOverrides").c_str(), 0, nullptr, 0,
                    KEY_SET_VALUE, nullptr, &overrides, nullptr);
    for (const char* library : {"winmm", "mpr", "riched20", "oleacc"})
      RegSetValueExA(overrides, library, 0, REG_SZ, kNativeFirst, sizeof kNativeFirst);
    RegCloseKey(overrides);
  }
  ~WindowsSearchOrder() {
    RegDeleteKeyA(HKEY_CURRENT_USER, (FKey + "\\DllOverrides").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, FKey.c_str());
  }
  WindowsSearchOrder(const WindowsSearchOrder&) = delete;
  WindowsSearchOrder& operator=(const WindowsSearchOrder&) = delete;

 private:
  static constexpr BYTE kNativeFirst[] = "native,builtin";
  std::string FKey;
};

class EndToEndLibraries : public EndToEndTest {
 protected:
  void SetUp() override {
    EndToEndTest::SetUp();
    if (IsSkipped()) return;
    FBed = MakeContractBed();
    const std::string root = FBed->Root() + "Planted\\";
    FProgramFolder = root + "bin.dat\\";
    ForceDirs(FProgramFolder);
    ASSERT_TRUE(CopyFileA(Env("FOYER_EXE").c_str(), (FProgramFolder + kProgram).c_str(), 0));
    char tests[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, tests, MAX_PATH);
    const std::string built = FolderOf(tests) + "planted\\";
    for (const char* library : kPlanted) {
      ASSERT_TRUE(CopyFileA((built + library).c_str(), (FProgramFolder + library).c_str(), 0))
          << built + library;
    }
    ASSERT_NO_FATAL_FAILURE(CopySkins(root));
    for (const char* entry :
         {"Sounds\\bell.wav", "Sounds\\chime.wav", "Letters\\welcome.rtf", "Letters\\news.rtf"}) {
      ForceDirs(FolderOf(root + entry));
      ASSERT_TRUE(CopyFileA((FMedium + entry).c_str(), (root + entry).c_str(), FALSE)) << entry;
    }
    FMedium = root;
  }
  // The program ends before its folder is removed.
  void TearDown() override { FFoyer.reset(); }

  static constexpr const char* kProgram = "browser.exe";

  std::unique_ptr<ContractBed> FBed;
  std::string FProgramFolder;
};

TEST_F(EndToEndLibraries, NoneIsLoadedWhileTheProgramStartsListsPlaysAndShowsRichText) {
  const WindowsSearchOrder searchOrder(kProgram);
  FFoyer = std::make_unique<FoyerProcess>(FProgramFolder + kProgram);
  ASSERT_TRUE(FFoyer->Started());
  // A planted library may stop the program on the way: what was loaded is checked in any case.
  EXPECT_TRUE(WaitFor([&] { return (FMain = FFoyer->MainWindow()) != nullptr; }, 20000));
  if (FMain != nullptr) {
    FList = FindDescendant(FMain, "ListBox");
    EXPECT_NO_FATAL_FAILURE(ActOnEntry("Sounds", "bell.wav"));
    EXPECT_NO_FATAL_FAILURE(ActOnEntry("Letters", "welcome.rtf"));
    EXPECT_TRUE(WaitFor([&] { return FFoyer->Window("TShowRtfForm") != nullptr; }, 20000));
    EXPECT_EQ(FFoyer->Window("#32770"), nullptr) << "an error box came up";
  }
  for (const char* library : kPlanted)
    EXPECT_FALSE(Platform().Fs->FileExists(FProgramFolder + library + ".loaded"))
        << library << " was loaded";
}

}  // namespace
}  // namespace foyer::test
