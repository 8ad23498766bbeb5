// Selecting a found stretch of text: it is selected, in view, with the caret at its end.
#include "ViewerFixture.h"

TEST_F(MemoExTest, SelectCellsBringsTheSelectionIntoViewWithTheCaretAtItsEnd) {
    std::vector<std::string> lines(1000, "x");
    lines[700] = std::string(300, '.') + "needle";
    Load(lines);
    SizeTo(30, 80);
    struct Case {
        CellPos begin;
        CellPos end;
        const char* text;
        int top;
        int left;
    };
    const std::vector<Case> cases = {
        {{300, 700}, {306, 700}, "needle", 685, 227}, // far below: the row comes to the middle
        {{0, 3}, {1, 3}, "x", 0, 0},                  // near the top: no row above 0
        {{0, 20}, {1, 20}, "x", 0, 0},                // in view already: nothing scrolls
    };
    for (const Case& c : cases) {
        memo_->SelectCells(c.begin, c.end);
        EXPECT_TRUE(memo_->SelAvail()) << c.text;
        EXPECT_EQ(memo_->SelectedText(), c.text);
        EXPECT_EQ(Caret(), c.end);
        EXPECT_EQ(memo_->TopRow(), c.top) << c.text;
        EXPECT_EQ(memo_->LeftCol(), c.left) << c.text;
    }
}
