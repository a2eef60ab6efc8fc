// The program's start and end.
#include "main/Program.h"

#include "dialogs/CopyFail.h"
#include "dialogs/OpenDir.h"
#include "main/UMain.h"
#include "toolkit/Application.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowRtf.h"
#include "viewers/ShowTxt.h"

namespace foyer {

int RunProgram() {
  TApplication& application = Application();
  // Each form expects the others to exist once the loop runs: a start that stopped half-way
  // would leave later clicks on forms that were never made.
  const bool started = application.Dispatch([&application] {
    application.Backend().Start();
    application.CreateForm(MainForm);
    application.CreateForm(OpenDirDialog);
    application.CreateForm(CopyFailBox);
    application.CreateForm(ShowBmpForm);
    application.CreateForm(ShowTxtForm);
    application.CreateForm(ShowRtfForm);
  });
  if (started) application.Run();
  application.DestroyForms();
  MainForm = nullptr;
  OpenDirDialog = nullptr;
  CopyFailBox = nullptr;
  ShowBmpForm = nullptr;
  ShowTxtForm = nullptr;
  ShowRtfForm = nullptr;
  return started ? 0 : 1;
}

}  // namespace foyer
