// The drive chooser's and the folder list's owner-drawn windows.
#include "toolkit/win32/FileControlPeers.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/Painting.h"
#include "util/Errors.h"

namespace foyer {

namespace {

// Rows of the chooser's open list, and how many show before it scrolls.
constexpr int kDriveRowHeight = 16;
constexpr int kDriveRowsShown = 8;
constexpr int kDriveIndent = 2;
// What a combo box's closed height has around its selection field.
constexpr int kComboFrame = 6;

constexpr const char* kDrivePictures[] = {"FLOPPY", "HARD", "NETWORK", "CDROM", "RAM"};
constexpr const char* kFolderPictures[] = {"OPENFOLDER", "CURRENTFOLDER", "CLOSEDFOLDER"};

template <size_t N>
std::array<ResourcePicture, N> LoadPictures(HINSTANCE instance, const char* const (&names)[N]) {
  std::array<ResourcePicture, N> pictures;
  for (size_t i = 0; i < N; ++i)
    pictures[i] = ResourcePicture(instance, names[i]);
  return pictures;
}

void CheckAdded(LRESULT added) {
  if (added == CB_ERR || added == CB_ERRSPACE) throw Exception("Out of system resources");
}

}  // namespace

DriveComboPeer::DriveComboPeer(const PeerContext& context, TDriveComboBox& combo)
    : WindowPeer(context, combo),
      FCombo(combo),
      FPictures(LoadPictures(context.Instance, kDrivePictures)) {
  DWORD style = WS_CHILD | WS_VSCROLL | WS_CLIPSIBLINGS | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                CBS_HASSTRINGS;
  if (combo.Visible()) style |= WS_VISIBLE;
  if (!combo.Enabled()) style |= WS_DISABLED;
  AdoptWindow(CreateWindowExA(0, "COMBOBOX", "", style, 0, 0, 0, 0, ParentHandle(), nullptr,
                              context.Instance, nullptr));
  SendFont();
  Send(CB_SETITEMHEIGHT, 0, kDriveRowHeight);
  PlaceWindow();
  ShowItems();
}

// A drop-down's window is as high as its field and its open list together; the field's height
// is set apart, so the closed chooser is as high as the control.
void DriveComboPeer::PlaceWindow() {
  const int field = std::max(1, FCombo.Height() - kComboFrame);
  Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  const TPoint offset = Of(*FCombo.Parent())->ChildOffset();
  SetWindowPos(Handle(), nullptr, FCombo.Left() - offset.X, FCombo.Top() - offset.Y,
               std::max(0, FCombo.Width()), FCombo.Height() + kDriveRowsShown * kDriveRowHeight + 2,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void DriveComboPeer::ShowItems() {
  Send(CB_RESETCONTENT);
  for (const TDriveItem& item : FCombo.Items())
    CheckAdded(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str())));
  Send(CB_SETCURSEL, static_cast<WPARAM>(FCombo.ItemIndex()));
}

void DriveComboPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::Bounds:
      PlaceWindow();
      break;
    case TChange::RowsCleared:
      ShowItems();
      break;
    case TChange::Selection:
      Send(CB_SETCURSEL, static_cast<WPARAM>(index));
      break;
    case TChange::Font:
      SendFont();
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

bool DriveComboPeer::TakesKey(WPARAM key) const {
  return (key == VK_RETURN || key == VK_ESCAPE) && Send(CB_GETDROPPEDSTATE) != FALSE;
}

void DriveComboPeer::TakeSelection() {
  const auto selected = static_cast<int32_t>(Send(CB_GETCURSEL));
  if (selected == FCombo.ItemIndex()) return;
  TDriveComboBox& combo = FCombo;
  Application().Dispatch([&combo, selected] { combo.UserSelect(selected); });
}

std::optional<LRESULT> DriveComboPeer::Reflected(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const auto& items = FCombo.Items();
    if (item.itemID >= items.size()) {
      // An empty field still shows the focus.
      FillSolid(item.hDC, item.rcItem, BackgroundOf(FCombo));
      if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
      return TRUE;
    }
    const TDriveItem& drive = items[item.itemID];
    DrawPictureItem(item, FPictures[static_cast<size_t>(drive.Image)], kDriveIndent, drive.Text,
                    Context().Fonts, FCombo.Font(), BackgroundOf(FCombo), TextColorOf(FCombo));
    return TRUE;
  }
  if (message != WM_COMMAND) return std::nullopt;
  switch (HIWORD(wParam)) {
    case CBN_SELCHANGE:
      // Arrow keys on the closed chooser pick at once; in the open list they only highlight.
      if (Send(CB_GETDROPPEDSTATE) == FALSE) TakeSelection();
      return 0;
    case CBN_SELENDCANCEL:
      Send(CB_SETCURSEL, static_cast<WPARAM>(FCombo.ItemIndex()));
      return 0;
    case CBN_CLOSEUP:
      TakeSelection();
      return 0;
    default:
      return std::nullopt;
  }
}

