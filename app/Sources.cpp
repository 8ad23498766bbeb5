#include "app/Sources.h"

#include "platform/Files.h"
#include "platform/Locale.h"

#include <algorithm>

namespace sources {
namespace {

const std::string& Separator() {
    static const std::string separator = platform::PathSeparator();
    return separator;
}

// Characters of a label counted from 1, tolerating a label shorter than expected.
std::string LabelChars(std::string_view label, size_t first, size_t count) {
    if (first == 0 || first > label.size()) return {};
    return std::string(label.substr(first - 1, count));
}

} // namespace

std::string ApplicationFolder() {
    std::string folder = platform::ExecutableFile().parent_path().string();
    if (folder.empty() || folder.back() != Separator().back()) folder += Separator();
    return folder;
}

std::string PeriodLabel(std::string_view folderName) {
    const size_t n = folderName.size();
    if (n < 3) return "200" + std::string(folderName) + " / ";
    return "200" + std::string(1, folderName[n - 3]) + " / " +
           std::string(folderName.substr(n - 2));
}

std::vector<std::string> ArchivedPeriodLabels(const std::string& appFolder) {
    const std::string archive = appFolder + "Zal" + Separator();
    std::vector<std::string> labels;
    for (const std::string& name : platform::EnumerateFolder(archive, "Obd???")) {
        const std::string catalog =
            archive + name + Separator() + "Tla" + Separator() + "ZozTls.dbf";
        if (platform::FileExists(catalog)) labels.push_back(PeriodLabel(name));
    }
    std::stable_sort(labels.begin(), labels.end(), [](const std::string& a, const std::string& b) {
        return platform::CompareTextIgnoreCase(a, b) < 0;
    });
    std::reverse(labels.begin(), labels.end());
    return labels;
}

std::string CatalogFolder(int itemIndex, std::string_view itemText, const std::string& appFolder,
                          const std::string& mealCalcFolder) {
    const std::string& sep = Separator();
    if (itemIndex == kCurrentMonthItem) return appFolder + "Cis" + sep;
    if (itemIndex == kMealCalculationsItem) return mealCalcFolder + "Cis" + sep;
    return appFolder + "Zal" + sep + "Obd" + LabelChars(itemText, 4, 1) +
           LabelChars(itemText, 8, 2) + sep + "Tla" + sep;
}

std::string PrintFileFolder(int itemIndex, std::string_view itemText, const std::string& appFolder,
                            const std::string& mealCalcFolder) {
    const std::string& sep = Separator();
    if (itemIndex == kCurrentMonthItem) return appFolder + "Tla" + sep;
    if (itemIndex == kMealCalculationsItem) return mealCalcFolder + "Tla" + sep;
    return CatalogFolder(itemIndex, itemText, appFolder, mealCalcFolder);
}

} // namespace sources
