// A read-only, wrapping memo's own text view.
#include "toolkit/win32/TextViewPeer.h"

#include <oleacc.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/win32/Handles.h"
#include "toolkit/Form.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/ModulePool.h"
#include "toolkit/win32/Painting.h"
#include "toolkit/win32/PopupMenus.h"
#include "toolkit/win32/StdAccessible.h"
#include "util/Errors.h"
#include "util/Unicode.h"

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

// A copy of the data, its end included, on the open clipboard.
void PutOnClipboard(UINT format, const void* data, size_t size) {
  GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!memory) throw Exception("Out of memory");
  {
    LockedMemory locked(memory.Get());
    if (locked.Data() == nullptr) throw Exception("Out of memory");
    std::memcpy(locked.Data(), data, size);
  }
  if (SetClipboardData(format, memory.Get()) != nullptr) memory.Release();
}

bool IsKeyDown(int key) {
  return GetKeyState(key) < 0;
}

// The index of the last start at or before the value, in starts that begin with 0.
size_t IndexOfStart(const std::vector<size_t>& starts, size_t value) {
  return static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), value) -
                             starts.begin()) -
         1;
}

// A coordinate in one of the two signed 16-bit halves of a message's answer.
WORD Coordinate(long long value) {
  return static_cast<WORD>(static_cast<short>(std::clamp<long long>(value, SHRT_MIN, SHRT_MAX)));
}

// Scroll positions are ints: a text with more rows than an int holds stops at the largest.
int ScrollValue(size_t value) {
  return static_cast<int>(std::min<size_t>(value, INT_MAX));
}

}  // namespace

TextViewPeer::TextViewPeer(const PeerContext& context, TMemo& memo)
    : WindowPeer(context, memo), FMemo(memo) {
  ChooseFont();
  IndexLines();
  RegisterClassOnce(kClassName, CS_DBLCLKS);
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
      ChooseFont();
      IndexLines();
      FTopRow = 0;
      FAnchor = FCaret = FCaretRow = 0;
      FGoalX = -1;
      Wrap();
      UpdateScrollBars();
      PlaceSystemCaret();
      InvalidateRect(Handle(), nullptr, FALSE);
      NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
      break;
    case TChange::Font:
      FFont = nullptr;
      ChooseFont();
      // The caret is as high as a row.
      if (GetFocus() == Handle()) CreateSystemCaret();
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

void TextViewPeer::ChooseFont() {
  // The system reads the program's strings in its code page: UTF-8 where the manifest's code
  // page is in force.
  const bool isUtf8 = GetACP() == CP_UTF8;
  const HFONT font = Context().Fonts.For(FMemo.Font(), FMemo.Text());
  if (font == FFont && isUtf8 == FIsUtf8) return;
  FFont = font;
  FIsUtf8 = isUtf8;
  MeasureFont();
}

void TextViewPeer::MeasureFont() {
  ClientDC screen;
  if (!screen.IsValid()) throw Exception("Out of system resources");
  ObjectSelection selection(screen.Get(), FFont);
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.Get(), &metrics);
  INT widths[256] = {};
  if (FIsUtf8) {
    // The table holds the first 256 characters; the rest are measured as they come.
    GetCharWidth32W(screen.Get(), 0, 255, widths);
    FBmpWidths.clear();
    FOtherWidths.clear();
    FMeasureFont.reset();
    if (!FMeasureDC) FMeasureDC = MemoryDC(CreateCompatibleDC(screen.Get()));
    if (FMeasureDC) FMeasureFont.emplace(FMeasureDC.Get(), FFont);
  } else {
    GetCharWidth32A(screen.Get(), 0, 255, widths);
  }
  // A character of no width would let a row grow without bound.
  for (size_t c = 0; c < FCharWidths.size(); ++c)
    FCharWidths[c] = std::max(1, widths[c]);
  FRowHeight = std::max(1, static_cast<int>(metrics.tmHeight));
  // Tab stops every eight average characters, as in an edit control.
  FTabWidth = 8 * std::max(1, static_cast<int>(metrics.tmAveCharWidth));
}

