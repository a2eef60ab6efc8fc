// The picture viewer.
#include "viewers/ShowBmp.h"

#include "util/Path.h"

namespace foyer {

TShowBmpForm* ShowBmpForm = nullptr;

TShowBmpForm::TShowBmpForm() {
  SetName("ShowBmpForm");
  SetBorderStyle(TBorderStyle::Single);
  SetBorderIcons({true, true, false});
  SetClientSize(427, 273);
  SetPosition(TPosition::ScreenCenter);

  Pic = Create<TImage>(this);
  Pic->SetName("Pic");
  Pic->SetBounds(8, 8, 265, 185);
  Pic->OnClick = Handler(this, &TShowBmpForm::PicClick);
  // Escape closes it, as a click on the picture does.
  SetEscapeCloses(true);
  OnShow = Handler(this, &TShowBmpForm::FormShow);
  OnCloseQuery = [this](TComponent* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
}

void TShowBmpForm::ShowFile(const std::string& path) {
  Pic->SetAutoSize(true);
  Pic->SetBounds(0, 0, Pic->Width(), Pic->Height());
  Pic->LoadFromFile(path);
  SetCaption(NamePart(path));
  // The picture is the content: a screen reader names it after its file.
  Pic->SetAccessibleName(NamePart(path));
  SetClientSize(Pic->GetPicture()->Width, Pic->GetPicture()->Height);
  ShowModal();
}

void TShowBmpForm::FormShow(TComponent*) {
  CenterOnScreen(false);
}

void TShowBmpForm::PicClick(TComponent*) {
  SetModalResult(mrCancel);
}

void TShowBmpForm::FormCloseQuery(TComponent*, bool& canClose) {
  SetModalResult(mrCancel);
  canClose = true;
}

}  // namespace foyer
