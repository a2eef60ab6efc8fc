// The text and picture viewers: loading, captions, layout and where they open.
#include <gtest/gtest.h>

#include "Fixtures.h"
#include "toolkit/Application.h"
#include "toolkit/Headless.h"
#include "viewers/ShowBmp.h"
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

TEST_F(ViewersTest, PictureViewerFitsThePictureAndCentresEveryTime) {
  Application().CreateForm(ShowBmpForm);
  FPlatform.Fs.WriteFile("D:\\pic.BMP", test::SolidBmp(300, 200, 0xFF0000));
  ShowBmpForm->ShowFile("D:\\pic.BMP");
  EXPECT_EQ(FShown.back(), "pic.BMP");
  EXPECT_EQ(ShowBmpForm->ClientWidth(), 300);
  EXPECT_EQ(ShowBmpForm->Pic->BoundsRect(), (TRect{0, 0, 300, 200}));
  EXPECT_EQ(FPositions.back(), (TPoint{362, 284}));

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
