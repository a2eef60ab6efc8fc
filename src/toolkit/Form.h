// A top-level window: owns its components, paints its graphic controls, shows modally.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Controls.h"

namespace foyer {

// The keys a form with buttons answers itself, whatever control has the focus.
enum class TDialogKey : uint8_t { Enter, Escape };

// The keys that move the focus or press what has it.
enum class TKey : uint8_t { Tab, Left, Up, Right, Down, Space, Enter };

// A stop of the keyboard's focus: a windowed control, or a picture that acts as a button, with
// the label that captions it.
struct TTabStop {
  TControl* Control = nullptr;
  TLabel* Caption = nullptr;
};

enum class TBorderStyle : uint8_t { Sizeable, Single, Dialog, None };
enum class TPosition : uint8_t { Designed, Default, DefaultPosOnly, ScreenCenter };

struct TBorderIcons {
  bool SystemMenu = true;
  bool Minimize = true;
  bool Maximize = true;
};

class TForm : public TWinControl {
 public:
  TForm();
  ~TForm() override;

  // Creates a component owned by this form; it lives as long as the form.
  template <typename T, typename... Args>
  T* Create(Args&&... args) {
    auto component = std::make_unique<T>(std::forward<Args>(args)...);
    T* result = component.get();
    FComponents.push_back(std::move(component));
    if constexpr (std::is_base_of_v<TWinControl, T>) {
      if (IsBound()) result->Bind();
    }
    return result;
  }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);

