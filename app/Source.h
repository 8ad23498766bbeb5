#pragma once
// A source of print files: the current month, the meal calculations or an
// archived period. A source knows its label and the folders it reads from; the
// month selector, the command line, the catalog watch and batch printing all
// hold one, so an archived period is never rebuilt from the text it shows.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The host's folders every source is found from.
struct HostFolders {
    // The host system's program folder, ending in the separator.
    std::string appFolder;
    // The meal-calculation folder oposcis.dbf names, ending in a separator
    // once read; empty when there is none, and the meal calculations are then
    // looked for in folders relative to the application folder.
    std::string mealCalcFolder;
};

enum class SourceKind { CurrentMonth, MealCalculations, ArchivedPeriod };

class Source {
  public:
    static Source CurrentMonth();
    static Source MealCalculations();
    // The host keeps one digit of the year, so year is 2000 to 2009; month is
    // the two digits of the folder name (normally 1 to 12).
    static Source ArchivedPeriod(int year, int month);
    // The period an archive folder such as "Obd712" (any letter case) holds:
    // its last three characters, the year's digit and the month's two. The
    // host's names are taken as they are, digits or not, so a folder "Obd7x2"
    // is offered as "2007 / x2"; nothing for a name that is not "Obd" and three
    // characters.
    static std::optional<Source> FromPeriodFolder(std::string_view folderName);

    SourceKind Kind() const { return kind_; }
    bool IsArchivedPeriod() const { return kind_ == SourceKind::ArchivedPeriod; }
    // The three characters after "Obd" in an archived period's folder name
    // ("712"); empty for the other sources.
    const std::string& PeriodCode() const { return period_; }

    // The text the month selector shows (UTF-8): "Aktuálny mesiac",
    // "Kalkulácie jedál", or the period as "2007 / 12".
    std::string Label() const;

    // The folder holding ZOZTLS.DBF and the folder holding the print files the
    // catalog names, as native text ending in the separator. An archived
    // period keeps both in Zal/ObdYMM/Tla; the other sources keep the catalog
    // in Cis beside Tla. Relative only for the meal calculations without a
    // meal-calculation folder.
    std::string CatalogFolder(const HostFolders& host) const;
    std::string PrintFileFolder(const HostFolders& host) const;

    // The same folders found on disk (letter case resolved), a relative one
    // taken from the application folder.
    std::filesystem::path ResolvedCatalogFolder(const HostFolders& host) const;
    // A print file the catalog names (UTF-8, '\' separates folders too), found on disk.
    std::filesystem::path ResolvedPrintFile(const HostFolders& host,
                                            std::string_view filName) const;

    bool operator==(const Source&) const = default;

  private:
    Source(SourceKind kind, std::string period) : kind_(kind), period_(std::move(period)) {}

    SourceKind kind_;
    std::string period_;
};
