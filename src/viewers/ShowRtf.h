// The rich-text viewer: one document, read-only, with copy to the clipboard.
#pragma once

#include <string>

#include "toolkit/Form.h"

namespace foyer {

class TShowRtfForm : public TForm {
 public:
  TShowRtfForm();

  // Loads the document and shows it modally until the viewer is closed.
  virtual void ShowFile(const std::string& path);
};

extern TShowRtfForm* ShowRtfForm;

}  // namespace foyer
