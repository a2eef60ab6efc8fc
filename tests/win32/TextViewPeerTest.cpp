// The read-only text view: its window, its text for other processes, wrapping, scrolling,
// selection and copying, and its painting.
#include "win32/BackendBed.h"

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Form.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/Win32Backend.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowTxt.h"
#include "win32/ScreenReader.h"

namespace foyer::test {
namespace {

using TextViewPeerTest = Win32BackendTest;

// A bound form with one read-only, wrapping memo, as the text viewer has it.
struct ViewScene {
  ViewScene() {
    form.SetName("TextViewProbe");
    form.SetClientSize(320, 240);
    form.SetPosition(TPosition::Designed);
    memo = form.Create<TMemo>(&form);
    memo->SetBounds(10, 10, 200, 150);
    memo->SetReadOnly(true);
    memo->SetWordWrap(true);
    memo->SetScrollBars(TScrollStyle::Both);
  }
  HWND Bind() {
    form.Bind();
    return HandleOf(*memo);
  }
  TForm form;
  TMemo* memo;
};

// The text as another process reads it: by message, not from the window's title.
std::string TextOf(HWND window) {
  const auto length = static_cast<size_t>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0));
  std::string text(length + 1, '\0');
  const LRESULT copied =
      SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(copied));
  return text;
}

SCROLLINFO Vertical(HWND window) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window, SB_VERT, &info);
  return info;
}

int RowCount(HWND window) {
  return Vertical(window).nMax + 1;
}

int LastTopRow(HWND window) {
  const SCROLLINFO info = Vertical(window);
  return info.nMax - static_cast<int>(info.nPage) + 1;
}

// The clipboard's text in one format: CF_TEXT as bytes, CF_UNICODETEXT as UTF-16.
template <typename Char>
std::basic_string<Char> Clipboard(HWND owner, UINT format) {
  if (!OpenClipboard(owner)) return {};
  std::basic_string<Char> text;
  if (HANDLE data = GetClipboardData(format)) {
    if (const auto* units = static_cast<const Char*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::string ClipboardText(HWND owner) {
  return Clipboard<char>(owner, CF_TEXT);
}

void EmptyTheClipboard(HWND owner) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  CloseClipboard();
}

// Keys held down for this thread's key state, as GetKeyState reads it.
class KeysHeld {
 public:
  explicit KeysHeld(std::initializer_list<int> keys) {
    GetKeyboardState(FSaved);
    BYTE held[256];
    GetKeyboardState(held);
    for (int key : keys)
      held[key] = 0x80;
    SetKeyboardState(held);
  }
  ~KeysHeld() { SetKeyboardState(FSaved); }
  KeysHeld(const KeysHeld&) = delete;
  KeysHeld& operator=(const KeysHeld&) = delete;

 private:
  BYTE FSaved[256] = {};
};

struct ControlHeld : KeysHeld {
  ControlHeld() : KeysHeld({VK_CONTROL}) {}
};

struct ShiftHeld : KeysHeld {
  ShiftHeld() : KeysHeld({VK_SHIFT}) {}
};

void PressKey(HWND window, WPARAM key) {
  SendMessageA(window, WM_KEYDOWN, key, 0);
  SendMessageA(window, WM_KEYUP, key, 0);
}

// Identical lines of words, CR LF between them.
std::string Lines(int count, const std::string& line) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += "\r\n";
    text += line;
  }
  return text;
}

using Range = std::pair<DWORD, DWORD>;

