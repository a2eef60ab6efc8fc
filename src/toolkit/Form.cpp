// Forms: the client area, hit testing of graphic controls, closing and modal showing.
#include "toolkit/Form.h"

#include <algorithm>

#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "util/Checked.h"
#include "util/Errors.h"

namespace foyer {

namespace {

// The first button with the property set that the user can reach: it and every panel it lies on
// are visible and enabled.
TButton* FindButton(const TWinControl& parent, bool (TButton::*property)() const) {
  for (TControl* child : parent.Controls()) {
    if (!child->Visible() || !child->Enabled()) continue;
    if (auto* button = dynamic_cast<TButton*>(child)) {
      if ((button->*property)()) return button;
    } else if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
      if (TButton* found = FindButton(*windowed, property)) return found;
    }
  }
  return nullptr;
}

bool HoldsButton(const TWinControl& parent) {
  for (TControl* child : parent.Controls()) {
    if (dynamic_cast<TButton*>(child) != nullptr) return true;
    auto* windowed = dynamic_cast<TWinControl*>(child);
    if (windowed != nullptr && HoldsButton(*windowed)) return true;
  }
  return false;
}

}  // namespace

TForm::TForm() : TWinControl(nullptr) {
  SetColor(clBtnFace);
  StoreBounds(0, 0, 0, 0);
  SetVisible(false);
}

TForm::~TForm() {
  // Components go before the form's own window, the last created first.
  while (!FComponents.empty())
    FComponents.pop_back();
}

int32_t TForm::PixelsPerInch() const {
  if (FPixelsPerInch > 0) return FPixelsPerInch;
  return Platform().Display != nullptr ? Platform().Display->PixelsPerInch()
                                       : DesignPixelsPerInch();
}

int32_t TForm::Scaled(int32_t designed) const {
  return CheckedDiv(CheckedMul(designed, PixelsPerInch()), DesignPixelsPerInch());
}

void TForm::PlaceScaled(TControl& control, int32_t left, int32_t top, int32_t width,
                        int32_t height) {
  const TRect designed{left, top, left + width, top + height};
  auto place =
      std::find_if(FScaledPlaces.begin(), FScaledPlaces.end(),
                   [&control](const TScaledPlace& held) { return held.Control == &control; });
  if (place == FScaledPlaces.end()) {
    FScaledPlaces.push_back({&control, designed});
  } else {
    place->Designed = designed;
  }
  control.SetBounds(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
}

void TForm::SetScaledFont(const TFont& designed) {
  FScaledFont = designed;
  TFont font = designed;
  font.Height = Scaled(designed.Height);
  SetFont(font);
}

void TForm::SetScaledClientSize(int32_t width, int32_t height) {
  FScaledClientSize = TSize{width, height};
  SetClientSize(Scaled(width), Scaled(height));
}

void TForm::BackendPixelsPerInchChanged(int32_t value) {
  if (value <= 0 || value == PixelsPerInch()) return;
  FPixelsPerInch = value;
  if (FScaledFont) SetScaledFont(*FScaledFont);
  for (const TScaledPlace& place : FScaledPlaces) {
    const TRect& designed = place.Designed;
    place.Control->SetBounds(Scaled(designed.Left), Scaled(designed.Top),
                             Scaled(designed.Right - designed.Left),
                             Scaled(designed.Bottom - designed.Top));
  }
  if (OnPixelsPerInchChange) OnPixelsPerInchChange(this);
  if (FScaledClientSize) SetScaledClientSize(FScaledClientSize->Width, FScaledClientSize->Height);
  // Layouts that follow the client size run again at the new scale, even where it kept its size.
  Resized();
}

void TForm::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  Changed(TChange::Text);
}

void TForm::SetClientSize(int32_t width, int32_t height) {
  if (width == FClientWidth && height == FClientHeight) return;
  FClientWidth = width;
  FClientHeight = height;
  if (IsBound()) {
    Changed(TChange::Bounds);
  } else {
    StoreBounds(Left(), Top(), width, height);
  }
  Resized();
}

void TForm::BackendClientResized(int32_t width, int32_t height) {
  if (width == FClientWidth && height == FClientHeight) return;
  FClientWidth = width;
  FClientHeight = height;
  Resized();
}

void TForm::Resized() {
  Realign();
  if (OnResize) OnResize(this);
}

void TForm::SetActiveControl(TWinControl* control) {
  if (control != nullptr && control->ParentForm() != this) {
    throw Exception("The control " + control->Name() + " does not lie on the form " + Name());
  }
  if (control == FActiveControl) return;
  FActiveControl = control;
  Changed(TChange::Focus);
}

void TForm::ControlDestroyed(const TControl& control) {
  const auto is = [&control](const TControl* held) { return held == &control; };
  if (is(FActiveControl)) FActiveControl = nullptr;
  if (is(FScrollTarget)) FScrollTarget = nullptr;
  if (is(FFocused)) FFocused = nullptr;
  if (is(FHot)) FHot = nullptr;
  if (is(FDown)) FDown = nullptr;
  if (is(FPressed)) FPressed = nullptr;
  std::erase_if(FTabOrder, [&is](const TTabStop& stop) { return is(stop.Control); });
  std::erase_if(FScaledPlaces, [&is](const TScaledPlace& place) { return is(place.Control); });
  for (TTabStop& stop : FTabOrder) {
    if (is(stop.Caption)) stop.Caption = nullptr;
  }
}

bool TForm::PressDialogKey(TDialogKey key) {
  TButton* button =
      FindButton(*this, key == TDialogKey::Escape ? &TButton::IsCancel : &TButton::IsDefault);
  if (button == nullptr) return false;
  button->Click();
  return true;
}

bool TForm::HasButtons() const {
  return HoldsButton(*this);
}

TGraphicControl* TForm::ControlAt(TPoint point) const {
  const auto& controls = Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    auto* graphic = dynamic_cast<TGraphicControl*>(*it);
    if (graphic == nullptr || !graphic->Visible() || !graphic->Enabled()) continue;
    if (graphic->BoundsRect().Contains(point)) return graphic;
  }
  return nullptr;
}

int32_t TForm::ShowModal() {
  return Application().Backend().ShowModal(*this);
}

void TForm::SetModalResult(int32_t value) {
  FModalResult = value;
}

void TForm::Close() {
  if (FShowingModal) {
    if (CloseQuery()) FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  Hide();
  if (Application().MainForm() == this) Application().Terminate();
}

bool TForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TForm::DoShow() {
  if (OnShow) OnShow(this);
  if (!FWasShown && FPosition == TPosition::ScreenCenter) CenterOnScreen(true);
  FWasShown = true;
}

void TForm::CenterOnScreen(bool clampToScreen) {
  IDisplay& display = *Platform().Display;
  int32_t left = CheckedDiv(CheckedSub(display.ScreenWidth(), Width()), 2);
  int32_t top = CheckedDiv(CheckedSub(display.ScreenHeight(), Height()), 2);
  if (clampToScreen) {
    left = std::max(left, 0);
    top = std::max(top, 0);
  }
  SetBounds(left, top, Width(), Height());
}

void TForm::BeginModal() {
  FShowingModal = true;
  FModalResult = mrNone;
}

void TForm::EndModal() {
  FShowingModal = false;
}

}  // namespace foyer
