// The install-folder dialog.
#include "dialogs/OpenDir.h"

namespace foyer {

std::string LastInstallDir;
TOpenDirDialog* OpenDirDialog = nullptr;

void InitOpenDirModule() {
  LastInstallDir = "c:\\";
}

TOpenDirDialog::TOpenDirDialog() {
  SetName("OpenDirDialog");
  SetCaption("Select Install Directory");
  SetBorderStyle(TBorderStyle::Dialog);
  SetBorderIcons({true, false, false});
  SetClientSize(479, 255);
  SetPosition(TPosition::ScreenCenter);
  OnCreate = Handler(this, &TOpenDirDialog::FormCreate);
}

void TOpenDirDialog::FormCreate(TComponent*) {
  FReadmeFile.clear();
}

}  // namespace foyer