char32_t TextViewPeer::DecodeAt(size_t offset, size_t& next) const {
  const std::string& text = FMemo.Text();
  next = offset;
  char32_t character = kReplacementChar;
  NextChar(text.data(), text.size(), next, character);
  return character;
}

int TextViewPeer::WideWidth(char32_t character) const {
  int* cached = nullptr;
  if (character < 0x10000) {
    if (FBmpWidths.empty()) FBmpWidths.assign(0x10000, 0);
    cached = &FBmpWidths[character];
  } else {
    cached = &FOtherWidths[character];
  }
  if (*cached > 0) return *cached;
  // The extent, not GetCharWidth32W: only text calls see the glyphs of linked fonts.
  wchar_t units[2];
  int count = 1;
  if (character < 0x10000) {
    units[0] = static_cast<wchar_t>(character);
  } else {
    units[0] = static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF));
    count = 2;
  }
  SIZE size{};
  if (FMeasureDC) GetTextExtentPoint32W(FMeasureDC.Get(), units, count, &size);
  *cached = std::max<int>(1, size.cx);
  return *cached;
}

size_t TextViewPeer::CharStart(size_t offset) const {
  const std::string& text = FMemo.Text();
  const auto isTrail = [&](size_t at) {
    return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
  };
  if (!FIsUtf8 || offset >= text.size() || !isTrail(offset)) return offset;
  // A character is at most four bytes: decode from the nearest byte that may begin one.
  size_t at = offset;
  while (at > 0 && offset - at < 3 && isTrail(at))
    --at;
  for (size_t next = at; at < offset; at = next) {
    DecodeAt(at, next);
    if (next > offset) return at;
  }
  return offset;
}

std::wstring TextViewPeer::WideSpan(size_t from, size_t to) const {
  std::wstring wide;
  wide.reserve(to - from);
  for (size_t at = from, next = from; at < to; at = next) {
    const char32_t character = CharAt(at, next);
    if (character < 0x10000) {
      wide.push_back(static_cast<wchar_t>(character));
    } else {
      wide.push_back(static_cast<wchar_t>(0xD800 + ((character - 0x10000) >> 10)));
      wide.push_back(static_cast<wchar_t>(0xDC00 + ((character - 0x10000) & 0x3FF)));
    }
  }
  return wide;
}

void TextViewPeer::IndexLines() {
  const std::string& text = FMemo.Text();
  const char* bytes = text.data();
  const size_t size = text.size();
  FLineStarts.clear();
  FLineStarts.push_back(0);
  FLineUnits.clear();
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
  const char* bytes = FMemo.Text().data();
  const int* widths = FCharWidths.data();
  constexpr char32_t kTableSize = std::tuple_size<decltype(FCharWidths)>::value;
  const bool isUtf8 = FIsUtf8;
  const int tabWidth = FTabWidth;
  const int wrapWidth = FWrapWidth;
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
    for (size_t i = rowStart, after = rowStart; i < end;) {
      // CharAt and Advance by hand, with what they read held in locals: this loop runs once per
      // byte of texts of many megabytes.
      const auto byte = static_cast<unsigned char>(bytes[i]);
      char32_t c = byte;
      after = i + 1;
      if (byte >= 0x80 && isUtf8) c = DecodeAt(i, after);
      const int next = c == '\t'        ? (x / tabWidth + 1) * tabWidth
                       : c < kTableSize ? x + widths[c]
                                        : x + WideWidth(c);
      // Spaces may hang past the edge, as in an edit control: a line never starts with them.
      if (c == ' ') {
        x = next;
        breakAt = after;
        i = after;
        continue;
      }
      if (next <= wrapWidth || i == rowStart) {
        x = next;
        i = after;
        continue;
      }
      // Rows are cut between characters only.
      const size_t cut = breakAt > rowStart ? breakAt : i;
      FRows.push_back({rowStart, cut});
      rowStart = cut;
      breakAt = cut;
      x = 0;
      for (size_t j = rowStart, following = j; j < i; j = following)
        x = Advance(x, CharAt(j, following));
      // The character is placed again on the new row: a tab there may land elsewhere.
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
    FTopRow = RowOf(firstShown);
    FCaretRow = RowOf(FCaret);
  }
  FTopRow = std::min(FTopRow, MaxTopRow());
  UpdateScrollBars();
  PlaceSystemCaret();
  InvalidateRect(Handle(), nullptr, FALSE);
}

