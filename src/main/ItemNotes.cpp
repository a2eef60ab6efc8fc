// The window program's viewing actions: a picture, a text or a rich-text document of the list,
// and the ReadMe and ViewMe buttons, which show the notes and the preview that belong to an entry,
// or to the listed folder when the entry has none (or no row is selected).
#include "main/EntryActions.h"
#include "main/EntryNotes.h"
#include "platform/Platform.h"
#include "util/Path.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowRtf.h"
#include "viewers/ShowTxt.h"

namespace foyer {

void TWindowActions::ShowNotes(const TEntryRef& entry) {
  const std::string file = FirstFileOf(ReadmeButtonFiles(entry.Folder, entry.Name, entry.ZipMode));
  if (!file.empty()) ShowTxtForm->ShowFile(file);
}

void TWindowActions::ShowPreview(const TEntryRef& entry) {
  const std::string file = FirstFileOf(ViewMeButtonFiles(entry.Folder, entry.Name, entry.ZipMode));
  if (!file.empty()) ShowBmpForm->ShowFile(file);
}

void TWindowActions::ShowPicture(const TEntryRef& entry) {
  ShowBmpForm->ShowFile(JoinPath(entry.Folder, entry.Name));
}

void TWindowActions::ViewText(const TEntryRef& entry) {
  ShowTxtForm->ShowFile(JoinPath(entry.Folder, entry.Name));
}

void TWindowActions::ViewRichText(const TEntryRef& entry) {
  ShowRtfForm->ShowFile(JoinPath(entry.Folder, entry.Name));
}

}  // namespace foyer
