#include "ViewerFixture.h"

#include <QPaintEvent>
#include <QRegion>
#include <QScrollBar>

TEST_F(MemoExTest, ScrollRangesStopWithTheLastLineAtTheBottom) {
    SizeTo(30, 40);
    LoadNumbered(100);
    QScrollBar* v = memo_->verticalScrollBar();
    QScrollBar* h = memo_->horizontalScrollBar();
    EXPECT_EQ(v->maximum(), 70);
    EXPECT_EQ(v->pageStep(), 30);
    EXPECT_TRUE(v->isEnabled());
    EXPECT_EQ(h->maximum(), 512 - 40);

    v->setValue(200);
    EXPECT_EQ(memo_->TopRow(), 70);
    v->setValue(0);
    v->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(memo_->TopRow(), 29); // a page less one row
    v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(memo_->TopRow(), 30);
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(memo_->LeftCol(), 1);

    Load({"short"});
    EXPECT_FALSE(v->isEnabled());
    EXPECT_EQ(v->maximum(), 0);
}

TEST_F(MemoExTest, ArrowsHomeEndAndPagesMoveTheCaretAndTheViewFollows) {
    SizeTo(30, 40);
    LoadNumbered(100);
    Key(Qt::Key_Up);
    Key(Qt::Key_Left);
    EXPECT_EQ(Caret(), (CellPos{0, 0}));
    for (int i = 0; i < 10; ++i)
        Key(Qt::Key_Right);
    EXPECT_EQ(Caret(), (CellPos{10, 0})); // beyond "line 0"
    Key(Qt::Key_End);
    EXPECT_EQ(Caret(), (CellPos{6, 0}));
    Key(Qt::Key_Home);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Caret(), (CellPos{0, 30}));
    EXPECT_EQ(memo_->TopRow(), 1);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{7, 99}));
    EXPECT_EQ(memo_->TopRow(), 70);
    Key(Qt::Key_Down);
    EXPECT_EQ(Caret(), (CellPos{7, 99}));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{7, 70}));
    Key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{7, 99}));
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{0, 0}));
    EXPECT_EQ(memo_->TopRow(), 0);

    // Right runs up to the maximum line length and scrolls sideways.
    for (int i = 0; i < 600; ++i)
        Key(Qt::Key_Right);
    EXPECT_EQ(Caret(), (CellPos{512, 0}));
    EXPECT_EQ(memo_->LeftCol(), 512 - 40);
}

TEST_F(MemoExTest, ASecondCtrlPageDownAfterCtrlUpShowsTheEndAgain) {
    SizeTo(30, 40);
    LoadNumbered(100);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    ASSERT_EQ(memo_->TopRow(), 99 - 30 + 1);
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(memo_->TopRow(), 99 - 30);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{7, 99}));
    EXPECT_EQ(memo_->TopRow(), 99 - 30 + 1); // the last line on the bottom row
    EXPECT_TRUE(memo_->CaretVisible());
    EXPECT_TRUE(memo_->viewport()->rect().contains(memo_->CaretRect()));
}

TEST_F(MemoExTest, CtrlUpAndDownScrollAndPullTheCaretAlong) {
    SizeTo(30, 40);
    LoadNumbered(100);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(memo_->TopRow(), 1);
    EXPECT_EQ(Caret(), (CellPos{0, 1}));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(memo_->SelAvail());
    Key(Qt::Key_Up, Qt::ControlModifier);
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(memo_->TopRow(), 0);
    EXPECT_EQ(Caret(), (CellPos{0, 3}));
    EXPECT_TRUE(memo_->SelAvail()); // scrolling leaves the selection alone
}

