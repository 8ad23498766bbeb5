// Writes the table fuzzer's seed corpus: one small table of each kind.

#include "fuzz/support/FuzzFiles.h"
#include "tools/dbfwriter/CatalogTable.h"

#include <filesystem>
#include <string>

using dbfwriter::DbfWriter;

namespace {

DbfWriter Catalog(std::uint8_t version, std::uint8_t driver) {
    DbfWriter w(version, driver);
    dbfwriter::AddCatalogFields(w);
    w.AddRecord()
        .Text("NAZOV", "MZDY")
        .Text("POPIS", "V\xa0platy \x9f"
                       "asu")
        .Date("DATUM", 2024, 1, 5)
        .Text("CAS", "12:30")
        .Text("FILNAME", "MZDY.TXT")
        .Integer("SIRKA", 136)
        .Integer("DLZKA", 66);
    w.AddRecord(true).Text("NAZOV", "ZMAZANY").Date("DATUM", 2024, 13, 1);
    w.AddRecord().Raw("SIRKA", "1.5e3").Raw("DLZKA", "$7F").Raw("DATUM", "2024XX05");
    return w;
}

} // namespace

int main(int argc, char** argv) {
    const auto seedFolder = fuzzing::SeedFolder(argc, argv);
    if (!seedFolder) return 2;
    const std::filesystem::path& folder = *seedFolder;
    int n = 0;
    auto put = [&](const DbfWriter& w) {
        w.WriteTo(folder / ("seed" + std::to_string(n++) + ".dbf"));
    };

    put(Catalog(0x03, 0x64));
    put(Catalog(0x03, 0x00));
    put(Catalog(0x30, 0x02));
    DbfWriter lies = Catalog(0x8B, 0xC8);
    lies.OverrideRecordCount(99).SetEndOfFileMark(false);
    put(lies);
    DbfWriter padded = Catalog(0xF5, 0x69);
    padded.SetHeaderPadding(263).SetProductionIndexFlag(true);
    put(padded);

    DbfWriter level7(0x04);
    level7.SetLanguageDriverName("DB852CZ0");
    level7.AddField("CISLO", 'I', 4)
        .AddField("AUTO", '+', 4)
        .AddField("CENA", 'O', 8)
        .AddField("KEDY", '@', 8)
        .AddField("TEXT", 'M', 10)
        .AddField("OK", 'L', 1)
        .AddField("_DBASELOCK", 'C', 8)
        .AddField("OK", 'L', 1);
    level7.AddRecord()
        .Binary32("CISLO", -7)
        .Binary32("AUTO", 1)
        .BinaryDouble("CENA", 2.5)
        .Timestamp("KEDY", 6.3e13)
        .Logical("OK", true);
    level7.AddRecord(true).BinaryDouble("CENA", -1e300).Timestamp("KEDY", -1.0);
    put(level7);

    DbfWriter mixed(0x03, 0x64);
    mixed.AddField("WIDE", 'C', 300)
        .AddField("T", 'T', 14)
        .AddField("F", 'F', 20, 4)
        .AddField("N", 'N', 25, 0)
        .AddField("B", 'B', 10)
        .AddField("G", 'G', 10);
    mixed.AddRecord()
        .Text("WIDE", std::string(300, 'w'))
        .DateTimeText("T", 2024, 2, 29, 23, 59, 59)
        .Raw("F", "  -12,5")
        .Raw("N", "  12345678901234567890123");
    mixed.AddRecord().Raw("T", "20240230250000").Raw("F", "abc");
    put(mixed);

    DbfWriter noTerminator;
    noTerminator.SetTerminator(false).AddField("A", 'c', 2).AddField("B", 'n', 3, 1);
    noTerminator.AddRecord().Raw("A", std::string("A\0", 2)).Raw("B", "1.5");
    put(noTerminator);

    DbfWriter empty(0x83, 0x01);
    empty.AddField("X", 'C', 1);
    put(empty);

    std::string cut = Catalog(0x03, 0x64).Bytes();
    dbfwriter::WriteFile(folder / ("seed" + std::to_string(n++) + ".dbf"), cut.substr(0, 100));
    return 0;
}
