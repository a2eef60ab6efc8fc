// The play and run actions: a sound or video on the media player, a program as its own process.
#include "main/UMain.h"
#include "platform/Platform.h"
#include "util/Errors.h"
#include "util/Path.h"

namespace foyer {

namespace {

// The show command a started program's window opens with (SW_SHOWNORMAL).
constexpr int kShowNormal = 1;
// The longest command line the system's program start takes whole.
constexpr size_t kMaxCommandLine = 255;

// What the user is told when a program does not start, by the start's answer.
std::string StartFailure(uint32_t answer, const std::string& name) {
  switch (answer) {
    case 0:
      return "Not enough memory to start " + name;
    case 2:
      return "Cannot find the program " + name;
    case 3:
      return "Cannot find the folder of the program " + name;
    case 11:
      return name + " is not a program that can be started";
    default:
      return "Cannot start " + name + " (error " + std::to_string(answer) + ")";
  }
}

}  // namespace

void TMainForm::DoPlay(const std::string& name) {
  MPlay->SetFileName(JoinPath(FCurDir, name));
  MPlay->Open();
  MPlay->Play();
}

void TMainForm::DoRun(const std::string& name) {
  const uint32_t error = Platform().Fs->SetCurrentDir(FCurDir);
  if (error != kErrNone) throw EInOutError(static_cast<int>(error));
  // Quoted, so that a space in the path cannot make the system start another program (the
  // part of the path before the space) or none; batch files start the same way.
  const std::string commandLine = "\"" + JoinPath(FCurDir, name) + "\"";
  // A path cut short would start another program, or none.
  if (commandLine.size() > kMaxCommandLine) {
    throw Exception("The path of " + name + " is too long to start it");
  }
  const uint32_t answer = Platform().Programs->Start(commandLine, kShowNormal);
  if (answer <= 31) throw Exception(StartFailure(answer, name));
}

}  // namespace foyer