int TextViewPeer::XOf(const Row& row, size_t offset) const {
  int x = 0;
  for (size_t i = row.Start, next = i; i < offset; i = next)
    x = Advance(x, CharAt(i, next));
  return x;
}

size_t TextViewPeer::OffsetIn(const Row& row, int x) const {
  int left = 0;
  for (size_t i = row.Start, next = i; i < row.End; i = next) {
    const int right = Advance(left, CharAt(i, next));
    // Past the middle of a character is after it, as an edit control counts.
    if (2 * (x - left) <= right - left) return i;
    left = right;
  }
  return row.End;
}

TextViewPeer::Place TextViewPeer::PlaceAt(int x, int y) const {
  if (FRows.empty()) return {0, 0};
  const long long shown = y < 0 ? -1 - (-1 - y) / FRowHeight : y / FRowHeight;
  const long long wanted = static_cast<long long>(FTopRow) + shown;
  const auto index = static_cast<size_t>(
      std::clamp<long long>(wanted, 0, static_cast<long long>(FRows.size()) - 1));
  return {index, OffsetIn(FRows[index], x - kMargin)};
}

size_t TextViewPeer::RowOf(size_t offset) const {
  const auto after =
      std::upper_bound(FRows.begin(), FRows.end(), offset,
                       [](size_t value, const Row& row) { return value < row.Start; });
  return after == FRows.begin() ? 0 : static_cast<size_t>(after - FRows.begin()) - 1;
}

size_t TextViewPeer::Normalized(size_t offset) const {
  const std::string& text = FMemo.Text();
  offset = CharStart(std::min(offset, text.size()));
  if (offset > 0 && offset < text.size() && text[offset - 1] == '\r' && text[offset] == '\n') {
    --offset;
  }
  return offset;
}

void TextViewPeer::Paint(HDC dc, const RECT& area) {
  if (IsRectEmpty(&area)) return;
  PaintBuffer buffer(dc, area);
  const HDC target = buffer.Get();
  FillSolid(target, area, ColorRef(FMemo.Color()));
  ObjectSelection font(target, FFont);
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
  if (!FIsUtf8) {
    TabbedTextOutA(dc, kMargin + XOf(row, from), y, FMemo.Text().data() + from,
                   static_cast<int>(to - from), 1, &tabWidth, kMargin);
    return;
  }
  // Whole characters, wide: the system's font links give the glyphs the font lacks.
  const std::wstring wide = WideSpan(from, to);
  TabbedTextOutW(dc, kMargin + XOf(row, from), y, wide.data(), static_cast<int>(wide.size()), 1,
                 &tabWidth, kMargin);
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
  PlaceSystemCaret();
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
  Place target{FCaretRow, FCaret};
  if (KeyTarget(key, control, target)) {
    // With Shift the selection grows from its anchor; without, a move leaves nothing selected.
    Select(IsKeyDown(VK_SHIFT) ? FAnchor : target.Offset, target);
    ScrollToCaret();
    return;
  }
  if (!control) return;
  switch (key) {
    case 'A':
      SelectAll();
      break;
    case 'C':
    case VK_INSERT:
      CopySelection();
      break;
    default:
      break;
  }
}

