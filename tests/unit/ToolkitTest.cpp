// Components headless: captions, sizing, hit testing, lists, timers, modal showing, errors.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"

namespace foyer {
namespace {

class ToolkitTest : public ::testing::Test {
 protected:
  ToolkitTest() {
    FPlatform.Fs.AddDrive('C');
    Headless().Errors.clear();
    Headless().UnansweredModals.clear();
    Headless().ModalHook = nullptr;
    Application().SetTitle("Foyer");
  }
  ~ToolkitTest() override {
    Headless().ModalHook = nullptr;
    Application().DestroyForms();
  }
  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
};

TEST(ParseCaption, AmpersandUnderlinesTheNextCharacterAndTwoShowOne) {
  EXPECT_EQ(ParseCaption("&Quit").Text, "Quit");
  EXPECT_EQ(ParseCaption("&Quit").UnderlineIndex, 0);
  EXPECT_EQ(ParseCaption("Tips && &Tricks").Text, "Tips & Tricks");
  EXPECT_EQ(ParseCaption("Tips && &Tricks").UnderlineIndex, 7);
  EXPECT_EQ(ParseCaption("A&&B").UnderlineIndex, -1);
  EXPECT_EQ(ParseCaption("Trailing&").Text, "Trailing");
  EXPECT_EQ(ParseCaption("").Text, "");
}

TEST_F(ToolkitTest, LabelSizesItselfToItsShownCaption) {
  TForm form;
  TLabel* label = form.Create<TLabel>(&form);
  label->SetCaption("&Quit");
  EXPECT_EQ(label->Width(), 4 * HeadlessBackend::kCharWidth);
  EXPECT_EQ(label->Height(), HeadlessBackend::kLineHeight);
  label->SetCaption("");  // an empty caption keeps the height of one space
  EXPECT_EQ(label->Width(), HeadlessBackend::kCharWidth);
  label->SetAutoSize(false);
  label->SetCaption("A much longer caption");
  EXPECT_EQ(label->Width(), HeadlessBackend::kCharWidth);
}

TEST_F(ToolkitTest, ClickGoesToTheTopmostVisibleEnabledGraphicControl) {
  TForm form;
  form.SetClientSize(200, 100);
  TImage* picture = form.Create<TImage>(&form);
  picture->SetBounds(10, 10, 100, 40);
  TLabel* label = form.Create<TLabel>(&form);
  label->SetCaption("Go");
  label->SetBounds(20, 20, 12, 13);
  TPanel* panel = form.Create<TPanel>(&form);
  panel->SetBounds(150, 0, 50, 50);

  EXPECT_EQ(form.ControlAt({25, 25}), label);
  EXPECT_EQ(form.ControlAt({90, 45}), picture);
  EXPECT_EQ(form.ControlAt({160, 10}), nullptr);  // windowed controls take their own clicks
  label->SetEnabled(false);
  EXPECT_EQ(form.ControlAt({25, 25}), picture);
  picture->Hide();
  EXPECT_EQ(form.ControlAt({90, 45}), nullptr);
  EXPECT_EQ(form.ControlAt({110, 10}), nullptr);  // right and bottom edges are outside
}

TEST_F(ToolkitTest, WindowedChildrenLieAboveGraphicOnesWhateverTheCreationOrder) {
  TForm form;
  TPanel* panel = form.Create<TPanel>(&form);
  TImage* picture = form.Create<TImage>(&form);
  TLabel* label = form.Create<TLabel>(&form);
  const std::vector<TControl*> expected = {picture, label, panel};
  EXPECT_EQ(form.Controls(), expected);
}

TEST_F(ToolkitTest, PanelPlacesItsListInsideBorderAndBothBevels) {
  TForm form;
  TPanel* panel = form.Create<TPanel>(&form);
  panel->SetBounds(128, 120, 393, 313);
  panel->SetBevels(TBevelCut::Lowered, TBevelCut::Raised, 5);
  panel->SetBorder(true);
  TListBox* list = form.Create<TListBox>(panel);
  panel->AlignClient(*list);
  EXPECT_EQ(list->BoundsRect(), (TRect{11, 11, 382, 302}));
  panel->SetWidth(380);
  EXPECT_EQ(list->Width(), 358);
  panel->SetWidth(10);  // too narrow for its frame: the list collapses, never negative
  EXPECT_EQ(list->Width(), 0);
}

TEST_F(ToolkitTest, ListSelectionFromCodeIsSilentAndFromTheUserRaisesClick) {
  TForm form;
  TListBox* list = form.Create<TListBox>(&form);
  int clicks = 0;
  list->OnClick = [&](TComponent*) { ++clicks; };
  list->SetItemIndex(0);
  EXPECT_EQ(list->ItemIndex(), -1);  // nothing to select in an empty list
  EXPECT_EQ(list->AddRow("first"), 0);
  EXPECT_EQ(list->AddRow("second"), 1);
  list->SetItemIndex(1);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(clicks, 0);
  list->UserSelect(0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list->ItemIndex(), 0);
  list->SetRow(1, "changed");
  EXPECT_EQ(list->Row(1), "changed");
  EXPECT_THROW(list->Row(2), ERangeError);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ToolkitTest, PictureSizesItselfOnlyToANonEmptyPicture) {
  FPlatform.Fs.WriteFile("C:\\butt.bmp", test::SolidBmp(105, 41, 0x808080));
  FPlatform.Fs.WriteFile("C:\\empty.bmp", "");
  TForm form;
  TImage* picture = form.Create<TImage>(&form);
  picture->SetBounds(8, 392, 30, 30);
  picture->SetAutoSize(true);
  picture->LoadFromFile("C:\\butt.bmp");
  EXPECT_EQ(picture->BoundsRect(), (TRect{8, 392, 113, 433}));
  picture->LoadFromFile("C:\\empty.bmp");
  EXPECT_TRUE(picture->GetPicture()->IsEmpty());
  EXPECT_EQ(picture->Width(), 105);
  // A failed load keeps the previous picture.
  TImage* other = form.Create<TImage>(&form);
  other->LoadFromFile("C:\\butt.bmp");
  EXPECT_THROW(other->LoadFromFile("C:\\missing.bmp"), EFOpenError);
  EXPECT_EQ(other->GetPicture()->Width, 105);
  // Copies share the picture.
  picture->AssignPicture(*other);
  EXPECT_EQ(picture->GetPicture(), other->GetPicture());
}

TEST_F(ToolkitTest, TimerRunsOnlyWhileEnabled) {
  TTimer timer;
  int fired = 0;
  timer.OnTimer = [&](TComponent*) { ++fired; };
  timer.SetEnabled(false);
  timer.SetInterval(500);
  EXPECT_TRUE(Headless().RunningTimers.empty());
  Headless().FireTimer(timer);
  EXPECT_EQ(fired, 0);
  timer.SetEnabled(true);
  ASSERT_EQ(Headless().RunningTimers.size(), 1u);
  Headless().FireTimer(timer);
  EXPECT_EQ(fired, 1);
  timer.SetEnabled(false);
  EXPECT_TRUE(Headless().RunningTimers.empty());
}

TEST_F(ToolkitTest, AnErrorInAHandlerReachesTheDefaultHandlerWithAFullStop) {
  Application().Dispatch([] { throw EInOutError(2); });
  Application().Dispatch([] { throw std::bad_alloc(); });
  const std::vector<std::string> expected = {"File not found.", "Out of memory."};
  EXPECT_EQ(Headless().Errors, expected);
  EXPECT_EQ(Headless().LastErrorTitle, "Foyer");
}

TEST_F(ToolkitTest, ModalShowingRunsOnShowAndReturnsTheAnswer) {
  TForm form;
  int shown = 0;
  form.OnShow = [&](TComponent*) { ++shown; };
  Headless().ModalHook = [](TForm& modal) {
    EXPECT_TRUE(modal.IsShowingModal());
    EXPECT_TRUE(modal.Visible());
    return static_cast<int32_t>(mrOk);
  };
  EXPECT_EQ(form.ShowModal(), mrOk);
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.IsShowingModal());
  Headless().ModalHook = nullptr;
  EXPECT_EQ(form.ShowModal(), mrCancel);
  ASSERT_EQ(Headless().UnansweredModals.size(), 1u);
}

TEST_F(ToolkitTest, CloseQueryCanKeepAModalFormOpen) {
  TForm form;
  bool allow = false;
  form.OnCloseQuery = [&](TComponent*, bool& canClose) { canClose = allow; };
  form.BeginModal();
  form.Close();
  EXPECT_EQ(form.ModalResult(), mrNone);
  allow = true;
  form.Close();
  EXPECT_EQ(form.ModalResult(), mrCancel);
  form.EndModal();
}

TEST_F(ToolkitTest, DialogKeysPressTheCancelAndDefaultButtonsTheUserCanReach) {
  TForm form;
  TPanel* panel = form.Create<TPanel>(&form);
  TButton* hiddenCancel = form.Create<TButton>(&form);
  hiddenCancel->SetCancel(true);
  hiddenCancel->Hide();
  TButton* cancel = form.Create<TButton>(panel);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  TButton* ok = form.Create<TButton>(&form);
  ok->SetDefault(true);
  ok->SetModalResult(mrOk);
  int cancelClicks = 0;
  int hiddenClicks = 0;
  cancel->OnClick = [&](TComponent*) { ++cancelClicks; };
  hiddenCancel->OnClick = [&](TComponent*) { ++hiddenClicks; };

  EXPECT_TRUE(form.PressDialogKey(TDialogKey::Escape));
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(hiddenClicks, 0);
  EXPECT_EQ(form.ModalResult(), mrCancel);
  EXPECT_TRUE(form.PressDialogKey(TDialogKey::Enter));
  EXPECT_EQ(form.ModalResult(), mrOk);

  // A button on a disabled panel is out of reach like a disabled button.
  panel->SetEnabled(false);
  EXPECT_FALSE(form.PressDialogKey(TDialogKey::Escape));
  EXPECT_EQ(cancelClicks, 1);
  ok->SetEnabled(false);
  EXPECT_FALSE(form.PressDialogKey(TDialogKey::Enter));
}

TEST_F(ToolkitTest, OnlyFormsHoldingAButtonAnswerDialogKeys) {
  TForm plain;
  plain.Create<TListBox>(&plain);
  EXPECT_FALSE(plain.HasButtons());
  EXPECT_FALSE(plain.PressDialogKey(TDialogKey::Escape));
  TForm dialog;
  TPanel* panel = dialog.Create<TPanel>(&dialog);
  dialog.Create<TButton>(panel);
  EXPECT_TRUE(dialog.HasButtons());
  EXPECT_FALSE(dialog.PressDialogKey(TDialogKey::Enter)) << "no button is the default one";
}

TEST_F(ToolkitTest, ActiveControlMustLieOnTheFormAndIsForgottenWhenDestroyed) {
  TForm form;
  TForm other;
  TButton* foreign = other.Create<TButton>(&other);
  EXPECT_THROW(form.SetActiveControl(foreign), Exception);
  EXPECT_EQ(form.ActiveControl(), nullptr);
  TPanel* panel = form.Create<TPanel>(&form);
  {
    TButton inner(panel);
    form.SetActiveControl(&inner);
    EXPECT_EQ(form.ActiveControl(), &inner);
  }
  EXPECT_EQ(form.ActiveControl(), nullptr) << "the form kept a destroyed control";
  form.SetActiveControl(panel);
  form.SetActiveControl(nullptr);
  EXPECT_EQ(form.ActiveControl(), nullptr);
}

}  // namespace
}  // namespace foyer
