// Reading catalogs the way catalog loading does: seven fields by name per record.

#include "dbf/Dbf.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"
#include "tools/dbfwriter/CatalogTable.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

class CatalogFolder {
  public:
    CatalogFolder() {
        folder_ = std::filesystem::temp_directory_path() / "dbf-bench";
        std::filesystem::create_directories(folder_);
        Write("BIG.DBF", 100000);
        Write("SMALL.DBF", 1000);
    }
    ~CatalogFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string Folder() const { return folder_.string(); }

  private:
    void Write(const char* name, int records) {
        dbfwriter::DbfWriter w(0x03, 0x64);
        dbfwriter::AddCatalogFields(w);
        for (int i = 0; i < records; ++i) {
            w.AddRecord(i % 50 == 49)
                .Text("NAZOV", "ZOST" + std::to_string(i % 1000))
                .Text("POPIS", "Zostava \xA0\x9F\xA7 " + std::to_string(i)) // Slovak letters in 852
                .Date("DATUM", 2024, 1 + i % 12, 1 + i % 28)
                .Text("CAS", "12:34:56")
                .Text("FILNAME", "Z" + std::to_string(i) + ".TXT")
                .Integer("SIRKA", 80 + i % 60)
                .Integer("DLZKA", 66);
        }
        w.WriteTo(folder_ / name);
    }
    std::filesystem::path folder_;
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

void BM_Catalog100000(benchmark::State& state) {
    Catalogs();
    std::int64_t records = 0;
    for (auto _ : state)
        records += LoadCatalog("BIG.DBF");
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_Catalog100000)->Unit(benchmark::kMillisecond);

void BM_Catalog1000OpenedAndClosed1000Times(benchmark::State& state) {
    Catalogs();
    std::int64_t records = 0;
    for (auto _ : state)
        records += LoadCatalog("SMALL.DBF");
    state.SetItemsProcessed(records);
}
BENCHMARK(BM_Catalog1000OpenedAndClosed1000Times)->Iterations(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
