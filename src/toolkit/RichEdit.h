// A read-only rich-text view: one document, loaded from a stream, with selection and copy.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/Types.h"

namespace foyer {

class TPopupMenu;

enum class TStreamFormat : uint8_t { RichText, PlainText };

// Gives the next bytes of a stream: up to capacity of them into buffer, got 0 at its end. False
// when the stream failed.
using TStreamReader = std::function<bool(char* buffer, size_t capacity, size_t& got)>;

// What the rich-text control behind a bound TRichEdit does for it.
class IRichEditPeer {
 public:
  virtual ~IRichEditPeer() = default;
  virtual bool StreamIn(const TStreamReader& read, TStreamFormat format) = 0;
  virtual void Clear() = 0;
  virtual int32_t TextLength() const = 0;
  virtual void CopySelection() = 0;
  // The deepest nesting of groups the control reads rich text with; 0 when it has no limit.
  virtual int32_t MaxGroupDepth() const = 0;
  // Whether the control can take this many more bytes of document within the process's memory
  // and the limit given.
  virtual bool HasRoomFor(uint64_t documentBytes, uint64_t memoryLimit) const = 0;
};

// The text wraps at the right edge, a vertical scroll bar shows while it does not fit, and Enter
// and Escape stay with the form. The document lives in the control; headless, the component
// keeps the bytes it was given as a plain model of one.
class TRichEdit : public TWinControl {
 public:
  explicit TRichEdit(TWinControl* parent);

  // Opened by a right click on the text, or by the keyboard's menu key.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu) { FPopupMenu = menu; }

  // Replaces the whole content with the stream's bytes, read as the format says. False when the
  // control reports an error: the stream failed, or its bytes are not in that format.
  bool LoadFromStream(const TStreamReader& read, TStreamFormat format);
  // Empties the control and gives back the memory its document took.
  void Clear();
  // The number of characters the control holds.
  int32_t TextLength() const;

  // What the control can take: the deepest nesting of groups it reads in rich text (0: no
  // limit), and whether this many more bytes of document still fit in memory. Headless, the
  // depth is whatever a test set, and a byte of document takes a byte of the memory limit.
  int32_t MaxGroupDepth() const;
  bool HasRoomFor(uint64_t documentBytes) const;
  // The most memory a document may take, below what the process has; by default no more limit
  // than that.
  uint64_t MemoryLimit() const { return FMemoryLimit; }
  void SetMemoryLimit(uint64_t bytes) { FMemoryLimit = bytes; }

  int32_t SelStart() const { return FSelStart; }
  int32_t SelLength() const { return FSelLength; }
  // Places an empty selection at the position, kept inside the text.
  void SetSelStart(int32_t position);
  // Selects from the selection's start on, at most to the end of the text.
  void SetSelLength(int32_t length);
  // Puts the selection on the clipboard; headless, into HeadlessClipboard.
  void CopyToClipboard();
  // Raised whenever the selection changes, by the user or by the setters.
  TNotifyEvent OnSelectionChange;

  // For backends: the control's selection changed; stored, and OnSelectionChange raised.
  void BackendSelectionChanged(int32_t start, int32_t length);

  // Headless: what the control holds, as handed over, and what the last copy put on the
  // clipboard.
  const std::string& HeadlessText() const { return FHeadlessText; }
  const std::string& HeadlessClipboard() const { return FHeadlessClipboard; }
  void SetHeadlessMaxGroupDepth(int32_t depth) { FHeadlessMaxGroupDepth = depth; }

 private:
  IRichEditPeer* RichPeer() const;
  void Select(int32_t start, int64_t length);

  TPopupMenu* FPopupMenu = nullptr;
  int32_t FSelStart = 0;
  int32_t FSelLength = 0;
  uint64_t FMemoryLimit = std::numeric_limits<uint64_t>::max();
  int32_t FHeadlessMaxGroupDepth = 0;
  std::string FHeadlessText;
  std::string FHeadlessClipboard;
};

}  // namespace foyer
