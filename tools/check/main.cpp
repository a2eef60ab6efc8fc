// foyer-check: what every category of a medium will do when clicked, and what is wrong with the
// medium, before it ships.
//
//   foyer-check MEDIUM [--json] [--max-entries N] [--max-size BYTES]
//   foyer-check --version
//
// MEDIUM is the medium's top folder, or (on Linux) a disc image or zip file of it, unpacked into
// a private folder under TMPDIR that is removed however the check ends. Exit code 0 when the
// report holds no error, 1 when it does, 2 when the medium cannot be read or the command line is
// wrong.
#include <cstdio>
#include <memory>
#include <string>

#include "check/Checker.h"
#include "platform/Platform.h"
#include "platform/memory/MemoryDisplay.h"
#include "platform/memory/MemoryMedia.h"

#ifdef _WIN32
#include "platform/win32/Win32Platform.h"
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>

#include "Unpack.h"
#include "main/UMain.h"
#include "platform/posix/PosixPlatform.h"
#include "util/Path.h"
#endif

namespace {

int Usage(const char* message) {
  std::fprintf(stderr,
               "foyer-check: %s\nusage: foyer-check MEDIUM [--json] [--max-entries N] "
               "[--max-size BYTES] | --version\n",
               message);
  return 2;
}

#ifndef _WIN32
pid_t gChild = 0;

void Forward(int signal) {
  if (gChild > 0) kill(gChild, signal);
}

// Runs the work in a child process, over a private folder made under TMPDIR; the folder is
// removed once the child has ended, however it ended: an interrupt, a hang-up or a termination is
// handed on to it, and this process then ends as it did.
int InPrivateFolder(const std::function<int(const std::string&)>& work) {
  const int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
  sigset_t blocked;
  sigset_t previous;
  sigemptyset(&blocked);
  for (const int signal : kSignals)
    sigaddset(&blocked, signal);
  // No signal between the folder's making and the child's start goes unanswered.
  sigprocmask(SIG_BLOCK, &blocked, &previous);
  const char* temp = std::getenv("TMPDIR");
  std::string folder = std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") +
                       "/foyer-check-XXXXXX";
  if (mkdtemp(folder.data()) == nullptr) {
    std::fprintf(stderr, "foyer-check: cannot make a folder to unpack into: %s: %s\n",
                 folder.c_str(), std::strerror(errno));
    return 2;
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    const int code = work(folder);
    std::fflush(nullptr);
    _exit(code);
  }
  if (child < 0) {
    std::fprintf(stderr, "foyer-check: cannot start: %s\n", std::strerror(errno));
    foyer::RemoveTree(folder);
    return 2;
  }
  gChild = child;
  struct sigaction forward {};
  forward.sa_handler = Forward;
  sigemptyset(&forward.sa_mask);
  for (const int signal : kSignals)
    sigaction(signal, &forward, nullptr);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  foyer::RemoveTree(folder);
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  const int signal = WTERMSIG(status);
  std::signal(signal, SIG_DFL);
  sigset_t ended;
  sigemptyset(&ended);
  sigaddset(&ended, signal);
  sigprocmask(SIG_UNBLOCK, &ended, nullptr);
  raise(signal);
  return 2;
}

// The one folder an unpacked top holds with nothing beside it, when it looks like a medium (it
// has the program's folder or the skins): the zip or image was made of the medium's folder
// rather than of what it holds. Empty otherwise.
std::string SoleMediumFolder(const std::string& top) {
  using namespace foyer;
  IFileSystem& fs = *Platform().Fs;
  std::vector<DirEntry> entries = FindFiles(fs, JoinPath(top, "*"), faAnyFile).Entries;
  std::erase_if(entries, [](const DirEntry& e) { return e.Name == "." || e.Name == ".."; });
  if (entries.size() != 1 || (entries[0].Attr & faDirectory) == 0) return {};
  const std::string folder = JoinPath(top, entries[0].Name);
  const bool isMedium =
      fs.DirExists(JoinPath(folder, kSkinFolder)) || fs.DirExists(JoinPath(folder, kProgramFolder));
  return isMedium ? folder : std::string();
}

bool ParseCount(const char* text, uint64_t& count) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || text[0] == '-') return false;
  count = value;
  return true;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  using namespace foyer;
  std::string medium;
  bool isJson = false;
#ifndef _WIN32
  TUnpackLimits limits;