  // The client area's size; the outer size follows from the borders the backend draws.
  void SetClientSize(int32_t width, int32_t height);
  TRect ClientRect() const override { return {0, 0, FClientWidth, FClientHeight}; }

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value) { FBorderStyle = value; }
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons value) { FBorderIcons = value; }
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition value) { FPosition = value; }
  // Screen pixels per inch the form was designed for; sizes scale to those of its monitor.
  int32_t DesignPixelsPerInch() const { return FDesignPixelsPerInch; }
  void SetDesignPixelsPerInch(int32_t value) { FDesignPixelsPerInch = value; }
  // The pixels per inch of the monitor the form's window is on: the screen's until the backend
  // says otherwise.
  int32_t PixelsPerInch() const;
  // A length designed for DesignPixelsPerInch, at the form's pixels per inch. The one rounding
  // rule of every layout: designed * PixelsPerInch / DesignPixelsPerInch, truncated toward zero
  // (so a design at 96 is drawn unchanged at 96, and a font height of -11 becomes -16 at 144).
  int32_t Scaled(int32_t designed) const;
  // Places a control at bounds designed for DesignPixelsPerInch, and again at every change of
  // the form's pixels per inch.
  void PlaceScaled(TControl& control, int32_t left, int32_t top, int32_t width, int32_t height);
  // The form's font and client size, designed for DesignPixelsPerInch and kept scaled likewise.
  void SetScaledFont(const TFont& designed);
  void SetScaledClientSize(int32_t width, int32_t height);
  // For backends: the form's window is now on a monitor of other pixels per inch (it moved, or
  // was made there). The scaled placements, font and client size are applied again, then
  // OnPixelsPerInchChange lays out the rest; the backend then gives the window its new frame.
  void BackendPixelsPerInchChanged(int32_t value);
  TNotifyEvent OnPixelsPerInchChange;

  // The control that gets the focus when the form is shown, or null (the form itself). Setting it
  // on a shown form moves the focus there.
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);

  // The order Tab moves the focus in. A picture in it acts as a button: it takes the focus, looks
  // lighter under the pointer and darker while pressed, and Space, Enter or its caption's access
  // key click it. Stops that are hidden or disabled, or whose caption is, are passed over.
  void SetTabOrder(std::vector<TTabStop> order);
  const std::vector<TTabStop>& TabOrder() const { return FTabOrder; }
  // The tab stop with the focus, or null; a picture has it while the form's window has it.
  TControl* Focused() const { return FFocused; }
  void FocusControl(TControl* control);
  // Whether the focus is shown: only once the keyboard has been used, as the system does.
  bool FocusCues() const { return FFocusCues; }
  // For backends: the system shows or hides focus cues (the user's setting, a key).
  void SetFocusCues(bool value);
  // The picture button a control belongs to (itself, or the one its caption lies on), or null.
  TImage* PictureButtonOf(const TControl* control) const;
  // The picture button under the pointer, and the one held down by it.
  TImage* HotButton() const { return FHot; }
  TImage* DownButton() const { return FDown; }

  // A key the form takes before its focused control; false when it left the key alone. The
  // arrows move between the pictures as they lie on the form; Enter in a list that has a
  // double-click handler acts as a double click on its selected row.
  bool KeyDown(TKey key, bool shift);
  // A caption's access key, typed with Alt, or without while no windowed control has the focus:
  // clicks the one stop it marks, or moves the focus among several. False when none has it.
  bool AccessKey(char key, bool alt);
  // The pointer, in client coordinates: hovering, pressing (the press lands on the topmost
  // graphic control, as a click does), releasing (a click when it is still on that control),
  // leaving the window, and the second press of a double click.
  void MouseMove(TPoint point);
  void MouseLeave();
  void MouseDown(TPoint point);
  void MouseUp(TPoint point);
  void MouseDoubleClick(TPoint point);
  // The press ended without a release over the window (another window took the mouse).
  void MouseCaptureLost();
  // For backends: the focus lies on a windowed control of the form, or on the form itself (null).
  void BackendFocusChanged(TWinControl* control);

  // Presses the button a dialog key stands for, as a click: Escape the cancel button, Enter the
  // default one. Buttons that are hidden or disabled, or lie on a hidden or disabled panel, do
  // not count. False when there is none.
  bool PressDialogKey(TDialogKey key);
  // Whether any button lies on the form: only such forms treat keys as a dialog does.
  bool HasButtons() const;
  // The control the scrolling keys (the arrows, Page Up and Down, Ctrl+Home and Ctrl+End)
  // scroll while a button has the focus, so that a text that is no tab stop can still be read
  // from the keyboard alone; null for none.
  TWinControl* ScrollTarget() const { return FScrollTarget; }
  void SetScrollTarget(TWinControl* control) { FScrollTarget = control; }
  // Whether Escape closes a form that has no button for it to press (a picture viewer).
  bool EscapeCloses() const { return FEscapeCloses; }
  void SetEscapeCloses(bool value) { FEscapeCloses = value; }

  // The graphic control at a client point that takes the mouse: the topmost visible and enabled
  // one, searched in reverse z-order, so a label lying on a picture takes the click.
  TGraphicControl* ControlAt(TPoint point) const;

  // Centres the outer frame on the screen; halvings truncate toward zero, and clampToScreen
  // turns a negative coordinate into 0.
  void CenterOnScreen(bool clampToScreen);
  bool WasShown() const { return FWasShown; }

  // Shows the form modally and returns its modal result when it closes.
  int32_t ShowModal();
  int32_t ModalResult() const { return FModalResult; }
  // A non-zero result ends a modal showing.
  void SetModalResult(int32_t value);
  // Closes the form: ends a modal showing with Cancel, or hides it; closing the main form ends
  // the program.
  void Close();
  bool IsShowingModal() const { return FShowingModal; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnResize;
  // Asked before the form closes; set canClose to false to keep it open.
  std::function<void(TComponent* sender, bool& canClose)> OnCloseQuery;

  // For the application and backends.
  void DoCreate();
  // Runs OnShow before the form becomes visible; a screen-centred form is centred the first
  // time, and later showings keep the place the user left it at.
  void DoShow();
  bool CloseQuery();
  void BackendClientResized(int32_t width, int32_t height);
  void BeginModal();
  void EndModal();
  // For the components: a control of this form is going away.
  void ControlDestroyed(const TControl& control);

 protected:
  void Resized() override;

 private:
  bool CanFocus(const TTabStop& stop) const;
  int32_t StopIndex(const TControl* control) const;
  bool MoveFocus(TKey key, bool shift);
  void SetHot(TImage* button);
  void SetDown(TImage* button);

  std::vector<std::unique_ptr<TComponent>> FComponents;
  std::string FCaption;
  int32_t FClientWidth = 0;
  int32_t FClientHeight = 0;
  TBorderStyle FBorderStyle = TBorderStyle::Sizeable;
  TBorderIcons FBorderIcons;
  TPosition FPosition = TPosition::Designed;
  int32_t FDesignPixelsPerInch = 96;
  // 0 until the backend tells the pixels per inch of the window's monitor.
  int32_t FPixelsPerInch = 0;
  struct TScaledPlace {
    TControl* Control;
    TRect Designed;
  };
  std::vector<TScaledPlace> FScaledPlaces;
  std::optional<TFont> FScaledFont;
  std::optional<TSize> FScaledClientSize;
  int32_t FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  std::vector<TTabStop> FTabOrder;
  TControl* FFocused = nullptr;
  bool FFocusCues = false;
  TImage* FHot = nullptr;
  TImage* FDown = nullptr;
  // The graphic control a press of the mouse's button landed on, until it is released.
  TGraphicControl* FPressed = nullptr;
  TWinControl* FScrollTarget = nullptr;
  bool FEscapeCloses = false;
  bool FShowingModal = false;
  bool FWasShown = false;
};

}  // namespace foyer
