#pragma once
// What the command line asks of a run without a window: print one catalog
// entry, or keep every entry of a source as PDF files.

#include "app/Source.h"

#include <QString>

#include <optional>

struct BatchOptions {
    enum class Mode { Print, ExportPdf };
    Mode mode = Mode::Print;
    QString nazov;        // --print: the entry's Nazov
    QString exportFolder; // --export-pdf: where the files go
    // --source: the current month, the meal calculations or an archived period.
    Source source = Source::CurrentMonth();
    // --pages FROM-TO, as the two page fields would hold them.
    QString firstPage = QStringLiteral("1");
    QString lastPage = QStringLiteral("9999");
    bool landscape = false;
    std::optional<QString> printer; // --printer QUEUE instead of the default printer
    std::optional<QString> pdfFile; // --pdf FILE instead of a printer
};
