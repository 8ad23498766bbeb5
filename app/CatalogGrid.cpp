#include "app/CatalogGrid.h"

#include "app/CatalogModel.h"
#include "memtable/loxDisplay.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

namespace {

// Return, or Enter on the keypad, without Ctrl, Shift or Alt.
bool IsEnter(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Cells drawn the way the list has always drawn them: the text 2 pixels from the
// left (or 3 from the right) and 2 from the top, clipped to the cell, and the
// highlight across the whole current row whether or not the list has the focus.
class CellDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected
                                           ? palette.color(QPalette::Active, QPalette::Highlight)
                                           : palette.color(QPalette::Base));
        painter->setPen(selected ? palette.color(QPalette::Active, QPalette::HighlightedText)
                                 : palette.color(QPalette::Text));
        painter->setFont(option.font);
        painter->setClipRect(option.rect);
        const Qt::Alignment alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        const QRect textRect = option.rect.adjusted(memtable::kCellTextLeft, memtable::kCellTextTop,
                                                    -memtable::kCellTextRight, 0);
        // Long text runs on to the cell's edge; only the clip above cuts it.
        painter->drawText(
            textRect, int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextDontClip,
            index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

} // namespace

CatalogGrid::CatalogGrid(CatalogModel* model, QWidget* parent)
    : QTableView(parent), model_(model), recordBar_(new QScrollBar(Qt::Vertical, this)) {
    recordBar_->setObjectName(QStringLiteral("RecordScrollBar"));
    setModel(model);
    setItemDelegate(new CellDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);

    connect(model_, &CatalogModel::TableChanging, this, &CatalogGrid::TableChanging);
    connect(model_, &CatalogModel::TableChanged, this, &CatalogGrid::TableChanged);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(recordBar_, &QScrollBar::actionTriggered, this, &CatalogGrid::ScrollBarAction);
    ApplyMetrics();
    FollowCursor();
}

void CatalogGrid::ApplyMetrics() {
    const QFontMetrics list(font());
    const QFontMetrics title(horizontalHeader()->font());
    QHeaderView* rows = verticalHeader();
    rows->setMinimumSectionSize(0);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(memtable::DataRowHeight(list.height()));
    horizontalHeader()->setFixedHeight(memtable::TitleRowHeight(title.height()));
    const int zeroWidth = list.horizontalAdvance(QLatin1Char('0'));
    const memtable::TloxMemTable& table = model_->Table();
    for (int column = 0; column < table.FieldCount(); ++column) {
        const memtable::TField& field = table.Field(column);
        const int titleWidth =
            title.horizontalAdvance(QString::fromStdString(field.DisplayLabel()));
        // Qt's text rendering has no overhang.
        setColumnWidth(column,
                       memtable::ColumnWidthPixels(field.DisplayWidth(), zeroWidth, 0, titleWidth));
    }
}

int CatalogGrid::VisibleRowCount() const {
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    return std::max(1, viewport()->height() / rowHeight);
}

int CatalogGrid::TopRow() const {
    return verticalScrollBar()->value();
}

int CatalogGrid::CurrentRow() const {
    const memtable::TloxMemTable& table = model_->Table();
    if (!table.Active()) return -1;
    const int position = table.CursorPosition();
    return position > 0 ? position - 1 : -1;
}

void CatalogGrid::TableChanging(bool moveOnly) {
    if (moveOnly) return;
    const int current = CurrentRow();
    const int row = current - TopRow();
    screenRow_ = (current >= 0 && row >= 0 && row < VisibleRowCount()) ? row : -1;
}

void CatalogGrid::TableChanged(bool moveOnly) {
    if (!moveOnly && screenRow_ >= 0 && CurrentRow() >= 0) {
        // After a change of content or order the highlighted record keeps its
        // screen row when enough records come before it; the scroll bar's range
        // makes sure the window is full whenever the table has enough records.
        ScrollToTop(CurrentRow() - screenRow_);
    }
    screenRow_ = -1;
    FollowCursor();
}

void CatalogGrid::ScrollToTop(int row) {
    // The scroll range follows the row count only once the layout is brought up to date.
    executeDelayedItemsLayout();
    updateGeometries();
    verticalScrollBar()->setValue(std::max(0, row));
}

void CatalogGrid::UpdateRecordBar() {
    const memtable::TloxMemTable& table = model_->Table();
    const int total = table.Active() ? table.RecordTotal() : 0;
    recordBar_->setRange(total > 0 ? 1 : 0, total);
    recordBar_->setPageStep(VisibleRowCount());
    recordBar_->setValue(total > 0 ? table.CursorPosition() : 0);
    recordBar_->setEnabled(total > 1);
}

void CatalogGrid::PlaceRecordBar() {
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, recordBar_);
    const QRect rows = viewport()->geometry();
    const int top = horizontalHeader()->isHidden() ? rows.top() : horizontalHeader()->y();
    recordBar_->setGeometry(rows.right() - width + 1, top, width, rows.bottom() - top + 1);
    QScrollBar* across = horizontalScrollBar();
    across->setRange(0, std::max(0, horizontalHeader()->length() - (rows.width() - width)));
}

void CatalogGrid::updateGeometries() {
    QTableView::updateGeometries();
    PlaceRecordBar();
    UpdateRecordBar();
}

