// A rich-text view's "RichEdit20A" child window.
#include "toolkit/win32/RichEditPeer.h"

#include <commctrl.h>
#include <oleacc.h>
#include <richedit.h>

#include <algorithm>

#include "platform/win32/SystemLibraries.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/win32/FontCache.h"
#include "toolkit/win32/ModulePool.h"
#include "toolkit/win32/Painting.h"
#include "toolkit/win32/PopupMenus.h"
#include "toolkit/win32/StdAccessible.h"
#include "util/Errors.h"

namespace foyer {

namespace {

// Wine's rich edit (8.0) keeps the state of open groups in a fixed stack and reads past it when a
// document nests deeper: the program ends. Measured: 32 nested groups (the outermost included)
// load, 33 end the program, and braces in \bin data count as groups there.
constexpr int32_t kWineMaxGroupDepth = 32;

// The address space the control takes per byte of document while it is shown, laid out in the
// window: 154 bytes measured in the 64-bit build under Wine, on documents of 1 and 2 MB of
// paragraphs with bold and italic runs. A 32-bit build takes less (its pointers are half the
// size), so there the figure errs on the side of refusing.
constexpr uint64_t kMemoryPerDocumentByte = 160;
// Kept free for the rest of the program while a document loads: its windows, painting, and the
// message that says the document is too large.
constexpr uint64_t kMemoryReserve = 64 * 1024 * 1024;

// The control's stream callback reads through the component's reader; nothing it throws may
// cross the control, and a reader that failed or threw ends the stream with an error.
DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* got) {
  const auto& read = *reinterpret_cast<const TStreamReader*>(cookie);
  *got = 0;
  try {
    size_t count = 0;
    if (!read(reinterpret_cast<char*>(buffer), static_cast<size_t>(capacity), count)) return 1;
    *got = static_cast<LONG>(count);
    return 0;
  } catch (...) {
    return 1;
  }
}

}  // namespace

void LoadRichEditLibrary() {
  // Kept loaded until the process ends: the window class lives in it. Not a known library of
  // the system, so loaded by name it would be looked for beside the program first.
  const HMODULE library = LoadSystemLibrary("riched20.dll");
  if (library == nullptr) throw Exception("Cannot load the rich-text control riched20.dll");
  PoolModuleHeapUnderWine(library);
}

RichEditPeer::RichEditPeer(const PeerContext& context, TRichEdit& richEdit)
    : WindowPeer(context, richEdit), FRichEdit(richEdit) {
  AdoptWindow(NewWindow());
  Configure();
}

HWND RichEditPeer::NewWindow() const {
  // Read-only, wrapping at the right edge, with a vertical bar that shows only while the text
  // does not fit. No ES_WANTRETURN: Enter stays with the form. No OLE callback is ever set, so
  // objects embedded in a document are never started.
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                ES_AUTOVSCROLL | ES_READONLY;
  if (FRichEdit.Visible()) style |= WS_VISIBLE;
  if (!FRichEdit.Enabled()) style |= WS_DISABLED;
  return CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "", style, 0, 0, 0, 0, ParentHandle(),
                         nullptr, Context().Instance, nullptr);
}

