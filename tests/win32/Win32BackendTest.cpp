// The Win32 backend: a bound component shows what its properties say, and the user's input
// reaches its events.
#include "win32/BackendBed.h"

#include <oleacc.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>

#include "platform/win32/Handles.h"
#include "toolkit/Form.h"
#include "toolkit/win32/Painting.h"
#include "toolkit/win32/Win32Backend.h"
#include "util/Errors.h"
#include "win32/ScreenReader.h"

namespace foyer::test {
namespace {

using BackendFormTest = Win32BackendTest;
using BackendPaintTest = Win32BackendTest;
using BackendMouseTest = Win32BackendTest;
using BackendPanelTest = Win32BackendTest;
using BackendListBoxTest = Win32BackendTest;
using BackendModalTest = Win32BackendTest;
using BackendTimerTest = Win32BackendTest;
using BackendErrorTest = Win32BackendTest;

constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;
constexpr uint32_t kYellow = 0xFFFF00;
constexpr uint32_t kGrey = 0x808080;
// A TColor is 0x00BBGGRR.
constexpr TColor kGreyColor = 0x808080;
constexpr TColor kRedColor = 0x0000FF;
constexpr TColor kTealColor = 0x808000;
constexpr uint32_t kTeal = 0x008080;

std::string ClassNameOf(HWND window) {
  char buffer[256];
  const int length = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

std::string TitleOf(HWND window) {
  char buffer[256];
  const int length = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, static_cast<size_t>(length > 0 ? length : 0));
}

SIZE ClientSizeOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

// A bound form of a given client size and colour, as the tests build them.
struct ProbeForm {
  explicit ProbeForm(int width = 200, int height = 120, const std::string& name = "ProbeForm") {
    Form.SetName(name);
    Form.SetClientSize(width, height);
    Form.SetColor(kGreyColor);
    Form.SetPosition(TPosition::Designed);
  }
  HWND Bind() {
    Form.Bind();
    return HandleOf(Form);
  }
  TForm Form;
};

// --- The form's window ---

TEST_F(BackendFormTest, WindowClassIsTPlusNameWithDoubleClicksAndClippedChildren) {
  ProbeForm probe;
  probe.Form.SetCaption("Probe caption");
  const HWND window = probe.Bind();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ClassNameOf(window), "TProbeForm");
  EXPECT_NE(GetClassLongA(window, GCL_STYLE) & CS_DBLCLKS, 0u);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  EXPECT_NE(style & WS_CLIPCHILDREN, 0);
  EXPECT_EQ(style & (WS_VSCROLL | WS_HSCROLL), 0);
  EXPECT_EQ(TitleOf(window), "Probe caption");
  probe.Form.SetCaption("New caption");
  EXPECT_EQ(TitleOf(window), "New caption");
}

TEST_F(BackendFormTest, FormsAreCreatedHiddenAndShowWhenMadeVisible) {
  ProbeForm probe;
  const HWND window = probe.Bind();
  EXPECT_FALSE(IsWindowVisible(window));
  probe.Form.Show();
  EXPECT_TRUE(IsWindowVisible(window));
  probe.Form.Hide();
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(BackendFormTest, ClientAreaHasTheFormsClientSizeBeforeAndAfterBinding) {
  ProbeForm probe(300, 200);
  const HWND window = probe.Bind();
  EXPECT_EQ(ClientSizeOf(window).cx, 300);
  EXPECT_EQ(ClientSizeOf(window).cy, 200);
  probe.Form.SetClientSize(320, 240);
  EXPECT_EQ(ClientSizeOf(window).cx, 320);
  EXPECT_EQ(ClientSizeOf(window).cy, 240);
}

TEST_F(BackendFormTest, ResizingTheWindowWritesTheClientSizeAndPositionBack) {
  ProbeForm probe(300, 200);
  int resizes = 0;
  probe.Form.OnResize = [&resizes](TComponent*) { ++resizes; };
  const HWND window = probe.Bind();
  SetWindowPos(window, nullptr, 40, 30, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  const SIZE client = ClientSizeOf(window);
  EXPECT_EQ(probe.Form.ClientWidth(), client.cx);
  EXPECT_EQ(probe.Form.ClientHeight(), client.cy);
  EXPECT_NE(client.cx, 300);
  EXPECT_GE(resizes, 1);
  EXPECT_EQ(probe.Form.Left(), 40);
  EXPECT_EQ(probe.Form.Top(), 30);
  EXPECT_EQ(probe.Form.Width(), 400) << "a bound form's Width and Height are its frame's";
  EXPECT_EQ(probe.Form.Height(), 300);
}

RECT FrameOf(HWND window) {
  RECT frame{};
  GetWindowRect(window, &frame);
  return frame;
}

TEST_F(BackendFormTest, FormGivenOuterBoundsBeforeBindingGetsThatFrame) {
  ProbeForm probe;
  probe.Form.SetBounds(30, 40, 300, 200);
  const HWND window = probe.Bind();
  const RECT frame = FrameOf(window);
  EXPECT_EQ(frame.left, 30);
  EXPECT_EQ(frame.top, 40);
  EXPECT_EQ(frame.right, 330);
  EXPECT_EQ(frame.bottom, 240);
  EXPECT_EQ(probe.Form.ClientWidth(), ClientSizeOf(window).cx);
  EXPECT_EQ(probe.Form.ClientHeight(), ClientSizeOf(window).cy);
}

TEST_F(BackendFormTest, SetBoundsOfABoundFormMovesAndSizesTheFrame) {
  ProbeForm probe;
  const HWND window = probe.Bind();
  probe.Form.SetBounds(50, 60, 320, 220);
  const RECT frame = FrameOf(window);
  EXPECT_EQ(frame.left, 50);
  EXPECT_EQ(frame.top, 60);
  EXPECT_EQ(frame.right, 370);
  EXPECT_EQ(frame.bottom, 280);
  EXPECT_EQ(probe.Form.ClientWidth(), ClientSizeOf(window).cx);
  EXPECT_LT(probe.Form.ClientWidth(), 320);
}

TEST_F(BackendFormTest, DesignedPositionPlacesTheFrameAtLeftAndTop) {
  ProbeForm probe;
  probe.Form.SetBounds(70, 50, probe.Form.Width(), probe.Form.Height());
  const HWND window = probe.Bind();
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 70);
  EXPECT_EQ(frame.top, 50);
}

TEST_F(BackendFormTest, ScreenCenterCentresTheOuterFrame) {
  ProbeForm probe(300, 200);
  probe.Form.SetPosition(TPosition::ScreenCenter);
  const HWND window = probe.Bind();
  RECT frame{};
  GetWindowRect(window, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

TEST_F(BackendFormTest, ScreenCenterOfAFormLargerThanTheScreenStaysOnItsTopLeft) {
  ProbeForm probe(GetSystemMetrics(SM_CXSCREEN) + 200, GetSystemMetrics(SM_CYSCREEN) + 200);
  probe.Form.SetPosition(TPosition::ScreenCenter);
  const HWND window = probe.Bind();
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
}

TEST_F(BackendFormTest, BorderStylesAndIconsGiveTheirFrames) {
  ProbeForm sizeable(200, 100, "SizeableForm");
  const LONG sizeableStyle = GetWindowLongA(sizeable.Bind(), GWL_STYLE);
  EXPECT_NE(sizeableStyle & WS_THICKFRAME, 0);
  EXPECT_EQ(sizeableStyle & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);

  ProbeForm single(200, 100, "SingleForm");
  single.Form.SetBorderStyle(TBorderStyle::Single);
  single.Form.SetBorderIcons({true, true, false});
  const LONG singleStyle = GetWindowLongA(single.Bind(), GWL_STYLE);
  EXPECT_EQ(singleStyle & WS_THICKFRAME, 0);
  EXPECT_NE(singleStyle & WS_CAPTION, 0);
  EXPECT_NE(singleStyle & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(singleStyle & WS_MAXIMIZEBOX, 0);

  ProbeForm dialog(200, 100, "DialogForm");
  dialog.Form.SetBorderStyle(TBorderStyle::Dialog);
  const HWND dialogWindow = dialog.Bind();
  const LONG dialogStyle = GetWindowLongA(dialogWindow, GWL_STYLE);
  EXPECT_EQ(dialogStyle & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_NE(dialogStyle & WS_SYSMENU, 0);
  EXPECT_NE(GetWindowLongA(dialogWindow, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
  EXPECT_EQ(ClientSizeOf(dialogWindow).cx, 200);
  EXPECT_EQ(ClientSizeOf(dialogWindow).cy, 100);

  ProbeForm bare(200, 100, "BareForm");
  bare.Form.SetBorderIcons({false, true, true});
  EXPECT_EQ(GetWindowLongA(bare.Bind(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX), 0);
}

TEST_F(BackendFormTest, DestroyingAFormDestroysItsWindows) {
  HWND window = nullptr;
  HWND list = nullptr;
  {
    ProbeForm probe;
    window = probe.Bind();
    auto* panel = probe.Form.Create<TPanel>(&probe.Form);
    list = HandleOf(*probe.Form.Create<TListBox>(panel));
    ASSERT_TRUE(IsWindow(list));
  }
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(list));
}

class ClosingMainForm : public TForm {
 public:
  ClosingMainForm() {
    SetName("ClosingMainForm");
    SetClientSize(160, 90);
    OnCloseQuery = [this](TComponent*, bool&) {
      ++CloseQueries;
      WasVisible = IsWindowVisible(HandleOf(*this)) != FALSE;
    };
  }
  int CloseQueries = 0;
  bool WasVisible = false;
};

TEST_F(BackendFormTest, CloseBoxOfTheMainFormHidesItAndEndsRun) {
  ClosingMainForm* mainForm = nullptr;
  Application().CreateForm(mainForm);
  const HWND window = HandleOf(*mainForm);
  PostMessageA(window, WM_CLOSE, 0, 0);
  Watchdog watchdog(5000, [] { PostQuitMessage(1); });
  Application().Run();
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_EQ(mainForm->CloseQueries, 1);
  EXPECT_TRUE(mainForm->WasVisible) << "Run shows the main form";
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(IsWindow(window)) << "forms are hidden and reused, not destroyed";
}

TEST_F(BackendFormTest, CloseBoxOfASecondaryFormOnlyHidesIt) {
  ProbeForm probe;
  const HWND window = probe.Bind();
  probe.Form.Show();
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(Application().Terminated());
}

// --- Painting the pictures and labels ---

TEST_F(BackendPaintTest, ImageShowsThePicturesPixelsUnscaledFromItsTopLeft) {
  ProbeForm probe;
  auto* image = probe.Form.Create<TImage>(&probe.Form);
  image->SetBounds(10, 20, 30, 30);
  image->SetPicture(QuadrantPicture(5, {kRed, kGreen, kBlue, kYellow}));
  const Rendering shown = RenderClient(probe.Bind());
  KeepRendering(shown, "image-unscaled");
  EXPECT_EQ(shown.At(10, 20), kRed);
  EXPECT_EQ(shown.At(14, 24), kRed);
  EXPECT_EQ(shown.At(15, 20), kGreen);
  EXPECT_EQ(shown.At(10, 25), kBlue);
  EXPECT_EQ(shown.At(19, 29), kYellow);
  // The control is larger than its picture: the form shows around the picture.
  EXPECT_EQ(shown.At(20, 20), kGrey);
  EXPECT_EQ(shown.At(10, 30), kGrey);
  EXPECT_EQ(shown.At(9, 20), kGrey);
  EXPECT_EQ(shown.Count(0xFF00FF, {0, 0, shown.Width, shown.Height}), 0) << "unpainted pixels";
}

TEST_F(BackendPaintTest, ImageSmallerThanItsPictureClipsIt) {
  ProbeForm probe;
  auto* image = probe.Form.Create<TImage>(&probe.Form);
  image->SetBounds(10, 10, 6, 4);
  image->SetPicture(QuadrantPicture(5, {kRed, kGreen, kBlue, kYellow}));
  const Rendering shown = RenderClient(probe.Bind());
  EXPECT_EQ(shown.At(14, 13), kRed);
  EXPECT_EQ(shown.At(15, 13), kGreen);
  EXPECT_EQ(shown.At(16, 10), kGrey);
  EXPECT_EQ(shown.At(10, 14), kGrey);
}

TEST_F(BackendPaintTest, StretchedImageScalesThePictureOverTheControl) {
  ProbeForm probe;
  auto* image = probe.Form.Create<TImage>(&probe.Form);
  image->SetBounds(10, 10, 40, 20);
  image->SetStretch(true);
  image->SetPicture(QuadrantPicture(1, {kRed, kGreen, kBlue, kYellow}));
  const Rendering shown = RenderClient(probe.Bind());
  KeepRendering(shown, "image-stretched");
  EXPECT_EQ(shown.At(10, 10), kRed);
  EXPECT_EQ(shown.At(29, 19), kRed);
  EXPECT_EQ(shown.At(30, 10), kGreen);
  EXPECT_EQ(shown.At(49, 19), kGreen);
  EXPECT_EQ(shown.At(10, 20), kBlue);
  EXPECT_EQ(shown.At(49, 29), kYellow);
  EXPECT_EQ(shown.At(50, 29), kGrey);
  EXPECT_EQ(shown.At(49, 30), kGrey);
}

TEST_F(BackendPaintTest, LaterPictureCoversEarlierOneAndHiddenOnesAreNotDrawn) {
  ProbeForm probe;
  auto* below = probe.Form.Create<TImage>(&probe.Form);
  below->SetBounds(10, 10, 20, 20);
  below->SetPicture(SolidPicture(20, 20, kRed));
  auto* above = probe.Form.Create<TImage>(&probe.Form);
  above->SetBounds(20, 20, 20, 20);
  above->SetPicture(SolidPicture(20, 20, kBlue));
  auto* hidden = probe.Form.Create<TImage>(&probe.Form);
  hidden->SetBounds(0, 0, 15, 15);
  hidden->SetPicture(SolidPicture(15, 15, kGreen));
  hidden->Hide();
  const HWND window = probe.Bind();
  Rendering shown = RenderClient(window);
  EXPECT_EQ(shown.At(15, 15), kRed);
  EXPECT_EQ(shown.At(25, 25), kBlue);
  EXPECT_EQ(shown.At(5, 5), kGrey);
  hidden->Show();
  shown = RenderClient(window);
  EXPECT_EQ(shown.At(5, 5), kGreen);
  EXPECT_EQ(shown.At(12, 12), kGreen);
}

TEST_F(BackendPaintTest, FormBackgroundIsTheFormsColourAndSystemColoursAreLookedUp) {
  ProbeForm probe;
  const HWND window = probe.Bind();
  EXPECT_EQ(RenderClient(window).At(100, 60), kGrey);
  probe.Form.SetColor(clAppWorkSpace);
  EXPECT_EQ(RenderClient(window).At(100, 60), Rgb(clAppWorkSpace));
}

// A label on a one-colour picture, in red.
struct LabelOnPicture {
  explicit LabelOnPicture(const std::string& caption) {
    probe.Form.SetFont({"MS Sans Serif", -11, kRedColor});
    auto* image = probe.Form.Create<TImage>(&probe.Form);
    image->SetBounds(0, 0, 200, 120);
    image->SetPicture(SolidPicture(200, 120, kBlue));
    label = probe.Form.Create<TLabel>(&probe.Form);
    label->SetCaption(caption);
    label->SetBounds(20, 30, label->Width(), label->Height());
  }
  RECT Area() const {
    return {label->Left(), label->Top(), label->Left() + label->Width(),
            label->Top() + label->Height()};
  }
  ProbeForm probe;
  TLabel* label;
};

TEST_F(BackendPaintTest, TransparentLabelDrawsItsTextOverThePicture) {
  LabelOnPicture scene("Install");
  scene.label->SetTransparent(true);
  const Rendering shown = RenderClient(scene.probe.Bind());
  KeepRendering(shown, "label-transparent");
  const RECT area = scene.Area();
  const int pixels = (area.right - area.left) * (area.bottom - area.top);
  const int text = shown.Count(kRed, area);
  EXPECT_GT(text, 20);
  EXPECT_EQ(text + shown.Count(kBlue, area), pixels) << "the picture shows between the letters";
  EXPECT_EQ(shown.Count(kRed, {0, 0, shown.Width, shown.Height}), text) << "text outside";
}

TEST_F(BackendPaintTest, OpaqueLabelFillsItsAreaWithTheFormColour) {
  LabelOnPicture scene("Install");
  const Rendering shown = RenderClient(scene.probe.Bind());
  const RECT area = scene.Area();
  const int pixels = (area.right - area.left) * (area.bottom - area.top);
  EXPECT_GT(shown.Count(kRed, area), 20);
  EXPECT_EQ(shown.Count(kBlue, area), 0);
  EXPECT_EQ(shown.Count(kRed, area) + shown.Count(kGrey, area), pixels);
}

TEST_F(BackendPaintTest, DisabledLabelIsEmbossedWithTheLightCopyOnePixelDownRight) {
  LabelOnPicture scene("Install");
  scene.label->SetTransparent(true);
  scene.label->SetEnabled(false);
  const Rendering shown = RenderClient(scene.probe.Bind());
  KeepRendering(shown, "label-disabled");
  RECT area = scene.Area();
  InflateRect(&area, 2, 2);
  const uint32_t light = Rgb(clBtnHighlight);
  const uint32_t shadow = Rgb(clBtnShadow);
  ASSERT_NE(light, shadow);
  EXPECT_EQ(shown.Count(kRed, area), 0) << "a disabled label has no font colour";
  const RECT lightBox = shown.Bounds(light, area);
  const RECT shadowBox = shown.Bounds(shadow, area);
  EXPECT_GT(shown.Count(shadow, area), 20);
  EXPECT_EQ(lightBox.right, shadowBox.right + 1);
  EXPECT_EQ(lightBox.bottom, shadowBox.bottom + 1);
}

TEST_F(BackendPaintTest, AmpersandUnderlinesTheNextLetterAndIsNotShown) {
  LabelOnPicture plain("Quit");
  LabelOnPicture accel("&Quit");
  plain.label->SetTransparent(true);
  accel.label->SetTransparent(true);
  EXPECT_EQ(accel.label->Width(), plain.label->Width());
  const Rendering plainShown = RenderClient(plain.probe.Bind());
  const Rendering accelShown = RenderClient(accel.probe.Bind());
  KeepRendering(accelShown, "label-accelerator");
  const RECT area = plain.Area();
  const TSize q = Application().Backend().MeasureText(plain.label->Font(), "Q");
  int extra = 0;
  for (int y = area.top; y < area.bottom + 2; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const bool plainText = plainShown.At(x, y) == kRed;
      const bool accelText = accelShown.At(x, y) == kRed;
      EXPECT_FALSE(plainText && !accelText) << "at " << x << "," << y;
      if (!accelText || plainText) continue;
      ++extra;
      EXPECT_LT(x, area.left + q.Width) << "the underline stays under the Q";
    }
  }
  EXPECT_GT(extra, 2);
}

TEST_F(BackendPaintTest, DoubledAmpersandShowsOneAmpersand) {
  ProbeForm probe;
  probe.Bind();
  auto* label = probe.Form.Create<TLabel>(&probe.Form);
  label->SetCaption("A&&B");
  EXPECT_EQ(label->Width(), Application().Backend().MeasureText(label->Font(), "A&B").Width);
}

// Two letters of a script the bitmap font has no glyphs for: drawn with its default glyph they
// look alike.
struct LetterPair {
  const char* Script;
  const char* First;
  const char* Second;
};

TEST_F(BackendPaintTest, LabelShowsLettersOfScriptsTheBitmapFontLacks) {
  if (GetACP() != CP_UTF8) GTEST_SKIP() << "the code page is " << GetACP() << ", not UTF-8";
  for (const LetterPair& pair : {LetterPair{"Greek", "λ", "η"}, LetterPair{"Russian", "Ж", "Я"},
                                 LetterPair{"Japanese", "日", "本"}}) {
    SCOPED_TRACE(pair.Script);
    LabelOnPicture first(pair.First);
    LabelOnPicture second(pair.Second);
    first.label->SetTransparent(true);
    second.label->SetTransparent(true);
    const Rendering firstShown = RenderClient(first.probe.Bind());
    const Rendering secondShown = RenderClient(second.probe.Bind());
    KeepRendering(firstShown, std::string("label-") + pair.Script);
    RECT area{};
    const RECT firstArea = first.Area();
    const RECT secondArea = second.Area();
    UnionRect(&area, &firstArea, &secondArea);
    // A TrueType face smooths its edges: every pixel off the picture's colour is ink.
    int ink = 0;
    int differing = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        const bool firstInk = firstShown.At(x, y) != kBlue;
        ink += firstInk ? 1 : 0;
        differing += firstInk != (secondShown.At(x, y) != kBlue) ? 1 : 0;
      }
    }
    EXPECT_GT(ink, 5) << "nothing drawn";
    EXPECT_GT(differing, 5) << "both letters show the same glyph";
  }
}

TEST_F(BackendPaintTest, MeasureTextUsesTheRealFont) {
  const TSize size = Application().Backend().MeasureText(TFont{}, "Install");
  EXPECT_EQ(size.Width, 27);
  EXPECT_EQ(size.Height, 13);
}

TEST_F(BackendPaintTest, ChangingAPictureRepaintsItsArea) {
  ProbeForm probe;
  auto* image = probe.Form.Create<TImage>(&probe.Form);
  image->SetBounds(10, 10, 20, 20);
  image->SetPicture(SolidPicture(20, 20, kRed));
  const HWND window = probe.Bind();
  probe.Form.Show();
  UpdateWindow(window);
  image->SetPicture(SolidPicture(20, 20, kBlue));
  RECT pending{};
  ASSERT_TRUE(GetUpdateRect(window, &pending, FALSE));
  EXPECT_LE(pending.left, 10);
  EXPECT_GE(pending.right, 30);
  probe.Form.Update();
  EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << "Update paints what is pending";
}

// The window's client area as the screen shows it.
Rendering ScreenCopy(HWND window) {
  Rendering copy;
  RECT client{};
  GetClientRect(window, &client);
  copy.Width = client.right;
  copy.Height = client.bottom;
  ClientDC dc(window);
  for (int y = 0; y < copy.Height; ++y) {
    for (int x = 0; x < copy.Width; ++x)
      copy.Pixels.push_back(Rgb(GetPixel(dc.Get(), x, y)));
  }
  return copy;
}

TEST_F(BackendPaintTest, PaintingOnTheScreenShowsWhatPrintClientRenders) {
  LabelOnPicture scene("Install");
  scene.label->SetTransparent(true);
  const HWND window = scene.probe.Bind();
  scene.probe.Form.Show();
  UpdateWindow(window);
  const Rendering printed = RenderClient(window);
  const Rendering screen = ScreenCopy(window);
  KeepRendering(screen, "screen");
  EXPECT_EQ(screen.Pixels, printed.Pixels);
}

// How many of the colours are in the system palette now.
int InSystemPalette(const std::vector<uint32_t>& colours) {
  PALETTEENTRY entries[256];
  ClientDC screen;
  const UINT count = GetSystemPaletteEntries(screen.Get(), 0, 256, entries);
  int found = 0;
  for (uint32_t rgb : colours) {
    for (UINT i = 0; i < count; ++i) {
      const uint32_t entry = (static_cast<uint32_t>(entries[i].peRed) << 16) |
                             (static_cast<uint32_t>(entries[i].peGreen) << 8) | entries[i].peBlue;
      if (entry == rgb) {
        ++found;
        break;
      }
    }
  }
  return found;
}

TEST_F(BackendPaintTest, SkinRealisesItsColourTableOnA256ColourScreen) {
  {
    ClientDC screen;
    if (!IsPaletteDevice(screen.Get())) GTEST_SKIP() << "needs an 8-bit screen (Xvfb depth 8)";
  }
  // 256 colours that no other palette here has.
  auto skin = std::make_shared<Picture>();
  for (uint32_t i = 0; i < 256; ++i)
    skin->Palette.push_back((i << 16) | 0x5A00 | (255 - i));
  *skin = {16, 16, skin->Palette, skin->Palette};
  ProbeForm probe;
  auto* image = probe.Form.Create<TImage>(&probe.Form);
  image->SetBounds(0, 0, 16, 16);
  image->SetPicture(skin);
  const HWND window = probe.Bind();
  ASSERT_LT(InSystemPalette(skin->Palette), 10);
  probe.Form.Show();
  UpdateWindow(window);
  // The system reserves 20 entries, and the X server's colour map may hold a few more.
  EXPECT_GT(InSystemPalette(skin->Palette), 128);
  EXPECT_TRUE(SendMessageA(window, WM_QUERYNEWPALETTE, 0, 0));
}

TEST_F(BackendPaintTest, FormWithoutAColourTableRealisesNoPalette) {
  ProbeForm probe;
  auto* image = probe.Form.Create<TImage>(&probe.Form);
  image->SetPicture(SolidPicture(4, 4, kRed));
  const HWND window = probe.Bind();
  EXPECT_FALSE(SendMessageA(window, WM_QUERYNEWPALETTE, 0, 0));
}

// --- The mouse on pictures and labels ---

// A picture with a label lying on its middle, each counting its events.
struct ClickScene {
  ClickScene() {
    picture = probe.Form.Create<TImage>(&probe.Form);
    picture->SetBounds(10, 10, 120, 40);
    picture->SetPicture(SolidPicture(120, 40, kBlue));
    picture->OnClick = [this](TComponent*) { ++pictureClicks; };
    picture->OnDblClick = [this](TComponent*) { ++pictureDoubleClicks; };
    label = probe.Form.Create<TLabel>(&probe.Form);
    label->SetCaption("Install");
    label->SetBounds(40, 20, label->Width(), label->Height());
    label->SetTransparent(true);
    label->OnClick = [this](TComponent*) { ++labelClicks; };
    window = probe.Bind();
  }
  ProbeForm probe;
  TImage* picture;
  TLabel* label;
  HWND window;
  int pictureClicks = 0;
  int pictureDoubleClicks = 0;
  int labelClicks = 0;
};

TEST_F(BackendMouseTest, ClickOnALabelLyingOnAPictureGoesToTheLabel) {
  ClickScene scene;
  PostClick(scene.window, 45, 25);
  DrainMessages();
  EXPECT_EQ(scene.labelClicks, 1);
  EXPECT_EQ(scene.pictureClicks, 0);
}

TEST_F(BackendMouseTest, ClickOnTheUncoveredPartOfAPictureGoesToThePicture) {
  ClickScene scene;
  PostClick(scene.window, 15, 45);
  DrainMessages();
  EXPECT_EQ(scene.pictureClicks, 1);
  EXPECT_EQ(scene.labelClicks, 0);
}

TEST_F(BackendMouseTest, HiddenOrDisabledLabelLetsTheClickThroughToThePicture) {
  ClickScene scene;
  scene.label->SetEnabled(false);
  PostClick(scene.window, 45, 25);
  scene.label->SetEnabled(true);
  scene.label->Hide();
  PostClick(scene.window, 45, 25);
  DrainMessages();
  EXPECT_EQ(scene.pictureClicks, 2);
  EXPECT_EQ(scene.labelClicks, 0);
}

TEST_F(BackendMouseTest, ReleaseAwayFromThePressedControlIsNoClick) {
  ClickScene scene;
  PostMessageA(scene.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 45));
  PostMessageA(scene.window, WM_LBUTTONUP, 0, MAKELPARAM(180, 100));
  DrainMessages();
  EXPECT_EQ(scene.pictureClicks, 0);
  EXPECT_EQ(GetCapture(), nullptr) << "the capture ends with the button";
}

TEST_F(BackendMouseTest, DoubleClickRaisesOnDblClickAndNoSecondClick) {
  ClickScene scene;
  PostClick(scene.window, 15, 45);
  PostMessageA(scene.window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(15, 45));
  PostMessageA(scene.window, WM_LBUTTONUP, 0, MAKELPARAM(15, 45));
  DrainMessages();
  EXPECT_EQ(scene.pictureClicks, 1);
  EXPECT_EQ(scene.pictureDoubleClicks, 1);
}

// A picture button and its caption in the form's tab order, over a teal picture; with a
// backdrop, a yellow skin's background lies under the button.
struct ButtonScene {
  explicit ButtonScene(bool withBackdrop = false) {
    probe.Form.SetFont({"MS Sans Serif", -11, kRedColor});
    if (withBackdrop) {
      auto* back = probe.Form.Create<TImage>(&probe.Form);
      back->SetBounds(0, 0, 200, 120);
      back->SetPicture(SolidPicture(200, 120, kYellow));
    }
    picture = probe.Form.Create<TImage>(&probe.Form);
    picture->SetBounds(10, 10, 120, 40);
    picture->SetPicture(SolidPicture(120, 40, kTeal));
    label = probe.Form.Create<TLabel>(&probe.Form);
    label->SetCaption("Install");
    label->SetBounds(40, 20, label->Width(), label->Height());
    label->SetTransparent(true);
    probe.Form.SetTabOrder({{picture, label}});
    window = probe.Bind();
    probe.Form.SetVisible(true);
  }
  // Posts a message at a client point and lets the program's own loop take it.
  void Post(UINT message, WPARAM wParam, int x, int y) const {
    PostMessageA(window, message, wParam, MAKELPARAM(x, y));
    Application().Backend().ProcessMessages();
  }
  RECT Caption() const {
    return {label->Left() - 2, label->Top() - 2, label->Left() + label->Width() + 2,
            label->Top() + label->Height() + 2};
  }
  ProbeForm probe;
  TImage* picture;
  TLabel* label;
  HWND window;
};

// Each channel of a colour at least (lighter) or at most (darker) another's, and not the same.
bool Lighter(uint32_t a, uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (((a >> shift) & 0xFF) < ((b >> shift) & 0xFF)) return false;
  }
  return a != b;
}

// The user's setting that shows focus cues from the start, off (Windows' default) while it lives.
class NoKeyboardCues {
 public:
  NoKeyboardCues() {
    SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &FWas, 0);
    SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, nullptr, 0);
  }
  ~NoKeyboardCues() {
    SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(INT_PTR{FWas}), 0);
  }
  NoKeyboardCues(const NoKeyboardCues&) = delete;
  NoKeyboardCues& operator=(const NoKeyboardCues&) = delete;

