#include "app/BatchPrint.h"

#include "app/CatalogEntry.h"
#include "app/CatalogLoading.h"
#include "app/FindCommand.h"
#include "app/MealCalcFolder.h"
#include "app/PrintOutcome.h"
#include "app/PrintRequest.h"
#include "app/Printing.h"
#include "app/Source.h"
#include "app/Sources.h"
#include "app/StartupSettings.h"
#include "app/print/PageRange.h"
#include "app/print/PdfFileSurface.h"
#include "platform/Locale.h"

#include <cstdio>
#include <map>
#include <memory>
#include <set>

namespace {

void Tell(const std::string& text) {
    std::fprintf(stderr, "tlacsub: %s\n", text.c_str());
}

// Tells what became of one entry; true when it was printed or written.
bool Told(const CatalogEntry& entry, const PrintOutcome& outcome) {
    if (outcome.Succeeded()) return true;
    std::string text = entry.TrimmedNazov() + ": " + outcome.message;
    if (outcome.kind == PrintOutcome::Kind::FileMissing) text += " (" + outcome.file.string() + ")";
    Tell(text);
    return false;
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

    Printing printing;
    const print::PageRange pages =
        print::ReadPageRange(options.firstPage.toStdString(), options.lastPage.toStdString());
    auto request = [&](const CatalogEntry& entry, PrintDestination destination) {
        return PrintRequest{entry, options.source.ResolvedPrintFile(host, entry.FilName), pages,
                            !options.landscape, std::move(destination)};
    };

    if (options.mode == BatchOptions::Mode::Print) {
        // The first of several entries sharing the name is the first by name.
        PrnData->SetIndexName("RPrintN");
        const std::string wanted = TrimBlanks(options.nazov.toStdString());
        for (const CatalogEntry& entry : CatalogEntries(*PrnData)) {
            if (entry.TrimmedNazov() != wanted) continue;
            PrintDestination destination = PrintDestination::DefaultPrinter();
            if (options.pdfFile)
                destination = PrintDestination::PdfFile(options.pdfFile->toStdString());
            else if (options.printer)
                destination = PrintDestination::Queue(options.printer->toStdString());
            return Told(entry, printing.Carry(request(entry, destination))) ? 0 : 1;
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
    // One paper for every file: the print system is asked once, not once per entry.
    printing.SetPdfPaper(print::PdfFileSurface::DefaultPaper());
    std::map<std::string, int> counts;
    std::set<std::string> used;
    bool allWritten = true;
    for (const CatalogEntry& entry : CatalogEntries(*PrnData)) {
        const std::string stem = PdfFileStem(entry.Nazov);
        std::string name = stem;
        // A name already taken, even by an entry called "X_2" itself, gets the next number.
        while (!used.insert(name).second)
            name = stem + "_" + std::to_string(++counts[stem] + 1);
        const PrintOutcome outcome =
            printing.Carry(request(entry, PrintDestination::PdfFile(folder / (name + ".pdf"))));
        allWritten = Told(entry, outcome) && allWritten;
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
