// A one-line edit's "EDIT" child window: its text, font and colours, and what the user types.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class EditPeer final : public WindowPeer {
 public:
  EditPeer(const PeerContext& context, TEdit& edit);

  void Changed(TChange what, int32_t index) override;

 protected:
  std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ApplyText();

  TEdit& FEdit;
  // The program is setting the text: the change notification is not the user's.
  bool FApplyingText = false;
};

}  // namespace foyer
