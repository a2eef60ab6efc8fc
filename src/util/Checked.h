// Overflow-checked integer arithmetic and range-checked tables: a failed check throws.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "util/Errors.h"

namespace foyer {

inline int32_t CheckedAdd(int32_t a, int32_t b) {
  int32_t result;
  if (__builtin_add_overflow(a, b, &result)) throw EIntOverflow();
  return result;
}

inline int32_t CheckedSub(int32_t a, int32_t b) {
  int32_t result;
  if (__builtin_sub_overflow(a, b, &result)) throw EIntOverflow();
  return result;
}

inline int32_t CheckedMul(int32_t a, int32_t b) {
  int32_t result;
  if (__builtin_mul_overflow(a, b, &result)) throw EIntOverflow();
  return result;
}

// Truncates toward zero, as the layout requires; INT32_MIN / -1 overflows.
inline int32_t CheckedDiv(int32_t a, int32_t b) {
  if (b == 0 || (a == INT32_MIN && b == -1)) throw EIntOverflow();
  return a / b;
}

// Narrows a size or count to a signed 32-bit integer.
template <typename T>
int32_t CheckedInt32(T value) {
  int32_t result;
  if (__builtin_add_overflow(value, 0, &result)) throw EIntOverflow();
  return result;
}

// A fixed table indexed Low..High, as the program's tables are declared (1..15, say).
template <typename T, int32_t Low, int32_t High>
class RangeArray {
  static_assert(Low <= High);

 public:
  T& operator[](int32_t index) { return FItems[Slot(index)]; }
  const T& operator[](int32_t index) const { return FItems[Slot(index)]; }
  static constexpr int32_t LowIndex() { return Low; }
  static constexpr int32_t HighIndex() { return High; }

 private:
  static size_t Slot(int32_t index) {
    if (index < Low || index > High) throw ERangeError();
    return static_cast<size_t>(index - Low);
  }
  std::array<T, static_cast<size_t>(High - Low + 1)> FItems{};
};

}  // namespace foyer
