// The components the windows are built from: pictures, labels, panels, list boxes, timers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Component.h"

namespace foyer {

// A picture: loads a bitmap file, can size itself to it or stretch it over its area.
class TImage : public TGraphicControl {
 public:
  explicit TImage(TWinControl* parent);
  // The picture, shared with the controls it was copied into; never null.
  const std::shared_ptr<const Picture>& GetPicture() const { return FPicture; }
  // Loads a picture file; after a failure the previous picture stays.
  void LoadFromFile(const std::string& path);
  // Shows the same picture as another control.
  void AssignPicture(const TImage& source);
  void SetPicture(std::shared_ptr<const Picture> picture);

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);

 private:
  void PictureChanged();

  std::shared_ptr<const Picture> FPicture;
  bool FAutoSize = false;
  bool FStretch = false;
};

enum class TAlignment : uint8_t { LeftJustify, RightJustify, Center };

// The text a caption shows: an ampersand is not shown and underlines the next character; two
// ampersands show one. UnderlineIndex is the shown character's position from 0, or -1.
struct TCaptionText {
  std::string Text;
  int32_t UnderlineIndex = -1;
};
TCaptionText ParseCaption(const std::string& caption);

// A caption: sizes itself to its text; transparent labels let the picture below show through.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TWinControl* parent);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment value);
  // A caption that names a file is shown as it stands (an "&" marks no access key) and, when it
  // is wider than the label, loses characters from its middle so its file name stays in view.
  bool IsPath() const { return FIsPath; }
  void SetIsPath(bool value);
  // Labels use their form's font.
  const TFont& Font() const;

 protected:
  void ParentFontChanged(const TFont& old, const TFont& font) override;

 private:
  void AdjustSize();

  std::string FCaption;
  bool FAutoSize = true;
  bool FTransparent = false;
  TAlignment FAlignment = TAlignment::LeftJustify;
  bool FIsPath = false;
};

enum class TBevelCut : uint8_t { None, Lowered, Raised };

// A framed area with bevels; a child window that holds other controls.
class TPanel : public TWinControl {
 public:
  explicit TPanel(TWinControl* parent);
  TBevelCut BevelInner() const { return FBevelInner; }
  TBevelCut BevelOuter() const { return FBevelOuter; }
  int32_t BevelWidth() const { return FBevelWidth; }
  bool HasBorder() const { return FHasBorder; }
  void SetBevels(TBevelCut inner, TBevelCut outer, int32_t width);
  void SetBorder(bool single);
  // Inside the border and both bevels.
  TRect ClientRect() const override;

 private:
  TBevelCut FBevelInner = TBevelCut::None;
  TBevelCut FBevelOuter = TBevelCut::Raised;
  int32_t FBevelWidth = 1;
  bool FHasBorder = false;
};

// A sunken frame around other controls, painted by its form.
class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TWinControl* parent);
};

// A one-line text box the user types into.
class TEdit : public TWinControl {
 public:
  explicit TEdit(TWinControl* parent);
  const std::string& Text() const { return FText; }
  // Replaces the text; the caret goes to its end, nothing selected.
  void SetText(const std::string& text);
  // Whether the whole text is selected when the box gets the focus.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool value) { FAutoSelect = value; }

  // For backends and tests: the user edited the text; stored without telling the backend again.
  void BackendTextChanged(std::string text) { FText = std::move(text); }

 private:
  std::string FText;
  bool FAutoSelect = true;
};

// A bar that fills from left to right as Position goes from 0 to Max.
class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TWinControl* parent);
  int32_t Max() const { return FMax; }
  void SetMax(int32_t value);
  int32_t Position() const { return FPosition; }
  // Kept between 0 and Max.
  void SetPosition(int32_t value);

 private:
  int32_t FMax = 100;
  int32_t FPosition = 0;
};

