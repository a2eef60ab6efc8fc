// Times the click on a large install category on the real file system, in the real main window,
// against the least a listing must do in the same process: one enumeration, then each entry's
// readme opened and its first line read. Prints the file-system calls the click made per row.
#include "platform/win32/WinApi.h"

#include "Clock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "main/UMain.h"
#include "medgen/FolderSink.h"
#include "medgen/Medium.h"
#include "platform/CountingFileSystem.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Application.h"
#include "toolkit/win32/Win32Backend.h"
#include "util/Path.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowRtf.h"
#include "viewers/ShowTxt.h"

namespace {

using namespace foyer;

using bench::Seconds;

bool WriteText(const std::string& path, const std::string& text) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file &&
         WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// A medium with one category of count sub-folders, each with a readme.txt; made once. Its
// marker lies beside the medium, so the category holds the entries and nothing else.
std::string MakeMedium(const std::string& top, int count) {
  const std::string medium = top + "\\medium" + std::to_string(count);
  const std::string category = medium + "\\Many";
  const std::string marker = medium + ".done";
  if (GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return medium;
  ForceDirs(category);
  medgen::FolderSink sink(medium);
  medgen::WriteSkin(sink, medgen::Skin::Rgb256);
  medgen::WriteSkin(sink, medgen::Skin::Tc24);
  for (int i = 0; i < count; ++i) {
    const std::string folder = category + "\\Item" + std::to_string(i);
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteText(folder + "\\readme.txt", "Entry number " + std::to_string(i) + "\r\nMore\r\n");
  }
  WriteText(marker, "");
  return medium;
}

// The least any listing of the category must do: enumerate it once, and open each entry's
// readme.txt and read its first line. With lookups, also what the program's rules ask of each
// entry beyond that, each a missing name here: whether it holds a viewme.bmp, and a readme that
// would come before its readme.txt. Returns the seconds; rows gets the entries seen.
double TimeLimit(const std::string& category, bool lookups, int& rows) {
  const double start = Seconds();
  WIN32_FIND_DATAA data{};
  FindHandle find(FindFirstFileA((category + "\\*.*").c_str(), &data));
  rows = 0;
  if (find) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string folder = category + "\\" + name;
      if (lookups) {
        GetFileAttributesA((folder + "\\viewme.bmp").c_str());
        FileHandle first(CreateFileA((folder + "\\readme").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
      }
      FileHandle file(CreateFileA((folder + "\\readme.txt").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
      char buffer[256];
      DWORD got = 0;
      if (file && ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) ++rows;
    } while (FindNextFileA(find.Get(), &data));
  }
  return Seconds() - start;
}

// The user's click on the category: its scan, then the listing, with the window repainted
// after each row. Counts the calls it makes to the file system.
double TimeListing(CountingFileSystem& counting, FileSystemCalls& calls) {
  counting.Reset();
  const double start = Seconds();
  MainForm->CategoryClick(MainForm->CatLabel(1));
  const double seconds = Seconds() - start;
  calls = counting.Calls();
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: foyer_bench <work folder> <entries> [rounds] [--headless]\n");
    return 2;
  }
  const std::string top = argv[1];
  const int count = std::atoi(argv[2]);
  int rounds = 3;
  bool windowed = true;
  for (int i = 3; i < argc; ++i) {
    if (std::string(argv[i]) == "--headless") {
      windowed = false;
    } else {
      rounds = std::max(1, std::atoi(argv[i]));
    }
  }
  Services services = Win32Services();
  CountingFileSystem counting(*services.Fs);
  services.Fs = &counting;
  InstallPlatform(services);
  // Windowed, the list box and the main window's repaint after each row are in the figures.
  if (windowed) {
    Application().SetBackend(MakeWin32Backend(GetModuleHandleA(nullptr)));
    Application().Backend().Start();
  }

  const std::string medium = MakeMedium(top, count);
  const std::string category = medium + "\\Many";
  ProgramArgs() = {medium + "\\bin.dat\\foyer.exe", {}};
  Application().CreateForm(MainForm);
  Application().CreateForm(ShowBmpForm);
  Application().CreateForm(ShowTxtForm);
  Application().CreateForm(ShowRtfForm);
  MainForm->SetVisible(true);
  MainForm->InitTimerTimer(MainForm);

  // Rounds alternate whether the listing goes first or last, so it does not always meet the
  // caches the others leave. The first listing of the process is the cold one: a user's first
  // click. "lookups" is the limit with the lookups the rules ask for besides.
  std::printf("%-8s %6s %-8s %9s %9s %10s %8s %8s %6s %9s\n", "entries", "round", "first",
              "limit s", "lookups s", "listing s", "/limit", "/lookups", "rows", "calls/row");
  for (int round = 1; round <= rounds; ++round) {
    int limitRows = 0;
    int lookupRows = 0;
    FileSystemCalls calls;
    double listing = 0;
    const bool listingFirst = round % 2 == 1;
    if (listingFirst) listing = TimeListing(counting, calls);
    const double limit = TimeLimit(category, false, limitRows);
    const double lookups = TimeLimit(category, true, lookupRows);
    if (!listingFirst) listing = TimeListing(counting, calls);
    const int rows = MainForm->TextBox->Count();
    if (rows != limitRows || rows != lookupRows) {
      std::fprintf(stderr, "bench: %d rows, %d and %d entries\n", rows, limitRows, lookupRows);
    }
    const double perRow = 1.0 / std::max(rows, 1);
    std::printf("%-8d %6d %-8s %9.3f %9.3f %10.3f %8.2f %8.2f %6d %9.2f\n", count, round,
                listingFirst ? "listing" : "limit", limit, lookups, listing, listing / limit,
                listing / lookups, rows, static_cast<double>(calls.Total()) * perRow);
    if (round == 1) {
      std::printf("   calls per row: %.2f enumerations, %.2f tests, %.2f opens, %.2f reads, "
                  "%.2f other\n",
                  static_cast<double>(calls.Enumerations) * perRow,
                  static_cast<double>(calls.Tests) * perRow,
                  static_cast<double>(calls.Opens) * perRow,
                  static_cast<double>(calls.Reads) * perRow,
                  static_cast<double>(calls.Other) * perRow);
    }
    std::fflush(stdout);
  }
  Application().DestroyForms();
  return 0;
}