// The selection as an edit control reports it, through the message's out parameters.
Range Selection(HWND window) {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageA(window, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

uint32_t SystemRgb(int index) {
  return Rgb(kSystemColor | static_cast<TColor>(index));
}

// --- The window ---

TEST_F(TextViewPeerTest, ReadOnlyWrappingMemoIsTheTextViewWithBothBarsABorderAndNoTabStop) {
  ViewScene scene;
  scene.memo->SetTabStop(false);
  const HWND view = scene.Bind();
  ASSERT_NE(view, nullptr);
  char className[32] = {};
  GetClassNameA(view, className, sizeof className);
  EXPECT_STREQ(className, "FoyerTextView");
  const LONG style = GetWindowLongA(view, GWL_STYLE);
  EXPECT_NE(style & WS_VSCROLL, 0);
  EXPECT_NE(style & WS_HSCROLL, 0);
  EXPECT_EQ(style & WS_TABSTOP, 0);
  EXPECT_NE(GetWindowLongA(view, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(GetParent(view), HandleOf(scene.form));
}

bool IsBarEnabled(HWND window, LONG bar) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, bar, &info);
  return (info.rgstate[0] & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE)) == 0;
}

TEST_F(TextViewPeerTest, HorizontalBarIsShownDisabledAndTheVerticalOneOnlyWhenTextOverflows) {
  ViewScene scene;
  scene.memo->SetText(std::string(2000, 'x'));
  const HWND view = scene.Bind();
  EXPECT_FALSE(IsBarEnabled(view, OBJID_HSCROLL)) << "wrapped lines have nothing to scroll to";
  EXPECT_TRUE(IsBarEnabled(view, OBJID_VSCROLL));
  scene.memo->SetText("short");
  EXPECT_FALSE(IsBarEnabled(view, OBJID_VSCROLL));
  EXPECT_NE(GetWindowLongA(view, GWL_STYLE) & WS_VSCROLL, 0) << "the bar came and went";
}

TEST_F(TextViewPeerTest, TabStopAndScrollBarsFollowTheMemoAfterBinding) {
  ViewScene scene;
  const HWND view = scene.Bind();
  EXPECT_NE(GetWindowLongA(view, GWL_STYLE) & WS_TABSTOP, 0);
  scene.memo->SetTabStop(false);
  scene.memo->SetScrollBars(TScrollStyle::None);
  const LONG style = GetWindowLongA(HandleOf(*scene.memo), GWL_STYLE);
  EXPECT_EQ(style & WS_TABSTOP, 0);
  EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0) << "a bar the memo does not have is shown";
}

