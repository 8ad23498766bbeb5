#include "viewer/CaretModel.h"

#include "platform/Assert.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string_view>

namespace {

// Word separators; every other byte belongs to a word.
bool IsSeparator(char c) {
    switch (c) {
    case '\0':
    case '\n':
    case '\r':
    case ' ':
    case '%':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case '-':
    case '.':
    case '/':
    case ':':
    case ';':
    case '=':
    case '[':
    case '\\':
    case ']':
    case '{':
    case '}':
        return true;
    default:
        return false;
    }
}

} // namespace

void CaretModel::SetVisible(int rows, int cols) {
    TLACSUB_ASSERT(rows >= 0 && cols >= 0);
    visibleRows_ = rows;
    visibleCols_ = cols;
}

void CaretModel::SetTopRow(int row) {
    TLACSUB_ASSERT(row >= 0);
    topRow_ = row;
}

void CaretModel::SetLeftCol(int col) {
    TLACSUB_ASSERT(col >= 0);
    leftCol_ = col;
}

void CaretModel::PlaceCaret(CellPos cell) {
    TLACSUB_ASSERT(cell == ClampCaret(cell));
    caret_ = cell;
}

CellPos CaretModel::ClampCaret(CellPos cell) const {
    cell.row = std::max(0, std::min(cell.row, lines_.DisplayRowCount() - 1));
    cell.col = std::max(0, std::min(cell.col, lines_.MaxLineLength()));
    if (!cursorBeyondEOL_) cell.col = std::min(cell.col, lines_.LineLength(cell.row));
    return cell;
}

std::optional<CellPos> CaretModel::MoveTarget(CaretMove move) const {
    const int lastLine = lines_.LineCount() - 1;
    const int col = caret_.col;
    const int row = caret_.row;
    switch (move) {
    case CaretMove::Left:
        return CellPos{col - 1, row};
    case CaretMove::Right:
        return CellPos{col + 1, row};
    case CaretMove::Up:
        if (row > 0) return CellPos{col, row - 1};
        return std::nullopt;
    case CaretMove::Down:
        if (row < lastLine) return CellPos{col, row + 1};
        return std::nullopt;
    case CaretMove::Home:
        return CellPos{0, row};
    case CaretMove::End:
        return CellPos{lines_.LineLength(row), row};
    case CaretMove::PageUp:
        return CellPos{col, std::max(0, row - visibleRows_)};
    case CaretMove::PageDown:
        return CellPos{col, std::max(0, std::min(lastLine, row + visibleRows_))};
    case CaretMove::WordLeft:
        return WordLeft();
    case CaretMove::WordRight:
        return WordRight();
    case CaretMove::WindowTop:
        return CellPos{col, topRow_};
    case CaretMove::WindowBottom:
        return CellPos{col, std::max(0, std::min(LastVisibleRow(), lastLine))};
    }
    return std::nullopt;
}

CellPos CaretModel::WordLeft() const {
    const std::string_view line = lines_.LineAt(caret_.row);
    int i = std::min(caret_.col, static_cast<int>(line.size()));
    while (i > 0 && IsSeparator(line[static_cast<std::size_t>(i - 1)]))
        --i;
    if (i == 0) {
        // Nothing but separators before the caret: the end of the line above.
        if (caret_.row == 0) return CellPos{0, 0};
        return CellPos{lines_.LineLength(caret_.row - 1), caret_.row - 1};
    }
    while (i > 0 && !IsSeparator(line[static_cast<std::size_t>(i - 1)]))
        --i;
    return CellPos{i, caret_.row};
}

CellPos CaretModel::WordRight() const {
    const std::string_view line = lines_.LineAt(caret_.row);
    const int length = static_cast<int>(line.size());
    if (caret_.col >= length) {
        if (caret_.row + 1 >= lines_.LineCount()) return caret_;
        const std::string_view next = lines_.LineAt(caret_.row + 1);
        int i = 0;
        if (!next.empty() && next[0] == ' ')
            while (i < static_cast<int>(next.size()) &&
                   IsSeparator(next[static_cast<std::size_t>(i)]))
                ++i;
        return CellPos{i, caret_.row + 1};
    }
    int i = caret_.col;
    while (i < length && !IsSeparator(line[static_cast<std::size_t>(i)]))
        ++i;
    while (i < length && IsSeparator(line[static_cast<std::size_t>(i)]))
        ++i;
    return CellPos{i, caret_.row};
}

ScrollTarget CaretModel::IntoView(CellPos cell) const {
    const int rows = std::max(1, visibleRows_);
    const int cols = std::max(1, visibleCols_);
    ScrollTarget target;
    if (cell.row < topRow_)
        target.topRow = cell.row;
    else if (cell.row > topRow_ + rows - 1)
        target.topRow = cell.row - rows + 1;
    if (cell.col < leftCol_)
        target.leftCol = cell.col;
    else if (cell.col > leftCol_ + cols - 1)
        target.leftCol = cell.col - cols;
    return target;
}