DirListPeer::DirListPeer(const PeerContext& context, TDirectoryListBox& list)
    : WindowPeer(context, list),
      FList(list),
      FPictures(LoadPictures(context.Instance, kFolderPictures)) {
  // Keyboard input is offered to the form first (WM_VKEYTOITEM), which is where Enter opens.
  DWORD style = WS_CHILD | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_WANTKEYBOARDINPUT;
  if (list.Visible()) style |= WS_VISIBLE;
  if (!list.Enabled()) style |= WS_DISABLED;
  AdoptWindow(CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", style, 0, 0, 0, 0, ParentHandle(),
                              nullptr, context.Instance, nullptr));
  SendFont();
  Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(list.ItemHeight(), 0));
  ApplyBounds();
  ShowItems();
}

void DirListPeer::ShowItems() {
  Send(WM_SETREDRAW, FALSE);
  Send(LB_RESETCONTENT);
  for (const TFolderItem& item : FList.Items()) {
    const LRESULT added = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
    if (added == LB_ERR || added == LB_ERRSPACE) throw Exception("Out of system resources");
  }
  Send(LB_SETCURSEL, static_cast<WPARAM>(FList.ItemIndex()));
  Send(WM_SETREDRAW, TRUE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void DirListPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::RowsCleared:
      ShowItems();
      break;
    case TChange::Selection:
      Send(LB_SETCURSEL, static_cast<WPARAM>(index));
      break;
    case TChange::Style:
      Send(LB_SETITEMHEIGHT, 0, MAKELPARAM(FList.ItemHeight(), 0));
      InvalidateRect(Handle(), nullptr, TRUE);
      break;
    case TChange::Font:
      SendFont();
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

std::optional<LRESULT> DirListPeer::Reflected(UINT message, WPARAM wParam, LPARAM lParam) {
  TDirectoryListBox& list = FList;
  switch (message) {
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const auto& items = list.Items();
      if (item.itemID >= items.size()) return TRUE;
      const TFolderItem& folder = items[item.itemID];
      DrawPictureItem(item, FPictures[static_cast<size_t>(folder.Image)], folder.Indent,
                      folder.Text, Context().Fonts, list.Font(), BackgroundOf(list),
                      TextColorOf(list));
      return TRUE;
    }
    case WM_VKEYTOITEM:
      if (LOWORD(wParam) != VK_RETURN) return -1;  // the list box moves as usual
      {
        const auto selected = static_cast<int32_t>(Send(LB_GETCURSEL));
        Application().Dispatch([&list, selected] { list.OpenItem(selected); });
      }
      return -2;
    case WM_COMMAND:
      switch (HIWORD(wParam)) {
        case LBN_SELCHANGE: {
          const auto selected = static_cast<int32_t>(Send(LB_GETCURSEL));
          list.UserSelect(selected);
          return 0;
        }
        case LBN_DBLCLK: {
          const auto selected = static_cast<int32_t>(Send(LB_GETCURSEL));
          Application().Dispatch([&list, selected] { list.OpenItem(selected); });
          return 0;
        }
        default:
          return std::nullopt;
      }
    default:
      return std::nullopt;
  }
}

}  // namespace foyer
