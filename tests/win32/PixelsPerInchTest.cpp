// A shown window moved to a monitor of other pixels per inch lays itself out again.
#include "platform/win32/WinApi.h"

#include <gtest/gtest.h>

#include "toolkit/Form.h"
#include "toolkit/win32/PixelsPerInch.h"
#include "toolkit/win32/Win32Backend.h"
#include "win32/BackendBed.h"

namespace foyer::test {
namespace {

class PixelsPerInchTest : public Win32BackendTest {};

int FontHeightOf(HWND window) {
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

TEST_F(PixelsPerInchTest, ShownWindowMovedToAnotherScaleIsLaidOutAgainInTheSuggestedFrame) {
  struct Case {
    TBorderStyle Border;
    int PixelsPerInch;
    RECT Suggested;
    RECT Button;  // designed 20, 30, 75 x 25 at 96
    int Font;     // designed -11
  };
  const Case cases[] = {
      {TBorderStyle::Sizeable, 144, {40, 50, 700, 600}, {30, 45, 142, 82}, -16},
      {TBorderStyle::Dialog, 192, {60, 70, 900, 800}, {40, 60, 190, 110}, -22},
      {TBorderStyle::Sizeable, 120, {10, 20, 520, 460}, {25, 37, 118, 68}, -13},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.PixelsPerInch);
    TForm form;
    form.SetName("MovedProbe");
    form.SetBorderStyle(c.Border);
    form.SetScaledFont({"MS Sans Serif", -11, clWindowText});
    auto* button = form.Create<TButton>(&form);
    button->SetCaption("OK");
    form.PlaceScaled(*button, 20, 30, 75, 25);
    form.SetScaledClientSize(300, 200);
    form.Bind();
    form.Show();
    const HWND window = HandleOf(form);
    ASSERT_EQ(form.PixelsPerInch(), 96) << "the test-bed runs at 96 pixels per inch";
    RECT suggested = c.Suggested;
    SendMessageA(window, kWmDpiChanged, MAKEWPARAM(c.PixelsPerInch, c.PixelsPerInch),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form.PixelsPerInch(), c.PixelsPerInch);
    const RECT placed = RectInParent(HandleOf(*button));
    EXPECT_TRUE(EqualRect(&placed, &c.Button))
        << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
    EXPECT_EQ(FontHeightOf(HandleOf(*button)), c.Font);
    RECT frame{};
    GetWindowRect(window, &frame);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(frame.left, c.Suggested.left);
    EXPECT_EQ(frame.top, c.Suggested.top);
    if (c.Border == TBorderStyle::Sizeable) {
      // The system's frame, whatever the client area inside it.
      EXPECT_TRUE(EqualRect(&frame, &c.Suggested));
      EXPECT_EQ(form.ClientWidth(), client.right);
    } else {
      // A window of fixed size keeps the client area its layout gives it.
      EXPECT_EQ(client.right, 300 * c.PixelsPerInch / 96);
      EXPECT_EQ(client.bottom, 200 * c.PixelsPerInch / 96);
    }
  }
}

}  // namespace
}  // namespace foyer::test
