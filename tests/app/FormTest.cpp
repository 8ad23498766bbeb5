// The main window on a host folder built for each test, under the offscreen platform.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "ShownWindow.h"
#include "WindowControls.h"

#include "app/ButtonImages.h"
#include "app/CatalogGrid.h"
#include "app/CatalogModel.h"
#include "app/ErrorGuard.h"
#include "app/Form1.h"
#include "viewer/MemoEx.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <stdexcept>

namespace {

const QString kListTitle = QString::fromUtf8("Tlač súborov v1.2 - zoznam dostupných súborov");
const QString kPreviewPrefix = QString::fromUtf8("Tlač súborov v1.2 - náhľad na súbor ");
const QString kFileMissing = QString::fromUtf8("Zvolený súbor neexistuje ...");

class FormTest : public ::testing::Test {
  protected:
    FormTest() {
        host_.WriteCatalog("Cis", CurrentMonth());
        host_.WriteFile("Tla/MZDY.TXT", Oem852("Výplatná páska\r\nStrana 1\r\n\f"));
        host_.WriteFile("Tla/DPH.TXT", Oem852("Daňové priznanie\r\n"));
    }

    void Start() { ShowWindow(form_, host_); }

    QString Cell(int row, int column) const {
        return Controls(*form_).rows->index(row, column).data().toString();
    }
    QString CurrentNazov() const {
        return QString::fromStdString(
            form_->CatalogRecords().ValueText(form_->CatalogRecords().FieldNamed("Nazov")));
    }
    int SelectedRow() const {
        const auto rows = Controls(*form_).GrZozn->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.front().row() : -1;
    }
    // The selector's fill as drawn: one colour down a column of pixels between
    // the text and the arrow, so a gradient shows as no colour at all.
    QColor SelectorColour() const {
        const QImage image = Controls(*form_).cbMesiac->grab().toImage();
        const int x = image.width() - 28;
        const QColor fill = image.pixelColor(x, image.height() / 2);
        for (int y = 3; y < image.height() - 3; ++y)
            if (image.pixelColor(x, y) != fill) return QColor();
        return fill;
    }

    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(FormTest, StartsOnTheCurrentMonthByDateWithTheFirstEntryByNameSelected) {
    Start();
    EXPECT_EQ(form_->windowTitle(), kListTitle);
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
    EXPECT_EQ(Controls(*form_).cbMesiac->currentIndex(), 0);
    EXPECT_EQ(Controls(*form_).cbMesiac->currentText(), QString::fromUtf8("Aktuálny mesiac"));
    EXPECT_EQ(SelectorColour(), QColor(192, 255, 192));
    EXPECT_TRUE(ListShown(*form_));
    // By date and time: B, C, A; the entry first by name stays selected.
    EXPECT_EQ(Cell(0, 0), "B-KNIHA");
    EXPECT_EQ(Cell(1, 0), "C-MZDY");
    EXPECT_EQ(Cell(2, 0), "A-DPH");
    EXPECT_EQ(CurrentNazov(), "A-DPH");
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_EQ(Cell(0, 1), QString::fromUtf8("Kniha jázd"));
    EXPECT_TRUE(form_->IsPortrait());
    EXPECT_EQ(form_->CurrentSortState(), 2);
    EXPECT_EQ(form_->CurrentZoomLevel(), 3);
    EXPECT_TRUE(Controls(*form_).BMensie->isEnabled());
    EXPECT_TRUE(Controls(*form_).bVacsie->isEnabled());
    EXPECT_EQ(Controls(*form_).EStr1->displayText(), "   1");
    EXPECT_EQ(Controls(*form_).EStr2->displayText(), "9999");
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    // The current row keeps its highlight while the list has no focus.
    const QPalette palette = Controls(*form_).GrZozn->palette();
    EXPECT_EQ(palette.color(QPalette::Inactive, QPalette::Highlight),
              palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(palette.color(QPalette::Base), QColor(255, 225, 255));
}

TEST_F(FormTest, ArchivedMonthsAreOfferedNewestFirstAndLoadInPink) {
    host_.WriteCatalog("Zal/Obd611/Tla",
                       {{"STARY", "November", {2006, 11, 30}, "", "S.TXT", 80, 60}});
    host_.WriteCatalog("Zal/Obd712/Tla",
                       {{"POSLEDNY", "December", {2007, 12, 31}, "", "P.TXT", 80, 60},
                        {"DRUHY", "December", {2007, 12, 30}, "", "D.TXT", 80, 60}});
    host_.WriteCatalog("Zal/Obd701/Tla", {});
    host_.WriteFile("Zal/Obd702", "a file named like a period");
    Start();
    ASSERT_EQ(Controls(*form_).cbMesiac->count(), 5);
    EXPECT_EQ(Controls(*form_).cbMesiac->itemText(1), QString::fromUtf8("Kalkulácie jedál"));
    EXPECT_EQ(Controls(*form_).cbMesiac->itemText(2), "2007 / 12");
    EXPECT_EQ(Controls(*form_).cbMesiac->itemText(3), "2007 / 01");
    EXPECT_EQ(Controls(*form_).cbMesiac->itemText(4), "2006 / 11");

    ChooseSource(*form_, 2);
    EXPECT_EQ(SelectorColour(), QColor(255, 176, 208));
    EXPECT_TRUE(ListShown(*form_));
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 2);
    EXPECT_EQ(Cell(0, 0), "DRUHY"); // by date
    EXPECT_EQ(CurrentNazov(), "DRUHY");
    EXPECT_TRUE(Controls(*form_).GrZozn->hasFocus());

    // An empty catalog is a successful load, with no file to preview.
    ChooseSource(*form_, 3);
    EXPECT_TRUE(ListShown(*form_));
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 0);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts(), QStringList{kFileMissing});
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
}

