#pragma once
// Lays out a host system's program folder for the tool to work on: the current
// month's catalog and print files, archived months under Zal, the settings table
// naming the meal-calculation folder, and that folder with its own catalog.

#include "tools/demohost/OemText.h"
#include "tools/demohost/SampleData.h"

#include <filesystem>
#include <string>
#include <vector>

namespace demohost {

// What was written, for the caller's message and for checks.
struct HostFolderSummary {
    struct Catalog {
        std::filesystem::path file; // the catalog table
        int entries = 0;
    };
    std::vector<Catalog> catalogs; // current month, archived months newest first, meals
    int printFiles = 0;
    std::vector<std::string> archivedFolders; // "OBD611" ... newest first
    std::string mealFolder;                   // as the settings table names it
};

// Number of archived months laid out before the current one.
inline constexpr int kArchivedMonths = 3;

// Writes the layout into `folder` (created when missing; files already there
// with the same names are replaced), its texts in `codePage` (852, Kamenický
// 895 or 867, Mazovia 620) with catalogs whose language driver names it.
// Throws std::runtime_error when a file cannot be written, std::invalid_argument
// for another code page.
HostFolderSummary WriteHostFolder(const std::filesystem::path& folder, const Month& current,
                                  int codePage = kHostCodePage);

// "OBD611" for November 2026: the letters, the year's last digit, two month digits.
std::string PeriodFolderName(const Month& month);

} // namespace demohost