TEST_F(TextViewPeerTest, WantsOnlyArrowsSoEscapeAndEnterReachTheForm) {
  ViewScene scene;
  const HWND view = scene.Bind();
  EXPECT_EQ(SendMessageA(view, WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(TextViewPeerTest, ClickingTheViewGivesItTheFocus) {
  ViewScene scene;
  scene.memo->SetTabStop(false);
  scene.memo->SetText("click me");
  const HWND view = scene.Bind();
  scene.form.Show();
  SetFocus(HandleOf(scene.form));
  PostClick(view, 20, 5);
  EXPECT_TRUE(PumpUntil([&] { return GetFocus() == view; }));
}

// --- Text ---

TEST_F(TextViewPeerTest, TextReadsBackWholeByMessageBeforeAndAfterChanges) {
  ViewScene scene;
  scene.memo->SetText("first\r\nsecond\r\n\r\nfourth");
  const HWND view = scene.Bind();
  EXPECT_EQ(TextOf(view), "first\r\nsecond\r\n\r\nfourth");
  scene.memo->SetText("a lone\nline feed and a lone\rreturn");
  EXPECT_EQ(TextOf(view), "a lone\nline feed and a lone\rreturn");
  scene.memo->SetText("");
  EXPECT_EQ(TextOf(view), "");
}

TEST_F(TextViewPeerTest, SeveralMegabytesReadBackWhole) {
  ViewScene scene;
  const HWND view = scene.Bind();
  const std::string text = Lines(60000, "Line of the catalogue: the quick brown fox jumps over it");
  scene.memo->SetText(text);
  ASSERT_EQ(static_cast<size_t>(SendMessageA(view, WM_GETTEXTLENGTH, 0, 0)), text.size());
  EXPECT_TRUE(TextOf(view) == text) << "the text read back differs from the text set";
}

TEST_F(TextViewPeerTest, ShortBufferGetsTheStartOfTheTextTerminated) {
  ViewScene scene;
  scene.memo->SetText("first\r\nsecond");
  const HWND view = scene.Bind();
  char buffer[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(SendMessageA(view, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), 3);
  EXPECT_STREQ(buffer, "fir");
}

// --- Wrapping ---

TEST_F(TextViewPeerTest, EveryKindOfLineEndStartsALine) {
  ViewScene scene;
  scene.memo->SetText("crlf\r\nlf\ncr\rlast");
  const HWND view = scene.Bind();
  EXPECT_EQ(RowCount(view), 4);
  scene.memo->SetText("ends with a line end\r\n");
  EXPECT_EQ(RowCount(view), 2) << "the empty line after the last line end is missing";
}

TEST_F(TextViewPeerTest, LineWiderThanTheViewWrapsIntoMoreRowsThanLines) {
  ViewScene scene;
  const std::string words = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu";
  scene.memo->SetText("short\r\n" + words + " " + words + " " + words + "\r\nshort");
  const HWND view = scene.Bind();
  EXPECT_GT(RowCount(view), 3);
}

int RowHeightOf(HWND view) {
  ClientDC screen;
  ObjectSelection font(screen.Get(), reinterpret_cast<HFONT>(SendMessageA(view, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  GetTextMetricsA(screen.Get(), &metrics);
  return metrics.tmHeight;
}

// What a drag across a whole row selects, as copied.
std::string CopyRow(HWND view, int row) {
  const int y = row * RowHeightOf(view) + 2;
  EmptyTheClipboard(view);
  SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, y));
  SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1000, y));
  SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(1000, y));
  SendMessageA(view, WM_COPY, 0, 0);
  return ClipboardText(view);
}

TEST_F(TextViewPeerTest, LinesBreakAfterTheLastSpaceThatFits) {
  ViewScene scene;
  std::string words;
  for (int i = 0; i < 100; ++i)
    words += "word ";
  scene.memo->SetText(words);
  const HWND view = scene.Bind();
  ASSERT_GT(RowCount(view), 3);
  for (int row = 0; row < 3; ++row) {
    const std::string shown = CopyRow(view, row);
    ASSERT_FALSE(shown.empty()) << row;
    EXPECT_EQ(shown.size() % 5, 0u) << "row " << row << " cuts a word: " << shown;
    EXPECT_EQ(shown.substr(0, 4), "word") << row;
  }
}

TEST_F(TextViewPeerTest, WordLongerThanTheViewIsBrokenAtACharacter) {
  ViewScene scene;
  scene.memo->SetText(std::string(2000, 'x'));
  const HWND view = scene.Bind();
  EXPECT_GT(RowCount(view), 10);
}

TEST_F(TextViewPeerTest, NarrowingTheViewKeepsTheFirstShownLineAtTheTop) {
  ViewScene scene;
  scene.form.SetClientSize(800, 240);
  scene.memo->SetWidth(780);
  scene.memo->SetText(Lines(400, "the quick brown fox jumps over the lazy dog again and again"));
  const HWND view = scene.Bind();
  ASSERT_EQ(RowCount(view), 400) << "wide enough that no line wraps";
  SendMessageA(view, WM_VSCROLL, SB_PAGEDOWN, 0);
  const int firstShown = Vertical(view).nPos;
  ASSERT_GT(firstShown, 0);
  scene.memo->SetWidth(150);
  const int rowsPerLine = RowCount(view) / 400;
  ASSERT_GT(rowsPerLine, 1);
  EXPECT_EQ(RowCount(view), 400 * rowsPerLine) << "identical lines wrap alike";
  EXPECT_EQ(Vertical(view).nPos, firstShown * rowsPerLine);
}

// --- Scrolling ---

TEST_F(TextViewPeerTest, PageKeysMoveViewAndCaretAPageAndControlHomeAndEndGoToTheEnds) {
  ViewScene scene;
  scene.memo->SetText(Lines(300, "row"));
  const HWND view = scene.Bind();
  const auto page = static_cast<int>(Vertical(view).nPage);
  ASSERT_GT(page, 1);
  PressKey(view, VK_NEXT);
  EXPECT_EQ(Vertical(view).nPos, page);
  EXPECT_EQ(Selection(view), Range(page * 5, page * 5)) << "the caret went down a page";
  PressKey(view, VK_PRIOR);
  EXPECT_EQ(Vertical(view).nPos, 0);
  EXPECT_EQ(Selection(view), Range(0, 0));
  ControlHeld control;
  PressKey(view, VK_END);
  EXPECT_EQ(Vertical(view).nPos, LastTopRow(view));
  EXPECT_EQ(Selection(view), Range(300 * 5 - 2, 300 * 5 - 2));
  PressKey(view, VK_HOME);
  EXPECT_EQ(Vertical(view).nPos, 0);
}

TEST_F(TextViewPeerTest, CaretMovedPastTheLastShownRowScrollsTheViewByOneRow) {
  ViewScene scene;
  scene.memo->SetText(Lines(300, "row"));
  const HWND view = scene.Bind();
  const auto page = static_cast<int>(Vertical(view).nPage);
  for (int i = 1; i < page; ++i)
    PressKey(view, VK_DOWN);
  EXPECT_EQ(Vertical(view).nPos, 0) << "the caret is on the last shown row";
  PressKey(view, VK_DOWN);
  EXPECT_EQ(Vertical(view).nPos, 1);
  for (int i = 0; i < page; ++i)
    PressKey(view, VK_UP);
  EXPECT_EQ(Vertical(view).nPos, 0);
}

TEST_F(TextViewPeerTest, ScrollBarAndWheelMoveTheViewAndStopAtTheLastPage) {
  ViewScene scene;
  scene.memo->SetText(Lines(300, "row"));
  const HWND view = scene.Bind();
  SendMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Vertical(view).nPos, 1);
  UINT wheelLines = 3;
  SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &wheelLines, 0);
  SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  EXPECT_EQ(Vertical(view).nPos, 1 + static_cast<int>(wheelLines));
  for (int i = 0; i < 100; ++i)
    SendMessageA(view, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(Vertical(view).nPos, LastTopRow(view));
  SendMessageA(view, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(Vertical(view).nPos, 0);
}

// --- Selection and copying ---

TEST_F(TextViewPeerTest, SelectAllThenCopyPutsTheWholeTextOnTheClipboard) {
  ViewScene scene;
  scene.memo->SetText("first line\r\nsecond\tline");
  const HWND view = scene.Bind();
  EmptyTheClipboard(view);
  {
    ControlHeld control;
    PressKey(view, 'A');
  }
  SendMessageA(view, WM_COPY, 0, 0);
  EXPECT_EQ(ClipboardText(view), "first line\r\nsecond\tline");
}

// Opens the view's context menu at a client point and, once it is up, reads the items' states
// and presses keys in it; empty when no menu opened.
std::vector<UINT> ContextMenu(HWND view, std::initializer_list<WPARAM> keys) {
  std::vector<UINT> states;
  IdleSteps user({[&] {
    const HWND popup = FindWindowA("#32768", nullptr);
    if (popup == nullptr) return;
    const auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    for (int item = 0; item < GetMenuItemCount(menu); ++item)
      states.push_back(GetMenuState(menu, static_cast<UINT>(item), MF_BYPOSITION) & MF_GRAYED);
    for (WPARAM key : keys)
      PostMessageA(popup, WM_KEYDOWN, key, 0);
    if (keys.size() == 0) EndMenu();
  }});
  POINT at{20, 5};
  ClientToScreen(view, &at);
  SendMessageA(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view), MAKELPARAM(at.x, at.y));
  return states;
}

TEST_F(TextViewPeerTest, DoubleClickSelectsAWordAndTheContextMenuCopiesOrSelectsAll) {
  ViewScene scene;
  scene.memo->SetText("alpha beta  gamma\r\nnext");
  const HWND view = scene.Bind();
  EmptyTheClipboard(view);
  // Copy is greyed while nothing is selected; Up then Enter chooses the last item, Select all.
  EXPECT_EQ(ContextMenu(view, {VK_UP, VK_RETURN}), (std::vector<UINT>{MF_GRAYED, 0}));
  EXPECT_EQ(Selection(view), (Range{0, 23}));

  const auto doubleClickAt = [&](int x) {
    SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 2));
    SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(x, 2));
    SendMessageA(view, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, 2));
    SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(x, 2));
    return Selection(view);
  };
  SIZE alpha{};
  SIZE beta{};
  {
    ClientDC screen(view);
    ObjectSelection font(screen.Get(),
                         reinterpret_cast<HFONT>(SendMessageA(view, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(screen.Get(), "alpha", 5, &alpha);
    GetTextExtentPoint32A(screen.Get(), "alpha be", 8, &beta);
  }
  EXPECT_EQ(doubleClickAt(2 + beta.cx), (Range{6, 10})) << "the word under the pointer";
  EXPECT_EQ(ContextMenu(view, {VK_DOWN, VK_RETURN}), (std::vector<UINT>{0, 0}));
  EXPECT_EQ(ClipboardText(view), "beta");
  EXPECT_EQ(doubleClickAt(2 + alpha.cx + 1), (Range{5, 6})) << "the blank between two words";
}

TEST_F(TextViewPeerTest, DraggingAcrossTheFirstRowSelectsItAndControlCCopiesIt) {
  ViewScene scene;
  scene.memo->SetText("abc def\r\nsecond");
  const HWND view = scene.Bind();
  EmptyTheClipboard(view);
  SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 2));
  SendMessageA(view, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(180, 2));
  SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(180, 2));
  EXPECT_NE(GetCapture(), view) << "the mouse stays captured after the release";
  {
    ControlHeld control;
    PressKey(view, 'C');
  }
  EXPECT_EQ(ClipboardText(view), "abc def");
  EmptyTheClipboard(view);
  {
    ControlHeld control;
    PressKey(view, VK_INSERT);
  }
  EXPECT_EQ(ClipboardText(view), "abc def");
}

