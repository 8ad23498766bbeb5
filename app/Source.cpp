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

} // namespace

Source Source::CurrentMonth() {
    return Source(SourceKind::CurrentMonth, {});
}

Source Source::MealCalculations() {
    return Source(SourceKind::MealCalculations, {});
}

Source Source::ArchivedPeriod(int year, int month) {
    char code[16];
    std::snprintf(code, sizeof code, "%d%02d", year % 10, month % 100);
    return Source(SourceKind::ArchivedPeriod, code);
}

std::optional<Source> Source::FromPeriodFolder(std::string_view folderName) {
    if (folderName.size() != 6) return std::nullopt;
    for (size_t i = 0; i < 3; ++i)
        if (std::tolower(static_cast<unsigned char>(folderName[i])) != "obd"[i])
            return std::nullopt;
    return Source(SourceKind::ArchivedPeriod, std::string(folderName.substr(3)));
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
    // "200", the year's digit, " / ", the month's two: the host's own characters.
    return "200" + period_.substr(0, 1) + " / " + period_.substr(1);
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
    return host.appFolder + "Zal" + sep + "Obd" + period_ + sep + "Tla" + sep;
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
