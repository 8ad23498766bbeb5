#include "app/Sources.h"

#include "platform/Files.h"
#include "platform/Locale.h"

#include <algorithm>

namespace sources {

std::string ApplicationFolder() {
    const std::string separator = platform::PathSeparator();
    std::string folder = platform::ExecutableFile().parent_path().string();
    if (folder.empty() || folder.back() != separator.back()) folder += separator;
    return folder;
}

std::vector<Source> ArchivedPeriods(const std::string& appFolder) {
    const std::string separator = platform::PathSeparator();
    const std::string archive = appFolder + "Zal" + separator;
    std::vector<Source> periods;
    for (const std::string& name : platform::EnumerateFolder(archive, "Obd???")) {
        const std::optional<Source> period = Source::FromPeriodFolder(name);
        const std::string catalog = archive + name + separator + "Tla" + separator + "ZozTls.dbf";
        if (period && platform::FileExists(catalog)) periods.push_back(*period);
    }
    // Ordered by their labels as the user's locale orders text, newest first.
    std::stable_sort(periods.begin(), periods.end(), [](const Source& a, const Source& b) {
        return platform::CompareTextIgnoreCase(a.Label(), b.Label()) > 0;
    });
    return periods;
}

std::vector<Source> OfferedSources(const std::string& appFolder) {
    std::vector<Source> offered{Source::CurrentMonth(), Source::MealCalculations()};
    for (const Source& period : ArchivedPeriods(appFolder))
        offered.push_back(period);
    return offered;
}

} // namespace sources
