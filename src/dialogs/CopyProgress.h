// The window an install shows while it copies, with the file being copied, a bar and Cancel.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/Form.h"
#include "util/FileCopy.h"

namespace foyer {

class TCopyProgressForm : public TForm {
 public:
  TCopyProgressForm();

  TLabel* EntryLabel;
  TLabel* FileLabel;
  TProgressBar* ProgressBar1;
  TButton* CancelBtn;
};

// A copy that has not ended after this long shows its progress window.
constexpr uint32_t kProgressDelay = 500;
// While the window is up, the copy lets events through (painting, Cancel) this often.
constexpr uint32_t kPumpInterval = 50;

// The install's side of a copy: quiet while the copy is short; then a modal progress window
// over the others, kept up to date and answering its Cancel button, Escape and close box.
class TInstallProgress final : public ICopyProgress {
 public:
  // entry: the name shown; source: the folder or file the copy reads, whose path is left out of
  // the file names shown; delay: how long the copy goes before the window shows.
  TInstallProgress(const std::string& entry, const std::string& source,
                   uint32_t delay = kProgressDelay);
  ~TInstallProgress() override;
  TInstallProgress(const TInstallProgress&) = delete;
  TInstallProgress& operator=(const TInstallProgress&) = delete;

  bool CopyProgressed(const TCopyState& state) override;
  bool IsCancelled() const { return FIsCancelled; }
  bool WasShown() const { return FForm != nullptr; }
  // How far the copy got: files copied whole, of how many.
  uint64_t FilesDone() const { return FFilesDone; }
  uint64_t FilesTotal() const { return FFilesTotal; }

 private:
  void Show();
  void ShowState(const TCopyState& state);

  std::string FEntry;
  std::string FSource;
  uint32_t FStart;
  uint32_t FDelay;
  uint32_t FLastPump = 0;
  std::unique_ptr<TCopyProgressForm> FForm;
  bool FIsCancelled = false;
  uint64_t FFilesDone = 0;
  uint64_t FFilesTotal = 0;
};

}  // namespace foyer
