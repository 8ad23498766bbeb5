#include "app/FindCommand.h"

#include "app/CatalogEntry.h"
#include "app/MealCalcFolder.h"
#include "app/PrintFileSearch.h"
#include "platform/CodePages.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace {

// The period as --source names it: current, meal, or YYMM.
std::string Period(const Source& source) {
    switch (source.Kind()) {
    case SourceKind::CurrentMonth:
        return "current";
    case SourceKind::MealCalculations:
        return "meal";
    case SourceKind::ArchivedPeriod:
        break;
    }
    return "0" + source.PeriodCode();
}

void Say(std::FILE* err, const std::string& text) {
    std::fprintf(err, "tlacsub: %s\n", text.c_str());
}

} // namespace

int RunFind(const std::string& appFolder, const BatchOptions& options, std::FILE* out,
            std::FILE* err) {
    const HostFolders host{appFolder, ReadMealCalcFolder(appFolder)};
    // Without a folder of their own the meal calculations would be looked for
    // beside the current month: that would be the current month's reports.
    if (!options.allSources && options.source.Kind() == SourceKind::MealCalculations &&
        !MealCalcFolderSet(host.mealCalcFolder)) {
        Say(err, kNoMealCalcFolder);
        return 2;
    }
    std::vector<Source> searched =
        options.allSources ? EverySource(host) : std::vector<Source>{options.source};

    PrintFileSearch search(std::move(searched), host, options.findText.toStdU16String(),
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
        const std::string label = search.Sources()[failure.source].Label();
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
        return std::tie(a.source, a.position, a.line, a.column) <
               std::tie(b.source, b.position, b.line, b.column);
    });
    for (const SearchHit& hit : hits) {
        const std::string line = Period(search.Sources()[hit.source]) + '\t' +
                                 hit.entry->TrimmedNazov() + '\t' + TrimBlanks(hit.entry->FilName) +
                                 '\t' + std::to_string(hit.line + 1) + '\t' +
                                 platform::Utf16ToUtf8(platform::OemToDisplay(hit.text)) + '\n';
        std::fwrite(line.data(), 1, line.size(), out);
    }
    std::fflush(out);
    return hits.empty() ? 1 : 0;
}
