// foyer-check: what every category of a medium will do when clicked, and what is wrong with the
// medium, before it ships.
//
//   foyer-check MEDIUM [--json]
//   foyer-check --version
//
// MEDIUM is the medium's top folder. Exit code 0 when the report holds no error, 1 when it does,
// 2 when the medium cannot be read or the command line is wrong.
#include <cstdio>
#include <memory>
#include <string>

#include "check/Checker.h"
#include "platform/memory/MemoryDisplay.h"
#include "platform/memory/MemoryMedia.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include <climits>
#include <clocale>
#include <cstdlib>

#include <sys/stat.h>

#include "Unpack.h"
#include "platform/posix/PosixPlatform.h"
#endif

namespace {

int Usage(const char* message) {
  std::fprintf(stderr, "foyer-check: %s\nusage: foyer-check MEDIUM [--json] | --version\n",
               message);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace foyer;
  std::string medium;
  bool isJson = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json") {
      isJson = true;
    } else if (arg == "--version") {
      std::printf("foyer-check %s\n", FOYER_VERSION);
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage(("unknown option " + arg).c_str());
    } else if (medium.empty()) {
      medium = arg;
    } else {
      return Usage("one medium at a time");
    }
  }
  if (medium.empty()) return Usage("no medium named");

  // Playing and program starts are never done, and the window is checked as it shows on a
  // screen of true colour, whatever this machine's screen is.
  MemoryDisplay display;
  MemoryMedia media;
  MemoryPrograms programs;
#ifdef _WIN32
  Services services = Win32Services();
  const std::string root = medium;
#else
  PosixPlatform posix;
  char resolved[PATH_MAX];
  struct stat status {};
  if (realpath(medium.c_str(), resolved) == nullptr || stat(resolved, &status) != 0) {
    std::fprintf(stderr, "foyer-check: cannot read %s\n", medium.c_str());
    return 2;
  }
  // A disc image or a zip file is checked as the folder it unpacks to, its paths shown inside it.
  std::unique_ptr<TUnpackedMedium> unpacked;
  if (!S_ISDIR(status.st_mode)) {
    // Its names beyond ASCII (Joliet's UTF-16, a zip's UTF-8) are written in UTF-8, the form the
    // folder's file system takes as the program's own, whatever this user's locale; in the C
    // locale they could not be unpacked at all.
    setlocale(LC_CTYPE, "C.UTF-8");
    unpacked = std::make_unique<TUnpackedMedium>(resolved);
    if (unpacked->Folder().empty()) {
      std::fprintf(stderr, "foyer-check: cannot read %s: %s\n", medium.c_str(),
                   unpacked->Error().c_str());
      return 2;
    }
  }
  // The medium is drive M: of a Windows machine.
  posix.Fs.AddDrive('M', unpacked ? unpacked->Folder() : std::string(resolved));
  Services services = posix.Get();
  const std::string root = "M:\\";
#endif
  services.Display = &display;
  services.Media = &media;
  services.Programs = &programs;
  const ScopedPlatform scoped(services);
  if (!Platform().Fs->DirExists(root)) {
    std::fprintf(stderr, "foyer-check: %s is no folder that can be read\n", medium.c_str());
    return 2;
  }
  TReport report = CheckMedium(root);
#ifndef _WIN32
  // Paths as the publisher knows them, on Linux.
  const auto linuxPath = [&](std::string path) {
    if (path.rfind(root, 0) == 0) path = std::string(resolved) + "/" + path.substr(root.size());
    for (char& c : path)
      c = c == '\\' ? '/' : c;
    return path;
  };
  report.Root = linuxPath(report.Root);
  report.Skin = linuxPath(report.Skin);
  // The same in the messages the program showed.
  const auto linuxPathsIn = [&](std::string text) {
    for (size_t at = text.find(root); at != std::string::npos; at = text.find(root, at)) {
      text.replace(at, root.size(), std::string(resolved) + "/");
      for (at += std::string(resolved).size() + 1; at < text.size() && text[at] != ' '; ++at)
        text[at] = text[at] == '\\' ? '/' : text[at];
    }
    return text;
  };
  for (TProblem& problem : report.Problems) {
    problem.Path = linuxPath(problem.Path);
    problem.Seen = linuxPathsIn(problem.Seen);
  }
  if (!unpacked) {
    report.Remarks.push_back("Read on Linux as drive M: of Windows; hidden and system attributes "
                             "from user.DOSATTRIB where a file has it, else names beginning with "
                             "a dot are hidden.");
  } else if (unpacked->IsImage()) {
    report.Remarks.push_back("Read on Linux as drive M: of Windows, as Windows shows the disc: "
                             "its Joliet names, else its short names, and its hidden flags.");
  } else {
    report.Remarks.push_back("Read on Linux as drive M: of Windows, unpacked as a download is: "
                             "nothing in it hidden.");
  }
  if (unpacked && unpacked->HasShortNamesOnly()) {
    report.Problems.push_back(
        {TSeverity::Warning, resolved,
         "The disc has no Joliet names: Windows shows its short names, in capitals "
         "(8 characters and 3), and no long name the folders and readmes have on Linux.",
         "Make the image with Joliet names too (genisoimage -J, xorriso -as mkisofs -J)."});
  }
#endif
  const std::string text = isJson ? ReportJson(report) : ReportText(report);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return ExitCodeOf(report);
}
