// The benchmarks' clock: seconds from the performance counter.
#pragma once

#include "platform/win32/WinApi.h"

namespace foyer::bench {

inline double Seconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace foyer::bench
