// Context menus.
#include "toolkit/Menus.h"

namespace foyer {

void TMenuItem::Click() {
  if (FEnabled && OnClick) OnClick(this);
}

TMenuItem* TPopupMenu::Add(const std::string& name, const std::string& caption) {
  auto item = std::make_unique<TMenuItem>();
  item->SetName(name);
  item->SetCaption(caption);
  FItems.push_back(std::move(item));
  return FItems.back().get();
}

}  // namespace foyer
