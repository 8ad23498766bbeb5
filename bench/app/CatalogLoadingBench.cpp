// Loading a catalog into the memory table, alone and with the list bound to it.
#include "app/CatalogGrid.h"
#include "app/CatalogLoading.h"
#include "app/CatalogModel.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"
#include "tools/dbfwriter/CatalogTable.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

namespace {

namespace fs = std::filesystem;

// A catalog of `entries` print files in code page 852, names and dates in no order.
fs::path WriteCatalog(int entries) {
    const fs::path folder =
        fs::temp_directory_path() / ("tlacsub-bench-" + std::to_string(entries));
    fs::create_directories(folder);
    dbfwriter::DbfWriter writer(0x03, 0x64);
    dbfwriter::AddCatalogFields(writer);
    std::mt19937 random(7);
    for (int i = 0; i < entries; ++i) {
        const std::string name = "R" + std::to_string(random() % 100000);
        writer.AddRecord()
            .Text("NAZOV", name)
            .Text("POPIS", "V\xEC"
                           "platn\xA0 p\xA0sky " +
                               name)
            .Date("DATUM", 2007, 1 + random() % 12, 1 + random() % 28)
            .Text("CAS", std::to_string(random() % 24) + ":" + std::to_string(random() % 60))
            .Text("FILNAME", name + ".PRN")
            .Integer("SIRKA", 80)
            .Integer("DLZKA", 60);
    }
    writer.WriteTo(folder / "ZOZTLS.DBF");
    return folder;
}

void LoadIntoTable(benchmark::State& state) {
    const fs::path folder = WriteCatalog(static_cast<int>(state.range(0)));
    dbf::TDbf Dbf1("Dbf1");
    ConfigureCatalogTable(Dbf1);
    auto PrnData = memtable::MakePrnData();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadCatalog(Dbf1, *PrnData, folder));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    fs::remove_all(folder);
}
BENCHMARK(LoadIntoTable)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void LoadIntoTheShownList(benchmark::State& state) {
    const fs::path folder = WriteCatalog(static_cast<int>(state.range(0)));
    dbf::TDbf Dbf1("Dbf1");
    ConfigureCatalogTable(Dbf1);
    auto PrnData = memtable::MakePrnData();
    CatalogModel model(*PrnData, nullptr);
    CatalogGrid grid(&model, nullptr);
    grid.resize(656, 418);
    grid.show();
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadCatalog(Dbf1, *PrnData, folder));
        QApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    fs::remove_all(folder);
}
BENCHMARK(LoadIntoTheShownList)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