#endif
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json") {
      isJson = true;
    } else if (arg == "--version") {
      std::printf("foyer-check %s\n", FOYER_VERSION);
      return 0;
#ifndef _WIN32
    } else if (arg == "--max-entries" || arg == "--max-size") {
      if (i + 1 == argc || !ParseCount(argv[++i], arg == "--max-size" ? limits.Bytes
                                                                        : limits.Entries)) {
        return Usage((arg + " takes a number").c_str());
      }
#endif
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
  services.Display = &display;
  services.Media = &media;
  services.Programs = &programs;
  const ScopedPlatform scoped(services);
  if (!Platform().Fs->DirExists(root)) {
    std::fprintf(stderr, "foyer-check: %s is no folder that can be read\n", medium.c_str());
    return 2;
  }
  const TReport report = CheckMedium(root);
#else
  char resolved[PATH_MAX];
  struct stat status {};
  if (realpath(medium.c_str(), resolved) == nullptr || stat(resolved, &status) != 0) {
    std::fprintf(stderr, "foyer-check: cannot read %s\n", medium.c_str());
    return 2;
  }
  // The check of the folder (the medium's own, or the one its image or zip unpacked to).
  const auto check = [&](const std::string& folder, const TUnpackedMedium* unpacked) {
    PosixPlatform posix;
    // The medium is drive M: of a Windows machine.
    posix.Fs.AddDrive('M', folder);
    Services services = posix.Get();
    const std::string root = "M:\\";
    services.Display = &display;
    services.Media = &media;
    services.Programs = &programs;
    const ScopedPlatform scoped(services);
    if (!Platform().Fs->DirExists(root)) {
      std::fprintf(stderr, "foyer-check: %s is no folder that can be read\n", medium.c_str());
      return 2;
    }
    const std::string inner = unpacked != nullptr ? SoleMediumFolder(root) : std::string();
    TCheckOptions options;
    options.HasShortNamesOnly = unpacked != nullptr && unpacked->HasShortNamesOnly();
    TReport report = CheckMedium(inner.empty() ? root : inner, options);
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
    if (unpacked == nullptr) {
      report.Remarks.push_back(
          "Read on Linux as drive M: of Windows; hidden and system attributes from "
          "user.DOSATTRIB where a file has it, else names beginning with a dot are hidden.");
    } else if (unpacked->IsImage()) {
      report.Remarks.push_back("Read on Linux as drive M: of Windows, as Windows shows the disc: "
                               "its Joliet names, else its short names, and its hidden flags.");
    } else {
      report.Remarks.push_back("Read on Linux as drive M: of Windows, unpacked as a download is: "
                               "nothing in it hidden.");
    }
    if (unpacked != nullptr && unpacked->LeftOut() > 0) {
      const uint64_t count = unpacked->LeftOut();
      report.Remarks.push_back("Left out: " + std::to_string(count) +
                               (count == 1 ? " entry that is" : " entries that are") +
                               " neither file nor folder (a link, a device), as Windows makes "
                               "none of them.");
    }
    if (unpacked != nullptr && unpacked->HasShortNamesOnly()) {
      report.Problems.push_back(
          {TSeverity::Warning, resolved,
           "The disc has no Joliet names: Windows shows its short names, in capitals "
           "(8 characters and 3), and no long name the folders and readmes have on Linux.",
           "Make the image with Joliet names too (genisoimage -J, xorriso -as mkisofs -J)."});
    }
    if (!inner.empty()) {
      report.Problems.push_back(
          {TSeverity::Warning, linuxPath(inner),
           "The medium sits inside one top folder: on the disc, or once the download is "
           "unpacked, foyer.exe and the folders beside it are one level down" +
               std::string(unpacked->IsImage() ? ", and Windows reads no autorun.inf there." : "."),
           "Zip (or make the image of) the folder's contents, not the folder."});
    }
    const std::string text = isJson ? ReportJson(report) : ReportText(report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return ExitCodeOf(report);
  };
  if (S_ISDIR(status.st_mode)) return check(resolved, nullptr);
  // A disc image or a zip file is checked as the folder it unpacks to, its paths shown inside it.
  return InPrivateFolder([&](const std::string& folder) {
    // A write past the file-size limit fails with its error rather than ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    // Names are told by the rules of the program, which take its platform.
    std::optional<TUnpackedMedium> unpacked;
    {
      PosixPlatform posix;
      const ScopedPlatform scoped(posix.Get());
      unpacked.emplace(resolved, folder, limits);
    }
    if (!unpacked->Error().empty()) {
      std::fprintf(stderr, "foyer-check: cannot read %s: %s\n", medium.c_str(),
                   unpacked->Error().c_str());
      return 2;
    }
    return check(folder, &*unpacked);
  });
#endif
#ifdef _WIN32
  const std::string text = isJson ? ReportJson(report) : ReportText(report);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return ExitCodeOf(report);
#endif
}
