// Plain value types shared by the components: rectangles, colours, fonts, events.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace foyer {

class TComponent;

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TSize&) const = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect&) const = default;
};

// A colour: 0x00BBGGRR, or a system colour (the high bit set, the low byte its index).
using TColor = uint32_t;
constexpr TColor kSystemColor = 0x80000000u;
constexpr TColor clWindowText = kSystemColor | 8;
constexpr TColor clWindow = kSystemColor | 5;
constexpr TColor clAppWorkSpace = kSystemColor | 12;
constexpr TColor clBtnFace = kSystemColor | 15;
constexpr TColor clBtnShadow = kSystemColor | 16;
constexpr TColor clGrayText = kSystemColor | 17;
constexpr TColor clBtnHighlight = kSystemColor | 20;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

struct TFont {
  std::string Name = "MS Sans Serif";
  int32_t Height = -11;  // negative: the character height in pixels, as the system reads it
  TColor Color = clWindowText;
  bool operator==(const TFont&) const = default;
};

using TNotifyEvent = std::function<void(TComponent* sender)>;

// Binds a handler method of a form to a component event.
template <typename TOwner>
TNotifyEvent Handler(TOwner* owner, void (TOwner::*method)(TComponent*)) {
  return [owner, method](TComponent* sender) { (owner->*method)(sender); };
}

enum TModalResult : int32_t { mrNone = 0, mrOk = 1, mrCancel = 2 };

}  // namespace foyer