TEST_F(TextViewPeerTest, ArrowsHomeAndEndMoveTheCaretAndShiftGrowsTheSelectionFromItsAnchor) {
  ViewScene scene;
  // Offsets: "abc" 0-2, CR LF 3-4, "defgh" 5-9, CR LF 10-11, "ij" 12-13.
  scene.memo->SetText("abc\r\ndefgh\r\nij");
  const HWND view = scene.Bind();
  EmptyTheClipboard(view);
  PressKey(view, VK_RIGHT);
  PressKey(view, VK_RIGHT);
  EXPECT_EQ(Selection(view), Range(2, 2));
  {
    ShiftHeld shift;
    PressKey(view, VK_RIGHT);
    EXPECT_EQ(Selection(view), Range(2, 3));
    PressKey(view, VK_RIGHT);
    EXPECT_EQ(Selection(view), Range(2, 5)) << "one step over the line end";
  }
  {
    ControlHeld control;
    PressKey(view, 'C');
  }
  EXPECT_EQ(ClipboardText(view), "c\r\n");
  PressKey(view, VK_END);
  EXPECT_EQ(Selection(view), Range(10, 10)) << "a move without Shift selects nothing";
  PressKey(view, VK_RIGHT);
  EXPECT_EQ(Selection(view), Range(12, 12));
  PressKey(view, VK_LEFT);
  EXPECT_EQ(Selection(view), Range(10, 10));
  PressKey(view, VK_HOME);
  EXPECT_EQ(Selection(view), Range(5, 5));
  {
    KeysHeld shiftControl({VK_SHIFT, VK_CONTROL});
    PressKey(view, VK_END);
    EXPECT_EQ(Selection(view), Range(5, 14));
    PressKey(view, VK_HOME);
    EXPECT_EQ(Selection(view), Range(0, 5)) << "the anchor stayed where the selection began";
  }
  PressKey(view, VK_LEFT);
  EXPECT_EQ(Selection(view), Range(0, 0)) << "the caret stops at the start";
}

