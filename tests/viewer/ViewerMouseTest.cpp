#include "ViewerFixture.h"

#include "platform/CodePages.h"

#include <QClipboard>
#include <QScrollBar>

namespace {

// Unicode text as the print file's OEM bytes (code page 852 in these tests).
std::string Oem(std::u16string_view text) {
    return *platform::Utf16ToCodePage(852, text);
}

} // namespace

TEST_F(MemoExTest, ClicksPlaceTheCaretByCellHalves) {
    SizeTo(10, 40);
    Load({"abcdef", "gh", "ijk"});
    Click(Pixel(2, 0));
    EXPECT_EQ(Caret(), (CellPos{2, 0}));
    Click(Pixel(2, 0, true));
    EXPECT_EQ(Caret(), (CellPos{3, 0}));
    Click(Pixel(1, 8)); // below the text
    EXPECT_EQ(Caret(), (CellPos{1, 2}));
    Click(Pixel(20, 1)); // beyond a short line
    EXPECT_EQ(Caret(), (CellPos{20, 1}));
}

TEST_F(MemoExTest, ShiftClickSelectsFromTheCaretAndTurnsAtTheAnchor) {
    SizeTo(10, 40);
    Load({"abcdef", "ghijkl", "mnopqr"});
    Click(Pixel(2, 1));
    Click(Pixel(4, 2), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(memo_->SelectedText(), "ijkl\r\nmnop");
    Click(Pixel(3, 0), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(memo_->SelBegin(), (CellPos{3, 0}));
    EXPECT_EQ(memo_->SelEnd(), (CellPos{2, 1}));

    // The right button moves the caret and keeps the selection.
    Click(Pixel(5, 2), Qt::RightButton);
    EXPECT_EQ(Caret(), (CellPos{5, 2}));
    EXPECT_EQ(memo_->SelectedText(), "def\r\ngh");
    Click(Pixel(0, 0));
    EXPECT_FALSE(memo_->SelAvail());
}

TEST_F(MemoExTest, CopyPutsTheSelectionOnTheClipboardAsUnicode) {
    SizeTo(10, 60);
    Load({Oem(u"Prvý riadok"), Oem(u"Účtovná závierka 2007"), Oem(u"Ďalej"), "ab"});
    Click(Pixel(5, 1));
    Click(Pixel(2, 2), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(memo_->SelectedText(), Oem(u"ná závierka 2007\r\nĎa"));
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("ná závierka 2007\r\nĎa"));

    // Past the end of a short line only the line's bytes are copied.
    Click(Pixel(1, 2));
    Click(Pixel(30, 3), Qt::LeftButton, Qt::ShiftModifier);
    Key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("alej\r\nab"));

    // Nothing selected: the clipboard keeps what it had.
    Click(Pixel(0, 0));
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("alej\r\nab"));

    // Box drawing, which the ANSI code page lacks, arrives as it is shown.
    Load({Oem(u"┌──────┐"), Oem(u"│ Účet │"), Oem(u"└──────┘")});
    Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QString::fromUtf8("┌──────┐\r\n│ Účet │\r\n└──────┘"));
}

TEST_F(MemoExTest, CopyIsExactForOddBytesAndRefusesWhatTheClipboardCannotTake) {
    SizeTo(10, 60);
    // 0xAA of 852 is the not sign, and 0x7F stays itself as on the PC.
    Load({"\xAA\x7F \xA0", "\xC4"});
    Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("¬\x7F á\r\n─"));

    // More than the clipboard takes: an error the user can read, the clipboard as it was.
    QApplication::clipboard()->setText(QStringLiteral("before"));
    memo_->SetClipboardCapacity(6);
    try {
        memo_->CopyToClipboard();
        ADD_FAILURE() << "copied beyond the clipboard's capacity";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "Označený text je pre schránku príliš veľký. Obsah schránky sa nezmenil.");
    }
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
    memo_->SetClipboardCapacity(7); // exactly the selection's 7 characters
    memo_->CopyToClipboard();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("¬\x7F á\r\n─"));
}

