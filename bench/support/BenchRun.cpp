#include "bench/support/BenchRun.h"

#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace bench {

void UseOffscreenUnlessSet() {
    const char* platformName = std::getenv("QT_QPA_PLATFORM");
    if (platformName == nullptr || *platformName == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void SetSlovakMachine() {
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
}

int RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
