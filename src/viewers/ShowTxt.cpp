// The text viewer.
#include "viewers/ShowTxt.h"

namespace foyer {

TShowTxtForm* ShowTxtForm = nullptr;

TShowTxtForm::TShowTxtForm() {
  SetName("ShowTxtForm");
  SetDesignPixelsPerInch(120);
  SetFont({"MS Sans Serif", -14, clWindowText});
  SetClientSize(607, 471);
  SetPosition(TPosition::ScreenCenter);
}

}  // namespace foyer
