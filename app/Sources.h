#pragma once
// Finding the sources on the host: the application folder and the archived
// periods the month selector offers beside the current month and the meal
// calculations.

#include "app/Source.h"

#include <string>
#include <vector>

namespace sources {

// Folder of the running executable, ending in the separator.
std::string ApplicationFolder();

// The archived periods under Zal that hold a catalog, newest first.
std::vector<Source> ArchivedPeriods(const std::string& appFolder);

// Every source in the order the month selector offers them: the current
// month, the meal calculations, then the archived periods newest first.
std::vector<Source> OfferedSources(const std::string& appFolder);

} // namespace sources