 private:
  BOOL FWas = FALSE;
};

TEST_F(BackendMouseTest, PictureButtonLightsUnderThePointerDarkensWhilePressedAndShowsKeyboardFocus) {
  const NoKeyboardCues cues;
  ButtonScene scene;
  // The pointer really lies over the button, so that the system does not report it gone; it
  // goes back where it was, away from the windows of later tests.
  POINT before{};
  GetCursorPos(&before);
  struct PointerBack {
    POINT at;
    ~PointerBack() { SetCursorPos(at.x, at.y); }
  } back{before};
  POINT over{15, 45};
  ClientToScreen(scene.window, &over);
  SetCursorPos(over.x, over.y);
  const Rendering normal = RenderClient(scene.window);
  scene.Post(WM_MOUSEMOVE, 0, 15, 45);
  const Rendering hot = RenderClient(scene.window);
  scene.Post(WM_LBUTTONDOWN, MK_LBUTTON, 15, 45);
  const Rendering down = RenderClient(scene.window);
  // Released away from it: no click, and the mouse's focus shows no rectangle.
  scene.Post(WM_MOUSEMOVE, MK_LBUTTON, 180, 100);
  scene.Post(WM_LBUTTONUP, 0, 180, 100);
  const Rendering released = RenderClient(scene.window);
  SetForegroundWindow(scene.window);
  SetFocus(scene.window);
  PostKey(scene.window, VK_TAB);
  Application().Backend().ProcessMessages();
  const Rendering focused = RenderClient(scene.window);
  for (const auto& [shot, name] : {std::pair{&normal, "normal"}, {&hot, "hot"}, {&down, "down"},
                                   {&focused, "focused"}}) {
    KeepRendering(*shot, std::string("button-") + name);
  }

  ASSERT_EQ(normal.At(15, 45), kTeal);
  EXPECT_TRUE(Lighter(hot.At(15, 45), kTeal)) << std::hex << hot.At(15, 45);
  // Lit, a two-pixel ring in the selection colour lies a pixel inside the picture's edge,
  // which a picture already near white needs to look lit at all.
  const uint32_t ringColour = Rgb(kSystemColor | COLOR_HIGHLIGHT);
  for (const auto& [x, y, ringed] : {std::tuple{10, 30, false}, {11, 30, true}, {12, 30, true},
                                     {13, 30, false}, {70, 11, true}, {70, 48, true},
                                     {128, 30, true}, {129, 30, false}}) {
    EXPECT_EQ(hot.At(x, y) == ringColour, ringed) << x << "," << y;
  }
  EXPECT_TRUE(Lighter(kTeal, down.At(15, 45))) << std::hex << down.At(15, 45);
  // Pressed, the caption moves a pixel down and right.
  const RECT still = normal.Bounds(kRed, scene.Caption());
  const RECT pressed = down.Bounds(kRed, scene.Caption());
  EXPECT_GT(normal.Count(kRed, scene.Caption()), 20);
  EXPECT_EQ(pressed.left, still.left + 1);
  EXPECT_EQ(pressed.top, still.top + 1);
  EXPECT_EQ(hot.Bounds(kRed, scene.Caption()).left, still.left);
  EXPECT_TRUE(released.Pixels == normal.Pixels);
  ASSERT_EQ(scene.probe.Form.Focused(), scene.picture);

  // The focus rectangle lies 4 pixels inside the picture, dotted, and changes nothing else.
  const RECT ring{14, 14, 126, 46};
  int changed = 0;
  int astray = 0;
  for (int y = 0; y < focused.Height; ++y) {
    for (int x = 0; x < focused.Width; ++x) {
      if (focused.At(x, y) == normal.At(x, y)) continue;
      const bool onRing = (x == ring.left || x == ring.right - 1 || y == ring.top ||
                           y == ring.bottom - 1) &&
                          x >= ring.left && x < ring.right && y >= ring.top && y < ring.bottom;
      ++(onRing ? changed : astray);
    }
  }
  EXPECT_GT(changed, (ring.right - ring.left + ring.bottom - ring.top) / 2);
  EXPECT_EQ(astray, 0);

  // A greyed caption stays greyed on a lit button.
  scene.label->SetEnabled(false);
  scene.Post(WM_MOUSEMOVE, 0, 15, 45);
  const Rendering greyed = RenderClient(scene.window);
  EXPECT_TRUE(Lighter(greyed.At(15, 45), kTeal));
  EXPECT_EQ(greyed.Count(kRed, scene.Caption()), 0);
}

