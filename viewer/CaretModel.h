#pragma once
// The viewer's caret, selection and scroll position over the line store, and
// the arithmetic that moves them. No Qt here: the widget turns keys, clicks
// and wheel turns into calls on this model and paints what it says.

#include "viewer/MemoExStrings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

// A character cell: column and display row, both 0-based.
struct CellPos {
    int col = 0;
    int row = 0;
    bool operator==(const CellPos&) const = default;
};

// Whether `a` comes before `b` in reading order.
constexpr bool Precedes(CellPos a, CellPos b) {
    return a.row < b.row || (a.row == b.row && a.col < b.col);
}

// Where the view should scroll to; an empty side stays where it is.
struct ScrollTarget {
    std::optional<int> topRow;
    std::optional<int> leftCol;
    bool operator==(const ScrollTarget&) const = default;
};

// The selected part of the text, cut to its lines.
struct TextSpan {
    int beginRow = 0;
    int beginCol = 0;
    int endRow = 0;
    int endCol = 0;
    bool operator==(const TextSpan&) const = default;
};

// A caret move that a key asks for.
enum class CaretMove {
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    WordLeft,
    WordRight,
    WindowTop,
    WindowBottom,
};

class CaretModel {
  public:
    explicit CaretModel(const TMemoExStrings& lines) : lines_(lines) {}

    // The view: its first row and column and how many whole ones it shows.
    int TopRow() const { return topRow_; }
    int LeftCol() const { return leftCol_; }
    // Never negative: the view cannot start before the text.
    void SetTopRow(int row);
    void SetLeftCol(int col);
    int VisibleRows() const { return visibleRows_; }
    int VisibleCols() const { return visibleCols_; }
    void SetVisible(int rows, int cols);
    int LastVisibleRow() const { return topRow_ + visibleRows_ - 1; }
    int LastVisibleCol() const { return leftCol_ + visibleCols_ - 1; }

    // The caret and where it may stand.
    CellPos Caret() const { return caret_; }
    // The cell must be one ClampCaret gives.
    void PlaceCaret(CellPos cell);
    bool CursorBeyondEOL() const { return cursorBeyondEOL_; }
    void SetCursorBeyondEOL(bool beyond) { cursorBeyondEOL_ = beyond; }
    // The cell a requested caret position comes to: inside the text's rows and
    // its longest line, and inside its own line unless the caret may go beyond.
    CellPos ClampCaret(CellPos cell) const;
    // Where a key would move the caret; nullopt when it stays.
    std::optional<CellPos> MoveTarget(CaretMove move) const;

    // Scrolling that brings a cell into view, as caret placement does; a
    // window too small for one whole row or column still scrolls by one.
    ScrollTarget IntoView(CellPos cell) const;
    // A cell out of view comes to the middle of the window.
    ScrollTarget Centered(CellPos cell) const;
    // A found stretch: its end row to the middle when out of view, and the
    // whole stretch in view sideways when it fits, else its start.
    ScrollTarget StretchInView(CellPos begin, CellPos end) const;
    // Where the end of the text puts the view: its last row at the bottom.
    ScrollTarget TextEndView() const;
    // The top row after a wheel turn of `rows` up (delta > 0) or down,
    // kept within the bar's range.
    int WheelTop(int delta, int rows, int minimum, int maximum) const;

    // The selection: from its begin to its end (exclusive), grown from an anchor.
    bool Selected() const { return selected_; }
    CellPos SelBegin() const { return selBegin_; }
    CellPos SelEnd() const { return selEnd_; }
    void StartSelection(CellPos at);
    // Moves the free end to `to`; the begin and end swap when it passes the anchor.
    void ExtendSelection(CellPos to);
    // Returns whether there was a selection to clear.
    bool ClearSelection();
    // `begin` must not come after `end`; neither may be negative.
    void SetSelection(CellPos begin, CellPos end);
    // Selects `length` characters from the selection's begin, or from the
    // caret when nothing is selected; the anchor stays at the begin.
    void SetSelectionLength(int length);
    // A stretch to select, kept inside the text's rows and never reversed.
    std::pair<CellPos, CellPos> ClampStretch(CellPos begin, CellPos end) const;
    bool IsSelected(int row, int col) const;
    // The selection cut to the text's lines; nullopt when it selects nothing.
    // `outside` is set when it lies (partly) past the text.
    std::optional<TextSpan> SelectedSpan(bool* outside = nullptr) const;
    // The begin and end column of the word at or right before a cell.
    std::optional<std::pair<int, int>> WordAt(CellPos cell) const;

    // 1-based character positions, each line break counting two.
    CellPos PosToCell(std::int64_t position) const;
    std::int64_t CellToPos(CellPos cell) const;
    // The position of the selection's begin, or of the caret; capped to an int.
    int SelectionStart() const;

    // A mouse pointer's cell, from its pixel inside the viewport.
    CellPos CellAt(int x, int y, int textLeft, int cellWidth, int cellHeight) const;
    // Where a drag with the pointer outside the viewport moves its target:
    // by one close to the edge, by a page (half a page sideways) farther out.
    CellPos DragStep(CellPos target, int x, int y, int width, int height) const;
    // A pixel coordinate of a cell, held within a range a window can draw,
    // so a caret millions of cells away never overflows.
    static int CellToPixel(std::int64_t cells, int size, int offset);

    // Bookmarks 0 to 9. Setting one again on its own line clears it.
    void ToggleBookmark(int number);
    std::optional<CellPos> Bookmark(int number) const;

    // Stops the program when the caret or the view stands before the text, or
    // the selection is reversed or has lost its anchor. For tests and fuzzers.
    void CheckInvariants() const;

  private:
    // The selection's order and anchor, after every change of it.
    void CheckSelection() const;
    CellPos WordLeft() const;
    CellPos WordRight() const;

    const TMemoExStrings& lines_;
    int topRow_ = 0;
    int leftCol_ = 0;
    int visibleRows_ = 0;
    int visibleCols_ = 0;
    CellPos caret_;
    bool cursorBeyondEOL_ = true;
    bool selected_ = false;
    CellPos selBegin_;
    CellPos selEnd_;
    CellPos anchor_;
    std::array<std::optional<CellPos>, 10> bookmarks_;
};