TEST_F(TextViewPeerTest, UpAndDownKeepTheirColumnAcrossAShortRow) {
  ViewScene scene;
  // Rows start at 0, 8 and 11.
  scene.memo->SetText("abcdef\r\nx\r\nabcdef");
  const HWND view = scene.Bind();
  SendMessageA(view, EM_SETSEL, 5, 5);
  PressKey(view, VK_DOWN);
  EXPECT_EQ(Selection(view), Range(9, 9)) << "the end of the short row";
  PressKey(view, VK_DOWN);
  EXPECT_EQ(Selection(view), Range(16, 16)) << "back in the column the run began in";
  PressKey(view, VK_DOWN);
  EXPECT_EQ(Selection(view), Range(16, 16)) << "nothing below the last row";
  SendMessageA(view, EM_SETSEL, 1, 1);
  PressKey(view, VK_DOWN);
  PressKey(view, VK_DOWN);
  EXPECT_EQ(Selection(view), Range(12, 12)) << "a new run keeps the column it began in";
}

TEST_F(TextViewPeerTest, SetSelectionTakesMinusOneAsTextEndOrNoSelectionAndNeverSplitsALineEnd) {
  ViewScene scene;
  scene.memo->SetText("ab\r\ncd");
  const HWND view = scene.Bind();
  SendMessageA(view, EM_SETSEL, 1, -1);
  EXPECT_EQ(Selection(view), Range(1, 6));
  EXPECT_EQ(SendMessageA(view, EM_GETSEL, 0, 0), MAKELONG(1, 6));
  SendMessageA(view, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(Selection(view), Range(6, 6)) << "the caret stays where it was";
  SendMessageA(view, EM_SETSEL, 3, 100);
  EXPECT_EQ(Selection(view), Range(2, 6))
      << "between CR and LF is before the pair; past the end is the end";
  SendMessageA(view, EM_SETSEL, 5, 0);
  EXPECT_EQ(Selection(view), Range(0, 5)) << "reported in order";
}

TEST_F(TextViewPeerTest, SelectionPastSixtyFourKilobytesIsReportedThroughTheParametersOnly) {
  ViewScene scene;
  scene.memo->SetText(std::string(70000, 'x'));
  const HWND view = scene.Bind();
  SendMessageA(view, EM_SETSEL, 10, 69000);
  EXPECT_EQ(SendMessageA(view, EM_GETSEL, 0, 0), -1);
  EXPECT_EQ(Selection(view), Range(10, 69000));
}

HWND CaretWindow() {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  if (!GetGUIThreadInfo(GetCurrentThreadId(), &thread)) return reinterpret_cast<HWND>(-1);
  return thread.hwndCaret;
}

TEST_F(TextViewPeerTest, FocusedViewShowsACaretThatFollowsTheKeysAndGoesWithTheFocus) {
  ViewScene scene;
  scene.memo->SetText("first\r\nsecond\r\nthird");
  const HWND view = scene.Bind();
  scene.form.Show();
  SetFocus(view);
  ASSERT_EQ(GetFocus(), view);
  POINT caret{};
  ASSERT_TRUE(GetCaretPos(&caret));
  EXPECT_EQ(caret.y, 0);
  const LONG startX = caret.x;
  PressKey(view, VK_DOWN);
  PressKey(view, VK_END);
  GetCaretPos(&caret);
  EXPECT_GT(caret.y, 0) << "on the second row";
  EXPECT_GT(caret.x, startX) << "after its last character";
  const LONG rowHeight = caret.y;
  PressKey(view, VK_DOWN);
  GetCaretPos(&caret);
  EXPECT_EQ(caret.y, 2 * rowHeight);
  EXPECT_EQ(CaretWindow(), view);
  SetFocus(HandleOf(scene.form));
  EXPECT_EQ(CaretWindow(), nullptr) << "the caret went with the focus";
}

// --- Characters of every script, under the UTF-8 code page ---

std::wstring ClipboardWide(HWND owner) {
  return Clipboard<wchar_t>(owner, CF_UNICODETEXT);
}

struct ScriptCase {
  const char* Name;
  // Repeated until it wraps; the CJK one has no space to break at.
  std::string Phrase;
  // What an ANSI program of a Western user reads from the clipboard.
  std::string Legacy;
};

const ScriptCase kScripts[] = {
    {"Greek", "Ελληνικά γράμματα ", "???????? ???????? "},
    {"Russian", "Русский текст ", "??????? ????? "},
    {"CJK without spaces", "日本語の文章", "??????"},
    {"beyond 16 bits", "𝄞𠀋😀", "??????"},
    {"Western", "Café crème ", "Caf\xE9 cr\xE8me "},
};

TEST_F(TextViewPeerTest, WrapsMovesAndCopiesWholeCharactersOfEveryScript) {
  if (GetACP() != CP_UTF8) GTEST_SKIP() << "the code page is " << GetACP() << ", not UTF-8";
  for (const ScriptCase& script : kScripts) {
    SCOPED_TRACE(script.Name);
    std::string text;
    for (int i = 0; i < 12; ++i)
      text += script.Phrase;
    ViewScene scene;
    scene.memo->SetText(text);
    const HWND view = scene.Bind();
    const int rows = RowCount(view);
    ASSERT_GT(rows, 1) << "does not wrap";

    // Every row, dragged across and copied, holds whole characters; together they are the text.
    std::wstring joined;
    for (int row = 0; row < rows; ++row) {
      CopyRow(view, row);
      joined += ClipboardWide(view);
    }
    EXPECT_TRUE(joined == WideText(text)) << "rows cut a character or lose one";

    // The caret steps from character to character, through every one; offsets count UTF-16
    // units, as an edit's do.
    const std::wstring units = WideText(text);
    size_t steps = 0;
    SendMessageA(view, EM_SETSEL, 0, 0);
    for (DWORD at = 0; at < units.size() && steps <= 2 * units.size(); ++steps) {
      PressKey(view, VK_RIGHT);
      const DWORD next = Selection(view).second;
      ASSERT_GE(next, at);
      ASSERT_TRUE(next == units.size() || !IS_LOW_SURROGATE(units[next]))
          << "the caret stops inside a character at " << next;
      at = next;
    }
    // A step at the end of a wrapped row goes to the start of the next, at the same offset.
    const auto characters = static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
      return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
    EXPECT_EQ(steps, characters + static_cast<size_t>(rows - 1));

    {
      ControlHeld control;
      PressKey(view, 'A');
    }
    EmptyTheClipboard(view);
    SendMessageA(view, WM_COPY, 0, 0);
    EXPECT_TRUE(ClipboardWide(view) == WideText(text));
    std::string legacy;
    for (int i = 0; i < 12; ++i)
      legacy += script.Legacy;
    EXPECT_EQ(ClipboardText(view), legacy);
  }
}

// --- For screen readers ---

// The events another program hears: their kind, window and object.
std::vector<std::tuple<DWORD, HWND, LONG>> gHeard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) {
  gHeard.emplace_back(event, window, object);
}

