// The search across print files from the window: the pane over the list, its
// results, opening one in the preview, and the list left as it was.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "ShownWindow.h"
#include "WindowControls.h"

#include "app/Form1.h"
#include "platform/CodePages.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <tuple>

namespace {

constexpr int kWithin = 10000; // ms a search of a few files may take on a busy machine

struct PaneControls {
    explicit PaneControls(const QWidget& window) : controls(window) {}
    WindowControls controls;
    QWidget* pane = controls.Find<QWidget>("SearchPane");
    QLineEdit* text = controls.Find<QLineEdit>("SearchText");
    QComboBox* scope = controls.Find<QComboBox>("SearchScope");
    QPushButton* stop = controls.Find<QPushButton>("SearchStop");
    QTreeWidget* results = controls.Find<QTreeWidget>("SearchResults");
    QLabel* notice = controls.Find<QLabel>("SearchNotice");
    QLabel* failures = controls.Find<QLabel>("SearchFailures");
};

class SearchPaneTest : public ::testing::Test {
  protected:
    SearchPaneTest() {
        host_.WriteCatalog("Cis", CurrentMonth());
        host_.WriteFile("Tla/MZDY.TXT", Oem852("Výplatná páska\r\nJán Novák 1200\r\n"));
        // Three reports in two months hold the name once each; two entries of
        // one month share the name MZDY, and only the second has it.
        host_.WriteCatalog("Zal/Obd712/Tla",
                           {{"MZDY", "Mzdy za december", {2007, 12, 5}, "10:00", "M1.TXT"},
                            {"MZDY", "Mzdy za december", {2007, 12, 6}, "11:00", "M2.TXT"},
                            {"SKLAD", "Pohyb zásob", {2007, 12, 7}, "12:00", "S1.TXT"}});
        host_.WriteFile("Zal/Obd712/Tla/M1.TXT", Oem852("Mzdy\r\nNikto\r\n"));
        host_.WriteFile("Zal/Obd712/Tla/M2.TXT",
                        Oem852("Mzdy\r\n\r\nMeno        Suma\r\nJán Šťastný 1200\r\n"));
        host_.WriteFile("Zal/Obd712/Tla/S1.TXT", Oem852("\fDodávateľ šťastný a spol.\n"));
        host_.WriteCatalog("Zal/Obd711/Tla",
                           {{"MZDY", "Mzdy za november", {2007, 11, 5}, "10:00", "M1.TXT"}});
        host_.WriteFile("Zal/Obd711/Tla/M1.TXT", Oem852("a\rb\rc\r\tŠŤASTNÝ Ján\r"));
        host_.WriteCatalog("Zal/Obd710/Tla",
                           {{"MZDY", "Mzdy za október", {2007, 10, 5}, "10:00", "M1.TXT"}});
        // A name that differs only in its last letter's accent is another name.
        host_.WriteFile("Zal/Obd710/Tla/M1.TXT", Oem852("Šťastná\r\n"));
    }

    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mods);
    }

    // What the list shows and where its cursor is.
    std::tuple<int, int, std::string, bool> ListState() const {
        const WindowControls c(*form_);
        return {c.cbMesiac->currentIndex(), c.GrZozn->CurrentRow(),
                CatalogEntry::Current(form_->CatalogRecords()).Nazov, ListShown(*form_)};
    }

    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(SearchPaneTest, FindsTheThreeReportsOpensTheSecondAtItsMatchAndEscLeavesTheList) {
    ShowWindow(form_, host_);
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    const PaneControls pane(*form_);
    const WindowControls& c = pane.controls;
    SelectEntry(*form_, 2);
    c.GrZozn->setFocus();
    const auto before = ListState();

    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(pane.pane->isVisible());
    EXPECT_TRUE(pane.text->hasFocus());
    pane.text->setText(QString::fromUtf8("šťastný"));
    pane.scope->setCurrentIndex(1); // "Všetky mesiace"
    pane.text->setFocus();
    Key(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane.stop->isEnabled(); }, kWithin));

    // Exactly the three reports, each at its line, whatever order they came in.
    std::set<std::tuple<QString, QString, QString, QString>> rows;
    for (int row = 0; row < pane.results->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = pane.results->topLevelItem(row);
        rows.emplace(item->text(0), item->text(1), item->text(4), item->text(5));
    }
    const std::set<std::tuple<QString, QString, QString, QString>> expected = {
        {"2007 / 12", "MZDY", "4", QString::fromUtf8("Ján Šťastný 1200")},
        {"2007 / 12", "SKLAD", "1", QString::fromUtf8("♀Dodávateľ šťastný a spol.")},
        {"2007 / 11", "MZDY", "4", QString::fromUtf8("    ŠŤASTNÝ Ján")},
    };
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(pane.results->topLevelItemCount(), 3);
    EXPECT_EQ(pane.notice->text(), QString::fromUtf8("Výsledkov: 3"));
    // The current month's missing files are named under the results.
    EXPECT_TRUE(pane.failures->isVisible());
    EXPECT_TRUE(pane.failures->text().contains("KNIHA.TXT"));

    // Esc closes the pane: the list is as it was, the focus back in it.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(pane.pane->isVisible());
    EXPECT_EQ(ListState(), before);
    EXPECT_TRUE(c.GrZozn->hasFocus());

    // The list's context menu opens it again with the results kept.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        EXPECT_EQ(menu->actions().front()->text(),
                  QString::fromUtf8("Hľadať vo všetkých súboroch..."));
        menu->actions().front()->trigger();
        menu->close();
    });
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(20, 20),
                              c.GrZozn->viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(c.GrZozn->viewport(), &menuKey);
    ASSERT_TRUE(pane.pane->isVisible());
    ASSERT_EQ(pane.results->topLevelItemCount(), 3);
    // The popup took the window's activation for a moment.
    QApplication::setActiveWindow(form_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));

    // Enter on the second row: its month chosen, its entry current, the preview
    // at the match with the match selected.
    QTreeWidgetItem* second = pane.results->topLevelItem(1);
    const QString label = second->text(0);
    const QString nazov = second->text(1);
    const int line = second->text(4).toInt() - 1;
    pane.results->setCurrentItem(second);
    pane.results->setFocus();
    QTest::keyClick(pane.results, Qt::Key_Return);
    ASSERT_EQ(c.PStrany->currentWidget(), c.TabView);
    EXPECT_EQ(c.cbMesiac->currentText(), label);
    EXPECT_EQ(QString::fromStdString(CatalogEntry::Current(form_->CatalogRecords()).Nazov), nazov);
    ASSERT_TRUE(c.MSubor->SelAvail());
    EXPECT_EQ(c.MSubor->SelBegin().row, line);
    EXPECT_EQ(c.MSubor->SelEnd().row, line);
    EXPECT_EQ(c.MSubor->SelEnd().col - c.MSubor->SelBegin().col, 7);
    const int col = c.MSubor->SelBegin().col;
    EXPECT_EQ(QString::fromStdU16String(platform::OemToDisplay(c.MSubor->Lines().LineAt(line)))
                  .mid(col, 7)
                  .toLower(),
              QString::fromUtf8("šťastný"));

    // F3 goes on with the text searched for: the file has it once, so it wraps.
    ASSERT_TRUE(c.MSubor->hasFocus());
    Key(Qt::Key_F3);
    EXPECT_EQ(c.MSubor->SelBegin(), (CellPos{col, line}));
    EXPECT_EQ(c.findNotice->text(), QString::fromUtf8("Pokračuje sa od začiatku"));

    // Of the two entries named MZDY in December, the result opens the one whose
    // file has the name, whichever row it came in.
    Key(Qt::Key_Escape);
    Key(Qt::Key_Escape);
    ASSERT_EQ(c.PStrany->currentWidget(), c.TabZozn);
    c.GrZozn->setFocus();
    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(pane.pane->isVisible());
    const auto december = pane.results->findItems("2007 / 12", Qt::MatchExactly, 0);
    QTreeWidgetItem* mzdy = nullptr;
    for (QTreeWidgetItem* item : december)
        if (item->text(1) == "MZDY") mzdy = item;
    ASSERT_NE(mzdy, nullptr);
    pane.results->setCurrentItem(mzdy);
    pane.results->setFocus();
    QTest::keyClick(pane.results, Qt::Key_Return);
    ASSERT_EQ(c.PStrany->currentWidget(), c.TabView);
    EXPECT_EQ(CatalogEntry::Current(form_->CatalogRecords()).FilName, "M2.TXT");
    EXPECT_EQ(c.MSubor->SelBegin(), (CellPos{4, 3}));
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(SearchPaneTest, TheShownSourceAloneAndWhatCannotBeReadIsNamed) {
    ShowWindow(form_, host_);
    const PaneControls pane(*form_);
    ChooseSource(*form_, 2); // 2007 / 12
    pane.controls.GrZozn->setFocus();
    Key(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    // The current month's B-KNIHA and A-DPH are missing, but this is December's search.
    pane.text->setText(QString::fromUtf8("ŠŤASTNÝ"));
    pane.text->setFocus();
    Key(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane.stop->isEnabled(); }, kWithin));
    EXPECT_EQ(pane.results->topLevelItemCount(), 2);
    EXPECT_TRUE(pane.failures->isHidden());

    // Every month: the current month's missing files are named under the results.
    pane.scope->setCurrentIndex(1);
    pane.text->setFocus();
    Key(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane.stop->isEnabled(); }, kWithin));
    EXPECT_EQ(pane.results->topLevelItemCount(), 3);
    ASSERT_FALSE(pane.failures->isHidden());
    EXPECT_TRUE(pane.failures->text().contains("DPH.TXT")) << pane.failures->text().toStdString();
    EXPECT_TRUE(pane.failures->text().contains("KNIHA.TXT"));

    // A character the code page lacks: said at once, nothing searched.
    pane.text->setText(QString::fromUtf8("5 €"));
    pane.text->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(pane.results->topLevelItemCount(), 0);
    EXPECT_TRUE(pane.notice->text().contains("852"));

    // A search replaced at once by one that cannot start, or by no text at
    // all: it is stopped, and the pane is ready for the next one.
    const auto start = pane.controls.Find<QPushButton>("SearchStart");
    for (const char* next : {"5 €", ""}) {
        pane.text->setText(QString::fromUtf8("ŠŤASTNÝ"));
        Key(Qt::Key_Return);
        ASSERT_TRUE(pane.stop->isEnabled());
        pane.text->setText(QString::fromUtf8(next));
        Key(Qt::Key_Return);
        EXPECT_TRUE(start->isEnabled()) << next;
        EXPECT_FALSE(pane.stop->isEnabled()) << next;
        EXPECT_EQ(pane.results->topLevelItemCount(), 0) << next;
    }
}

} // namespace