TEST_F(FormTest, AMissingCatalogShowsTheBannerUntilAGoodLoad) {
    host_.WriteCatalog("Zal/Obd712/Tla", {{"X", "", {2007, 12, 1}, "", "X.TXT", 80, 60}});
    Start();
    std::filesystem::remove(host_.Path("Zal/Obd712/Tla/ZOZTLS.DBF"));
    ChooseSource(*form_, 2);
    EXPECT_TRUE(FailureShown(*form_));
    EXPECT_EQ(Controls(*form_).SText->text(),
              QString::fromUtf8("Nepodarilo sa načítať zoznam tlačových súborov"));
    EXPECT_TRUE(Controls(*form_).BRefr->isEnabled());
    EXPECT_TRUE(Controls(*form_).cbMesiac->isEnabled());
    // The order toggle is out of reach, and the order stays for the next load.
    EXPECT_EQ(form_->CurrentSortState(), 2);

    host_.WriteCatalog("Cis", {{"NOVY", "", {2008, 1, 2}, "", "N.TXT", 80, 60},
                               {"ALFA", "", {2008, 1, 5}, "", "A.TXT", 80, 60}});
    ChooseSource(*form_, 0);
    EXPECT_TRUE(ListShown(*form_));
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 2);
    // Still by date and time, with the first entry of that order current.
    EXPECT_EQ(Cell(0, 0), "NOVY");
    EXPECT_EQ(Cell(1, 0), "ALFA");
    EXPECT_EQ(CurrentNazov(), "NOVY");
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(FormTest, AFailedStartShowsTheBannerAndMovesNoFocus) {
    std::filesystem::remove(host_.Path("Cis/ZOZTLS.DBF"));
    Start();
    EXPECT_TRUE(FailureShown(*form_));
    EXPECT_EQ(form_->windowTitle(), kListTitle);
    host_.WriteCatalog("Cis", CurrentMonth());
    QTest::mouseClick(Controls(*form_).BRefr, Qt::LeftButton);
    EXPECT_TRUE(ListShown(*form_));
    EXPECT_TRUE(Controls(*form_).GrZozn->hasFocus());
}

TEST_F(FormTest, TheMealCalculationsComeFromTheSettingsTableWhichStaysUntouched) {
    host_.WriteCatalog("Kalk/Cis", {{"OBED", "Obedy", {2007, 12, 3}, "", "OBED.TXT", 80, 60}});
    host_.WriteFile("Kalk/Tla/OBED.TXT", "Obed\r\n");
    // The header's count lags behind the records: a table opened for writing
    // would get a new header and end-of-file byte.
    host_.WriteSettings(host_.Path("Kalk").string(), HostFolder::SettingsRecords::One, 0);
    const std::string before = host_.ReadFile("oposcis.dbf");
    Start();
    EXPECT_EQ(host_.ReadFile("oposcis.dbf"), before);
    ChooseSource(*form_, 1);
    EXPECT_EQ(SelectorColour(), QColor(192, 255, 192));
    ASSERT_TRUE(ListShown(*form_));
    EXPECT_EQ(CurrentNazov(), "OBED");
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    EXPECT_EQ(Controls(*form_).MSubor->Lines().LineAt(0), "Obed");
}