void CatalogGrid::FollowCursor() {
    UpdateRecordBar();
    QItemSelectionModel* selection = selectionModel();
    const int row = CurrentRow();
    if (row < 0 || row >= model_->rowCount()) {
        selection->clear();
        return;
    }
    const int column = std::max(0, currentIndex().column());
    const QModelIndex index = model_->index(row, column);
    selection->setCurrentIndex(index,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // Showing or hiding a scroll bar resizes the rows' area and runs this again
    // from resizeEvent; the scroll bars are settled first, so that an outer call
    // does not scroll by a row count that no longer holds.
    executeDelayedItemsLayout();
    updateGeometries();
    // A cursor move scrolls only as far as needed to keep the row visible.
    const int top = TopRow();
    const int visible = VisibleRowCount();
    if (row < top)
        ScrollToTop(row);
    else if (row >= top + visible)
        ScrollToTop(row - visible + 1);
}

void CatalogGrid::ScrollBarAction(int action) {
    // The bar has not taken its new position yet: its arrows and trough step
    // the table's cursor like the keys, and its thumb picks a record by position.
    memtable::TloxMemTable& table = model_->Table();
    const int total = table.Active() ? table.RecordTotal() : 0;
    if (total == 0) return;
    const int visible = VisibleRowCount();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        table.Step(1);
        break;
    case QAbstractSlider::SliderSingleStepSub:
        table.Step(-1);
        break;
    case QAbstractSlider::SliderPageStepAdd:
        table.Step(visible);
        break;
    case QAbstractSlider::SliderPageStepSub:
        table.Step(-visible);
        break;
    case QAbstractSlider::SliderToMinimum:
        MoveToRow(0);
        break;
    case QAbstractSlider::SliderToMaximum:
        MoveToRow(total - 1);
        break;
    case QAbstractSlider::SliderMove:
        MoveToRow(std::clamp(recordBar_->sliderPosition(), 1, total) - 1);
        break;
    default:
        return;
    }
    FollowCursor();
    // The bar ends where the cursor went, not where its own step would take it.
    recordBar_->setSliderPosition(table.CursorPosition());
}

void CatalogGrid::MoveToRow(int row) {
    memtable::TloxMemTable& table = model_->Table();
    if (!table.Active() || row < 0 || row >= table.RecordTotal()) return;
    table.MoveToPosition(row + 1);
    FollowCursor();
}

bool CatalogGrid::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Every key press is announced first to the control that has the focus
        // when it begins; the press itself may arrive after the focus moved.
        enterPressedHere_ = IsEnter(*static_cast<QKeyEvent*>(event));
        if (enterPressedHere_) {
            event->accept();
            return true;
        }
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        enterPressedHere_ = false;
        break;
    default:
        break;
    }
    return QTableView::event(event);
}

void CatalogGrid::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(*event)) {
        if (std::exchange(enterPressedHere_, false)) emit EnterPressed();
        event->accept();
        return;
    }
    memtable::TloxMemTable& table = model_->Table();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int total = table.Active() ? table.RecordTotal() : 0;
    const int top = TopRow();
    const int bottom = std::min(total, top + VisibleRowCount()) - 1;
    switch (event->key()) {
    case Qt::Key_Up:
        if (ctrl)
            MoveToRow(top);
        else if (total > 0)
            table.Step(-1);
        break;
    case Qt::Key_Down:
        if (ctrl)
            MoveToRow(bottom);
        else if (total > 0)
            table.Step(1);
        break;
    case Qt::Key_PageUp:
        if (ctrl)
            MoveToRow(top);
        else if (total > 0)
            table.Step(-VisibleRowCount());
        break;
    case Qt::Key_PageDown:
        if (ctrl)
            MoveToRow(bottom);
        else if (total > 0)
            table.Step(VisibleRowCount());
        break;
    case Qt::Key_Home:
        MoveToRow(0);
        break;
    case Qt::Key_End:
        MoveToRow(total - 1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        // The whole row is the selection; sideways keys only scroll the columns.
        horizontalScrollBar()->triggerAction(event->key() == Qt::Key_Left
                                                 ? QAbstractSlider::SliderSingleStepSub
                                                 : QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        QTableView::keyPressEvent(event);
        return;
    default:
        // Nothing else does anything here: the list is read-only (Insert, Ctrl+Delete, typing).
        event->ignore();
        return;
    }
    FollowCursor();
    event->accept();
}

void CatalogGrid::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    MoveToRow(rowAt(event->position().toPoint().y()));
}

void CatalogGrid::mouseMoveEvent(QMouseEvent* event) {
    // No drag selection: only a click chooses a row.
    event->accept();
}

void CatalogGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

void CatalogGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    // A double click below the rows previews the current entry, as anywhere in the list.
    MoveToRow(rowAt(event->position().toPoint().y()));
    emit RowDoubleClicked();
}

void CatalogGrid::wheelEvent(QWheelEvent* event) {
    // The wheel moves the current record, like the arrow keys, so the highlighted
    // row never scrolls out of sight.
    // Touchpads send fractions of a notch; they add up to whole steps.
    memtable::TloxMemTable& table = model_->Table();
    wheelAngle_ += event->angleDelta().y();
    const int notches = wheelAngle_ / 120;
    wheelAngle_ %= 120;
    if (notches != 0 && table.Active() && table.RecordTotal() > 0) {
        table.Step(-notches);
        FollowCursor();
    }
    event->accept();
}

void CatalogGrid::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    FollowCursor();
}
