// The ReadMe and ViewMe buttons: the notes and the preview that belong to an entry, or to the
// listed folder when the entry has none (or no row is selected).
#include "main/UMain.h"
#include "platform/Platform.h"
#include "util/Path.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowTxt.h"

namespace foyer {

namespace {

// The first of the candidates that is a file, or empty.
std::string FirstFile(const std::vector<std::string>& candidates) {
  IFileSystem& fs = *Platform().Fs;
  for (const std::string& candidate : candidates) {
    if (fs.FileExists(candidate)) return candidate;
  }
  return {};
}

}  // namespace

void TMainForm::ShowItemReadme(const std::string& name) {
  std::vector<std::string> candidates;
  if (!FList.ZipMode) {
    candidates.push_back(JoinPath(JoinPath(FList.CurDir, name), "readme.txt"));
  } else {
    if (!name.empty()) {
      const std::string stem = EntryStem(FList.CurDir, name);
      // The entry's text beside it enables the ReadMe caption and is the install dialog's
      // readme, so the button shows it too.
      candidates.push_back(stem + "readme");
      candidates.push_back(stem + "txt");
    }
    candidates.push_back(JoinPath(FList.CurDir, "readme.txt"));
    candidates.push_back(JoinPath(FList.CurDir, "readme"));
  }
  const std::string file = FirstFile(candidates);
  if (!file.empty()) ShowTxtForm->ShowFile(file);
}

void TMainForm::ShowItemViewMe(const std::string& name) {
  std::vector<std::string> candidates;
  if (!FList.ZipMode) {
    candidates.push_back(JoinPath(JoinPath(FList.CurDir, name), "ViewMe.bmp"));
  } else {
    if (!name.empty()) candidates.push_back(EntryStem(FList.CurDir, name) + "bmp");
    candidates.push_back(JoinPath(FList.CurDir, "ViewMe.bmp"));
  }
  const std::string file = FirstFile(candidates);
  if (!file.empty()) ShowBmpForm->ShowFile(file);
}

}  // namespace foyer
