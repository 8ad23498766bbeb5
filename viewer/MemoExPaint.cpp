#include "viewer/MemoEx.h"

#include "viewer/OemGlyphs.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

// Rows whose attributes are kept; more than any window shows, few enough that
// scrolling through a huge file does not pile them up.
constexpr std::size_t kAttrCacheRows = 4096;

std::uint8_t StyleOf(const QFont& font) {
    std::uint8_t style = 0;
    if (font.bold()) style |= fsBold;
    if (font.italic()) style |= fsItalic;
    if (font.underline()) style |= fsUnderline;
    if (font.strikeOut()) style |= fsStrikeOut;
    return style;
}

} // namespace

const std::vector<AttrRun>& TCustomMemoEx::RowAttrs(int row) {
    auto found = attrCache_.find(row);
    if (found != attrCache_.end()) return found->second;
    if (attrCache_.size() >= kAttrCacheRows) attrCache_.clear();

    const TLineAttr plain{fontColor_.rgb(), color_.rgb(), StyleOf(font()), 0};
    std::vector<AttrRun> runs{AttrRun{0, plain}};
    if (OnGetLineAttr) {
        // A hook sees one attribute per character and may change any of them.
        const std::string_view text = lines_.LineAt(row);
        TLineAttrs attrs(text.size() + 1, plain);
        TSelAttrs sel(text.size() + 1, false);
        for (std::size_t i = 0; i < sel.size(); ++i)
            sel[i] = IsSelected(row, static_cast<int>(i));
        OnGetLineAttr(this, text, row, sel, attrs);
        runs.clear();
        for (std::size_t i = 0; i < attrs.size(); ++i)
            if (runs.empty() || !(runs.back().attr == attrs[i]))
                runs.push_back(AttrRun{static_cast<int>(i), attrs[i]});
        // A hook that emptied the array leaves the line plain, not unpainted.
        if (runs.empty()) runs.push_back(AttrRun{0, plain});
    }
    return attrCache_.emplace(row, std::move(runs)).first->second;
}

void TCustomMemoEx::paintEvent(QPaintEvent* event) {
    if (Locked()) return;
    QPainter window(viewport());
    QRect clip = event->rect().translated(-gutterWidth_, 0);
    if (paintAll_) {
        clip = QRect(0, 0, viewport()->width(), viewport()->height());
        paintAll_ = false;
    }
    const int firstRow = clip.top() / cellHeight_;
    const int lastRow = clip.bottom() / cellHeight_ + 1;
    const int firstCol = clip.left() / cellWidth_ - 1;
    const int lastCol = clip.right() / cellWidth_ + 1;
    for (int r = firstRow; r <= lastRow; ++r)
        PaintRow(window, model_.TopRow() + r, model_.LeftCol() + firstCol,
                 model_.LeftCol() + lastCol);

    if (caretShown_ && caretBlinkOn_) window.fillRect(CaretRect(), fontColor_);
    window.fillRect(QRect(0, 0, TextLeft(), viewport()->height()), color_);
}

void TCustomMemoEx::PaintRow(QPainter& window, int row, int c0, int c1) {
    if (row < model_.TopRow() || row > model_.TopRow() + model_.VisibleRows()) return;
    c0 = std::max(c0, model_.LeftCol());
    c1 = std::min({c1, model_.LeftCol() + model_.VisibleCols() + 1, lines_.MaxLineLength() - 1});

    const int left = TextLeft();
    QPainter bitmap(&rowBitmap_);
    bitmap.fillRect(QRect(left, 0, rowBitmap_.width() - left, cellHeight_), color_);

    if (row < lines_.LineCount()) {
        const std::string_view text = lines_.LineAt(row);
        const std::vector<AttrRun>& runs = RowAttrs(row);
        const int end = std::min(c1, static_cast<int>(text.size()));
        const QRgb background = color_.rgb();
        const auto attrAt = [&](int col) {
            if (IsSelected(row, col))
                return TLineAttr{selForeColor_.rgb(), selBackColor_.rgb(), runs.front().attr.style,
                                 0};
            auto it = std::upper_bound(runs.begin(), runs.end(), col,
                                       [](int c, const AttrRun& run) { return c < run.start; });
            return std::prev(it)->attr;
        };
        int col = c0;
        while (col < end) {
            const TLineAttr attr = attrAt(col);
            int stop = col + 1;
            while (stop < end && attrAt(stop) == attr)
                ++stop;
            const int x = left + (col - model_.LeftCol()) * cellWidth_ + 1;
            if (attr.bc != background)
                bitmap.fillRect(QRect(x, 0, (stop - col) * cellWidth_, cellHeight_),
                                QColor::fromRgb(attr.bc));
            bitmap.setPen(QColor::fromRgb(attr.fc));
            Glyphs(attr.style)
                .Draw(bitmap, QPointF(x, ascent_),
                      text.substr(static_cast<std::size_t>(col),
                                  static_cast<std::size_t>(stop - col)));
            col = stop;
        }
    }

    // The margin line runs down the whole window, past the end of the text too.
    if (rightMarginVisible_ && model_.LeftCol() < kMarginColumn &&
        kMarginColumn < LastVisibleCol() + 3) {
        const int x = left + (kMarginColumn - model_.LeftCol()) * cellWidth_ + 1;
        bitmap.fillRect(QRect(x, 0, 1, cellHeight_), rightMarginColor_);
    }
    bitmap.end();

    const int width = (model_.VisibleCols() + 2) * cellWidth_;
    window.drawPixmap(QPoint(left, (row - model_.TopRow()) * cellHeight_), rowBitmap_,
                      QRect(left, 0, width, cellHeight_));
}

void TCustomMemoEx::UpdateRows(int firstRow, int lastRow) {
    if (Locked()) return;
    const int from = std::max(firstRow, model_.TopRow());
    const int to = std::min(lastRow, model_.TopRow() + model_.VisibleRows());
    if (from > to) return;
    viewport()->update(QRect(0, (from - model_.TopRow()) * cellHeight_, viewport()->width(),
                             (to - from + 1) * cellHeight_));
}