TEST_F(MemoExTest, ShiftKeysSelectAndPlainKeysClear) {
    Load({"alpha beta", "gamma", "delta"});
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(memo_->SelectedText(), "alpha beta\r\nga");
    Key(Qt::Key_Left);
    EXPECT_FALSE(memo_->SelAvail());

    // Moving back past the anchor turns the selection around.
    Key(Qt::Key_Home);
    Key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(memo_->SelBegin(), (CellPos{0, 0}));
    EXPECT_EQ(memo_->SelEnd(), (CellPos{0, 1}));
    EXPECT_EQ(memo_->SelectedText(), "alpha beta\r\n");

    Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(memo_->SelectedText(), "alpha beta\r\ngamma\r\ndelta");
    EXPECT_EQ(Caret(), (CellPos{5, 2}));
    Key(Qt::Key_Up);
    Key(Qt::Key_End);
    Key(Qt::Key_Home, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Caret(), (CellPos{0, 0}));
    EXPECT_EQ(memo_->SelectedText(), "alpha beta\r\ngamma");
}

TEST_F(MemoExTest, WordMovesAndTwoKeyCommands) {
    Load({"  one,two  three", " next line"});
    Key(Qt::Key_End);
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{11, 0}));
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{6, 0}));
    Key(Qt::Key_Left, Qt::ControlModifier);
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{0, 0})); // only blanks before: stays on the first line
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{2, 0}));
    Key(Qt::Key_End);
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{1, 1})); // the next line begins with a space
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{16, 0}));

    Key(Qt::Key_Q, Qt::ControlModifier);
    Key(Qt::Key_S);
    EXPECT_EQ(Caret(), (CellPos{0, 0}));
    Key(Qt::Key_Q, Qt::ControlModifier);
    Key(Qt::Key_C);
    EXPECT_EQ(Caret(), (CellPos{10, 1}));
    Key(Qt::Key_Left);
    Key(Qt::Key_K, Qt::ControlModifier);
    Key(Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(memo_->SelectedText(), "line");
    Key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier); // not a command
    EXPECT_EQ(memo_->SelectedText(), "line");
}

TEST_F(MemoExTest, BookmarksSetJumpAndClear) {
    SizeTo(10, 40);
    LoadNumbered(50);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    Key(Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{1, 1}));
    EXPECT_EQ(memo_->TopRow(), 1);
    Key(Qt::Key_K, Qt::ControlModifier);
    Key(Qt::Key_3);
    EXPECT_FALSE(memo_->Bookmark(3).has_value()); // same line: cleared
}

TEST_F(MemoExTest, EditingKeysChangeNothingAndTabLeaves) {
    Load({"keep me"});
    const std::string before = memo_->Lines().FullText();
    QTest::keyClicks(memo_, "typed");
    for (int key : {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete})
        Key(key);
    Key(Qt::Key_V, Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo_->Lines().FullText(), before);
    EXPECT_EQ(Caret(), (CellPos{0, 0}));
    Key(Qt::Key_Insert);
    EXPECT_FALSE(memo_->InsertMode());

    ASSERT_TRUE(memo_->hasFocus());
    EXPECT_TRUE(memo_->CaretVisible());
    EXPECT_EQ(memo_->CaretRect(),
              QRect(memo_->TextLeft(), 1, 2, memo_->CellHeight() - 2)); // a thin bar in cell (0, 0)
    Key(Qt::Key_Tab);
    EXPECT_TRUE(other_->hasFocus());
    EXPECT_FALSE(memo_->CaretVisible());
}

TEST_F(MemoExTest, EmptyTextKeepsTheCaretAtTheOrigin) {
    Load({});
    Key(Qt::Key_End);
    Key(Qt::Key_Down);
    Key(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Caret(), (CellPos{0, 0}));
    Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(memo_->SelectedText(), "");
}

TEST_F(MemoExTest, ZoomKeepsCaretTopRowAndLeftColumn) {
    memo_->SetFontSize(10);
    SizeTo(30, 40);
    LoadNumbered(100);
    memo_->SetCaret(3, 45);
    memo_->verticalScrollBar()->setValue(40);
    memo_->horizontalScrollBar()->setValue(2);
    const int oldWidth = memo_->CellWidth();
    const int oldHeight = memo_->CellHeight();
    memo_->SetFontSize(16);
    EXPECT_GT(memo_->CellWidth(), oldWidth);
    EXPECT_GT(memo_->CellHeight(), oldHeight);
    EXPECT_EQ(memo_->TopRow(), 40);
    EXPECT_EQ(memo_->LeftCol(), 2);
    EXPECT_EQ(Caret(), (CellPos{3, 45}));
    EXPECT_EQ(memo_->horizontalScrollBar()->maximum(), 512 - memo_->VisibleColCount());
    EXPECT_EQ(memo_->verticalScrollBar()->maximum(), 100 - memo_->VisibleRowCount());
}

