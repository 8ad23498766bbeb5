#include "app/SheetView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// Room around the sheet, in screen pixels, so its edge and shadow show.
constexpr double kMargin = 12;
constexpr int kShadow = 3;
} // namespace

SheetView::SheetView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
}

void SheetView::SetSheets(std::shared_ptr<const print::LaidOutSheets> sheets, int shownSheet) {
    sheets_ = std::move(sheets);
    current_ = shownSheet >= 0 && shownSheet < SheetCount() ? shownSheet : 0;
    UpdateScrollBars();
    viewport()->update();
    emit ViewChanged();
}

int SheetView::SheetCount() const {
    return sheets_ ? static_cast<int>(sheets_->sheets.size()) : 0;
}

void SheetView::ShowSheet(int index) {
    index = std::clamp(index, 0, std::max(0, SheetCount() - 1));
    if (index == current_) return;
    current_ = index;
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit ViewChanged();
}

QSizeF SheetView::RealPaperSize() const {
    if (!sheets_) return {};
    const QSizeF points = sheets_->paper.layout.fullRect(QPageLayout::Point).size();
    // A point is 1/72 inch.
    return points * (logicalDpiX() / 72.0);
}

double SheetView::ShownScale() const {
    return zoom_.ScaleFor(RealPaperSize(), viewport()->size(), kMargin);
}

QRectF SheetView::PaperRect() const {
    const QSizeF size = RealPaperSize() * ShownScale();
    const double room = viewport()->width() - 2 * kMargin;
    // Centred while it fits across the window; otherwise scrolled.
    const double left = size.width() < room ? kMargin + (room - size.width()) / 2
                                            : kMargin - horizontalScrollBar()->value();
    return {QPointF(left, kMargin - verticalScrollBar()->value()), size};
}

void SheetView::UpdateScrollBars() {
    const QSizeF size = RealPaperSize() * ShownScale();
    const QSize room = viewport()->size();
    auto set = [](QScrollBar* bar, double content, int page) {
        bar->setRange(0, std::max(0, static_cast<int>(std::ceil(content)) - page));
        bar->setPageStep(page);
        bar->setSingleStep(std::max(1, page / 10));
    };
    set(horizontalScrollBar(), size.width() + 2 * kMargin, room.width());
    set(verticalScrollBar(), size.height() + 2 * kMargin, room.height());
}

void SheetView::FitWholePage() {
    zoom_.FitWholePage();
    ZoomChanged();
}

void SheetView::FitPageWidth() {
    zoom_.FitPageWidth();
    ZoomChanged();
}

void SheetView::ZoomIn() {
    if (zoom_.ZoomIn(ShownScale())) ZoomChanged();
}

void SheetView::ZoomOut() {
    if (zoom_.ZoomOut(ShownScale())) ZoomChanged();
}

void SheetView::ZoomChanged() {
    UpdateScrollBars();
    viewport()->update();
    emit ViewChanged();
}

void SheetView::paintEvent(QPaintEvent* /*event*/) {
    if (SheetCount() == 0) return;
    QPainter painter(viewport());
    const QRectF paper = PaperRect();
    painter.fillRect(paper.translated(kShadow, kShadow), palette().color(QPalette::Shadow));
    painter.fillRect(paper, Qt::white);

    const print::Paper& sheetPaper = sheets_->paper;
    // Paper pixels become screen pixels; the job measures from the printable area.
    const double scale =
        paper.width() / sheetPaper.layout.fullRectPixels(sheetPaper.resolution).width();
    painter.setClipRect(paper);
    painter.translate(paper.topLeft());
    painter.scale(scale, scale);
    painter.translate(sheetPaper.layout.paintRectPixels(sheetPaper.resolution).topLeft());
    painter.setRenderHint(QPainter::TextAntialiasing);
    print::PaintSheet(painter, sheets_->sheets[static_cast<std::size_t>(current_)]);
}

void SheetView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void SheetView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_PageDown:
        ShowSheet(current_ + 1);
        return;
    case Qt::Key_PageUp:
        ShowSheet(current_ - 1);
        return;
    case Qt::Key_Home:
        ShowSheet(0);
        return;
    case Qt::Key_End:
        ShowSheet(SheetCount() - 1);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void SheetView::wheelEvent(QWheelEvent* event) {
    // Ctrl with the wheel zooms, as in every document viewer.
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->angleDelta().y() > 0)
            ZoomIn();
        else if (event->angleDelta().y() < 0)
            ZoomOut();
        event->accept();
        return;
    }
    QAbstractScrollArea::wheelEvent(event);
}
