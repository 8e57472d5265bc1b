#pragma once
// The benchmarks' clock: seconds from the performance counter.
#include <windows.h>

namespace tw::bench {

inline double Now() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER c;
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / frequency;
}

}  // namespace tw::bench
