// Searching the print files of every source without a window: what is found,
// in which source and entry, what could not be read, and stopping.
#include "HostFolder.h"

#include "app/PrintFileSearch.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>

namespace {

class PrintFileSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetUserLocale("sk_SK");
        platform::SetMachineCodePages(1250, 852);
        // The current month: the name twice in one file, once in capitals in
        // another, and a third file missing.
        host_.WriteCatalog("Cis", CurrentMonth());
        host_.WriteFile("Tla/MZDY.TXT", Oem852("Výplatná páska\r\nJán Šťastný 1200\r\n\f"
                                               "Strana 2\r\nŠťastný Ján, Šťastný\r\n"));
        host_.WriteFile("Tla/DPH.TXT", Oem852("\tJÁN ŠŤASTNÝ\r\n"));
        // The meal calculations, in the folder oposcis.dbf names.
        host_.WriteSettings("KALK");
        host_.WriteCatalog("KALK/Cis", {{"K-OBEDY", "Obedy", {2007, 12, 3}, "11:00", "OBEDY.TXT"}});
        host_.WriteFile("KALK/Tla/OBEDY.TXT", Oem852("Dodávateľ: Šťastný s.r.o.\n"));
        // Two archived months: one whose file has the name, one whose catalog
        // cannot be read.
        host_.WriteCatalog("Zal/Obd712/Tla",
                           {{"MZDY", "Mzdy za november", {2007, 11, 5}, "10:00", "MZDY.TXT"},
                            {"MZDY", "Mzdy za november", {2007, 11, 6}, "10:00", "MZDY2.TXT"}});
        host_.WriteFile("Zal/Obd712/Tla/MZDY.TXT", Oem852("a\rb\rc Šťastná\rŠťastný\r"));
        host_.WriteFile("Zal/Obd712/Tla/MZDY2.TXT", Oem852("nič\r\n"));
        host_.WriteFile("Zal/Obd711/Tla/ZOZTLS.DBF", "not a catalog");
    }

    // source label, Nazov, the entry's place in its catalog, line, column, the text shown
    using Row = std::tuple<std::string, std::string, int, std::int64_t, std::int64_t, std::string>;

    static std::vector<Row> Rows(PrintFileSearch& search) {
        std::vector<Row> rows;
        for (const SearchHit& hit : search.TakeHits())
            rows.emplace_back(search.Sources()[hit.source].Label(), hit.entry->Nazov, hit.position,
                              hit.line, hit.column,
                              platform::Utf16ToUtf8(*platform::CodePageToUtf16(852, hit.text)));
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    HostFolders Host() const { return {host_.AppFolder(), "KALK/"}; }

    HostFolder host_;
};

// Every file of the host folder with its size, time of last change and bytes.
std::map<std::string, std::tuple<std::uintmax_t, std::filesystem::file_time_type, std::string>>
Snapshot(const HostFolder& host) {
    std::map<std::string, std::tuple<std::uintmax_t, std::filesystem::file_time_type, std::string>>
        files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(host.AppFolder()))
        if (item.is_regular_file()) {
            const std::string relative =
                std::filesystem::relative(item.path(), host.AppFolder()).string();
            files[relative] = {item.file_size(), item.last_write_time(), host.ReadFile(relative)};
        }
    return files;
}