// --- High contrast ---

// A theme's window, window text, button face, button text, highlight, highlight text and grey
// text: colours no scene here uses.
constexpr int kThemeRoles[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT,    COLOR_BTNFACE, COLOR_BTNTEXT,
                               COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT};
constexpr COLORREF kTheme[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(0, 0, 128),
                               RGB(255, 255, 0), RGB(26, 235, 255),  RGB(64, 0, 64),
                               RGB(63, 242, 63)};

// Switches the theme as the system does: new colours (SetSysColors sends WM_SYSCOLORCHANGE)
// and WM_SETTINGCHANGE; the painting is told high contrast is on, which Wine cannot say. Then
// whether the whole client area waits to be painted again.
bool SwitchTheme(HWND window, std::optional<bool> isOn, const COLORREF* colours) {
  TellHighContrast(isOn);
  SetSysColors(7, kThemeRoles, colours);
  SendMessageA(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  RECT pending{};
  RECT client{};
  GetClientRect(window, &client);
  return GetUpdateRect(window, &pending, FALSE) && EqualRect(&pending, &client);
}

uint32_t OnScreen(HWND window, int x, int y) {
  UpdateWindow(window);
  ClientDC dc(window);
  return Rgb(GetPixel(dc.Get(), x, y));
}

TEST_F(BackendPaintTest, HighContrastDrawsTheThemesPlainButtonsOverNoSkinAndRepaintsOnTheChange) {
  ButtonScene scene(true);
  auto* note = scene.probe.Form.Create<TLabel>(&scene.probe.Form);
  note->SetCaption("Note");
  note->SetBounds(20, 80, note->Width(), note->Height());
  scene.probe.Form.Create<TListBox>(&scene.probe.Form)->SetBounds(140, 10, 50, 40);
  const RECT noteArea{20, 80, 20 + note->Width(), 80 + note->Height()};
  const auto theme = [](int role) { return Rgb(kTheme[role]); };
  COLORREF saved[7];
  for (int i = 0; i < 7; ++i)
    saved[i] = GetSysColor(kThemeRoles[i]);
  struct Restore {
    HWND window;
    const COLORREF* colours;
    ~Restore() { SwitchTheme(window, std::nullopt, colours); }
  } restore{scene.window, saved};
  ASSERT_EQ(OnScreen(scene.window, 150, 90), kYellow);

  EXPECT_TRUE(SwitchTheme(scene.window, true, kTheme));
  for (const auto& [x, y, role] : {std::tuple{150, 90, 0}, {10, 30, 1}, {20, 30, 2}, {170, 30, 0}})
    EXPECT_EQ(OnScreen(scene.window, x, y), theme(role)) << x << "," << y;
  const Rendering normal = RenderClient(scene.window);
  KeepRendering(normal, "high-contrast");
  EXPECT_GT(normal.Count(theme(3), scene.Caption()), 20) << "caption in the button text colour";
  EXPECT_GT(normal.Count(theme(1), noteArea), 10) << "a note in the window text colour";
  scene.Post(WM_LBUTTONDOWN, MK_LBUTTON, 15, 45);
  const Rendering down = RenderClient(scene.window);
  EXPECT_EQ(down.At(20, 30), theme(4));
  EXPECT_GT(down.Count(theme(5), scene.Caption()), 20);
  scene.Post(WM_MOUSEMOVE, MK_LBUTTON, 180, 100);
  scene.Post(WM_LBUTTONUP, 0, 180, 100);
  SetForegroundWindow(scene.window);
  SetFocus(scene.window);
  PostKey(scene.window, VK_TAB);
  Application().Backend().ProcessMessages();
  // The focus: a two-pixel ring in the caption's colour, three pixels inside the border.
  const Rendering focused = RenderClient(scene.window);
  for (const auto& [x, y, role] : {std::tuple{12, 30, 2}, {13, 30, 3}, {14, 30, 3}, {15, 30, 2}})
    EXPECT_EQ(focused.At(x, y), theme(role)) << x << "," << y;
  // A greyed caption is in the theme's grey text, on a button that no longer lights.
  scene.label->SetEnabled(false);
  scene.Post(WM_LBUTTONDOWN, MK_LBUTTON, 15, 45);
  const Rendering greyed = RenderClient(scene.window);
  EXPECT_EQ(greyed.At(20, 30), theme(2));
  EXPECT_GT(greyed.Count(theme(6), scene.Caption()), 20);
  scene.Post(WM_LBUTTONUP, 0, 180, 100);

  EXPECT_TRUE(SwitchTheme(scene.window, std::nullopt, saved));
  EXPECT_EQ(OnScreen(scene.window, 150, 90), kYellow);
  EXPECT_EQ(OnScreen(scene.window, 20, 30), kTeal);
}

// --- Panels ---

TEST_F(BackendPanelTest, PanelPaintsItsBevelsAndFaceInsideItsBorder) {
  ProbeForm probe;
  probe.Bind();
  auto* panel = probe.Form.Create<TPanel>(&probe.Form);
  panel->SetBounds(10, 10, 60, 40);
  panel->SetBevels(TBevelCut::Lowered, TBevelCut::Raised, 2);
  panel->SetBorder(true);
  const HWND window = HandleOf(*panel);
  ASSERT_NE(window, nullptr);
  EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_BORDER, 0);
  const RECT placed = RectInParent(window);
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.right, 70);
  const Rendering shown = RenderClient(window);
  KeepRendering(shown, "panel");
  ASSERT_EQ(shown.Width, 58) << "the border lies outside the client area";
  const uint32_t light = Rgb(clBtnHighlight);
  const uint32_t dark = Rgb(clBtnShadow);
  // Raised outer bevel: light top-left, dark bottom-right, two rings.
  EXPECT_EQ(shown.At(0, 10), light);
  EXPECT_EQ(shown.At(1, 10), light);
  EXPECT_EQ(shown.At(57, 10), dark);
  EXPECT_EQ(shown.At(56, 10), dark);
  // Lowered inner bevel: dark top-left, light bottom-right.
  EXPECT_EQ(shown.At(2, 10), dark);
  EXPECT_EQ(shown.At(3, 10), dark);
  EXPECT_EQ(shown.At(55, 10), light);
  EXPECT_EQ(shown.At(20, 34), light);
  EXPECT_EQ(shown.At(20, 37), dark);
  EXPECT_EQ(shown.At(20, 19), Rgb(clBtnFace));
  EXPECT_EQ(shown.At(4, 4), Rgb(clBtnFace));
}

