// A list box's "LISTBOX" child window.
#include "toolkit/win32/ListBoxPeer.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/win32/FontCache.h"
#include "util/Errors.h"

namespace foyer {

namespace {

constexpr DWORD kShowEveryMs = 40;
// The time between two showings of a burst is at least this many times the last showing's.
constexpr double kShowingShare = 9;
constexpr UINT_PTR kShowRowsTimer = 1;

// A clock finer than GetTickCount's, which moves in steps of 10 to 16 ms on Windows.
double Milliseconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

DWORD StyleOf(const TListBox& listBox) {
  // Not sorted: rows stay where the program put them, and adding one costs the same at any
  // length. No border: the panel around the list frames it.
  DWORD style = WS_CHILD | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  if (listBox.Visible()) style |= WS_VISIBLE;
  if (!listBox.Enabled()) style |= WS_DISABLED;
  return style;
}

}  // namespace

ListBoxPeer::ListBoxPeer(const PeerContext& context, TListBox& listBox)
    : WindowPeer(context, listBox), FListBox(listBox) {
  AdoptWindow(CreateWindowExA(0, "LISTBOX", "", StyleOf(listBox), 0, 0, 0, 0, ParentHandle(),
                              nullptr, context.Instance, nullptr));
  ApplyBounds();
  ApplyFont();
  MakeBackground();
  const int32_t count = listBox.Count();
  if (count == 0) return;
  Send(LB_INITSTORAGE, static_cast<WPARAM>(count), 0);
  for (int32_t row = 0; row < count; ++row)
    AddRow(row);
  Send(LB_SETCURSEL, static_cast<WPARAM>(listBox.ItemIndex()));
}

ListBoxPeer::~ListBoxPeer() {
  if (FIsHoldingRows) KillTimer(Handle(), kShowRowsTimer);
}

void ListBoxPeer::BeginRowChange() {
  if (!FIsHoldingRows) {
    Send(WM_SETREDRAW, FALSE);
    FIsHoldingRows = true;
    // The timer fires once the program is back in its event loop: the burst is over.
    SetTimer(Handle(), kShowRowsTimer, kShowEveryMs, ShowRowsTimer);
    return;
  }
  if (Milliseconds() >= FNextShowAt) {
    ShowRows();
    BeginRowChange();
  }
}

void ListBoxPeer::ShowRows() {
  if (!FIsHoldingRows) return;
  KillTimer(Handle(), kShowRowsTimer);
  FIsHoldingRows = false;
  const double start = Milliseconds();
  Send(WM_SETREDRAW, TRUE);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  const double shown = Milliseconds();
  FNextShowAt = shown + std::max<double>(kShowEveryMs, kShowingShare * (shown - start));
}

void CALLBACK ListBoxPeer::ShowRowsTimer(HWND window, UINT, UINT_PTR, DWORD) {
  Application().Dispatch([window] {
    if (auto* peer = dynamic_cast<ListBoxPeer*>(FromHandle(window))) peer->ShowRows();
  });
}

void ListBoxPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::RowAdded:
      BeginRowChange();
      AddRow(index);
      break;
    case TChange::RowText:
      BeginRowChange();
      ReplaceRow(index);
      break;
    case TChange::RowsCleared:
      BeginRowChange();
      Send(LB_RESETCONTENT);
      if (FIsInFallback) ApplyFont();
      break;
    case TChange::Selection:
      // -1 clears the selection.
      Send(LB_SETCURSEL, static_cast<WPARAM>(index));
      break;
    case TChange::Font:
      ApplyFont();
      break;
    case TChange::Color:
      MakeBackground();
      break;
    case TChange::Style:
      Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(FListBox.ItemHeight(), 0));
      InvalidateRect(Handle(), nullptr, TRUE);
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

void ListBoxPeer::ApplyFont() {
  FIsInFallback = false;
  const HFONT font = Context().Fonts.Get(FListBox.Font());
  std::string lacking;
  for (int32_t row = 0; row < FListBox.Count() && lacking.empty(); ++row) {
    if (Context().Fonts.For(FListBox.Font(), FListBox.Row(row)) != font)
      lacking = FListBox.Row(row);
  }
  FIsInFallback = !lacking.empty();
  SendFont(lacking);
  // A new font sets the row height from its own metrics: the list's height goes on top.
  Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(FListBox.ItemHeight(), 0));
}

void ListBoxPeer::FitFontTo(const std::string& row) {
  if (FIsInFallback) return;
  const TFont& font = FListBox.Font();
  if (Context().Fonts.For(font, row) == Context().Fonts.Get(font)) return;
  FIsInFallback = true;
  SendFont(row);
  Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(FListBox.ItemHeight(), 0));
}

void ListBoxPeer::AddRow(int32_t index) {
  FitFontTo(FListBox.Row(index));
  const LRESULT added =
      Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FListBox.Row(index).c_str()));
  if (added == LB_ERR || added == LB_ERRSPACE) throw Exception("Out of system resources");
}

void ListBoxPeer::ReplaceRow(int32_t index) {
  FitFontTo(FListBox.Row(index));
  const LRESULT top = Send(LB_GETTOPINDEX);
  Send(LB_DELETESTRING, static_cast<WPARAM>(index));
  const LRESULT inserted = Send(LB_INSERTSTRING, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(FListBox.Row(index).c_str()));
  if (inserted == LB_ERR || inserted == LB_ERRSPACE) throw Exception("Out of system resources");
  // Deleting the selected row took the selection with it; putting it back must not scroll.
  if (FListBox.ItemIndex() >= 0) Send(LB_SETCURSEL, static_cast<WPARAM>(FListBox.ItemIndex()));
  Send(LB_SETTOPINDEX, static_cast<WPARAM>(top));
}

std::optional<LRESULT> ListBoxPeer::Reflected(UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_CTLCOLORLISTBOX) return ColorReply(wParam);
  if (message != WM_COMMAND) return std::nullopt;
  switch (HIWORD(wParam)) {
    case LBN_SELCHANGE: {
      const auto selected = static_cast<int32_t>(Send(LB_GETCURSEL));
      TListBox& listBox = FListBox;
      Application().Dispatch([&listBox, selected] { listBox.UserSelect(selected); });
      return 0;
    }
    case LBN_DBLCLK: {
      TListBox& listBox = FListBox;
      Application().Dispatch([&listBox] { listBox.DblClick(); });
      return 0;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace foyer
