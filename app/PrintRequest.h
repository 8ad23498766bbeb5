#pragma once
// What the user asks to print: one catalog entry's print file, a range of its
// pages, the orientation and where the sheets go. The window's "Tlač" and its
// context menu, batch printing, PDF export and the print preview all describe
// a print this way and hand it to Printing.

#include "app/CatalogEntry.h"
#include "app/print/PageRange.h"

#include <filesystem>
#include <string>
#include <utility>

struct PrintDestination {
    enum class Kind {
        DefaultPrinter, // the application's printer, kept for the whole run
        Queue,          // once on another printer of the print system
        PdfFile,        // the same sheets kept as a PDF file
    };
    Kind kind = Kind::DefaultPrinter;
    std::string queue;
    std::filesystem::path pdfFile;

    static PrintDestination DefaultPrinter() { return {}; }
    static PrintDestination Queue(std::string name) { return {Kind::Queue, std::move(name), {}}; }
    static PrintDestination PdfFile(std::filesystem::path file) {
        return {Kind::PdfFile, {}, std::move(file)};
    }
};

struct PrintRequest {
    CatalogEntry entry;
    // The entry's print file as found on disk (Source::ResolvedPrintFile).
    std::filesystem::path printFile;
    print::PageRange pages;
    bool Portrait = true;
    PrintDestination destination;
};
