// The editable or unwrapped memo's edit window: its styles, its text in one hand-over of any size,
// and the user's edits written back.
#include "win32/BackendBed.h"

#include <string>

#include "toolkit/Form.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/Win32Backend.h"

namespace foyer::test {
namespace {

using MemoPeerTest = Win32BackendTest;

// A bound form with one memo.
struct MemoScene {
  MemoScene() {
    form.SetName("MemoProbe");
    form.SetClientSize(320, 240);
    form.SetPosition(TPosition::Designed);
    memo = form.Create<TMemo>(&form);
    memo->SetBounds(10, 10, 200, 150);
  }
  HWND Bind() {
    form.Bind();
    return HandleOf(*memo);
  }
  TForm form;
  TMemo* memo;
};

std::string TextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

LONG StyleOf(HWND window) {
  return GetWindowLongA(window, GWL_STYLE);
}

// Lines of text, CR LF between them, about the given size in bytes.
std::string Lines(size_t bytes) {
  std::string text;
  text.reserve(bytes + 80);
  for (int line = 0; text.size() < bytes; ++line) {
    if (line > 0) text += "\r\n";
    text += "Line " + std::to_string(line) + " of the catalogue: the quick brown fox jumps";
  }
  return text;
}

// Counts the messages this thread sends to one window, as they arrive.
class SentMessages {
 public:
  explicit SentMessages(HWND window)
      : FWindow(window),
        FHook(SetWindowsHookExA(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId())) {
    gCounter = this;
  }
  ~SentMessages() {
    UnhookWindowsHookEx(FHook);
    gCounter = nullptr;
  }
  SentMessages(const SentMessages&) = delete;
  SentMessages& operator=(const SentMessages&) = delete;
  int SetText = 0;
  int ReplaceSelection = 0;

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && gCounter != nullptr && sent->hwnd == gCounter->FWindow) {
      if (sent->message == WM_SETTEXT) ++gCounter->SetText;
      if (sent->message == EM_REPLACESEL) ++gCounter->ReplaceSelection;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static inline SentMessages* gCounter = nullptr;
  HWND FWindow;
  HHOOK FHook;
};

// --- Styles ---

TEST_F(MemoPeerTest, EditableMemoIsAMultiLineEditWithBothBarsThatWrapsAndIsNoTabStop) {
  MemoScene scene;
  scene.memo->SetTabStop(false);
  scene.memo->SetScrollBars(TScrollStyle::Both);
  scene.memo->SetWordWrap(true);
  const HWND edit = scene.Bind();
  ASSERT_NE(edit, nullptr);
  char className[32] = {};
  GetClassNameA(edit, className, sizeof className);
  EXPECT_EQ(lstrcmpiA(className, "Edit"), 0);
  const LONG style = StyleOf(edit);
  EXPECT_NE(style & ES_MULTILINE, 0);
  EXPECT_EQ(style & ES_READONLY, 0);
  EXPECT_NE(style & ES_WANTRETURN, 0);
  EXPECT_NE(style & ES_AUTOVSCROLL, 0);
  EXPECT_NE(style & WS_VSCROLL, 0);
  EXPECT_NE(style & WS_HSCROLL, 0);
  EXPECT_EQ(style & ES_AUTOHSCROLL, 0) << "a wrapping memo must not scroll sideways";
  EXPECT_EQ(style & WS_TABSTOP, 0);
  EXPECT_NE(GetWindowLongA(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(GetParent(edit), HandleOf(scene.form));
}

TEST_F(MemoPeerTest, ReadOnlyMemoThatDoesNotWrapStaysAReadOnlyEdit) {
  MemoScene scene;
  scene.memo->SetReadOnly(true);
  scene.memo->SetWordWrap(false);
  const HWND edit = scene.Bind();
  char className[32] = {};
  GetClassNameA(edit, className, sizeof className);
  EXPECT_EQ(lstrcmpiA(className, "Edit"), 0);
  EXPECT_NE(StyleOf(edit) & ES_READONLY, 0);
}

TEST_F(MemoPeerTest, LongLinesWrapAtTheRightEdgeAndWithoutWrappingStayOneLine) {
  MemoScene scene;
  scene.memo->SetScrollBars(TScrollStyle::Both);
  const std::string longLine(40, 'w');
  scene.memo->SetText(longLine + " " + longLine + " " + longLine + " " + longLine);
  const HWND edit = scene.Bind();
  EXPECT_GT(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 1);

  scene.memo->SetWordWrap(false);
  const HWND unwrapped = HandleOf(*scene.memo);
  EXPECT_NE(StyleOf(unwrapped) & ES_AUTOHSCROLL, 0);
  EXPECT_EQ(SendMessageA(unwrapped, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(MemoPeerTest, ScrollBarsFollowTheMemosSetting) {
  const TScrollStyle styles[] = {TScrollStyle::None, TScrollStyle::Horizontal,
                                 TScrollStyle::Vertical, TScrollStyle::Both};
  for (TScrollStyle bars : styles) {
    MemoScene scene;
    scene.memo->SetScrollBars(bars);
    const LONG style = StyleOf(scene.Bind());
    const bool vertical = bars == TScrollStyle::Vertical || bars == TScrollStyle::Both;
    const bool horizontal = bars == TScrollStyle::Horizontal || bars == TScrollStyle::Both;
    EXPECT_EQ((style & WS_VSCROLL) != 0, vertical) << static_cast<int>(bars);
    EXPECT_EQ((style & WS_HSCROLL) != 0, horizontal) << static_cast<int>(bars);
  }
}

TEST_F(MemoPeerTest, ChangingWrapOrReadOnlyAfterBindingKeepsTextPlaceAndFocus) {
  MemoScene scene;
  scene.memo->SetText("kept\r\ntext");
  const HWND first = scene.Bind();
  scene.form.Show();
  SetFocus(first);
  scene.memo->SetReadOnly(true);
  const HWND second = HandleOf(*scene.memo);
  EXPECT_FALSE(IsWindow(first)) << "the old edit window is not left behind";
  EXPECT_NE(StyleOf(second) & ES_READONLY, 0);
  EXPECT_EQ(TextOf(second), "kept\r\ntext");
  RECT rect{};
  GetWindowRect(second, &rect);
  MapWindowPoints(nullptr, HandleOf(scene.form), reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 10);
  EXPECT_EQ(rect.right, 210);
  EXPECT_EQ(rect.bottom, 160);
  EXPECT_EQ(GetFocus(), second);
}

TEST_F(MemoPeerTest, TabStopIsTheMemosSetting) {
  MemoScene scene;
  const HWND edit = scene.Bind();
  EXPECT_NE(StyleOf(edit) & WS_TABSTOP, 0);
  scene.memo->SetTabStop(false);
  EXPECT_EQ(StyleOf(HandleOf(*scene.memo)) & WS_TABSTOP, 0);
}

// --- Text ---

TEST_F(MemoPeerTest, TextSetBeforeAndAfterBindingReadsBackWithItsLineEnds) {
  MemoScene scene;
  scene.memo->SetText("first\r\nsecond\r\n\r\nfourth");
  const HWND edit = scene.Bind();
  EXPECT_EQ(TextOf(edit), "first\r\nsecond\r\n\r\nfourth");
  EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 4);
  // How a lone line feed shows is the control's business; it stays in the text.
  scene.memo->SetText("a lone\nline feed");
  EXPECT_EQ(TextOf(edit), "a lone\nline feed");
  scene.memo->SetText("replaced");
  EXPECT_EQ(TextOf(edit), "replaced");
  scene.memo->SetText("");
  EXPECT_EQ(TextOf(edit), "");
}

TEST_F(MemoPeerTest, TextLimitIsRaisedToTheLargestTheSystemAllows) {
  MemoScene scene;
  const HWND edit = scene.Bind();
  EXPECT_GE(static_cast<DWORD>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
}

TEST_F(MemoPeerTest, SeveralMegabytesArriveWholeInOneSetting) {
  MemoScene scene;
  scene.memo->SetScrollBars(TScrollStyle::Both);
  // Wide enough that no line wraps: the control's layout time is not what this test is about.
  scene.form.SetClientSize(800, 240);
  scene.memo->SetWidth(780);
  const HWND edit = scene.Bind();
  const std::string text = Lines(3 * 1024 * 1024);
  SentMessages sent(edit);
  scene.memo->SetText(text);
  EXPECT_EQ(sent.SetText, 1);
  EXPECT_EQ(sent.ReplaceSelection, 0);
  ASSERT_EQ(static_cast<size_t>(GetWindowTextLengthA(edit)), text.size());
  EXPECT_TRUE(TextOf(edit) == text) << "the text read back differs from the text set";
  // The view starts at the top of the text.
  EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

// --- The user's input ---

TEST_F(MemoPeerTest, ReadOnlyMemoTakesNoTypingAndItsTextStays) {
  MemoScene scene;
  scene.memo->SetReadOnly(true);
  scene.memo->SetWordWrap(false);
  scene.memo->SetText("fixed");
  const HWND edit = scene.Bind();
  SendMessageA(edit, WM_CHAR, 'x', 0);
  SendMessageA(edit, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(TextOf(edit), "fixed");
  EXPECT_EQ(scene.memo->Text(), "fixed");
}

TEST_F(MemoPeerTest, TypingIntoAnEditableMemoReachesTheComponentWithoutAnEcho) {
  MemoScene scene;
  scene.memo->SetText("ab");
  const HWND edit = scene.Bind();
  SendMessageA(edit, EM_SETSEL, 2, 2);
  SentMessages sent(edit);
  SendMessageA(edit, WM_CHAR, 'c', 0);
  EXPECT_EQ(scene.memo->Text(), "abc");
  SendMessageA(edit, WM_CHAR, '\r', 0);
  SendMessageA(edit, WM_CHAR, 'd', 0);
  EXPECT_EQ(scene.memo->Text(), "abc\r\nd");
  EXPECT_EQ(sent.SetText, 0) << "the typed text went back to the control";
}

// --- Look ---

TEST_F(MemoPeerTest, MemoUsesItsFontAndPaintsItsColourAlsoWhenReadOnly) {
  MemoScene scene;
  scene.memo->SetFont({"Courier New", -15, 0x0000FF});
  scene.memo->SetColor(0x00FFFF);
  scene.memo->SetReadOnly(true);
  scene.memo->SetWordWrap(false);
  const HWND edit = scene.Bind();
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "Courier New");
  EXPECT_EQ(font.lfHeight, -15);

  // A read-only edit asks its parent for the colours of static text.
  MemoryDC dc(CreateCompatibleDC(nullptr));
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(HandleOf(scene.form), WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(dc.Get()),
                                                           reinterpret_cast<LPARAM>(edit)));
  EXPECT_EQ(GetBkColor(dc.Get()), RGB(0xFF, 0xFF, 0x00));
  EXPECT_EQ(GetTextColor(dc.Get()), RGB(0xFF, 0x00, 0x00));
  LOGBRUSH fill{};
  GetObjectA(brush, sizeof fill, &fill);
  EXPECT_EQ(fill.lbColor, RGB(0xFF, 0xFF, 0x00));
}

}  // namespace
}  // namespace foyer::test
