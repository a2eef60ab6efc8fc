// A clock that moves only when a test moves it.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace foyer {

class MemoryClock final : public IClock {
 public:
  // Each reading gives the time, then moves it on by the step: work that reads the clock as it
  // goes seems to take that long per reading.
  uint32_t Milliseconds() override {
    const uint32_t now = FNow;
    FNow += FStep;
    return now;
  }
  void Advance(uint32_t milliseconds) { FNow += milliseconds; }
  void SetStep(uint32_t milliseconds) { FStep = milliseconds; }

 private:
  uint32_t FNow = 0;
  uint32_t FStep = 0;
};

}  // namespace foyer