TEST_F(FormTest, WithoutASettingsTableTheMealCalculationsAreTheApplicationFoldersOwn) {
    // A relative folder resolves against the application folder, for the
    // catalog and for the print files alike.
    Start();
    ChooseSource(*form_, 1);
    ASSERT_TRUE(ListShown(*form_));
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 3);
    SelectEntry(*form_, 2); // C-MZDY
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
}

TEST_F(FormTest, TriedenieAlternatesTheOrdersKeepingTheSelectedEntry) {
    Start();
    SelectEntry(*form_, 2); // C-MZDY by date
    QTest::mouseClick(Controls(*form_).BOrder, Qt::LeftButton);
    EXPECT_EQ(form_->CurrentSortState(), 1);
    EXPECT_EQ(Cell(0, 0), "A-DPH");
    EXPECT_EQ(Cell(2, 0), "C-MZDY");
    EXPECT_EQ(CurrentNazov(), "C-MZDY");
    EXPECT_EQ(SelectedRow(), 2);
    QTest::mouseClick(Controls(*form_).BOrder, Qt::LeftButton);
    EXPECT_EQ(form_->CurrentSortState(), 2);
    EXPECT_EQ(Cell(0, 0), "B-KNIHA");
    EXPECT_EQ(CurrentNazov(), "C-MZDY");
    EXPECT_EQ(SelectedRow(), 1);
}

TEST_F(FormTest, TwoClicksOnTheOrientationToggleLeavePortrait) {
    Start();
    const QImage portrait = OrientationImage(true).toImage();
    const QImage landscape = OrientationImage(false).toImage();
    ASSERT_NE(portrait, landscape);
    auto shown = [&] { return Controls(*form_).BOrient->icon().pixmap(16, 16).toImage(); };
    EXPECT_EQ(shown(), portrait);
    QTest::mouseClick(Controls(*form_).BOrient, Qt::LeftButton);
    EXPECT_FALSE(form_->IsPortrait());
    EXPECT_EQ(shown(), landscape);
    QTest::mouseClick(Controls(*form_).BOrient, Qt::LeftButton);
    EXPECT_TRUE(form_->IsPortrait());
    EXPECT_EQ(shown(), portrait);
}

TEST_F(FormTest, PreviewShowsTheSelectedFileAndZoomsInSevenSteps) {
    Start();
    SelectEntry(*form_, 2); // C-MZDY
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    EXPECT_EQ(form_->windowTitle(), kPreviewPrefix + "Mzdy za december");
    ASSERT_EQ(Controls(*form_).MSubor->Lines().LineCount(), 3);
    EXPECT_EQ(Controls(*form_).MSubor->Lines().LineAt(0), Oem852("Výplatná páska"));
    EXPECT_EQ(Controls(*form_).MSubor->CaretX(), 0);
    EXPECT_EQ(Controls(*form_).MSubor->CaretY(), 0);
    EXPECT_EQ(Controls(*form_).MSubor->font().pixelSize(), 13); // the form's 10 points

    QTest::mouseClick(Controls(*form_).BMensie, Qt::LeftButton);
    QTest::mouseClick(Controls(*form_).BMensie, Qt::LeftButton);
    EXPECT_EQ(form_->CurrentZoomLevel(), 1);
    EXPECT_EQ(Controls(*form_).MSubor->font().pointSize(), 6);
    EXPECT_FALSE(Controls(*form_).BMensie->isEnabled());
    QTest::mouseClick(Controls(*form_).BMensie, Qt::LeftButton); // disabled: nothing happens
    EXPECT_EQ(form_->CurrentZoomLevel(), 1);
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(Controls(*form_).bVacsie, Qt::LeftButton);
    EXPECT_EQ(form_->CurrentZoomLevel(), 7);
    EXPECT_EQ(Controls(*form_).MSubor->font().pointSize(), 16);
    EXPECT_FALSE(Controls(*form_).bVacsie->isEnabled());
    EXPECT_TRUE(Controls(*form_).BMensie->isEnabled());
    QTest::mouseClick(Controls(*form_).BMensie, Qt::LeftButton);
    EXPECT_TRUE(Controls(*form_).bVacsie->isEnabled());

    // Back to the list, then a second file: the zoom stays, the caret starts over.
    QTest::mouseClick(Controls(*form_).BZozn, Qt::LeftButton);
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
    EXPECT_EQ(form_->windowTitle(), kListTitle);
    SelectEntry(*form_, 3); // A-DPH
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(form_->windowTitle(), kPreviewPrefix + QString::fromUtf8("Daň z pridanej hodnoty"));
    EXPECT_EQ(Controls(*form_).MSubor->Lines().LineCount(), 1);
    EXPECT_EQ(form_->CurrentZoomLevel(), 6);
    EXPECT_EQ(Controls(*form_).MSubor->font().pointSize(), 14);
}

