#include "viewer/MemoEx.h"

#include "platform/CodePages.h"
#include "viewer/OemGlyphs.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QPalette>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

TCustomMemoEx::TCustomMemoEx(QWidget* parent) : QAbstractScrollArea(parent) {
    const QPalette pal = palette();
    color_ = pal.color(QPalette::Base);
    fontColor_ = pal.color(QPalette::Text);
    selForeColor_ = pal.color(QPalette::HighlightedText);
    selBackColor_ = pal.color(QPalette::Highlight);

    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(10);
    setFont(font);

    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setCursor(Qt::IBeamCursor);
    // Every pixel of a row is painted, so nothing needs erasing first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_InputMethodEnabled, false);
    resize(250, 150);

    autoScroll_ = new QTimer(this);
    autoScroll_->setObjectName("autoScrollTimer");
    autoScroll_->setInterval(100);
    connect(autoScroll_, &QTimer::timeout, this, [this] { AutoScrollTick(); });

    // A page request from a bar moves by one row less than the page, so the row
    // at the edge stays in sight; the bar's own page step sizes the thumb.
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        bar->setSingleStep(1);
        connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar](int action) {
            const int page = std::max(
                1, (bar == verticalScrollBar() ? model_.VisibleRows() : model_.VisibleCols()) - 1);
            if (action == QAbstractSlider::SliderPageStepAdd)
                bar->setSliderPosition(bar->value() + page);
            else if (action == QAbstractSlider::SliderPageStepSub)
                bar->setSliderPosition(bar->value() - page);
        });
    }

    lines_.OnTextChanged = [this](TMemoExStrings::ChangeKind kind) { TextChanged(kind); };
    UpdateMetrics(true);
}

TCustomMemoEx::~TCustomMemoEx() = default;

const OemGlyphTable& TCustomMemoEx::Glyphs(std::uint8_t style) {
    std::unique_ptr<OemGlyphTable>& table = glyphs_[style];
    if (!table || !table->IsFor(platform::OemCodePage())) {
        QFont styled = font();
        styled.setBold(style & fsBold);
        styled.setItalic(style & fsItalic);
        styled.setUnderline(style & fsUnderline);
        styled.setStrikeOut(style & fsStrikeOut);
        table = std::make_unique<OemGlyphTable>(styled, cellWidth_);
    }
    return *table;
}

void TCustomMemoEx::UpdateMetrics(bool full) {
    if (full) {
        QFont measured = font();
        measured.setBold(useMaxCharWidth_);
        measured.setItalic(useMaxCharWidth_);
        const QFontMetrics metrics(measured);
        cellWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('W')));
        cellHeight_ = std::max(1, metrics.height());
        ascent_ = QFontMetrics(font()).ascent();
        glyphs_.clear();
        rowBitmap_ = QPixmap(std::max(1, viewport()->width()), cellHeight_);
    }
    model_.SetVisible(viewport()->height() / cellHeight_,
                      std::max(0, viewport()->width() - TextLeft()) / cellWidth_);
    UpdateScrollRanges();
}

void TCustomMemoEx::SetBar(QScrollBar* bar, int value) {
    settingBar_ = true;
    bar->setValue(value);
    settingBar_ = false;
}

void TCustomMemoEx::UpdateScrollRanges() {
    const auto configure = [this](QScrollBar* bar, int total, int visible, int position) {
        settingBar_ = true;
        if (total > visible) {
            // Positions end where the last row or column reaches the far edge.
            const int pageStep = std::max(0, visible - 1);
            bar->setRange(0, std::max(0, total - 1 - pageStep));
            bar->setEnabled(true);
        } else {
            bar->setRange(0, 0);
            bar->setEnabled(false);
        }
        bar->setPageStep(std::max(1, visible));
        bar->setValue(position);
        settingBar_ = false;
    };
    configure(verticalScrollBar(), lines_.DisplayRowCount(), model_.VisibleRows(), model_.TopRow());
    configure(horizontalScrollBar(), lines_.MaxLineLength(), model_.VisibleCols(),
              model_.LeftCol());
}

