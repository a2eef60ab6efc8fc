// What a recorded action would have done, in words.
#include "main/EntryActions.h"

namespace foyer {

std::string DoneText(const TActionCall& call) {
  const std::string& name = call.Entry.Name;
  switch (call.Action) {
    case TEntryAction::Install:
      return "installs " + name;
    case TEntryAction::Play:
      return "plays " + name + " on " + DeviceTypeName(call.Device);
    case TEntryAction::Run:
      return "runs " + name;
    case TEntryAction::ShowPicture:
      return "shows " + name;
    case TEntryAction::ViewText:
    case TEntryAction::ViewRichText:
      return "views " + name;
    case TEntryAction::ShowNotes:
      return "notes of " + name;
    case TEntryAction::ShowPreview:
      return "preview of " + name;
  }
  return {};
}

}  // namespace foyer
