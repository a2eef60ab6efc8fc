// The copy-failure alert.
#include "dialogs/CopyFail.h"

#include <string>

namespace foyer {

TCopyFailBox* CopyFailBox = nullptr;

TCopyFailBox::TCopyFailBox() {
  SetName("CopyFailBox");
  SetCaption("Alert");
  SetBorderStyle(TBorderStyle::Dialog);
  SetBorderIcons({true, false, false});
  SetPosition(TPosition::ScreenCenter);
  SetScaledFont({"MS Sans Serif", -11, clWindowText});

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
  ProductName = makeLine("ProductName", "");
  Version = makeLine("Version", "");

  OKButton = Create<TButton>(this);
  OKButton->SetName("OKButton");
  OKButton->SetCaption("OK");
  OKButton->SetDefault(true);
  OKButton->SetModalResult(mrOk);

  PlaceScaled(*Panel1, 8, 8, 281, 73);
  PlaceScaled(*ProductName, 8, 16, 265, 13);
  PlaceScaled(*Version, 8, 40, 265, 13);
  PlaceScaled(*OKButton, 111, 92, 75, 25);
  SetScaledClientSize(298, 129);
  SetActiveControl(OKButton);
  SetFailedLines();
}

void TCopyFailBox::ShowFailed() {
  SetFailedLines();
  ShowModal();
}

void TCopyFailBox::ShowCancelled(uint64_t filesDone, uint64_t filesTotal) {
  // The alert's own lines would send the user looking for a disk problem that is not there.
  SetLines("Install Cancelled",
           "Copied " + std::to_string(filesDone) + " of " + std::to_string(filesTotal) + " files",
           "Files not copied are left as they were");
  ShowModal();
}

void TCopyFailBox::SetFailedLines() {
  SetLines("Alert", "Unable to complete operation", "Check disk space");
}

void TCopyFailBox::SetLines(const std::string& caption, const std::string& first,
                            const std::string& second) {
  SetCaption(caption);
  ProductName->SetCaption(first);
  Version->SetCaption(second);
}

}  // namespace foyer
