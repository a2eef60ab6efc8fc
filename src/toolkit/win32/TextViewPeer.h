// A read-only, wrapping memo's own text view: shows many megabytes at once, because it wraps
// from a table of character widths and paints only the lines in view.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/win32/GdiHandles.h"
#include "toolkit/win32/WindowPeer.h"

namespace foyer {

class TextViewPeer final : public WindowPeer {
 public:
  // The window class; other processes find the view by it.
  static constexpr const char* kClassName = "FoyerTextView";

  TextViewPeer(const PeerContext& context, TMemo& memo);

  void Changed(TChange what, int32_t index) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // A visual line: a piece of one logical line, as offsets into the memo's text.
  struct Row {
    size_t Start;
    size_t End;
  };

  DWORD Style() const;
  void ApplyStyle();
  void ChooseFont();
  void MeasureFont();
  void IndexLines();
  size_t LineEnd(size_t line) const;
  void Wrap();
  // Wraps again for the current width and font, keeping the first visible text in view.
  void Rewrap();

  // The character at the offset, and the offset after it. Under the UTF-8 code page a
  // character takes one to four bytes; an ill-formed sequence shows as one U+FFFD.
  char32_t CharAt(size_t offset, size_t& next) const {
    const auto byte = static_cast<unsigned char>(FMemo.Text()[offset]);
    if (byte < 0x80 || !FIsUtf8) {
      next = offset + 1;
      return byte;
    }
    return DecodeAt(offset, next);
  }
  char32_t DecodeAt(size_t offset, size_t& next) const;
  int Advance(int x, char32_t character) const {
    if (character == '\t') return (x / FTabWidth + 1) * FTabWidth;
    return x + (character < FCharWidths.size() ? FCharWidths[character] : WideWidth(character));
  }
  // The width of a character beyond the table, measured once in the font the text is drawn in,
  // with the glyph the system's font links give it.
  int WideWidth(char32_t character) const;
  // The start of the character the offset falls in.
  size_t CharStart(size_t offset) const;
  // The text between the offsets as the wide calls take it.
  std::wstring WideSpan(size_t from, size_t to) const;
  // A place in the text and the visual row it shows on: the end of a wrapped row and the start
  // of the next one are the same offset.
  struct Place {
    size_t RowIndex;
    size_t Offset;
  };

  // Where the character at the offset begins, from the row's left edge.
  int XOf(const Row& row, size_t offset) const;
  // The offset in the row nearest to x, measured from the row's left edge.
  size_t OffsetIn(const Row& row, int x) const;
  // The place nearest to a client point.
  Place PlaceAt(int x, int y) const;
  // The row an offset shows on; at the end of a wrapped row, the next one.
  size_t RowOf(size_t offset) const;
  // An offset inside a CR LF pair moves before it.
  size_t Normalized(size_t offset) const;

  void Paint(HDC dc, const RECT& area) override;
  void PaintRow(HDC dc, const Row& row, int y) const;
  void PaintSpan(HDC dc, const Row& row, size_t from, size_t to, int y, COLORREF color) const;

  size_t VisibleRows() const;
  size_t MaxTopRow() const;
  void ScrollTo(size_t topRow);
  void ScrollBy(long long rows);
  void UpdateScrollBars() const;
  void OnVScroll(WORD code);
  void OnMouseWheel(short delta);
  void OnKeyDown(WPARAM key);
  // Where a navigation key takes the caret; false for other keys.
  bool KeyTarget(WPARAM key, bool control, Place& target);
  void OnMouseDown(int x, int y, bool extend);
  void OnMouseMove(int x, int y);
  void OnDoubleClick(int x, int y);
  // Copy and Select all, at the pointer or, from the keyboard, below the caret.
  void OnContextMenu(LPARAM lParam);
  void SelectAll();
  void Select(size_t anchor, const Place& caret);
  // Scrolls as little as brings the caret's row into view.
  void ScrollToCaret();
  // The system caret follows the caret's place while the view has the focus.
  void CreateSystemCaret();
  void PlaceSystemCaret() const;
  LRESULT GetSelection(WPARAM start, LPARAM end) const;
  void SetSelection(WPARAM start, LPARAM end);

  // The line queries a screen reader makes of an edit control, answered as a wrapping
  // multi-line edit answers them: lines are the visual rows; offsets count UTF-16 units, as the
  // system's edit counts them in an ANSI window under the UTF-8 code page (measured under Wine
  // 8), and as the accessible value's characters are counted. Text and lines read as bytes.
  LRESULT LineIndex(WPARAM line) const;
  LRESULT LineFromChar(WPARAM unit) const;
  LRESULT LineLength(WPARAM unit) const;
  LRESULT CopyLine(WPARAM line, LPARAM buffer) const;
  LRESULT PosFromChar(WPARAM unit) const;
  LRESULT CharFromPos(LPARAM point) const;
  // The offset in the edit's units of a place in the text, and the place of such an offset (in
  // the middle of a surrogate pair, the pair's start; past the end, the end).
  size_t UnitsOf(size_t offset) const;
  size_t OffsetOfUnits(size_t units) const;
  size_t UnitsBetween(size_t from, size_t to) const;
  const std::vector<size_t>& LineUnits() const;
  // The system's accessible object of the view, with what the view says of itself laid over it.
  std::optional<LRESULT> AccessibleObject(WPARAM wParam, LPARAM lParam) const;
  std::wstring AccessibleName() const;
  std::wstring AccessibleValue() const;
  // The system caret tells assistive technology where it went, where the system does not.
  void TellCaretMoved() const;
  void CopySelection() const;
  LRESULT CopyText(WPARAM size, LPARAM buffer) const;

  TMemo& FMemo;
  // Where every logical line starts; CR LF, a lone CR and a lone LF each end one.
  std::vector<size_t> FLineStarts;
  // The UTF-16 offset of every line's start, under the UTF-8 code page; made on the first
  // line query, as only assistive technology asks them.
  mutable std::vector<size_t> FLineUnits;
  std::vector<Row> FRows;
  // Whether the text is UTF-8 (the process's code page), decided when the text is set.
  bool FIsUtf8 = false;
  // The font the text is drawn in: the memo's, or the face that has glyphs for all of it.
  HFONT FFont = nullptr;
  // Widths of the bytes of a code page, or of the first 256 characters in UTF-8.
  std::array<int, 256> FCharWidths{};
  // Widths of the other characters, in UTF-8: the first 64K in a table made on first need.
  mutable std::vector<int> FBmpWidths;
  mutable std::unordered_map<char32_t, int> FOtherWidths;
  // A device context with the font selected, for measuring characters as they come.
  MemoryDC FMeasureDC;
  std::optional<ObjectSelection> FMeasureFont;
  int FTabWidth = 8;
  int FRowHeight = 1;
  // The width lines wrap at; none while the window has no width yet.
  int FWrapWidth = 0;
  size_t FTopRow = 0;
  size_t FAnchor = 0;
  size_t FCaret = 0;
  size_t FCaretRow = 0;
  // The x a run of Up and Down keys keeps to, across shorter rows; none after other moves.
  int FGoalX = -1;
  bool FSelecting = false;
  int FWheelRemainder = 0;
};

}  // namespace foyer
