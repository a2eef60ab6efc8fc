// The copy-failure alert.
#include "dialogs/CopyFail.h"

namespace foyer {

TCopyFailBox* CopyFailBox = nullptr;

TCopyFailBox::TCopyFailBox() {
  SetName("CopyFailBox");
  SetCaption("Alert");
  SetBorderStyle(TBorderStyle::Dialog);
  SetBorderIcons({true, false, false});
  SetClientSize(298, 129);
  SetPosition(TPosition::ScreenCenter);
}

}  // namespace foyer