bool Heard(DWORD event, HWND window, LONG object) {
  const auto heard = std::make_tuple(event, window, object);
  return PumpUntil([&] { return std::find(gHeard.begin(), gHeard.end(), heard) != gHeard.end(); });
}

TEST_F(TextViewPeerTest, ScreenReaderReadsTheTextAsUtf16AndHearsItChangeAndTheCaretMove) {
  ViewScene scene;
  scene.form.SetCaption("Café.txt");
  scene.memo->SetText("Ελληνικά\r\n😀 z");
  const HWND view = scene.Bind();
  scene.form.Show();
  const ReaderView reader = ReadAsScreenReader(view);
  EXPECT_EQ(reader.Role, ROLE_SYSTEM_TEXT);
  EXPECT_NE(reader.State & STATE_SYSTEM_READONLY, 0);
  EXPECT_TRUE(reader.Name == WideText(scene.form.Caption())) << "not named after the document";
  EXPECT_TRUE(reader.Value == WideText(scene.memo->Text()));

  gHeard.clear();
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, Hear,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  scene.memo->SetText("first\r\nsecond");
  EXPECT_TRUE(Heard(EVENT_OBJECT_VALUECHANGE, view, OBJID_CLIENT));
  EXPECT_TRUE(ReadAsScreenReader(view).Value == L"first\r\nsecond");
  SetFocus(view);
  PressKey(view, VK_DOWN);
  EXPECT_TRUE(Heard(EVENT_OBJECT_LOCATIONCHANGE, view, OBJID_CARET));
  UnhookWinEvent(hook);
}

