// Loading a catalog into the memory table, alone and with the list bound to it.
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
    explicit CatalogLoad(const benchmark::State& state) : folder_("tlacsub-bench") {
        bench::WriteCatalog(folder_.Path() / "ZOZTLS.DBF", static_cast<int>(state.range(0)),
                            bench::CatalogDates::AnyDayOf2007);
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

} // namespace

int main(int argc, char** argv) {
    bench::SetSlovakMachine();
    return bench::RunWithApplication<QApplication>(argc, argv);
}
