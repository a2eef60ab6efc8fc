// Every window at 96, 120, 144 and 192 pixels per inch: made there, and moved there when shown.
#include <gtest/gtest.h>

#include "dialogs/CopyFail.h"
#include "dialogs/CopyProgress.h"
#include "dialogs/OpenDir.h"
#include "platform/memory/MemoryPlatform.h"
#include "viewers/ShowTxt.h"

namespace foyer {
namespace {

// Lengths designed at 96 (the text viewer's at 120), scaled and truncated toward zero.
struct DialogRow {
  int32_t PixelsPerInch;
  TSize OpenDir;
  TRect OpenDirOK;
  int32_t FolderRow;
  int32_t Font;
  TSize CopyFail;
  TSize Progress;
  TSize Text;
  TRect TextOK;
  int32_t TextFont;
};

constexpr DialogRow kDialogRows[] = {
    {96, {479, 255}, {396, 8, 471, 33}, 16, -11, {298, 129}, {360, 117}, {485, 376},
     {428, 351, 479, 370}, -11},
    {120, {598, 318}, {495, 10, 588, 41}, 20, -13, {372, 161}, {450, 146}, {607, 471},
     {535, 439, 599, 463}, -14},
    {144, {718, 382}, {594, 12, 706, 49}, 24, -16, {447, 193}, {540, 175}, {728, 565},
     {642, 527, 718, 555}, -16},
    {192, {958, 510}, {792, 16, 942, 66}, 32, -22, {596, 258}, {720, 234}, {971, 753},
     {856, 702, 958, 740}, -22},
};

TSize ClientOf(const TForm& form) { return {form.ClientWidth(), form.ClientHeight()}; }

TEST(Scale, DialogsAndViewersAreLaidOutAtTheirWindowsPixelsPerInch) {
  MemoryPlatform platform;
  ScopedPlatform scoped{platform.Get()};
  for (const DialogRow& row : kDialogRows) {
    for (const bool moved : {false, true}) {
      SCOPED_TRACE(std::to_string(row.PixelsPerInch) + (moved ? " moved" : " made"));
      // Made at the screen's resolution, or made at 96 and moved to a monitor of the row's.
      platform.Display.SetPixelsPerInch(moved ? 96 : row.PixelsPerInch);
      TOpenDirDialog openDir;
      TCopyFailBox copyFail;
      TCopyProgressForm progress;
      TShowTxtForm text;
      for (TForm* form : std::initializer_list<TForm*>{&openDir, &copyFail, &progress, &text}) {
        form->Show();
        if (moved) form->BackendPixelsPerInchChanged(row.PixelsPerInch);
        EXPECT_EQ(form->PixelsPerInch(), row.PixelsPerInch);
      }
      // A sizeable window takes the frame the system suggests; headless, it is this.
      if (moved) text.SetClientSize(row.Text.Width, row.Text.Height);
      EXPECT_EQ(ClientOf(openDir), row.OpenDir);
      EXPECT_EQ(openDir.OKBtn->BoundsRect(), row.OpenDirOK);
      EXPECT_EQ(openDir.DirectoryListBox1->ItemHeight(), row.FolderRow);
      EXPECT_EQ(openDir.Font().Height, row.Font);
      EXPECT_EQ(openDir.Edit1->Font().Height, row.Font);
      EXPECT_EQ(ClientOf(copyFail), row.CopyFail);
      EXPECT_EQ(ClientOf(progress), row.Progress);
      EXPECT_EQ(ClientOf(text), row.Text);
      EXPECT_EQ(text.Button1->BoundsRect(), row.TextOK);
      EXPECT_EQ(text.Font().Height, row.TextFont);
    }
  }
}

}  // namespace
}  // namespace foyer