void TCustomMemoEx::TextChanged(TMemoExStrings::ChangeKind kind) {
    attrCache_.clear();
    if (model_.Selected()) ClearSelection();
    UpdateMetrics(false);
    paintAll_ = true;
    viewport()->update();
    if (kind == TMemoExStrings::ChangeKind::FullText) {
        // The caret may already stand at the start while the view is elsewhere.
        SetCaret(0, 0);
        ScrollIntoView(model_.Caret().col, model_.Caret().row);
    }
}

void TCustomMemoEx::InvalidateAttrs() {
    attrCache_.clear();
    paintAll_ = true;
    viewport()->update();
}

void TCustomMemoEx::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateMetrics(true);
    paintAll_ = true;
    viewport()->update();
}

void TCustomMemoEx::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // Zooming keeps the caret cell, the top row and the left column.
        UpdateMetrics(true);
        InvalidateAttrs();
        UpdateCaret();
    }
}

void TCustomMemoEx::SetFontSize(int points) {
    QFont sized = font();
    sized.setPointSize(std::max(1, points));
    setFont(sized);
}

void TCustomMemoEx::SetColor(const QColor& color) {
    color_ = color;
    InvalidateAttrs();
}

void TCustomMemoEx::SetFontColor(const QColor& color) {
    fontColor_ = color;
    InvalidateAttrs();
}

void TCustomMemoEx::SetSelColors(const QColor& fore, const QColor& back) {
    selForeColor_ = fore;
    selBackColor_ = back;
    InvalidateAttrs();
}

void TCustomMemoEx::SetGutterWidth(int width) {
    gutterWidth_ = std::max(0, width);
    UpdateMetrics(true);
    InvalidateAttrs();
}

void TCustomMemoEx::SetRightMarginVisible(bool visible) {
    rightMarginVisible_ = visible;
    InvalidateAttrs();
}

void TCustomMemoEx::SetRightMargin(int margin) {
    if (margin < 8) throw EInvalidRightMarginValue();
    // The margin line stays at column 80 whatever the setting says.
    rightMargin_ = margin;
}

void TCustomMemoEx::SetRightMarginColor(const QColor& color) {
    rightMarginColor_ = color;
    InvalidateAttrs();
}

void TCustomMemoEx::SetUseMaxCharWidth(bool use) {
    useMaxCharWidth_ = use;
    UpdateMetrics(true);
    InvalidateAttrs();
}

// Caret and scrolling -------------------------------------------------------

QRect TCustomMemoEx::CaretRect() const {
    const CellPos caret = model_.Caret();
    return QRect(CaretModel::CellToPixel(caret.col - model_.LeftCol(), cellWidth_, TextLeft()),
                 CaretModel::CellToPixel(caret.row - model_.TopRow(), cellHeight_, 1), 2,
                 std::max(1, cellHeight_ - 2));
}

void TCustomMemoEx::UpdateCaret() {
    if (caretShown_) viewport()->update(CaretRect());
}

void TCustomMemoEx::ScrollIntoView(int col, int row) {
    ScrollTo(model_.IntoView(CellPos{col, row}));
}

void TCustomMemoEx::ScrollTo(const ScrollTarget& target) {
    if (target.topRow) ScrollToRow(*target.topRow);
    if (target.leftCol) ScrollToCol(*target.leftCol);
}

void TCustomMemoEx::SetCaret(int col, int row) {
    if (CellPos{col, row} == model_.Caret()) return;
    const CellPos cell = model_.ClampCaret(CellPos{col, row});
    ScrollIntoView(cell.col, cell.row);

    if (cell == model_.Caret()) return;
    UpdateCaret();
    model_.PlaceCaret(cell);
    caretBlinkOn_ = true;
    UpdateCaret();
    if (OnStatusChange) OnStatusChange(this);
}

void TCustomMemoEx::ScrollToRow(int top) {
    top = std::max(0, top);
    SetBar(verticalScrollBar(), top);
    const int distance = model_.TopRow() - top;
    if (distance == 0) return;
    if (Locked()) {
        model_.SetTopRow(top);
        return;
    }
    const QRect oldCaret = CaretRect();
    model_.SetTopRow(top);
    if (std::abs(static_cast<std::int64_t>(distance)) * cellHeight_ < viewport()->height()) {
        // Move what is already painted and paint only the rows that came in.
        const QRect textArea(TextLeft(), 0, viewport()->width() - TextLeft(),
                             (model_.VisibleRows() + 1) * cellHeight_);
        viewport()->scroll(0, distance * cellHeight_, textArea);
        if (caretShown_) {
            viewport()->update(oldCaret.translated(0, distance * cellHeight_));
            viewport()->update(CaretRect());
        }
    } else {
        viewport()->update();
    }
    if (OnScroll) OnScroll(this);
}

