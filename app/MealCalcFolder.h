#pragma once
// The meal-calculation folder, named by the host system's settings table.

#include <string>

// CESTAKAL of the first record of oposcis.dbf in the application folder, as a
// native path (UTF-8) ending in a separator, however long the host wrote it. Empty
// when the table is missing or unreadable or has no such field; no error
// escapes. The table is only read, never written.
std::string ReadMealCalcFolder(const std::string& appFolder);

// Whether the host names a meal-calculation folder: false for the empty folder
// of a missing table or field and for the root an empty CESTAKAL gives.
bool MealCalcFolderSet(const std::string& mealCalcFolder);

// What a run without the window says when the meal calculations are asked for
// but the host names no folder for them.
inline constexpr char kNoMealCalcFolder[] =
    "Priečinok kalkulácií jedál nie je nastavený: oposcis.dbf v priečinku hostiteľského "
    "systému ho v poli CESTAKAL neuvádza.";
