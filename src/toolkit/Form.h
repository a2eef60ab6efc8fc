// A top-level window: owns its components, paints its graphic controls, shows modally.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Controls.h"

namespace foyer {

// The keys a form with buttons answers itself, whatever control has the focus.
enum class TDialogKey : uint8_t { Enter, Escape };

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
  // Screen pixels per inch the form was designed for; sizes scale to the real screen's.
  int32_t DesignPixelsPerInch() const { return FDesignPixelsPerInch; }
  void SetDesignPixelsPerInch(int32_t value) { FDesignPixelsPerInch = value; }
  // A length designed for DesignPixelsPerInch, on this screen.
  int32_t Scaled(int32_t designed) const;
  // Places a control at bounds designed for DesignPixelsPerInch.
  void PlaceScaled(TControl& control, int32_t left, int32_t top, int32_t width,
                   int32_t height) const;

  // The control that gets the focus when the form is shown, or null (the form itself). Setting it
  // on a shown form moves the focus there.
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* control);

  // Presses the button a dialog key stands for, as a click: Escape the cancel button, Enter the
  // default one. Buttons that are hidden or disabled, or lie on a hidden or disabled panel, do
  // not count. False when there is none.
  bool PressDialogKey(TDialogKey key);
  // Whether any button lies on the form: only such forms treat keys as a dialog does.
  bool HasButtons() const;

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
  std::vector<std::unique_ptr<TComponent>> FComponents;
  std::string FCaption;
  int32_t FClientWidth = 0;
  int32_t FClientHeight = 0;
  TBorderStyle FBorderStyle = TBorderStyle::Sizeable;
  TBorderIcons FBorderIcons;
  TPosition FPosition = TPosition::Designed;
  int32_t FDesignPixelsPerInch = 96;
  int32_t FModalResult = mrNone;
  TWinControl* FActiveControl = nullptr;
  bool FShowingModal = false;
  bool FWasShown = false;
};

}  // namespace foyer
