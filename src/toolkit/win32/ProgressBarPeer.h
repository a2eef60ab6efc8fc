// A progress bar's "msctls_progress32" child window.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class ProgressBarPeer final : public WindowPeer {
 public:
  ProgressBarPeer(const PeerContext& context, TProgressBar& bar);

  void Changed(TChange what, int32_t index) override;

 private:
  TProgressBar& FBar;
};

}  // namespace foyer
