// The alert shown when an install could not copy every file.
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/Form.h"

namespace foyer {

// Says the same two lines whatever made the copy fail; OK or Enter closes it. The same box
// ends an install the user cancelled, saying how far it got.
class TCopyFailBox : public TForm {
 public:
  TCopyFailBox();

  // Shows the alert modally.
  void ShowFailed();
  // Shows modally that the install was cancelled once filesDone of filesTotal files were copied,
  // and that the others, earlier files of the same names among them, were left as they were.
  void ShowCancelled(uint64_t filesDone, uint64_t filesTotal);

  TPanel* Panel1;
  TLabel* ProductName;
  TLabel* Version;
  TButton* OKButton;

 private:
  void SetFailedLines();
  void SetLines(const std::string& caption, const std::string& first, const std::string& second);
};

extern TCopyFailBox* CopyFailBox;

}  // namespace foyer
