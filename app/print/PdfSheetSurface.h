#pragma once
// A printing surface that lays sheets out on a paper and renders them as a PDF
// document when the document ends. The sheets are kept until then, so an
// aborted document never leaves anything behind. What becomes of the PDF (a
// job for a printer, a file) is up to the surface built on this one. Needs a
// QGuiApplication (or QApplication).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QFont>
#include <QFontMetrics>

#include "app/print/Paper.h"
#include "app/print/PrintSurface.h"
#include "app/print/Sheet.h"

class QBuffer;
class QPainter;
class QPdfWriter;

namespace print {

class PdfSheetSurface : public PrintSurface {
  public:
    ~PdfSheetSurface() override;
    PdfSheetSurface(const PdfSheetSurface&) = delete;
    PdfSheetSurface& operator=(const PdfSheetSurface&) = delete;

    void SetOrientation(PageOrientation orientation) override;
    void SetBrushClear() override;
    void SetFontCharsetOem() override;
    void SetFontFaceName(std::string_view faceName) override;
    void AddFontBold() override;
    void SetFontSize(int points) override;
    int TextHeight(std::string_view oemText) override;
    int TextWidth(std::string_view oemText) override;
    int PageWidth() override;
    int PageHeight() override;
    void BeginDocument() override;
    void DrawText(int x, int y, std::string_view oemText) override;
    void NewPage() override;
    void EndDocument() override;
    void AbortDocument() override;

  protected:
    PdfSheetSurface();

    // The destination's paper; asked for the first time the job needs it and
    // kept from then on. Throws when there is no destination.
    virtual Paper LoadPaper() = 0;
    // Hands the ended document on, which the surface keeps no more; throws
    // when that fails.
    virtual void Deliver(std::vector<Sheet> sheets) = 0;

    // The paper in the orientation last set.
    const Paper& CurrentPaper();
    // The sheets rendered as a PDF document, in memory.
    QByteArray PdfDocument(const std::vector<Sheet>& sheets);

  private:
    void FontChanged();
    void RequireOpen() const;
    void DrawSheets(QPainter& painter, QPdfWriter& writer, const std::vector<Sheet>& sheets);

    std::optional<Paper> paper_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    // Fonts are measured on a PDF device of the paper's resolution, as they are drawn.
    std::unique_ptr<QBuffer> measureBuffer_;
    std::unique_ptr<QPdfWriter> measureDevice_;
    QFont font_;
    int fontPoints_ = 10;
    bool brushClear_ = false;
    std::unique_ptr<QFontMetrics> metrics_;
    bool open_ = false;
    std::vector<Sheet> sheets_;
};

} // namespace print
