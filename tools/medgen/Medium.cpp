// Writes a demonstration medium: skins, categories of every kind of content, readmes, previews.
#include "medgen/Medium.h"

#include <set>

#include "medgen/Bitmap.h"
#include "medgen/Content.h"
#include "medgen/Documents.h"

namespace foyer::medgen {

namespace {

// Makes every folder on the way to a file once, in order from the top.
class FolderMaker {
 public:
  explicit FolderMaker(IMediumSink& sink) : FSink(sink) {}
  void MakeParents(const std::string& relPath) {
    for (size_t slash = relPath.find('\\'); slash != std::string::npos;
         slash = relPath.find('\\', slash + 1)) {
      const std::string folder = relPath.substr(0, slash);
      if (FMade.insert(folder).second) FSink.MakeDir(folder);
    }
  }
  void Write(const std::string& relPath, const std::string& bytes) {
    MakeParents(relPath);
    FSink.WriteFile(relPath, bytes);
  }

 private:
  IMediumSink& FSink;
  std::set<std::string> FMade;
};

std::string IniFile(const std::string& section, const std::vector<std::string>& settings) {
  std::vector<std::string> lines = {"[" + section + "]"};
  lines.insert(lines.end(), settings.begin(), settings.end());
  return MakeText(lines);
}

std::vector<InstallFile> TypingLessons() {
  static const char* kLessons[] = {
      "the home row", "the upper row", "the lower row", "capital letters", "numbers",
      "punctuation",  "short words",   "long words",    "sentences",       "speed"};
  std::vector<InstallFile> files = {{"typing.ini", IniFile("Typing", {"Lessons=10", "Speed=20"})}};
  for (int i = 1; i <= 10; ++i) {
    const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
    files.push_back({"lessons\\lesson" + number + ".txt",
                     MakeText({"Lesson " + std::to_string(i) + ": " + kLessons[i - 1], "",
                               "asdf jkl; asdf jkl; fdsa ;lkj"})});
  }
  return files;
}

}  // namespace

std::string JoinRel(const std::string& relPath, const std::string& name) {
  return relPath.empty() ? name : relPath + "\\" + name;
}

std::string SkinFolder(Skin skin) {
  return JoinRel("layout.dat", skin == Skin::Tc24 ? "tc24" : "rgb256");
}

void WriteSkin(IMediumSink& sink, Skin skin) {
  FolderMaker maker(sink);
  const std::string folder = SkinFolder(skin);
  const Image back = SkinBackground(skin);
  const Image button = SkinButton(skin);
  if (skin == Skin::Tc24) {
    maker.Write(JoinRel(folder, "back.bmp"), MakeBmp24(back));
    maker.Write(JoinRel(folder, "butt.bmp"), MakeBmp24(button));
  } else {
    maker.Write(JoinRel(folder, "back.bmp"), MakeBmp8(back));
    maker.Write(JoinRel(folder, "butt.bmp"), MakeBmp8(button));
  }
}

void WriteInstallFolder(IMediumSink& sink, const std::string& folder,
                        const std::string& description, Pictogram preview,
                        const std::vector<InstallFile>& files) {
  FolderMaker maker(sink);
  maker.MakeParents(folder + "\\");
  const std::string name = folder.substr(folder.rfind('\\') + 1);
  maker.Write(JoinRel(folder, "readme.txt"),
              MakeText({description, "", "Install copies " + name + " to the folder you choose.",
                        "It needs about one megabyte of disk space."}));
  maker.Write(JoinRel(folder, "viewme.bmp"), MakeBmp24(PreviewPicture(preview, name)));
  for (const InstallFile& file : files)
    maker.Write(JoinRel(folder, file.RelPath), file.Bytes);
}

void WriteZipWithCompanions(IMediumSink& sink, const std::string& folder, const std::string& stem,
                            const std::string& zipBytes, const std::string& description,
                            Pictogram preview) {
  FolderMaker maker(sink);
  maker.MakeParents(folder + "\\");
  maker.Write(JoinRel(folder, stem + ".zip"), zipBytes);
  maker.Write(JoinRel(folder, stem + ".readme"),
              MakeText({description, "", "Unpack " + stem + ".zip with any zip program."}));
  maker.Write(JoinRel(folder, stem + ".bmp"), MakeBmp8(PreviewPicture(preview, stem)));
}

void WriteInstallCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "readme.txt"), MakeText({"Programs to install from this disc",
                                                       "Select a program and click Install."}));
  WriteInstallFolder(
      sink, JoinRel(folder, "Painter"), "Paint program for young artists", Pictogram::Palette,
      {{"painter.ini", IniFile("Painter", {"Canvas=640x480", "Brush=round"})},
       {"brushes\\round.brs", MakeDataBytes(512, 1)},
       {"brushes\\square.brs", MakeDataBytes(512, 2)},
       {"brushes\\textures\\canvas.bmp", MakeBmp8(MosaicPicture(64, 64))},
       {"help\\painter.txt", MakeText({"Painter help", "", "Pick a brush, then paint."})}});
  const std::string atlas = JoinRel(folder, "Atlas");
  WriteInstallFolder(
      sink, atlas, "World atlas with forty maps", Pictogram::Globe,
      {{"atlas.ini", IniFile("Atlas", {"Maps=40", "Units=km"})},
       {"maps\\index.txt", MakeText({"Europe      europe.bmp", "Landscape   land.bmp"})},
       {"maps\\europe.bmp", MakeBmp4(PosterPicture(96, 72))},
       {"maps\\land.bmp", MakeBmp24(LandscapePicture(96, 72))},
       {"maps\\desktop.ini", IniFile(".ShellClassInfo", {"IconIndex=0"})}});
  sink.SetHidden(JoinRel(atlas, "maps\\desktop.ini"));
  WriteInstallFolder(sink, JoinRel(folder, "Cards"), "Solitaire card games for one player",
                     Pictogram::Cards,
                     {{"cards.ini", IniFile("Cards", {"Deck=classic", "Draw=3"})},
                      {"rules.txt", MakeText({"Klondike", "", "Build down in alternate colours."})},
                      {"decks\\classic.dek", MakeDataBytes(1024, 3)},
                      {"decks\\modern.dek", MakeDataBytes(1024, 4)}});
  WriteInstallFolder(sink, JoinRel(folder, "Typing"), "Typing tutor in ten lessons",
                     Pictogram::Keyboard, TypingLessons());
}

void WriteArchiveCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "readme.txt"),
              MakeText({"Archives to unpack", "Each archive has its own notes and preview."}));
  WriteZipWithCompanions(sink, folder, "fonts", MakeFontsZip(), "Display fonts for titles",
                         Pictogram::Letters);
  WriteZipWithCompanions(sink, folder, "icons", MakeIconsZip(), "Icons in two sizes",
                         Pictogram::Icons);
  WriteZipWithCompanions(sink, folder, "tools", MakeToolsZip(), "Small tools for every day",
                         Pictogram::Gear);
  maker.Write(JoinRel(folder, "tools.txt"),
              MakeText({"Notes on the tools", "", "The tools need no installation."}));
}

void WriteSoundCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "chime.wav"), MakeChimeWav());
  maker.Write(JoinRel(folder, "chime.readme"), MakeText({"Door chime in three notes"}));
  maker.Write(JoinRel(folder, "bell.wav"), MakeBellWav());
  maker.Write(JoinRel(folder, "sweep.wav"), MakeSweepWav());
  maker.Write(JoinRel(folder, "fanfare.wav"), MakeFanfareWav());
}

void WriteMusicCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "minuet.mid"), MakeMinuetMidi());
  maker.Write(JoinRel(folder, "ode.mid"), MakeOdeMidi());
  maker.Write(JoinRel(folder, "saints.mid"), MakeSaintsMidi());
}

void WriteVideoCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "bounce.avi"), MakeBounceAvi());
  maker.Write(JoinRel(folder, "orbit.avi"), MakeOrbitAvi());
}

void WritePictureCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "sunset.bmp"), MakeSunsetBmp());
  maker.Write(JoinRel(folder, "mosaic.bmp"), MakeMosaicBmp());
  maker.Write(JoinRel(folder, "fractal.bmp"), MakeFractalBmp());
  maker.Write(JoinRel(folder, "poster.bmp"), MakePosterBmp());
}

void WriteDocumentCategory(IMediumSink& sink, const std::string& folder, size_t largeTextBytes) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "history.txt"), MakeHistoryText());
  maker.Write(JoinRel(folder, "faq.txt"), MakeFaqText());
  maker.Write(JoinRel(folder, "catalog.txt"), MakeCatalogText(largeTextBytes));
}

void WriteLetterCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "welcome.rtf"), MakeWelcomeRtf());
  maker.Write(JoinRel(folder, "news.rtf"), MakeNewsletterRtf());
  maker.Write(JoinRel(folder, "prices.rtf"), MakePriceListRtf());
}

void WriteProgramCategory(IMediumSink& sink, const std::string& folder,
                          const std::string& programExe) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "hello.bat"), MakeHelloBat());
  maker.Write(JoinRel(folder, "listing.bat"), MakeListingBat());
  if (!programExe.empty()) maker.Write(JoinRel(folder, "sample.exe"), programExe);
}

void WriteSingleFileCategory(IMediumSink& sink, const std::string& folder,
                             const std::string& fileName, const std::string& bytes) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, fileName), bytes);
}

std::vector<std::string> DemoCategoryNames() {
  return {"Install",   "Archives", "Sounds",   "Music", "Video",  "Pictures",
          "Documents", "Letters",  "Programs", "Intro", "Manual", "Jingle"};
}

void WriteDemoMedium(IMediumSink& sink, const DemoOptions& options) {
  sink.MakeDir(kProgramFolder);
  if (!options.FoyerExe.empty()) {
    sink.WriteFile(JoinRel(kProgramFolder, kProgramName), options.FoyerExe);
  }
  WriteSkin(sink, Skin::Rgb256);
  WriteSkin(sink, Skin::Tc24);
  WriteInstallCategory(sink, "Install");
  WriteArchiveCategory(sink, "Archives");
  WriteSoundCategory(sink, "Sounds");
  WriteMusicCategory(sink, "Music");
  WriteVideoCategory(sink, "Video");
  WritePictureCategory(sink, "Pictures");
  WriteDocumentCategory(sink, "Documents", options.LargeTextBytes);
  WriteLetterCategory(sink, "Letters");
  WriteProgramCategory(sink, "Programs", options.ProgramExe);
  WriteSingleFileCategory(sink, "Intro", "intro.avi", MakeIntroAvi());
  WriteSingleFileCategory(sink, "Manual", "manual.txt", MakeManualText());
  WriteSingleFileCategory(sink, "Jingle", "jingle.mid", MakeJingleMidi());
  sink.WriteFile("autorun.inf", MakeText({"[autorun]", "open=bin.dat\\foyer.exe",
                                          "icon=bin.dat\\foyer.exe,0", "label=Extras"}));
  sink.WriteFile("readme.txt",
                 MakeText({"Extras disc", "", "Start bin.dat\\foyer.exe to open the menu."}));
}

}  // namespace foyer::medgen
