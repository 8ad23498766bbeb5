// What an office user reaches for beside the buttons: find in the preview, Enter
// and Esc, tooltips, and a list that follows the host's catalog on disk.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "WindowControls.h"

#include "app/CatalogGrid.h"
#include "app/CatalogModel.h"
#include "app/FindBar.h"
#include "app/Form1.h"
#include "viewer/MemoEx.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

constexpr int kWithin = 2000; // ms the list may take to follow the host

class EverydayUseTest : public ::testing::Test {
  protected:
    EverydayUseTest() {
        host_.WriteCatalog("Cis", CurrentMonth());
        host_.WriteFile("Tla/MZDY.TXT",
                        Oem852("Výplatná páska\r\nĽubica Malá 1200\r\n"
                               "Peter Veľký 900\r\n\fStrana 2\r\nĽUBICA KOVÁČ 50\r\n"));
        host_.WriteFile("Tla/DPH.TXT", Oem852("Daňové priznanie\r\n"));
    }

    void Start() {
        form_ = std::make_unique<TForm1>(host_.AppFolder());
        form_->show();
        QApplication::setActiveWindow(form_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    }

    std::string Current(const char* field) const {
        return form_->CatalogRecords().ValueText(form_->CatalogRecords().FieldNamed(field));
    }
    void SelectNazov(const std::string& nazov) {
        for (int position = 1; position <= form_->CatalogRecords().RecordTotal(); ++position) {
            SelectEntry(*form_, position);
            if (Current("Nazov") == nazov) return;
        }
        FAIL() << nazov;
    }
    int ScreenRow() const {
        return Controls(*form_).GrZozn->CurrentRow() - Controls(*form_).GrZozn->TopRow();
    }
    bool OnPreview() const {
        return Controls(*form_).PStrany->currentWidget() == Controls(*form_).TabView;
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mods);
    }
    void Preview(const std::string& nazov) {
        SelectNazov(nazov);
        Controls(*form_).GrZozn->setFocus();
        Key(Qt::Key_Return);
        ASSERT_TRUE(OnPreview());
    }
    // The viewer's selection as the clipboard gets it.
    QString Copied() {
        QApplication::clipboard()->clear();
        QTest::keyClick(Controls(*form_).MSubor, Qt::Key_C, Qt::ControlModifier);
        return QApplication::clipboard()->text();
    }
    CellPos SelBegin() const { return Controls(*form_).MSubor->SelBegin(); }
    static bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, kWithin);
    }

    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(EverydayUseTest, FindGoesBothWaysFromTheCaretWrapsAndCopiesTheMatch) {
    Start();
    Preview("C-MZDY");
    FindBar& bar = *Controls(*form_).searchBar;
    EXPECT_FALSE(bar.IsOpen());
    const QRect fullViewer = Controls(*form_).MSubor->geometry();
    Key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(bar.IsOpen());
    EXPECT_TRUE(Controls(*form_).findText->hasFocus());
    EXPECT_FALSE(Controls(*form_).findMatchCase->isChecked());
    // The bar takes the bottom strip of the viewer's place.
    EXPECT_EQ(Controls(*form_).MSubor->geometry().bottom(), bar.geometry().top() - 1);
    EXPECT_EQ(bar.geometry().bottom(), fullViewer.bottom());

    Controls(*form_).findText->setText(QString::fromUtf8("ľubica"));
    struct Step {
        int key;
        Qt::KeyboardModifiers mods;
        int line;
        const char* notice;
    };
    const std::vector<Step> steps = {
        {Qt::Key_Return, Qt::NoModifier, 1, ""},
        {Qt::Key_F3, Qt::NoModifier, 4, ""},
        {Qt::Key_F3, Qt::NoModifier, 1, "Pokračuje sa od začiatku"},
        {Qt::Key_F3, Qt::ShiftModifier, 4, "Pokračuje sa od konca"},
        {Qt::Key_Return, Qt::ShiftModifier, 1, ""},
    };
    for (const Step& step : steps) {
        Key(step.key, step.mods);
        EXPECT_TRUE(Controls(*form_).MSubor->SelAvail()) << step.line;
        EXPECT_EQ(SelBegin(), (CellPos{0, step.line}));
        EXPECT_EQ(Controls(*form_).MSubor->SelEnd(), (CellPos{6, step.line}));
        EXPECT_EQ(Controls(*form_).findNotice->text(), QString::fromUtf8(step.notice)) << step.line;
    }
    EXPECT_TRUE(Controls(*form_).findText->hasFocus());
    EXPECT_EQ(Copied(), QString::fromUtf8("Ľubica"));

    // Esc closes the bar, the viewer takes the focus and its whole place back;
    // F3 still finds, from the caret.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(bar.IsOpen());
    EXPECT_TRUE(Controls(*form_).MSubor->hasFocus());
    EXPECT_EQ(Controls(*form_).MSubor->geometry(), fullViewer);
    EXPECT_TRUE(OnPreview());
    Key(Qt::Key_F3);
    EXPECT_EQ(SelBegin(), (CellPos{0, 4}));
    EXPECT_EQ(Copied(), QString::fromUtf8("ĽUBICA"));
    EXPECT_FALSE(bar.IsOpen());
    // A wrap with the bar closed opens it to say so, the focus staying put.
    Key(Qt::Key_F3);
    EXPECT_TRUE(bar.IsOpen());
    EXPECT_EQ(Controls(*form_).findNotice->text(), QString::fromUtf8("Pokračuje sa od začiatku"));
    EXPECT_TRUE(Controls(*form_).MSubor->hasFocus());
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(EverydayUseTest, ShiftRightAfterAFindExtendsTheMatchNotAnOlderSelection) {
    Start();
    Preview("C-MZDY");
    // A selection of one character on line 3, then a find: the match becomes
    // the selection and the anchor of what Shift selects next.
    Controls(*form_).MSubor->SelectCells(CellPos{2, 3}, CellPos{2, 3});
    Key(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(Copied(), QString::fromUtf8("t"));
    Key(Qt::Key_F, Qt::ControlModifier);
    Controls(*form_).findText->setText(QString::fromUtf8("ľubica"));
    Key(Qt::Key_Return);
    ASSERT_EQ(SelBegin(), (CellPos{0, 4}));
    Controls(*form_).MSubor->setFocus();
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(SelBegin(), (CellPos{0, 4}));
    EXPECT_EQ(Controls(*form_).MSubor->SelEnd(), (CellPos{7, 4}));
    EXPECT_EQ(Copied(), QString::fromUtf8("ĽUBICA "));
}

TEST_F(EverydayUseTest, ALongFindRunsBesideTheWindowAndEscStopsIt) {
    // Some 20 MB of report lines and the name near the end: too much to search
    // on the window's thread.
    std::string report;
    const std::string line =
        Oem852("Položka    1 234,50  Sklad 7   ") + std::string(100, '=') + "\r\n";
    while (report.size() < (std::size_t{20} << 20))
        report += line;
    const int lastLine = static_cast<int>(report.size() / line.size());
    report += Oem852("Ľubica Malá\r\n");
    host_.WriteFile("Tla/MZDY.TXT", report);
    Start();
    Preview("C-MZDY");
    Key(Qt::Key_F, Qt::ControlModifier);
    Controls(*form_).findText->setText(QString::fromUtf8("ľubica"));
    Key(Qt::Key_Return);
    // The key returns before the search ends; the match arrives afterwards.
    EXPECT_FALSE(Controls(*form_).MSubor->SelAvail());
    EXPECT_EQ(Controls(*form_).findNotice->text(), QString::fromUtf8("Hľadá sa..."));
    ASSERT_TRUE(WaitFor([&] { return Controls(*form_).MSubor->SelAvail(); }));
    EXPECT_EQ(SelBegin(), (CellPos{0, lastLine}));
    EXPECT_TRUE(Controls(*form_).findNotice->text().isEmpty());

    // Esc stops the next search: its result, however far it got, is not shown,
    // and the bar stays open to say so; a second Esc closes it.
    Key(Qt::Key_F3);
    EXPECT_TRUE(Controls(*form_).searchBar->Searching());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Controls(*form_).searchBar->Searching());
    QCoreApplication::processEvents();
    EXPECT_EQ(SelBegin(), (CellPos{0, lastLine}));
    EXPECT_EQ(Controls(*form_).findNotice->text(), QString::fromUtf8("Hľadanie zastavené"));
    EXPECT_TRUE(Controls(*form_).searchBar->IsOpen());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Controls(*form_).searchBar->IsOpen());
    EXPECT_TRUE(OnPreview());

    // A search still running when the preview closes ends with it.
    Key(Qt::Key_F3);
    EXPECT_TRUE(Controls(*form_).searchBar->Searching());
    Controls(*form_).BZozn->click();
    EXPECT_FALSE(Controls(*form_).searchBar->Searching());
    EXPECT_FALSE(OnPreview());
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(EverydayUseTest, LetterCaseCountsOnlyWithTheToggleAndAccentsAlways) {
    Start();
    Preview("C-MZDY");
    Key(Qt::Key_F, Qt::ControlModifier);
    struct Case {
        const char* text;
        bool matchCase;
        int line; // -1: not found
    };
    const std::vector<Case> cases = {
        {"VEĽKÝ", false, 2},  {"VEĽKÝ", true, -1}, {"Veľký", true, 2},
        {"velky", false, -1}, {"kováč", false, 4}, {"Kováč", true, -1},
    };
    for (const Case& c : cases) {
        Controls(*form_).MSubor->SetSelectionStart(0);
        Controls(*form_).MSubor->SetSelectionLength(0);
        Controls(*form_).findMatchCase->setChecked(c.matchCase);
        Controls(*form_).findText->setText(QString::fromUtf8(c.text));
        Controls(*form_).findText->setFocus();
        Key(Qt::Key_Return);
        if (c.line < 0) {
            EXPECT_FALSE(Controls(*form_).MSubor->SelAvail()) << c.text;
            EXPECT_EQ(Controls(*form_).findNotice->text(), QString::fromUtf8("Text sa nenašiel"))
                << c.text;
        } else {
            EXPECT_EQ(SelBegin().row, c.line) << c.text;
            EXPECT_TRUE(Controls(*form_).findNotice->text().isEmpty()) << c.text;
        }
    }
}

TEST_F(EverydayUseTest, EnterInTheListPreviewsAndEscGoesBackLikeTheButtons) {
    host_.WriteCatalog("Zal/Obd712/Tla",
                       {{"STARY", "December", {2007, 12, 31}, "", "NIE.TXT", 80, 60}});
    Start();
    SelectNazov("A-DPH");
    Controls(*form_).GrZozn->setFocus();
    Key(Qt::Key_Enter);
    ASSERT_TRUE(OnPreview());
    EXPECT_TRUE(form_->windowTitle().endsWith(QString::fromUtf8("Daň z pridanej hodnoty")));
    EXPECT_TRUE(Controls(*form_).MSubor->hasFocus());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(OnPreview());
    EXPECT_TRUE(Controls(*form_).GrZozn->hasFocus());
    // Esc in the list leaves it as it is.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(OnPreview());

    // A missing file answers Enter as it answers the button.
    ChooseSource(*form_, 2);
    Key(Qt::Key_Return);
    EXPECT_FALSE(OnPreview());
    EXPECT_EQ(boxes_.Texts(), QStringList{QString::fromUtf8("Zvolený súbor neexistuje ...")});
}

TEST_F(EverydayUseTest, ReturnThatPicksASourceInThePopupOnlyLoadsIt) {
    // December's first entry has its file, November's has none: the Return
    // that picks either month must neither preview nor say the file is missing.
    host_.WriteCatalog("Zal/Obd712/Tla",
                       {{"STARY", "December", {2007, 12, 31}, "", "S.TXT", 80, 60}});
    host_.WriteFile("Zal/Obd712/Tla/S.TXT", "December\r\n");
    host_.WriteCatalog("Zal/Obd711/Tla",
                       {{"CHYBA", "November", {2007, 11, 30}, "", "NIE.TXT", 80, 60}});
    Start();
    struct Case {
        int item;
        const char* nazov;
        bool fileExists;
    };
    for (const Case& c : {Case{2, "STARY", true}, Case{3, "CHYBA", false}}) {
        SCOPED_TRACE(c.nazov);
        QComboBox* selector = Controls(*form_).cbMesiac;
        QTest::mouseClick(selector, Qt::LeftButton);
        QWindow* popup = selector->view()->window()->windowHandle();
        ASSERT_TRUE(popup != nullptr && QTest::qWaitForWindowExposed(popup));
        for (int row = selector->view()->currentIndex().row(); row < c.item; ++row)
            QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        ASSERT_EQ(selector->currentIndex(), c.item);
        EXPECT_EQ(Current("Nazov"), c.nazov);
        EXPECT_FALSE(OnPreview());
        EXPECT_TRUE(Controls(*form_).GrZozn->hasFocus());
        EXPECT_TRUE(boxes_.Texts().isEmpty());

        // The next Return, pressed in the list, previews as ever.
        Key(Qt::Key_Return);
        EXPECT_EQ(OnPreview(), c.fileExists);
        if (c.fileExists) Key(Qt::Key_Escape);
        const QStringList expected =
            c.fileExists ? QStringList{}
                         : QStringList{QString::fromUtf8("Zvolený súbor neexistuje ...")};
        EXPECT_EQ(boxes_.Texts(), expected);
        boxes_.Clear();
    }
}

TEST_F(EverydayUseTest, EveryButtonAndFieldSaysWhatItDoes) {
    Start();
    for (QAbstractButton* button : form_->findChildren<QAbstractButton*>()) {
        // Not Qt's own parts of the hidden tabs and of the list.
        if (button->objectName().isEmpty() || qobject_cast<QTabBar*>(button->parentWidget()))
            continue;
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
    }
    EXPECT_TRUE(Controls(*form_).EStr1->toolTip().startsWith(QString::fromUtf8("Od strany")));
    EXPECT_TRUE(Controls(*form_).EStr2->toolTip().startsWith(QString::fromUtf8("Po stranu")));
    for (QLineEdit* field : {Controls(*form_).EStr1, Controls(*form_).EStr2})
        EXPECT_TRUE(field->toolTip().contains(QString::fromUtf8("1 až 9999")));
    EXPECT_FALSE(Controls(*form_).cbMesiac->toolTip().isEmpty());
    EXPECT_FALSE(Controls(*form_).findText->toolTip().isEmpty());
    // The orientation toggle names the orientation it stands for now.
    EXPECT_TRUE(Controls(*form_).BOrient->toolTip().contains(QString::fromUtf8("na výšku (")));
    Controls(*form_).BOrient->click();
    EXPECT_TRUE(Controls(*form_).BOrient->toolTip().contains(QString::fromUtf8("na šírku (")));
}

TEST_F(EverydayUseTest, TheListFollowsTheHostKeepingTheCurrentEntryOnItsRow) {
    // More entries than the list shows, one a day, so the list can scroll.
    std::vector<CatalogEntry> month;
    for (int day = 1; day <= 60; ++day)
        month.push_back({"E" + std::to_string(100 + day),
                         "Zostava",
                         {2007, 1 + day / 29, 1 + day % 28},
                         "09:00",
                         "E" + std::to_string(day) + ".TXT",
                         80,
                         60});
    host_.WriteCatalog("Cis", month);
    Start();
    Controls(*form_).GrZozn->setFocus();
    Key(Qt::Key_Home);
    // Down to row 48, then back up: the row lies mid-window.
    for (int i = 0; i < 48; ++i)
        Key(Qt::Key_Down);
    for (int i = 0; i < 8; ++i)
        Key(Qt::Key_Up);
    const std::string nazov = Current("Nazov");
    const int row = ScreenRow();
    ASSERT_GT(row, 0);
    ASSERT_LT(row, Controls(*form_).GrZozn->VisibleRowCount() - 1);
    ASSERT_GT(Controls(*form_).GrZozn->TopRow(), 0);

    // The host adds an entry that comes first by date, and the next time one
    // that the current entry's place does not change for.
    month.push_back({"E000", "Nová", {2006, 12, 31}, "07:00", "E0.TXT", 80, 60});
    host_.WriteCatalog("Cis", month);
    ASSERT_TRUE(WaitFor([this] { return Controls(*form_).rows->rowCount() == 61; }));
    EXPECT_EQ(Controls(*form_).rows->index(0, 0).data().toString(), "E000");
    EXPECT_EQ(Current("Nazov"), nazov);
    EXPECT_EQ(Controls(*form_).GrZozn->CurrentRow(), 41);
    EXPECT_EQ(ScreenRow(), row);
    EXPECT_TRUE(Controls(*form_).GrZozn->hasFocus());

    // While the preview shows, the list waits; it catches up on the way back.
    host_.WriteFile("Tla/" + Current("FilName"), "Zostava\r\n");
    Controls(*form_).BView->click();
    ASSERT_TRUE(OnPreview());
    month.erase(month.begin()); // the entry of day 1 goes
    host_.WriteCatalog("Cis", month);
    ASSERT_TRUE(WaitFor([this] { return form_->ReloadPending(); }));
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 61);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(OnPreview());
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 60);
    EXPECT_EQ(Current("Nazov"), nazov);
    EXPECT_EQ(ScreenRow(), row);

    // An entry that is gone leaves the load's first entry current.
    std::erase_if(month, [&](const CatalogEntry& entry) { return entry.Nazov == nazov; });
    host_.WriteCatalog("Cis", month);
    ASSERT_TRUE(WaitFor([this] { return Controls(*form_).rows->rowCount() == 59; }));
    EXPECT_EQ(Controls(*form_).GrZozn->CurrentRow(), 0);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(EverydayUseTest, TheWatchFollowsTheSourceTheUserPicks) {
    std::vector<CatalogEntry> archived = {
        {"STARY", "December", {2007, 12, 31}, "", "S.TXT", 80, 60}};
    host_.WriteCatalog("Zal/Obd712/Tla", archived);
    Start();
    ChooseSource(*form_, 2);
    ASSERT_EQ(Controls(*form_).rows->rowCount(), 1);
    archived.push_back({"NOVY", "December", {2007, 12, 30}, "", "N.TXT", 80, 60});
    host_.WriteCatalog("Zal/Obd712/Tla", archived);
    ASSERT_TRUE(WaitFor([this] { return Controls(*form_).rows->rowCount() == 2; }));
    EXPECT_EQ(Current("Nazov"), "STARY");
}

