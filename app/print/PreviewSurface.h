#pragma once
// The printing surface behind the print preview: it lays the sheets out on a
// given paper exactly as a printer or a PDF file gets them (the same font
// measurements, the same sheets) and keeps them in memory to be painted one
// at a time, instead of rendering a document.

#include <vector>

#include "app/print/Paper.h"
#include "app/print/PdfSheetSurface.h"
#include "app/print/Sheet.h"

namespace print {

// The sheets of one layout and the paper they lie on, in the layout's orientation.
struct LaidOutSheets {
    Paper paper;
    std::vector<Sheet> sheets;
};

class PreviewSurface final : public PdfSheetSurface {
  public:
    explicit PreviewSurface(Paper paper);

    // The sheets of the document that ended last, moved out of the surface.
    LaidOutSheets TakeSheets();

  protected:
    Paper LoadPaper() override;
    void Deliver(std::vector<Sheet> sheets) override;

  private:
    Paper paper_;
    std::vector<Sheet> sheets_;
};

} // namespace print
