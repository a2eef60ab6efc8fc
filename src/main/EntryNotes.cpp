// An entry's notes and preview.
#include "main/EntryNotes.h"

#include "platform/Platform.h"
#include "util/Path.h"

namespace foyer {

namespace {

std::string Inside(const std::string& folder, const std::string& name, const char* file) {
  return JoinPath(JoinPath(folder, name), file);
}

// A zip's companion: its name up to the first dot, then the extension.
std::string Beside(const std::string& folder, const std::string& name, const char* extension) {
  return EntryStem(folder, name) + extension;
}

}  // namespace

std::string FirstFileOf(const std::vector<std::string>& files) {
  IFileSystem& fs = *Platform().Fs;
  for (const std::string& file : files) {
    if (fs.FileExists(file)) return file;
  }
  return {};
}

std::vector<std::string> DescriptionFiles(const std::string& folder, const std::string& name,
                                          bool isFolder) {
  // Beside it is "name.readme" with name up to the first dot, for folders and files alike.
  std::vector<std::string> files{JoinPath(folder, name.substr(0, name.find('.'))) + ".readme"};
  if (isFolder) {
    files.push_back(Inside(folder, name, "readme"));
    files.push_back(Inside(folder, name, "readme.txt"));
  }
  return files;
}

std::vector<std::string> InstallNotesFiles(const std::string& folder, const std::string& name,
                                           bool isZipMode) {
  if (!isZipMode) return {Inside(folder, name, "readme.txt")};
  return {Beside(folder, name, "readme"), Beside(folder, name, "txt")};
}

std::vector<std::string> ReadmeButtonFiles(const std::string& folder, const std::string& name,
                                           bool isZipMode) {
  if (!isZipMode) return {Inside(folder, name, "readme.txt")};
  std::vector<std::string> files;
  if (!name.empty()) files = InstallNotesFiles(folder, name, true);
  files.push_back(JoinPath(folder, "readme.txt"));
  files.push_back(JoinPath(folder, "readme"));
  return files;
}

std::vector<std::string> ViewMeButtonFiles(const std::string& folder, const std::string& name,
                                           bool isZipMode) {
  if (!isZipMode) return {Inside(folder, name, "ViewMe.bmp")};
  std::vector<std::string> files;
  if (!name.empty()) files.push_back(Beside(folder, name, "bmp"));
  files.push_back(JoinPath(folder, "ViewMe.bmp"));
  return files;
}

std::vector<std::string> ReadmeCaptionFiles(const std::string& folder, const std::string& name,
                                            bool isZipMode) {
  std::vector<std::string> files{Inside(folder, name, "readme.txt")};
  // A name without a dot has no companions beside it.
  if (isZipMode && name.find('.') != std::string::npos) {
    files.push_back(Beside(folder, name, "txt"));
    files.push_back(Beside(folder, name, "readme"));
  }
  return files;
}

std::vector<std::string> ViewMeCaptionFiles(const std::string& folder, const std::string& name,
                                            bool isZipMode) {
  std::vector<std::string> files{Inside(folder, name, "viewme.bmp")};
  if (isZipMode && name.find('.') != std::string::npos)
    files.push_back(Beside(folder, name, "bmp"));
  return files;
}

}  // namespace foyer