ScrollTarget CaretModel::Centered(CellPos cell) const {
    ScrollTarget target;
    if (cell.row < topRow_ || cell.row > LastVisibleRow())
        target.topRow = std::max(0, cell.row - visibleRows_ / 2);
    if (cell.col < leftCol_ || cell.col > LastVisibleCol())
        target.leftCol = std::max(0, cell.col - visibleCols_ / 2);
    return target;
}

ScrollTarget CaretModel::StretchInView(CellPos begin, CellPos end) const {
    ScrollTarget target;
    if (end.row < topRow_ || end.row > LastVisibleRow())
        target.topRow = std::max(0, end.row - visibleRows_ / 2);
    if (begin.col < leftCol_ || end.col > LastVisibleCol()) {
        const int fitEnd = std::max(0, end.col - visibleCols_ + 1);
        target.leftCol = fitEnd <= begin.col ? fitEnd : begin.col;
    }
    return target;
}

ScrollTarget CaretModel::TextEndView() const {
    const int last = std::max(0, lines_.LineCount() - 1);
    return ScrollTarget{std::max(0, last - visibleRows_ + 1),
                        std::max(0, lines_.LineLength(last) - visibleCols_)};
}

int CaretModel::WheelTop(int delta, int rows, int minimum, int maximum) const {
    const int top = delta > 0 ? topRow_ - rows : topRow_ + rows;
    return std::clamp(top, minimum, std::max(minimum, maximum));
}

void CaretModel::StartSelection(CellPos at) {
    at.col = std::max(0, at.col);
    at.row = std::max(0, at.row);
    anchor_ = selBegin_ = selEnd_ = at;
    selected_ = true;
    CheckSelection();
}

void CaretModel::ExtendSelection(CellPos to) {
    to.col = std::max(0, to.col);
    to.row = std::max(0, to.row);
    if (to.row < anchor_.row || (to.row == anchor_.row && to.col <= anchor_.col)) {
        selBegin_ = to;
        selEnd_ = anchor_;
    } else {
        selBegin_ = anchor_;
        selEnd_ = to;
    }
    selected_ = true;
    CheckSelection();
}

bool CaretModel::ClearSelection() {
    if (!selected_) return false;
    selected_ = false;
    return true;
}

void CaretModel::SetSelection(CellPos begin, CellPos end) {
    TLACSUB_ASSERT(begin.row >= 0 && begin.col >= 0);
    TLACSUB_ASSERT(!Precedes(end, begin));
    selected_ = true;
    anchor_ = selBegin_ = begin;
    selEnd_ = end;
}

void CaretModel::SetSelectionLength(int length) {
    const std::int64_t start = CellToPos(selected_ ? selBegin_ : caret_);
    if (!selected_) selBegin_ = PosToCell(start);
    selected_ = length > 0;
    selEnd_ = PosToCell(start + std::max(0, length));
    // A begin past the text counts from where the text ends, and so does the selection.
    if (Precedes(selEnd_, selBegin_)) selBegin_ = PosToCell(start);
    anchor_ = selBegin_;
    CheckSelection();
}

std::pair<CellPos, CellPos> CaretModel::ClampStretch(CellPos begin, CellPos end) const {
    const int lastRow = std::max(0, lines_.DisplayRowCount() - 1);
    begin.row = std::clamp(begin.row, 0, lastRow);
    end.row = std::clamp(end.row, begin.row, lastRow);
    begin.col = std::max(0, begin.col);
    end.col = std::max(end.row == begin.row ? begin.col : 0, end.col);
    return {begin, end};
}

bool CaretModel::IsSelected(int row, int col) const {
    if (!selected_ || row < selBegin_.row || row > selEnd_.row) return false;
    if (selBegin_.row == selEnd_.row) return col >= selBegin_.col && col < selEnd_.col;
    if (row == selBegin_.row) return col >= selBegin_.col;
    if (row == selEnd_.row) return col < selEnd_.col;
    return true;
}

std::optional<TextSpan> CaretModel::SelectedSpan(bool* outside) const {
    if (outside) *outside = false;
    if (!selected_) return std::nullopt;
    const int count = lines_.LineCount();
    if (selBegin_.row < 0 || selBegin_.row >= count || selEnd_.row < 0 || selEnd_.row >= count) {
        if (outside) *outside = true;
        return std::nullopt;
    }
    const TextSpan span{selBegin_.row, std::min(selBegin_.col, lines_.LineLength(selBegin_.row)),
                        selEnd_.row, std::min(selEnd_.col, lines_.LineLength(selEnd_.row))};
    if (span.beginRow == span.endRow && span.beginCol >= span.endCol) return std::nullopt;
    return span;
}

