#pragma once
// Carrying out print requests: the one path every print takes, from the
// window's "Tlač" and context menu to batch printing and PDF export. It checks
// the print file, reads it unless its lines are already loaded, fits the
// report's page to the paper, lays out the pages of the range and hands the
// sheets to their destination; the outcome says what happened, and the caller
// only shows it. Needs a QGuiApplication and the machine's code pages.

#include "app/PrintOutcome.h"
#include "app/PrintRequest.h"
#include "app/print/Paper.h"
#include "app/print/PrintSurface.h"

#include <memory>
#include <optional>

class TMemoExStrings;

// Where a job's lines come from: a store that holds them already (the
// preview's), or the print file, read into the store first, after the check
// that it is there.
enum class LineSource { Store, PrintFile };

// Lays the request's sheets out on a surface the caller owns (a print preview,
// a test's recording surface), whatever its destination. No error escapes:
// the outcome carries it.
PrintOutcome LayOut(const PrintRequest& request, print::PrintSurface& surface,
                    TMemoExStrings& lines, LineSource source);

class Printing {
  public:
    Printing();
    ~Printing();
    Printing(const Printing&) = delete;
    Printing& operator=(const Printing&) = delete;

    // Carries the request out on its destination, its lines as LayOut takes them.
    PrintOutcome Carry(const PrintRequest& request, TMemoExStrings& lines, LineSource source);
    // The same, the print file read into a store of its own.
    PrintOutcome Carry(const PrintRequest& request);

    // Another surface stands for the default printer from now on, such as a
    // test's recording surface; its outcome is then LaidOut.
    void SetDefaultPrinter(std::unique_ptr<print::PrintSurface> surface);
    // Every PDF file from now on is laid out on this paper, instead of asking
    // the print system for the default printer's paper for each file.
    void SetPdfPaper(const print::Paper& paper) { pdfPaper_ = paper; }

  private:
    // The application's printer: the default printer as found the first time
    // it prints, and kept from then on.
    std::unique_ptr<print::PrintSurface> defaultPrinter_;
    std::optional<print::Paper> pdfPaper_;
};
