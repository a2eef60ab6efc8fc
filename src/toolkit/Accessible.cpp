// What assistive technology learns of windowless controls.
#include "toolkit/Accessible.h"

#include <cctype>

#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace foyer {

namespace {

// The tab stop a control is, or captions; null for none.
const TTabStop* StopOf(const TControl& control) {
  // ParentForm is not const: it hands out the form it finds.
  TForm* form = const_cast<TControl&>(control).ParentForm();
  if (form == nullptr) return nullptr;
  for (const TTabStop& stop : form->TabOrder()) {
    if (stop.Control == &control || stop.Caption == &control) return &stop;
  }
  return nullptr;
}

bool IsPictureButton(const TControl& control) {
  const TTabStop* stop = StopOf(control);
  return stop != nullptr && stop->Control == &control &&
         dynamic_cast<const TImage*>(&control) != nullptr;
}

bool CaptionsPictureButton(const TControl& control) {
  const TTabStop* stop = StopOf(control);
  return stop != nullptr && stop->Caption == &control &&
         dynamic_cast<const TImage*>(stop->Control) != nullptr;
}

// Shown only when it and everything it lies on are.
bool Shown(const TControl* control) {
  for (; control != nullptr; control = control->Parent()) {
    if (dynamic_cast<const TForm*>(control) != nullptr) return true;
    if (!control->Visible()) return false;
  }
  return true;
}

}  // namespace

std::vector<TGraphicControl*> AccessibleControls(const TWinControl& owner) {
  std::vector<TGraphicControl*> result;
  for (TControl* control : owner.Controls()) {
    auto* graphic = dynamic_cast<TGraphicControl*>(control);
    if (graphic == nullptr || CaptionsPictureButton(*graphic)) continue;
    // A picture is a background or decoration unless it acts as a button or was named.
    if (dynamic_cast<TImage*>(graphic) != nullptr && !IsPictureButton(*graphic) &&
        graphic->AccessibleName().empty()) {
      continue;
    }
    if (dynamic_cast<TImage*>(graphic) != nullptr || dynamic_cast<TLabel*>(graphic) != nullptr) {
      result.push_back(graphic);
    }
  }
  return result;
}

TGraphicControl* AccessibleOwnerOf(TGraphicControl& control) {
  const TTabStop* stop = StopOf(control);
  if (stop != nullptr && stop->Caption == &control && IsPictureButton(*stop->Control)) {
    return static_cast<TGraphicControl*>(stop->Control);
  }
  return &control;
}

TAccessItem DescribeAccessible(const TGraphicControl& control) {
  TAccessItem item;
  item.Bounds = control.BoundsRect();
  item.State.Invisible = !Shown(&control);
  item.State.Unavailable = !control.Enabled();
  const auto* label = dynamic_cast<const TLabel*>(&control);
  if (label != nullptr) {
    item.Role = TAccessRole::StaticText;
    item.Name = label->IsPath() ? label->Caption() : ParseCaption(label->Caption()).Text;
  } else {
    item.Role = TAccessRole::Graphic;
  }
  if (!control.AccessibleName().empty()) item.Name = control.AccessibleName();
  if (!IsPictureButton(control)) return item;

  // A picture button reads as the system's push button: named by its caption, greyed with it.
  item.Role = TAccessRole::PushButton;
  item.DefaultAction = "Press";
  const TForm* form = const_cast<TGraphicControl&>(control).ParentForm();
  const TTabStop* stop = StopOf(control);
  if (const TLabel* caption = stop->Caption) {
    if (control.AccessibleName().empty()) {
      item.Name = caption->IsPath() ? caption->Caption() : ParseCaption(caption->Caption()).Text;
    }
    item.State.Invisible = item.State.Invisible || !Shown(caption);
    item.State.Unavailable = item.State.Unavailable || !caption->Enabled();
    const TCaptionText text = ParseCaption(caption->Caption());
    if (!caption->IsPath() && text.UnderlineIndex >= 0) {
      const auto key = static_cast<unsigned char>(text.Text[static_cast<size_t>(text.UnderlineIndex)]);
      item.Shortcut = std::string("Alt+") + static_cast<char>(std::toupper(key));
    }
  }
  item.State.Focusable = !item.State.Invisible && !item.State.Unavailable;
  item.State.Focused = form->Focused() == &control;
  item.State.Hot = form->HotButton() == &control;
  item.State.Pressed = form->DownButton() == &control;
  return item;
}

}  // namespace foyer
