// A form's keyboard and pointer: the tab order, the focus among picture buttons and windowed
// controls, access keys, and the hover and pressed looks of picture buttons.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <tuple>

#include "toolkit/Form.h"

namespace foyer {

namespace {

// Whether a control and every control it lies on are visible and enabled.
bool Reachable(const TControl* control) {
  for (; control != nullptr; control = control->Parent()) {
    if (dynamic_cast<const TForm*>(control) != nullptr) return true;
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return true;
}

int32_t CenterX(const TRect& r) {
  return (r.Left + r.Right) / 2;
}

int32_t CenterY(const TRect& r) {
  return (r.Top + r.Bottom) / 2;
}

// How far a candidate lies from the focused picture in an arrow's direction: the gap along it and
// the distance across it, and whether the two overlap across it. Nothing when it does not lie
// wholly in that direction.
struct Step {
  bool Apart;  // no overlap across the direction
  int32_t Along;
  int32_t Across;
  bool operator<(const Step& other) const {
    return std::tie(Apart, Along, Across) < std::tie(other.Apart, other.Along, other.Across);
  }
};

bool StepTo(TKey key, const TRect& from, const TRect& to, Step& step) {
  const bool vertical = key == TKey::Up || key == TKey::Down;
  int32_t along = 0;
  switch (key) {
    case TKey::Up:
      along = from.Top - to.Bottom;
      break;
    case TKey::Down:
      along = to.Top - from.Bottom;
      break;
    case TKey::Left:
      along = from.Left - to.Right;
      break;
    default:
      along = to.Left - from.Right;
      break;
  }
  if (along < 0) return false;
  const bool overlap = vertical ? to.Left < from.Right && to.Right > from.Left
                                : to.Top < from.Bottom && to.Bottom > from.Top;
  // Up and down stay in the column; left and right reach the nearest picture across.
  if (vertical && !overlap) return false;
  const int32_t across =
      vertical ? std::abs(CenterX(to) - CenterX(from)) : std::abs(CenterY(to) - CenterY(from));
  step = {!overlap, along, across};
  return true;
}

}  // namespace

void TForm::SetTabOrder(std::vector<TTabStop> order) {
  FTabOrder = std::move(order);
  if (StopIndex(FFocused) < 0 && dynamic_cast<TImage*>(FFocused) != nullptr) FFocused = nullptr;
}

int32_t TForm::StopIndex(const TControl* control) const {
  if (control == nullptr) return -1;
  for (size_t i = 0; i < FTabOrder.size(); ++i) {
    if (FTabOrder[i].Control == control) return static_cast<int32_t>(i);
  }
  return -1;
}

bool TForm::CanFocus(const TTabStop& stop) const {
  return Reachable(stop.Control) && (stop.Caption == nullptr || Reachable(stop.Caption));
}

TImage* TForm::PictureButtonOf(const TControl* control) const {
  if (control == nullptr) return nullptr;
  for (const TTabStop& stop : FTabOrder) {
    auto* picture = dynamic_cast<TImage*>(stop.Control);
    if (picture != nullptr && (stop.Control == control || stop.Caption == control)) {
      return Reachable(picture) ? picture : nullptr;
    }
  }
  return nullptr;
}

void TForm::FocusControl(TControl* control) {
  TControl* old = FFocused;
  FFocused = control;
  for (TControl* changed : {old, control}) {
    if (auto* picture = dynamic_cast<TImage*>(changed)) picture->Invalidate();
  }
  if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
    SetActiveControl(windowed);
    return;
  }
  // A picture's focus is the form's own window's.
  FActiveControl = nullptr;
  Changed(TChange::Focus);
}

void TForm::SetFocusCues(bool value) {
  if (value == FFocusCues) return;
  FFocusCues = value;
  if (auto* picture = dynamic_cast<TImage*>(FFocused)) picture->Invalidate();
}

void TForm::BackendFocusChanged(TWinControl* control) {
  if (control == nullptr) {
    // The form's own window: a picture keeps the focus it had, a windowed control lost it.
    if (dynamic_cast<TWinControl*>(FFocused) != nullptr) FFocused = nullptr;
    return;
  }
  if (auto* picture = dynamic_cast<TImage*>(FFocused)) picture->Invalidate();
  FFocused = control;
}

bool TForm::MoveFocus(TKey key, bool shift) {
  const auto count = static_cast<int32_t>(FTabOrder.size());
  const int32_t at = StopIndex(FFocused);
  if (key == TKey::Tab) {
    const int32_t step = shift ? -1 : 1;
    int32_t i = at >= 0 ? at : (shift ? 0 : count - 1);
    for (int32_t tried = 0; tried < count; ++tried) {
      i = (i + step + count) % count;
      if (CanFocus(FTabOrder[static_cast<size_t>(i)])) {
        FocusControl(FTabOrder[static_cast<size_t>(i)].Control);
        return true;
      }
    }
    return false;
  }
  auto* from = dynamic_cast<TImage*>(FFocused);
  if (from == nullptr || at < 0) {
    // Nothing focused yet: the arrows start at the first picture.
    for (const TTabStop& stop : FTabOrder) {
      if (dynamic_cast<TImage*>(stop.Control) != nullptr && CanFocus(stop)) {
        FocusControl(stop.Control);
        return true;
      }
    }
    return false;
  }
  TControl* best = nullptr;
  Step bestStep{};
  for (const TTabStop& stop : FTabOrder) {
    if (stop.Control == from || dynamic_cast<TImage*>(stop.Control) == nullptr) continue;
    Step step{};
    if (!CanFocus(stop) || !StepTo(key, from->BoundsRect(), stop.Control->BoundsRect(), step)) {
      continue;
    }
    if (best == nullptr || step < bestStep) {
      best = stop.Control;
      bestStep = step;
    }
  }
  if (best != nullptr) FocusControl(best);
  return best != nullptr;
}

bool TForm::KeyDown(TKey key, bool shift) {
  if (key == TKey::Enter) {
    auto* list = dynamic_cast<TListBox*>(FFocused);
    if (list != nullptr && list->OnDblClick) {
      if (list->ItemIndex() >= 0) list->DblClick();
      return true;
    }
  }
  if (FTabOrder.empty()) return false;
  const bool onPicture = dynamic_cast<TImage*>(FFocused) != nullptr;
  switch (key) {
    case TKey::Tab:
      FFocusCues = true;
      MoveFocus(key, shift);
      if (auto* picture = dynamic_cast<TImage*>(FFocused)) picture->Invalidate();
      return true;
    case TKey::Space:
    case TKey::Enter: {
      const int32_t at = StopIndex(FFocused);
      if (!onPicture || at < 0 || !CanFocus(FTabOrder[static_cast<size_t>(at)])) return false;
      FFocused->Click();
      return true;
    }
    default:
      // In a windowed control the arrows are the control's.
      if (dynamic_cast<TWinControl*>(FFocused) != nullptr) return false;
      FFocusCues = true;
      MoveFocus(key, shift);
      if (auto* picture = dynamic_cast<TImage*>(FFocused)) picture->Invalidate();
      return true;
  }
}

bool TForm::AccessKey(char key, bool alt) {
  if (FTabOrder.empty()) return false;
  // Without Alt, a key typed into a windowed control is its own.
  if (!alt && dynamic_cast<TWinControl*>(FFocused) != nullptr) return false;
  const auto wanted = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  std::vector<TControl*> marked;
  for (const TTabStop& stop : FTabOrder) {
    if (stop.Caption == nullptr || stop.Caption->IsPath() || !CanFocus(stop)) continue;
    const TCaptionText text = ParseCaption(stop.Caption->Caption());
    if (text.UnderlineIndex < 0) continue;
    const auto mark = static_cast<unsigned char>(text.Text[static_cast<size_t>(text.UnderlineIndex)]);
    if (std::toupper(mark) == static_cast<unsigned char>(wanted)) marked.push_back(stop.Control);
  }
  if (marked.empty()) return false;
  if (alt) FFocusCues = true;
  if (marked.size() == 1) {
    if (dynamic_cast<TWinControl*>(marked.front()) != nullptr) {
      FocusControl(marked.front());
    } else {
      marked.front()->Click();
    }
    return true;
  }
  // Several stops share the key: it moves the focus to the next of them, as in a dialog.
  auto next = std::find(marked.begin(), marked.end(), FFocused);
  next = next == marked.end() || next + 1 == marked.end() ? marked.begin() : next + 1;
  FocusControl(*next);
  return true;
}

void TForm::SetHot(TImage* button) {
  if (button == FHot) return;
  TImage* old = FHot;
  FHot = button;
  for (TImage* changed : {old, button}) {
    if (changed != nullptr) changed->Invalidate();
  }
}

void TForm::SetDown(TImage* button) {
  if (button == FDown) return;
  TImage* old = FDown;
  FDown = button;
  for (TImage* changed : {old, button}) {
    if (changed == nullptr) continue;
    changed->Invalidate();
    // The caption moves with the press and may be wider than its picture.
    for (const TTabStop& stop : FTabOrder) {
      if (stop.Control == changed && stop.Caption != nullptr) stop.Caption->Invalidate();
    }
  }
}

void TForm::MouseMove(TPoint point) {
  if (FPressed != nullptr) {
    // While the button is held, only the pressed picture answers, and only while it is under
    // the pointer.
    TImage* pressed = PictureButtonOf(FPressed);
    const bool inside = pressed != nullptr && pressed->BoundsRect().Contains(point);
    SetDown(inside ? pressed : nullptr);
    SetHot(inside ? pressed : nullptr);
    return;
  }
  SetHot(PictureButtonOf(ControlAt(point)));
}

void TForm::MouseLeave() {
  if (FPressed == nullptr) SetHot(nullptr);
}

void TForm::MouseDown(TPoint point) {
  FPressed = ControlAt(point);
  TImage* button = PictureButtonOf(FPressed);
  SetHot(button);
  SetDown(button);
  // A button that is clicked takes the focus, as the system's buttons do.
  if (button != nullptr && StopIndex(button) >= 0) FocusControl(button);
}

void TForm::MouseUp(TPoint point) {
  TGraphicControl* pressed = FPressed;
  FPressed = nullptr;
  SetDown(nullptr);
  SetHot(PictureButtonOf(ControlAt(point)));
  if (pressed == nullptr) return;
  // A control may have gone away while the button was down.
  const auto& controls = Controls();
  if (std::find(controls.begin(), controls.end(), pressed) == controls.end()) return;
  if (!pressed->Visible() || !pressed->Enabled() || !pressed->BoundsRect().Contains(point)) return;
  pressed->Click();
}

void TForm::MouseCaptureLost() {
  FPressed = nullptr;
  SetDown(nullptr);
}

void TForm::MouseDoubleClick(TPoint point) {
  // The second press of a double click is no click of its own.
  if (TGraphicControl* control = ControlAt(point)) control->DblClick();
}

}  // namespace foyer
