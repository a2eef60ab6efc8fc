// The picture viewer.
#include "viewers/ShowBmp.h"

namespace foyer {

TShowBmpForm* ShowBmpForm = nullptr;

TShowBmpForm::TShowBmpForm() {
  SetName("ShowBmpForm");
  SetBorderStyle(TBorderStyle::Single);
  SetBorderIcons({true, true, false});
  SetClientSize(427, 273);
  SetPosition(TPosition::ScreenCenter);
}

}  // namespace foyer
