// Loading a catalog into PrnData the way the window does: fill the emptied table
// while RPrintD is active, switch to RPrintN, empty it again.

#include "bench/support/BenchRun.h"
#include "bench/support/Timing.h"
#include "memtable/loxDisplay.h"
#include "memtable/loxMemTable.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

using namespace memtable;
using bench::Clock;
using bench::CpuTime;
using bench::Seconds;
using Rows = std::vector<std::vector<FieldValue>>;

// Catalog rows like the host writes them: short report names, one month of dates.
Rows CatalogRows(int count) {
    std::mt19937 random(12345);
    Rows rows;
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

void Fill(TloxMemTable& table, const Rows& rows) {
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

// Times one step on a fresh PrnData per run, with RPrintD active and `prepare` done.
template <typename Prepare, typename Step>
void TimeStep(benchmark::State& state, Prepare prepare, Step step) {
    const auto rows = CatalogRows(int(state.range(0)));
    for (auto _ : state) {
        auto table = MakePrnData();
        table->SetIndexName("RPrintD");
        prepare(*table, rows);
        auto start = Clock::now();
        const CpuTime cpu;
        step(*table, rows);
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
    }
}

void Nothing(TloxMemTable&, const Rows&) {}

void FillAndSwitch(TloxMemTable& table, const Rows& rows) {
    Fill(table, rows);
    table.SetIndexName("RPrintN");
}

void BM_FillWhileDateOrderActive(benchmark::State& state) {
    TimeStep(state, Nothing, Fill);
}

void BM_SwitchToNameOrder(benchmark::State& state) {
    TimeStep(
        state,
        [](TloxMemTable& table, const Rows& rows) {
            Fill(table, rows);
            table.MoveToPosition(table.RecordTotal() / 2);
        },
        [](TloxMemTable& table, const Rows&) { table.SetIndexName("RPrintN"); });
}

void BM_EmptyAfterSwitch(benchmark::State& state) {
    TimeStep(state, FillAndSwitch, [](TloxMemTable& table, const Rows&) { Empty(table); });
}

void BM_EmptyOneByOneAfterSwitch(benchmark::State& state) {
    TimeStep(state, FillAndSwitch, [](TloxMemTable& table, const Rows&) { EmptyOneByOne(table); });
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
    bench::SetSlovakMachine();
    return bench::RunBenchmarks(argc, argv);
}
