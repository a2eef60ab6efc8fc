// The program's start: a failure on the way is reported and ends the program.
#include <gtest/gtest.h>

#include "dialogs/CopyFail.h"
#include "dialogs/OpenDir.h"
#include "main/Program.h"
#include "main/UMain.h"
#include "platform/memory/MemoryPlatform.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowRtf.h"
#include "viewers/ShowTxt.h"

namespace foyer {
namespace {

// Fails where a real backend can: in starting (a library of the system that cannot be loaded),
// or in making the window of one form.
class FailingBackend final : public HeadlessBackend {
 public:
  explicit FailingBackend(std::string failing) : FFailing(std::move(failing)) {}
  void Start() override {
    if (FFailing == "backend") throw Exception("Cannot load the common controls");
  }
  std::unique_ptr<IWindowPeer> CreatePeer(TWinControl& control) override {
    if (control.Name() == FFailing) throw Exception("Cannot create the window");
    return nullptr;
  }

 private:
  std::string FFailing;
};

class ProgramTest : public ::testing::TestWithParam<const char*> {
 protected:
  ProgramTest() {
    FPlatform.Fs.AddDrive('C');
    ProgramArgs() = {"C:\\cd\\foyer.exe", {}};
    Application().SetTitle("foyer");
    Application().SetBackend(std::make_unique<FailingBackend>(GetParam()));
  }
  ~ProgramTest() override { Application().SetBackend(std::make_unique<HeadlessBackend>()); }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
};

TEST_P(ProgramTest, AFailedStartIsShownAndEndsTheProgramWithNoFormLeft) {
  const std::string failing = GetParam();
  const bool fails = failing != "nothing";
  EXPECT_EQ(RunProgram(), fails ? 1 : 0);
  const std::string error =
      failing == "backend" ? "Cannot load the common controls." : "Cannot create the window.";
  EXPECT_EQ(Headless().Errors, fails ? std::vector{error} : std::vector<std::string>{});
  const TForm* forms[] = {MainForm,    OpenDirDialog, CopyFailBox,
                          ShowBmpForm, ShowTxtForm,   ShowRtfForm};
  for (const TForm* form : forms)
    EXPECT_EQ(form, nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachStep, ProgramTest,
                         ::testing::Values("nothing", "backend", "MainForm", "OpenDirDialog",
                                           "CopyFailBox", "ShowBmpForm", "ShowTxtForm",
                                           "ShowRtfForm"));

}  // namespace
}  // namespace foyer
