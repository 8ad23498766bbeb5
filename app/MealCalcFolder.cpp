#include "app/MealCalcFolder.h"

#include "dbf/Dbf.h"
#include "platform/CodePages.h"
#include "platform/Files.h"

namespace {

constexpr char kSettingsTable[] = "oposcis.dbf";

bool EndsInSeparator(const std::string& text) {
    // The host writes '\'; a folder typed for this machine may end in '/'.
    return !text.empty() && (text.back() == '\\' || text.back() == '/');
}

} // namespace

std::string ReadMealCalcFolder(const std::string& appFolder) {
    if (!platform::FileExists(kSettingsTable, appFolder)) return {};
    try {
        dbf::TDbf settings("oposcis");
        settings.SetFilePath(appFolder);
        settings.SetTableName(kSettingsTable);
        // Only read: writing the header back would race with the host system,
        // which may be appending to its settings table at this moment.
        settings.SetReadOnly(true);
        settings.Open();
        std::string folder = settings.FieldByName("CESTAKAL")->AsString();
        settings.Close();
        folder = platform::AnsiToUtf8(folder);
        if (!EndsInSeparator(folder)) folder += '\\';
        return folder;
    } catch (...) {
        // The meal calculations are then simply not found; nothing to tell.
        return {};
    }
}

bool MealCalcFolderSet(const std::string& mealCalcFolder) {
    return !mealCalcFolder.empty() && mealCalcFolder != "\\";
}
