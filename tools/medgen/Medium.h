// Writes a demonstration medium: skins, categories of every kind of content, readmes, previews.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "medgen/Artwork.h"

namespace foyer::medgen {

// Where the generator writes; paths are relative to the medium's top folder, with backslashes.
// A folder is made before anything is written into it; making a folder that exists does nothing.
class IMediumSink {
 public:
  virtual ~IMediumSink() = default;
  virtual void MakeDir(const std::string& relPath) = 0;
  virtual void WriteFile(const std::string& relPath, const std::string& bytes) = 0;
  virtual void SetHidden(const std::string& relPath) = 0;
  // An entry of a category's list, as the generator wrote it: the category folder, the entry's
  // file or folder name, and the first line of the notes written for it (empty when none were).
  // A sink that writes files need not keep it.
  virtual void Listed(const std::string& /*category*/, const std::string& /*name*/,
                      const std::string& /*description*/) {}
};

struct DemoOptions {
  // A small Windows program for the program category; empty: the category holds batch files only.
  std::string ProgramExe;
  // The browser itself, written as bin.dat\foyer.exe; empty: bin.dat\ is left empty.
  std::string FoyerExe;
  // Size of the large text file of the document category.
  size_t LargeTextBytes = 3 * 1024 * 1024;
};

// The folder the browser's executable lives in, and the name it has there.
inline constexpr const char* kProgramFolder = "bin.dat";
inline constexpr const char* kProgramName = "foyer.exe";

// relPath and name joined with one backslash; an empty relPath gives name.
std::string JoinRel(const std::string& relPath, const std::string& name);

// "layout.dat\rgb256" or "layout.dat\tc24".
std::string SkinFolder(Skin skin);
// The skin folder with back.bmp and butt.bmp: 8-bit palette bitmaps for rgb256, 24-bit for tc24.
void WriteSkin(IMediumSink& sink, Skin skin);

// A folder entry of an install category: readme.txt whose first line is description, a
// viewme.bmp preview, and the given files (backslash paths inside the folder; their folders are
// made as needed).
struct InstallFile {
  std::string RelPath;
  std::string Bytes;
};
void WriteInstallFolder(IMediumSink& sink, const std::string& folder,
                        const std::string& description, Pictogram preview,
                        const std::vector<InstallFile>& files);
// A zip entry with its companions: stem.readme (first line description) and stem.bmp beside it.
void WriteZipWithCompanions(IMediumSink& sink, const std::string& folder, const std::string& stem,
                            const std::string& zipBytes, const std::string& description,
                            Pictogram preview);

// The categories of the demonstration medium, each into the named folder.
// Sub-folders to install, nested, one hidden file in Atlas\maps.
void WriteInstallCategory(IMediumSink& sink, const std::string& folder);
// Zip files with .readme and .bmp beside each (one named in Japanese), and a .txt beside
// tools.zip.
void WriteArchiveCategory(IMediumSink& sink, const std::string& folder);
// Wave files; chime.wav has a chime.readme.
void WriteSoundCategory(IMediumSink& sink, const std::string& folder);
void WriteMusicCategory(IMediumSink& sink, const std::string& folder);
void WriteVideoCategory(IMediumSink& sink, const std::string& folder);
// 24-, 8- and 4-bit bitmaps.
void WritePictureCategory(IMediumSink& sink, const std::string& folder);
// Plain-text files, one of them largeTextBytes or more.
void WriteDocumentCategory(IMediumSink& sink, const std::string& folder, size_t largeTextBytes);
void WriteLetterCategory(IMediumSink& sink, const std::string& folder);
// Two batch files, and programExe as sample.exe when it is not empty.
void WriteProgramCategory(IMediumSink& sink, const std::string& folder,
                          const std::string& programExe);
// A folder holding exactly one file, which the browser acts on at once.
void WriteSingleFileCategory(IMediumSink& sink, const std::string& folder,
                             const std::string& fileName, const std::string& bytes);

// How a text was saved: UTF-8 as Notepad saves it, UTF-8 with a byte-order mark, UTF-16 little
// endian with its mark (Notepad's "Unicode"), or in the Western legacy code page 1252.
enum class TextSaving { Utf8, Utf8Mark, Utf16, Western };
// The UTF-8 text as saved so.
std::string SavedText(const std::string& text, TextSaving saving);

// A folder entry named in another script, with the first line of its readme (UTF-8) and how the
// readme was saved.
struct LanguageEntry {
  std::string Name;
  std::string Description;
  TextSaving Saving;
};
// Greek, Russian, Japanese and French entries, one for each way of saving a text.
std::vector<LanguageEntry> LanguageEntries();
// The entries of LanguageEntries() as folders to install, each with its readme saved its way, a
// lesson named like the folder and a preview.
void WriteLanguageCategory(IMediumSink& sink, const std::string& folder);

// The category folder names of the demonstration medium, in the order they are written.
std::vector<std::string> DemoCategoryNames();

// An entry of the demonstration medium's lists, as IMediumSink::Listed says it.
struct DemoEntry {
  std::string Category;
  std::string Name;
  std::string Description;
};
// Every entry of the demonstration medium's categories, in the order they are written.
std::vector<DemoEntry> DemoEntries(const DemoOptions& options);

// The whole medium: bin.dat\, both skins, every category, autorun.inf and readme.txt. The same
// options give the same calls with the same bytes every time.
void WriteDemoMedium(IMediumSink& sink, const DemoOptions& options);

}  // namespace foyer::medgen
