// The play and run actions: a sound or video on the media player, a program as its own process.
#include "main/EntryActions.h"
#include "platform/Platform.h"
#include "util/Errors.h"
#include "util/Path.h"

namespace foyer {

namespace {

// The show command a started program's window opens with (SW_SHOWNORMAL).
constexpr int kShowNormal = 1;
// The longest command line a program is started with; a longer one is refused rather than cut.
constexpr size_t kMaxCommandLine = 255;

// What the user is told when a program does not start, by the system's error code.
std::string StartFailure(uint32_t error, const std::string& name) {
  switch (error) {
    case kErrNotEnoughMemory:
      return "Not enough memory to start " + name;
    case kErrFileNotFound:
      return "Cannot find the program " + name;
    case kErrPathNotFound:
      return "Cannot find the folder of the program " + name;
    case kErrBadFormat:
    case kErrBadExeFormat:
    case kErrMachineMismatch:
      return name + " is not a program that can be started";
    default:
      return "Cannot start " + name + " (error " + std::to_string(error) + ")";
  }
}

}  // namespace

void TWindowActions::Play(const TEntryRef& entry, TMPDeviceType) {
  FPlayer.SetFileName(JoinPath(entry.Folder, entry.Name));
  FPlayer.Open();
  FPlayer.Play();
}

void TWindowActions::Run(const TEntryRef& entry) {
  const std::string& name = entry.Name;
  const uint32_t folderError = Platform().Fs->SetCurrentDir(entry.Folder);
  if (folderError != kErrNone) throw EInOutError(static_cast<int>(folderError));
  const ProgramStart program{JoinPath(entry.Folder, name), "", entry.Folder, kShowNormal};
  // The command line is the path in quotes (a space in it must not start the part before it).
  // A path cut short would start another program, or none.
  if (PathLength(program.File) + 2 > kMaxCommandLine) {
    throw Exception("The path of " + name + " is too long to start it");
  }
  IPrograms& programs = *Platform().Programs;
  uint32_t error = programs.Start(program);
  // Installers ask for administrator rights in their manifest, and the system refuses to start
  // them from a program without those rights; the shell's elevating start asks the user.
  if (error == kErrElevationRequired) {
    error = programs.StartElevated(program);
    // The user said no to the consent prompt: nothing went wrong that they need telling.
    if (error == kErrCancelled) return;
  }
  if (error != kErrNone) throw Exception(StartFailure(error, name));
}

}  // namespace foyer
