// A push button's "BUTTON" child window: caption, font, default look, and its clicks.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class ButtonPeer final : public WindowPeer {
 public:
  ButtonPeer(const PeerContext& context, TButton& button);

  void Changed(TChange what, int32_t index) override;
  TButton& Button() const { return FButton; }

 protected:
  std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  DWORD Style() const;

  TButton& FButton;
};

}  // namespace foyer