// The queries a screen reader makes of an edit control, answered by the view and by a standard
// multi-line edit holding the same text in the same font, as wide and with the same margins, so
// that both wrap the last line alike. The edit measures Japanese without the linked font that
// draws it, and puts the LF of a line end at the line's start: there only rows are compared.
TEST_F(TextViewPeerTest, LineQueriesAreAnsweredAsAStandardWrappingEditAnswersThem) {
  if (GetACP() != CP_UTF8) GTEST_SKIP() << "the code page is " << GetACP() << ", not UTF-8";
  const std::string text =
      "Caf\xC3\xA9 x\r\n日本😀z\r\n\r\nthe last line is long enough to wrap in both of them";
  ViewScene scene;
  scene.memo->SetText(text);
  const HWND view = scene.Bind();
  RECT client{};
  GetClientRect(view, &client);
  const HWND edit =
      CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | ES_MULTILINE | ES_READONLY | WS_VSCROLL,
                      0, 0, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom,
                      HandleOf(scene.form), nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  SendMessageA(edit, WM_SETFONT, SendMessageA(view, WM_GETFONT, 0, 0), FALSE);
  SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(2, 2));
  const auto units = static_cast<WPARAM>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0));
  const auto rows = static_cast<WPARAM>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0));
  ASSERT_GT(rows, 4u) << "the last line does not wrap";
  const int rowHeight = HIWORD(SendMessageA(edit, EM_POSFROMCHAR, 8, 0));

  // Each query selects first (some read the selection), then asks.
  struct Query {
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
    int SelectFrom = 0;
    int SelectTo = 0;
    bool RowOnly = false;
  };
  std::vector<Query> queries = {{EM_GETSEL, 0, 0, 2, 9},
                                {EM_GETSEL, 0, 0, 9, 2},
                                {EM_GETSEL, 0, 0, 0, -1},
                                {EM_LINEINDEX, static_cast<WPARAM>(-1), 0, 9, 9},
                                {EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0, 12, 3},
                                {EM_LINELENGTH, static_cast<WPARAM>(-1), 0, 3, 10},
                                {EM_CHARFROMPOS, 0, MAKELPARAM(-5, -5)}};
  for (WPARAM row = 0; row <= rows; ++row) {
    queries.push_back({EM_LINEINDEX, row, 0});
    queries.push_back({EM_GETLINE, row, 0});
    for (int x : {1, 40, 150}) {
      const int y = static_cast<int>(row) * rowHeight + rowHeight / 2;
      queries.push_back({EM_CHARFROMPOS, 0, MAKELPARAM(x, y), 0, 0, row == 1});
    }
  }
  const std::wstring wide = WideText(text);
  for (WPARAM unit = 0; unit <= units + 1; ++unit) {
    queries.push_back({EM_LINEFROMCHAR, unit, 0});
    queries.push_back({EM_LINELENGTH, unit, 0});
    const bool rowOnly = SendMessageA(edit, EM_LINEFROMCHAR, unit, 0) == 1 ||
                         (unit < wide.size() && wide[unit] == L'\n');
    queries.push_back({EM_POSFROMCHAR, unit, 0, 0, 0, rowOnly});
  }
  const auto ask = [](HWND window, const Query& query) {
    SendMessageA(window, EM_SETSEL, query.SelectFrom, query.SelectTo);
    if (query.Message != EM_GETLINE) {
      const LRESULT answer = SendMessageA(window, query.Message, query.WParam, query.LParam);
      return std::to_string(query.RowOnly ? HIWORD(answer) : answer);
    }
    char line[128] = {static_cast<char>(sizeof line)};
    const LRESULT copied =
        SendMessageA(window, EM_GETLINE, query.WParam, reinterpret_cast<LPARAM>(line));
    return std::string(line, static_cast<size_t>(std::max<LRESULT>(0, copied)));
  };
  EXPECT_EQ(SendMessageA(view, EM_GETLINECOUNT, 0, 0), static_cast<LRESULT>(rows));
  for (const Query& query : queries) {
    EXPECT_EQ(ask(view, query), ask(edit, query))
        << "message " << std::hex << query.Message << std::dec << " (" << query.WParam << ", "
        << query.LParam << ")";
  }
}

// --- The viewers' keys ---

