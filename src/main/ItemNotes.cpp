// The ReadMe and ViewMe buttons: the notes and the preview that belong to an entry, or to the
// listed folder when the entry has none (or no row is selected).
#include "main/EntryNotes.h"
#include "main/UMain.h"
#include "platform/Platform.h"
#include "util/Path.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowTxt.h"

namespace foyer {

void TMainForm::ShowItemReadme(const std::string& name) {
  const std::string file = FirstFileOf(ReadmeButtonFiles(FList.CurDir, name, FList.ZipMode));
  if (!file.empty()) ShowTxtForm->ShowFile(file);
}

void TMainForm::ShowItemViewMe(const std::string& name) {
  const std::string file = FirstFileOf(ViewMeButtonFiles(FList.CurDir, name, FList.ZipMode));
  if (!file.empty()) ShowBmpForm->ShowFile(file);
}

}  // namespace foyer
