// A read-only, wrapping memo's own text view.
#include "toolkit/win32/TextViewPeer.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/win32/Handles.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/Painting.h"
#include "util/Errors.h"

namespace foyer {

namespace {

// The gap between the border and the text, as an edit control leaves it.
constexpr int kMargin = 2;

struct GlobalMemoryTraits {
  using Handle = HGLOBAL;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle handle) { GlobalFree(handle); }
};

// Memory for the clipboard; it belongs to the system once the clipboard took it.
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : FOpen(OpenClipboard(owner) != FALSE) {}
  ~OpenedClipboard() {
    if (FOpen) CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  bool IsOpen() const { return FOpen; }

 private:
  bool FOpen;
};

class LockedMemory {
 public:
  explicit LockedMemory(HGLOBAL memory) : FMemory(memory), FData(GlobalLock(memory)) {}
  ~LockedMemory() {
    if (FData != nullptr) GlobalUnlock(FMemory);
  }
  LockedMemory(const LockedMemory&) = delete;
  LockedMemory& operator=(const LockedMemory&) = delete;
  char* Data() const { return static_cast<char*>(FData); }

 private:
  HGLOBAL FMemory;
  void* FData;
};

bool IsKeyDown(int key) {
  return GetKeyState(key) < 0;
}

// Scroll positions are ints: a text with more rows than an int holds stops at the largest.
int ScrollValue(size_t value) {
  return static_cast<int>(std::min<size_t>(value, INT_MAX));
}

}  // namespace

TextViewPeer::TextViewPeer(const PeerContext& context, TMemo& memo)
    : WindowPeer(context, memo), FMemo(memo) {
  MeasureFont();
  IndexLines();
  RegisterClassOnce(kClassName, 0);
  // Placed at the origin first: where the bounds put it depends on the parent's borders.
  CreateOwnWindow(WS_EX_CLIENTEDGE, kClassName, "", Style(), 0, 0, 0, 0, ParentHandle());
  ApplyBounds();
  Rewrap();
}

DWORD TextViewPeer::Style() const {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FMemo.Visible()) style |= WS_VISIBLE;
  if (!FMemo.Enabled()) style |= WS_DISABLED;
  if (FMemo.TabStop()) style |= WS_TABSTOP;
  const TScrollStyle bars = FMemo.ScrollBars();
  if (bars == TScrollStyle::Vertical || bars == TScrollStyle::Both) style |= WS_VSCROLL;
  if (bars == TScrollStyle::Horizontal || bars == TScrollStyle::Both) style |= WS_HSCROLL;
  return style;
}

void TextViewPeer::ApplyStyle() {
  SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>(Style()));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Rewrap();
}

void TextViewPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::Text:
      IndexLines();
      FTopRow = 0;
      FAnchor = FCaret = 0;
      Wrap();
      UpdateScrollBars();
      InvalidateRect(Handle(), nullptr, FALSE);
      break;
    case TChange::Font:
      MeasureFont();
      Rewrap();
      break;
    case TChange::Style:
      ApplyStyle();
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

void TextViewPeer::MeasureFont() {
  ClientDC screen;
  if (!screen.IsValid()) throw Exception("Out of system resources");
  ObjectSelection selection(screen.Get(), Context().Fonts.Get(FMemo.Font()));
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.Get(), &metrics);
  INT widths[256] = {};
  GetCharWidth32A(screen.Get(), 0, 255, widths);
  // A character of no width would let a row grow without bound.
  for (size_t c = 0; c < FCharWidths.size(); ++c)
    FCharWidths[c] = std::max(1, widths[c]);
  FRowHeight = std::max(1, static_cast<int>(metrics.tmHeight));
  // Tab stops every eight average characters, as in an edit control.
  FTabWidth = 8 * std::max(1, static_cast<int>(metrics.tmAveCharWidth));
}

void TextViewPeer::IndexLines() {
  const std::string& text = FMemo.Text();
  const char* bytes = text.data();
  const size_t size = text.size();
  FLineStarts.clear();
  FLineStarts.push_back(0);
  for (size_t i = 0; i < size; ++i) {
    const char c = bytes[i];
    if (c == '\n') {
      FLineStarts.push_back(i + 1);
    } else if (c == '\r') {
      if (i + 1 < size && bytes[i + 1] == '\n') ++i;
      FLineStarts.push_back(i + 1);
    }
  }
}

