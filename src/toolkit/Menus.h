// Context menus: a list of commands a control offers under a right click.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Types.h"

namespace foyer {

class TMenuItem : public TComponent {
 public:
  const std::string& Caption() const { return FCaption; }
  void SetCaption(std::string caption) { FCaption = std::move(caption); }
  // A disabled item is shown greyed and cannot be chosen.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value) { FEnabled = value; }
  TNotifyEvent OnClick;
  // Raises OnClick, as choosing the item does; a disabled item does nothing.
  void Click();

 private:
  std::string FCaption;
  bool FEnabled = true;
};

// The items are read when the menu opens, so a change while it is closed needs no backend.
class TPopupMenu : public TComponent {
 public:
  // Adds an item at the end.
  TMenuItem* Add(const std::string& name, const std::string& caption);
  const std::vector<std::unique_ptr<TMenuItem>>& Items() const { return FItems; }

 private:
  std::vector<std::unique_ptr<TMenuItem>> FItems;
};

}  // namespace foyer
