// A memo's multi-line "EDIT" child window: its text, scroll bars, wrapping, font and colours.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class MemoPeer final : public WindowPeer {
 public:
  MemoPeer(const PeerContext& context, TMemo& memo);

  void Changed(TChange what, int32_t index) override;
  // Enter is the memo's own key (a new line) only where the user may type.
  bool TakesKey(WPARAM key) const override { return key == VK_RETURN && !FMemo.ReadOnly(); }

 protected:
  std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A new edit window for the memo's current settings.
  HWND CreateEdit();
  DWORD Style() const;
  void ApplyText();
  void StoreUserText();

  TMemo& FMemo;
  // The style the edit window was created with.
  DWORD FStyle = 0;
  // The text is being handed to the control: its change notifications are our own echo.
  bool FApplyingText = false;
};

}  // namespace foyer
