// A rich-text view's "RichEdit20A" child window: the system's rich edit, read-only, with the
// component's context menu and selection.
#pragma once

#include <optional>
#include <string>

#include "toolkit/RichEdit.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

// Loads the system's rich edit, so its window class exists; once, at start-up.
void LoadRichEditLibrary();

class RichEditPeer final : public WindowPeer, public IRichEditPeer {
 public:
  // The window class of the system's rich edit 2.0 and later, ANSI.
  static constexpr const char* kClassName = "RichEdit20A";

  RichEditPeer(const PeerContext& context, TRichEdit& richEdit);

  void Changed(TChange what, int32_t index) override;
  bool StreamIn(const TStreamReader& read, TStreamFormat format) override;
  void Clear() override;
  int32_t TextLength() const override;
  void CopySelection() override;
  int32_t MaxGroupDepth() const override;
  bool HasRoomFor(uint64_t documentBytes, uint64_t memoryLimit) const override;

 protected:
  std::optional<LRESULT> Reflected(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The system's object of the control's window reads the whole document as the name of an
  // unknown kind of control: the peer answers in its place.
  std::optional<LRESULT> AccessibleObject(WPARAM wParam, LPARAM lParam) const override;
  std::wstring DocumentText() const;

  HWND NewWindow() const;
  // The settings the window does not have from its creation.
  void Configure();
  void ApplySelection();
  void ApplyFont();
  void ApplyColor();
  void ShowAllScripts();
  void ReportSelection();

  TRichEdit& FRichEdit;
};

}  // namespace foyer