TEST_F(PrintFileSearchTest, FindsEveryMatchInEverySourceAndNamesWhatCouldNotBeRead) {
    // A third file of the archived month, on disk in other letters than the catalog has.
    host_.WriteCatalog("Zal/Obd712/Tla",
                       {{"MZDY", "Mzdy za november", {2007, 11, 5}, "10:00", "MZDY.TXT"},
                        {"MZDY", "Mzdy za november", {2007, 11, 6}, "10:00", "MZDY2.TXT"},
                        {"ZAVIERKA", "Závierka", {2007, 11, 7}, "10:00", "ZAV.TXT"}});
    host_.WriteFile("Zal/Obd712/Tla/Zav.txt", Oem852("Šťastný\r\n"));
    const auto before = Snapshot(host_);
    PrintFileSearch search(EverySource(Host()), Host(), u"šťastný", false);
    search.Start();
    search.Wait();
    // It only reads: no catalog, print file or settings table is touched.
    EXPECT_EQ(Snapshot(host_), before);
    EXPECT_TRUE(search.Finished());
    EXPECT_FALSE(search.WasStopped());
    EXPECT_GE(search.WorkerCount(), 2u);
    const std::vector<Row> expected = {
        {"2007 / 12", "MZDY", 1, 3, 0, "Šťastný"},
        {"2007 / 12", "ZAVIERKA", 3, 0, 0, "Šťastný"},
        // Places in the catalog's own order, not by name.
        {"Aktuálny mesiac", "A-DPH", 2, 0, 8, "    JÁN ŠŤASTNÝ"},
        {"Aktuálny mesiac", "C-MZDY", 1, 1, 4, "Ján Šťastný 1200"},
        {"Aktuálny mesiac", "C-MZDY", 1, 3, 0, "Šťastný Ján, Šťastný"},
        {"Aktuálny mesiac", "C-MZDY", 1, 3, 13, "Šťastný Ján, Šťastný"},
        {"Kalkulácie jedál", "K-OBEDY", 1, 0, 11, "Dodávateľ: Šťastný s.r.o."},
    };
    EXPECT_EQ(Rows(search), expected);

    std::set<std::tuple<SearchFailure::Kind, std::string, std::string>> failures;
    for (const SearchFailure& failure : search.TakeFailures())
        failures.emplace(failure.kind, search.Sources()[failure.source].Label(), failure.file);
    const std::set<std::tuple<SearchFailure::Kind, std::string, std::string>> expectedFailures = {
        {SearchFailure::Kind::MissingFile, "Aktuálny mesiac", "KNIHA.TXT"},
        {SearchFailure::Kind::Catalog, "2007 / 11", ""},
    };
    EXPECT_EQ(failures, expectedFailures);

    const SearchProgress progress = search.Progress();
    EXPECT_TRUE(progress.catalogsRead);
    EXPECT_EQ(progress.filesTotal, 7u);
    EXPECT_EQ(progress.filesDone, 7u);
    EXPECT_EQ(progress.bytesDone, 143u); // every byte of the six files there, once
}

TEST_F(PrintFileSearchTest, LetterCaseCountsOnlyWhenAskedAndOneSourceIsOneSource) {
    PrintFileSearch search({Source::CurrentMonth()}, Host(), u"ŠŤASTNÝ", true);
    search.Start();
    search.Wait();
    const std::vector<Row> expected = {
        {"Aktuálny mesiac", "A-DPH", 2, 0, 8, "    JÁN ŠŤASTNÝ"},
    };
    EXPECT_EQ(Rows(search), expected);
}

TEST_F(PrintFileSearchTest, TextTheCodePageLacksFindsNothingAtOnce) {
    PrintFileSearch search(EverySource(Host()), Host(), u"Šťastný €", false);
    EXPECT_TRUE(search.Impossible());
    search.Start();
    EXPECT_TRUE(search.Finished());
    EXPECT_TRUE(search.TakeHits().empty());
    EXPECT_TRUE(search.TakeFailures().empty());
}

TEST_F(PrintFileSearchTest, StoppingEndsEveryThreadAndNothingComesAfterIt) {
    // Files far too big to be searched before Stop is called.
    std::vector<CatalogEntry> entries;
    const std::string big(std::size_t{8} << 20, 'x');
    for (int i = 0; i < 4; ++i) {
        const std::string name = "BIG" + std::to_string(i) + ".TXT";
        entries.push_back({"BIG", "Veľký", {2007, 12, 1}, "10:00", name});
        host_.WriteFile("Tla/" + name, big + "Šťastný\r\n");
    }
    host_.WriteCatalog("Cis", entries);
    PrintFileSearch search(EverySource(Host()), Host(), u"šťastný", false);
    search.Start();
    search.Stop();
    EXPECT_TRUE(search.Finished());
    EXPECT_TRUE(search.WasStopped());
    search.TakeHits();
    const SearchProgress progress = search.Progress();
    EXPECT_LT(progress.bytesDone, std::uint64_t{32} << 20);
    EXPECT_TRUE(search.TakeHits().empty());
}

} // namespace
