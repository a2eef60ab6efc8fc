// The copy-failure alert.
#include "dialogs/CopyFail.h"

namespace foyer {

TCopyFailBox* CopyFailBox = nullptr;

TCopyFailBox::TCopyFailBox() {
  SetName("CopyFailBox");
  SetCaption("Alert");
  SetBorderStyle(TBorderStyle::Dialog);
  SetBorderIcons({true, false, false});
  SetPosition(TPosition::ScreenCenter);
  SetFont({"MS Sans Serif", -Scaled(11), clWindowText});

  Panel1 = Create<TPanel>(this);
  Panel1->SetName("Panel1");
  Panel1->SetBevels(TBevelCut::Raised, TBevelCut::Lowered, 1);
  Panel1->SetColor(Color());

  const auto makeLine = [this](const char* name, const char* text) {
    TLabel* label = Create<TLabel>(Panel1);
    label->SetName(name);
    label->SetAutoSize(false);
    label->SetAlignment(TAlignment::Center);
    label->SetCaption(text);
    return label;
  };
  ProductName = makeLine("ProductName", "Unable to complete operation");
  Version = makeLine("Version", "Check disk space");

  OKButton = Create<TButton>(this);
  OKButton->SetName("OKButton");
  OKButton->SetCaption("OK");
  OKButton->SetDefault(true);
  OKButton->SetModalResult(mrOk);

  PlaceScaled(*Panel1, 8, 8, 281, 73);
  PlaceScaled(*ProductName, 8, 16, 265, 13);
  PlaceScaled(*Version, 8, 40, 265, 13);
  PlaceScaled(*OKButton, 111, 92, 75, 25);
  SetClientSize(Scaled(298), Scaled(129));
  SetActiveControl(OKButton);
}

}  // namespace foyer
