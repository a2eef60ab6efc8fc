// The picture viewer: one bitmap at its own size in a window that fits it.
#pragma once

#include "toolkit/Form.h"

namespace foyer {

class TShowBmpForm : public TForm {
 public:
  TShowBmpForm();
};

extern TShowBmpForm* ShowBmpForm;

}  // namespace foyer
