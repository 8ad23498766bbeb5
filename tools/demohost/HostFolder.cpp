#include "tools/demohost/HostFolder.h"

#include "tools/dbfwriter/CatalogTable.h"
#include "tools/dbfwriter/DbfWriter.h"
#include "tools/demohost/OemText.h"
#include "tools/demohost/Reports.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <stdexcept>

namespace demohost {
namespace fs = std::filesystem;
namespace {

constexpr std::uint8_t kDbaseIV = 0x03;
constexpr int kMazovia = 620;

// One print file with its catalog entry.
struct Entry {
    std::string nazov;
    std::string popis; // UTF-8, at most 45 characters
    int day;
    std::string cas;
    std::string filName; // as the catalog writes it
    std::function<PrintFileBytes()> report;
};

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

fs::path MakeFolder(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (error) throw std::runtime_error("cannot create " + path.string() + ": " + error.message());
    return path;
}

// The host writes its file names in capitals; a catalog may still name a file
// in lower case, which the tool must find all the same.
std::string DiskName(const std::string& filName) {
    std::string name = filName;
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

// Writes the print files into `printFolder` and their catalog to `catalogFile`.
int WritePeriod(const fs::path& catalogFile, const fs::path& printFolder, const Month& month,
                const std::vector<Entry>& entries) {
    dbfwriter::DbfWriter catalog(kDbaseIV, LanguageDriverFor(HostCodePage()));
    dbfwriter::AddCatalogFields(catalog);
    int lastDay = 1;
    for (const Entry& entry : entries) {
        const int day = std::min(entry.day, month.Days());
        const PrintFileBytes file = entry.report();
        WriteBytes(printFolder / DiskName(entry.filName), file.bytes);
        catalog.AddRecord()
            .Text("NAZOV", Oem(entry.nazov))
            .Text("POPIS", Oem(entry.popis))
            .Date("DATUM", month.year, month.month, day)
            .Text("CAS", entry.cas)
            .Text("FILNAME", Oem(entry.filName))
            .Integer("SIRKA", file.width)
            .Integer("DLZKA", file.length);
        lastDay = std::max(lastDay, day);
    }
    catalog.SetLastUpdate(month.year, month.month, lastDay);
    catalog.WriteTo(catalogFile);
    return static_cast<int>(entries.size());
}

// The reports the office prints in a month. Payroll is worked out for the month
// before, so the payroll printed in December is November's.
enum class Report {
    Employees,
    Slips,
    KitchenSlips,
    PayrollSummary,
    Contributions,
    Transfers,
    MealWeek1,
    Receipts,
    Issues,
    Cards,
    Balance,
    Inventory,
    SupplierOrder,
};

Entry EntryFor(Report report, const Month& month) {
    const Month pay = month.Previous();
    switch (report) {
    case Report::Employees:
        return {"ZOZZAM", "Zoznam zamestnancov", 2,
                "07:42",  "ZOZZAM.PRN",          [=] { return EmployeeList(pay); }};
    case Report::Slips:
        return {"VYPLPASK",     "Výplatné pásky za " + pay.Name(), 8, "10:15",
                "VYPLPASK.PRN", [=] { return PayrollSlips(pay); }};
    case Report::KitchenSlips:
        return {"VYPLSJ",     "Výplatné pásky - školská jedáleň",  8, "10:21",
                "VYPLSJ.PRN", [=] { return PayrollSlips(pay, 3); }};
    case Report::PayrollSummary:
        return {"REKMZDY",     "Rekapitulácia miezd podľa stredísk", 8, "10:34",
                "REKMZDY.PRN", [=] { return PayrollSummary(pay); }};
    case Report::Contributions:
        return {"ODVODY",     "Prehľad odvodov poistného a dane",        8, "11:02",
                "ODVODY.PRN", [=] { return ContributionsOverview(pay); }};
    case Report::Transfers:
        return {"PRIKAZ",     "Hromadný príkaz na úhradu miezd", 9, "08:05",
                "PRIKAZ.PRN", [=] { return BankTransfers(pay); }};
    case Report::MealWeek1:
        return {"KALK1",     "Kalkulácia jedál - 1. týždeň",           5, "13:30",
                "KALK1.PRN", [=] { return MealCalculation(month, 1); }};
    case Report::Receipts:
        return {"PRIJEMKY",     "Príjemky materiálu na sklad",       27, "14:10",
                "PRIJEMKY.PRN", [=] { return StockReceipts(month); }};
    case Report::Issues:
        return {"VYDAJKY",     "Výdajky materiálu do kuchyne",    27, "14:12",
                "VYDAJKY.PRN", [=] { return StockIssues(month); }};
    case Report::Cards:
        // This one entry names its file in lower case, as some host programs do.
        return {"SKLKARTY",     "Skladové karty materiálu",       27, "14:25",
                "sklkarty.prn", [=] { return StockCards(month); }};
    case Report::Balance:
        return {"STAVZAS",     "Stav zásob ku koncu mesiaca",      28, "09:50",
                "STAVZAS.PRN", [=] { return StockBalance(month); }};
    case Report::Inventory:
        return {"INVENT",     "Inventúrny súpis zásob (na šírku)",  28, "12:40",
                "INVENT.PRN", [=] { return StockInventory(month); }};
    case Report::SupplierOrder:
        return {"ZAMOWPL", "Zamówienie: Zakłady Mięsne Łódź", 20, "11:40", "ZAMOWPL.PRN", [=] {
                    return demohost::SupplierOrder(month);
                }};
    }
    throw std::logic_error("unknown report");
}

std::vector<Entry> EntriesFor(const std::vector<Report>& reports, const Month& month) {
    std::vector<Entry> entries;
    for (Report report : reports)
        entries.push_back(EntryFor(report, month));
    // The host appends to its catalog as it prints, so entries arrive by date and time.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.day != b.day ? a.day < b.day : a.cas < b.cas;
    });
    return entries;
}

std::vector<Entry> MealEntries(const Month& month) {
    std::vector<Entry> entries;
    for (int week = 1; week <= MealWeeks(month); ++week) {
        const std::string name = "KALK" + std::to_string(week);
        entries.push_back({name, "Kalkulácia jedál - " + std::to_string(week) + ". týždeň",
                           7 * week - 2, "13:30", name + ".PRN",
                           [=] { return MealCalculation(month, week); }});
    }
    entries.insert(entries.begin(), {"JEDLIST", "Jedálny lístok na " + month.Name(), 1, "06:55",
                                     "JEDLIST.PRN", [=] { return MealMenu(month); }});
    entries.push_back({"STRAVNICI", "Počty stravníkov a finančný limit", 31, "15:05",
                       "STRAVNIC.PRN", [=] { return MealCounts(month); }});
    return entries;
}

void WriteSettingsTable(const fs::path& file, const Month& month, const std::string& mealFolder) {
    dbfwriter::DbfWriter settings(kDbaseIV, LanguageDriverFor(HostCodePage()));
    settings.AddField("NAZOVORG", 'C', 40)
        .AddField("ICO", 'C', 8)
        .AddField("ROK", 'N', 4)
        .AddField("MESIAC", 'N', 2)
        .AddField("CESTAKAL", 'C', 60)
        .AddField("CESTAZAL", 'C', 60);
    settings.AddRecord()
        .Text("NAZOVORG", Oem(kFirmName))
        .Text("ICO", kFirmIco)
        .Integer("ROK", month.year)
        .Integer("MESIAC", month.month)
        .Text("CESTAKAL", Oem(mealFolder))
        .Text("CESTAZAL", "ZAL");
    settings.SetLastUpdate(month.year, month.month, 1);
    settings.WriteTo(file);
}

} // namespace

