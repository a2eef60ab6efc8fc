// The text viewer: one plain-text file, read-only, in a resizable window.
#pragma once

#include "toolkit/Form.h"

namespace foyer {

class TShowTxtForm : public TForm {
 public:
  TShowTxtForm();
};

extern TShowTxtForm* ShowTxtForm;

}  // namespace foyer