TEST_F(MemoExTest, WheelScrollsTheViewNotTheCaret) {
    SizeTo(30, 40);
    LoadNumbered(100);
    const int step = QApplication::wheelScrollLines();
    memo_->WheelRows(-120);
    EXPECT_EQ(memo_->TopRow(), step);
    memo_->WheelRows(120);
    memo_->WheelRows(120);
    EXPECT_EQ(memo_->TopRow(), 0);
    EXPECT_EQ(Caret(), (CellPos{0, 0}));
    for (int i = 0; i < 100; ++i)
        memo_->WheelRows(-120);
    EXPECT_EQ(memo_->TopRow(), 70);
}

TEST_F(MemoExTest, PositionsCountTwoCharactersPerLineBreak) {
    Load({"abc", "de", "fgh"});
    memo_->SetSelectionStart(6); // "d"
    EXPECT_EQ(Caret(), (CellPos{0, 1}));
    memo_->SetSelectionLength(6);
    EXPECT_EQ(memo_->SelectedText(), "de\r\nfg");
    EXPECT_EQ(Caret(), (CellPos{2, 2}));
    memo_->SetSelectionStart(1000);
    EXPECT_EQ(Caret(), (CellPos{3, 2}));
    EXPECT_FALSE(memo_->SelAvail());
}

TEST_F(MemoExTest, RecordedKeystrokesReplay) {
    LoadNumbered(20);
    Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    Key(Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Caret(), (CellPos{1, 1}));
    Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Caret(), (CellPos{3, 3}));
}

namespace {

// Collects the regions the viewer is asked to paint.
class PaintSpy : public QObject {
  public:
    QRegion painted;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

} // namespace

TEST_F(MemoExTest, ScrollingByARowRepaintsOnlyTheRowThatCameIn) {
    SizeTo(30, 40);
    LoadNumbered(100);
    QApplication::processEvents();
    PaintSpy spy;
    memo_->viewport()->installEventFilter(&spy);
    memo_->ScrollToRow(1);
    QApplication::processEvents();
    memo_->viewport()->removeEventFilter(&spy);
    ASSERT_FALSE(spy.painted.isEmpty());
    // The newly uncovered band at the bottom, not the whole window.
    EXPECT_LE(spy.painted.boundingRect().height(), 2 * memo_->CellHeight());
    EXPECT_GE(spy.painted.boundingRect().bottom(), 29 * memo_->CellHeight());
}

TEST_F(MemoExTest, StartOfTextShowsTheTopLeftAlsoWhenOnlyTheBarsMoved) {
    SizeTo(10, 40);
    LoadNumbered(50);
    // The caret stays at the origin while the bars alone move the view away.
    memo_->horizontalScrollBar()->setValue(100);
    memo_->verticalScrollBar()->setValue(30);
    ASSERT_EQ(Caret(), (CellPos{0, 0}));
    ASSERT_EQ(memo_->LeftCol(), 100);
    memo_->SetSelectionStart(0);
    memo_->SetSelectionLength(0);
    EXPECT_EQ(memo_->TopRow(), 0);
    EXPECT_EQ(memo_->LeftCol(), 0);

    // A whole new text puts the caret at its start and shows it.
    memo_->horizontalScrollBar()->setValue(100);
    memo_->verticalScrollBar()->setValue(30);
    memo_->Lines().SetFullText(std::string(300, 'x') + "\r\n" + memo_->Lines().FullText());
    EXPECT_EQ(Caret(), (CellPos{0, 0}));
    EXPECT_EQ(memo_->TopRow(), 0);
    EXPECT_EQ(memo_->LeftCol(), 0);
}
