// A panel's child window: its border, its two bevels and its face; it holds windowed children.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class PanelPeer final : public WindowPeer {
 public:
  PanelPeer(const PeerContext& context, TPanel& panel);

  void Changed(TChange what, int32_t index) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint(HDC dc, const RECT& area) override;
  DWORD Style() const;

  TPanel& FPanel;
};

}  // namespace foyer