std::string PeriodFolderName(const Month& month) {
    char name[16];
    std::snprintf(name, sizeof name, "OBD%d%02d", month.year % 10, month.month);
    return name;
}

HostFolderSummary WriteHostFolder(const fs::path& folder, const Month& current, int codePage) {
    const HostCodePageScope page(codePage);
    HostFolderSummary summary;
    MakeFolder(folder);

    // The current month, in the capitals the host system uses.
    std::vector<Report> currentReports = {
        Report::Employees,     Report::Slips,     Report::KitchenSlips, Report::PayrollSummary,
        Report::Contributions, Report::Transfers, Report::MealWeek1,    Report::Receipts,
        Report::Issues,        Report::Cards,     Report::Balance,      Report::Inventory};
    // A host writing Mazovia has a report with the Polish letters to show.
    if (codePage == kMazovia) currentReports.push_back(Report::SupplierOrder);
    const fs::path currentCatalog = MakeFolder(folder / "CIS") / "ZOZTLS.DBF";
    const int currentCount = WritePeriod(currentCatalog, MakeFolder(folder / "TLA"), current,
                                         EntriesFor(currentReports, current));
    summary.catalogs.push_back({currentCatalog, currentCount});
    summary.printFiles += currentCount;

    // Archived months, newest first. Their folder names are spelled differently on
    // purpose: the host's own programs are not consistent about letter case.
    const std::vector<std::vector<Report>> archivedReports = {
        {Report::Slips, Report::KitchenSlips, Report::PayrollSummary, Report::Contributions,
         Report::Transfers, Report::Cards, Report::Balance, Report::Inventory},
        {Report::Slips, Report::PayrollSummary, Report::Contributions, Report::Receipts,
         Report::Issues, Report::Cards, Report::Balance},
        {Report::Slips, Report::PayrollSummary, Report::Contributions, Report::Receipts,
         Report::Issues}};
    const fs::path archive = MakeFolder(folder / "ZAL");
    Month month = current;
    for (int i = 0; i < kArchivedMonths; ++i) {
        month = month.Previous();
        const bool capitals = i != 1;
        std::string name = PeriodFolderName(month);
        if (!capitals) name = "Obd" + name.substr(3);
        const fs::path printFolder = MakeFolder(archive / name / (capitals ? "TLA" : "Tla"));
        const fs::path catalog = printFolder / (capitals ? "ZOZTLS.DBF" : "ZozTls.dbf");
        const int count =
            WritePeriod(catalog, printFolder, month,
                        EntriesFor(archivedReports[static_cast<std::size_t>(i)], month));
        summary.catalogs.push_back({catalog, count});
        summary.archivedFolders.push_back(name);
        summary.printFiles += count;
    }
    // A month whose catalog was cleared away: its folder stays, but it is no source.
    MakeFolder(archive / PeriodFolderName(month.Previous()) / "TLA");

    // The meal calculations live in a folder of their own, named by the settings table.
    summary.mealFolder = "DATA\\KALK";
    const fs::path meals = MakeFolder(folder / "DATA" / "KALK");
    const fs::path mealCatalog = MakeFolder(meals / "CIS") / "ZOZTLS.DBF";
    const int mealCount =
        WritePeriod(mealCatalog, MakeFolder(meals / "TLA"), current, MealEntries(current));
    summary.catalogs.push_back({mealCatalog, mealCount});
    summary.printFiles += mealCount;
    WriteSettingsTable(folder / "OPOSCIS.DBF", current, summary.mealFolder);
    return summary;
}

} // namespace demohost
