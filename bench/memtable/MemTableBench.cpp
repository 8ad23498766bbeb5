// Loading a catalog into PrnData the way the window does: fill the emptied table
// while RPrintD is active, switch to RPrintN, empty it again.

#include "memtable/loxDisplay.h"
#include "memtable/loxMemTable.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <random>
#include <vector>

namespace {

using namespace memtable;
using Clock = std::chrono::steady_clock;

// Catalog rows like the host writes them: short report names, one month of dates.
std::vector<std::vector<TloxValue>> CatalogRows(int count) {
    std::mt19937 random(12345);
    std::vector<std::vector<TloxValue>> rows;
    rows.reserve(count);
    double monthStart = DateToDayNumber(2007, 12, 1) - kDayNumberOf30Dec1899;
    for (int i = 0; i < count; ++i) {
        std::string name = "ZOST";
        for (int k = 0; k < 4; ++k)
            name += char('A' + random() % 26);
        char time[8];
        std::snprintf(time, sizeof time, "%u:%02u", unsigned(random() % 24),
                      unsigned(random() % 60));
        rows.push_back({name, std::string("Zostava ") + name, TDateTime{monthStart + random() % 31},
                        std::string(time), name + ".TXT", std::int32_t(80 + random() % 156),
                        std::int32_t(66)});
    }
    return rows;
}

void Fill(TloxMemTable& table, const std::vector<std::vector<TloxValue>>& rows) {
    for (const auto& row : rows)
        table.InsertValues(row);
}

// Emptying as the loader does it, and record by record for comparison.
void Empty(TloxMemTable& table) {
    table.DeleteAll();
}

void EmptyOneByOne(TloxMemTable& table) {
    table.GoFirst();
    while (!table.AtEnd())
        table.DeleteCurrent();
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The process's processor time, which other work on a shared machine does not inflate.
class CpuTime {
  public:
    CpuTime() : start_(std::clock()) {}
    void AddTo(benchmark::State& state) const {
        state.counters["cpu_ms"] = 1000.0 * double(std::clock() - start_) / CLOCKS_PER_SEC;
    }

  private:
    std::clock_t start_;
};

void BM_FillWhileDateOrderActive(benchmark::State& state) {
    auto rows = CatalogRows(int(state.range(0)));
    for (auto _ : state) {
        auto table = MakePrnData();
        table->SetIndexName("RPrintD");
        auto start = Clock::now();
        const CpuTime cpu;
        Fill(*table, rows);
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
    }
}

void BM_SwitchToNameOrder(benchmark::State& state) {
    auto rows = CatalogRows(int(state.range(0)));
    for (auto _ : state) {
        auto table = MakePrnData();
        table->SetIndexName("RPrintD");
        Fill(*table, rows);
        table->MoveToPosition(table->RecordTotal() / 2);
        auto start = Clock::now();
        const CpuTime cpu;
        table->SetIndexName("RPrintN");
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
    }
}

void BM_EmptyAfterSwitch(benchmark::State& state) {
    auto rows = CatalogRows(int(state.range(0)));
    for (auto _ : state) {
        auto table = MakePrnData();
        table->SetIndexName("RPrintD");
        Fill(*table, rows);
        table->SetIndexName("RPrintN");
        auto start = Clock::now();
        const CpuTime cpu;
        Empty(*table);
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
    }
}

void BM_EmptyOneByOneAfterSwitch(benchmark::State& state) {
    auto rows = CatalogRows(int(state.range(0)));
    for (auto _ : state) {
        auto table = MakePrnData();
        table->SetIndexName("RPrintD");
        Fill(*table, rows);
        table->SetIndexName("RPrintN");
        auto start = Clock::now();
        const CpuTime cpu;
        EmptyOneByOne(*table);
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
    b->Iterations(1);
}

BENCHMARK(BM_FillWhileDateOrderActive)->Apply(Sizes);
BENCHMARK(BM_SwitchToNameOrder)->Apply(Sizes);
BENCHMARK(BM_EmptyAfterSwitch)->Apply(Sizes);
BENCHMARK(BM_EmptyOneByOneAfterSwitch)->Apply(Sizes);

} // namespace

int main(int argc, char** argv) {
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
