#pragma once
// The printing surface that keeps the sheets as a PDF file instead of printing
// them. The file appears complete or not at all: it is written beside its
// final name and takes that name only once everything is in it.

#include <filesystem>
#include <optional>

#include "app/print/PdfSheetSurface.h"

namespace print {

class PdfFileSurface final : public PdfSheetSurface {
  public:
    // On the given paper, or else on the default printer's paper, or A4 when
    // there is no printer.
    explicit PdfFileSurface(std::filesystem::path file, std::optional<Paper> paper = {});

    // The default printer's paper, A4 when there is none (or no print system).
    static Paper DefaultPaper();

  protected:
    Paper LoadPaper() override;
    void Deliver(std::vector<Sheet> sheets) override;

  private:
    std::filesystem::path file_;
    std::optional<Paper> paper_;
};

} // namespace print