size_t TextViewPeer::LineEnd(size_t line) const {
  const std::string& text = FMemo.Text();
  if (line + 1 >= FLineStarts.size()) return text.size();
  const size_t next = FLineStarts[line + 1];
  const bool crLf = next >= 2 && next - 2 >= FLineStarts[line] && text[next - 2] == '\r' &&
                    text[next - 1] == '\n';
  return next - (crLf ? 2 : 1);
}

void TextViewPeer::Wrap() {
  const std::string& text = FMemo.Text();
  FRows.clear();
  FRows.reserve(FLineStarts.size());
  for (size_t line = 0; line < FLineStarts.size(); ++line) {
    const size_t end = LineEnd(line);
    size_t rowStart = FLineStarts[line];
    if (FWrapWidth <= 0) {
      FRows.push_back({rowStart, end});
      continue;
    }
    // Just after the last space of the row: where a word that does not fit moves down from.
    size_t breakAt = rowStart;
    int x = 0;
    for (size_t i = rowStart; i < end; ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      const int next = Advance(x, c);
      // Spaces may hang past the edge, as in an edit control: a line never starts with them.
      if (c == ' ') {
        x = next;
        breakAt = i + 1;
        continue;
      }
      if (next <= FWrapWidth || i == rowStart) {
        x = next;
        continue;
      }
      const size_t cut = breakAt > rowStart ? breakAt : i;
      FRows.push_back({rowStart, cut});
      rowStart = cut;
      breakAt = cut;
      x = 0;
      for (size_t j = rowStart; j < i; ++j)
        x = Advance(x, static_cast<unsigned char>(text[j]));
      // The character is placed again on the new row: a tab there may land elsewhere.
      --i;
    }
    FRows.push_back({rowStart, end});
  }
}

void TextViewPeer::Rewrap() {
  const size_t firstShown = FTopRow < FRows.size() ? FRows[FTopRow].Start : 0;
  RECT client{};
  GetClientRect(Handle(), &client);
  const int width = client.right > 0 ? std::max<int>(1, client.right - 2 * kMargin) : 0;
  if (width != FWrapWidth || FRows.empty()) {
    FWrapWidth = width;
    Wrap();
    const auto after =
        std::upper_bound(FRows.begin(), FRows.end(), firstShown,
                         [](size_t offset, const Row& row) { return offset < row.Start; });
    FTopRow = after == FRows.begin() ? 0 : static_cast<size_t>(after - FRows.begin()) - 1;
  }
  FTopRow = std::min(FTopRow, MaxTopRow());
  UpdateScrollBars();
  InvalidateRect(Handle(), nullptr, FALSE);
}

int TextViewPeer::XOf(const Row& row, size_t offset) const {
  const std::string& text = FMemo.Text();
  int x = 0;
  for (size_t i = row.Start; i < offset; ++i)
    x = Advance(x, static_cast<unsigned char>(text[i]));
  return x;
}

size_t TextViewPeer::OffsetAt(int x, int y) const {
  if (FRows.empty()) return 0;
  const long long shown = y < 0 ? -1 - (-1 - y) / FRowHeight : y / FRowHeight;
  const long long wanted = static_cast<long long>(FTopRow) + shown;
  const auto index = static_cast<size_t>(
      std::clamp<long long>(wanted, 0, static_cast<long long>(FRows.size()) - 1));
  const Row& row = FRows[index];
  const std::string& text = FMemo.Text();
  const int target = x - kMargin;
  int left = 0;
  for (size_t i = row.Start; i < row.End; ++i) {
    const int right = Advance(left, static_cast<unsigned char>(text[i]));
    if (target < (left + right) / 2) return i;
    left = right;
  }
  return row.End;
}

void TextViewPeer::Paint(HDC dc, const RECT& area) {
  if (IsRectEmpty(&area)) return;
  PaintBuffer buffer(dc, area);
  const HDC target = buffer.Get();
  FillSolid(target, area, ColorRef(FMemo.Color()));
  ObjectSelection font(target, Context().Fonts.Get(FMemo.Font()));
  SetBkMode(target, TRANSPARENT);
  const size_t firstInArea = static_cast<size_t>(std::max(0L, area.top) / FRowHeight);
  for (size_t shown = firstInArea; FTopRow + shown < FRows.size(); ++shown) {
    const int y = static_cast<int>(shown) * FRowHeight;
    if (y >= area.bottom) break;
    PaintRow(target, FRows[FTopRow + shown], y);
  }
  buffer.Present();
}

