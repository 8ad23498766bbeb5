#include "app/BatchPrint.h"

#include "app/CatalogEntry.h"
#include "app/CatalogLoading.h"
#include "app/FindCommand.h"
#include "app/MealCalcFolder.h"
#include "app/Source.h"
#include "app/Sources.h"
#include "app/StartupSettings.h"
#include "app/print/PdfFileSurface.h"
#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "platform/Files.h"
#include "platform/Locale.h"
#include "viewer/MemoExStrings.h"

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace {

void Tell(const std::string& text) {
    std::fprintf(stderr, "tlacsub: %s\n", text.c_str());
}

std::string TrimBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    return text;
}

// Prints one entry's file on a surface; false with the reason told when it fails.
bool PrintEntry(const CatalogEntry& entry, const Source& source, const HostFolders& host,
                const BatchOptions& options, print::PrintSurface& surface) {
    const std::filesystem::path file = source.ResolvedPrintFile(host, entry.FilName);
    const std::string nazov = entry.TrimmedNazov();
    if (!platform::FileExists(file.string())) {
        Tell(nazov + ": Zvolený súbor neexistuje ... (" + file.string() + ")");
        return false;
    }
    try {
        TMemoExStrings lines;
        lines.LoadFile(file.string());
        const std::string first = options.firstPage.toStdString();
        const std::string last = options.lastPage.toStdString();
        print::RunPrintJob(surface, lines,
                           {first, last, entry.Sirka, entry.Dlzka, !options.landscape});
        return true;
    } catch (const std::exception& error) {
        Tell(nazov + ": " + error.what());
        return false;
    }
}

// Every entry in the table's active order.
std::vector<CatalogEntry> Entries(const memtable::TloxMemTable& PrnData) {
    std::vector<CatalogEntry> entries;
    for (int position = 1; position <= PrnData.RecordTotal(); ++position)
        entries.push_back(CatalogEntry::At(PrnData, position));
    return entries;
}

} // namespace

std::string PdfFileStem(const std::string& nazov) {
    std::string stem = TrimBlanks(nazov);
    for (char& c : stem)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < ' ' || c == ':' || c == '*' ||
            c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
            c = '_';
    if (stem.empty() || stem == "." || stem == "..") stem = "_" + stem;
    return stem;
}

int RunBatch(const std::string& appFolder, const BatchOptions& options) {
    const HostFolders host{appFolder, ReadMealCalcFolder(appFolder)};
    // The window then looks for the meal calculations beside the current month;
    // a run that prints unattended must not print the wrong month's reports.
    if (options.source.Kind() == SourceKind::MealCalculations &&
        !MealCalcFolderSet(host.mealCalcFolder)) {
        Tell(kNoMealCalcFolder);
        return 1;
    }
    const std::filesystem::path catalogFolder = options.source.ResolvedCatalogFolder(host);
    dbf::TDbf Dbf1("Dbf1");
    ConfigureCatalogTable(Dbf1);
    const std::unique_ptr<memtable::TloxMemTable> PrnData = memtable::MakePrnData();
    if (!LoadCatalog(Dbf1, *PrnData, catalogFolder)) {
        Tell("Nepodarilo sa načítať zoznam tlačových súborov (" + catalogFolder.string() + ")");
        return 1;
    }

    if (options.mode == BatchOptions::Mode::Print) {
        // The first of several entries sharing the name is the first by name.
        PrnData->SetIndexName("RPrintN");
        const std::string wanted = TrimBlanks(options.nazov.toStdString());
        for (const CatalogEntry& entry : Entries(*PrnData)) {
            if (entry.TrimmedNazov() != wanted) continue;
            std::unique_ptr<print::PrintSurface> surface;
            if (options.pdfFile)
                surface = std::make_unique<print::PdfFileSurface>(options.pdfFile->toStdString());
            else if (options.printer)
                surface = std::make_unique<print::PrinterSurface>(options.printer->toStdString());
            else
                surface = std::make_unique<print::PrinterSurface>();
            return PrintEntry(entry, options.source, host, options, *surface) ? 0 : 1;
        }
        Tell("Položka „" + wanted + "“ v zozname nie je.");
        return 1;
    }

    const std::filesystem::path folder = options.exportFolder.toStdString();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        Tell("Priečinok „" + folder.string() + "“ sa nedá vytvoriť: " + error.message() + ".");
        return 1;
    }
    PrnData->SetIndexName(""); // catalog order
    const print::Paper paper = print::PdfFileSurface::DefaultPaper();
    std::map<std::string, int> counts;
    std::set<std::string> used;
    bool allWritten = true;
    for (const CatalogEntry& entry : Entries(*PrnData)) {
        const std::string stem = PdfFileStem(entry.Nazov);
        std::string name = stem;
        // A name already taken, even by an entry called "X_2" itself, gets the next number.
        while (!used.insert(name).second)
            name = stem + "_" + std::to_string(++counts[stem] + 1);
        print::PdfFileSurface surface(folder / (name + ".pdf"), paper);
        allWritten = PrintEntry(entry, options.source, host, options, surface) && allWritten;
    }
    return allWritten ? 0 : 1;
}

int RunBatchCommand(const CommandLineOptions& options, const BatchOptions& batch) {
    const StartupSettings settings =
        ResolveStartupSettings(options, DefaultSettingsFiles(), sources::ApplicationFolder(),
                               platform::CodePagesForLocale(platform::UserLocale()));
    if (!settings.error.isEmpty()) {
        Tell(settings.error.toStdString());
        return 1;
    }
    for (const QString& warning : settings.warnings)
        Tell(warning.toStdString());
    platform::SetMachineCodePages(settings.ansiCodePage, settings.oemCodePage);
    if (batch.mode == BatchOptions::Mode::Find)
        return RunFind(settings.appFolder, batch, stdout, stderr);
    return RunBatch(settings.appFolder, batch);
}
