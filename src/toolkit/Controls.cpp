// Pictures, labels, panels, list boxes and timers.
#include "toolkit/Controls.h"

#include <algorithm>

#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "util/Errors.h"

namespace foyer {

namespace {
const std::shared_ptr<const Picture>& NoPicture() {
  static const std::shared_ptr<const Picture> empty = std::make_shared<Picture>();
  return empty;
}
}  // namespace

TImage::TImage(TWinControl* parent) : TGraphicControl(parent), FPicture(NoPicture()) {
  StoreBounds(0, 0, 105, 105);
}

void TImage::LoadFromFile(const std::string& path) {
  SetPicture(std::make_shared<const Picture>(LoadPicture(path)));
}

void TImage::AssignPicture(const TImage& source) {
  SetPicture(source.FPicture);
}

void TImage::SetPicture(std::shared_ptr<const Picture> picture) {
  FPicture = picture != nullptr ? std::move(picture) : NoPicture();
  PictureChanged();
}

void TImage::SetAutoSize(bool value) {
  FAutoSize = value;
  PictureChanged();
}

void TImage::SetStretch(bool value) {
  if (value == FStretch) return;
  FStretch = value;
  Invalidate();
}

void TImage::PictureChanged() {
  if (FAutoSize && FPicture->Width > 0 && FPicture->Height > 0) {
    SetBounds(Left(), Top(), FPicture->Width, FPicture->Height);
  }
  Invalidate();
}

TCaptionText ParseCaption(const std::string& caption) {
  TCaptionText result;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      ++i;
      if (i == caption.size()) break;
      if (caption[i] != '&') result.UnderlineIndex = static_cast<int32_t>(result.Text.size());
    }
    result.Text.push_back(caption[i]);
  }
  return result;
}

TLabel::TLabel(TWinControl* parent) : TGraphicControl(parent) {
  StoreBounds(0, 0, 65, 13);
  AdjustSize();
}

const TFont& TLabel::Font() const {
  static const TFont kDefault;
  return Parent() != nullptr ? Parent()->Font() : kDefault;
}

void TLabel::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  AdjustSize();
  Changed(TChange::Text);
}

void TLabel::SetAutoSize(bool value) {
  FAutoSize = value;
  AdjustSize();
}

void TLabel::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TLabel::SetIsPath(bool value) {
  if (value == FIsPath) return;
  FIsPath = value;
  Invalidate();
}

void TLabel::ParentFontChanged(const TFont&, const TFont&) {
  AdjustSize();
  Invalidate();
}

void TLabel::AdjustSize() {
  if (!FAutoSize) return;
  // An empty caption still measures one space high, so the label never collapses.
  std::string shown = ParseCaption(FCaption).Text;
  if (shown.empty()) shown.push_back(' ');
  const TSize size = Application().Backend().MeasureText(Font(), shown);
  SetBounds(Left(), Top(), size.Width, size.Height);
}

TPanel::TPanel(TWinControl* parent) : TWinControl(parent) {
  StoreBounds(0, 0, 185, 41);
}

void TPanel::SetBevels(TBevelCut inner, TBevelCut outer, int32_t width) {
  FBevelInner = inner;
  FBevelOuter = outer;
  FBevelWidth = width;
  Changed(TChange::Style, -1);
  Realign();
}

void TPanel::SetBorder(bool single) {
  FHasBorder = single;
  Changed(TChange::Style, -1);
  Realign();
}

TRect TPanel::ClientRect() const {
  int32_t inset = FHasBorder ? 1 : 0;
  if (FBevelOuter != TBevelCut::None) inset += FBevelWidth;
  if (FBevelInner != TBevelCut::None) inset += FBevelWidth;
  return {inset, inset, Width() - inset, Height() - inset};
}

TBevel::TBevel(TWinControl* parent) : TGraphicControl(parent) {
  StoreBounds(0, 0, 50, 50);
}

