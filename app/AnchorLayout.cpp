#include "app/AnchorLayout.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace {

// One axis: an edge anchored at both ends stretches, one anchored only at the
// far end moves with it, and one anchored at neither keeps its relative centre.
void ArrangeAxis(int designPos, int designLength, bool nearAnchor, bool farAnchor, int designExtent,
                 int extent, int& pos, int& length) {
    pos = designPos;
    length = designLength;
    const int growth = extent - designExtent;
    if (nearAnchor && farAnchor) {
        length = std::max(0, designLength + growth);
    } else if (farAnchor) {
        pos = designPos + growth;
    } else if (!nearAnchor && designExtent > 0) {
        const int centre = designPos + designLength / 2;
        pos = centre * extent / designExtent - designLength / 2;
    }
}

} // namespace

AnchorLayout::AnchorLayout(QWidget* parent, QSize designSize)
    : QObject(parent), parent_(parent), designSize_(designSize) {
    parent->installEventFilter(this);
}

void AnchorLayout::Place(QWidget* child, QRect designRect, int anchors) {
    items_.push_back({child, designRect, anchors});
    child->setGeometry(Arrange(designRect, anchors, designSize_, parent_->size()));
}

QRect AnchorLayout::DesignRect(const QWidget* child) const {
    for (const Item& item : items_)
        if (item.child == child) return item.designRect;
    return {};
}

void AnchorLayout::Reshape(const QWidget* child, QRect designRect) {
    for (Item& item : items_) {
        if (item.child != child) continue;
        item.designRect = designRect;
        item.child->setGeometry(Arrange(designRect, item.anchors, designSize_, parent_->size()));
    }
}

QRect AnchorLayout::Arrange(QRect designRect, int anchors, QSize designSize, QSize parentSize) {
    int x = 0, width = 0, y = 0, height = 0;
    ArrangeAxis(designRect.x(), designRect.width(), anchors & anchors::kLeft,
                anchors & anchors::kRight, designSize.width(), parentSize.width(), x, width);
    ArrangeAxis(designRect.y(), designRect.height(), anchors & anchors::kTop,
                anchors & anchors::kBottom, designSize.height(), parentSize.height(), y, height);
    return QRect(x, y, width, height);
}

bool AnchorLayout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent_ && event->type() == QEvent::Resize) ArrangeAll();
    return QObject::eventFilter(watched, event);
}

void AnchorLayout::ArrangeAll() {
    for (const Item& item : items_)
        item.child->setGeometry(
            Arrange(item.designRect, item.anchors, designSize_, parent_->size()));
}
