#include "app/CatalogGrid.h"
#include "app/CatalogModel.h"
#include "memtable/loxDisplay.h"
#include "memtable/loxMemTable.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using memtable::FieldValue;

// Days since 30 December 1899 of a date in December 2007.
memtable::TDateTime December2007(int day) {
    return {39416.0 + day};
}

class CatalogListTest : public ::testing::Test {
  protected:
    CatalogListTest() : table_(memtable::MakePrnData()) {}

    void Insert(const std::string& nazov, int day, const std::string& cas, int sirka = 80) {
        table_->InsertValues({FieldValue(nazov), FieldValue(std::string("Popis ") + nazov),
                              FieldValue(December2007(day)), FieldValue(cas),
                              FieldValue(nazov + ".TXT"), FieldValue(sirka), FieldValue(60)});
    }

    // Entries N00..N29 whose dates run the other way round than their names.
    void InsertThirty() {
        for (int i = 0; i < 30; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "N%02d", i);
            Insert(name, 30 - i, "10:00");
        }
    }

    void Show() {
        grid_ = std::make_unique<CatalogGrid>(model_.get(), nullptr);
        grid_->resize(500, 10 * grid_->verticalHeader()->defaultSectionSize() +
                               grid_->horizontalHeader()->height() + 2 * grid_->frameWidth());
        grid_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid_.get()));
    }

    std::string CurrentName() const { return table_->ValueText(table_->FieldNamed("Nazov")); }
    int ScreenRow() const { return grid_->CurrentRow() - grid_->TopRow(); }
    int SelectedRow() const {
        const auto rows = grid_->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().row() : -1;
    }

    std::unique_ptr<memtable::TloxMemTable> table_;
    std::unique_ptr<CatalogModel> model_ = std::make_unique<CatalogModel>(*table_, nullptr);
    std::unique_ptr<CatalogGrid> grid_;
};

