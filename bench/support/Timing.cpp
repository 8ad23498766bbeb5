#include "bench/support/Timing.h"

namespace bench {

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void CpuTime::AddTo(benchmark::State& state) const {
    state.counters["cpu_ms"] = 1000.0 * double(std::clock() - start_) / CLOCKS_PER_SEC;
}

} // namespace bench