// A list of text rows with one selected row.
class TListBox : public TWinControl {
 public:
  explicit TListBox(TWinControl* parent);
  int32_t Count() const;
  // Adds a row at the end and returns its index.
  int32_t AddRow(const std::string& text);
  const std::string& Row(int32_t index) const;
  void SetRow(int32_t index, const std::string& text);
  void Clear();
  // The selected row, or -1. Setting it selects without raising the click event.
  int32_t ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int32_t index);
  int32_t ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int32_t value);

  // For backends and tests: the user selected a row (by mouse or keyboard): raises OnClick.
  void UserSelect(int32_t index);

 private:
  size_t Slot(int32_t index) const;

  std::vector<std::string> FRows;
  int32_t FItemIndex = -1;
  int32_t FItemHeight = 13;
};

// A push button; Default is pressed by Enter, Cancel by Escape, and a non-zero ModalResult
// closes its modal form with that result when pressed.
class TButton : public TWinControl {
 public:
  explicit TButton(TWinControl* parent);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  bool IsDefault() const { return FDefault; }
  void SetDefault(bool value);
  bool IsCancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  int32_t ModalResult() const { return FModalResult; }
  void SetModalResult(int32_t value) { FModalResult = value; }
  // Raises OnClick, then hands the button's modal result to its form.
  void Click() override;

 private:
  std::string FCaption;
  bool FDefault = false;
  bool FCancel = false;
  int32_t FModalResult = 0;
};

enum class TScrollStyle : uint8_t { None, Horizontal, Vertical, Both };

// A multi-line text area.
class TMemo : public TWinControl {
 public:
  explicit TMemo(TWinControl* parent);
  // The whole text; lines are separated by CR LF.
  const std::string& Text() const { return FText; }
  void SetText(std::string text);
  // The text as the lines the control shows: every CR LF starts a new line, an empty text has
  // none.
  std::vector<std::string> Lines() const;
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool value);

  // For backends: the user edited the text; stored without telling the backend again.
  void BackendTextChanged(std::string text) { FText = std::move(text); }

 private:
  std::string FText;
  bool FReadOnly = false;
  bool FWordWrap = true;
  TScrollStyle FScrollBars = TScrollStyle::None;
  bool FTabStop = true;
};

// A one-shot or repeating timer, run by the application's event loop.
class TTimer : public TComponent {
 public:
  TTimer() = default;
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t milliseconds);
  TNotifyEvent OnTimer;
  // Raises OnTimer when enabled; the backend calls it when the interval has passed.
  void Fire();

 private:
  void Restart();

  bool FEnabled = true;
  uint32_t FInterval = 1000;
};

enum class TMPDeviceType : uint8_t { dtAutoSelect, dtAVIVideo, dtWaveAudio, dtSequencer };
// The media control interface's name of a device type ("WaveAudio"); empty for dtAutoSelect.
const char* DeviceTypeName(TMPDeviceType type);

// Plays media files on the media control interface; the device type picks the device. It holds
// at most one device open, never shared; a video plays in the interface's own window.
class TMediaPlayer : public TComponent {
 public:
  ~TMediaPlayer() override;

  TMPDeviceType DeviceType() const { return FDeviceType; }
  void SetDeviceType(TMPDeviceType value) { FDeviceType = value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool value) { FVisible = value; }
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value) { FFileName = value; }
  bool IsOpen() const { return FIsOpen; }
  uint32_t DeviceId() const { return FDeviceId; }
  // The interface's answer to the last command (0: success).
  uint32_t Error() const { return FError; }

  // Closes the device held, then opens FileName on a device of DeviceType and asks it what it
  // can do. Raises EMCIDeviceError with the interface's text when the file cannot be opened.
  void Open();
  // Closes the device held, waiting until it is closed.
  void Close();
  // Plays the whole file from where the device stands, returning at once. Raises
  // EMCIDeviceError with the interface's text when the device refuses.
  void Play();

 private:
  uint32_t Send(MciCommand& command);

  TMPDeviceType FDeviceType = TMPDeviceType::dtAutoSelect;
  bool FVisible = true;
  std::string FFileName;
  bool FIsOpen = false;
  uint32_t FDeviceId = 0;
  uint32_t FError = 0;
};

// The text a media error shows: the interface's own, or "Unknown error code".
std::string MciErrorMessage(uint32_t error);

}  // namespace foyer
