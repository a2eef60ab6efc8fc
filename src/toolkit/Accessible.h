// What assistive technology (a screen reader, a magnifier, voice control) learns of the controls
// that have no window of their own: picture buttons and labels, which their window paints.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/Component.h"

namespace foyer {

enum class TAccessRole : uint8_t { PushButton, StaticText, Graphic };

struct TAccessState {
  bool Invisible = false;
  bool Unavailable = false;
  bool Focusable = false;
  // The form's focus is on it; whether the form's window has the keyboard is the backend's.
  bool Focused = false;
  bool Hot = false;
  bool Pressed = false;
};

struct TAccessItem {
  TAccessRole Role = TAccessRole::StaticText;
  // The caption as it is shown: no "&" marks.
  std::string Name;
  TAccessState State;
  // In the client coordinates of the window that paints it.
  TRect Bounds;
  // What pressing it does ("Press"), and the key that does it ("Alt+R"); empty when none.
  std::string DefaultAction;
  std::string Shortcut;
};

// The graphic controls of a window that assistive technology sees, in z-order: picture buttons
// (named by the label that captions them, which is not listed itself), labels that caption
// nothing, and pictures given a name. Hidden ones are listed too, as hidden: an item keeps its
// place while controls show and hide, as a dialog's child windows do.
std::vector<TGraphicControl*> AccessibleControls(const TWinControl& owner);
TAccessItem DescribeAccessible(const TGraphicControl& control);
// The picture button a caption label names, or the control itself.
TGraphicControl* AccessibleOwnerOf(TGraphicControl& control);

}  // namespace foyer
