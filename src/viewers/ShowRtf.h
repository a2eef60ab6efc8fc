// The rich-text viewer: one document, read-only, with copy to the clipboard.
#pragma once

#include "toolkit/Form.h"

namespace foyer {

class TShowRtfForm : public TForm {
 public:
  TShowRtfForm();
};

extern TShowRtfForm* ShowRtfForm;

}  // namespace foyer
