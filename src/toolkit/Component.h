// Components hold their own state; a bound component tells its backend peer what changed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Types.h"

namespace foyer {

class TWinControl;
class TGraphicControl;
class TForm;

// What a peer is told has changed; it reads the new value from its component.
enum class TChange : uint8_t {
  Bounds,
  Visible,
  Enabled,
  Text,  // caption or text
  Font,
  Color,
  Picture,
  RowAdded,  // index: the new row
  RowText,   // index: the changed row
  RowsCleared,
  Selection,
  Style,    // borders, bevels, scroll bars and other look settings
  Repaint,  // a graphic child changed: index unused, area given separately
  Focus,    // a form's active control changed
  Name,     // the name assistive technology reads
};

// The window behind a windowed component, on a real backend.
class IWindowPeer {
 public:
  virtual ~IWindowPeer() = default;
  virtual void Changed(TChange what, int32_t index) = 0;
  // A graphic control this window paints changed inside the given area (client coordinates).
  virtual void InvalidateArea(const TRect& area) = 0;
  // Paints what is pending now, instead of when the event loop gets to it.
  virtual void Update() = 0;
  // A graphic control on this window changed what assistive technology reads of it.
  virtual void GraphicChanged(TGraphicControl& /*control*/, TChange /*what*/) {}
};

class TComponent {
 public:
  TComponent() = default;
  virtual ~TComponent() = default;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return FName; }
  void SetName(std::string name) { FName = std::move(name); }
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t tag) { FTag = tag; }

 private:
  std::string FName;
  int32_t FTag = 0;
};

class TControl : public TComponent {
 public:
  ~TControl() override;
  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  TRect BoundsRect() const;
  void SetLeft(int32_t value) { SetBounds(value, FTop, FWidth, FHeight); }
  void SetTop(int32_t value) { SetBounds(FLeft, value, FWidth, FHeight); }
  void SetWidth(int32_t value) { SetBounds(FLeft, FTop, value, FHeight); }
  void SetHeight(int32_t value) { SetBounds(FLeft, FTop, FWidth, value); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);

  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);

  // What assistive technology calls the control; empty: its caption, or the caption of the label
  // that names it.
  const std::string& AccessibleName() const { return FAccessibleName; }
  void SetAccessibleName(const std::string& name);

  TWinControl* Parent() const { return FParent; }
  // The form this control lies on, or itself for a form.
  TForm* ParentForm();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  // Raise the events as the user's input does.
  virtual void Click();
  void DblClick();

 protected:
  explicit TControl(TWinControl* parent);
  // A property the user sees changed: graphic controls repaint, windowed ones tell their peer.
  virtual void Changed(TChange what, int32_t index = -1) = 0;
  // The parent's font changed from old to font: a control that had its parent's font follows
  // it, a label that sizes itself measures its caption again.
  virtual void ParentFontChanged(const TFont& /*old*/, const TFont& /*font*/) {}
  // Where the backend writes back a size the user changed, without telling the backend again.
  void StoreBounds(int32_t left, int32_t top, int32_t width, int32_t height);

 private:
  friend class TWinControl;
  TWinControl* FParent;
  int32_t FLeft = 0;
  int32_t FTop = 0;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  std::string FAccessibleName;
};

// A control without a window of its own, painted by its form in z-order.
class TGraphicControl : public TControl {
 public:
  // Repaints the control's area.
  void Invalidate();
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;

 protected:
  explicit TGraphicControl(TWinControl* parent);
  void Changed(TChange what, int32_t index = -1) override;
};

// A control with a window of its own on a real backend (panels, lists, forms, ...).
class TWinControl : public TControl {
 public:
  ~TWinControl() override;
  // Children in z-order, bottom first: graphic controls, then windowed ones above them.
  const std::vector<TControl*>& Controls() const { return FControls; }
  IWindowPeer* Peer() const { return FPeer.get(); }
  bool IsBound() const { return FPeer != nullptr; }
  // Creates the peer of this control and of its windowed children (does nothing headless).
  void Bind();
  // Paints pending changes now.
  void Update();

  // The area inside borders and bevels where children are placed.
  virtual TRect ClientRect() const;
  int32_t ClientWidth() const { return ClientRect().Right - ClientRect().Left; }
  int32_t ClientHeight() const { return ClientRect().Bottom - ClientRect().Top; }

  const TFont& Font() const { return FFont; }
  void SetFont(const TFont& font);
  TColor Color() const { return FColor; }
  void SetColor(TColor color);

  // Makes the child fill this control's client area, and keeps it so.
  void AlignClient(TControl& child);

  // For backends: the user resized or moved the window.
  void BackendBoundsChanged(int32_t left, int32_t top, int32_t width, int32_t height);
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;

 protected:
  explicit TWinControl(TWinControl* parent);
  void Changed(TChange what, int32_t index = -1) override;
  void ParentFontChanged(const TFont& old, const TFont& font) override;
  virtual void Resized() {}
  void Realign();

 private:
  friend class TControl;
  void AddChild(TControl* child);
  void RemoveChild(TControl* child);

  std::vector<TControl*> FControls;
  std::unique_ptr<IWindowPeer> FPeer;
  TControl* FAlignedChild = nullptr;
  TFont FFont;
  TColor FColor = clBtnFace;
};

}  // namespace foyer
