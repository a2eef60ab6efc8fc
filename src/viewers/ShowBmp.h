// The picture viewer: one bitmap at its own size in a window that fits it.
#pragma once

#include <string>

#include "toolkit/Form.h"

namespace foyer {

class TShowBmpForm : public TForm {
 public:
  TShowBmpForm();
  TImage* Pic;

  // Loads the picture, fits the window to it and shows it modally until it is closed.
  virtual void ShowFile(const std::string& path);
  void FormShow(TComponent* sender);
  void PicClick(TComponent* sender);
  void FormCloseQuery(TComponent* sender, bool& canClose);
};

extern TShowBmpForm* ShowBmpForm;

}  // namespace foyer
