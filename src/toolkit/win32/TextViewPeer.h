// A read-only, wrapping memo's own text view: shows many megabytes at once, because it wraps
// from a table of character widths and paints only the lines in view.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "toolkit/Controls.h"
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
  void MeasureFont();
  void IndexLines();
  size_t LineEnd(size_t line) const;
  void Wrap();
  // Wraps again for the current width and font, keeping the first visible text in view.
  void Rewrap();

  int Advance(int x, unsigned char character) const {
    return character == '\t' ? (x / FTabWidth + 1) * FTabWidth : x + FCharWidths[character];
  }
  // Where the character at the offset begins, from the row's left edge.
  int XOf(const Row& row, size_t offset) const;
  // The text offset nearest to a client point.
  size_t OffsetAt(int x, int y) const;

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
  void OnMouseDown(int x, int y, bool extend);
  void OnMouseMove(int x, int y);
  void Select(size_t anchor, size_t caret);
  void CopySelection() const;
  LRESULT CopyText(WPARAM size, LPARAM buffer) const;

  TMemo& FMemo;
  // Where every logical line starts; CR LF, a lone CR and a lone LF each end one.
  std::vector<size_t> FLineStarts;
  std::vector<Row> FRows;
  std::array<int, 256> FCharWidths{};
  int FTabWidth = 8;
  int FRowHeight = 1;
  // The width lines wrap at; none while the window has no width yet.
  int FWrapWidth = 0;
  size_t FTopRow = 0;
  size_t FAnchor = 0;
  size_t FCaret = 0;
  bool FSelecting = false;
  int FWheelRemainder = 0;
};

}  // namespace foyer
