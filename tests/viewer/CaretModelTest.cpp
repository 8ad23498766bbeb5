#include "viewer/CaretModel.h"

#include "platform/Assert.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>
#include <vector>

namespace {

// Four lines of 10, 0, 13 and 1 characters, in a window of 2 rows and 5 columns.
class CaretModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        lines_.SetFullText("alpha beta\r\n\r\n  gamma.delta\r\nx");
        model_.SetVisible(2, 5);
    }

    TMemoExStrings lines_;
    CaretModel model_{lines_};
};

} // namespace

TEST_F(CaretModelTest, KeysMoveTheCaretWithinTheText) {
    struct Case {
        CellPos caret;
        CaretMove move;
        std::optional<CellPos> to;
    };
    using M = CaretMove;
    const std::vector<Case> cases = {
        {{0, 0}, M::Left, CellPos{0, 0}},      {{3, 0}, M::Right, CellPos{4, 0}},
        {{3, 0}, M::Up, std::nullopt},         {{3, 3}, M::Down, std::nullopt},
        {{3, 0}, M::Down, CellPos{3, 1}},      {{3, 2}, M::End, CellPos{13, 2}},
        {{3, 2}, M::Home, CellPos{0, 2}},      {{1, 0}, M::PageDown, CellPos{1, 2}},
        {{1, 3}, M::PageDown, CellPos{1, 3}},  {{1, 1}, M::PageUp, CellPos{1, 0}},
        {{0, 2}, M::WordLeft, CellPos{0, 1}},  {{8, 0}, M::WordLeft, CellPos{6, 0}},
        {{0, 0}, M::WordRight, CellPos{6, 0}}, {{10, 0}, M::WordRight, CellPos{0, 1}},
        {{0, 1}, M::WordRight, CellPos{2, 2}}, {{3, 3}, M::WordRight, CellPos{3, 3}},
        {{2, 1}, M::WindowTop, CellPos{2, 0}}, {{2, 0}, M::WindowBottom, CellPos{2, 1}},
    };
    for (const Case& c : cases) {
        model_.PlaceCaret(c.caret);
        std::optional<CellPos> to = model_.MoveTarget(c.move);
        if (to) to = model_.ClampCaret(*to);
        EXPECT_EQ(to, c.to) << "from " << c.caret.col << "," << c.caret.row << " move "
                            << static_cast<int>(c.move);
    }
}

TEST_F(CaretModelTest, TheCaretStaysInsideTheRowsAndTheLongestLine) {
    struct Case {
        CellPos asked;
        bool beyondEnd;
        CellPos placed;
    };
    const std::vector<Case> cases = {
        {{-3, -3}, true, {0, 0}},  {{0, 99}, true, {0, 3}},    {{50, 0}, true, {50, 0}},
        {{50, 0}, false, {10, 0}}, {{600, 0}, true, {512, 0}}, {{5, 1}, false, {0, 1}},
    };
    for (const Case& c : cases) {
        model_.SetCursorBeyondEOL(c.beyondEnd);
        EXPECT_EQ(model_.ClampCaret(c.asked), c.placed) << c.asked.col << "," << c.asked.row;
    }
}

TEST_F(CaretModelTest, ASelectionTurnsAtItsAnchorAndIsCutToTheText) {
    struct Case {
        CellPos to;
        CellPos begin;
        CellPos end;
    };
    model_.StartSelection({5, 1});
    const std::vector<Case> cases = {
        {{2, 1}, {2, 1}, {5, 1}},
        {{7, 2}, {5, 1}, {7, 2}},
        {{5, 1}, {5, 1}, {5, 1}},
        {{-4, -1}, {0, 0}, {5, 1}},
    };
    for (const Case& c : cases) {
        model_.ExtendSelection(c.to);
        EXPECT_EQ(model_.SelBegin(), c.begin) << c.to.col << "," << c.to.row;
        EXPECT_EQ(model_.SelEnd(), c.end) << c.to.col << "," << c.to.row;
    }
    // From the start of line 0 to column 5 of the empty line 1.
    EXPECT_TRUE(model_.IsSelected(0, 9));
    EXPECT_FALSE(model_.IsSelected(1, 5));
    EXPECT_EQ(model_.SelectedSpan(), (TextSpan{0, 0, 1, 0}));

    bool outside = false;
    model_.SetSelection({3, 0}, {40, 0});
    EXPECT_EQ(model_.SelectedSpan(&outside), (TextSpan{0, 3, 0, 10}));
    model_.SetSelection({0, 9}, {2, 9});
    EXPECT_EQ(model_.SelectedSpan(&outside), std::nullopt);
    EXPECT_TRUE(outside);
    EXPECT_TRUE(model_.ClearSelection());
    EXPECT_FALSE(model_.ClearSelection());
    EXPECT_FALSE(model_.IsSelected(0, 0));
}

