// Times the listing of a large install category on the real file system, against the bare work
// the listing cannot avoid: one enumeration, the same existence tests and first-line reads.
#include "platform/win32/WinApi.h"

#include "Clock.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "main/UMain.h"
#include "medgen/FolderSink.h"
#include "medgen/Medium.h"
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

// A medium with one category of count sub-folders, each with a readme.txt; made once.
std::string MakeMedium(const std::string& top, int count) {
  const std::string medium = top + "\\medium" + std::to_string(count);
  const std::string category = medium + "\\Many";
  if (GetFileAttributesA((category + "\\done").c_str()) != INVALID_FILE_ATTRIBUTES) return medium;
  ForceDirs(category);
  medgen::FolderSink sink(medium);
  medgen::WriteSkin(sink, medgen::Skin::Rgb256);
  medgen::WriteSkin(sink, medgen::Skin::Tc24);
  for (int i = 0; i < count; ++i) {
    const std::string folder = category + "\\Item" + std::to_string(i);
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteText(folder + "\\readme.txt", "Entry number " + std::to_string(i) + "\r\nMore\r\n");
  }
  WriteText(category + "\\done", "");
  return medium;
}

// What any listing must do: enumerate once, test for the entry's readme and preview files the
// way the listing does, and read the first line of the readme.
double TimeBareWork(const std::string& category) {
  const double start = Seconds();
  WIN32_FIND_DATAA data{};
  FindHandle find(FindFirstFileA((category + "\\*.*").c_str(), &data));
  size_t described = 0;
  if (find) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = category + "\\" + name;
      const std::string candidates[] = {path + ".readme", path + "\\readme", path + "\\readme.txt"};
      for (const std::string& candidate : candidates) {
        const DWORD attributes = GetFileAttributesA(candidate.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
          continue;
        }
        FileHandle file(CreateFileA(candidate.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
        char buffer[256];
        DWORD got = 0;
        if (file && ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) ++described;
        break;
      }
      GetFileAttributesA((path + "\\viewme.bmp").c_str());
    } while (FindNextFileA(find.Get(), &data));
  }
  const double seconds = Seconds() - start;
  if (described == 0) std::fprintf(stderr, "bench: no readme was read\n");
  return seconds;
}

struct ListingTimes {
  double Click;    // the whole category click: scan, then listing
  double Listing;  // the listing alone
  int Rows;
};

ListingTimes TimeListing(const std::string& medium) {
  ProgramArgs() = {medium + "\\bin.dat\\foyer.exe", {}};
  Application().CreateForm(MainForm);
  Application().CreateForm(ShowBmpForm);
  Application().CreateForm(ShowTxtForm);
  Application().CreateForm(ShowRtfForm);
  MainForm->SetVisible(true);
  MainForm->InitTimerTimer(MainForm);
  // A first listing warms the caches, as the bare work's first run does.
  MainForm->ListFolder("Many", lmInstall, "*", &TMainForm::DoInstall, false, false, false);
  ListingTimes times{};
  double start = Seconds();
  MainForm->ListFolder("Many", lmInstall, "*", &TMainForm::DoInstall, false, false, false);
  times.Listing = Seconds() - start;
  start = Seconds();
  MainForm->CategoryClick(MainForm->CatLabel(1));
  times.Click = Seconds() - start;
  times.Rows = MainForm->TextBox->Count();
  Application().DestroyForms();
  return times;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: foyer_bench <work folder> [entries...] [--headless] [--no-bare]\n");
    return 2;
  }
  InstallPlatform(Win32Services());
  const std::string top = argv[1];
  std::vector<int> counts;
  bool windowed = true;
  bool withBare = true;
  for (int i = 2; i < argc; ++i) {
    if (std::string(argv[i]) == "--no-bare") {
      withBare = false;
    } else if (std::string(argv[i]) == "--headless") {
      windowed = false;
    } else {
      counts.push_back(std::atoi(argv[i]));
    }
  }
  // Windowed, the list box and the main window's repaint after each row are in the figures.
  if (windowed) Application().SetBackend(MakeWin32Backend(GetModuleHandleA(nullptr)));
  if (counts.empty()) counts = {10000, 20000};

  std::printf("%-8s %10s %10s %10s %8s %8s\n", "entries", "bare s", "listing s", "click s",
              "list/bare", "rows");
  for (int count : counts) {
    const std::string medium = MakeMedium(top, count);
    // One warm-up of each, so both find the same caches.
    double bare = 0;
    if (withBare) {
      TimeBareWork(medium + "\\Many");
      bare = TimeBareWork(medium + "\\Many");
    }
    const ListingTimes listing = TimeListing(medium);
    std::printf("%-8d %10.3f %10.3f %10.3f %8.2f %8d\n", count, bare, listing.Listing,
                listing.Click, listing.Listing / bare, listing.Rows);
    std::fflush(stdout);
  }
  return 0;
}
