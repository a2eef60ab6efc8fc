// Writes a demonstration medium: skins, categories of every kind of content, readmes, previews.
#include "medgen/Medium.h"

#include <cstdint>
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
  // A file the category's list shows as an entry without notes.
  void WriteEntry(const std::string& category, const std::string& name, const std::string& bytes) {
    Write(JoinRel(category, name), bytes);
    FSink.Listed(category, name, "");
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
  sink.Listed(folder.substr(0, folder.rfind('\\')), name, description);
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
  sink.Listed(folder, stem + ".zip", description);
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

namespace {

// UTF-16, little endian, with its byte-order mark: what Notepad saves as "Unicode".
std::string Utf16Text(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
    for (size_t index = 1; index < length; ++index)
      c = (c << 6) | (static_cast<unsigned char>(text[at + index]) & 0x3F);
    at += length;
    const auto unit = [&out](uint32_t u) {
      out += static_cast<char>(u & 0xFF);
      out += static_cast<char>(u >> 8);
    };
    if (c >= 0x10000) {
      unit(0xD800 + ((c - 0x10000) >> 10));
      unit(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      unit(c);
    }
  }
  return out;
}

}  // namespace

std::string SavedText(const std::string& text, TextSaving saving) {
  switch (saving) {
    case TextSaving::Utf8Mark:
      return "\xEF\xBB\xBF" + text;
    case TextSaving::Utf16:
      return Utf16Text(text);
    case TextSaving::Western: {
      // Only the characters the texts below use beyond ASCII.
      std::string out;
      for (size_t at = 0; at < text.size(); ++at) {
        if (text.compare(at, 2, "\xC3\xA9") == 0) {
          out += '\xE9';
          ++at;
        } else if (text.compare(at, 3, "\xE2\x80\x94") == 0) {
          out += '\x97';
          at += 2;
        } else {
          out += text[at];
        }
      }
      return out;
    }
    case TextSaving::Utf8:
      break;
  }
  return text;
}

std::vector<LanguageEntry> LanguageEntries() {
  return {
      {"Ελληνικά", "Ελληνικά μαθήματα για αρχάριους", TextSaving::Utf8},
      {"Русский", "Русский язык за десять уроков", TextSaving::Utf8Mark},
      {"日本語", "日本語の練習帳と辞書", TextSaving::Utf16},
      {"Français", "Café au lait — recettes du matin", TextSaving::Western},
  };
}

void WriteLanguageCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.MakeParents(folder + "\\");
  for (const LanguageEntry& entry : LanguageEntries()) {
    const std::string path = JoinRel(folder, entry.Name);
    maker.MakeParents(path + "\\");
    sink.Listed(folder, entry.Name, entry.Description);
    maker.Write(JoinRel(path, "readme.txt"),
                SavedText(entry.Description + "\r\n\r\n" + entry.Description + "\r\n", entry.Saving));
    maker.Write(JoinRel(path, "lessons\\" + entry.Name + ".txt"),
                MakeText({entry.Name, entry.Description}));
    maker.Write(JoinRel(path, "viewme.bmp"), MakeBmp24(PreviewPicture(Pictogram::Letters, "Lessons")));
  }
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
  WriteZipWithCompanions(sink, folder, "日本語", MakeIconsZip(), "日本語のアイコン",
                         Pictogram::Icons);
  maker.Write(JoinRel(folder, "tools.txt"),
              MakeText({"Notes on the tools", "", "The tools need no installation."}));
}

void WriteSoundCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.Write(JoinRel(folder, "chime.wav"), MakeChimeWav());
  maker.Write(JoinRel(folder, "chime.readme"), MakeText({"Door chime in three notes"}));
  sink.Listed(folder, "chime.wav", "Door chime in three notes");
  maker.WriteEntry(folder, "bell.wav", MakeBellWav());
  maker.WriteEntry(folder, "sweep.wav", MakeSweepWav());
  maker.WriteEntry(folder, "fanfare.wav", MakeFanfareWav());
}

void WriteMusicCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.WriteEntry(folder, "minuet.mid", MakeMinuetMidi());
  maker.WriteEntry(folder, "ode.mid", MakeOdeMidi());
  maker.WriteEntry(folder, "saints.mid", MakeSaintsMidi());
}

void WriteVideoCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.WriteEntry(folder, "bounce.avi", MakeBounceAvi());
  maker.WriteEntry(folder, "orbit.avi", MakeOrbitAvi());
}

void WritePictureCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.WriteEntry(folder, "sunset.bmp", MakeSunsetBmp());
  maker.WriteEntry(folder, "mosaic.bmp", MakeMosaicBmp());
  maker.WriteEntry(folder, "fractal.bmp", MakeFractalBmp());
  maker.WriteEntry(folder, "poster.bmp", MakePosterBmp());
}

void WriteDocumentCategory(IMediumSink& sink, const std::string& folder, size_t largeTextBytes) {
  FolderMaker maker(sink);
  maker.WriteEntry(folder, "history.txt", MakeHistoryText());
  maker.WriteEntry(folder, "faq.txt", MakeFaqText());
  maker.WriteEntry(folder, "catalog.txt", MakeCatalogText(largeTextBytes));
}

void WriteLetterCategory(IMediumSink& sink, const std::string& folder) {
  FolderMaker maker(sink);
  maker.WriteEntry(folder, "welcome.rtf", MakeWelcomeRtf());
  maker.WriteEntry(folder, "news.rtf", MakeNewsletterRtf());
  maker.WriteEntry(folder, "prices.rtf", MakePriceListRtf());
}

void WriteProgramCategory(IMediumSink& sink, const std::string& folder,
                          const std::string& programExe) {
  FolderMaker maker(sink);
  maker.WriteEntry(folder, "hello.bat", MakeHelloBat());
  maker.WriteEntry(folder, "listing.bat", MakeListingBat());
  if (!programExe.empty()) maker.WriteEntry(folder, "sample.exe", programExe);
}

void WriteSingleFileCategory(IMediumSink& sink, const std::string& folder,
                             const std::string& fileName, const std::string& bytes) {
  FolderMaker maker(sink);
  maker.WriteEntry(folder, fileName, bytes);
}

std::vector<std::string> DemoCategoryNames() {
  return {"Install",  "Archives", "Sounds", "Music",  "Video",  "Pictures", "Documents",
          "Letters",  "Programs", "Intro",  "Manual", "Jingle", "Languages"};
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
  WriteLanguageCategory(sink, "Languages");
  sink.WriteFile("autorun.inf", MakeText({"[autorun]", "open=bin.dat\\foyer.exe",
                                          "icon=bin.dat\\foyer.exe,0", "label=Extras"}));
  sink.WriteFile("readme.txt",
                 MakeText({"Extras disc", "", "Start bin.dat\\foyer.exe to open the menu."}));
}

std::vector<DemoEntry> DemoEntries(const DemoOptions& options) {
  // Keeps what the lists show and nothing of the files.
  class EntrySink final : public IMediumSink {
   public:
    std::vector<DemoEntry> Entries;
    void MakeDir(const std::string&) override {}
    void WriteFile(const std::string&, const std::string&) override {}
    void SetHidden(const std::string&) override {}
    void Listed(const std::string& category, const std::string& name,
                const std::string& description) override {
      Entries.push_back({category, name, description});
    }
  } sink;
  WriteDemoMedium(sink, options);
  return sink.Entries;
}

}  // namespace foyer::medgen