void TCustomMemoEx::ScrollToCol(int left) {
    left = std::max(0, left);
    SetBar(horizontalScrollBar(), left);
    if (left == model_.LeftCol()) return;
    model_.SetLeftCol(left);
    if (Locked()) return;
    viewport()->update();
    if (OnScroll) OnScroll(this);
}

void TCustomMemoEx::scrollContentsBy(int, int) {
    // The bars report moves here; the view follows line, page and thumb moves.
    if (settingBar_) return;
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    if (top != model_.TopRow()) ScrollToRow(top);
    if (left != model_.LeftCol()) ScrollToCol(left);
}

void TCustomMemoEx::ReleaseViewLock() {
    if (viewLock_ > 0 && --viewLock_ == 0) {
        paintAll_ = true;
        viewport()->update();
    }
}

void TCustomMemoEx::WheelRows(int delta) {
    const QScrollBar* bar = verticalScrollBar();
    ScrollToRow(
        model_.WheelTop(delta, QApplication::wheelScrollLines(), bar->minimum(), bar->maximum()));
}

void TCustomMemoEx::wheelEvent(QWheelEvent* event) {
    // Sideways wheels have no vertical meaning.
    const int delta = event->angleDelta().y();
    if (!hasFocus() || delta == 0) {
        event->ignore();
        return;
    }
    WheelRows(delta);
    event->accept();
}

// Focus and caret ------------------------------------------------------------

void TCustomMemoEx::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    caretShown_ = true;
    caretBlinkOn_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (flash > 0 && caretTimer_ == 0) caretTimer_ = startTimer(flash / 2);
    UpdateCaret();
}

void TCustomMemoEx::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    UpdateCaret();
    caretShown_ = false;
    if (caretTimer_ != 0) killTimer(caretTimer_);
    caretTimer_ = 0;
}

void TCustomMemoEx::timerEvent(QTimerEvent* event) {
    if (event->timerId() != caretTimer_) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    caretBlinkOn_ = !caretBlinkOn_;
    UpdateCaret();
}

// Positions ------------------------------------------------------------------

int TCustomMemoEx::SelectionStart() const {
    return model_.SelectionStart();
}

void TCustomMemoEx::SetSelectionStart(int position) {
    if (model_.Selected()) ClearSelection();
    const CellPos cell = model_.PosToCell(position);
    model_.SetSelection(cell, cell);
    SetCaret(cell.col, cell.row);
    SetSelectionLength(0);
    // The column too: with the caret already in place and only the bars moved,
    // a new file would otherwise open scrolled sideways.
    ScrollTo(model_.Centered(model_.Caret()));
}

void TCustomMemoEx::SetSelectionLength(int length) {
    model_.SetSelectionLength(length);
    SetCaret(model_.SelEnd().col, model_.SelEnd().row);
    paintAll_ = true;
    viewport()->update();
    if (OnSelectionChange) OnSelectionChange(this);
}

// The preview page's viewer ---------------------------------------------------

TMemoEx::TMemoEx(QWidget* parent) : TCustomMemoEx(parent) {}

void TMemoEx::UsePreviewSettings() {
    QFont preview("Courier New");
    preview.setStyleHint(QFont::TypeWriter);
    preview.setFixedPitch(true);
    preview.setBold(true);
    preview.setPixelSize(13);
    setFont(preview);
    SetColor(QColor(225, 225, 255));
    const QPalette pal = QApplication::palette();
    SetFontColor(pal.color(QPalette::WindowText));
    SetSelColors(pal.color(QPalette::HighlightedText), pal.color(QPalette::Highlight));
    SetGutterWidth(0);
    SetRightMarginVisible(true);
    SetRightMargin(8);
    SetRightMarginColor(QColor(192, 192, 192));
    SetTabSize(4);
    SetCursorBeyondEOL(true);
}
