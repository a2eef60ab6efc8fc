// The text viewer: one plain-text file, read-only, in a resizable window.
#pragma once

#include <string>

#include "toolkit/Form.h"

namespace foyer {

class TShowTxtForm : public TForm {
 public:
  TShowTxtForm();
  TMemo* Memo1;
  TButton* Button1;

  // Loads the file's lines and shows them modally until the viewer is closed. An I/O failure
  // throws before the window is shown.
  virtual void ShowFile(const std::string& path);
  void FormResize(TComponent* sender);
};

extern TShowTxtForm* ShowTxtForm;

}  // namespace foyer