std::optional<std::pair<int, int>> CaretModel::WordAt(CellPos cell) const {
    if (cell.row < 0 || cell.row >= lines_.LineCount()) return std::nullopt;
    const std::string_view line = lines_.LineAt(cell.row);
    const int length = static_cast<int>(line.size());
    int at = cell.col;
    const auto inWord = [&](int i) {
        return i >= 0 && i < length && !IsSeparator(line[static_cast<std::size_t>(i)]);
    };
    // On a separator right after a word, that word is meant.
    if (!inWord(at)) {
        if (!inWord(at - 1)) return std::nullopt;
        --at;
    }
    int start = at;
    int end = at;
    while (inWord(start - 1))
        --start;
    while (inWord(end))
        ++end;
    return std::pair{start, end};
}

CellPos CaretModel::PosToCell(std::int64_t position) const {
    const std::int64_t v = position - 1;
    const int count = lines_.LineCount();
    std::int64_t start = 0;
    for (int row = 0; row < count; ++row) {
        const int length = lines_.LineLength(row);
        if (start + length >= v)
            return CellPos{static_cast<int>(std::max<std::int64_t>(0, v - start)), row};
        start += length + 2;
    }
    if (count == 0) return CellPos{0, 0};
    return CellPos{lines_.LineLength(count - 1), count - 1};
}

std::int64_t CaretModel::CellToPos(CellPos cell) const {
    const int row = std::clamp(cell.row, 0, std::max(0, lines_.LineCount() - 1));
    std::int64_t position = 0;
    for (int i = 0; i < row; ++i)
        position += lines_.LineLength(i) + 2;
    return position + std::clamp(cell.col, 0, lines_.LineLength(row)) + 1;
}

int CaretModel::SelectionStart() const {
    const std::int64_t pos = CellToPos(selected_ ? selBegin_ : caret_);
    return static_cast<int>(std::min<std::int64_t>(pos, INT_MAX));
}

CellPos CaretModel::CellAt(int x, int y, int textLeft, int cellWidth, int cellHeight) const {
    // Halves round to even, so a click on a character's right half lands after it.
    const double exact = static_cast<double>(x - textLeft) / cellWidth;
    int col = std::max(0, static_cast<int>(std::nearbyint(exact)));
    int row = std::max(0, y / cellHeight);
    col = std::min(col + leftCol_, LastVisibleCol());
    row = std::min(row + topRow_, lines_.LineCount() - 1);
    return CellPos{std::max(0, col), std::max(0, row)};
}

CellPos CaretModel::DragStep(CellPos target, int x, int y, int width, int height) const {
    if (y < 0) target.row -= -y <= 20 ? 1 : std::max(1, visibleRows_);
    if (y > height) target.row += y - height <= 20 ? 1 : std::max(1, visibleRows_);
    if (x < 0) target.col -= -x <= 20 ? 1 : std::max(1, visibleCols_ / 2);
    if (x > width) target.col += x - width <= 20 ? 1 : std::max(1, visibleCols_ / 2);
    return target;
}

int CaretModel::CellToPixel(std::int64_t cells, int size, int offset) {
    return static_cast<int>(std::clamp<std::int64_t>(cells * size + offset, -(1 << 24), 1 << 24));
}

void CaretModel::ToggleBookmark(int number) {
    if (number < 0 || number > 9) return;
    std::optional<CellPos>& mark = bookmarks_[static_cast<std::size_t>(number)];
    if (mark && mark->row == caret_.row)
        mark.reset();
    else
        mark = caret_;
}

std::optional<CellPos> CaretModel::Bookmark(int number) const {
    if (number < 0 || number > 9) return std::nullopt;
    return bookmarks_[static_cast<std::size_t>(number)];
}

void CaretModel::CheckSelection() const {
    TLACSUB_ASSERT(!selected_ || !Precedes(selEnd_, selBegin_));
    TLACSUB_ASSERT(!selected_ || anchor_ == selBegin_ || anchor_ == selEnd_);
}

void CaretModel::CheckInvariants() const {
    // The text may have changed since the caret was placed; it stays a cell.
    TLACSUB_ASSERT(caret_.row >= 0 && caret_.col >= 0);
    TLACSUB_ASSERT(topRow_ >= 0 && leftCol_ >= 0 && visibleRows_ >= 0 && visibleCols_ >= 0);
    TLACSUB_ASSERT(!selected_ || (selBegin_.row >= 0 && selBegin_.col >= 0));
    CheckSelection();
}