TEST_F(BackendPanelTest, ListBoxFillsThePanelsClientRect) {
  ProbeForm probe(300, 200);
  probe.Bind();
  auto* panel = probe.Form.Create<TPanel>(&probe.Form);
  panel->SetBounds(20, 10, 200, 150);
  panel->SetBevels(TBevelCut::Lowered, TBevelCut::Raised, 5);
  panel->SetBorder(true);
  auto* list = probe.Form.Create<TListBox>(panel);
  panel->AlignClient(*list);
  const RECT placed = RectInParent(HandleOf(*list));
  // Border 1 and two bevels of 5: the list starts 11 pixels into the panel, 10 into its client.
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 10);
  EXPECT_EQ(placed.right - placed.left, 200 - 22);
  EXPECT_EQ(placed.bottom - placed.top, 150 - 22);
  panel->SetBorder(false);
  const RECT unframed = RectInParent(HandleOf(*list));
  EXPECT_EQ(unframed.left, 10);
  EXPECT_EQ(unframed.right - unframed.left, 200 - 20);
}

TEST_F(BackendPanelTest, VisibleEnabledAndBoundsReachTheWindow) {
  ProbeForm probe;
  probe.Bind();
  auto* panel = probe.Form.Create<TPanel>(&probe.Form);
  const HWND window = HandleOf(*panel);
  panel->Hide();
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE, 0);
  panel->Show();
  EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE, 0);
  panel->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(window));
  panel->SetBounds(5, 6, -20, -1);
  const RECT placed = RectInParent(window);
  EXPECT_EQ(placed.left, 5);
  EXPECT_EQ(placed.top, 6);
  EXPECT_EQ(placed.right, 5) << "a negative size shows as nothing";
  EXPECT_EQ(placed.bottom, 6);
}