bool TextViewPeer::KeyTarget(WPARAM key, bool control, Place& target) {
  if (FRows.empty()) return false;
  const size_t last = FRows.size() - 1;
  const size_t page = VisibleRows();
  const Row& row = FRows[target.RowIndex];
  // Up and Down keep to the x where the run of them began.
  const bool vertical = key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT;
  if (vertical && FGoalX < 0) FGoalX = XOf(row, target.Offset);
  if (!vertical) FGoalX = -1;
  const auto toRow = [&](size_t index) { target = {index, OffsetIn(FRows[index], FGoalX)}; };
  switch (key) {
    case VK_LEFT:
      if (target.Offset > row.Start) {
        target.Offset = Normalized(target.Offset - 1);
      } else if (target.RowIndex > 0) {
        target = {target.RowIndex - 1, FRows[target.RowIndex - 1].End};
      }
      return true;
    case VK_RIGHT:
      if (target.Offset < row.End) {
        size_t next = target.Offset;
        CharAt(target.Offset, next);
        target.Offset = std::min(next, row.End);
      } else if (target.RowIndex < last) {
        target = {target.RowIndex + 1, FRows[target.RowIndex + 1].Start};
      }
      return true;
    case VK_UP:
      if (target.RowIndex > 0) toRow(target.RowIndex - 1);
      return true;
    case VK_DOWN:
      if (target.RowIndex < last) toRow(target.RowIndex + 1);
      return true;
    // A page key moves the view and the caret by a page together.
    case VK_PRIOR:
      ScrollBy(-static_cast<long long>(page));
      toRow(target.RowIndex > page ? target.RowIndex - page : 0);
      return true;
    case VK_NEXT:
      ScrollBy(static_cast<long long>(page));
      toRow(std::min(last, target.RowIndex + page));
      return true;
    case VK_HOME:
      target = control ? Place{0, 0} : Place{target.RowIndex, row.Start};
      return true;
    case VK_END:
      target = control ? Place{last, FMemo.Text().size()} : Place{target.RowIndex, row.End};
      return true;
    default:
      return false;
  }
}

void TextViewPeer::OnMouseDown(int x, int y, bool extend) {
  SetFocus(Handle());
  const Place place = PlaceAt(x, y);
  FGoalX = -1;
  Select(extend ? FAnchor : place.Offset, place);
  FSelecting = true;
  SetCapture(Handle());
}

void TextViewPeer::SelectAll() {
  FGoalX = -1;
  Select(0, {FRows.empty() ? 0 : FRows.size() - 1, FMemo.Text().size()});
}

// As in an edit control: a double-click selects the word under the pointer, or the run of
// blanks between two words.
void TextViewPeer::OnDoubleClick(int x, int y) {
  const std::string& text = FMemo.Text();
  if (FRows.empty()) return;
  const Row& row = FRows[PlaceAt(x, y).RowIndex];
  // A word's ends are blanks or line ends, never inside a character: blanks are ASCII.
  const auto isBlank = [&](size_t at) { return text[at] == ' ' || text[at] == '\t'; };
  // The character whose cell holds the pointer, or the row's last one.
  size_t at = row.Start;
  size_t next = at;
  for (int left = 0; at < row.End; at = next) {
    left = Advance(left, CharAt(at, next));
    if (x - kMargin < left || next >= row.End) break;
  }
  if (at >= row.End) return;
  const bool blank = isBlank(at);
  size_t start = at;
  size_t end = next;
  const auto line = static_cast<size_t>(
      std::upper_bound(FLineStarts.begin(), FLineStarts.end(), at) - FLineStarts.begin() - 1);
  const size_t lineStart = FLineStarts[line];
  const size_t lineEnd = LineEnd(line);
  while (start > lineStart && isBlank(start - 1) == blank)
    --start;
  while (end < lineEnd && isBlank(end) == blank)
    ++end;
  FGoalX = -1;
  FSelecting = false;
  Select(start, {RowOf(end), end});
}

void TextViewPeer::OnContextMenu(LPARAM lParam) {
  SetFocus(Handle());
  int x = kMargin;
  int y = 0;
  if (FCaretRow >= FTopRow && FCaretRow - FTopRow < VisibleRows() && FCaretRow < FRows.size()) {
    x += XOf(FRows[FCaretRow], FCaret);
    y = static_cast<int>(FCaretRow - FTopRow) * FRowHeight + FRowHeight;
  }
  const std::vector<MenuChoice> choices{{"Copy", FAnchor != FCaret}, {"Select all", true}};
  switch (TrackChoices(Handle(), ContextMenuPoint(Handle(), lParam, {x, y}), choices)) {
    case 0:
      CopySelection();
      break;
    case 1:
      SelectAll();
      break;
    default:
      break;
  }
}

void TextViewPeer::OnMouseMove(int x, int y) {
  if (!FSelecting) return;
  // Dragging past the top or bottom edge brings the next rows into view.
  if (y < 0) ScrollBy(-1);
  if (y >= static_cast<int>(VisibleRows()) * FRowHeight) ScrollBy(1);
  Select(FAnchor, PlaceAt(x, y));
}

