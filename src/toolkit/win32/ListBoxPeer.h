// A list box's "LISTBOX" child window: its rows, selection, font and colours.
#pragma once

#include "toolkit/Controls.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class ListBoxPeer final : public WindowPeer {
 public:
  ListBoxPeer(const PeerContext& context, TListBox& listBox);
  ~ListBoxPeer() override;

  void Changed(TChange what, int32_t index) override;
  // Shows the rows as they are now.
  void ShowRows();

 protected:
  std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The list's font, or the face that has the glyphs of a row the font cannot show: one font
  // for the whole list, so that its rows line up.
  void ApplyFont();
  void FitFontTo(const std::string& row);
  // Rows come in bursts: a listing adds thousands, one at a time. The system list box repaints
  // itself and its scroll bar on every change, which under Wine costs milliseconds a row, so
  // changes are made with redrawing off and shown now and then, and once more when the burst
  // is over. A showing repaints the whole list and its bar (about 10 ms under Wine): the next
  // one waits kShowEveryMs, or longer if showing would otherwise take over a tenth of the burst.
  void BeginRowChange();
  static void CALLBACK ShowRowsTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
  void AddRow(int32_t index);
  void ReplaceRow(int32_t index);

  TListBox& FListBox;
  bool FIsHoldingRows = false;
  // Whether a row needed the other face; only clearing the rows or a new font ends that.
  bool FIsInFallback = false;
  // When the next showing is due during a burst, in Milliseconds().
  double FNextShowAt = 0;
};

}  // namespace foyer
