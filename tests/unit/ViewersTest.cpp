// The text, rich-text and picture viewers: loading, captions, layout and where they open.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "toolkit/Accessible.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "viewers/RichTextStream.h"
#include "viewers/ShowBmp.h"
#include "viewers/ShowRtf.h"
#include "viewers/ShowTxt.h"

namespace foyer {
namespace {

class ViewersTest : public ::testing::Test {
 protected:
  ViewersTest() {
    FPlatform.Fs.AddDrive('D');
    FPlatform.Display.SetPixelsPerInch(120);
    FPlatform.Display.SetScreenSize(1024, 768);
    Headless().Errors.clear();
    Headless().ModalHook = [this](TForm& form) {
      FShown.push_back(form.Caption());
      FPositions.push_back({form.Left(), form.Top()});
      if (&form == ShowRtfForm) FHeld.push_back(ShowRtfForm->Memo1->HeadlessText());
      if (FWhileShown) FWhileShown();
      return static_cast<int32_t>(mrOk);
    };
  }
  ~ViewersTest() override {
    Headless().ModalHook = nullptr;
    Application().DestroyForms();
  }

  MemoryPlatform FPlatform;
  ScopedPlatform FScoped{FPlatform.Get()};
  std::vector<std::string> FShown;
  std::vector<TPoint> FPositions;
  // What the rich-text viewer's control held while it was shown.
  std::vector<std::string> FHeld;
  // The user's part while a viewer is shown.
  std::function<void()> FWhileShown;
};

TEST_F(ViewersTest, TextViewerShowsTheLinesUnderTheFilesName) {
  Application().CreateForm(ShowTxtForm);
  FPlatform.Fs.WriteFile("D:\\Extras\\Tools\\notes.txt", "one\r\ntwo\nthree\x1Agone");
  ShowTxtForm->ShowFile("D:\\Extras\\Tools\\notes.txt");
  EXPECT_EQ(FShown, std::vector<std::string>{"notes.txt"});
  EXPECT_EQ(ShowTxtForm->Memo1->Lines(), (std::vector<std::string>{"one", "two", "three"}));

  FPlatform.Fs.WriteFile("D:\\empty.txt", "");
  ShowTxtForm->ShowFile("D:\\empty.txt");
  EXPECT_EQ(ShowTxtForm->Memo1->Text(), "");
  EXPECT_EQ(FShown.back(), "empty.txt");

  FPlatform.Fs.WriteFile("D:\\two.txt", "a\r\n\r\n");
  ShowTxtForm->ShowFile("D:\\two.txt");
  EXPECT_EQ(ShowTxtForm->Memo1->Lines(), (std::vector<std::string>{"a", ""}));
}

TEST_F(ViewersTest, TextViewerFailuresLeaveTheWindowUnshown) {
  Application().CreateForm(ShowTxtForm);
  FPlatform.Fs.WriteFile("D:\\good.txt", "kept");
  ShowTxtForm->ShowFile("D:\\good.txt");
  Application().Dispatch([] { ShowTxtForm->ShowFile("D:\\missing.txt"); });
  EXPECT_EQ(Headless().Errors, std::vector<std::string>{"File not found."});
  EXPECT_EQ(ShowTxtForm->Memo1->Text(), "kept");
  EXPECT_EQ(ShowTxtForm->Caption(), "missing.txt");  // set before the file is opened
  EXPECT_EQ(FShown.size(), 1u);

  // A read that fails part-way keeps the lines read so far.
  FPlatform.Fs.WriteFile("D:\\broken.txt", "first\r\n" + std::string(70000, 'x'));
  FPlatform.Fs.SetReadFault("D:\\broken.txt", 23, 65536);
  Application().Dispatch([] { ShowTxtForm->ShowFile("D:\\broken.txt"); });
  EXPECT_EQ(Headless().Errors.back(), "I/O error 23.");
  EXPECT_EQ(ShowTxtForm->Memo1->Lines().front(), "first");
  EXPECT_EQ(FShown.size(), 1u);
}

TEST_F(ViewersTest, TextViewerLayoutKeepsTheButtonInTheCornerAtEverySize) {
  Application().CreateForm(ShowTxtForm);
  EXPECT_EQ(ShowTxtForm->ClientWidth(), 607);
  EXPECT_EQ(ShowTxtForm->ClientHeight(), 471);
  EXPECT_EQ(ShowTxtForm->Memo1->BoundsRect(), (TRect{8, 8, 8 + 519, 8 + 455}));
  EXPECT_EQ(ShowTxtForm->Button1->BoundsRect(), (TRect{535, 439, 599, 463}));
  ShowTxtForm->SetClientSize(300, 200);
  EXPECT_EQ(ShowTxtForm->Memo1->BoundsRect(), (TRect{8, 8, 220, 192}));
  EXPECT_EQ(ShowTxtForm->Button1->BoundsRect(), (TRect{228, 168, 292, 192}));
  EXPECT_TRUE(ShowTxtForm->Button1->IsCancel());
  EXPECT_EQ(ShowTxtForm->Button1->Caption(), "OK");
  EXPECT_TRUE(ShowTxtForm->Memo1->ReadOnly());
  EXPECT_FALSE(ShowTxtForm->Memo1->TabStop());
  EXPECT_EQ(ShowTxtForm->ActiveControl(), ShowTxtForm->Button1) << "the button has the focus";
}

TEST_F(ViewersTest, TextViewerScalesItsDesignToTheScreen) {
  FPlatform.Display.SetPixelsPerInch(96);
  Application().CreateForm(ShowTxtForm);
  EXPECT_EQ(ShowTxtForm->ClientWidth(), 607 * 96 / 120);
  EXPECT_EQ(ShowTxtForm->Font().Height, -11);
  EXPECT_EQ(ShowTxtForm->Button1->Width(), 51);
}

TEST_F(ViewersTest, ViewersOpenCentredTheFirstTimeAndWhereTheyWereLeftAfter) {
  Application().CreateForm(ShowTxtForm);
  FPlatform.Fs.WriteFile("D:\\a.txt", "a");
  ShowTxtForm->ShowFile("D:\\a.txt");
  EXPECT_EQ(FPositions.back(), (TPoint{(1024 - 607) / 2, (768 - 471) / 2}));
  ShowTxtForm->SetBounds(5, 6, ShowTxtForm->Width(), ShowTxtForm->Height());
  ShowTxtForm->ShowFile("D:\\a.txt");
  EXPECT_EQ(FPositions.back(), (TPoint{5, 6}));
}

TEST_F(ViewersTest, RichTextViewerOffersRichTextFirstThenPlainTextWithEveryLineBreakAsCrLf) {
  Application().CreateForm(ShowRtfForm);
  // The reader refills every 64 KB: a CR LF split across two reads is still one line break.
  const std::string split = std::string(65535, 'x') + "\r\ny";
  const struct {
    const char* Name;
    std::string Bytes;
    std::string Held;
  } cases[] = {
      {"doc.rtf", "{\\rtf1 one\ntwo\r}", "{\\rtf1 one\r\ntwo\r\n}"},
      {"notes.txt", "one\ntwo\rthree\r\n\n", "one\r\ntwo\r\nthree\r\n\r\n"},
      {"rtf.rtf", "not rich", "not rich"},
      {"split.doc", split, split},
      {"empty.rtf", "", ""},
  };
  for (const auto& c : cases) {
    FPlatform.Fs.WriteFile(std::string("D:\\Extras\\") + c.Name, c.Bytes);
    ShowRtfForm->ShowFile(std::string("D:\\Extras\\") + c.Name);
    EXPECT_EQ(FShown.back(), c.Name);
    EXPECT_EQ(FHeld.back(), c.Held) << c.Name;
    EXPECT_EQ(ShowRtfForm->Memo1->HeadlessText(), "") << "the document is kept after closing";
  }
  EXPECT_EQ(FShown.size(), std::size(cases));
  EXPECT_TRUE(Headless().Errors.empty());
}

// With UTF-8 strings the control reads 8-bit text as UTF-8: plain text comes decoded, and rich
// text is told the legacy code page that a document naming none was written in.
TEST_F(ViewersTest, RichTextViewerDecodesPlainTextAndNamesTheLegacyCodePageOfRichText) {
  FPlatform.CodePage.SetUtf8(true);
  Application().CreateForm(ShowRtfForm);
  const struct {
    const char* Name;
    std::string Bytes;
    std::string Held;
  } cases[] = {
      {"utf16.txt", std::string("\xFF\xFEh\0\xE9\0\n\0", 8), "h\xC3\xA9\r\n"},
      {"legacy.txt", "caf\xE9\n\x80", "caf\xC3\xA9\r\n\xE2\x82\xAC"},
      {"doc.rtf", "{\\rtf1\\ansi caf\xE9}", "{\\rtf1\\ansicpg1252\\ansi\\ansicpg1252 caf\xE9}"},
      {"own.rtf", "{\\rtf1\\ansicpg1251 \xE9}", "{\\rtf1\\ansicpg1252\\ansicpg1251 \xE9}"},
      {"bare.rtf", "{\\rtf\nx}", "{\\rtf\\ansicpg1252\r\nx}"},
  };
  for (const auto& c : cases) {
    FPlatform.Fs.WriteFile(std::string("D:\\") + c.Name, c.Bytes);
    ShowRtfForm->ShowFile(std::string("D:\\") + c.Name);
    EXPECT_EQ(FHeld.back(), c.Held) << c.Name;
  }
}

TEST_F(ViewersTest, RichTextViewerFailuresLeaveTheWindowUnshown) {
  Application().CreateForm(ShowRtfForm);
  FPlatform.Fs.WriteFile("D:\\good.rtf", "{\\rtf1 kept}");
  ShowRtfForm->ShowFile("D:\\good.rtf");
  Application().Dispatch([] { ShowRtfForm->ShowFile("D:\\Docs\\missing.rtf"); });
  EXPECT_EQ(ShowRtfForm->Caption(), "missing.rtf");  // set before the file is opened
  // Bytes that fail to read in both passes.
  FPlatform.Fs.WriteFile("D:\\broken.rtf", "{\\rtf1 " + std::string(70000, 'x') + "}");
  FPlatform.Fs.SetReadFault("D:\\broken.rtf", 23, 65536);
  Application().Dispatch([] { ShowRtfForm->ShowFile("D:\\broken.rtf"); });
  EXPECT_EQ(Headless().Errors, (std::vector<std::string>{"Cannot open file D:\\Docs\\missing.rtf.",
                                                         "Failed to Load Stream."}));
  EXPECT_EQ(FShown.size(), 1u);
}

TEST_F(ViewersTest, RichTextViewerCopyIsEnabledOnlyForASelectionAndSelectAllTakesTheWholeText) {
  Application().CreateForm(ShowRtfForm);
  TShowRtfForm& form = *ShowRtfForm;
  EXPECT_FALSE(form.Copy1->Enabled()) << "disabled from creation";
  const std::vector<std::string> captions{form.PopupMenu1->Items()[0]->Caption(),
                                          form.PopupMenu1->Items()[1]->Caption()};
  EXPECT_EQ(captions, (std::vector<std::string>{"Copy", "Select all"}));
  EXPECT_EQ(form.Memo1->PopupMenu(), form.PopupMenu1);

  FPlatform.Fs.WriteFile("D:\\a.txt", "first\nsecond");
  FWhileShown = [&form] {
    form.Selectall1->Click();
    EXPECT_EQ(form.Memo1->SelStart(), 0);
    EXPECT_EQ(form.Memo1->SelLength(), 13);
    EXPECT_TRUE(form.Copy1->Enabled());
    form.Copy1->Click();
    EXPECT_EQ(form.Memo1->HeadlessClipboard(), "first\r\nsecond");
    // A selection from the middle runs at most to the end of the text.
    form.Memo1->SetSelStart(7);
    form.Memo1->SetSelLength(2147483647);
    EXPECT_EQ(form.Memo1->SelLength(), 6);
  };
  form.ShowFile("D:\\a.txt");
  EXPECT_FALSE(form.Copy1->Enabled()) << "nothing is selected once the document is gone";

  // In an empty document Select all selects nothing.
  FPlatform.Fs.WriteFile("D:\\empty.rtf", "");
  FWhileShown = [&form] {
    EXPECT_FALSE(form.Copy1->Enabled());
    form.Selectall1->Click();
    EXPECT_EQ(form.Memo1->SelLength(), 0);
    EXPECT_FALSE(form.Copy1->Enabled());
    form.Copy1->Click();
    EXPECT_EQ(form.Memo1->HeadlessClipboard(), "first\r\nsecond") << "a disabled item does nothing";
  };
  form.ShowFile("D:\\empty.rtf");
  EXPECT_EQ(FHeld.size(), 2u);
}

TEST_F(ViewersTest,
       RichTextViewerOpensAtItsDesignedPlaceThenWhereItWasLeftWithTheButtonInTheCorner) {
  Application().CreateForm(ShowRtfForm);
  TShowRtfForm& form = *ShowRtfForm;
  EXPECT_EQ(form.BoundsRect(), (TRect{280, 143, 280 + 573, 143 + 449}));
  form.BackendClientResized(300, 200);
  EXPECT_EQ(form.Memo1->BoundsRect(), (TRect{8, 8, 220, 192}));
  EXPECT_EQ(form.Button1->BoundsRect(), (TRect{228, 168, 292, 192}));
  EXPECT_TRUE(form.Button1->IsCancel());
  EXPECT_EQ(form.Button1->Caption(), "OK");
  FPlatform.Fs.WriteFile("D:\\a.rtf", "{\\rtf1 a}");
  form.ShowFile("D:\\a.rtf");
  EXPECT_EQ(FPositions.back(), (TPoint{280, 143}));
  form.SetBounds(5, 6, form.Width(), form.Height());
  form.ShowFile("D:\\a.rtf");
  EXPECT_EQ(FPositions.back(), (TPoint{5, 6}));
  // OK closes the viewer.
  Headless().ModalHook = [](TForm& shown) {
    static_cast<TShowRtfForm&>(shown).Button1->Click();
    return shown.ModalResult();
  };
  form.ShowFile("D:\\a.rtf");
  EXPECT_NE(form.ModalResult(), mrNone);
}

// The control is never handed a group deeper than it reads; escaped braces are no groups, but
// the control reads braces in \bin data as groups.
TEST_F(ViewersTest, RichTextStreamStopsBeforeTheFirstGroupTooDeepForTheControl) {
  using TStop = TRichTextStream::TStop;
  const struct {
    std::string Bytes;
    int32_t MaxDepth;
    TStreamFormat Format;
    TStop Stop;
    size_t Handed;  // bytes before the stop; a read that stops hands on none of its bytes
  } cases[] = {
      {"{\\rtf1 {{x}}}", 3, TStreamFormat::RichText, TStop::None, 13},
      {"{\\rtf1 {{x}}}", 2, TStreamFormat::RichText, TStop::TooDeep, 6},
      {"{\\rtf1 \\{\\{\\{ \\}}", 1, TStreamFormat::RichText, TStop::None, 17},
      {"{\\rtf1 \\\\{x}}", 1, TStreamFormat::RichText, TStop::TooDeep, 9},
      {"{\\rtf1 \\bin3 {{{}", 1, TStreamFormat::RichText, TStop::TooDeep, 12},
      {"}}}{{x}}", 2, TStreamFormat::RichText, TStop::None, 8},
      {"}}}{{x}}", 1, TStreamFormat::RichText, TStop::TooDeep, 3},
      {"{{{{x}}}}", 1, TStreamFormat::PlainText, TStop::None, 9},
      {"{{{{x}}}}", 0, TStreamFormat::RichText, TStop::None, 9},
  };
  for (const auto& c : cases) {
    FPlatform.Fs.WriteFile("D:\\doc.rtf", c.Bytes);
    uint32_t error = kErrNone;
    const auto file = FPlatform.Fs.OpenRead("D:\\doc.rtf", error);
    TRichTextStream stream(*file, c.Format, c.MaxDepth, nullptr);
    // Three bytes at a time: a word, a number or a CR LF split between two reads.
    std::string handed;
    char buffer[3];
    size_t got = 0;
    while (stream.Read(buffer, sizeof buffer, got) && got > 0)
      handed.append(buffer, got);
    EXPECT_EQ(stream.Stopped(), c.Stop) << c.Bytes;
    EXPECT_EQ(handed.size(), c.Handed) << c.Bytes;
  }
}

// Too deep is shown as the plain text it is; too large for the memory left is refused with a
// message, before the control takes it, and the viewer goes on with the next document.
TEST_F(ViewersTest, RichTextViewerShowsTooDeepAsPlainTextAndRefusesTooLarge) {
  Application().CreateForm(ShowRtfForm);
  ShowRtfForm->Memo1->SetHeadlessMaxGroupDepth(32);
  ShowRtfForm->Memo1->SetMemoryLimit(100);
  const std::string deep = "{\\rtf1 " + std::string(40, '{') + "deep" + std::string(41, '}');
  FPlatform.Fs.WriteFile("D:\\deep.rtf", deep);
  FPlatform.Fs.WriteFile("D:\\large.rtf", "{\\rtf1 " + std::string(100, 'x') + "}");
  ShowRtfForm->ShowFile("D:\\deep.rtf");
  Application().Dispatch([] { ShowRtfForm->ShowFile("D:\\large.rtf"); });
  ShowRtfForm->ShowFile("D:\\deep.rtf");
  EXPECT_EQ(FHeld, (std::vector<std::string>{deep, deep}));
  EXPECT_EQ(Headless().Errors, std::vector<std::string>{"The document is too large to show."});
  EXPECT_EQ(ShowRtfForm->ActiveControl(), ShowRtfForm->Memo1) << "the document has the focus";
}

TEST_F(ViewersTest, PictureViewerFitsThePictureAndCentresEveryTime) {
  Application().CreateForm(ShowBmpForm);
  FPlatform.Fs.WriteFile("D:\\pic.BMP", test::SolidBmp(300, 200, 0xFF0000));
  ShowBmpForm->ShowFile("D:\\pic.BMP");
  EXPECT_EQ(FShown.back(), "pic.BMP");
  EXPECT_EQ(ShowBmpForm->ClientWidth(), 300);
  EXPECT_EQ(ShowBmpForm->Pic->BoundsRect(), (TRect{0, 0, 300, 200}));
  EXPECT_EQ(FPositions.back(), (TPoint{362, 284}));
  EXPECT_EQ(DescribeAccessible(*ShowBmpForm->Pic).Name, "pic.BMP") << "what a reader says of it";

  // Wider than the screen: the first showing clamps to the edge, later ones overhang evenly.
  Application().DestroyForms();
  Application().CreateForm(ShowBmpForm);
  FPlatform.Fs.WriteFile("D:\\wide.bmp", test::SolidBmp(1100, 100, 0x00FF00));
  ShowBmpForm->ShowFile("D:\\wide.bmp");
  EXPECT_EQ(FPositions.back().X, 0);
  ShowBmpForm->ShowFile("D:\\wide.bmp");
  EXPECT_EQ(FPositions.back().X, -38);

  // A failed load keeps picture, caption and size.
  FPlatform.Fs.WriteFile("D:\\bad.bmp", "XX" + std::string(20, '\0'));
  Application().Dispatch([] { ShowBmpForm->ShowFile("D:\\bad.bmp"); });
  Application().Dispatch([] { ShowBmpForm->ShowFile("D:\\pic.gif"); });
  EXPECT_EQ(Headless().Errors,
            (std::vector<std::string>{"Bitmap image is not valid.",
                                      "Unknown picture file extension (.gif)."}));
  EXPECT_EQ(ShowBmpForm->Caption(), "wide.bmp");
  EXPECT_EQ(ShowBmpForm->ClientWidth(), 1100);
}

TEST_F(ViewersTest, PictureViewerClosesOnAClickAndAnyCloseEndsWithCancel) {
  Application().CreateForm(ShowBmpForm);
  FPlatform.Fs.WriteFile("D:\\pic.bmp", test::SolidBmp(30, 20, 0xFF0000));
  Headless().ModalHook = [](TForm&) {
    ShowBmpForm->Pic->Click();
    return ShowBmpForm->ModalResult();
  };
  ShowBmpForm->ShowFile("D:\\pic.bmp");
  EXPECT_EQ(ShowBmpForm->ModalResult(), mrCancel);
  bool canClose = false;
  ShowBmpForm->SetModalResult(mrOk);
  ShowBmpForm->OnCloseQuery(ShowBmpForm, canClose);
  EXPECT_TRUE(canClose);
  EXPECT_EQ(ShowBmpForm->ModalResult(), mrCancel);
}

}  // namespace
}  // namespace foyer
