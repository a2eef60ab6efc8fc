// Integer sine and square root, so that generated pictures and sounds are the same bytes on every
// compiler and floating-point unit.
#pragma once

#include <cstdint>

namespace foyer::medgen {

// One full turn of a phase is kPhaseTurn units.
constexpr int32_t kPhaseTurn = 65536;
// Sine's amplitude: Sine returns -kSineOne..kSineOne.
constexpr int32_t kSineOne = 32767;

// Sine of phase (any integer; one turn per kPhaseTurn), within 0.2 % of the true value.
int32_t Sine(int32_t phase);
int32_t Cosine(int32_t phase);

// Largest r with r * r <= value.
uint32_t ISqrt(uint64_t value);

// A small deterministic generator (a linear congruential one) for varied but repeatable content.
class Lcg {
 public:
  explicit Lcg(uint32_t seed) : FState(seed) {}
  uint32_t Next();
  // A number in 0..bound-1; bound must be positive.
  int32_t Below(int32_t bound);

 private:
  uint32_t FState;
};

}  // namespace foyer::medgen