TEdit::TEdit(TWinControl* parent) : TWinControl(parent) {
  SetColor(clWindow);
  StoreBounds(0, 0, 121, 21);
}

void TEdit::SetText(const std::string& text) {
  FText = text;
  Changed(TChange::Text);
}

TProgressBar::TProgressBar(TWinControl* parent) : TWinControl(parent) {
  StoreBounds(0, 0, 150, 16);
}

void TProgressBar::SetMax(int32_t value) {
  FMax = std::max(value, 1);
  FPosition = std::min(FPosition, FMax);
  Changed(TChange::Style);
}

void TProgressBar::SetPosition(int32_t value) {
  const int32_t position = std::clamp(value, 0, FMax);
  if (position == FPosition) return;
  FPosition = position;
  Changed(TChange::Selection);
}

TListBox::TListBox(TWinControl* parent) : TWinControl(parent) {
  SetColor(clWindow);
  StoreBounds(0, 0, 121, 97);
}

int32_t TListBox::Count() const {
  return static_cast<int32_t>(FRows.size());
}

size_t TListBox::Slot(int32_t index) const {
  if (index < 0 || index >= Count()) throw ERangeError();
  return static_cast<size_t>(index);
}

int32_t TListBox::AddRow(const std::string& text) {
  FRows.push_back(text);
  const int32_t index = Count() - 1;
  Changed(TChange::RowAdded, index);
  return index;
}

const std::string& TListBox::Row(int32_t index) const {
  return FRows[Slot(index)];
}

void TListBox::SetRow(int32_t index, const std::string& text) {
  FRows[Slot(index)] = text;
  Changed(TChange::RowText, index);
}

void TListBox::Clear() {
  FRows.clear();
  FItemIndex = -1;
  Changed(TChange::RowsCleared, -1);
}

void TListBox::SetItemIndex(int32_t index) {
  FItemIndex = index >= 0 && index < Count() ? index : -1;
  Changed(TChange::Selection, FItemIndex);
}

void TListBox::SetItemHeight(int32_t value) {
  FItemHeight = value;
  Changed(TChange::Style, -1);
}

void TListBox::UserSelect(int32_t index) {
  FItemIndex = index >= 0 && index < Count() ? index : -1;
  Click();
}

TButton::TButton(TWinControl* parent) : TWinControl(parent) {
  StoreBounds(0, 0, 75, 25);
}

void TButton::SetCaption(const std::string& caption) {
  if (caption == FCaption) return;
  FCaption = caption;
  Changed(TChange::Text, -1);
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  Changed(TChange::Style, -1);
}

void TButton::Click() {
  TControl::Click();
  if (FModalResult != mrNone) {
    if (TForm* form = ParentForm()) form->SetModalResult(FModalResult);
  }
}

TMemo::TMemo(TWinControl* parent) : TWinControl(parent) {
  SetColor(clWindow);
  StoreBounds(0, 0, 185, 89);
}

void TMemo::SetText(std::string text) {
  FText = std::move(text);
  Changed(TChange::Text, -1);
}

std::vector<std::string> TMemo::Lines() const {
  std::vector<std::string> lines;
  if (FText.empty()) return lines;
  size_t start = 0;
  for (;;) {
    const size_t end = FText.find("\r\n", start);
    lines.push_back(FText.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) return lines;
    start = end + 2;
  }
}

void TMemo::SetReadOnly(bool value) {
  FReadOnly = value;
  Changed(TChange::Style, -1);
}

void TMemo::SetWordWrap(bool value) {
  FWordWrap = value;
  Changed(TChange::Style, -1);
}

void TMemo::SetScrollBars(TScrollStyle value) {
  FScrollBars = value;
  Changed(TChange::Style, -1);
}

void TMemo::SetTabStop(bool value) {
  FTabStop = value;
  Changed(TChange::Style, -1);
}

