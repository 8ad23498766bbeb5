#include "app/SourceChoice.h"

#include "app/MealCalcFolder.h"
#include "app/Sources.h"

#include <algorithm>
#include <utility>

SourceChoice::SourceChoice(std::string appFolder)
    : host_{std::move(appFolder), {}}, offered_{Source::CurrentMonth()} {}

void SourceChoice::FindSources() {
    const Source chosen = Current();
    offered_ = sources::OfferedSources(host_.appFolder);
    host_.mealCalcFolder = ReadMealCalcFolder(host_.appFolder);
    current_ = 0;
    Choose(chosen);
}

void SourceChoice::MoveTo(std::string appFolder) {
    host_.appFolder = std::move(appFolder);
    FindSources();
}

bool SourceChoice::Choose(int index) {
    if (index < 0 || static_cast<size_t>(index) >= offered_.size()) return false;
    current_ = static_cast<size_t>(index);
    return true;
}

bool SourceChoice::Choose(const Source& source) {
    const auto found = std::find(offered_.begin(), offered_.end(), source);
    if (found == offered_.end()) return false;
    current_ = static_cast<size_t>(found - offered_.begin());
    return true;
}
