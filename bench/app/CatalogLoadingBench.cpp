// Loading a catalog into the memory table, alone and with the list bound to it,
// and finding the entry a reload keeps.
#include "app/CatalogEntry.h"
#include "app/CatalogGrid.h"
#include "app/CatalogLoading.h"
#include "app/CatalogModel.h"
#include "bench/support/BenchRun.h"
#include "bench/support/SampleFiles.h"
#include "bench/support/TempFolder.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// A catalog of the benchmark's size in code page 852, names and dates in no order,
// and the table and memory table that load it the way the window does.
class CatalogLoad {
  public:
    explicit CatalogLoad(const benchmark::State& state,
                         bench::CatalogDates dates = bench::CatalogDates::AnyDayOf2007)
        : folder_("tlacsub-bench") {
        bench::WriteCatalog(folder_.Path() / "ZOZTLS.DBF", static_cast<int>(state.range(0)), dates);
        ConfigureCatalogTable(Dbf1_);
    }
    bool Load() { return LoadCatalog(Dbf1_, *PrnData_, folder_.Path()); }
    memtable::TloxMemTable& PrnData() { return *PrnData_; }

  private:
    bench::TempFolder folder_;
    dbf::TDbf Dbf1_{"Dbf1"};
    std::unique_ptr<memtable::TloxMemTable> PrnData_ = memtable::MakePrnData();
};

void LoadIntoTable(benchmark::State& state) {
    CatalogLoad catalog(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(catalog.Load());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LoadIntoTable)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void LoadIntoTheShownList(benchmark::State& state) {
    CatalogLoad catalog(state);
    CatalogModel model(catalog.PrnData(), nullptr);
    CatalogGrid grid(&model, nullptr);
    grid.resize(656, 418);
    grid.show();
    for (auto _ : state) {
        benchmark::DoNotOptimize(catalog.Load());
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(LoadIntoTheShownList)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The entry a reload keeps, found again in the reloaded catalog: the last one
// of the order, among a month's entries whose dates repeat the most.
void FindTheKeptEntry(benchmark::State& state) {
    CatalogLoad catalog(state, bench::CatalogDates::RisingThroughDecember);
    catalog.Load();
    const int last = catalog.PrnData().RecordTotal();
    const CatalogEntry kept = CatalogEntry::At(catalog.PrnData(), last);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindEntry(catalog.PrnData(), kept));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(FindTheKeptEntry)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::SetSlovakMachine();
    return bench::RunWithApplication<QApplication>(argc, argv);
}