TEST_F(CatalogListTest, ShowsEveryFieldAsTextWithItsAlignment) {
    table_->InsertValues({FieldValue(std::string("KNIHA  ")),
                          FieldValue(std::string("Kniha \xE8\x61s")), FieldValue(December2007(3)),
                          FieldValue(std::string("10:15:22")), FieldValue(std::string("KNIHA.TXT")),
                          FieldValue(-136), FieldValue(60)});
    Show();
    ASSERT_EQ(model_->columnCount(), 7);
    EXPECT_EQ(model_->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("Čas"));

    auto cell = [&](int column) { return model_->index(0, column).data().toString(); };
    EXPECT_EQ(cell(0), QStringLiteral("KNIHA  "));      // trailing blanks stay
    EXPECT_EQ(cell(1), QString::fromUtf8("Kniha čas")); // ANSI 1250 shown as Unicode
    EXPECT_EQ(cell(2).toStdString(), platform::AnsiToUtf8(platform::ShortDateText(2007, 12, 3)));
    EXPECT_EQ(cell(2), QStringLiteral("03.12.2007")); // the Slovak short date fits its column
    EXPECT_EQ(cell(3), QStringLiteral("10:15:22"));   // clipped by the cell, not cut
    EXPECT_EQ(cell(5), QStringLiteral("-136"));

    auto alignment = [&](int column) {
        return model_->index(0, column).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    for (int column : {0, 1, 2, 3, 4})
        EXPECT_EQ(alignment(column), Qt::AlignLeft) << column;
    for (int column : {5, 6})
        EXPECT_EQ(alignment(column), Qt::AlignRight) << column;
    EXPECT_FALSE(model_->flags(model_->index(0, 0)) & Qt::ItemIsEditable);

    // Fields left without a value show as empty cells, numbers included.
    table_->InsertValues({FieldValue(std::string("ZZ")), FieldValue(std::string("P"))});
    ASSERT_EQ(model_->rowCount(), 2);
    for (int column : {2, 3, 4, 5, 6})
        EXPECT_EQ(model_->index(1, column).data().toString(), QString()) << column;
}

TEST_F(CatalogListTest, LongTextIsClippedAtTheCellsEdge) {
    Insert("A", 1, "10:00");
    Insert("B", 1, std::string(20, 'M')); // wider than the Cas column
    Show();
    grid_->resize(1000, grid_->height()); // room for the columns after Popis
    const QRect cell = grid_->visualRect(model_->index(1, 3));
    const QImage image = grid_->viewport()->grab().toImage();
    const QColor base = grid_->palette().color(QPalette::Base);
    auto inkBetween = [&](int fromX, int toX) {
        for (int x = fromX; x <= toX; ++x)
            for (int y = cell.top() + memtable::kCellTextTop; y <= cell.bottom(); ++y)
                if (image.pixelColor(x, y) != base) return true;
        return false;
    };
    EXPECT_FALSE(inkBetween(cell.left(), cell.left() + memtable::kCellTextLeft - 1));
    // The last pixels of the cell carry text too, and nothing spills into the next cell.
    EXPECT_TRUE(inkBetween(cell.right() - 2, cell.right()));
    const QRect next = grid_->visualRect(model_->index(1, 4));
    EXPECT_FALSE(inkBetween(next.left(), next.left() + memtable::kCellTextLeft - 1));
}

TEST_F(CatalogListTest, EmptyTableShowsTitlesOnly) {
    Show();
    EXPECT_EQ(model_->rowCount(), 0);
    EXPECT_EQ(grid_->CurrentRow(), -1);
    EXPECT_TRUE(grid_->horizontalHeader()->isVisible());
    QTest::keyClick(grid_.get(), Qt::Key_Down);
    QTest::keyClick(grid_.get(), Qt::Key_End);
    EXPECT_EQ(table_->CursorPosition(), -1);
}

TEST_F(CatalogListTest, KeysMoveTheTablesCursorAndTheHighlightFollows) {
    InsertThirty();
    Show();
    const int visible = grid_->VisibleRowCount();
    ASSERT_GE(visible, 5);
    ASSERT_LT(visible, 30);
    EXPECT_EQ(table_->CursorPosition(), 1);
    EXPECT_EQ(SelectedRow(), 0);

    QTest::keyClick(grid_.get(), Qt::Key_Down);
    EXPECT_EQ(table_->CursorPosition(), 2);
    EXPECT_EQ(SelectedRow(), 1);
    QTest::keyClick(grid_.get(), Qt::Key_Up);
    QTest::keyClick(grid_.get(), Qt::Key_Up); // stops at the first record
    EXPECT_EQ(table_->CursorPosition(), 1);

    QTest::keyClick(grid_.get(), Qt::Key_PageDown);
    EXPECT_EQ(table_->CursorPosition(), 1 + visible);
    EXPECT_EQ(ScreenRow(), visible - 1); // scrolled only as far as needed
    QTest::keyClick(grid_.get(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(grid_->CurrentRow(), grid_->TopRow());
    QTest::keyClick(grid_.get(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(grid_->CurrentRow(), grid_->TopRow() + visible - 1);

    QTest::keyClick(grid_.get(), Qt::Key_End);
    EXPECT_EQ(table_->CursorPosition(), 30);
    EXPECT_EQ(SelectedRow(), 29);
    QTest::keyClick(grid_.get(), Qt::Key_Down); // stops at the last record
    EXPECT_EQ(table_->CursorPosition(), 30);
    QTest::keyClick(grid_.get(), Qt::Key_PageUp);
    EXPECT_EQ(table_->CursorPosition(), 30 - visible);
    QTest::keyClick(grid_.get(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(table_->CursorPosition(), 1);
    EXPECT_EQ(grid_->TopRow(), 0);

    // The list never edits: nothing is inserted, deleted or typed over.
    QTest::keyClick(grid_.get(), Qt::Key_Insert);
    QTest::keyClick(grid_.get(), Qt::Key_Delete, Qt::ControlModifier);
    QTest::keyClicks(grid_.get(), "XY");
    EXPECT_EQ(table_->RecordTotal(), 30);
    EXPECT_EQ(CurrentName(), "N00");
}

TEST_F(CatalogListTest, ScrollBarMovesTheCurrentRecordAndKeepsItInView) {
    InsertThirty();
    Show();
    const int visible = grid_->VisibleRowCount();
    ASSERT_LT(visible + 15, 30);
    QScrollBar* bar = grid_->RecordScrollBar();
    auto expectHighlightInView = [&](const char* step) {
        EXPECT_EQ(SelectedRow(), grid_->CurrentRow()) << step;
        EXPECT_GE(ScreenRow(), 0) << step;
        EXPECT_LT(ScreenRow(), visible) << step;
    };

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(table_->CursorPosition(), 2);
    EXPECT_EQ(grid_->TopRow(), 0); // no scrolling while the record is in view
    expectHighlightInView("line");
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(table_->CursorPosition(), 2 + visible);
    expectHighlightInView("page");
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(table_->CursorPosition(), 30);
    expectHighlightInView("end");
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(table_->CursorPosition(), 1);
    EXPECT_EQ(grid_->TopRow(), 0);

    // Dragging the thumb picks the record at its position, scrolled into view.
    bar->setSliderPosition(20);
    EXPECT_EQ(table_->CursorPosition(), 20);
    EXPECT_EQ(bar->value(), 20);
    expectHighlightInView("drag down");
    bar->setSliderPosition(1);
    EXPECT_EQ(table_->CursorPosition(), 1);
    EXPECT_EQ(grid_->TopRow(), 0);
    expectHighlightInView("drag up");
}

TEST_F(CatalogListTest, TheScrollBarStandsForTheCurrentRecord) {
    InsertThirty();
    Show();
    QScrollBar* bar = grid_->RecordScrollBar();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->minimum(), 1);
    EXPECT_EQ(bar->maximum(), 30);
    EXPECT_EQ(bar->value(), 1);
    // Moving down inside the window moves the thumb, though no row scrolls.
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(grid_.get(), Qt::Key_Down);
    EXPECT_EQ(grid_->TopRow(), 0);
    EXPECT_EQ(bar->value(), 4);
    QTest::keyClick(grid_.get(), Qt::Key_End);
    EXPECT_EQ(bar->value(), 30);
    table_->SetIndexName("RPrintD"); // N29 comes first by date
    EXPECT_EQ(bar->value(), 1);
    // It lies at the right edge of the titles and rows, the columns clear of it at the start.
    const QRect rows = grid_->viewport()->geometry();
    EXPECT_EQ(bar->geometry().right(), rows.right());
    EXPECT_EQ(bar->geometry().bottom(), rows.bottom());
    EXPECT_EQ(bar->geometry().top(), grid_->horizontalHeader()->y());
    grid_->resize(1000, grid_->height());
    int columns = 0;
    for (int column = 0; column < model_->columnCount(); ++column)
        columns += grid_->columnWidth(column);
    ASSERT_LE(columns, bar->x() - rows.left());
    EXPECT_FALSE(grid_->horizontalScrollBar()->isVisible());
    // Where the columns run under it, the last pixels can still be scrolled into view.
    grid_->resize(columns, grid_->height());
    QApplication::processEvents();
    ASSERT_TRUE(grid_->horizontalScrollBar()->isVisible());
    EXPECT_EQ(grid_->horizontalScrollBar()->maximum(), columns - (bar->x() - rows.left()));
}

TEST_F(CatalogListTest, TheWheelMovesTheCursorAlsoInSmallSteps) {
    InsertThirty();
    Show();
    auto turn = [&](int angle) {
        const QPointF at(20, 20);
        QWheelEvent wheel(at, grid_->viewport()->mapToGlobal(at), QPoint(), QPoint(0, angle),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid_->viewport(), &wheel);
    };
    turn(-2 * 120); // two notches down
    EXPECT_EQ(table_->CursorPosition(), 3);
    EXPECT_EQ(SelectedRow(), 2);
    // A touchpad's fractions of a notch add up to whole steps.
    for (int i = 0; i < 6; ++i)
        turn(-40);
    EXPECT_EQ(table_->CursorPosition(), 5);
    turn(120);
    EXPECT_EQ(table_->CursorPosition(), 4);
}

TEST_F(CatalogListTest, SwitchOfOrderKeepsTheEntryOnItsScreenRow) {
    InsertThirty();
    Show();
    const int visible = grid_->VisibleRowCount();
    // N20 on the third screen row: by date it stands at row 9, with enough before it.
    table_->MoveToPosition(21);
    grid_->scrollTo(model_->index(18, 0), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(ScreenRow(), 2);
    table_->SetIndexName("RPrintD");
    EXPECT_EQ(CurrentName(), "N20");
    EXPECT_EQ(grid_->CurrentRow(), 9);
    EXPECT_EQ(ScreenRow(), 2);
    EXPECT_EQ(SelectedRow(), 9);

    // N27 stands at row 2 by date: too few records before it, so the list starts at the top.
    table_->SetIndexName("RPrintN");
    table_->MoveToPosition(28);
    grid_->scrollTo(model_->index(28 - visible + 1, 0), QAbstractItemView::PositionAtTop);
    table_->SetIndexName("RPrintD");
    EXPECT_EQ(CurrentName(), "N27");
    EXPECT_EQ(grid_->TopRow(), 0);
    EXPECT_EQ(grid_->CurrentRow(), 2);
}

TEST_F(CatalogListTest, RefillingTheTableHighlightsTheTopRow) {
    InsertThirty();
    Show();
    QTest::keyClick(grid_.get(), Qt::Key_End);
    table_->GoFirst();
    while (!table_->AtEnd())
        table_->DeleteCurrent();
    EXPECT_EQ(model_->rowCount(), 0);
    Insert("B", 1, "08:00");
    Insert("A", 2, "09:00");
    EXPECT_EQ(model_->rowCount(), 2);
    EXPECT_EQ(CurrentName(), "A");
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(grid_->TopRow(), 0);
    EXPECT_EQ(model_->index(1, 0).data().toString(), QStringLiteral("B"));
}

} // namespace