void TextViewPeer::Select(size_t anchor, const Place& caret) {
  if (anchor == FAnchor && caret.Offset == FCaret && caret.RowIndex == FCaretRow) return;
  FAnchor = anchor;
  FCaret = caret.Offset;
  FCaretRow = caret.RowIndex;
  PlaceSystemCaret();
  InvalidateRect(Handle(), nullptr, FALSE);
}

void TextViewPeer::ScrollToCaret() {
  const size_t visible = VisibleRows();
  if (FCaretRow < FTopRow) {
    ScrollTo(FCaretRow);
  } else if (FCaretRow >= FTopRow + visible) {
    ScrollTo(FCaretRow - visible + 1);
  }
}

void TextViewPeer::CreateSystemCaret() {
  // The caret belongs to the thread: another window's caret goes when this one is made.
  CreateCaret(Handle(), nullptr, 1, FRowHeight);
  PlaceSystemCaret();
  ShowCaret(Handle());
}

void TextViewPeer::PlaceSystemCaret() const {
  if (GetFocus() != Handle() || FRows.empty()) return;
  int x = -FRowHeight;
  int y = -2 * FRowHeight;  // out of sight while its row is scrolled away
  if (FCaretRow >= FTopRow && FCaretRow - FTopRow < VisibleRows() + 1) {
    const Row& row = FRows[FCaretRow];
    x = kMargin + XOf(row, std::clamp(FCaret, row.Start, row.End));
    y = static_cast<int>(FCaretRow - FTopRow) * FRowHeight;
  }
  SetCaretPos(x, y);
  TellCaretMoved();
}

void TextViewPeer::TellCaretMoved() const {
  // Wine (8.0) raises no event when a program makes or moves the system caret; Windows raises
  // this one itself.
  if (RunsUnderWine()) NotifyWinEvent(EVENT_OBJECT_LOCATIONCHANGE, Handle(), OBJID_CARET, 0);
}

// As an edit control answers: the selection's ends in order, also where the message gives room.
LRESULT TextViewPeer::GetSelection(WPARAM start, LPARAM end) const {
  const size_t low = UnitsOf(std::min(FAnchor, FCaret));
  const size_t high = UnitsOf(std::max(FAnchor, FCaret));
  if (auto* out = reinterpret_cast<DWORD*>(start)) *out = static_cast<DWORD>(low);
  if (auto* out = reinterpret_cast<DWORD*>(end)) *out = static_cast<DWORD>(high);
  if (high > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(low, high));
}

// A start of -1 takes the selection away and keeps the caret; an end of -1 is the text's end.
// The caret goes to the end given.
void TextViewPeer::SetSelection(WPARAM start, LPARAM end) {
  FGoalX = -1;
  const size_t size = FMemo.Text().size();
  const auto at = [&](long long value) {
    return Normalized(value < 0 ? size : OffsetOfUnits(static_cast<size_t>(value)));
  };
  if (static_cast<int>(start) == -1) {
    Select(FCaret, {FCaretRow, FCaret});
    return;
  }
  const size_t caret = at(static_cast<int>(end));
  Select(at(static_cast<int>(start)), {RowOf(caret), caret});
}

size_t TextViewPeer::UnitsBetween(size_t from, size_t to) const {
  if (!FIsUtf8) return to - from;
  size_t units = 0;
  for (size_t at = from, next = from; at < to; at = next)
    units += CharAt(at, next) < 0x10000 ? 1 : 2;
  return units;
}

const std::vector<size_t>& TextViewPeer::LineUnits() const {
  if (FLineUnits.empty()) {
    FLineUnits.reserve(FLineStarts.size());
    FLineUnits.push_back(0);
    for (size_t line = 1; line < FLineStarts.size(); ++line)
      FLineUnits.push_back(FLineUnits.back() +
                           UnitsBetween(FLineStarts[line - 1], FLineStarts[line]));
  }
  return FLineUnits;
}

