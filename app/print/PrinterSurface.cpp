#include "app/print/PrinterSurface.h"

#include <utility>

namespace print {

PrinterSurface::PrinterSurface(std::string printer) : printer_(std::move(printer)) {}

Paper PrinterSurface::LoadPaper() {
    // The spooler is asked first: it says why there is no printer in its own words.
    std::string printer = printer_;
    if (printer.empty())
        printer = DefaultPrinterName();
    else
        RequirePrinter(printer);
    Paper paper = PrinterPaper(printer);
    printer_ = std::move(printer);
    found_ = true;
    return paper;
}

void PrinterSurface::Deliver(std::vector<Sheet> sheets) {
    const QByteArray bytes = PdfDocument(sheets);
    lastJobId_ = SubmitPdf(printer_, std::string_view(bytes.constData(), bytes.size()),
                           CurrentPaper().layout.pageSize().key().toStdString());
}

} // namespace print
