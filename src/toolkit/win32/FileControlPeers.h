// The drive chooser's owner-drawn "COMBOBOX" and the folder list's owner-drawn "LISTBOX": their
// items with the pictures from the resources, and the user's picks and openings.
#pragma once

#include <array>

#include "toolkit/FileControls.h"
#include "toolkit/win32/ItemPictures.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class DriveComboPeer final : public WindowPeer {
 public:
  DriveComboPeer(const PeerContext& context, TDriveComboBox& combo);

  void Changed(TChange what, int32_t index) override;
  // While the list is down, Enter picks the highlighted drive and Escape closes the list.
  bool TakesKey(WPARAM key) const override;

 protected:
  std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PlaceWindow();
  void ShowItems();
  // The user's choice, once it is final: a pick in the open list counts when the list closes.
  void TakeSelection();

  TDriveComboBox& FCombo;
  std::array<ResourcePicture, 5> FPictures;
};

class DirListPeer final : public WindowPeer {
 public:
  DirListPeer(const PeerContext& context, TDirectoryListBox& list);

  void Changed(TChange what, int32_t index) override;
  // Enter opens the highlighted folder.
  bool TakesKey(WPARAM key) const override { return key == VK_RETURN; }

 protected:
  std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void ShowItems();

  TDirectoryListBox& FList;
  std::array<ResourcePicture, 3> FPictures;
};

}  // namespace foyer
