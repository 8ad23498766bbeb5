#include "app/print/PdfSheetSurface.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "app/print/PrintError.h"

namespace print {
namespace {

constexpr char kOrientationRefused[] = "Tlačiareň nevie tlačiť v zvolenej orientácii ...";
constexpr char kCannotStart[] = "Tlač sa nedá začať ...";
constexpr char kCannotFinish[] = "Tlač sa nedá dokončiť ...";

} // namespace

PdfSheetSurface::PdfSheetSurface() {
    // Where "Courier New" is missing, the font system should fall back to a fixed-pitch face.
    font_.setStyleHint(QFont::TypeWriter);
}

PdfSheetSurface::~PdfSheetSurface() = default;

const Paper& PdfSheetSurface::CurrentPaper() {
    if (!paper_) {
        Paper paper = LoadPaper();
        paper.layout.setOrientation(orientation_);
        measureBuffer_ = std::make_unique<QBuffer>();
        measureDevice_ = std::make_unique<QPdfWriter>(measureBuffer_.get());
        measureDevice_->setResolution(paper.resolution);
        paper_ = std::move(paper);
        FontChanged();
    }
    return *paper_;
}

void PdfSheetSurface::FontChanged() {
    if (!paper_) return;
    // A size in points is asked for as a character height in the paper's own units.
    const int pixels = static_cast<int>(std::lround(fontPoints_ * paper_->resolution / 72.0));
    font_.setPixelSize(std::max(1, pixels));
    metrics_ = std::make_unique<QFontMetrics>(font_, measureDevice_.get());
}

void PdfSheetSurface::SetOrientation(PageOrientation orientation) {
    CurrentPaper();
    orientation_ =
        orientation == PageOrientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    paper_->layout.setOrientation(orientation_);
    if (paper_->layout.orientation() != orientation_ || paper_->Width() <= 0 ||
        paper_->Height() <= 0)
        throw EPrintError(kOrientationRefused);
}

void PdfSheetSurface::SetBrushClear() {
    brushClear_ = true;
}

void PdfSheetSurface::SetFontCharsetOem() {
    // Bytes are turned into glyphs by SheetText; a Qt font has no character set of its own.
}

void PdfSheetSurface::SetFontFaceName(std::string_view faceName) {
    font_.setFamily(QString::fromUtf8(faceName.data(), static_cast<qsizetype>(faceName.size())));
    FontChanged();
}

void PdfSheetSurface::AddFontBold() {
    font_.setBold(true);
    FontChanged();
}

void PdfSheetSurface::SetFontSize(int points) {
    fontPoints_ = points;
    FontChanged();
}

int PdfSheetSurface::TextHeight(std::string_view) {
    CurrentPaper();
    return metrics_->height();
}

int PdfSheetSurface::TextWidth(std::string_view oemText) {
    CurrentPaper();
    return metrics_->horizontalAdvance(SheetText(oemText));
}

int PdfSheetSurface::PageWidth() {
    return CurrentPaper().Width();
}

int PdfSheetSurface::PageHeight() {
    return CurrentPaper().Height();
}

void PdfSheetSurface::RequireOpen() const {
    if (!open_) throw EPrintError(kCannotStart);
}

void PdfSheetSurface::BeginDocument() {
    CurrentPaper();
    sheets_.assign(1, {});
    open_ = true;
}

void PdfSheetSurface::DrawText(int x, int y, std::string_view oemText) {
    RequireOpen();
    // Every glyph advances at least one device unit, so nothing past this many
    // characters reaches the paper; a file without line breaks would otherwise
    // send megabytes of invisible text and overflow the painter's coordinates.
    const std::size_t room = static_cast<std::size_t>(std::max(0, PageWidth() - x)) + 1;
    oemText = oemText.substr(0, std::min(oemText.size(), room));
    sheets_.back().push_back({x, y, font_, std::string(oemText)});
}

void PdfSheetSurface::NewPage() {
    RequireOpen();
    sheets_.emplace_back();
}

void PdfSheetSurface::DrawSheets(QPainter& painter, QPdfWriter& writer,
                                 const std::vector<Sheet>& sheets) {
    if (brushClear_) {
        painter.setBrush(Qt::NoBrush);
        painter.setBackgroundMode(Qt::TransparentMode);
    }
    for (std::size_t sheet = 0; sheet < sheets.size(); ++sheet) {
        if (sheet > 0 && !writer.newPage()) throw EPrintError(kCannotFinish);
        PaintSheet(painter, sheets[sheet]);
    }
}

QByteArray PdfSheetSurface::PdfDocument(const std::vector<Sheet>& sheets) {
    const Paper& paper = CurrentPaper();
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(paper.resolution);
    if (!writer.setPageLayout(paper.layout)) throw EPrintError(kCannotStart);
    QPainter painter;
    if (!painter.begin(&writer)) throw EPrintError(kCannotStart);
    DrawSheets(painter, writer, sheets);
    if (!painter.end()) throw EPrintError(kCannotFinish);
    return pdf.data();
}

void PdfSheetSurface::EndDocument() {
    RequireOpen();
    open_ = false;
    Deliver(std::exchange(sheets_, {}));
}

void PdfSheetSurface::AbortDocument() {
    open_ = false;
    sheets_.clear();
}

} // namespace print
