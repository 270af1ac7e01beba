// Timing for the Windows benchmarks: seconds from the performance counter and
// the median of a set of runs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace bench {

inline double now() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

} // namespace bench
