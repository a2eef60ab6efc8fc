// The alert shown when an install could not copy every file.
#pragma once

#include "toolkit/Form.h"

namespace foyer {

// Says the same two lines whatever made the copy fail; OK or Enter closes it.
class TCopyFailBox : public TForm {
 public:
  TCopyFailBox();

  TPanel* Panel1;
  TLabel* ProductName;
  TLabel* Version;
  TButton* OKButton;
};

extern TCopyFailBox* CopyFailBox;

}  // namespace foyer