TTimer::~TTimer() {
  if (FEnabled) {
    FEnabled = false;
    Restart();
  }
}

void TTimer::SetEnabled(bool value) {
  if (value == FEnabled) return;
  FEnabled = value;
  Restart();
}

void TTimer::SetInterval(uint32_t milliseconds) {
  if (milliseconds == FInterval) return;
  FInterval = milliseconds;
  Restart();
}

void TTimer::Restart() {
  Application().Backend().TimerChanged(*this);
}

void TTimer::Fire() {
  if (FEnabled && OnTimer) OnTimer(this);
}

std::string MciErrorMessage(uint32_t error) {
  std::string text;
  IMedia* media = Platform().Media;
  if (media == nullptr || !media->ErrorText(error, text)) return "Unknown error code";
  return text;
}

const char* DeviceTypeName(TMPDeviceType type) {
  switch (type) {
    case TMPDeviceType::dtWaveAudio:
      return "WaveAudio";
    case TMPDeviceType::dtSequencer:
      return "Sequencer";
    case TMPDeviceType::dtAVIVideo:
      return "AVIVideo";
    case TMPDeviceType::dtAutoSelect:
      break;
  }
  return "";
}

namespace {

MciCommand Command(uint32_t device, uint32_t message, uint32_t flags, uint32_t item = 0) {
  MciCommand command;
  command.DeviceId = device;
  command.Message = message;
  command.Flags = flags;
  command.Item = item;
  return command;
}

}  // namespace

TMediaPlayer::~TMediaPlayer() {
  // The program is ending: a device left open would keep playing, or stay taken.
  if (FIsOpen && Platform().Media != nullptr) Close();
}

uint32_t TMediaPlayer::Send(MciCommand& command) {
  FError = Platform().Media->SendCommand(command);
  return FError;
}

void TMediaPlayer::Close() {
  if (!FIsOpen) return;
  MciCommand close = Command(FDeviceId, kMciClose, kMciWait);
  if (Send(close) != 0) return;
  FIsOpen = false;
  FDeviceId = 0;
}

void TMediaPlayer::Open() {
  Close();
  MciCommand open = Command(0, kMciOpen, kMciWait);
  if (!FFileName.empty()) {
    open.Flags |= kMciOpenElement;
    open.Element = FFileName;
  }
  if (FDeviceType != TMPDeviceType::dtAutoSelect) {
    open.Flags |= kMciOpenType;
    open.DeviceType = DeviceTypeName(FDeviceType);
  }
  if (Send(open) != 0) throw EMCIDeviceError(MciErrorMessage(FError));
  FIsOpen = true;
  FDeviceId = open.Answer;

  // What the device is and can do; nothing here depends on the answers.
  bool hasVideo = false;
  for (const auto& [message, item] :
       {std::pair{kMciStatus, kMciStatusLength}, std::pair{kMciStatus, kMciStatusMode},
        std::pair{kMciGetDevCaps, kMciCapsCanPlay}, std::pair{kMciGetDevCaps, kMciCapsCanRecord},
        std::pair{kMciGetDevCaps, kMciCapsCanEject}, std::pair{kMciGetDevCaps, kMciCapsHasVideo},
        std::pair{kMciGetDevCaps, kMciCapsDeviceType}}) {
    MciCommand query = Command(FDeviceId, message, kMciWait | kMciItem, item);
    if (Send(query) == 0 && item == kMciCapsHasVideo && message == kMciGetDevCaps) {
      hasVideo = query.Answer != 0;
    }
  }
  if (hasVideo) {
    MciCommand where = Command(FDeviceId, kMciWhere, kMciWait | kMciWhereSource);
    Send(where);
  }
  FError = 0;
}

void TMediaPlayer::Play() {
  MciCommand play = Command(FDeviceId, kMciPlay, kMciNotify);
  if (Send(play) != 0) throw EMCIDeviceError(MciErrorMessage(FError));
}

}  // namespace foyer
