// Reading catalogs the way catalog loading does: seven fields by name per record.

#include "bench/support/BenchRun.h"
#include "bench/support/SampleFiles.h"
#include "bench/support/TempFolder.h"
#include "dbf/Dbf.h"
#include "platform/CodePages.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

// A big and a small catalog, each with a deleted record in every fifty, and the
// big one again in Kamenický (language driver 0x68).
class CatalogFolder {
  public:
    CatalogFolder() : folder_("dbf-bench") {
        bench::WriteCatalog(folder_.Path() / "BIG.DBF", 100000, bench::CatalogDates::AnyDayOf2007,
                            50);
        bench::WriteCatalog(folder_.Path() / "BIG895.DBF", 100000,
                            bench::CatalogDates::AnyDayOf2007, 50, 895);
        bench::WriteCatalog(folder_.Path() / "SMALL.DBF", 1000, bench::CatalogDates::AnyDayOf2007,
                            50);
    }
    std::string Folder() const { return folder_.Path().string(); }

  private:
    bench::TempFolder folder_;
};

const CatalogFolder& Catalogs() {
    static const CatalogFolder folder;
    return folder;
}

// Opens, copies every visible record's seven fields, closes; returns the records read.
std::int64_t LoadCatalog(const char* table) {
    dbf::TDbf dbf("Dbf1");
    dbf.SetFilePath(Catalogs().Folder());
    dbf.SetTableName(table);
    dbf.SetReadOnly(true);
    dbf.SetTableLevel(4);
    dbf.SetOpenMode(dbf::omTemporary);
    dbf.Open();
    std::int64_t records = 0;
    for (dbf.First(); !dbf.Eof(); dbf.Next()) {
        benchmark::DoNotOptimize(dbf.FieldByName("Nazov")->AsString());
        benchmark::DoNotOptimize(dbf.FieldByName("Popis")->AsString());
        benchmark::DoNotOptimize(dbf.FieldByName("Datum")->AsDateTime());
        benchmark::DoNotOptimize(dbf.FieldByName("Cas")->AsString());
        benchmark::DoNotOptimize(dbf.FieldByName("FilName")->AsString());
        benchmark::DoNotOptimize(dbf.FieldByName("Sirka")->AsInteger());
        benchmark::DoNotOptimize(dbf.FieldByName("Dlzka")->AsInteger());
        ++records;
    }
    dbf.Close();
    return records;
}

void LoadRepeatedly(benchmark::State& state, const char* table) {
    Catalogs();
    std::int64_t records = 0;
    for (auto _ : state)
        records += LoadCatalog(table);
    state.SetItemsProcessed(records);
}

void BM_Catalog100000(benchmark::State& state) {
    LoadRepeatedly(state, "BIG.DBF");
}
BENCHMARK(BM_Catalog100000)->Unit(benchmark::kMillisecond);

// The big catalog in Kamenický on a machine whose OEM page it is, as the one in
// 852 is read on a machine with 852: both translate OEM to ANSI text.
void BM_Catalog100000Kamenicky(benchmark::State& state) {
    platform::SetMachineCodePages(1250, 895);
    LoadRepeatedly(state, "BIG895.DBF");
    platform::SetMachineCodePages(1250, 852);
}
BENCHMARK(BM_Catalog100000Kamenicky)->Unit(benchmark::kMillisecond);

void BM_Catalog1000OpenedAndClosed1000Times(benchmark::State& state) {
    LoadRepeatedly(state, "SMALL.DBF");
}
BENCHMARK(BM_Catalog1000OpenedAndClosed1000Times)->Iterations(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    bench::SetSlovakMachine();
    return bench::RunBenchmarks(argc, argv);
}
