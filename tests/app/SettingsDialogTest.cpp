// "Nastavenia..." on an English desktop (LANG=en_US.UTF-8, set by the test
// main), where the host's Slovak text reads wrong until the code pages are set:
// the lists, the live sample, OK applying at once to the list and the open
// preview, a value of the system's file shown as such, Cancel changing nothing,
// and a new host folder checked and used.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "WhenShown.h"
#include "WindowControls.h"

#include "app/BrowserStart.h"
#include "app/Form1.h"
#include "app/SettingsDialog.h"
#include "platform/CodePages.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const char kPopis[] = "Zoznam žiakov - ŠOŠ hotelová, Žilina ľň";
const char kLine[] = "│ ŠOŠ hotelová Žilina  │";

SettingsDialog* ShownSettings() {
    return ShownTopLevel<SettingsDialog>("SettingsDialog");
}

QString Text(const QWidget* dialog, const char* label) {
    return dialog->findChild<QLabel*>(label)->text();
}

void Choose(QWidget* dialog, const char* list, int page) {
    auto* combo = dialog->findChild<QComboBox*>(list);
    combo->setCurrentIndex(combo->findData(page));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

class SettingsDialogTest : public ::testing::Test {
  protected:
    SettingsDialogTest() {
        qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_DIRS", system_.path().toUtf8());
        host_.WriteCatalog("Cis",
                           {{"SKOLA", kPopis, {2007, 12, 5}, "10:15", "SKOLA.TXT", 80, 60},
                            {"INE", "Iná zostava", {2007, 12, 6}, "11:00", "INE.TXT", 80, 60}});
        host_.WriteFile("Tla/SKOLA.TXT",
                        Oem852(std::string("ZOZNAM\r\n") + kLine + "\r\n└──┘\r\n"));
        host_.WriteFile("Tla/INE.TXT", "INE\r\n");
        WriteFile(UserFile(), "HostFolder=" + QByteArray::fromStdString(host_.AppFolder()) +
                                  "\n; kancelária\n");
    }
    static void WriteFile(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QString UserFile() const { return home_.filePath(QStringLiteral("tlacsub/tlacsub.ini")); }
    QString SystemFile() const { return system_.filePath(QStringLiteral("tlacsub/tlacsub.ini")); }
    void Start() {
        const auto settings = PrepareBrowser({});
        ASSERT_TRUE(settings);
        form_ = std::make_unique<TForm1>(settings->appFolder);
        form_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }
    // The list's row of an entry, or -1.
    int Row(const char* nazov) const {
        QAbstractItemModel* rows = Controls(*form_).rows;
        for (int row = 0; row < rows->rowCount(); ++row)
            if (rows->index(row, 0).data().toString().trimmed() == QLatin1String(nazov)) return row;
        return -1;
    }
    std::string Popis(const char* nazov) const {
        return Controls(*form_).rows->index(Row(nazov), 1).data().toString().toStdString();
    }

    QTemporaryDir home_;
    QTemporaryDir system_;
    HostFolder host_;
    std::unique_ptr<TForm1> form_;
    MessageBoxCatcher boxes_;
};

TEST_F(SettingsDialogTest, TheSlovakPagesTurnTheSampleThenTheListAndThePreviewRight) {
    Start();
    ASSERT_NE(Popis("SKOLA"), kPopis) << "this desktop reads the host's text right already";
    SelectEntry(*form_, Row("SKOLA") + 1);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);

    QStringList ansiItems;
    QString oemItem;
    std::string sampleBefore, samplePopis, sampleLine;
    WhenShown(ShownSettings, [&](SettingsDialog* dialog) {
        auto* ansi = dialog->findChild<QComboBox*>("SettingsAnsiCodePage");
        for (int i = 0; i < ansi->count(); ++i)
            ansiItems << ansi->itemText(i);
        auto* oem = dialog->findChild<QComboBox*>("SettingsOemCodePage");
        oemItem = oem->itemText(oem->findData(852));
        sampleBefore = Text(dialog, "SamplePopis").toStdString();
        Choose(dialog, "SettingsOemCodePage", 852);
        Choose(dialog, "SettingsAnsiCodePage", 1250);
        samplePopis = Text(dialog, "SamplePopis").toStdString();
        sampleLine = Text(dialog, "SampleLine").toStdString();
        dialog->accept();
    });
    // From the preview, with the key.
    QTest::keyClick(form_.get(), Qt::Key_Comma, Qt::ControlModifier);

    ASSERT_FALSE(ansiItems.isEmpty()) << "no settings dialog";
    EXPECT_EQ(ansiItems.front(), QString::fromUtf8("podľa jazyka systému"));
    EXPECT_TRUE(ansiItems.contains(QString::fromUtf8("1250 – Windows stredoeurópska")));
    EXPECT_EQ(oemItem, QString::fromUtf8("852 – DOS stredoeurópska (Latin 2)"));
    EXPECT_NE(sampleBefore, kPopis);
    EXPECT_EQ(samplePopis, kPopis);
    EXPECT_EQ(sampleLine, kLine);

    // Applied at once: the preview of the same entry, read again, and the list.
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    EXPECT_EQ(form_->windowTitle().toStdString(),
              std::string("Tlač súborov v1.2 - náhľad na súbor ") + kPopis);
    QTest::keyClick(Controls(*form_).MSubor, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(Controls(*form_).MSubor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              std::string("ZOZNAM\r\n") + kLine + "\r\n└──┘");
    QTest::keyClick(Controls(*form_).MSubor, Qt::Key_Escape);
    EXPECT_EQ(Popis("SKOLA"), kPopis);
    EXPECT_EQ(Controls(*form_).GrZozn->CurrentRow(), Row("SKOLA"));
    EXPECT_EQ(ReadAll(UserFile()), "HostFolder=" + QByteArray::fromStdString(host_.AppFolder()) +
                                       "\n; kancelária\nAnsiCodePage=1250\nOemCodePage=852\n");
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
}

TEST_F(SettingsDialogTest, AFindStillRunningOnThePreviewStopsBeforeTheSampleIsRead) {
    // Too many lines to search on the window's thread, and the text in none.
    std::string report;
    for (int line = 0; line < 250000; ++line)
        report += "INE\r\n";
    host_.WriteFile("Tla/INE.TXT", report);
    Start();
    SelectEntry(*form_, Row("INE") + 1);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    QTest::keyClick(form_.get(), Qt::Key_F, Qt::ControlModifier);
    Controls(*form_).findText->setText(QStringLiteral("zzz"));
    QTest::keyClick(Controls(*form_).findText, Qt::Key_Return);
    ASSERT_TRUE(Controls(*form_).searchBar->Searching());

    WhenShown(ShownSettings, [](SettingsDialog* dialog) { dialog->reject(); });
    QTest::keyClick(form_.get(), Qt::Key_Comma, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Controls(*form_).searchBar->Searching(); }));
    EXPECT_EQ(Controls(*form_).findNotice->text(), QString::fromUtf8("Hľadanie zastavené"));
}

