#include "app/print/Paper.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "app/print/BoundedCall.h"
#include "app/print/PrintError.h"
#include "app/print/Spooler.h"

namespace print {
namespace {

Paper DescribedPaper(const std::string& printer) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(printer));
    if (info.isNull()) throw EPrintError("Tlačiareň „" + printer + "“ v systéme nie je.");
    // A printer object opens no job; it only reads the printer's description.
    const QPrinter described(info, QPrinter::HighResolution);
    if (!described.isValid()) throw EPrintError("Tlačiareň „" + printer + "“ v systéme nie je.");
    return {described.pageLayout(), described.resolution()};
}

} // namespace

Paper PrinterPaper(const std::string& printer) {
    std::optional<Paper> paper =
        CallWithin<Paper>(SchedulerTimeout(), [printer] { return DescribedPaper(printer); });
    if (!paper) throw EPrintError(SchedulerSilentMessage(printer));
    return *paper;
}

Paper A4Paper() {
    return {QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), 600};
}

} // namespace print