void TextViewPeer::PaintRow(HDC dc, const Row& row, int y) const {
  const size_t low = std::clamp(std::min(FAnchor, FCaret), row.Start, row.End);
  const size_t high = std::clamp(std::max(FAnchor, FCaret), row.Start, row.End);
  const COLORREF text = ColorRef(FMemo.Font().Color);
  if (low < high) {
    const RECT band{kMargin + XOf(row, low), y, kMargin + XOf(row, high), y + FRowHeight};
    FillSolid(dc, band, GetSysColor(COLOR_HIGHLIGHT));
  }
  PaintSpan(dc, row, row.Start, low, y, text);
  PaintSpan(dc, row, low, high, y, GetSysColor(COLOR_HIGHLIGHTTEXT));
  PaintSpan(dc, row, high, row.End, y, text);
}

void TextViewPeer::PaintSpan(HDC dc, const Row& row, size_t from, size_t to, int y,
                             COLORREF color) const {
  if (from >= to) return;
  SetTextColor(dc, color);
  // Tabs count from the row's left edge, as the wrapping measured them.
  INT tabWidth = FTabWidth;
  TabbedTextOutA(dc, kMargin + XOf(row, from), y, FMemo.Text().data() + from,
                 static_cast<int>(to - from), 1, &tabWidth, kMargin);
}

size_t TextViewPeer::VisibleRows() const {
  RECT client{};
  GetClientRect(Handle(), &client);
  return static_cast<size_t>(std::max(1L, client.bottom / FRowHeight));
}

size_t TextViewPeer::MaxTopRow() const {
  const size_t visible = VisibleRows();
  return FRows.size() > visible ? FRows.size() - visible : 0;
}

void TextViewPeer::ScrollTo(size_t topRow) {
  topRow = std::min(topRow, MaxTopRow());
  if (topRow == FTopRow) return;
  FTopRow = topRow;
  UpdateScrollBars();
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TextViewPeer::ScrollBy(long long rows) {
  const long long wanted = static_cast<long long>(FTopRow) + rows;
  ScrollTo(static_cast<size_t>(std::max(0LL, wanted)));
}

void TextViewPeer::UpdateScrollBars() const {
  // Scroll information would show a bar the style leaves out.
  const auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
  if ((style & WS_VSCROLL) != 0) {
    SCROLLINFO vertical{};
    vertical.cbSize = sizeof vertical;
    // The bars stay shown: a bar that came and went would change the width and the wrapping.
    vertical.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    vertical.nMax = ScrollValue(FRows.empty() ? 0 : FRows.size() - 1);
    vertical.nPage = static_cast<UINT>(ScrollValue(VisibleRows()));
    vertical.nPos = ScrollValue(FTopRow);
    SetScrollInfo(Handle(), SB_VERT, &vertical, TRUE);
  }
  if ((style & WS_HSCROLL) != 0) {
    // Wrapped lines never reach past the right edge: the horizontal bar is there, disabled.
    SCROLLINFO horizontal{};
    horizontal.cbSize = sizeof horizontal;
    horizontal.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    SetScrollInfo(Handle(), SB_HORZ, &horizontal, TRUE);
  }
}

void TextViewPeer::OnVScroll(WORD code) {
  const auto page = static_cast<long long>(VisibleRows());
  switch (code) {
    case SB_LINEUP:
      ScrollBy(-1);
      break;
    case SB_LINEDOWN:
      ScrollBy(1);
      break;
    case SB_PAGEUP:
      ScrollBy(-page);
      break;
    case SB_PAGEDOWN:
      ScrollBy(page);
      break;
    case SB_TOP:
      ScrollTo(0);
      break;
    case SB_BOTTOM:
      ScrollTo(MaxTopRow());
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The message's own position has 16 bits only.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(Handle(), SB_VERT, &info)) ScrollTo(static_cast<size_t>(info.nTrackPos));
      break;
    }
    default:
      break;
  }
}

