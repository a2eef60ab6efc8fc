// Components: properties, parents and children, and telling the backend what changed.
#include "toolkit/Component.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace foyer {

TControl::TControl(TWinControl* parent) : FParent(parent) {
  if (FParent != nullptr) FParent->AddChild(this);
}

TControl::~TControl() {
  if (FParent == nullptr) return;
  // The form must not keep pointing at a control that is gone.
  if (TForm* form = FParent->ParentForm()) form->ControlDestroyed(*this);
  FParent->RemoveChild(this);
}

TRect TControl::BoundsRect() const {
  return {FLeft, FTop, FLeft + FWidth, FTop + FHeight};
}

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
  StoreBounds(left, top, width, height);
  Changed(TChange::Bounds);
}

void TControl::StoreBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
}

void TControl::SetVisible(bool value) {
  if (value == FVisible) return;
  FVisible = value;
  Changed(TChange::Visible);
}

void TControl::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Changed(TChange::Enabled);
}

void TControl::SetAccessibleName(const std::string& name) {
  if (name == FAccessibleName) return;
  FAccessibleName = name;
  Changed(TChange::Name);
}

TForm* TControl::ParentForm() {
  TControl* control = this;
  while (control->FParent != nullptr)
    control = control->FParent;
  return dynamic_cast<TForm*>(control);
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

TGraphicControl::TGraphicControl(TWinControl* parent) : TControl(parent) {}

void TGraphicControl::Invalidate() {
  TWinControl* parent = Parent();
  if (parent != nullptr && parent->Peer() != nullptr) parent->Peer()->InvalidateArea(BoundsRect());
}

void TGraphicControl::Changed(TChange what, int32_t) {
  if (what != TChange::Name) Invalidate();
  TWinControl* parent = Parent();
  if (parent != nullptr && parent->Peer() != nullptr) parent->Peer()->GraphicChanged(*this, what);
}

void TGraphicControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  // The old area must be repainted as well as the new one.
  if (left == Left() && top == Top() && width == Width() && height == Height()) return;
  if (Visible()) Invalidate();
  TControl::SetBounds(left, top, width, height);
}

TWinControl::TWinControl(TWinControl* parent) : TControl(parent) {
  if (parent != nullptr) FFont = parent->Font();
}

TWinControl::~TWinControl() {
  for (TControl* child : FControls)
    child->FParent = nullptr;
  FPeer.reset();
}

void TWinControl::AddChild(TControl* child) {
  // Windowed children lie above every graphic one; each kind keeps its creation order.
  if (dynamic_cast<TWinControl*>(child) != nullptr) {
    FControls.push_back(child);
    return;
  }
  auto firstWindowed = std::find_if(FControls.begin(), FControls.end(), [](TControl* c) {
    return dynamic_cast<TWinControl*>(c) != nullptr;
  });
  FControls.insert(firstWindowed, child);
}

void TWinControl::RemoveChild(TControl* child) {
  std::erase(FControls, child);
  if (FAlignedChild == child) FAlignedChild = nullptr;
}

void TWinControl::Bind() {
  if (FPeer == nullptr) FPeer = Application().Backend().CreatePeer(*this);
  for (TControl* child : FControls) {
    if (auto* windowed = dynamic_cast<TWinControl*>(child)) windowed->Bind();
  }
}

void TWinControl::Update() {
  if (FPeer != nullptr) FPeer->Update();
}

TRect TWinControl::ClientRect() const {
  return {0, 0, Width(), Height()};
}

void TWinControl::SetFont(const TFont& font) {
  if (font == FFont) return;
  const TFont old = FFont;
  FFont = font;
  Changed(TChange::Font);
  for (TControl* child : FControls)
    child->ParentFontChanged(old, font);
}

void TWinControl::ParentFontChanged(const TFont& old, const TFont& font) {
  if (FFont == old) SetFont(font);
}

void TWinControl::SetColor(TColor color) {
  if (color == FColor) return;
  FColor = color;
  Changed(TChange::Color);
}

void TWinControl::AlignClient(TControl& child) {
  FAlignedChild = &child;
  Realign();
}

void TWinControl::Realign() {
  if (FAlignedChild == nullptr) return;
  const TRect client = ClientRect();
  FAlignedChild->SetBounds(client.Left, client.Top, std::max(0, client.Right - client.Left),
                           std::max(0, client.Bottom - client.Top));
}

void TWinControl::Changed(TChange what, int32_t index) {
  if (FPeer != nullptr) FPeer->Changed(what, index);
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  const bool resized = width != Width() || height != Height();
  TControl::SetBounds(left, top, width, height);
  if (resized) {
    Realign();
    Resized();
  }
}

void TWinControl::BackendBoundsChanged(int32_t left, int32_t top, int32_t width, int32_t height) {
  const bool resized = width != Width() || height != Height();
  StoreBounds(left, top, width, height);
  if (resized) {
    Realign();
    Resized();
  }
}

}  // namespace foyer
