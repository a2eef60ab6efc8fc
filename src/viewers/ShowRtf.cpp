// The rich-text viewer.
#include "viewers/ShowRtf.h"

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

}  // namespace foyer