TEST_F(MemoExTest, DragAboveTheWindowScrollsByARowNearAndByAPageFar) {
    SizeTo(30, 40);
    LoadNumbered(100);
    memo_->verticalScrollBar()->setValue(50);
    Mouse(QEvent::MouseButtonPress, Pixel(3, 55));
    Mouse(QEvent::MouseMove, QPoint(Pixel(3, 55).x(), -10));
    ASSERT_TRUE(AutoScrollTimer()->isActive());
    EXPECT_EQ(memo_->TopRow(), 50);
    Tick();
    EXPECT_EQ(memo_->TopRow(), 49);
    Tick();
    EXPECT_EQ(memo_->TopRow(), 48);
    Mouse(QEvent::MouseMove, QPoint(Pixel(3, 55).x(), -30));
    Tick();
    EXPECT_EQ(memo_->TopRow(), 18);
    EXPECT_EQ(Caret().row, 18);
    EXPECT_EQ(memo_->SelEnd(), (CellPos{3, 55}));
    EXPECT_EQ(memo_->SelBegin().row, 18);

    // Back inside the window the timer stops; a release always stops it.
    Mouse(QEvent::MouseMove, Pixel(3, 20));
    EXPECT_FALSE(AutoScrollTimer()->isActive());
    Mouse(QEvent::MouseMove, QPoint(Pixel(3, 20).x(), memo_->viewport()->height() + 10));
    EXPECT_TRUE(AutoScrollTimer()->isActive());
    Tick();
    const int below = memo_->TopRow();
    Tick();
    EXPECT_EQ(memo_->TopRow(), below + 1);
    // Far below, the selection stops at the last line however long it waits.
    Mouse(QEvent::MouseMove, QPoint(Pixel(3, 20).x(), memo_->viewport()->height() + 100));
    for (int i = 0; i < 10; ++i)
        Tick();
    EXPECT_EQ(memo_->SelEnd().row, 99);
    EXPECT_EQ(memo_->TopRow(), 70);
    EXPECT_FALSE(memo_->SelectedText().empty());
    Mouse(QEvent::MouseButtonRelease, QPoint(0, 0));
    EXPECT_FALSE(AutoScrollTimer()->isActive());
}

TEST_F(MemoExTest, DoubleClickRaisesOnDblClickBeforeSelectingTheWord) {
    SizeTo(10, 40);
    Load({"print file: SALDO.TXT"});
    int calls = 0;
    bool selectedDuringCall = true;
    memo_->OnDblClick = [&](QObject* sender) {
        ++calls;
        EXPECT_EQ(sender, memo_);
        selectedDuringCall = memo_->SelAvail();
    };
    const QPoint at = Pixel(13, 0);
    Mouse(QEvent::MouseButtonPress, at);
    Mouse(QEvent::MouseButtonRelease, at);
    Mouse(QEvent::MouseButtonDblClick, at);
    Mouse(QEvent::MouseButtonRelease, at);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(selectedDuringCall);
    EXPECT_EQ(memo_->SelectedText(), "SALDO");
    EXPECT_EQ(Caret(), (CellPos{17, 0}));

    // On the separator right after a word, that word is taken.
    Click(Pixel(10, 0));
    Mouse(QEvent::MouseButtonDblClick, Pixel(10, 0));
    Mouse(QEvent::MouseButtonRelease, Pixel(10, 0));
    EXPECT_EQ(memo_->SelectedText(), "file");

    // A quick second press of another button is just a press: it moves the
    // caret and does not leave the preview.
    Click(Pixel(2, 0), Qt::RightButton);
    Mouse(QEvent::MouseButtonDblClick, Pixel(15, 0), Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, Pixel(15, 0), Qt::RightButton);
    EXPECT_GE(calls, 2);
    EXPECT_EQ(Caret(), (CellPos{15, 0}));
}