size_t TextViewPeer::UnitsOf(size_t offset) const {
  if (!FIsUtf8) return offset;
  const size_t line = IndexOfStart(FLineStarts, offset);
  return LineUnits()[line] + UnitsBetween(FLineStarts[line], offset);
}

size_t TextViewPeer::OffsetOfUnits(size_t units) const {
  const size_t size = FMemo.Text().size();
  if (!FIsUtf8) return std::min(units, size);
  const std::vector<size_t>& lineUnits = LineUnits();
  const size_t line = IndexOfStart(lineUnits, units);
  size_t counted = lineUnits[line];
  size_t at = FLineStarts[line];
  for (size_t next = at; at < size; at = next) {
    const size_t width = CharAt(at, next) < 0x10000 ? 1 : 2;
    if (counted + width > units) break;
    counted += width;
  }
  return at;
}

// -1 is the caret's row, past the last row has no start.
LRESULT TextViewPeer::LineIndex(WPARAM line) const {
  const size_t row = static_cast<int>(line) == -1 ? FCaretRow : line;
  if (row >= FRows.size()) return -1;
  return static_cast<LRESULT>(UnitsOf(FRows[row].Start));
}

// -1 is the row the selection begins in, or the caret's.
LRESULT TextViewPeer::LineFromChar(WPARAM unit) const {
  if (static_cast<int>(unit) == -1)
    return static_cast<LRESULT>(FAnchor == FCaret ? FCaretRow : RowOf(std::min(FAnchor, FCaret)));
  return static_cast<LRESULT>(RowOf(OffsetOfUnits(unit)));
}

// The row's characters without its line end; -1 counts those left unselected on the rows the
// selection begins and ends in.
LRESULT TextViewPeer::LineLength(WPARAM unit) const {
  if (FRows.empty()) return 0;
  if (static_cast<int>(unit) == -1) {
    const size_t low = std::min(FAnchor, FCaret);
    const size_t high = std::max(FAnchor, FCaret);
    const Row& first = FRows[RowOf(low)];
    const Row& last = FRows[RowOf(high)];
    return static_cast<LRESULT>(UnitsBetween(first.Start, low) +
                                UnitsBetween(high, std::max(high, last.End)));
  }
  // Past the end, the last row's.
  const Row& row = FRows[RowOf(OffsetOfUnits(unit))];
  return static_cast<LRESULT>(UnitsBetween(row.Start, row.End));
}

// The row's bytes, without a line end or a terminating zero, as many whole characters as the
// buffer's first word gives room for.
LRESULT TextViewPeer::CopyLine(WPARAM line, LPARAM buffer) const {
  if (buffer == 0 || line >= FRows.size()) return 0;
  auto* target = reinterpret_cast<char*>(buffer);
  WORD room = 0;
  std::memcpy(&room, target, sizeof room);
  const Row& row = FRows[line];
  size_t count = row.End - row.Start;
  if (room < count) count = CharStart(row.Start + room) - row.Start;
  std::memcpy(target, FMemo.Text().data() + row.Start, count);
  return static_cast<LRESULT>(count);
}

// The top-left of the character in client coordinates; -1 at or past the text's end.
LRESULT TextViewPeer::PosFromChar(WPARAM unit) const {
  const size_t offset = OffsetOfUnits(unit);
  if (FRows.empty() || offset >= FMemo.Text().size()) return -1;
  const size_t index = RowOf(offset);
  // The second half of a line end is where the first is.
  const Row& row = FRows[index];
  const long long x = kMargin + XOf(row, std::min(offset, row.End));
  const long long y =
      (static_cast<long long>(index) - static_cast<long long>(FTopRow)) * FRowHeight;
  return static_cast<LONG>(MAKELONG(Coordinate(x), Coordinate(y)));
}

// The character nearest the point, and its row, in 16 bits each; -1 outside the client area.
LRESULT TextViewPeer::CharFromPos(LPARAM point) const {
  const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
  RECT client{};
  GetClientRect(Handle(), &client);
  if (!PtInRect(&client, at)) return -1;
  const Place place = PlaceAt(at.x, at.y);
  return static_cast<LONG>(
      MAKELONG(static_cast<WORD>(UnitsOf(place.Offset)), static_cast<WORD>(place.RowIndex)));
}

