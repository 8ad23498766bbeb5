#include "app/BatchPrint.h"

#include "app/CatalogLoading.h"
#include "app/FindCommand.h"
#include "app/MealCalcFolder.h"
#include "app/Sources.h"
#include "app/StartupSettings.h"
#include "app/print/PdfFileSurface.h"
#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "platform/CodePages.h"
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

// The catalog and print-file folders of the source the options name.
struct SourceFolders {
    std::filesystem::path catalog;
    std::string printFiles; // host path, resolved per file
};

SourceFolders FoldersOf(const std::string& appFolder, const QString& source) {
    int item = sources::kCurrentMonthItem;
    std::string label;
    std::string mealFolder;
    if (source == QLatin1String("meal")) {
        item = sources::kMealCalculationsItem;
        mealFolder = ReadMealCalcFolder(appFolder);
    } else if (source != QLatin1String("current")) {
        // YYMM: the host keeps the year's last digit, as its labels "200Y / MM" show.
        item = sources::kMealCalculationsItem + 1;
        label = "200" + source.mid(1, 1).toStdString() + " / " + source.mid(2, 2).toStdString();
    }
    return {platform::ResolveHostPath(sources::CatalogFolder(item, label, appFolder, mealFolder),
                                      appFolder),
            sources::PrintFileFolder(item, label, appFolder, mealFolder)};
}

struct Entry {
    std::string nazov; // UTF-8, trimmed
    std::string filName;
    int Sirka = 0;
    int Dlzka = 0;
};

// Entries in the active order of the table.
std::vector<Entry> Entries(memtable::TloxMemTable& PrnData) {
    std::vector<Entry> entries;
    const auto& nazov = PrnData.FieldNamed("Nazov");
    const auto& filName = PrnData.FieldNamed("FilName");
    const auto& sirka = PrnData.FieldNamed("Sirka");
    const auto& dlzka = PrnData.FieldNamed("Dlzka");
    for (int position = 1; position <= PrnData.RecordTotal(); ++position)
        entries.push_back({TrimBlanks(platform::AnsiToUtf8(PrnData.ValueTextAt(position, nazov))),
                           platform::AnsiToUtf8(PrnData.ValueTextAt(position, filName)),
                           PrnData.ValueIntegerAt(position, sirka),
                           PrnData.ValueIntegerAt(position, dlzka)});
    return entries;
}

// Prints one entry's file on a surface; false with the reason told when it fails.
bool PrintEntry(const Entry& entry, const SourceFolders& folders, const std::string& appFolder,
                const BatchOptions& options, print::PrintSurface& surface) {
    const std::string hostPath = folders.printFiles + entry.filName;
    if (!platform::FileExists(hostPath, appFolder)) {
        Tell(entry.nazov + ": Zvolený súbor neexistuje ... (" +
             platform::ResolveHostPath(hostPath, appFolder).string() + ")");
        return false;
    }
    try {
        TMemoExStrings lines;
        lines.LoadFile(platform::ResolveHostPath(hostPath, appFolder).string());
        const std::string first = options.firstPage.toStdString();
        const std::string last = options.lastPage.toStdString();
        print::RunPrintJob(surface, lines,
                           {first, last, entry.Sirka, entry.Dlzka, !options.landscape});
        return true;
    } catch (const std::exception& error) {
        Tell(entry.nazov + ": " + error.what());
        return false;
    }
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
    const SourceFolders folders = FoldersOf(appFolder, options.source);
    dbf::TDbf Dbf1("Dbf1");
    ConfigureCatalogTable(Dbf1);
    const std::unique_ptr<memtable::TloxMemTable> PrnData = memtable::MakePrnData();
    if (!LoadCatalog(Dbf1, *PrnData, folders.catalog)) {
        Tell("Nepodarilo sa načítať zoznam tlačových súborov (" + folders.catalog.string() + ")");
        return 1;
    }

    if (options.mode == BatchOptions::Mode::Print) {
        // The first of several entries sharing the name is the first by name.
        PrnData->SetIndexName("RPrintN");
        const std::string wanted = TrimBlanks(options.nazov.toStdString());
        for (const Entry& entry : Entries(*PrnData)) {
            if (entry.nazov != wanted) continue;
            std::unique_ptr<print::PrintSurface> surface;
            if (options.pdfFile)
                surface = std::make_unique<print::PdfFileSurface>(options.pdfFile->toStdString());
            else if (options.printer)
                surface = std::make_unique<print::PrinterSurface>(options.printer->toStdString());
            else
                surface = std::make_unique<print::PrinterSurface>();
            return PrintEntry(entry, folders, appFolder, options, *surface) ? 0 : 1;
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
    for (const Entry& entry : Entries(*PrnData)) {
        const std::string stem = PdfFileStem(entry.nazov);
        std::string name = stem;
        // A name already taken, even by an entry called "X_2" itself, gets the next number.
        while (!used.insert(name).second)
            name = stem + "_" + std::to_string(++counts[stem] + 1);
        print::PdfFileSurface surface(folder / (name + ".pdf"), paper);
        allWritten = PrintEntry(entry, folders, appFolder, options, surface) && allWritten;
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
