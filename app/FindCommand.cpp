#include "app/FindCommand.h"

#include "app/MealCalcFolder.h"
#include "app/PrintFileSearch.h"
#include "app/Sources.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <tuple>

namespace {

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    text.erase(0, text.find_first_not_of(' ') == std::string::npos ? text.size()
                                                                   : text.find_first_not_of(' '));
    return text;
}

// The period as --source names it: current, meal, or YYMM of "200Y / MM".
std::string Period(const SearchedSource& source) {
    if (source.item == sources::kCurrentMonthItem) return "current";
    if (source.item == sources::kMealCalculationsItem) return "meal";
    return source.label.substr(2, 2) + source.label.substr(7, 2);
}

void Say(std::FILE* err, const std::string& text) {
    std::fprintf(err, "tlacsub: %s\n", text.c_str());
}

} // namespace

int RunFind(const std::string& appFolder, const BatchOptions& options, std::FILE* out,
            std::FILE* err) {
    const std::string source = options.source.toStdString();
    std::string mealFolder;
    if (source == "meal" || source == "all") mealFolder = ReadMealCalcFolder(appFolder);
    std::vector<SearchedSource> searched;
    if (source == "all") {
        searched = SelectorSources(appFolder, mealFolder);
    } else if (source == "meal") {
        if (mealFolder.empty()) {
            Say(err, "Priečinok kalkulácií jedál nie je nastavený (oposcis.dbf ho neuvádza).");
            return 2;
        }
        searched = {SelectorSource(sources::kMealCalculationsItem, sources::kMealCalculations,
                                   appFolder, mealFolder)};
    } else if (source == "current") {
        searched = {SelectorSource(sources::kCurrentMonthItem, sources::kCurrentMonth, appFolder,
                                   mealFolder)};
    } else {
        // YYMM: the host keeps the year's last digit, as its labels "200Y / MM" show.
        const std::string label = "200" + source.substr(1, 1) + " / " + source.substr(2, 2);
        searched = {
            SelectorSource(sources::kMealCalculationsItem + 1, label, appFolder, mealFolder)};
    }

    PrintFileSearch search(searched, appFolder, options.findText.toStdU16String(),
                           options.matchCase);
    if (search.Impossible()) {
        Say(err, "Hľadaný text obsahuje znaky, ktoré kódová stránka " +
                     std::to_string(platform::OemCodePage()) +
                     " tlačových súborov nemá; nič sa nenašlo.");
        return 1;
    }
    search.Start();
    search.Wait();

    for (const SearchFailure& failure : search.TakeFailures()) {
        const std::string& label = search.Sources()[failure.source].label;
        if (failure.kind == SearchFailure::Kind::Catalog)
            Say(err, label + ": Nepodarilo sa načítať zoznam tlačových súborov (" + failure.reason +
                         ")");
        else
            Say(err, label + ": " + failure.file + ": " +
                         (failure.kind == SearchFailure::Kind::MissingFile
                              ? "Zvolený súbor neexistuje ..."
                              : "súbor sa nedá prečítať") +
                         " (" + failure.reason + ")");
    }

    std::vector<SearchHit> hits = search.TakeHits();
    std::sort(hits.begin(), hits.end(), [](const SearchHit& a, const SearchHit& b) {
        return std::tie(a.source, a.entry->position, a.line, a.column) <
               std::tie(b.source, b.entry->position, b.line, b.column);
    });
    for (const SearchHit& hit : hits) {
        const std::string line = Period(search.Sources()[hit.source]) + '\t' +
                                 Trimmed(platform::AnsiToUtf8(hit.entry->nazov)) + '\t' +
                                 Trimmed(platform::AnsiToUtf8(hit.entry->filName)) + '\t' +
                                 std::to_string(hit.line + 1) + '\t' +
                                 platform::Utf16ToUtf8(platform::OemToDisplay(hit.text)) + '\n';
        std::fwrite(line.data(), 1, line.size(), out);
    }
    std::fflush(out);
    return hits.empty() ? 1 : 0;
}