std::optional<LRESULT> TextViewPeer::AccessibleObject(WPARAM wParam, LPARAM lParam) const {
  // A client may ask after the view is gone: the answers find the peer by its window.
  const HWND window = Handle();
  const auto view = [window] { return dynamic_cast<const TextViewPeer*>(FromHandle(window)); };
  AccessibleOverrides self;
  self.Name = [view] {
    const TextViewPeer* peer = view();
    return peer != nullptr ? peer->AccessibleName() : std::wstring();
  };
  self.Role = ROLE_SYSTEM_TEXT;
  self.Value = [view] {
    const TextViewPeer* peer = view();
    return peer != nullptr ? peer->AccessibleValue() : std::wstring();
  };
  self.StateAdded = STATE_SYSTEM_READONLY;
  return AnswerGetObject(window, wParam, lParam, self);
}

// Named after the document, as the viewer's caption is: the system's object would read the
// whole text as the name.
std::wstring TextViewPeer::AccessibleName() const {
  const TForm* form = FMemo.ParentForm();
  return form != nullptr ? WideText(form->Caption()) : std::wstring();
}

// In the units the line queries count in.
std::wstring TextViewPeer::AccessibleValue() const {
  if (FIsUtf8) return WideSpan(0, FMemo.Text().size());
  return WideText(FMemo.Text());
}

void TextViewPeer::CopySelection() const {
  const size_t low = std::min(FAnchor, FCaret);
  const size_t high = std::max(FAnchor, FCaret);
  if (low == high) return;
  // Both forms, so that no program reads the text through a code page it was not written in:
  // UTF-16, and the bytes in the code page an ANSI program of this user reads.
  std::wstring wide = WideSpan(low, high);
  std::string bytes;
  if (FIsUtf8) {
    char number[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number);
    const auto legacy = static_cast<UINT>(std::strtoul(number, nullptr, 10));
    const int size = static_cast<int>(std::min<size_t>(wide.size(), INT_MAX));
    bytes.resize(static_cast<size_t>(
        std::max(0, WideCharToMultiByte(legacy, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                        nullptr, nullptr))));
    WideCharToMultiByte(legacy, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(),
                        static_cast<int>(bytes.size()), nullptr, nullptr);
  } else {
    bytes.assign(FMemo.Text(), low, high - low);
    wide = WideText(bytes);
  }
  OpenedClipboard clipboard(Handle());
  if (!clipboard.IsOpen()) return;
  EmptyClipboard();
  PutOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  PutOnClipboard(CF_TEXT, bytes.c_str(), bytes.size() + 1);
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
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(x, y);
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(lParam);
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
    case WM_SETFOCUS:
      CreateSystemCaret();
      return 0;
    case WM_KILLFOCUS:
      DestroyCaret();
      return 0;
    case WM_COPY:
      CopySelection();
      return 0;
    case EM_GETSEL:
      return GetSelection(wParam, lParam);
    case EM_SETSEL:
      SetSelection(wParam, lParam);
      return 0;
    case EM_SCROLLCARET:
      ScrollToCaret();
      return 0;
    case EM_GETLINECOUNT:
      return static_cast<LRESULT>(std::max<size_t>(1, FRows.size()));
    case EM_GETFIRSTVISIBLELINE:
      return static_cast<LRESULT>(FTopRow);
    case EM_LINEINDEX:
      return LineIndex(wParam);
    case EM_LINEFROMCHAR:
      return LineFromChar(wParam);
    case EM_LINELENGTH:
      return LineLength(wParam);
    case EM_GETLINE:
      return CopyLine(wParam, lParam);
    case EM_POSFROMCHAR:
      return PosFromChar(wParam);
    case EM_CHARFROMPOS:
      return CharFromPos(lParam);
    case WM_GETOBJECT:
      if (auto answer = AccessibleObject(wParam, lParam)) return *answer;
      return Default(message, wParam, lParam);
    // The whole text, also for other processes, which cannot reach the component.
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(FMemo.Text().size());
    case WM_GETTEXT:
      return CopyText(wParam, lParam);
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FFont);
    default:
      return Default(message, wParam, lParam);
  }
}

}  // namespace foyer
