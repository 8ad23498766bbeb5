#pragma once
// The printing surface on a printer of the print system (CUPS): the sheets are
// rendered as a PDF document on the printer's own paper and handed to the
// spooler as one job when the document ends, every answer checked. The window
// keeps one for the default printer for the whole run: that printer is looked
// up the first time a job needs it and kept from then on.

#include <string>

#include "app/print/PdfSheetSurface.h"
#include "app/print/Spooler.h"

namespace print {

class PrinterSurface final : public PdfSheetSurface {
  public:
    // On the default printer.
    PrinterSurface() = default;
    // On the named printer (queue).
    explicit PrinterSurface(std::string printer);

    // The printer's name once one has been found, else empty.
    std::string PrinterName() const { return found_ ? printer_ : std::string(); }
    // The spooler's id of the last job it accepted, 0 before the first.
    int LastJobId() const { return lastJobId_; }

  protected:
    Paper LoadPaper() override;
    void Deliver(std::vector<Sheet> sheets) override;

  private:
    std::string printer_; // empty: the default printer, not looked up yet
    bool found_ = false;
    int lastJobId_ = 0;
};

} // namespace print
