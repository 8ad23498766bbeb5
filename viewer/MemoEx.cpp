#include "viewer/MemoEx.h"

#include "viewer/OemGlyphs.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QPalette>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

#include "platform/CodePages.h"

#include <algorithm>
#include <climits>
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
            const int page =
                std::max(1, (bar == verticalScrollBar() ? visibleRows_ : visibleCols_) - 1);
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
    visibleCols_ = std::max(0, viewport()->width() - TextLeft()) / cellWidth_;
    visibleRows_ = viewport()->height() / cellHeight_;
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
    configure(verticalScrollBar(), lines_.DisplayRowCount(), visibleRows_, topRow_);
    configure(horizontalScrollBar(), lines_.MaxLineLength(), visibleCols_, leftCol_);
}

void TCustomMemoEx::TextChanged(TMemoExStrings::ChangeKind kind) {
    attrCache_.clear();
    if (selected_) ClearSelection();
    UpdateMetrics(false);
    paintAll_ = true;
    viewport()->update();
    if (kind == TMemoExStrings::ChangeKind::FullText) {
        // The caret may already stand at the start while the view is elsewhere.
        SetCaret(0, 0);
        ScrollIntoView(caret_.col, caret_.row);
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

std::optional<TCellPos> TCustomMemoEx::Bookmark(int number) const {
    if (number < 0 || number > 9) return std::nullopt;
    return bookmarks_[static_cast<std::size_t>(number)];
}

// Caret and scrolling -------------------------------------------------------

QRect TCustomMemoEx::CaretRect() const {
    // A caret millions of rows or columns out of sight would overflow a pixel
    // coordinate; anywhere that far off it is simply not in the window.
    const auto pixel = [](std::int64_t cells, int size, int offset) {
        return static_cast<int>(
            std::clamp<std::int64_t>(cells * size + offset, -(1 << 24), 1 << 24));
    };
    return QRect(pixel(caret_.col - leftCol_, cellWidth_, TextLeft()),
                 pixel(caret_.row - topRow_, cellHeight_, 1), 2, std::max(1, cellHeight_ - 2));
}

void TCustomMemoEx::UpdateCaret() {
    if (caretShown_) viewport()->update(CaretRect());
}

void TCustomMemoEx::ScrollIntoView(int col, int row) {
    // A window too small for one whole row or column still scrolls by one.
    const int rows = std::max(1, visibleRows_);
    const int cols = std::max(1, visibleCols_);
    if (row < topRow_)
        ScrollToRow(row);
    else if (row > topRow_ + rows - 1)
        ScrollToRow(row - rows + 1);
    if (col < leftCol_)
        ScrollToCol(col);
    else if (col > leftCol_ + cols - 1)
        ScrollToCol(col - cols);
}

void TCustomMemoEx::SetCaret(int col, int row) {
    if (col == caret_.col && row == caret_.row) return;
    row = std::max(0, std::min(row, lines_.DisplayRowCount() - 1));
    col = std::max(0, std::min(col, lines_.MaxLineLength()));
    if (!cursorBeyondEOL_) col = std::min(col, lines_.LineLength(row));
    ScrollIntoView(col, row);

    if (col == caret_.col && row == caret_.row) return;
    UpdateCaret();
    caret_ = TCellPos{col, row};
    caretBlinkOn_ = true;
    UpdateCaret();
    if (OnStatusChange) OnStatusChange(this);
}

void TCustomMemoEx::ScrollToRow(int top) {
    top = std::max(0, top);
    SetBar(verticalScrollBar(), top);
    const int distance = topRow_ - top;
    if (distance == 0) return;
    if (Locked()) {
        topRow_ = top;
        return;
    }
    const QRect oldCaret = CaretRect();
    topRow_ = top;
    if (std::abs(static_cast<std::int64_t>(distance)) * cellHeight_ < viewport()->height()) {
        // Move what is already painted and paint only the rows that came in.
        const QRect textArea(TextLeft(), 0, viewport()->width() - TextLeft(),
                             (visibleRows_ + 1) * cellHeight_);
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
    if (left == leftCol_) return;
    leftCol_ = left;
    if (Locked()) return;
    viewport()->update();
    if (OnScroll) OnScroll(this);
}

void TCustomMemoEx::scrollContentsBy(int, int) {
    // The bars report moves here; the view follows line, page and thumb moves.
    if (settingBar_) return;
    const int top = verticalScrollBar()->value();
    const int left = horizontalScrollBar()->value();
    if (top != topRow_) ScrollToRow(top);
    if (left != leftCol_) ScrollToCol(left);
}

void TCustomMemoEx::ReleaseViewLock() {
    if (viewLock_ > 0 && --viewLock_ == 0) {
        paintAll_ = true;
        viewport()->update();
    }
}

void TCustomMemoEx::WheelRows(int delta) {
    const int rows = QApplication::wheelScrollLines();
    QScrollBar* bar = verticalScrollBar();
    int top = delta > 0 ? topRow_ - rows : topRow_ + rows;
    top = std::clamp(top, bar->minimum(), std::max(bar->minimum(), bar->maximum()));
    ScrollToRow(top);
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

TCellPos TCustomMemoEx::PosToCell(std::int64_t position) const {
    const std::int64_t v = position - 1;
    const int count = lines_.LineCount();
    std::int64_t start = 0;
    for (int row = 0; row < count; ++row) {
        const int length = lines_.LineLength(row);
        if (start + length >= v)
            return TCellPos{static_cast<int>(std::max<std::int64_t>(0, v - start)), row};
        start += length + 2;
    }
    if (count == 0) return TCellPos{0, 0};
    return TCellPos{lines_.LineLength(count - 1), count - 1};
}

std::int64_t TCustomMemoEx::CellToPos(TCellPos cell) const {
    const int row = std::clamp(cell.row, 0, std::max(0, lines_.LineCount() - 1));
    std::int64_t position = 0;
    for (int i = 0; i < row; ++i)
        position += lines_.LineLength(i) + 2;
    return position + std::clamp(cell.col, 0, lines_.LineLength(row)) + 1;
}

int TCustomMemoEx::SelectionStart() const {
    const std::int64_t pos = CellToPos(selected_ ? selBegin_ : caret_);
    return static_cast<int>(std::min<std::int64_t>(pos, INT_MAX));
}

void TCustomMemoEx::SetSelectionStart(int position) {
    if (selected_) ClearSelection();
    selected_ = true;
    selBegin_ = selEnd_ = anchor_ = PosToCell(position);
    SetCaret(selBegin_.col, selBegin_.row);
    SetSelectionLength(0);
    if (caret_.row < topRow_ || caret_.row > LastVisibleRow())
        ScrollToRow(std::max(0, caret_.row - visibleRows_ / 2));
    // The same for the column: with the caret already in place and only the bars
    // moved, a new file would otherwise open scrolled sideways.
    if (caret_.col < leftCol_ || caret_.col > LastVisibleCol())
        ScrollToCol(std::max(0, caret_.col - visibleCols_ / 2));
}

void TCustomMemoEx::SetSelectionLength(int length) {
    const std::int64_t start = CellToPos(selected_ ? selBegin_ : caret_);
    if (!selected_) selBegin_ = PosToCell(start);
    selected_ = length > 0;
    selEnd_ = PosToCell(start + std::max(0, length));
    anchor_ = selBegin_;
    SetCaret(selEnd_.col, selEnd_.row);
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