TEST_F(FormTest, DoubleClicksOpenThePreviewAndReturnToTheList) {
    Start();
    const QRect row1 = Controls(*form_).GrZozn->visualRect(Controls(*form_).rows->index(1, 0));
    QTest::mouseDClick(Controls(*form_).GrZozn->viewport(), Qt::LeftButton, {}, row1.center());
    EXPECT_EQ(CurrentNazov(), "C-MZDY");
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    EXPECT_EQ(form_->windowTitle(), kPreviewPrefix + "Mzdy za december");
    QTest::mouseDClick(Controls(*form_).MSubor->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
    EXPECT_EQ(form_->windowTitle(), kListTitle);

    // Below the last row the list's double click still previews the current entry.
    const QPoint belowRows(row1.center().x(), Controls(*form_).GrZozn->viewport()->height() - 5);
    ASSERT_EQ(Controls(*form_).GrZozn->rowAt(belowRows.y()), -1);
    QTest::mouseDClick(Controls(*form_).GrZozn->viewport(), Qt::LeftButton, {}, belowRows);
    EXPECT_EQ(CurrentNazov(), "C-MZDY");
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
}

TEST_F(FormTest, TheFocusFollowsToTheShownPage) {
    host_.WriteFile("Tla/MZDY.TXT", std::string(200, 'x') + "\r\n" + "riadok\r\n");
    Start();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    SelectEntry(*form_, 2); // C-MZDY
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    // The preview takes the keys at once, without a click into it first.
    EXPECT_EQ(QApplication::focusWidget(), Controls(*form_).MSubor);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Controls(*form_).MSubor->CaretY(), 1);

    QTest::mouseClick(Controls(*form_).BZozn, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), Controls(*form_).GrZozn);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(CurrentNazov(), "B-KNIHA");

    // A double click in the preview hands the focus back to the list as well.
    SelectEntry(*form_, 2);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    QTest::mouseDClick(Controls(*form_).MSubor->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
    EXPECT_EQ(QApplication::focusWidget(), Controls(*form_).GrZozn);

    // A focus outside the pages, in a page field, stays where the user put it.
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    Controls(*form_).EStr1->setFocus();
    QTest::keyClick(Controls(*form_).EStr1, Qt::Key_Escape);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
    EXPECT_EQ(QApplication::focusWidget(), Controls(*form_).EStr1);
}

TEST_F(FormTest, AMissingPrintFileIsReportedAndNothingElseChanges) {
    Start();
    // B-KNIHA has no print file; a folder of its name is no file either.
    SelectEntry(*form_, 1);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts(), QStringList{kFileMissing});
    std::filesystem::create_directories(host_.Path("Tla/KNIHA.TXT"));
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts().size(), 2);
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
    EXPECT_EQ(form_->windowTitle(), kListTitle);
    // Printing makes the same check before anything else.
    boxes_.Clear();
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts(), QStringList{kFileMissing});
}

TEST_F(FormTest, ResizingKeepsTheAnchors) {
    Start();
    // The pages fill the window; their bottom row lines up with the window's own.
    EXPECT_EQ(Controls(*form_).TabZozn->size(), form_->size());
    auto inWindow = [&](QWidget* control) {
        return QRect(control->mapTo(form_.get(), QPoint(0, 0)), control->size());
    };
    EXPECT_EQ(inWindow(Controls(*form_).GrZozn), QRect(4, 3, 656, 418));
    EXPECT_EQ(inWindow(Controls(*form_).BView), QRect(4, 424, 70, 25));
    EXPECT_EQ(inWindow(Controls(*form_).BTlac), QRect(499, 424, 70, 25));
    EXPECT_EQ(inWindow(Controls(*form_).EStr1), QRect(383, 426, 33, 21));
    const QRect list = Controls(*form_).GrZozn->geometry();
    const QRect view = Controls(*form_).BView->geometry();
    const QRect print = Controls(*form_).BTlac->geometry();
    const QRect banner = Controls(*form_).SText->geometry();
    form_->resize(form_->size() + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(Controls(*form_).GrZozn->geometry(), list.adjusted(0, 0, 200, 100));
    EXPECT_EQ(Controls(*form_).BView->geometry(), view.translated(0, 100));
    EXPECT_EQ(Controls(*form_).BTlac->geometry(), print.translated(200, 100));
    EXPECT_EQ(Controls(*form_).SText->geometry(), banner);
    form_->resize(100, 100);
    EXPECT_GE(form_->width(), form_->minimumWidth());
    EXPECT_GE(form_->height(), form_->minimumHeight());
}

TEST_F(FormTest, AtItsStartSizeTheListShowsEveryColumnWhole) {
    Start();
    CatalogGrid* list = Controls(*form_).GrZozn;
    QHeaderView* titles = list->horizontalHeader();
    // The columns are sized from the list font's "0", 6 pixels wide as in the original.
    EXPECT_EQ(QFontMetrics(list->font()).horizontalAdvance(QLatin1Char('0')), 6);
    int sum = 0;
    for (int column = 0; column < 7; ++column)
        sum += list->columnWidth(column);
    EXPECT_LE(sum, list->viewport()->width());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());

    // The last title, "Dĺžka", is drawn inside the visible grid of a grab of the window.
    const QRect title =
        QRect(titles->sectionViewportPosition(6), 0, titles->sectionSize(6), titles->height())
            .translated(titles->mapTo(form_.get(), QPoint(0, 0)));
    const QRect grid(list->mapTo(form_.get(), QPoint(0, 0)), list->size());
    ASSERT_TRUE(grid.contains(title))
        << title.x() << "+" << title.width() << " beyond " << grid.right();
    const QImage shot = form_->grab().toImage();
    int ink = 0;
    for (int y = title.top(); y <= title.bottom(); ++y)
        for (int x = title.left(); x <= title.right(); ++x)
            ink += qGray(shot.pixel(x, y)) < 96;
    EXPECT_GT(ink, 15) << "no title text in the Dlzka column's heading";
}

