#pragma once
// Wall and processor time of one measured step, for benchmarks that time by hand.

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

namespace bench {

using Clock = std::chrono::steady_clock;

// Seconds since `start`, for State::SetIterationTime.
double Seconds(Clock::time_point start);

// The process's processor time, which other work on a shared machine does not inflate.
class CpuTime {
  public:
    CpuTime() : start_(std::clock()) {}
    // Reports the time since construction as the counter cpu_ms.
    void AddTo(benchmark::State& state) const;

  private:
    std::clock_t start_;
};

} // namespace bench
