#pragma once
// The meal-calculation folder, named by the host system's settings table.

#include <string>

// CESTAKAL of the first record of oposcis.dbf in the application folder, as a
// native path (UTF-8) ending in a separator, however long the host wrote it. Empty
// when the table is missing or unreadable or has no such field; no error
// escapes. The table is only read, never written.
std::string ReadMealCalcFolder(const std::string& appFolder);