TEST_F(SettingsDialogTest, AValueOfTheSystemsFileIsShownAsSuchAndCancelChangesNothing) {
    WriteFile(SystemFile(), "OemCodePage=852\n");
    Start();
    const QByteArray userFile = ReadAll(UserFile());
    const std::string popis = Popis("SKOLA");
    const int ansi = platform::AnsiCodePage();
    const int oem = platform::OemCodePage();

    QStringList oemNotes;
    QList<bool> ansiNoteShown;
    auto readAndCancel = [&](SettingsDialog* dialog) {
        oemNotes << Text(dialog, "SettingsOemNote");
        ansiNoteShown << dialog->findChild<QLabel*>("SettingsAnsiNote")->isVisibleTo(dialog);
        Choose(dialog, "SettingsAnsiCodePage", 1250);
        Choose(dialog, "SettingsOemCodePage", 437);
        dialog->findChild<QLineEdit*>("SettingsHostFolder")->setText(QStringLiteral("/tmp"));
        dialog->reject();
    };
    auto chooseSettings = [](QMenu* menu) {
        const QList<QAction*> actions = menu->actions();
        ASSERT_FALSE(actions.isEmpty());
        EXPECT_EQ(actions.front()->text(), QStringLiteral("Nastavenia..."));
        menu->setActiveAction(actions.front());
        QTest::keyClick(menu, Qt::Key_Return);
    };
    auto openMenu = [] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); };
    QComboBox* selector = Controls(*form_).cbMesiac;
    // A right click on the selector, then the menu key on it.
    WhenShown(openMenu, chooseSettings);
    WhenShown(ShownSettings, readAndCancel);
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            selector->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(selector, &click);
    WhenShown(openMenu, chooseSettings);
    WhenShown(ShownSettings, readAndCancel);
    selector->setFocus();
    QTest::keyClick(selector, Qt::Key_Menu);

    ASSERT_EQ(oemNotes.size(), 2);
    for (const QString& note : oemNotes) {
        EXPECT_TRUE(note.contains(QString::fromUtf8("852 – DOS stredoeurópska (Latin 2)")))
            << note.toStdString();
        EXPECT_TRUE(note.contains(SystemFile()));
    }
    EXPECT_EQ(ansiNoteShown, (QList<bool>{false, false}));
    EXPECT_EQ(ReadAll(UserFile()), userFile);
    EXPECT_EQ(platform::AnsiCodePage(), ansi);
    EXPECT_EQ(platform::OemCodePage(), oem);
    EXPECT_EQ(Popis("SKOLA"), popis);
}

TEST_F(SettingsDialogTest, ANewHostFolderIsCheckedAndUsedAtOnce) {
    HostFolder other;
    other.WriteCatalog("CIS", {{"MZDY", "Mzdy", {2007, 12, 7}, "8:00", "MZDY.TXT", 80, 60}});
    other.WriteCatalog("ZAL/OBD712/TLA",
                       {{"STARE", "Staré", {2007, 12, 1}, "8:00", "S.TXT", 80, 60}});
    HostFolder notHost;
    Start();
    bool typed = false;
    WhenShown(ShownSettings, [&](SettingsDialog* dialog) {
        auto* folder = dialog->findChild<QLineEdit*>("SettingsHostFolder");
        if (!typed) {
            folder->setText(QString::fromStdString(notHost.AppFolder()));
            dialog->accept(); // told, and the dialog stays
            typed = true;
            return false;
        }
        folder->setText(QString::fromStdString(other.AppFolder()));
        dialog->accept();
        return true;
    });
    QTest::keyClick(form_.get(), Qt::Key_Comma, Qt::ControlModifier);

    ASSERT_EQ(boxes_.Texts().size(), 1);
    EXPECT_TRUE(
        boxes_.Texts().front().contains(QString::fromUtf8("chýbajú priečinky Cis, Tla a Zal")));
    QComboBox* selector = Controls(*form_).cbMesiac;
    ASSERT_EQ(selector->count(), 3);
    EXPECT_EQ(selector->itemText(2), QStringLiteral("2007 / 12"));
    EXPECT_TRUE(ListShown(*form_));
    EXPECT_EQ(Controls(*form_).rows->rowCount(), 1);
    EXPECT_EQ(Row("MZDY"), 0);
    EXPECT_TRUE(ReadAll(UserFile())
                    .startsWith("HostFolder=" + QByteArray::fromStdString(other.AppFolder())));
}

} // namespace