TEST_F(TextViewPeerTest, FromTheFocusedOkButtonTheScrollingKeysScrollTheTextAndEnterCloses) {
  const ScopedPlatform platform(Win32Services());
  Application().CreateForm(ShowTxtForm);
  ShowTxtForm->Memo1->SetText(Lines(200, "A line of the document"));
  const HWND view = HandleOf(*ShowTxtForm->Memo1);
  const int page = static_cast<int>(Vertical(view).nPage);
  const int last = LastTopRow(view);
  const struct {
    WPARAM Key;
    BYTE Control;
    int Top;
  } keys[] = {
      {VK_DOWN, 0, 1},    {VK_NEXT, 0, 1 + page}, {VK_UP, 0, page},
      {VK_PRIOR, 0, 0},   {VK_END, 0x80, last},   {VK_UP, 0, last - 1},
      {VK_HOME, 0x80, 0}, {VK_END, 0, 0},         {VK_RIGHT, 0, 0},
  };
  BYTE saved[256] = {};
  GetKeyboardState(saved);
  std::vector<std::function<void()>> steps;
  std::vector<std::pair<LRESULT, HWND>> seen;
  for (const auto& key : keys) {
    steps.push_back([&, key] {
      BYTE held[256];
      std::copy(std::begin(saved), std::end(saved), held);
      held[VK_CONTROL] = key.Control;
      SetKeyboardState(held);
      PostKey(GetFocus(), key.Key);
    });
    steps.push_back([&] {
      SetKeyboardState(saved);
      seen.emplace_back(SendMessageA(view, EM_GETFIRSTVISIBLELINE, 0, 0), GetFocus());
    });
  }
  steps.push_back([] { PostKey(GetFocus(), VK_RETURN); });
  IdleSteps user(std::move(steps));
  Watchdog watchdog(10000, [] { ShowTxtForm->SetModalResult(mrCancel); });
  EXPECT_EQ(ShowTxtForm->ShowModal(), mrOk) << "Enter did not close the viewer";
  ASSERT_EQ(seen.size(), std::size(keys));
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].first, keys[i].Top)
        << "key " << keys[i].Key << " control " << +keys[i].Control;
    EXPECT_EQ(seen[i].second, HandleOf(*ShowTxtForm->Button1)) << "the focus left the button";
  }
}

TEST_F(TextViewPeerTest, EscapeClosesThePictureViewerAsAClickDoes) {
  const ScopedPlatform platform(Win32Services());
  Application().CreateForm(ShowBmpForm);
  IdleSteps user({[] { PostKey(HandleOf(*ShowBmpForm), VK_ESCAPE); }});
  Watchdog watchdog(10000, [] { ShowBmpForm->SetModalResult(mrOk); });
  EXPECT_EQ(ShowBmpForm->ShowModal(), mrCancel);
}

// --- Look ---

TEST_F(TextViewPeerTest, TextIsPaintedInTheFontColourOnTheMemoColour) {
  ViewScene scene;
  scene.memo->SetFont({"MS Sans Serif", -11, 0x0000FF});
  scene.memo->SetColor(0x00FFFF);
  scene.memo->SetText(Lines(40, "The quick brown fox jumps over the lazy dog"));
  const HWND view = scene.Bind();
  const Rendering shot = RenderClient(view);
  KeepRendering(shot, "TextViewText");
  const RECT all{0, 0, shot.Width, shot.Height};
  EXPECT_GT(shot.Count(0xFF0000, all), 200) << "no text pixels in the font's colour";
  EXPECT_GT(shot.Count(0xFFFF00, all), shot.Width * shot.Height / 2) << "background not painted";
  // The last rows are painted as well as the first.
  const RECT bottom{0, shot.Height * 3 / 4, shot.Width, shot.Height};
  EXPECT_GT(shot.Count(0xFF0000, bottom), 20);
}

TEST_F(TextViewPeerTest, SelectionIsPaintedInTheHighlightColours) {
  ViewScene scene;
  scene.memo->SetText(Lines(5, "The quick brown fox jumps"));
  const HWND view = scene.Bind();
  const Rendering before = RenderClient(view);
  const RECT whole{0, 0, before.Width, before.Height};
  EXPECT_EQ(before.Count(SystemRgb(COLOR_HIGHLIGHT), whole), 0);
  {
    ControlHeld control;
    PressKey(view, 'A');
  }
  const Rendering after = RenderClient(view);
  KeepRendering(after, "TextViewSelection");
  EXPECT_GT(after.Count(SystemRgb(COLOR_HIGHLIGHT), whole), 200);
  EXPECT_GT(after.Count(SystemRgb(COLOR_HIGHLIGHTTEXT), whole), 50);
}

}  // namespace
}  // namespace foyer::test