void RichEditPeer::Configure() {
  // The control's own limit is 32,767 characters, and a longer stream would be cut.
  Send(EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  Send(EM_SETEVENTMASK, 0, ENM_SELCHANGE);
  ApplyBounds();
  ApplyFont();
  ApplyColor();
}

// The rich edit under Wine takes time that grows with the square of the text to delete it (45 s
// for 1 MB), and a stream-in replacing a document deletes it first; destroying the window frees
// the same text in a moment. So a control that holds text is replaced by a new, empty one.
void RichEditPeer::Clear() {
  if (GetWindowTextLengthA(Handle()) == 0) return;
  ReplaceWindow(NewWindow());
  Configure();
}

void RichEditPeer::Changed(TChange what, int32_t index) {
  switch (what) {
    case TChange::Font:
      ApplyFont();
      break;
    case TChange::Color:
      ApplyColor();
      break;
    case TChange::Selection:
      ApplySelection();
      break;
    default:
      WindowPeer::Changed(what, index);
      break;
  }
}

// The font is the document's default character format: what plain text shows in and what rich
// text falls back to. Not WM_SETFONT: after it, the rich edit under Wine loads a long document
// in a narrow window about forty times slower (80 s against 2 s for 1 MB).
void RichEditPeer::ApplyFont() {
  const TFont& font = FRichEdit.Font();
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  // Plain: the format the control starts with is the system font's, which is bold.
  format.dwMask =
      CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  int pixelsPerInch = 96;
  if (ClientDC dc(Handle()); dc.IsValid()) pixelsPerInch = GetDeviceCaps(dc.Get(), LOGPIXELSY);
  // In twips; a negative height is the character height, which is what a point size gives.
  format.yHeight = MulDiv(font.Height < 0 ? -font.Height : font.Height, 1440, pixelsPerInch);
  lstrcpynA(format.szFaceName, font.Name.c_str(), LF_FACESIZE);
  format.crTextColor = ColorRef(font.Color);
  Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void RichEditPeer::ApplyColor() {
  Send(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorRef(FRichEdit.Color())));
  if (!IsHighContrast()) return;
  // A document's own colours were chosen for a white page and may not be readable on the
  // theme's background: in high contrast its text takes the theme's colours (it keeps them when
  // the theme goes, until it is opened again).
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_COLOR | CFM_BACKCOLOR;
  format.dwEffects = CFE_AUTOCOLOR | CFE_AUTOBACKCOLOR;
  Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void RichEditPeer::ApplySelection() {
  CHARRANGE range{FRichEdit.SelStart(), FRichEdit.SelStart() + FRichEdit.SelLength()};
  Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

bool RichEditPeer::StreamIn(const TStreamReader& read, TStreamFormat format) {
  EDITSTREAM stream{};
  stream.dwCookie = reinterpret_cast<DWORD_PTR>(&read);
  stream.pfnCallback = ReadStream;
  const WPARAM kind = format == TStreamFormat::RichText ? SF_RTF : SF_TEXT;
  Clear();
  Send(EM_STREAMIN, kind, reinterpret_cast<LPARAM>(&stream));
  if (format == TStreamFormat::PlainText && stream.dwError == 0) ShowAllScripts();
  if (IsHighContrast()) ApplyColor();
  ReportSelection();
  return stream.dwError == 0;
}

// Plain text shows in the control's one font, a bitmap face with the glyphs of one code page:
// text in other scripts is shown in the face the font cache falls back to, as the other
// controls do. Judged from the text's start, so that a long document costs no second copy.
void RichEditPeer::ShowAllScripts() {
  constexpr LONG kSample = 64 * 1024;
  std::wstring sample(kSample + 1, L'\0');
  // In UTF-16 (code page 1200) from the control of either kind.
  GETTEXTEX get{static_cast<DWORD>(sample.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr,
                nullptr};
  sample.resize(static_cast<size_t>(
      Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(sample.data()))));
  FontCache& fonts = Context().Fonts;
  const HFONT shown = fonts.For(FRichEdit.Font(), sample);
  if (shown == fonts.Get(FRichEdit.Font())) return;
  LOGFONTA logical{};
  if (GetObjectA(shown, sizeof logical, &logical) == 0) return;
  CHARFORMAT2A face{};
  face.cbSize = sizeof face;
  face.dwMask = CFM_FACE | CFM_CHARSET;
  face.bCharSet = DEFAULT_CHARSET;
  lstrcpynA(face.szFaceName, logical.lfFaceName, LF_FACESIZE);
  Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&face));
}

int32_t RichEditPeer::TextLength() const {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
  return static_cast<int32_t>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

int32_t RichEditPeer::MaxGroupDepth() const {
  // Windows' rich edit reads nesting of any depth: its documents are not cut short there.
  return RunsUnderWine() ? kWineMaxGroupDepth : 0;
}

bool RichEditPeer::HasRoomFor(uint64_t documentBytes, uint64_t memoryLimit) const {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) return true;
  // Address space runs out first in a 32-bit process, memory the system can commit in a 64-bit
  // one.
  uint64_t room = std::min<uint64_t>(status.ullAvailVirtual, status.ullAvailPageFile);
  room = std::min(room, memoryLimit);
  if (room <= kMemoryReserve) return false;
  return documentBytes <= (room - kMemoryReserve) / kMemoryPerDocumentByte;
}

void RichEditPeer::CopySelection() {
  Send(WM_COPY);
}

void RichEditPeer::ReportSelection() {
  CHARRANGE range{};
  Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  FRichEdit.BackendSelectionChanged(range.cpMin, range.cpMax - range.cpMin);
}

std::optional<LRESULT> RichEditPeer::AccessibleObject(WPARAM wParam, LPARAM lParam) const {
  // A client may ask after the control is gone: the answers find the peer by its window.
  const HWND window = Handle();
  const auto peer = [window] { return dynamic_cast<const RichEditPeer*>(FromHandle(window)); };
  AccessibleOverrides self;
  // Named after the document, as the viewer's caption is.
  self.Name = [peer] {
    const RichEditPeer* view = peer();
    const TForm* form = view != nullptr ? view->FRichEdit.ParentForm() : nullptr;
    return form != nullptr ? WideText(form->Caption()) : std::wstring();
  };
  self.Role = ROLE_SYSTEM_TEXT;
  self.Value = [peer] {
    const RichEditPeer* view = peer();
    return view != nullptr ? view->DocumentText() : std::wstring();
  };
  self.StateAdded = STATE_SYSTEM_READONLY;
  return AnswerGetObject(window, wParam, lParam, self);
}

// The whole document in UTF-16 (code page 1200), from the control of either kind, with its
// paragraphs ending in CR as the control's character positions count them.
std::wstring RichEditPeer::DocumentText() const {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
  const LRESULT units = Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
  if (units <= 0) return {};
  std::wstring text(static_cast<size_t>(units) + 1, L'\0');
  GETTEXTEX get{static_cast<DWORD>(text.size() * sizeof(wchar_t)), GT_DEFAULT, 1200, nullptr,
                nullptr};
  text.resize(static_cast<size_t>(
      Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::optional<LRESULT> RichEditPeer::Reflected(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code != EN_SELCHANGE) return std::nullopt;
      const auto* change = reinterpret_cast<const SELCHANGE*>(lParam);
      FRichEdit.BackendSelectionChanged(change->chrg.cpMin,
                                        change->chrg.cpMax - change->chrg.cpMin);
      return 0;
    }
    // The control passes a right click on to its parent when it has no OLE callback.
    case WM_CONTEXTMENU: {
      TPopupMenu* menu = FRichEdit.PopupMenu();
      if (menu == nullptr) return std::nullopt;
      ShowPopupMenu(Handle(), ContextMenuPoint(Handle(), lParam, {4, 4}), *menu);
      return 0;
    }
    default:
      return std::nullopt;
  }
}

}  // namespace foyer