// --- List boxes ---

// A list in a panel, as the main window has it.
struct ListScene {
  ListScene() {
    probe.Form.SetClientSize(300, 200);
    panel = probe.Form.Create<TPanel>(&probe.Form);
    panel->SetBounds(10, 10, 250, 160);
    list = probe.Form.Create<TListBox>(panel);
    list->SetFont({"Terminal", 12, clWindowText});
    list->SetItemHeight(12);
    panel->AlignClient(*list);
    list->AddRow("before binding");
    form = probe.Bind();
    window = HandleOf(*list);
  }
  std::string Text(int row) const {
    const auto length = SendMessageA(window, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
    if (length < 0) return "<no row>";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(window, LB_GETTEXT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
  }
  int Count() const { return static_cast<int>(SendMessageA(window, LB_GETCOUNT, 0, 0)); }
  int Selected() const { return static_cast<int>(SendMessageA(window, LB_GETCURSEL, 0, 0)); }
  ProbeForm probe;
  TPanel* panel;
  TListBox* list;
  HWND form;
  HWND window;
};

TEST_F(BackendListBoxTest, RowsAddedBeforeAndAfterBindingReachTheList) {
  ListScene scene;
  ASSERT_EQ(ClassNameOf(scene.window), "ListBox");
  scene.list->AddRow("after binding");
  scene.list->AddRow("third");
  ASSERT_EQ(scene.Count(), 3);
  EXPECT_EQ(scene.Text(0), "before binding");
  EXPECT_EQ(scene.Text(1), "after binding");
  EXPECT_EQ(scene.Text(2), "third");
  scene.list->Clear();
  EXPECT_EQ(scene.Count(), 0);
}

TEST_F(BackendListBoxTest, ReplacingARowKeepsItsPlaceAndTheSelection) {
  ListScene scene;
  scene.list->AddRow("one");
  scene.list->AddRow("two");
  scene.list->SetItemIndex(1);
  scene.list->SetRow(1, "ONE");
  EXPECT_EQ(scene.Count(), 3);
  EXPECT_EQ(scene.Text(1), "ONE");
  EXPECT_EQ(scene.Text(2), "two");
  EXPECT_EQ(scene.Selected(), 1);
}

TEST_F(BackendListBoxTest, ProgramSelectionSelectsWithoutAClick) {
  ListScene scene;
  int clicks = 0;
  scene.list->OnClick = [&clicks](TComponent*) { ++clicks; };
  scene.list->AddRow("one");
  scene.list->SetItemIndex(1);
  DrainMessages();
  EXPECT_EQ(scene.Selected(), 1);
  scene.list->SetItemIndex(-1);
  EXPECT_EQ(scene.Selected(), LB_ERR);
  EXPECT_EQ(clicks, 0);
}

TEST_F(BackendListBoxTest, UserSelectionRaisesOnClickWithTheSelectedRow) {
  ListScene scene;
  for (int i = 0; i < 5; ++i)
    scene.list->AddRow("row " + std::to_string(i));
  int clicks = 0;
  int32_t selectedInHandler = -1;
  scene.list->OnClick = [&](TComponent*) {
    ++clicks;
    selectedInHandler = scene.list->ItemIndex();
  };
  scene.probe.Form.Show();
  // The third row: rows are 12 pixels high.
  PostClick(scene.window, 20, 2 * 12 + 5);
  EXPECT_TRUE(PumpUntil([&] { return clicks > 0; }));
  EXPECT_EQ(selectedInHandler, 2);
  EXPECT_EQ(scene.list->ItemIndex(), 2);
}

TEST_F(BackendListBoxTest, DoubleClickOnARowRaisesOnDblClick) {
  ListScene scene;
  int doubleClicks = 0;
  scene.list->OnDblClick = [&doubleClicks](TComponent*) { ++doubleClicks; };
  scene.probe.Form.Show();
  PostClick(scene.window, 20, 5);
  PostMessageA(scene.window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
  PostMessageA(scene.window, WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
  EXPECT_TRUE(PumpUntil([&] { return doubleClicks > 0; }));
}

TEST_F(BackendListBoxTest, ListUsesItsFontInTheOemCharacterSetAndItsRowHeight) {
  ListScene scene;
  const auto font = reinterpret_cast<HFONT>(SendMessageA(scene.window, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA logical{};
  ASSERT_NE(GetObjectA(font, sizeof logical, &logical), 0);
  EXPECT_STREQ(logical.lfFaceName, "Terminal");
  EXPECT_EQ(logical.lfHeight, 12);
  EXPECT_EQ(logical.lfCharSet, OEM_CHARSET);
  EXPECT_EQ(SendMessageA(scene.window, LB_GETITEMHEIGHT, 0, 0), 12);
  scene.list->SetItemHeight(15);
  EXPECT_EQ(SendMessageA(scene.window, LB_GETITEMHEIGHT, 0, 0), 15);
  scene.list->SetFont(TFont{});
  const auto changed = reinterpret_cast<HFONT>(SendMessageA(scene.window, WM_GETFONT, 0, 0));
  ASSERT_NE(GetObjectA(changed, sizeof logical, &logical), 0);
  EXPECT_STREQ(logical.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(logical.lfHeight, -11);
  EXPECT_EQ(SendMessageA(scene.window, LB_GETITEMHEIGHT, 0, 0), 15) << "the row height stays";
}

std::string FaceOf(HWND window) {
  const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
  LOGFONTA logical{};
  if (GetObjectA(font, sizeof logical, &logical) == 0) return "<no font>";
  return logical.lfFaceName;
}

TEST_F(BackendListBoxTest, RowsTheBitmapFontCannotShowTurnTheWholeListToTheTrueTypeFace) {
  if (GetACP() != CP_UTF8) GTEST_SKIP() << "the code page is " << GetACP() << ", not UTF-8";
  ListScene scene;
  scene.list->AddRow("Café crème");
  EXPECT_EQ(FaceOf(scene.window), "Terminal") << "Western rows keep the list's own font";
  scene.list->AddRow("日本語");
  EXPECT_EQ(FaceOf(scene.window), "Microsoft Sans Serif");
  EXPECT_EQ(SendMessageA(scene.window, LB_GETITEMHEIGHT, 0, 0), 12) << "the row height stays";
  scene.list->AddRow("plain");
  EXPECT_EQ(FaceOf(scene.window), "Microsoft Sans Serif") << "one font for every row";
  scene.list->Clear();
  scene.list->AddRow("plain");
  EXPECT_EQ(FaceOf(scene.window), "Terminal") << "a new listing starts in the list's font";
}

TEST_F(BackendListBoxTest, LongListHasAScrollBarAndNoBorderOfItsOwn) {
  ListScene scene;
  // The list shows its scroll bar only when the rows do not fit.
  for (int i = 0; i < 40; ++i)
    scene.list->AddRow("row");
  // Rows added in a burst show once the program is back in its event loop.
  EXPECT_TRUE(
      PumpUntil([&] { return (GetWindowLongA(scene.window, GWL_STYLE) & WS_VSCROLL) != 0; }));
  const LONG style = GetWindowLongA(scene.window, GWL_STYLE);
  EXPECT_NE(style & WS_VISIBLE, 0);
  EXPECT_NE(style & LBS_NOTIFY, 0);
  EXPECT_NE(style & LBS_NOINTEGRALHEIGHT, 0);
  EXPECT_EQ(style & (WS_BORDER | LBS_SORT), 0);
  EXPECT_EQ(GetWindowLongA(scene.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(BackendListBoxTest, ListShowsItsColourBehindTheRows) {
  ListScene scene;
  scene.list->SetColor(kTealColor);
  const Rendering shown = RenderClient(scene.window);
  KeepRendering(shown, "list");
  EXPECT_EQ(shown.At(shown.Width / 2, shown.Height - 3), kTeal);
}

TEST_F(BackendListBoxTest, TwentyThousandRowsAllArrive) {
  ListScene scene;
  for (int i = 1; i <= 20000; ++i)
    scene.list->AddRow(std::to_string(i));
  EXPECT_EQ(scene.Count(), 20001);
  EXPECT_EQ(scene.Text(20000), "20000");
}

// --- Modal showing ---

// A main window and a dialog above it.
struct ModalScene {
  ModalScene() : owner(200, 120, "OwnerForm"), dialog(160, 90, "DialogProbe") {
    ownerWindow = owner.Bind();
    owner.Form.Show();
    dialog.Form.OnShow = [this](TComponent*) { ++shows; };
    dialogWindow = dialog.Bind();
  }
  ProbeForm owner;
  ProbeForm dialog;
  HWND ownerWindow;
  HWND dialogWindow;
  int shows = 0;
};

constexpr int32_t kTimedOut = 99;

TEST_F(BackendModalTest, ModalFormDisablesTheOtherFormsUntilItCloses) {
  ModalScene scene;
  bool activated = false;
  bool ownerEnabledMeanwhile = true;
  bool dialogVisibleMeanwhile = false;
  ActivationHook hook([&](HWND window) {
    if (window != scene.dialogWindow || activated) return;
    activated = true;
    ownerEnabledMeanwhile = IsWindowEnabled(scene.ownerWindow) != FALSE;
    dialogVisibleMeanwhile = IsWindowVisible(scene.dialogWindow) != FALSE;
    PostMessageA(window, WM_CLOSE, 0, 0);
  });
  Watchdog watchdog(5000, [&] { scene.dialog.Form.SetModalResult(kTimedOut); });
  const int32_t result = scene.dialog.Form.ShowModal();
  EXPECT_EQ(result, mrCancel);
  EXPECT_TRUE(activated);
  EXPECT_FALSE(ownerEnabledMeanwhile);
  EXPECT_TRUE(dialogVisibleMeanwhile);
  EXPECT_EQ(scene.shows, 1);
  EXPECT_TRUE(IsWindowEnabled(scene.ownerWindow));
  EXPECT_FALSE(IsWindowVisible(scene.dialogWindow));
  EXPECT_FALSE(scene.dialog.Form.IsShowingModal());
}

TEST_F(BackendModalTest, ClickThatSetsTheModalResultEndsTheShowing) {
  ModalScene scene;
  auto* button = scene.dialog.Form.Create<TImage>(&scene.dialog.Form);
  button->SetBounds(10, 10, 40, 20);
  bool ownerEnabledMeanwhile = true;
  button->OnClick = [&](TComponent*) {
    ownerEnabledMeanwhile = IsWindowEnabled(scene.ownerWindow) != FALSE;
    scene.dialog.Form.SetModalResult(mrOk);
  };
  PostClick(scene.dialogWindow, 20, 20);
  Watchdog watchdog(5000, [&] { scene.dialog.Form.SetModalResult(kTimedOut); });
  EXPECT_EQ(scene.dialog.Form.ShowModal(), mrOk);
  EXPECT_FALSE(ownerEnabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(scene.ownerWindow));
  EXPECT_EQ(GetActiveWindow(), scene.ownerWindow) << "activation goes back to the window below";
}

TEST_F(BackendModalTest, TerminatingTheProgramEndsTheShowingAndLeavesTheQuitForTheMainLoop) {
  ModalScene scene;
  auto* button = scene.dialog.Form.Create<TImage>(&scene.dialog.Form);
  button->SetBounds(10, 10, 40, 20);
  button->OnClick = [](TComponent*) { Application().Terminate(); };
  PostClick(scene.dialogWindow, 20, 20);
  Watchdog watchdog(5000, [&] { scene.dialog.Form.SetModalResult(kTimedOut); });
  EXPECT_EQ(scene.dialog.Form.ShowModal(), mrNone);
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
  EXPECT_TRUE(IsWindowEnabled(scene.ownerWindow));
}

// --- Timers ---

TEST_F(BackendTimerTest, EnabledTimerFiresThroughTheMessageLoop) {
  TTimer timer;
  int ticks = 0;
  timer.SetEnabled(false);
  timer.SetInterval(10);
  timer.OnTimer = [&ticks](TComponent*) { ++ticks; };
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
}

TEST_F(BackendTimerTest, StoppedOrDestroyedTimerFiresNoMore) {
  TTimer reference;
  int referenceTicks = 0;
  reference.SetInterval(10);
  reference.OnTimer = [&](TComponent*) { ++referenceTicks; };
  reference.SetEnabled(false);
  reference.SetEnabled(true);

  TTimer oneShot;
  int oneShotTicks = 0;
  oneShot.SetInterval(10);
  oneShot.OnTimer = [&](TComponent*) {
    ++oneShotTicks;
    oneShot.SetEnabled(false);
  };
  oneShot.SetEnabled(false);
  oneShot.SetEnabled(true);

  auto doomed = std::make_unique<TTimer>();
  int doomedTicks = 0;
  doomed->SetInterval(10);
  doomed->OnTimer = [&](TComponent*) { ++doomedTicks; };
  doomed->SetEnabled(false);
  doomed->SetEnabled(true);
  doomed.reset();

  EXPECT_TRUE(PumpUntil([&] { return referenceTicks >= 5; }));
  EXPECT_EQ(oneShotTicks, 1);
  EXPECT_EQ(doomedTicks, 0);
}

TEST_F(BackendTimerTest, NewIntervalRestartsTheTimer) {
  TTimer timer;
  int ticks = 0;
  timer.SetInterval(60000);
  timer.OnTimer = [&ticks](TComponent*) { ++ticks; };
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  timer.SetInterval(10);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
}

// --- Errors ---

TEST_F(BackendErrorTest, ErrorInAClickHandlerShowsTheBoxAndTheProgramGoesOn) {
  Application().SetTitle("Probe title");
  ClickScene scene;
  scene.picture->OnClick = [](TComponent*) { throw EReadError(); };
  MessageBoxAnswerer answerer;
  PostClick(scene.window, 15, 45);
  EXPECT_TRUE(PumpUntil([&] { return answerer.Count() > 0; }));
  ASSERT_EQ(answerer.Count(), 1);
  EXPECT_EQ(answerer.Texts()[0], "Stream read error.");
  EXPECT_EQ(answerer.Titles()[0], "Probe title");
  PostClick(scene.window, 45, 25);
  EXPECT_TRUE(PumpUntil([&] { return scene.labelClicks > 0; })) << "events still arrive";
}

TEST_F(BackendErrorTest, ErrorInAResizeHandlerStaysInsideTheWindowProcedure) {
  Application().SetTitle("Resize title");
  ProbeForm probe;
  const HWND window = probe.Bind();
  probe.Form.OnResize = [](TComponent*) { throw EIntOverflow(); };
  MessageBoxAnswerer answerer;
  SetWindowPos(window, nullptr, 0, 0, 300, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_EQ(answerer.Count(), 1);
  EXPECT_EQ(answerer.Texts()[0], "Integer overflow.");
  EXPECT_EQ(answerer.Titles()[0], "Resize title");
}

TEST_F(BackendErrorTest, ErrorInATimerHandlerShowsTheBox) {
  Application().SetTitle("Timer title");
  TTimer timer;
  timer.SetInterval(10);
  timer.OnTimer = [&timer](TComponent*) {
    timer.SetEnabled(false);
    throw Exception("Timer failed");
  };
  MessageBoxAnswerer answerer;
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return answerer.Count() > 0; }));
  ASSERT_EQ(answerer.Count(), 1);
  EXPECT_EQ(answerer.Texts()[0], "Timer failed.");
}

// A reader finds the painted button and label among the window's children, where they lie on the
// screen, presses the button, and hears its caption change and its focus.
TEST_F(BackendMouseTest, ReadersFindPressAndFollowThePaintedControls) {
  const NoKeyboardCues cues;
  ButtonScene scene(true);
  auto* note = scene.probe.Form.Create<TLabel>(&scene.probe.Form);
  note->SetCaption("A note");
  note->SetBounds(10, 70, note->Width(), note->Height());
  auto* ok = scene.probe.Form.Create<TButton>(&scene.probe.Form);
  ok->SetCaption("OK");
  ok->SetBounds(140, 70, 50, 25);
  int clicks = 0;
  scene.picture->OnClick = [&](TComponent*) { ++clicks; };
  const Accessible held = ClientObjectOf(scene.window);
  ASSERT_NE(held, nullptr);
  IAccessible* object = held.get();
  const auto child = ChildId;
  const auto name = [&](long id) { return ReadObject(*object, id).Name; };
  // The background and the caption are no children of their own; the child window comes last.
  long count = 0;
  object->get_accChildCount(&count);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(name(1), L"Install");
  EXPECT_EQ(name(2), L"A note");
  IDispatch* window = nullptr;
  EXPECT_EQ(object->get_accChild(child(3), &window), S_OK);
  if (window != nullptr) window->Release();

  POINT origin{0, 0};
  ClientToScreen(scene.window, &origin);
  long left = 0, top = 0, width = 0, height = 0;
  object->accLocation(&left, &top, &width, &height, child(1));
  EXPECT_EQ(std::tuple(left - origin.x, top - origin.y, width, height), std::tuple(10, 10, 120, 40));
  // Hit testing: the caption counts as its button; the child window answers for itself.
  for (const auto& [x, y, kind, id] : {std::tuple{45, 25, VT_I4, 1L}, {12, 72, VT_I4, 2L},
                                       {150, 80, VT_DISPATCH, 0L}, {180, 5, VT_I4, 0L}}) {
    VARIANT hit{};
    object->accHitTest(origin.x + x, origin.y + y, &hit);
    EXPECT_EQ(hit.vt, kind) << x << "," << y;
    if (hit.vt == VT_I4) {
      EXPECT_EQ(hit.lVal, id) << x << "," << y;
    } else if (hit.vt == VT_DISPATCH) {
      hit.pdispVal->Release();
    }
  }
  VARIANT next{};
  object->accNavigate(NAVDIR_NEXT, child(1), &next);
  EXPECT_EQ(next.vt == VT_I4 ? next.lVal : -1, 2);

  // Events: the caption's change, and the focus that Tab gives the button.
  struct Events {
    static void CALLBACK Heard(HWINEVENTHOOK, DWORD event, HWND, LONG objectId, LONG childId,
                               DWORD, DWORD) {
      if (objectId == OBJID_CLIENT) List().emplace_back(event, childId);
    }
    static std::vector<std::pair<DWORD, LONG>>& List() {
      static std::vector<std::pair<DWORD, LONG>> list;
      return list;
    }
  };
  std::vector<std::pair<DWORD, LONG>>& events = Events::List();
  events.clear();
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, Events::Heard,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  scene.label->SetCaption("Setup");
  SetForegroundWindow(scene.window);
  SetFocus(scene.window);
  PostKey(scene.window, VK_TAB);
  Application().Backend().ProcessMessages();
  EXPECT_EQ(object->accDoDefaultAction(child(1)), S_OK);
  DrainMessages();
  UnhookWinEvent(hook);
  EXPECT_EQ(name(1), L"Setup");
  EXPECT_EQ(clicks, 1) << "the default action presses the button";
  const auto heard = [&](DWORD event) {
    return std::find(events.begin(), events.end(), std::pair(event, 1L)) != events.end();
  };
  EXPECT_TRUE(heard(EVENT_OBJECT_NAMECHANGE));
  EXPECT_TRUE(heard(EVENT_OBJECT_FOCUS));
  // The system's focus cues, shown once a key was used, follow the window's UI state.
  ASSERT_TRUE(scene.probe.Form.FocusCues());
  SendMessageA(scene.window, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
  EXPECT_FALSE(scene.probe.Form.FocusCues());
}

}  // namespace
}  // namespace foyer::test
