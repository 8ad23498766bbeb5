// The window on a catalog of 1,000, 10,000 and 100,000 entries: from its creation
// until it is shown with the list filled, and one "Obnov" on the shown window.
#include "app/Form1.h"
#include "bench/support/BenchRun.h"
#include "bench/support/SampleFiles.h"
#include "bench/support/TempFolder.h"
#include "bench/support/Timing.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

using bench::Clock;
using bench::CpuTime;
using bench::Seconds;

// A host folder whose current month lists `entries` print files, written the way
// the host writes them: in arrival order, names repeating, code page 852.
std::string HostFolder(int entries) {
    static std::map<int, bench::TempFolder> made;
    auto found = made.find(entries);
    if (found == made.end()) {
        found = made.try_emplace(entries, "tlacsub-window-bench-" + std::to_string(entries)).first;
        const std::filesystem::path root = found->second.Path();
        std::filesystem::create_directories(root / "Cis");
        std::filesystem::create_directories(root / "Tla");
        bench::WriteCatalog(root / "Cis" / "ZOZTLS.DBF", entries,
                            bench::CatalogDates::RisingThroughDecember);
    }
    return (found->second.Path() / "").string();
}

void BM_StartWindow(benchmark::State& state) {
    const std::string folder = HostFolder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto start = Clock::now();
        const CpuTime cpu;
        auto form = std::make_unique<TForm1>(folder);
        form->show();
        QApplication::processEvents();
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
        form.reset();
        QApplication::processEvents();
    }
}

void BM_Refresh(benchmark::State& state) {
    const std::string folder = HostFolder(static_cast<int>(state.range(0)));
    TForm1 form(folder);
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        const auto start = Clock::now();
        const CpuTime cpu;
        form.BRefrClick(nullptr);
        QApplication::processEvents();
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
    b->Iterations(1);
}

BENCHMARK(BM_StartWindow)->Apply(Sizes);
BENCHMARK(BM_Refresh)->Apply(Sizes);

} // namespace

int main(int argc, char** argv) {
    bench::SetSlovakMachine();
    return bench::RunWithApplication<QApplication>(argc, argv);
}
