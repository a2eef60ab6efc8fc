// The main window: start-up, skin, category buttons and layout.
#include "main/UMain.h"

#include <algorithm>

#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "util/Path.h"

namespace foyer {

std::string RootDir;
std::string LayoutDir;
TMainForm* MainForm = nullptr;

namespace {

// Designed at 96 pixels per inch, as every length of the main window.
constexpr int32_t kMargin = 8;
// A picture button's size while it has no picture.
constexpr int32_t kButtonWidth = 105;
constexpr int32_t kButtonHeight = 41;

// A path that names its drive and starts at its top folder, or a network path.
bool IsAbsolutePath(const std::string& path) {
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

}  // namespace

TProgramArgs& ProgramArgs() {
  static TProgramArgs args;
  return args;
}

std::vector<std::string> SplitParams(const std::string& commandLine) {
  std::vector<std::string> parts;
  size_t i = 0;
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (true) {
    while (i < commandLine.size() && isBlank(commandLine[i]))
      ++i;
    if (i >= commandLine.size()) break;
    std::string part;
    bool quoted = false;
    for (; i < commandLine.size() && (quoted || !isBlank(commandLine[i])); ++i) {
      if (commandLine[i] == '"') {
        quoted = !quoted;
      } else {
        part.push_back(commandLine[i]);
      }
    }
    parts.push_back(std::move(part));
  }
  if (!parts.empty()) parts.erase(parts.begin());
  return parts;
}

TMainForm::TMainForm() {
  SetName("MainForm");
  SetScaledClientSize(622, 443);
  SetScaledFont({"MS Sans Serif", -11, clWindowText});
  SetColor(clAppWorkSpace);
  SetPosition(TPosition::Default);

  BackImage = Create<TImage>(this);
  BackImage->SetName("BackImage");
  BackImage->SetBounds(0, 0, ClientWidth(), ClientHeight());
  BackImage->SetAutoSize(true);
  BackImage->SetStretch(true);
  BackImage->OnDblClick = Handler(this, &TMainForm::BackImageDblClick);

  QuitBtn = Create<TImage>(this);
  QuitBtn->SetName("QuitBtn");
  PlaceScaled(*QuitBtn, kMargin, 392, kButtonWidth, kButtonHeight);
  QuitBtn->SetStretch(true);
  QuitBtn->OnClick = Handler(this, &TMainForm::QuitBtnClick);

  Action1Btn = Create<TImage>(this);
  Action2Btn = Create<TImage>(this);
  Action3Btn = Create<TImage>(this);
  int32_t designTop = 392;
  for (TImage* button : {Action1Btn, Action2Btn, Action3Btn}) {
    PlaceScaled(*button, 509, designTop, kButtonWidth, kButtonHeight);
    button->SetStretch(true);
    designTop -= 49;
  }
  Action1Btn->SetName("Action1Btn");
  Action2Btn->SetName("Action2Btn");
  Action3Btn->SetName("Action3Btn");
  Action1Btn->OnClick = Handler(this, &TMainForm::Action1BtnClick);
  Action2Btn->OnClick = Handler(this, &TMainForm::Action2BtnClick);
  Action3Btn->OnClick = Handler(this, &TMainForm::Action3BtnClick);

  QuitLabel = Create<TLabel>(this);
  QuitLabel->SetName("QuitLabel");
  QuitLabel->SetCaption("&Quit");
  QuitLabel->SetAlignment(TAlignment::Center);
  QuitLabel->SetTransparent(true);
  CenterLabel(*QuitBtn, *QuitLabel);
  QuitLabel->OnClick = Handler(this, &TMainForm::QuitBtnClick);

  Action1Label = Create<TLabel>(this);
  Action2Label = Create<TLabel>(this);
  Action3Label = Create<TLabel>(this);
  const char* captions[] = {"Action1", "Action2", "Action3"};
  TLabel* labels[] = {Action1Label, Action2Label, Action3Label};
  TImage* buttons[] = {Action1Btn, Action2Btn, Action3Btn};
  for (int i = 0; i < 3; ++i) {
    labels[i]->SetName(captions[i] + std::string("Label"));
    labels[i]->SetCaption(captions[i]);
    labels[i]->SetTransparent(true);
    labels[i]->Hide();
    CenterLabel(*buttons[i], *labels[i]);
    labels[i]->OnClick = buttons[i]->OnClick;
  }

  TextPanel = Create<TPanel>(this);
  TextPanel->SetName("TextPanel");
  PlaceScaled(*TextPanel, 128, 120, 393, 313);
  TextPanel->SetBorder(true);
  TextPanel->Hide();

  TextBox = Create<TListBox>(TextPanel);
  TextBox->SetName("TextBox");
  TextPanel->AlignClient(*TextBox);
  TextBox->OnClick = Handler(this, &TMainForm::TextBoxClick);
  TextBox->OnDblClick = Handler(this, &TMainForm::Action1BtnClick);

  MPlay = Create<TMediaPlayer>();
  FWindowActions = std::make_unique<TWindowActions>(*MPlay);
  FActions = FWindowActions.get();
  MPlay->SetName("MPlay");
  MPlay->SetVisible(false);

  InitTimer = Create<TTimer>();
  InitTimer->SetName("InitTimer");
  InitTimer->SetEnabled(false);
  InitTimer->SetInterval(500);
  InitTimer->OnTimer = Handler(this, &TMainForm::InitTimerTimer);

  OnCreate = Handler(this, &TMainForm::FormCreate);
  OnResize = Handler(this, &TMainForm::FormResize);
  OnPixelsPerInchChange = Handler(this, &TMainForm::FormPixelsPerInchChange);
  FormPixelsPerInchChange(this);
}

void TMainForm::FormPixelsPerInchChange(TComponent*) {
  TextPanel->SetBevels(TBevelCut::Lowered, TBevelCut::Raised, Scaled(5));
  // A fixed-pitch font, so that the descriptions begin in one column; rows as high as it.
  TextBox->SetFont({"Terminal", Scaled(12), clWindowText});
  TextBox->SetItemHeight(Scaled(12));
  const std::pair<TImage*, TLabel*> buttons[] = {{QuitBtn, QuitLabel},
                                                 {Action1Btn, Action1Label},
                                                 {Action2Btn, Action2Label},
                                                 {Action3Btn, Action3Label}};
  for (const auto& [button, label] : buttons) {
    SizeButton(*button);
    CenterLabel(*button, *label);
  }
  for (int32_t slot = 1; slot <= FCatCount; ++slot)
    SizeButton(*FCatBtns[slot]);
  FormResize(this);
}

void TMainForm::SizeButton(TImage& button) {
  const Picture& picture = *button.GetPicture();
  const bool hasPicture = picture.Width > 0 && picture.Height > 0;
  button.SetBounds(button.Left(), button.Top(), Scaled(hasPicture ? picture.Width : kButtonWidth),
                   Scaled(hasPicture ? picture.Height : kButtonHeight));
}

void TMainForm::FormCreate(TComponent*) {
  FInitDone = false;
  FindRootDir();
  FList.Mode = lmNone;
  FCatCount = 0;
  InitTimer->SetEnabled(true);
}

void TMainForm::FindRootDir() {
  const TProgramArgs& args = ProgramArgs();
  const std::string& exe = args.ExePath;
  const size_t lastSlash = exe.find_last_of('\\');
  const std::string exeFolder = lastSlash == std::string::npos ? "" : exe.substr(0, lastSlash + 1);
  const std::string exeName = lastSlash == std::string::npos ? exe : exe.substr(lastSlash + 1);

  RootDir = args.Params.empty() ? exeFolder : args.Params.front();
  // The system takes a forward slash for a backslash; the rest of the program splits paths at
  // backslashes only.
  std::replace(RootDir.begin(), RootDir.end(), '/', '\\');
  SetCaption(LeftStr(exeName, CheckedSub(CheckedInt32(CharLength(exeName)), 4)));
  AddBackslash(RootDir);

  // "bin.dat\" is stripped only when it is the whole last folder name.
  const std::string tail = RightStr(RootDir, 8);
  if (SameName(tail, std::string(kProgramFolder) + "\\")) {
    // Counted in bytes: the tail's characters may take other bytes than the name's.
    const size_t keep = RootDir.size() - tail.size();
    const char before = keep > 0 ? RootDir[keep - 1] : '\\';
    if (before == '\\' || before == ':') {
      RootDir = RootDir.substr(0, keep);
      AddBackslash(RootDir);
    }
  }

  // The install dialog and the run action move the current folder: a relative root is fixed
  // now, while it still means what the user meant.
  if (!IsAbsolutePath(RootDir)) {
    IFileSystem& fs = *Platform().Fs;
    RootDir = RootDir.empty() ? fs.GetCurrentDir() : fs.FullPath(RootDir);
    AddBackslash(RootDir);
  }
}

std::string SkinFolderFor(int32_t bitsPerPixel) {
  return JoinPath(kSkinFolder, bitsPerPixel < 16 ? "rgb256" : "tc24");
}

void TMainForm::ChooseLayoutDir() {
  LayoutDir = JoinPath(RootDir, SkinFolderFor(Platform().Display->BitsPerPixel()));
}

void TMainForm::LoadBackground() {
  BackImage->LoadFromFile(JoinPath(LayoutDir, kBackPicture));
}

void TMainForm::SetupButtons() {
  QuitBtn->LoadFromFile(JoinPath(LayoutDir, kButtonPicture));
  SizeButton(*QuitBtn);
  CenterLabel(*QuitBtn, *QuitLabel);
  QuitLabel->Show();
  const std::pair<TImage*, TLabel*> actions[] = {
      {Action1Btn, Action1Label}, {Action2Btn, Action2Label}, {Action3Btn, Action3Label}};
  for (const auto& [button, label] : actions) {
    button->AssignPicture(*QuitBtn);
    SizeButton(*button);
    CenterLabel(*button, *label);
    button->Hide();
    label->Hide();
  }

  int32_t counter = 0;
  const FindResult found = FindFiles(*Platform().Fs, JoinPath(RootDir, "*"), faDirectory);
  for (const DirEntry& entry : found.Entries) {
    const TLeftOut why = LeftOutAsCategory(entry, counter);
    if (why == TLeftOut::BeyondLast) break;
    if (why != TLeftOut::No) continue;
    counter = CheckedAdd(counter, 1);
    AddCategory(entry.Name, counter);
  }
  FCatCount = counter;

  // The focus goes down the left column of categories and the right one, to the list, up the
  // action buttons from the bottom, and to Quit.
  std::vector<TTabStop> order;
  for (int32_t slot = 1; slot <= FCatCount; ++slot)
    order.push_back({FCatBtns[slot], FCatLabels[slot]});
  order.push_back({TextBox});
  order.push_back({Action1Btn, Action1Label});
  order.push_back({Action2Btn, Action2Label});
  order.push_back({Action3Btn, Action3Label});
  order.push_back({QuitBtn, QuitLabel});
  SetTabOrder(std::move(order));
}

void TMainForm::AddCategory(const std::string& folder, int32_t slot) {
  TImage* button = Create<TImage>(this);
  FCatBtns[slot] = button;
  button->SetStretch(true);
  button->AssignPicture(*QuitBtn);
  SizeButton(*button);
  const TPoint position = CategoryPos(slot);
  button->SetBounds(position.X, position.Y, button->Width(), button->Height());
  button->SetTag(slot);
  button->OnClick = Handler(this, &TMainForm::CategoryClick);

  TLabel* label = Create<TLabel>(this);
  FCatLabels[slot] = label;
  label->SetAutoSize(true);
  label->SetCaption(folder);
  label->SetTransparent(true);
  CenterLabel(*button, *label);
  label->SetTag(slot);
  label->OnClick = Handler(this, &TMainForm::CategoryClick);

  FCatNames[slot] = folder;
  FormResize(this);
}

void TMainForm::InitTimerTimer(TComponent*) {
  FInitDone = true;
  InitTimer->SetEnabled(false);
  ChooseLayoutDir();
  LoadBackground();
  SetupButtons();
  FormResize(this);
}

void TMainForm::QuitBtnClick(TComponent*) {
  Close();
}

void CenterLabel(const TControl& button, TControl& label) {
  label.SetLeft(
      CheckedAdd(button.Left(), CheckedDiv(CheckedSub(button.Width(), label.Width()), 2)));
  label.SetTop(
      CheckedAdd(button.Top(), CheckedDiv(CheckedSub(button.Height(), label.Height()), 2)));
}

TPoint TMainForm::CategoryPos(int32_t slot) {
  const int32_t bw = QuitBtn->Width();
  const int32_t bh = QuitBtn->Height();
  const int32_t margin = Scaled(kMargin);
  const int32_t pitch = CheckedAdd(bh, margin);
  FRowsPerCol =
      CheckedDiv(CheckedSub(CheckedSub(CheckedSub(ClientHeight(), margin), bh), margin), pitch);
  if (slot <= FRowsPerCol) {
    return {margin, CheckedAdd(CheckedMul(pitch, CheckedSub(slot, 1)), margin)};
  }
  return {CheckedSub(CheckedSub(ClientWidth(), margin), bw),
          CheckedAdd(CheckedMul(pitch, CheckedSub(CheckedSub(slot, 1), FRowsPerCol)), margin)};
}

void TMainForm::FormResize(TComponent*) {
  if (!FInitDone) return;
  const int32_t w = ClientWidth();
  const int32_t h = ClientHeight();
  const int32_t bw = QuitBtn->Width();
  const int32_t bh = QuitBtn->Height();
  const int32_t margin = Scaled(kMargin);
  const int32_t pitch = CheckedAdd(bh, margin);

  BackImage->SetBounds(0, 0, w, h);

  const int32_t panelLeft = CheckedAdd(bw, CheckedMul(2, margin));
  TextPanel->SetLeft(panelLeft);
  TextPanel->SetTop(CheckedSub(CheckedSub(h, TextPanel->Height()), margin));
  TextPanel->SetWidth(CheckedSub(w, CheckedMul(2, panelLeft)));

  QuitBtn->SetLeft(margin);
  QuitBtn->SetTop(CheckedSub(CheckedSub(h, bh), margin));
  CenterLabel(*QuitBtn, *QuitLabel);

  const int32_t actionLeft = CheckedSub(CheckedSub(w, bw), margin);
  const std::pair<TImage*, TLabel*> actions[] = {
      {Action1Btn, Action1Label}, {Action2Btn, Action2Label}, {Action3Btn, Action3Label}};
  int32_t rowsUp = 1;
  for (const auto& [button, label] : actions) {
    button->SetTop(CheckedSub(h, CheckedMul(rowsUp, pitch)));
    button->SetLeft(actionLeft);
    CenterLabel(*button, *label);
    rowsUp = CheckedAdd(rowsUp, 1);
  }

  for (int32_t slot = 1; slot <= FCatCount; ++slot) {
    const TPoint position = CategoryPos(slot);
    FCatBtns[slot]->SetLeft(position.X);
    FCatBtns[slot]->SetTop(position.Y);
    CenterLabel(*FCatBtns[slot], *FCatLabels[slot]);
  }
}

}  // namespace foyer
