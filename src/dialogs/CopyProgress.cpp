// The install's progress window.
#include "dialogs/CopyProgress.h"

#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "util/Path.h"

namespace foyer {

namespace {

constexpr int32_t kBarSteps = 1000;

uint32_t Now() {
  return Platform().Clock->Milliseconds();
}

}  // namespace

TCopyProgressForm::TCopyProgressForm() {
  SetName("CopyProgressForm");
  SetCaption("Installing");
  SetBorderStyle(TBorderStyle::Dialog);
  SetBorderIcons({true, false, false});
  SetPosition(TPosition::ScreenCenter);
  SetScaledFont({"MS Sans Serif", -11, clWindowText});

  EntryLabel = Create<TLabel>(this);
  EntryLabel->SetName("EntryLabel");
  FileLabel = Create<TLabel>(this);
  FileLabel->SetName("FileLabel");
  for (TLabel* label : {EntryLabel, FileLabel}) {
    label->SetAutoSize(false);
    label->SetIsPath(true);
  }
  ProgressBar1 = Create<TProgressBar>(this);
  ProgressBar1->SetName("ProgressBar1");
  ProgressBar1->SetMax(kBarSteps);

  CancelBtn = Create<TButton>(this);
  CancelBtn->SetName("CancelBtn");
  CancelBtn->SetCaption("Cancel");
  CancelBtn->SetCancel(true);
  CancelBtn->SetModalResult(mrCancel);

  PlaceScaled(*EntryLabel, 12, 12, 336, 13);
  PlaceScaled(*FileLabel, 12, 32, 336, 13);
  PlaceScaled(*ProgressBar1, 12, 54, 336, 16);
  PlaceScaled(*CancelBtn, 142, 82, 75, 25);
  SetScaledClientSize(360, 117);
  SetActiveControl(CancelBtn);
}

TInstallProgress::TInstallProgress(const std::string& entry, const std::string& source,
                                   uint32_t delay)
    : FEntry(entry), FSource(source), FStart(Now()), FDelay(delay) {}

TInstallProgress::~TInstallProgress() {
  if (FForm != nullptr) Application().Backend().EndModalShowing(*FForm);
}

bool TInstallProgress::CopyProgressed(const TCopyState& state) {
  FFilesDone = state.FilesDone;
  FFilesTotal = state.FilesTotal;
  if (FIsCancelled) return false;
  const uint32_t now = Now();
  if (FForm == nullptr) {
    // A short copy ends before a window could be read; until the window is up the others
    // take no events either, so nothing can start a second install meanwhile.
    if (now - FStart < FDelay) return true;
    Show();
  } else if (now - FLastPump < kPumpInterval) {
    return true;
  }
  FLastPump = now;
  ShowState(state);
  Application().Backend().ProcessMessages();
  FIsCancelled = FForm->ModalResult() != mrNone;
  return !FIsCancelled;
}

void TInstallProgress::Show() {
  FForm = std::make_unique<TCopyProgressForm>();
  FForm->EntryLabel->SetCaption("Installing \"" + FEntry + "\"");
  Application().Backend().BeginModalShowing(*FForm);
}

void TInstallProgress::ShowState(const TCopyState& state) {
  // Names below the entry's folder; a single file shows its own name.
  std::string shown = state.CurrentFile;
  if (shown.size() > FSource.size() && shown.compare(0, FSource.size(), FSource) == 0 &&
      shown[FSource.size()] == '\\') {
    shown.erase(0, FSource.size() + 1);
  } else {
    shown = NamePart(shown);
  }
  FForm->FileLabel->SetCaption(shown);
  const uint64_t total = state.BytesTotal;
  const uint64_t steps = total == 0 ? kBarSteps : state.BytesDone * kBarSteps / total;
  FForm->ProgressBar1->SetPosition(static_cast<int32_t>(steps));
}

}  // namespace foyer
