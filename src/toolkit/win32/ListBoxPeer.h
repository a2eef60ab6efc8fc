// A list box's "LISTBOX" child window: its rows, selection, font and colours.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class ListBoxPeer final : public WindowPeer {
 public:
  ListBoxPeer(const PeerContext& context, TListBox& listBox);

  void Changed(TChange what, int32_t index) override;

 protected:
  std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ApplyFont();
  void ApplyColor();
  void AddRow(int32_t index);
  void ReplaceRow(int32_t index);
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  TListBox& FListBox;
  GdiBrush FBackground;
};

}  // namespace foyer