void TextViewPeer::OnMouseWheel(short delta) {
  UINT linesPerNotch = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
  FWheelRemainder += delta;
  const int notches = FWheelRemainder / WHEEL_DELTA;
  FWheelRemainder -= notches * WHEEL_DELTA;
  if (linesPerNotch == WHEEL_PAGESCROLL) {
    ScrollBy(-static_cast<long long>(notches) * static_cast<long long>(VisibleRows()));
  } else {
    ScrollBy(-static_cast<long long>(notches) * linesPerNotch);
  }
}

void TextViewPeer::OnKeyDown(WPARAM key) {
  const bool control = IsKeyDown(VK_CONTROL);
  const auto page = static_cast<long long>(VisibleRows());
  switch (key) {
    case VK_UP:
      ScrollBy(-1);
      break;
    case VK_DOWN:
      ScrollBy(1);
      break;
    case VK_PRIOR:
      ScrollBy(-page);
      break;
    case VK_NEXT:
      ScrollBy(page);
      break;
    case VK_HOME:
      if (control) ScrollTo(0);
      break;
    case VK_END:
      if (control) ScrollTo(MaxTopRow());
      break;
    case 'A':
      if (control) Select(0, FMemo.Text().size());
      break;
    case 'C':
    case VK_INSERT:
      if (control) CopySelection();
      break;
    default:
      break;
  }
}

void TextViewPeer::OnMouseDown(int x, int y, bool extend) {
  SetFocus(Handle());
  const size_t offset = OffsetAt(x, y);
  Select(extend ? FAnchor : offset, offset);
  FSelecting = true;
  SetCapture(Handle());
}

void TextViewPeer::OnMouseMove(int x, int y) {
  if (!FSelecting) return;
  // Dragging past the top or bottom edge brings the next rows into view.
  if (y < 0) ScrollBy(-1);
  if (y >= static_cast<int>(VisibleRows()) * FRowHeight) ScrollBy(1);
  Select(FAnchor, OffsetAt(x, y));
}

void TextViewPeer::Select(size_t anchor, size_t caret) {
  if (anchor == FAnchor && caret == FCaret) return;
  FAnchor = anchor;
  FCaret = caret;
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TextViewPeer::CopySelection() const {
  const size_t low = std::min(FAnchor, FCaret);
  const size_t high = std::max(FAnchor, FCaret);
  if (low == high) return;
  OpenedClipboard clipboard(Handle());
  if (!clipboard.IsOpen()) return;
  EmptyClipboard();
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, high - low + 1));
  if (!memory) throw Exception("Out of memory");
  {
    LockedMemory locked(memory.Get());
    if (locked.Data() == nullptr) throw Exception("Out of memory");
    std::memcpy(locked.Data(), FMemo.Text().data() + low, high - low);
    locked.Data()[high - low] = '\0';
  }
  if (SetClipboardData(CF_TEXT, memory.Get()) != nullptr) memory.Release();
}

LRESULT TextViewPeer::CopyText(WPARAM size, LPARAM buffer) const {
  if (size == 0 || buffer == 0) return 0;
  const std::string& text = FMemo.Text();
  const size_t count = std::min<size_t>(size - 1, text.size());
  auto* target = reinterpret_cast<char*>(buffer);
  std::memcpy(target, text.data(), count);
  target[count] = '\0';
  return static_cast<LRESULT>(count);
}

LRESULT TextViewPeer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto painted = HandlePaintMessage(message, wParam)) return *painted;
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_SIZE:
      Rewrap();
      return 0;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(static_cast<short>(HIWORD(wParam)));
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    // Escape, Enter and Tab stay with the form.
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      OnMouseDown(x, y, (wParam & MK_SHIFT) != 0);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(x, y);
      return 0;
    case WM_LBUTTONUP:
      FSelecting = false;
      if (GetCapture() == Handle()) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      FSelecting = false;
      return 0;
    case WM_COPY:
      CopySelection();
      return 0;
    // The whole text, also for other processes, which cannot reach the component.
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(FMemo.Text().size());
    case WM_GETTEXT:
      return CopyText(wParam, lParam);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(Context().Fonts.Get(FMemo.Font()));
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace foyer
