#include "app/Source.h"

#include "platform/Files.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr char kCurrentMonthLabel[] = "Aktuálny mesiac";
constexpr char kMealCalculationsLabel[] = "Kalkulácie jedál";

const std::string& Separator() {
    static const std::string separator = platform::PathSeparator();
    return separator;
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// "Obd" and the period's three digits: the year's last digit and the month.
std::string PeriodFolderName(int year, int month) {
    char name[16];
    std::snprintf(name, sizeof name, "Obd%d%02d", year % 10, month);
    return name;
}

} // namespace

Source Source::CurrentMonth() {
    return Source(SourceKind::CurrentMonth, 0, 0);
}

Source Source::MealCalculations() {
    return Source(SourceKind::MealCalculations, 0, 0);
}

Source Source::ArchivedPeriod(int year, int month) {
    return Source(SourceKind::ArchivedPeriod, year, month);
}

std::optional<Source> Source::FromPeriodFolder(std::string_view folderName) {
    if (folderName.size() != 6) return std::nullopt;
    for (size_t i = 0; i < 3; ++i)
        if (std::tolower(static_cast<unsigned char>(folderName[i])) != "obd"[i])
            return std::nullopt;
    if (!IsDigit(folderName[3]) || !IsDigit(folderName[4]) || !IsDigit(folderName[5]))
        return std::nullopt;
    return ArchivedPeriod(2000 + (folderName[3] - '0'),
                          (folderName[4] - '0') * 10 + (folderName[5] - '0'));
}

std::string Source::Label() const {
    switch (kind_) {
    case SourceKind::CurrentMonth:
        return kCurrentMonthLabel;
    case SourceKind::MealCalculations:
        return kMealCalculationsLabel;
    case SourceKind::ArchivedPeriod:
        break;
    }
    char label[32];
    std::snprintf(label, sizeof label, "%d / %02d", year_, month_);
    return label;
}

std::string Source::CatalogFolder(const HostFolders& host) const {
    const std::string& sep = Separator();
    switch (kind_) {
    case SourceKind::CurrentMonth:
        return host.appFolder + "Cis" + sep;
    case SourceKind::MealCalculations:
        return host.mealCalcFolder + "Cis" + sep;
    case SourceKind::ArchivedPeriod:
        break;
    }
    return host.appFolder + "Zal" + sep + PeriodFolderName(year_, month_) + sep + "Tla" + sep;
}

std::string Source::PrintFileFolder(const HostFolders& host) const {
    const std::string& sep = Separator();
    switch (kind_) {
    case SourceKind::CurrentMonth:
        return host.appFolder + "Tla" + sep;
    case SourceKind::MealCalculations:
        return host.mealCalcFolder + "Tla" + sep;
    case SourceKind::ArchivedPeriod:
        break;
    }
    // An archived period keeps its catalog beside its print files.
    return CatalogFolder(host);
}

std::filesystem::path Source::ResolvedCatalogFolder(const HostFolders& host) const {
    return platform::ResolveHostPath(CatalogFolder(host), host.appFolder);
}

std::filesystem::path Source::ResolvedPrintFile(const HostFolders& host,
                                                std::string_view filName) const {
    return platform::ResolveHostPath(PrintFileFolder(host) + std::string(filName), host.appFolder);
}