TEST_F(EverydayUseTest, AHalfWrittenCatalogShowsTheBannerUntilTheHostFinishes) {
    Start();
    const std::string whole = host_.ReadFile("Cis/ZOZTLS.DBF");
    // Caught while the host writes it: cut inside the field descriptors.
    host_.WriteFile("Cis/ZOZTLS.DBF", whole.substr(0, 32 + 32 * 3 + 10));
    ASSERT_TRUE(WaitFor([this] { return !Controls(*form_).SText->isHidden(); }));
    EXPECT_TRUE(Controls(*form_).GrZozn->isHidden());
    EXPECT_FALSE(Controls(*form_).BView->isEnabled());

    // The host finishes by putting a whole new file in place of the old one.
    std::vector<CatalogEntry> more = CurrentMonth();
    more.push_back({"D-NOVY", "Nový", {2007, 12, 31}, "23:00", "NOVY.TXT", 80, 60});
    host_.WriteCatalog("Nove", more);
    std::filesystem::rename(host_.Path("Nove/ZOZTLS.DBF"), host_.Path("Cis/ZOZTLS.DBF"));
    ASSERT_TRUE(WaitFor([this] { return !Controls(*form_).GrZozn->isHidden(); }));
    EXPECT_TRUE(Controls(*form_).SText->isHidden());
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 4);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

} // namespace
