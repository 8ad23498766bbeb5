// The demo host folder as the tool will meet it: its folders found the way the
// tool looks for them, its catalogs read back with the tool's own dBase reader,
// and every print file checked against the page format its catalog entry gives.

#include "dbf/Dbf.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "tools/demohost/HostFolder.h"
#include "tools/demohost/Reports.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>

namespace demohost {
namespace {
namespace fs = std::filesystem;

// January 2007: the archived months cross into the year before.
const Month kMonth{2007, 1};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

struct CatalogRow {
    std::string nazov, popis, cas, filName; // popis as UTF-8
    dbf::DateTimeParts datum{};
    int sirka = 0, dlzka = 0;
};

std::vector<CatalogRow> ReadCatalog(const fs::path& folder, const std::string& table) {
    dbf::TDbf catalog("Dbf1");
    catalog.SetFilePath(folder.string());
    catalog.SetTableName(table);
    catalog.SetReadOnly(true);
    catalog.Open();
    EXPECT_EQ(catalog.TableLevel(), 4) << table;
    std::vector<CatalogRow> rows;
    for (catalog.First(); !catalog.Eof(); catalog.Next()) {
        CatalogRow row;
        row.nazov = catalog.FieldByName("Nazov")->AsString();
        row.popis = platform::AnsiToUtf8(catalog.FieldByName("Popis")->AsString());
        row.cas = catalog.FieldByName("Cas")->AsString();
        row.filName = catalog.FieldByName("FilName")->AsString();
        EXPECT_TRUE(dbf::DecodeDateTime(catalog.FieldByName("Datum")->AsDateTime(), row.datum));
        row.sirka = catalog.FieldByName("Sirka")->AsInteger();
        row.dlzka = catalog.FieldByName("Dlzka")->AsInteger();
        rows.push_back(row);
    }
    catalog.Close();
    return rows;
}

// What the print files of the whole folder hold between them.
struct Findings {
    std::set<unsigned char> bytes;
    bool tabs = false;
    bool fullLandscapeLine = false;
    int mostPages = 0;
};

// Checks one print file against its entry's page format: CR LF line ends only,
// no line wider than Sirka (TAB as four blanks) and no page longer than Dlzka.
void CheckPrintFile(const std::string& bytes, const CatalogRow& entry, Findings& found) {
    SCOPED_TRACE(entry.filName);
    ASSERT_FALSE(bytes.empty());
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    int linesOnPage = 0, pages = 1;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = bytes.substr(start, end - start);
        start = end + 2;
        ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone CR or LF";
        if (line == "\f") {
            if (start < bytes.size()) ++pages;
            linesOnPage = 0;
            continue;
        }
        ASSERT_EQ(line.find('\f'), std::string::npos) << "a form feed inside a line";
        std::size_t width = 0;
        for (unsigned char c : line) {
            width += c == '\t' ? 4 : 1;
            found.bytes.insert(c);
        }
        found.tabs = found.tabs || line.find('\t') != std::string::npos;
        found.fullLandscapeLine = found.fullLandscapeLine || width == 136;
        EXPECT_LE(width, static_cast<std::size_t>(entry.sirka));
        EXPECT_LE(++linesOnPage, entry.dlzka);
    }
    found.mostPages = std::max(found.mostPages, pages);
}

class DemoHost : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder_ = fs::temp_directory_path() / ("demohost-test-" + std::to_string(getpid()));
        fs::remove_all(folder_);
        summary_ = WriteHostFolder(folder_, kMonth);
    }
    static void TearDownTestSuite() { fs::remove_all(folder_); }

    static fs::path folder_;
    static HostFolderSummary summary_;
};
fs::path DemoHost::folder_;
HostFolderSummary DemoHost::summary_;

