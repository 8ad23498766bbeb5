#pragma once
// What the command line asks of a run without a window: print one catalog
// entry, keep every entry of a source as PDF files, or find text in print files.

#include "app/Source.h"

#include <QString>

#include <optional>

struct BatchOptions {
    enum class Mode { Print, ExportPdf, Find };
    Mode mode = Mode::Print;
    QString nazov;        // --print: the entry's Nazov
    QString exportFolder; // --export-pdf: where the files go
    QString findText;     // --find: the text as typed
    bool matchCase = false;
    // --source: the current month, the meal calculations or an archived period.
    Source source = Source::CurrentMonth();
    // --source all, with --find: every source the month selector offers.
    bool allSources = false;
    // --pages FROM-TO, as the two page fields would hold them.
    QString firstPage = QStringLiteral("1");
    QString lastPage = QStringLiteral("9999");
    bool landscape = false;
    std::optional<QString> printer; // --printer QUEUE instead of the default printer
    std::optional<QString> pdfFile; // --pdf FILE instead of a printer
};
