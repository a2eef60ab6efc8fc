// The text viewer.
#include "viewers/ShowTxt.h"

#include "util/Checked.h"
#include "util/Errors.h"
#include "util/Path.h"
#include "util/TextReader.h"

namespace foyer {

TShowTxtForm* ShowTxtForm = nullptr;

TShowTxtForm::TShowTxtForm() {
  SetName("ShowTxtForm");
  SetDesignPixelsPerInch(120);
  SetScaledFont({"MS Sans Serif", -14, clWindowText});
  SetPosition(TPosition::ScreenCenter);

  Memo1 = Create<TMemo>(this);
  Memo1->SetName("Memo1");
  Memo1->SetReadOnly(true);
  Memo1->SetTabStop(false);
  Memo1->SetScrollBars(TScrollStyle::Both);
  Memo1->SetWordWrap(true);

  Button1 = Create<TButton>(this);
  Button1->SetName("Button1");
  Button1->SetCaption("OK");
  Button1->SetCancel(true);
  Button1->SetModalResult(mrOk);
  // The text area is no tab stop: the button has the focus, so Enter and Space close the viewer.
  SetActiveControl(Button1);
  // The scrolling keys still reach the text from the button.
  SetScrollTarget(Memo1);

  OnResize = Handler(this, &TShowTxtForm::FormResize);
  SetScaledClientSize(607, 471);
}

void TShowTxtForm::FormResize(TComponent*) {
  const int32_t w = ClientWidth();
  const int32_t h = ClientHeight();
  Memo1->SetBounds(Scaled(8), Scaled(8), CheckedSub(w, Scaled(88)), CheckedSub(h, Scaled(16)));
  Button1->SetBounds(CheckedSub(w, Scaled(72)), CheckedSub(h, Scaled(32)), Scaled(64), Scaled(24));
}

void TShowTxtForm::ShowFile(const std::string& path) {
  SetCaption(NamePart(path));
  // The whole text goes to the control at once: one hand-over, linear in the file's size.
  std::string text;
  {
    TTextReader reader(path);
    try {
      bool first = true;
      while (!reader.Eof()) {
        if (!first) text += "\r\n";
        reader.AppendLine(text);
        first = false;
      }
    } catch (const EInOutError&) {
      Memo1->SetText(std::move(text));
      throw;
    }
  }  // closed before the viewer shows: other programs may change or delete it meanwhile
  Memo1->SetText(std::move(text));
  ShowModal();
}

}  // namespace foyer
