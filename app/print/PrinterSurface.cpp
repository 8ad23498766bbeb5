#include "app/print/PrinterSurface.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "app/print/PrintError.h"
#include "platform/CodePages.h"

namespace print {
namespace {

constexpr char kOrientationRefused[] = "Tlačiareň nevie tlačiť v zvolenej orientácii ...";
constexpr char kCannotStart[] = "Tlač sa nedá začať ...";
constexpr char kCannotFinish[] = "Tlač sa nedá dokončiť ...";

QString DisplayText(std::string_view oemText) {
    // The same glyphs as the preview, so that what was seen is what prints.
    return QString::fromStdU16String(platform::OemToDisplay(oemText));
}

} // namespace

PrinterSurface::PrinterSurface() {
    // Where "Courier New" is missing, the font system should fall back to a fixed-pitch face.
    font_.setStyleHint(QFont::TypeWriter);
}

PrinterSurface::~PrinterSurface() = default;

QPrinter& PrinterSurface::Printer() {
    if (printer_) return *printer_;
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
        throw EPrintError(QPrinterInfo::availablePrinterNames().isEmpty()
                              ? kNoPrinterMessage
                              : kNoDefaultPrinterMessage);
    }
    auto printer = std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
    if (!printer->isValid()) throw EPrintError(kNoPrinterMessage);
    printer_ = std::move(printer);
    FontChanged();
    return *printer_;
}

std::string PrinterSurface::PrinterName() const {
    return printer_ ? printer_->printerName().toStdString() : std::string();
}

void PrinterSurface::FontChanged() {
    if (!printer_) return;
    // A size in points is asked for as a character height in the printer's own pixels.
    const int pixels = static_cast<int>(std::lround(fontPoints_ * printer_->logicalDpiY() / 72.0));
    font_.setPixelSize(std::max(1, pixels));
    metrics_ = std::make_unique<QFontMetrics>(font_, printer_.get());
}

void PrinterSurface::SetOrientation(PageOrientation orientation) {
    QPrinter& printer = Printer();
    const auto wanted =
        orientation == PageOrientation::Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
    if (!printer.setPageOrientation(wanted) || printer.pageLayout().orientation() != wanted)
        throw EPrintError(kOrientationRefused);
}

void PrinterSurface::SetBrushClear() {
    brushClear_ = true;
}

void PrinterSurface::SetFontCharsetOem() {
    // Bytes are turned into glyphs by DisplayText; a Qt font has no character set of its own.
}

void PrinterSurface::SetFontFaceName(std::string_view faceName) {
    font_.setFamily(QString::fromUtf8(faceName.data(), static_cast<qsizetype>(faceName.size())));
    FontChanged();
}

void PrinterSurface::AddFontBold() {
    font_.setBold(true);
    FontChanged();
}

void PrinterSurface::SetFontSize(int points) {
    fontPoints_ = points;
    FontChanged();
}

int PrinterSurface::TextHeight(std::string_view) {
    Printer();
    return metrics_->height();
}

int PrinterSurface::TextWidth(std::string_view oemText) {
    Printer();
    return metrics_->horizontalAdvance(DisplayText(oemText));
}

int PrinterSurface::PageWidth() {
    return Printer().width();
}

int PrinterSurface::PageHeight() {
    return Printer().height();
}

void PrinterSurface::RequireOpen() const {
    if (!open_) throw EPrintError(kCannotStart);
}

void PrinterSurface::BeginDocument() {
    Printer();
    sheets_.assign(1, {});
    open_ = true;
}

void PrinterSurface::DrawText(int x, int y, std::string_view oemText) {
    RequireOpen();
    // Every glyph advances at least one device unit, so nothing past this many
    // characters reaches the paper; a file without line breaks would otherwise
    // send megabytes of invisible text and overflow the painter's coordinates.
    const std::size_t room = static_cast<std::size_t>(std::max(0, PageWidth() - x)) + 1;
    oemText = oemText.substr(0, std::min(oemText.size(), room));
    sheets_.back().push_back({x, y, font_, std::string(oemText)});
}

void PrinterSurface::NewPage() {
    RequireOpen();
    sheets_.emplace_back();
}

void PrinterSurface::DrawSheets(QPainter& painter, const std::vector<Sheet>& sheets) {
    painter.setPen(Qt::black);
    if (brushClear_) {
        painter.setBrush(Qt::NoBrush);
        painter.setBackgroundMode(Qt::TransparentMode);
    }
    for (std::size_t sheet = 0; sheet < sheets.size(); ++sheet) {
        if (sheet > 0 && !printer_->newPage()) throw EPrintError(kCannotFinish);
        for (const Line& line : sheets[sheet]) {
            if (painter.font() != line.font) painter.setFont(line.font);
            // Qt places text by its baseline; the job gives the top left corner.
            painter.drawText(QPoint(line.x, line.y + painter.fontMetrics().ascent()),
                             DisplayText(line.oemText));
        }
    }
}

void PrinterSurface::EndDocument() {
    RequireOpen();
    open_ = false;
    const std::vector<Sheet> sheets = std::exchange(sheets_, {});
    QPainter painter;
    if (!painter.begin(printer_.get())) throw EPrintError(kCannotStart);
    DrawSheets(painter, sheets);
    if (!painter.end()) throw EPrintError(kCannotFinish);
}

void PrinterSurface::AbortDocument() {
    open_ = false;
    sheets_.clear();
}

} // namespace print
