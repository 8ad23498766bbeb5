#include "viewer/MemoEx.h"

#include <algorithm>

void TCustomMemoEx::SelectCells(TCellPos begin, TCellPos end) {
    if (selected_) ClearSelection();
    const int lastRow = std::max(0, lines_.DisplayRowCount() - 1);
    begin.row = std::clamp(begin.row, 0, lastRow);
    end.row = std::clamp(end.row, begin.row, lastRow);
    begin.col = std::max(0, begin.col);
    end.col = std::max(end.row == begin.row ? begin.col : 0, end.col);
    if (end.row < topRow_ || end.row > LastVisibleRow())
        ScrollToRow(std::max(0, end.row - visibleRows_ / 2));
    // The whole selection in view when it fits, else its start.
    if (begin.col < leftCol_ || end.col > LastVisibleCol()) {
        const int fitEnd = std::max(0, end.col - visibleCols_ + 1);
        ScrollToCol(fitEnd <= begin.col ? fitEnd : begin.col);
    }
    selected_ = true;
    anchor_ = selBegin_ = begin;
    selEnd_ = end;
    SetCaret(end.col, end.row);
    paintAll_ = true;
    viewport()->update();
    if (OnSelectionChange) OnSelectionChange(this);
}
