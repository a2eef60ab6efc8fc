// The alert shown when an install could not copy every file.
#pragma once

#include "toolkit/Form.h"

namespace foyer {

class TCopyFailBox : public TForm {
 public:
  TCopyFailBox();
};

extern TCopyFailBox* CopyFailBox;

}  // namespace foyer
