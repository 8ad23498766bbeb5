#pragma once
// The sources the month selector offers and the folders each one reads from.
// Folders are native text ending in the separator; a relative one (an empty
// meal-calculation folder) is resolved against the application folder by
// whoever looks a file up in it.

#include <string>
#include <string_view>
#include <vector>

namespace sources {

inline constexpr char kCurrentMonth[] = "Aktuálny mesiac";
inline constexpr char kMealCalculations[] = "Kalkulácie jedál";

// Selector items before the archived periods.
inline constexpr int kCurrentMonthItem = 0;
inline constexpr int kMealCalculationsItem = 1;

// Folder of the running executable, ending in the separator.
std::string ApplicationFolder();

// The archived periods under Zal that hold a catalog, as labels such as
// "2007 / 12", newest first.
std::vector<std::string> ArchivedPeriodLabels(const std::string& appFolder);

// The label of an archived-period folder name such as "Obd712".
std::string PeriodLabel(std::string_view folderName);

// Folder holding ZOZTLS.DBF for the selector item; itemText matters for archived periods.
std::string CatalogFolder(int itemIndex, std::string_view itemText, const std::string& appFolder,
                          const std::string& mealCalcFolder);

// Folder holding the print files the catalog names.
std::string PrintFileFolder(int itemIndex, std::string_view itemText, const std::string& appFolder,
                            const std::string& mealCalcFolder);

} // namespace sources
