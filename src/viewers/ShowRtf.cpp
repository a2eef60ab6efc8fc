// The rich-text viewer.
#include "viewers/ShowRtf.h"

#include "platform/Platform.h"
#include "util/Errors.h"
#include "util/Path.h"

namespace foyer {

TShowRtfForm* ShowRtfForm = nullptr;

TShowRtfForm::TShowRtfForm() {
  SetName("ShowRtfForm");
  SetCaption("ShowRtfForm");
  SetDesignPixelsPerInch(120);
  SetFont({"MS Sans Serif", -13, clWindowText});
  SetPosition(TPosition::Designed);
  SetBounds(280, 143, 573, 449);
}

void TShowRtfForm::ShowFile(const std::string& path) {
  SetCaption(NamePart(path));
  // The rich-text control that renders the document is not built yet: the viewer checks that
  // the document can be opened and shows its window.
  uint32_t error = kErrNone;
  if (!Platform().Fs->OpenRead(path, error)) throw EFOpenError(path);
  ShowModal();
}

}  // namespace foyer
