#include "viewer/MemoEx.h"

#include <tuple>

void TCustomMemoEx::SelectCells(CellPos begin, CellPos end) {
    if (model_.Selected()) ClearSelection();
    std::tie(begin, end) = model_.ClampStretch(begin, end);
    ScrollTo(model_.StretchInView(begin, end));
    model_.SetSelection(begin, end);
    SetCaret(end.col, end.row);
    paintAll_ = true;
    viewport()->update();
    if (OnSelectionChange) OnSelectionChange(this);
}
