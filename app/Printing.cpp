#include "app/Printing.h"

#include "app/WindowTexts.h"
#include "app/print/PdfFileSurface.h"
#include "app/print/PrintError.h"
#include "app/print/PrinterSurface.h"
#include "platform/Files.h"
#include "viewer/MemoExStrings.h"

#include <new>

namespace {

PrintOutcome Refused(PrintOutcome::Kind kind, std::string message) {
    PrintOutcome outcome;
    outcome.kind = kind;
    outcome.message = std::move(message);
    return outcome;
}

print::PrintJobSettings SettingsOf(const PrintRequest& request) {
    return {request.pages, request.entry.Sirka, request.entry.Dlzka, request.Portrait};
}

// What became of a job a printer surface ended: the spooler accepted it.
void Accepted(PrintOutcome& outcome, const print::PrintSurface& surface) {
    const auto* printer = dynamic_cast<const print::PrinterSurface*>(&surface);
    if (!outcome.Succeeded() || printer == nullptr) return;
    outcome.kind = PrintOutcome::Kind::Accepted;
    outcome.printer = printer->PrinterName();
    outcome.jobId = printer->LastJobId();
}

} // namespace

// An error after the document was begun has aborted it, so nothing half done
// reaches a printer or a file.
PrintOutcome LayOut(const PrintRequest& request, print::PrintSurface& surface,
                    TMemoExStrings& lines, LineSource source) {
    if (!platform::FileExists(request.printFile.string())) {
        PrintOutcome outcome = Refused(PrintOutcome::Kind::FileMissing, window_texts::kFileMissing);
        outcome.file = request.printFile;
        return outcome;
    }
    try {
        if (source == LineSource::PrintFile) lines.LoadFile(request.printFile.string());
        PrintOutcome outcome;
        outcome.kind = PrintOutcome::Kind::LaidOut;
        outcome.layout = print::RunPrintJob(surface, lines, SettingsOf(request));
        return outcome;
    } catch (const print::ERangeOutsideDocument& notice) {
        return Refused(PrintOutcome::Kind::RangeOutsideDocument, notice.what());
    } catch (const std::bad_alloc&) {
        return Refused(PrintOutcome::Kind::Failed, "Na túto činnosť nie je dosť pamäte.");
    } catch (const std::exception& error) {
        return Refused(PrintOutcome::Kind::Failed, error.what());
    }
}

Printing::Printing() : defaultPrinter_(std::make_unique<print::PrinterSurface>()) {}

Printing::~Printing() = default;

void Printing::SetDefaultPrinter(std::unique_ptr<print::PrintSurface> surface) {
    defaultPrinter_ = std::move(surface);
}

PrintOutcome Printing::Carry(const PrintRequest& request) {
    TMemoExStrings lines;
    return Carry(request, lines, LineSource::PrintFile);
}

PrintOutcome Printing::Carry(const PrintRequest& request, TMemoExStrings& lines,
                             LineSource source) {
    switch (request.destination.kind) {
    case PrintDestination::Kind::DefaultPrinter: {
        PrintOutcome outcome = LayOut(request, *defaultPrinter_, lines, source);
        Accepted(outcome, *defaultPrinter_);
        return outcome;
    }
    case PrintDestination::Kind::Queue: {
        print::PrinterSurface once(request.destination.queue);
        PrintOutcome outcome = LayOut(request, once, lines, source);
        Accepted(outcome, once);
        return outcome;
    }
    case PrintDestination::Kind::PdfFile:
        break;
    }
    return WritePdf(request, lines, source, pdfPaper_);
}

PrintOutcome Printing::CarryAsLaidOut(const PrintRequest& request, TMemoExStrings& lines,
                                      const print::Paper& paper) {
    if (request.destination.kind != PrintDestination::Kind::PdfFile)
        return Carry(request, lines, LineSource::Store);
    return WritePdf(request, lines, LineSource::Store, paper);
}

PrintOutcome Printing::WritePdf(const PrintRequest& request, TMemoExStrings& lines,
                                LineSource source, const std::optional<print::Paper>& paper) {
    print::PdfFileSurface pdf(request.destination.pdfFile, paper);
    PrintOutcome outcome = LayOut(request, pdf, lines, source);
    if (outcome.Succeeded()) {
        outcome.kind = PrintOutcome::Kind::Written;
        outcome.file = request.destination.pdfFile;
    }
    return outcome;
}
