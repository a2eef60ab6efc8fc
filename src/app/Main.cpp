// Program entry of foyer.exe: the libraries' search, the services, the backend, the program.
#include "platform/win32/WinApi.h"

#include "dialogs/OpenDir.h"
#include "main/Program.h"
#include "main/UMain.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Application.h"
#include "toolkit/win32/Win32Backend.h"

namespace {

// The program's title, for error boxes: its file name without the extension.
std::string TitleOf(const std::string& exePath) {
  std::string name = exePath.substr(exePath.find_last_of("\\:") + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace foyer;
  // Before anything loads a library: the program's folder may hold planted copies.
  LoadLibrariesFromSystemOnly();
  // The program runs from removable media and asks drives for their labels: a drive without a
  // disc must answer "not ready" instead of the system asking the user to insert one, and a
  // file that cannot be opened must not bring up a box of the system's own.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  InstallPlatform(Win32Services());
  Application().SetBackend(MakeWin32Backend(instance));

  char exePath[MAX_PATH + 1] = {};
  GetModuleFileNameA(nullptr, exePath, MAX_PATH);
  ProgramArgs() = {exePath, SplitParams(GetCommandLineA())};
  Application().SetTitle(TitleOf(exePath));
  InitOpenDirModule();

  return RunProgram();
}
