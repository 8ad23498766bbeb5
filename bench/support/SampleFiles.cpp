#include "bench/support/SampleFiles.h"

#include "platform/CodePages.h"
#include "tools/dbfwriter/CatalogTable.h"

#include <random>

namespace bench {

void WriteCatalog(const std::filesystem::path& file, int entries, CatalogDates dates,
                  int deletedEvery, int codePage) {
    dbfwriter::DbfWriter writer(0x03, codePage == 895 ? 0x68 : 0x64);
    const std::string slovak = *platform::Utf16ToCodePage(codePage, u"Mzdová zostava čž ");
    dbfwriter::AddCatalogFields(writer);
    std::mt19937 random(11);
    for (int i = 0; i < entries; ++i) {
        const std::string name = "ZOST" + std::to_string(random() % 500);
        const bool rising = dates == CatalogDates::RisingThroughDecember;
        const int month = rising ? 12 : 1 + static_cast<int>(random() % 12);
        const int day = rising ? 1 + i * 28 / entries : 1 + static_cast<int>(random() % 28);
        writer.AddRecord(deletedEvery > 0 && i % deletedEvery == deletedEvery - 1)
            .Text("NAZOV", name)
            .Text("POPIS", slovak + std::to_string(i))
            .Date("DATUM", 2007, month, day)
            .Text("CAS", std::to_string(random() % 24) + ":" + std::to_string(random() % 60))
            .Text("FILNAME", "T" + std::to_string(i) + ".PRN")
            .Integer("SIRKA", 80 + static_cast<int>(random() % 56))
            .Integer("DLZKA", 60);
    }
    writer.WriteTo(file);
}

std::string PrintFileText(int megabytes, int codePage) {
    const std::string slovak =
        *platform::Utf16ToCodePage(codePage, u"Účtovná závierka ľščťžýáíé │ ");
    const std::size_t target = static_cast<std::size_t>(megabytes) << 20;
    std::string text;
    text.reserve(target + 134);
    for (int line = 0; text.size() < target; ++line) {
        std::string row = (line % 60 == 0 ? "\f" : "") + std::to_string(line) + " " + slovak;
        while (row.size() < 132)
            row += slovak;
        row.resize(132);
        text += row + "\r\n";
    }
    return text;
}

} // namespace bench