TEST_F(MemoExTest, ALoadClearsTheSelectionAndKeepsTheView) {
    SizeTo(10, 40);
    LoadNumbered(100);
    memo_->verticalScrollBar()->setValue(20);
    Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(memo_->SelAvail());
    const int top = memo_->TopRow();
    memo_->Lines().LoadFile(file_->Path());
    EXPECT_FALSE(memo_->SelAvail());
    EXPECT_EQ(memo_->TopRow(), top);
}

TEST_F(MemoExTest, HostileFilesLoadPaintAndNavigate) {
    SizeTo(20, 60);
    std::string high;
    for (int b = 128; b < 256; ++b)
        high.push_back(static_cast<char>(b));
    const std::vector<std::string> files = {
        std::string("ab\0cd\r\nef", 9),         // NUL ends the text
        std::string(100000, 'x') + "\r\nshort", // a very long line
        std::string(5000, 'y'),                 // no line break at all
        std::string(300, '\f'),                 // only form feeds
        high + "\r\n" + high,
    };
    for (const std::string& bytes : files) {
        file_ = std::make_unique<TempFile>(bytes);
        memo_->Lines().LoadFile(file_->Path());
        memo_->SetSelectionStart(0);
        memo_->SetSelectionLength(0);
        for (int key : {Qt::Key_End, Qt::Key_Right, Qt::Key_PageDown})
            Key(key, Qt::NoModifier);
        Key(Qt::Key_PageDown, Qt::ControlModifier);
        Key(Qt::Key_Left, Qt::ControlModifier);
        Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_FALSE(memo_->viewport()->grab().isNull());
        EXPECT_LE(memo_->CaretX(), memo_->Lines().MaxLineLength());
        EXPECT_LT(memo_->CaretY(), std::max(1, memo_->Lines().LineCount()));
    }
    EXPECT_EQ(memo_->Lines().MaxLineLength(), 100001);
}

TEST_F(MemoExTest, RightMarginBelowEightIsRefused) {
    memo_->SetRightMargin(8);
    EXPECT_THROW(memo_->SetRightMargin(7), EInvalidRightMarginValue);
    EXPECT_EQ(memo_->RightMargin(), 8);
}

TEST_F(MemoExTest, HidingTheViewerEndsItsPressDoubleClickAndDrag) {
    SizeTo(10, 40);
    LoadNumbered(50);
    // The preview turns to its list page on a double click; the closing release
    // then reaches the list, never the hidden viewer.
    memo_->OnDblClick = [this](QObject*) { memo_->hide(); };
    Mouse(QEvent::MouseButtonPress, Pixel(1, 0));
    Mouse(QEvent::MouseButtonRelease, Pixel(1, 0));
    Mouse(QEvent::MouseButtonDblClick, Pixel(1, 0));
    memo_->OnDblClick = nullptr;
    memo_->show();
    memo_->setFocus();
    Click(Pixel(4, 1));
    EXPECT_EQ(Caret(), (CellPos{4, 1}));

    // A drag outside the window stops scrolling once the viewer is hidden.
    Mouse(QEvent::MouseButtonPress, Pixel(3, 5));
    Mouse(QEvent::MouseMove, QPoint(Pixel(3, 5).x(), memo_->viewport()->height() + 40));
    ASSERT_TRUE(AutoScrollTimer()->isActive());
    memo_->hide();
    EXPECT_FALSE(AutoScrollTimer()->isActive());
}

TEST_F(MemoExTest, ALineHookThatLeavesNoAttributesStillPaints) {
    Load({"abc", "def"});
    int calls = 0;
    memo_->OnGetLineAttr = [&calls](QObject*, std::string_view, int, const TSelAttrs&,
                                    TLineAttrs& attrs) {
        ++calls;
        attrs.clear();
    };
    memo_->SetColor(memo_->Color());
    EXPECT_FALSE(memo_->viewport()->grab().isNull());
    Key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(memo_->viewport()->grab().isNull());
    EXPECT_GE(calls, 2);
}
