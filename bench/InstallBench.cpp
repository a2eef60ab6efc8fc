// Times the install copy on the real file system, with its progress window up, against the
// tools a user would copy with instead: xcopy /e /i /h for a tree, copy for one large file;
// each into an empty folder, then again over the copy it made, where every file is replaced.
// Arguments: a work folder. Prints one line per round and the medians.
#include "platform/win32/WinApi.h"

#include "Clock.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "dialogs/CopyProgress.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Application.h"
#include "toolkit/win32/Win32Backend.h"
#include "util/FileCopy.h"
#include "util/Path.h"

namespace {

using namespace foyer;

constexpr int kFolders = 100;
constexpr int kFilesPerFolder = 100;
constexpr size_t kSmallFile = 1024;
constexpr uint64_t kBigFile = 200ULL << 20;
constexpr int kRounds = 4;

using bench::Seconds;

bool WriteBytes(const std::string& path, const std::string& bytes, uint64_t times = 1) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  for (uint64_t i = 0; i < times; ++i) {
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
      return false;
  }
  return true;
}

// The two entries, made once: a tree of 10,000 files of 1 KB in 100 folders, and a folder
// with one file of 200 MB.
void MakeSources(const std::string& work) {
  const std::string done = work + "\\source\\done";
  if (GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  std::string bytes(kSmallFile, '\0');
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>('a' + i % 26);
  for (int folder = 0; folder < kFolders; ++folder) {
    const std::string path = work + "\\source\\Tree\\Folder" + std::to_string(folder);
    ForceDirs(path);
    for (int file = 0; file < kFilesPerFolder; ++file)
      WriteBytes(path + "\\file" + std::to_string(file) + ".dat", bytes);
  }
  ForceDirs(work + "\\source\\Big");
  std::string chunk(1 << 20, '\0');
  for (size_t i = 0; i < chunk.size(); ++i)
    chunk[i] = static_cast<char>(i * 31 % 251);
  WriteBytes(work + "\\source\\Big\\big.bin", chunk, kBigFile / chunk.size());
  WriteBytes(done, "");
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA data{};
  FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
  if (find) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(find.Get(), &data));
  }
  RemoveDirectoryA(folder.c_str());
}

// The program's copy as an install makes it, with the progress window over the others: up from
// the start, since a copy from the page cache can end before the window's usual delay.
double TimeInstall(const std::string& source, const std::string& target, bool* shown) {
  const double start = Seconds();
  TInstallProgress progress("Bench", source, 0);
  const bool ok = CopyTree(source, target, &progress);
  const double seconds = Seconds() - start;
  *shown = progress.WasShown();
  if (!ok) std::printf("!! the install copy failed\n");
  return seconds;
}

double TimeCommand(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = commandLine;
  const double start = Seconds();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info)) {
    std::printf("!! cannot run %s\n", commandLine.c_str());
    return 0;
  }
  WaitForSingleObject(info.hProcess, INFINITE);
  const double seconds = Seconds() - start;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  InstallPlatform(Win32Services());
  Application().SetBackend(MakeWin32Backend(GetModuleHandleA(nullptr)));
  Application().Backend().Start();
  if (argc < 2) {
    std::printf("usage: foyer_install_bench <work folder>\n");
    return 2;
  }
  const std::string work = argv[1];
  MakeSources(work);
  const std::string tree = work + "\\source\\Tree";
  const std::string big = work + "\\source\\Big";
  const std::string out = work + "\\out";
  const std::string command = "xcopy /e /i /h /q /y ";
  const std::string copy = "cmd /c copy /y ";

  // [0] into an empty folder, [1] again over the first copy.
  std::vector<double> ours[2], xcopy[2], oursBig[2], copyBig[2];
  bool shownTree = true, shownBig = true;
  // The order alternates between rounds: the file system's write-back of one copy slows the copy
  // that follows it.
  for (int round = 1; round <= kRounds; ++round) {
    const auto installTree = [&] {
      RemoveTree(out);
      for (auto& times : ours) {
        bool shown = false;
        times.push_back(TimeInstall(tree, out + "\\Tree", &shown));
        shownTree = shownTree && shown;
      }
    };
    const auto xcopyTree = [&] {
      RemoveTree(out);
      for (auto& times : xcopy)
        times.push_back(TimeCommand(command + "\"" + tree + "\" \"" + out + "\\Tree\""));
    };
    const auto installBig = [&] {
      RemoveTree(out);
      for (auto& times : oursBig) {
        bool shown = false;
        times.push_back(TimeInstall(big, out + "\\Big", &shown));
        shownBig = shownBig && shown;
      }
    };
    const auto copyFile = [&] {
      RemoveTree(out);
      ForceDirs(out + "\\Big");
      for (auto& times : copyBig) {
        times.push_back(
            TimeCommand(copy + "\"" + big + "\\big.bin\" \"" + out + "\\Big\\big.bin\" >nul"));
      }
    };
    if (round % 2 == 1) {
      installTree(), xcopyTree(), installBig(), copyFile();
    } else {
      xcopyTree(), installTree(), copyFile(), installBig();
    }
    for (int again = 0; again < 2; ++again) {
      std::printf("round %d%s: tree %.3f s, xcopy %.3f s; big file %.3f s, copy %.3f s\n", round,
                  again ? " again" : "", ours[again].back(), xcopy[again].back(),
                  oursBig[again].back(), copyBig[again].back());
    }
    std::fflush(stdout);
  }
  RemoveTree(out);
  for (int again = 0; again < 2; ++again) {
    const char* over = again ? ", over the first copy" : "";
    const double ourTree = Median(ours[again]), theirTree = Median(xcopy[again]);
    const double ourFile = Median(oursBig[again]), theirFile = Median(copyBig[again]);
    std::printf("tree of %d files%s: install %.3f s, xcopy %.3f s, ratio %.2f (goal <= 1.0)%s\n",
                kFolders * kFilesPerFolder, over, ourTree, theirTree, ourTree / theirTree,
                shownTree ? "" : " -- no progress window");
    std::printf("file of %llu MB%s: install %.3f s, copy %.3f s, ratio %.2f (goal <= 1.1)%s\n",
                static_cast<unsigned long long>(kBigFile >> 20), over, ourFile, theirFile,
                ourFile / theirFile, shownBig ? "" : " -- no progress window");
  }
  Application().DestroyForms();
  return 0;
}
