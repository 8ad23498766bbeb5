#include "app/print/Paper.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "app/print/PrintError.h"

namespace print {

Paper PrinterPaper(const std::string& printer) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printer));
    if (info.isNull()) throw EPrintError("Tlačiareň „" + printer + "“ v systéme nie je.");
    // A printer object opens no job; it only reads the printer's description.
    const QPrinter described(info, QPrinter::HighResolution);
    if (!described.isValid()) throw EPrintError("Tlačiareň „" + printer + "“ v systéme nie je.");
    return {described.pageLayout(), described.resolution()};
}

Paper A4Paper() {
    return {QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), 600};
}

} // namespace print
