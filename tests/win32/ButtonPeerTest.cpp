// Push buttons and the keyboard in forms: the button's window, its clicks and modal result,
// Escape, Enter and Tab in a form with buttons, and the focus when a form is shown.
#include "win32/BackendBed.h"

#include <string>
#include <vector>

#include "toolkit/Form.h"
#include "toolkit/win32/PixelsPerInch.h"
#include "toolkit/win32/Win32Backend.h"

namespace foyer::test {
namespace {

using ButtonPeerTest = Win32BackendTest;
using DialogKeyTest = Win32BackendTest;
using FormFocusTest = Win32BackendTest;

constexpr int32_t kTimedOut = 99;
constexpr int32_t kYes = 6;

std::string TitleOf(HWND window) {
  char buffer[256];
  const int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

// A dialog-like form: a memo, an OK button (default) and a Cancel button (cancel), each button
// counting its clicks.
struct DialogScene {
  DialogScene() {
    form.SetName("DialogKeyProbe");
    form.SetClientSize(300, 200);
    form.SetPosition(TPosition::Designed);
    memo = form.Create<TMemo>(&form);
    memo->SetBounds(8, 8, 200, 150);
    ok = form.Create<TButton>(&form);
    ok->SetBounds(216, 8, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->OnClick = [this](TComponent*) { ++okClicks; };
    cancel = form.Create<TButton>(&form);
    cancel->SetBounds(216, 40, 75, 25);
    cancel->SetCaption("Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    cancel->OnClick = [this](TComponent*) { ++cancelClicks; };
  }
  void Bind() { form.Bind(); }
  HWND Window() const { return HandleOf(form); }
  // Shows the form modally; something queued or scheduled beforehand must close it.
  int32_t ShowModal() {
    Watchdog watchdog(5000, [this] { form.SetModalResult(kTimedOut); });
    return form.ShowModal();
  }
  TForm form;
  TMemo* memo;
  TButton* ok;
  TButton* cancel;
  int okClicks = 0;
  int cancelClicks = 0;
};

// --- The button's window ---

TEST_F(ButtonPeerTest, ButtonIsAPushButtonChildWithCaptionBoundsAndTheFormsFont) {
  DialogScene scene;
  scene.form.SetFont({"Courier New", -15, clWindowText});
  auto* button = scene.form.Create<TButton>(&scene.form);
  button->SetBounds(20, 30, 64, 24);
  button->SetCaption("&Probe");
  scene.Bind();
  const HWND window = HandleOf(*button);
  ASSERT_NE(window, nullptr);
  char className[32] = {};
  GetClassNameA(window, className, sizeof className);
  EXPECT_EQ(lstrcmpiA(className, "Button"), 0);
  EXPECT_EQ(GetParent(window), scene.Window());
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_NE(style & WS_TABSTOP, 0);
  EXPECT_EQ(TitleOf(window), "&Probe");
  const RECT rect = RectInParent(window);
  EXPECT_EQ(rect.left, 20);
  EXPECT_EQ(rect.top, 30);
  EXPECT_EQ(rect.right, 84);
  EXPECT_EQ(rect.bottom, 54);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "Courier New");
  EXPECT_EQ(font.lfHeight, -15);
}

TEST_F(ButtonPeerTest, DefaultButtonHasTheDefaultLookAndLosesItWhenNoLongerDefault) {
  DialogScene scene;
  scene.Bind();
  const HWND ok = HandleOf(*scene.ok);
  EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(HandleOf(*scene.cancel), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  scene.ok->SetDefault(false);
  EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  scene.cancel->SetDefault(true);
  EXPECT_EQ(GetWindowLongA(HandleOf(*scene.cancel), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

TEST_F(ButtonPeerTest, CaptionVisibleEnabledAndBoundsReachTheWindowAfterBinding) {
  DialogScene scene;
  scene.Bind();
  const HWND ok = HandleOf(*scene.ok);
  scene.ok->SetCaption("Close");
  EXPECT_EQ(TitleOf(ok), "Close");
  scene.ok->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(ok));
  scene.ok->SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(ok));
  scene.ok->Hide();
  EXPECT_EQ(GetWindowLongA(ok, GWL_STYLE) & WS_VISIBLE, 0);
  scene.ok->SetBounds(100, 110, 50, 20);
  const RECT rect = RectInParent(ok);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.bottom, 130);
}

TEST_F(ButtonPeerTest, ClickOnTheButtonRaisesOnClickAndClosesTheModalFormWithItsResult) {
  DialogScene scene;
  scene.ok->SetModalResult(kYes);
  scene.Bind();
  PostClick(HandleOf(*scene.ok), 10, 10);
  EXPECT_EQ(scene.ShowModal(), kYes);
  EXPECT_EQ(scene.okClicks, 1);
  EXPECT_EQ(scene.cancelClicks, 0);
  EXPECT_FALSE(IsWindowVisible(scene.Window()));
}

TEST_F(ButtonPeerTest, ButtonWithoutAModalResultOnlyRaisesOnClick) {
  DialogScene scene;
  scene.ok->SetModalResult(mrNone);
  scene.Bind();
  scene.form.Show();
  SendMessageA(HandleOf(*scene.ok), BM_CLICK, 0, 0);
  EXPECT_EQ(scene.okClicks, 1);
  EXPECT_EQ(scene.form.ModalResult(), mrNone);
}

TEST_F(ButtonPeerTest, ErrorInAButtonsClickHandlerShowsTheBoxAndTheFormStays) {
  Application().SetTitle("Button title");
  DialogScene scene;
  scene.ok->OnClick = [](TComponent*) { throw Exception("Click failed"); };
  scene.Bind();
  scene.form.Show();
  MessageBoxAnswerer answerer;
  SendMessageA(HandleOf(*scene.ok), BM_CLICK, 0, 0);
  ASSERT_EQ(answerer.Count(), 1);
  EXPECT_EQ(answerer.Texts()[0], "Click failed.");
  EXPECT_EQ(answerer.Titles()[0], "Button title");
}

// --- Dialog keys ---

TEST_F(DialogKeyTest, EscapePressesTheCancelButtonWhereverTheFocusIs) {
  DialogScene scene;
  scene.Bind();
  PostKey(HandleOf(*scene.memo), VK_ESCAPE);
  EXPECT_EQ(scene.ShowModal(), mrCancel);
  EXPECT_EQ(scene.cancelClicks, 1);
  EXPECT_EQ(scene.okClicks, 0);
}

TEST_F(DialogKeyTest, EnterPressesTheDefaultButtonOrTheFocusedOne) {
  DialogScene scene;
  scene.memo->SetReadOnly(true);
  scene.Bind();
  PostKey(HandleOf(*scene.memo), VK_RETURN);
  EXPECT_EQ(scene.ShowModal(), mrOk);
  EXPECT_EQ(scene.okClicks, 1);

  // The focused button is the one Enter presses, default or not.
  scene.form.SetActiveControl(scene.cancel);
  PostKey(HandleOf(*scene.cancel), VK_RETURN);
  EXPECT_EQ(scene.ShowModal(), mrCancel);
  EXPECT_EQ(scene.cancelClicks, 1);
  EXPECT_EQ(scene.okClicks, 1);
}

TEST_F(DialogKeyTest, EnterInAnEditableMemoStartsANewLineInstead) {
  DialogScene scene;
  scene.memo->SetText("ab");
  scene.Bind();
  const HWND edit = HandleOf(*scene.memo);
  SendMessageA(edit, EM_SETSEL, 2, 2);
  PostKey(edit, VK_RETURN);
  IdleSteps close({[&] { scene.form.SetModalResult(kTimedOut); }});
  scene.ShowModal();
  EXPECT_EQ(scene.okClicks, 0);
  EXPECT_EQ(scene.memo->Text(), "ab\r\n");
}

TEST_F(DialogKeyTest, HiddenOrDisabledCancelButtonIsNotPressed) {
  DialogScene scene;
  scene.Bind();
  scene.cancel->SetEnabled(false);
  PostKey(scene.Window(), VK_ESCAPE);
  IdleSteps close({[&] { scene.form.SetModalResult(kTimedOut); }});
  EXPECT_EQ(scene.ShowModal(), kTimedOut);
  EXPECT_EQ(scene.cancelClicks, 0);
}

TEST_F(DialogKeyTest, TabMovesTheFocusBetweenTabStopsAndPassesOverTheMemoThatIsNone) {
  DialogScene scene;
  scene.memo->SetTabStop(false);
  scene.form.SetActiveControl(scene.ok);
  scene.Bind();
  HWND afterOne = nullptr;
  HWND afterTwo = nullptr;
  PostKey(HandleOf(*scene.ok), VK_TAB);
  IdleSteps steps({[&] {
                     afterOne = GetFocus();
                     PostKey(afterOne, VK_TAB);
                   },
                   [&] {
                     afterTwo = GetFocus();
                     scene.form.SetModalResult(kTimedOut);
                   }});
  scene.ShowModal();
  EXPECT_EQ(afterOne, HandleOf(*scene.cancel));
  EXPECT_EQ(afterTwo, HandleOf(*scene.ok)) << "the last tab stop leads back to the first";
  EXPECT_EQ(scene.okClicks + scene.cancelClicks, 0) << "Tab pressed a button";
}

// A list box whose key presses are counted on their way in.
struct KeyCountingList {
  explicit KeyCountingList(TForm& form) {
    list = form.Create<TListBox>(&form);
    list->SetBounds(8, 8, 100, 100);
    list->AddRow("one");
    list->AddRow("two");
  }
  void Subclass() {
    window = HandleOf(*list);
    gList = this;
    FOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
  }
  ~KeyCountingList() { gList = nullptr; }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && gList != nullptr) ++gList->keys;
    return CallWindowProcA(gList->FOriginal, hwnd, message, wParam, lParam);
  }
  static inline KeyCountingList* gList = nullptr;
  TListBox* list;
  HWND window = nullptr;
  int keys = 0;
  WNDPROC FOriginal = nullptr;
};

TEST_F(DialogKeyTest, FormWithoutButtonsLeavesEscapeEnterAndTabToItsControls) {
  TForm form;
  form.SetName("NoButtonsProbe");
  form.SetClientSize(200, 150);
  KeyCountingList counting(form);
  form.Bind();
  counting.Subclass();
  for (WPARAM key : {VK_ESCAPE, VK_RETURN, VK_TAB})
    PostKey(counting.window, key);
  IdleSteps close({[&] { form.SetModalResult(kTimedOut); }});
  Watchdog watchdog(5000, [&] { form.SetModalResult(kTimedOut); });
  EXPECT_EQ(form.ShowModal(), kTimedOut);
  EXPECT_EQ(counting.keys, 3);
}

TEST_F(DialogKeyTest, FormWithAButtonTakesEscapeBeforeItsList) {
  TForm form;
  form.SetName("ButtonAndListProbe");
  form.SetClientSize(200, 150);
  KeyCountingList counting(form);
  auto* cancel = form.Create<TButton>(&form);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  form.Bind();
  counting.Subclass();
  PostKey(counting.window, VK_ESCAPE);
  Watchdog watchdog(5000, [&] { form.SetModalResult(kTimedOut); });
  EXPECT_EQ(form.ShowModal(), mrCancel);
  EXPECT_EQ(counting.keys, 0);
}

// --- Focus ---

TEST_F(FormFocusTest, ShownFormGivesTheFocusToItsActiveControlEveryTime) {
  DialogScene scene;
  scene.form.SetActiveControl(scene.cancel);
  scene.Bind();
  HWND focused = nullptr;
  {
    IdleSteps look({[&] {
      focused = GetFocus();
      // The user moves on to the memo before closing.
      SetFocus(HandleOf(*scene.memo));
      scene.form.SetModalResult(mrOk);
    }});
    scene.ShowModal();
  }
  EXPECT_EQ(focused, HandleOf(*scene.cancel));
  {
    IdleSteps look({[&] {
      focused = GetFocus();
      scene.form.SetModalResult(mrOk);
    }});
    scene.ShowModal();
  }
  EXPECT_EQ(focused, HandleOf(*scene.cancel)) << "a new showing starts at the active control";
}

TEST_F(FormFocusTest, SettingTheActiveControlOfAShownFormMovesTheFocus) {
  DialogScene scene;
  scene.Bind();
  scene.form.Show();
  SetActiveWindow(scene.Window());
  scene.form.SetActiveControl(scene.ok);
  EXPECT_EQ(GetFocus(), HandleOf(*scene.ok));
  scene.form.SetActiveControl(scene.memo);
  EXPECT_EQ(GetFocus(), HandleOf(*scene.memo));
}

TEST_F(FormFocusTest, ReactivatedFormGivesTheFocusBackToTheControlThatHadIt) {
  DialogScene scene;
  scene.form.SetActiveControl(scene.ok);
  scene.Bind();
  TForm other;
  other.SetName("OtherProbe");
  other.SetClientSize(100, 80);
  other.Bind();
  scene.form.Show();
  SetActiveWindow(scene.Window());
  SetFocus(HandleOf(*scene.cancel));
  other.Show();
  SetActiveWindow(HandleOf(other));
  ASSERT_NE(GetFocus(), HandleOf(*scene.cancel));
  SetActiveWindow(scene.Window());
  EXPECT_EQ(GetFocus(), HandleOf(*scene.cancel));
}

TEST_F(FormFocusTest, FormDesignedForAnotherResolutionIsNotScaledAgain) {
  TForm form;
  form.SetName("DesignedAt120");
  form.SetDesignPixelsPerInch(120);
  form.SetClientSize(607, 471);
  form.SetFont({"MS Sans Serif", -14, clWindowText});
  auto* button = form.Create<TButton>(&form);
  button->SetBounds(535, 439, 64, 24);
  form.Bind();
  RECT client{};
  GetClientRect(HandleOf(form), &client);
  EXPECT_EQ(client.right, 607);
  EXPECT_EQ(client.bottom, 471);
  const RECT rect = RectInParent(HandleOf(*button));
  EXPECT_EQ(rect.left, 535);
  EXPECT_EQ(rect.right - rect.left, 64);
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(HandleOf(*button), WM_GETFONT, 0, 0)),
             sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -14);
}

// Moved to a monitor of 192 pixels per inch, a dialog designed at 96 is laid out again with its
// font made anew, and keeps the client area of its layout at the place the system suggests.
TEST_F(FormFocusTest, ShownDialogMovedToAMonitorOfAnotherScaleIsLaidOutAgain) {
  TForm form;
  form.SetBorderStyle(TBorderStyle::Dialog);
  form.SetScaledFont({"MS Sans Serif", -11, clWindowText});
  auto* ok = form.Create<TButton>(&form);
  form.PlaceScaled(*ok, 20, 30, 75, 25);
  form.SetScaledClientSize(300, 200);
  form.Bind();
  form.Show();
  RECT suggested{40, 50, 700, 600}, frame{}, client{};
  SendMessageA(HandleOf(form), kWmDpiChanged, MAKEWPARAM(192, 192),
               reinterpret_cast<LPARAM>(&suggested));
  const RECT placed = RectInParent(HandleOf(*ok));
  EXPECT_EQ(std::vector<LONG>({placed.left, placed.top, placed.right, placed.bottom}),
            std::vector<LONG>({40, 60, 190, 110}));
  LOGFONTA made{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(HandleOf(*ok), WM_GETFONT, 0, 0)), sizeof made,
             &made);
  GetWindowRect(HandleOf(form), &frame);
  GetClientRect(HandleOf(form), &client);
  EXPECT_EQ(std::vector<LONG>({made.lfHeight, frame.left, frame.top, client.right, client.bottom}),
            std::vector<LONG>({-22, 40, 50, 600, 400}));
}

}  // namespace
}  // namespace foyer::test
