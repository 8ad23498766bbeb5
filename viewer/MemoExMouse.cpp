#include "viewer/MemoEx.h"

#include <QHideEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>

TCellPos TCustomMemoEx::CellAt(QPoint pixel) const {
    // Halves round to even, so a click on a character's right half lands after it.
    const double exact = static_cast<double>(pixel.x() - TextLeft()) / cellWidth_;
    int col = std::max(0, static_cast<int>(std::nearbyint(exact)));
    int row = std::max(0, pixel.y() / cellHeight_);
    col = std::min(col + leftCol_, LastVisibleCol());
    row = std::min(row + topRow_, lines_.LineCount() - 1);
    return TCellPos{std::max(0, col), std::max(0, row)};
}

void TCustomMemoEx::mousePressEvent(QMouseEvent* event) {
    if (doubleClicked_) return;
    mousePressed_ = true;
    dragged_ = false;
    const TCellPos cell = CellAt(event->position().toPoint());
    lastPointer_ = event->position().toPoint();
    dragTarget_ = cell;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (event->button() == Qt::LeftButton && !shift && selected_) ClearSelection();
    setFocus(Qt::MouseFocusReason);
    if (cell.row < lines_.LineCount()) {
        if (shift && !selected_) StartSelection(caret_);
        SetCaret(cell.col, cell.row);
        if (shift) ExtendSelection(cell);
    }
    event->accept();
}

void TCustomMemoEx::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    lastPointer_ = pos;
    if (!mousePressed_ || event->buttons() != Qt::LeftButton ||
        (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return;
    dragged_ = true;
    dragTarget_ = CellAt(pos);
    if (dragTarget_.row <= LastVisibleRow() && lines_.LineCount() > 0) {
        if (!selected_) StartSelection(caret_);
        SetCaret(dragTarget_.col, dragTarget_.row);
        ExtendSelection(dragTarget_);
    }
    const QRect client = viewport()->rect();
    const bool outside =
        pos.x() < 0 || pos.x() > client.width() || pos.y() < 0 || pos.y() > client.height();
    if (outside && !autoScroll_->isActive())
        autoScroll_->start();
    else if (!outside)
        autoScroll_->stop();
}

void TCustomMemoEx::AutoScrollTick() {
    const QPoint pos = lastPointer_;
    const int width = viewport()->width();
    const int height = viewport()->height();
    if (pos.x() >= 0 && pos.x() <= width && pos.y() >= 0 && pos.y() <= height) return;
    if (lines_.LineCount() == 0) return;
    // Close to the edge the view creeps by one; farther out it jumps.
    if (pos.y() < 0) dragTarget_.row -= -pos.y() <= 20 ? 1 : std::max(1, visibleRows_);
    if (pos.y() > height) dragTarget_.row += pos.y() - height <= 20 ? 1 : std::max(1, visibleRows_);
    if (pos.x() < 0) dragTarget_.col -= -pos.x() <= 20 ? 1 : std::max(1, visibleCols_ / 2);
    if (pos.x() > width)
        dragTarget_.col += pos.x() - width <= 20 ? 1 : std::max(1, visibleCols_ / 2);
    if (!selected_) StartSelection(caret_);
    SetCaret(dragTarget_.col, dragTarget_.row);
    // The target stays on the caret's cell, so it never runs off past the text
    // while the pointer waits outside, and the selection never ends beyond it.
    dragTarget_ = caret_;
    ExtendSelection(dragTarget_);
}

void TCustomMemoEx::mouseReleaseEvent(QMouseEvent* event) {
    autoScroll_->stop();
    mousePressed_ = false;
    doubleClicked_ = false;
    event->accept();
}

void TCustomMemoEx::hideEvent(QHideEvent* event) {
    QAbstractScrollArea::hideEvent(event);
    // A hidden viewer never sees the release of a press it got (the double click
    // that turns the preview to the list, for one), so the press ends here.
    autoScroll_->stop();
    mousePressed_ = false;
    doubleClicked_ = false;
}

void TCustomMemoEx::mouseDoubleClickEvent(QMouseEvent* event) {
    // Only the left button double-clicks; a quick second press of another
    // button is an ordinary press.
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    // The window's handler comes first: the preview goes back to its list there.
    doubleClicked_ = true;
    if (OnDblClick) OnDblClick(this);
    if (caret_.row >= 0 && caret_.row < lines_.LineCount()) {
        if (selected_) ClearSelection();
        SelectWordAtCaret();
    }
    event->accept();
}
