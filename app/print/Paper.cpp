#include "app/print/Paper.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "app/print/PrintError.h"

namespace print {

Paper PrinterPaper(const std::string& printer) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printer));
    if (info.isNull()) throw EPrintError("Tlačiareň „" + printer + "“ v systéme nie je.");
    // A printer object opens no job; it only reads the printer's description.
    QPrinter described(info, QPrinter::HighResolution);
    if (!described.isValid()) throw EPrintError("Tlačiareň „" + printer + "“ v systéme nie je.");
    // A printer object starts on its locale's paper, not on the one the printer
    // is set up for; the sheets must be laid out on the printer's own.
    if (const QPageSize own = info.defaultPageSize(); own.isValid()) described.setPageSize(own);
    return {described.pageLayout(), described.resolution()};
}

Paper A4Paper() {
    return {QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), 600};
}

} // namespace print
