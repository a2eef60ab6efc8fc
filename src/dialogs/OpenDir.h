// The install-folder dialog: the user picks, types or creates the folder an entry goes into.
#pragma once

#include <string>

#include "toolkit/Form.h"

namespace foyer {

// The folder the dialog showed last; it opens there next time, for as long as the program runs.
extern std::string LastInstallDir;
// Sets the module's start-up values; runs before any window exists.
void InitOpenDirModule();

class TOpenDirDialog : public TForm {
 public:
  TOpenDirDialog();
  void FormCreate(TComponent* sender);

 private:
  std::string FSelectedDir;
  std::string FReadmeFile;
};

extern TOpenDirDialog* OpenDirDialog;

}  // namespace foyer