TEST_F(DemoHost, SourcesLieWhereTheToolLooksForThemWhateverTheLetterCase) {
    EXPECT_TRUE(platform::FileExists("Cis\\ZOZTLS.DBF", folder_));
    EXPECT_TRUE(platform::FolderExists("Tla", folder_));
    EXPECT_TRUE(platform::FileExists("oposcis.dbf", folder_));

    // Every "Obd???" entry under Zal is a candidate; only those with a catalog count.
    std::vector<std::string> periods;
    for (const std::string& name : platform::EnumerateFolder((folder_ / "ZAL").string(), "Obd???"))
        if (platform::FileExists("Zal\\" + name + "\\Tla\\ZozTls.dbf", folder_))
            periods.push_back(Upper(name));
    std::sort(periods.begin(), periods.end());
    EXPECT_EQ(periods, (std::vector<std::string>{"OBD610", "OBD611", "OBD612"}));
    EXPECT_EQ(platform::EnumerateFolder((folder_ / "ZAL").string(), "Obd???").size(), 4u)
        << "the month whose catalog was cleared away";

    EXPECT_EQ(PeriodFolderName({2007, 12}), "OBD712");
    EXPECT_EQ(PeriodFolderName({2000, 1}), "OBD001");
}

TEST_F(DemoHost, SettingsTableNamesTheMealFolderRelativeToTheToolsFolder) {
    dbf::TDbf settings("Dbf");
    settings.SetFilePath(folder_.string());
    settings.SetTableName("oposcis.dbf");
    settings.SetReadOnly(true);
    settings.Open();
    settings.First();
    const std::string mealFolder = settings.FieldByName("CESTAKAL")->AsString();
    settings.Close();
    EXPECT_EQ(mealFolder, "DATA\\KALK");
    EXPECT_TRUE(platform::FileExists(mealFolder + "\\Cis\\ZOZTLS.DBF", folder_));
    EXPECT_TRUE(platform::FolderExists(mealFolder + "\\Tla", folder_));
}

TEST_F(DemoHost, EveryCatalogEntryNamesAPrintFileThatFitsItsPageFormat) {
    struct Source {
        std::string catalogFolder, printFolder, table;
        Month month;
        std::size_t entries;
    };
    const std::vector<Source> sources = {
        {"Cis", "Tla", "ZOZTLS.DBF", kMonth, 12},
        {"Zal\\Obd612\\Tla", "Zal\\Obd612\\Tla", "ZozTls.dbf", {2006, 12}, 8},
        {"Zal\\Obd611\\Tla", "Zal\\Obd611\\Tla", "ZozTls.dbf", {2006, 11}, 7},
        {"Zal\\Obd610\\Tla", "Zal\\Obd610\\Tla", "ZozTls.dbf", {2006, 10}, 5},
        {"DATA\\KALK\\Cis", "DATA\\KALK\\Tla", "ZOZTLS.DBF", kMonth,
         static_cast<std::size_t>(MealWeeks(kMonth)) + 2},
    };
    Findings found;
    std::map<std::string, std::string> popisByName; // current month
    for (const Source& source : sources) {
        SCOPED_TRACE(source.catalogFolder);
        const std::vector<CatalogRow> rows =
            ReadCatalog(platform::ResolveHostPath(source.catalogFolder, folder_), source.table);
        ASSERT_EQ(rows.size(), source.entries);
        for (const CatalogRow& row : rows) {
            EXPECT_EQ(row.datum.year, source.month.year);
            EXPECT_EQ(row.datum.month, source.month.month);
            EXPECT_EQ(row.cas.size(), 5u);
            EXPECT_EQ(row.cas[2], ':');
            EXPECT_TRUE(row.sirka == 80 || row.sirka == 136) << row.sirka;
            const fs::path file =
                platform::ResolveHostPath(source.printFolder + "\\" + row.filName, folder_);
            ASSERT_TRUE(fs::is_regular_file(file)) << row.filName;
            CheckPrintFile(ReadFile(file), row, found);
            if (&source == &sources.front()) popisByName[row.nazov] = row.popis;
        }
    }
    // Catalog texts travel as 852 bytes and come out as the Slovak they were.
    EXPECT_EQ(popisByName["VYPLPASK"], "Výplatné pásky za december 2006");
    EXPECT_EQ(popisByName["INVENT"], "Inventúrny súpis zásob (na šírku)");

    // ľ š č ť ž ý á í é ô ň ä ú and their capitals Ľ Š Č Ť Ž in code page 852.
    for (unsigned char letter : {0x96, 0xE7, 0x9F, 0x9C, 0xA7, 0xEC, 0xA0, 0xA1, 0x82, 0x93, 0xE5,
                                 0x84, 0xA3, 0x95, 0xE6, 0xAC, 0x9B, 0xA6})
        EXPECT_TRUE(found.bytes.count(letter)) << std::hex << int(letter);
    // ┌ ─ ┐ │ └ ┘ ├ ┤ ┬ ┴ ┼ and ╔ ═ ╗ ║ ╚ ╝.
    for (unsigned char line : {0xDA, 0xC4, 0xBF, 0xB3, 0xC0, 0xD9, 0xC3, 0xB4, 0xC2, 0xC1, 0xC5,
                               0xC9, 0xCD, 0xBB, 0xBA, 0xC8, 0xBC})
        EXPECT_TRUE(found.bytes.count(line)) << std::hex << int(line);
    EXPECT_TRUE(found.tabs);
    EXPECT_TRUE(found.fullLandscapeLine);
    EXPECT_GE(found.mostPages, 30);
}

