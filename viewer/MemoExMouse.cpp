#include "viewer/MemoEx.h"

#include <QHideEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

CellPos TCustomMemoEx::CellAt(QPoint pixel) const {
    return model_.CellAt(pixel.x(), pixel.y(), TextLeft(), cellWidth_, cellHeight_);
}

void TCustomMemoEx::mousePressEvent(QMouseEvent* event) {
    if (doubleClicked_) return;
    mousePressed_ = true;
    dragged_ = false;
    const CellPos cell = CellAt(event->position().toPoint());
    lastPointer_ = event->position().toPoint();
    dragTarget_ = cell;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (event->button() == Qt::LeftButton && !shift && model_.Selected()) ClearSelection();
    setFocus(Qt::MouseFocusReason);
    if (cell.row < lines_.LineCount()) {
        if (shift && !model_.Selected()) StartSelection(model_.Caret());
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
        if (!model_.Selected()) StartSelection(model_.Caret());
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
    dragTarget_ = model_.DragStep(dragTarget_, pos.x(), pos.y(), width, height);
    if (!model_.Selected()) StartSelection(model_.Caret());
    SetCaret(dragTarget_.col, dragTarget_.row);
    // The target stays on the caret's cell, so it never runs off past the text
    // while the pointer waits outside, and the selection never ends beyond it.
    dragTarget_ = model_.Caret();
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
    if (model_.Caret().row >= 0 && model_.Caret().row < lines_.LineCount()) {
        if (model_.Selected()) ClearSelection();
        SelectWordAtCaret();
    }
    event->accept();
}
