// Integer sine and square root, so that generated pictures and sounds are the same bytes on every
// compiler and floating-point unit.
#include "medgen/FixedMath.h"

namespace foyer::medgen {

int32_t Sine(int32_t phase) {
  constexpr int64_t kHalf = kPhaseTurn / 2;
  int64_t p = phase % kPhaseTurn;
  if (p < 0) p += kPhaseTurn;
  const bool isNegative = p >= kHalf;
  if (isNegative) p -= kHalf;
  // Bhaskara's approximation with the angle in half-turn units: the factors of pi cancel out.
  const int64_t product = p * (kHalf - p);
  const int64_t value = 16 * product * kSineOne / (5 * kHalf * kHalf - 4 * product);
  return static_cast<int32_t>(isNegative ? -value : value);
}

int32_t Cosine(int32_t phase) {
  return Sine(phase + kPhaseTurn / 4);
}

uint32_t ISqrt(uint64_t value) {
  uint64_t result = 0;
  uint64_t bit = uint64_t{1} << 62;
  while (bit > value)
    bit >>= 2;
  while (bit != 0) {
    if (value >= result + bit) {
      value -= result + bit;
      result = (result >> 1) + bit;
    } else {
      result >>= 1;
    }
    bit >>= 2;
  }
  return static_cast<uint32_t>(result);
}

uint32_t Lcg::Next() {
  FState = FState * 1664525u + 1013904223u;
  return FState >> 8;
}

int32_t Lcg::Below(int32_t bound) {
  return static_cast<int32_t>(Next() % static_cast<uint32_t>(bound));
}

}  // namespace foyer::medgen