TEST_F(CaretModelTest, PositionsCountTwoPerLineBreakBothWays) {
    struct Case {
        std::int64_t position;
        CellPos cell;
    };
    const std::vector<Case> cases = {{1, {0, 0}},   {11, {10, 0}}, {13, {0, 1}}, {15, {0, 2}},
                                     {28, {13, 2}}, {30, {0, 3}},  {31, {1, 3}}};
    for (const Case& c : cases) {
        EXPECT_EQ(model_.PosToCell(c.position), c.cell) << c.position;
        EXPECT_EQ(model_.CellToPos(c.cell), c.position) << c.position;
    }
    EXPECT_EQ(model_.PosToCell(1000), (CellPos{1, 3}));

    model_.PlaceCaret({6, 0});
    model_.SetSelectionLength(6);
    EXPECT_EQ(model_.SelBegin(), (CellPos{6, 0}));
    EXPECT_EQ(model_.SelEnd(), (CellPos{0, 1}));
    EXPECT_EQ(model_.SelectionStart(), 7);
    // A selection begun past the text counts from its end, and is never reversed.
    model_.SetSelection({0, 9}, {2, 9});
    model_.SetSelectionLength(1);
    EXPECT_EQ(model_.SelBegin(), (CellPos{0, 3}));
    EXPECT_EQ(model_.SelEnd(), (CellPos{1, 3}));
    EXPECT_EQ(model_.WordAt({10, 0}), (std::pair{6, 10}));
    EXPECT_EQ(model_.WordAt({1, 2}), std::nullopt);
}

TEST_F(CaretModelTest, ScrollingBringsCellsIntoViewAndStaysInRange) {
    struct Case {
        CellPos top; // column: left column, row: top row
        CellPos cell;
        ScrollTarget intoView;
        ScrollTarget centered;
    };
    const std::vector<Case> cases = {
        {{0, 0}, {1, 1}, {}, {}},
        {{0, 0}, {0, 3}, {2, std::nullopt}, {2, std::nullopt}},
        {{0, 2}, {0, 0}, {0, std::nullopt}, {0, std::nullopt}},
        {{0, 0}, {7, 0}, {std::nullopt, 2}, {std::nullopt, 5}},
        {{6, 0}, {2, 0}, {std::nullopt, 2}, {std::nullopt, 0}},
    };
    for (const Case& c : cases) {
        model_.SetTopRow(c.top.row);
        model_.SetLeftCol(c.top.col);
        EXPECT_EQ(model_.IntoView(c.cell), c.intoView) << c.cell.col << "," << c.cell.row;
        EXPECT_EQ(model_.Centered(c.cell), c.centered) << c.cell.col << "," << c.cell.row;
    }
    model_.SetTopRow(0);
    model_.SetLeftCol(0);
    EXPECT_EQ(model_.TextEndView(), (ScrollTarget{2, 0}));
    EXPECT_EQ(model_.StretchInView({3, 2}, {9, 2}), (ScrollTarget{1, 3}));
    EXPECT_EQ(model_.StretchInView({6, 2}, {9, 2}), (ScrollTarget{1, 5}));
    EXPECT_EQ(model_.ClampStretch({-2, 7}, {4, 1}), (std::pair{CellPos{0, 3}, CellPos{4, 3}}));
    EXPECT_EQ(model_.WheelTop(120, 3, 0, 2), 0);
    EXPECT_EQ(model_.WheelTop(-120, 3, 0, 2), 2);
    EXPECT_EQ(model_.WheelTop(-120, 3, 0, -1), 0);

    // A window showing no whole row or column still scrolls by one.
    model_.SetVisible(0, 0);
    EXPECT_EQ(model_.IntoView({1, 1}), (ScrollTarget{1, 0}));
}