TEST_F(FormTest, ShrinkingTheWindowKeepsTheSelectedRowInView) {
    std::vector<CatalogEntry> entries;
    for (int i = 0; i < 12; ++i) {
        const std::string name = "E" + std::to_string(10 + i);
        entries.push_back(
            {name, "Popis " + name, {2007, 12, 1 + i}, "10:00", name + ".TXT", 80, 60});
    }
    host_.WriteCatalog("Cis", entries);
    Start();
    // Every row fits the large window; the small one brings both scroll bars
    // (the user has widened a column), and the row must not end up under the
    // horizontal one.
    Controls(*form_).GrZozn->setColumnWidth(1, 500);
    form_->resize(1200, 850);
    QApplication::processEvents();
    SelectEntry(*form_, 9);
    form_->resize(form_->minimumSize());
    QApplication::processEvents();
    CatalogGrid* list = Controls(*form_).GrZozn;
    ASSERT_TRUE(list->horizontalScrollBar()->isVisible());
    const QRect row = list->visualRect(Controls(*form_).rows->index(8, 0));
    EXPECT_TRUE(list->viewport()->rect().contains(row))
        << "row " << row.top() << "-" << row.bottom() << ", rows' area "
        << list->viewport()->height() << " high";
    EXPECT_EQ(SelectedRow(), 8);
}

// A widget whose key handler fails, as a handler of the tool may.
class FailingWidget : public QWidget {
  protected:
    void keyPressEvent(QKeyEvent*) override {
        throw std::runtime_error("Súbor sa nedá čítať: KNIHA.TXT");
    }
};

TEST_F(FormTest, AnErrorNoHandlerCatchesIsShownAndTheWindowStaysUsable) {
    Start();
    // Through the guard every bound handler runs in.
    RunGuarded([] { throw std::runtime_error("Chyba tlačiarne: žiadna tlačiareň"); });
    EXPECT_EQ(boxes_.Texts(), QStringList{QString::fromUtf8("Chyba tlačiarne: žiadna tlačiareň")});
    // Running out of memory is said in Slovak, not in the library's words.
    RunGuarded([] { throw std::bad_alloc(); });
    EXPECT_EQ(boxes_.Texts().back(), QString::fromUtf8("Na túto činnosť nie je dosť pamäte."));
    // And from any event of any widget, through the application itself.
    FailingWidget failing;
    failing.show();
    QTest::keyClick(&failing, Qt::Key_A);
    EXPECT_EQ(boxes_.Texts().size(), 3);
    EXPECT_EQ(boxes_.Texts().back(), QString::fromUtf8("Súbor sa nedá čítať: KNIHA.TXT"));
    // The window goes on working.
    QTest::mouseClick(Controls(*form_).BOrient, Qt::LeftButton);
    EXPECT_FALSE(form_->IsPortrait());
    SelectEntry(*form_, 2);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
}

TEST_F(FormTest, KoniecClosesTheWindow) {
    Start();
    QTest::mouseClick(Controls(*form_).bStop, Qt::LeftButton);
    EXPECT_FALSE(form_->isVisible());
    EXPECT_FALSE(form_->CatalogTableOpen());
}

} // namespace