TEST_F(DemoHost, TheSameMonthGivesTheSameBytes) {
    const fs::path again = folder_.string() + "-again";
    fs::remove_all(again);
    const HostFolderSummary second = WriteHostFolder(again, kMonth);
    EXPECT_EQ(second.printFiles, summary_.printFiles);
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
        if (!entry.is_regular_file()) continue;
        const fs::path twin = again / fs::relative(entry.path(), folder_);
        EXPECT_EQ(ReadFile(entry.path()), ReadFile(twin)) << twin;
        ++compared;
    }
    EXPECT_EQ(compared, summary_.printFiles + static_cast<int>(summary_.catalogs.size()) + 1);
    fs::remove_all(again);
}

// The demo in Kamenický says what the 852 demo says; in Mazovia the Slovak
// letters lose the accents the page lacks, and a Polish order shows its letters.
TEST_F(DemoHost, WrittenInKamenickyOrMazoviaWithCatalogsThatNameThePage) {
    struct Case {
        int codePage;
        char driver;
        const char* vyplpask;
        std::size_t entries;
    };
    const Case cases[] = {{895, 0x68, "Výplatné pásky za december 2006", 12},
                          {867, 0x20, "Výplatné pásky za december 2006", 12},
                          {620, 0x69, "Vyplatné pasky za december 2006", 13}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const fs::path other = folder_.string() + "-" + std::to_string(c.codePage);
        fs::remove_all(other);
        WriteHostFolder(other, kMonth, c.codePage);
        EXPECT_EQ(ReadFile(other / "CIS/ZOZTLS.DBF").at(29), c.driver);
        EXPECT_EQ(ReadFile(other / "OPOSCIS.DBF").at(29), c.driver);
        platform::SetMachineCodePages(1250, c.codePage);
        std::map<std::string, std::string> popisByName;
        for (const CatalogRow& row : ReadCatalog(other / "CIS", "ZOZTLS.DBF"))
            popisByName[row.nazov] = row.popis;
        platform::SetMachineCodePages(1250, 852);
        EXPECT_EQ(popisByName.size(), c.entries);
        EXPECT_EQ(popisByName["VYPLPASK"], c.vyplpask);

        const auto text = [](int codePage, const fs::path& file) {
            return platform::Utf16ToUtf8(*platform::CodePageToUtf16(codePage, ReadFile(file)));
        };
        if (c.codePage == 620) {
            EXPECT_EQ(popisByName["ZAMOWPL"], "Zamówienie: Zakłady Mięsne Łódź");
            EXPECT_NE(text(620, other / "TLA/ZAMOWPL.PRN").find("│  4. │ Gęś pieczona "),
                      std::string::npos);
        } else {
            for (const char* report : {"VYPLPASK.PRN", "INVENT.PRN", "SKLKARTY.PRN"})
                EXPECT_EQ(text(c.codePage, other / "TLA" / report),
                          text(852, folder_ / "TLA" / report))
                    << report;
        }
        fs::remove_all(other);
    }
}

} // namespace
} // namespace demohost