TEST_F(CaretModelTest, PointerCellsDragStepsAndFarPixelsAreBounded) {
    model_.SetTopRow(1);
    // 10-pixel cells from x = 2: a click on a cell's right half lands after it.
    EXPECT_EQ(model_.CellAt(2 + 14, 5, 2, 10, 16), (CellPos{1, 1}));
    EXPECT_EQ(model_.CellAt(2 + 16, 40, 2, 10, 16), (CellPos{2, 3}));
    EXPECT_EQ(model_.CellAt(-50, -50, 2, 10, 16), (CellPos{0, 1}));
    EXPECT_EQ(model_.CellAt(900, 900, 2, 10, 16), (CellPos{4, 3}));

    model_.SetVisible(10, 40);
    const CellPos at{30, 30};
    EXPECT_EQ(model_.DragStep(at, 50, -5, 400, 300), (CellPos{30, 29}));
    EXPECT_EQ(model_.DragStep(at, 50, 350, 400, 300), (CellPos{30, 40}));
    EXPECT_EQ(model_.DragStep(at, -30, 50, 400, 300), (CellPos{10, 30}));
    EXPECT_EQ(model_.DragStep(at, 410, 50, 400, 300), (CellPos{31, 30}));

    EXPECT_EQ(CaretModel::CellToPixel(3, 10, 2), 32);
    EXPECT_EQ(CaretModel::CellToPixel(INT_MAX, 100, 2), 1 << 24);
    EXPECT_EQ(CaretModel::CellToPixel(-static_cast<std::int64_t>(INT_MAX), 100, 0), -(1 << 24));
}

TEST_F(CaretModelTest, ABookmarkSetAgainOnItsLineIsCleared) {
    model_.PlaceCaret({4, 2});
    model_.ToggleBookmark(3);
    EXPECT_EQ(model_.Bookmark(3), (CellPos{4, 2}));
    model_.PlaceCaret({0, 2});
    model_.ToggleBookmark(3);
    EXPECT_EQ(model_.Bookmark(3), std::nullopt);
    model_.ToggleBookmark(10);
    EXPECT_EQ(model_.Bookmark(10), std::nullopt);
}

using CaretModelDeathTest = CaretModelTest;

// A fault planted by a caller stops the program at the invariant it breaks, and
// the call one step short of it passes.
TEST_F(CaretModelDeathTest, ABrokenInvariantStopsTheProgram) {
    if (!platform::kAssertionsEnabled) GTEST_SKIP() << "built without TLACSUB_ASSERTIONS";
    struct Case {
        const char* what;
        std::function<void(CaretModel&)> fault;
        std::function<void(CaretModel&)> nearly;
        const char* broken;
    };
    const std::vector<Case> cases = {
        {"reversed selection",
         [](CaretModel& m) {
             m.SetSelection({5, 1}, {4, 1});
         },
         [](CaretModel& m) {
             m.SetSelection({5, 1}, {5, 1});
         },
         "!Precedes\\(end, begin\\)"},
        {"caret before the text",
         [](CaretModel& m) {
             m.PlaceCaret({-1, 0});
         },
         [](CaretModel& m) {
             m.PlaceCaret({0, 0});
         },
         "cell == ClampCaret\\(cell\\)"},
        {"caret past its line",
         [](CaretModel& m) {
             m.SetCursorBeyondEOL(false);
             m.PlaceCaret({11, 0});
         },
         [](CaretModel& m) {
             m.SetCursorBeyondEOL(false);
             m.PlaceCaret({10, 0});
         },
         "cell == ClampCaret\\(cell\\)"},
        {"caret past the last line",
         [](CaretModel& m) {
             m.PlaceCaret({0, 4});
         },
         [](CaretModel& m) {
             m.PlaceCaret({0, 3});
         },
         "cell == ClampCaret\\(cell\\)"},
        {"view above the text", [](CaretModel& m) { m.SetTopRow(-1); },
         [](CaretModel& m) { m.SetTopRow(0); }, "row >= 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(c.fault(model_), std::string("invariant broken: ") + c.broken);
        c.nearly(model_);
        model_.CheckInvariants();
    }
}
