// A read-only rich-text view.
#include "toolkit/RichEdit.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>

namespace foyer {

namespace {

// How a rich-text stream begins; the headless control takes no other bytes as rich text.
constexpr std::string_view kRichTextStart = "{\\rtf";

}  // namespace

TRichEdit::TRichEdit(TWinControl* parent) : TWinControl(parent) {
  SetColor(clWindow);
  StoreBounds(0, 0, 185, 89);
}

IRichEditPeer* TRichEdit::RichPeer() const {
  return dynamic_cast<IRichEditPeer*>(Peer());
}

bool TRichEdit::LoadFromStream(const TStreamReader& read, TStreamFormat format) {
  if (IRichEditPeer* peer = RichPeer()) return peer->StreamIn(read, format);
  std::string text;
  std::array<char, 4096> buffer{};
  bool failed = false;
  for (;;) {
    size_t got = 0;
    if (!read(buffer.data(), buffer.size(), got)) {
      failed = true;
      break;
    }
    if (got == 0) break;
    text.append(buffer.data(), got);
  }
  if (format == TStreamFormat::RichText && !text.starts_with(kRichTextStart)) failed = true;
  FHeadlessText = failed ? std::string() : std::move(text);
  BackendSelectionChanged(0, 0);
  return !failed;
}

void TRichEdit::Clear() {
  if (IRichEditPeer* peer = RichPeer()) {
    peer->Clear();
  } else {
    FHeadlessText.clear();
    FHeadlessText.shrink_to_fit();
  }
  BackendSelectionChanged(0, 0);
}

int32_t TRichEdit::TextLength() const {
  if (const IRichEditPeer* peer = RichPeer()) return peer->TextLength();
  return static_cast<int32_t>(
      std::min<size_t>(FHeadlessText.size(), std::numeric_limits<int32_t>::max()));
}

int32_t TRichEdit::MaxGroupDepth() const {
  if (const IRichEditPeer* peer = RichPeer()) return peer->MaxGroupDepth();
  return FHeadlessMaxGroupDepth;
}

bool TRichEdit::HasRoomFor(uint64_t documentBytes) const {
  if (const IRichEditPeer* peer = RichPeer()) return peer->HasRoomFor(documentBytes, FMemoryLimit);
  return documentBytes <= FMemoryLimit;
}

void TRichEdit::Select(int32_t start, int64_t length) {
  FSelStart = start;
  const int64_t room = std::max<int64_t>(0, TextLength() - int64_t{start});
  FSelLength = static_cast<int32_t>(std::clamp<int64_t>(length, 0, room));
  // The control reports the selection it took; headless, the component is the control.
  if (IsBound()) {
    Changed(TChange::Selection);
  } else {
    BackendSelectionChanged(FSelStart, FSelLength);
  }
}

void TRichEdit::SetSelStart(int32_t position) {
  Select(std::clamp(position, 0, TextLength()), 0);
}

void TRichEdit::SetSelLength(int32_t length) {
  Select(FSelStart, length);
}

void TRichEdit::CopyToClipboard() {
  if (IRichEditPeer* peer = RichPeer()) {
    peer->CopySelection();
  } else if (FSelLength > 0) {
    FHeadlessClipboard =
        FHeadlessText.substr(static_cast<size_t>(FSelStart), static_cast<size_t>(FSelLength));
  }
}

void TRichEdit::BackendSelectionChanged(int32_t start, int32_t length) {
  FSelStart = start;
  FSelLength = length;
  if (OnSelectionChange) OnSelectionChange(this);
}

}  // namespace foyer
