// The window's printing choices end to end through the private CUPS scheduler,
// each case on queues of its own: what the spooler answers reaches the user,
// BTlac's context menu prints on another printer or keeps a PDF file, and
// Ctrl+P prints from either page.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "ShownWindow.h"
#include "WhenShown.h"
#include "WindowControls.h"

#include "app/CatalogGrid.h"
#include "app/ErrorGuard.h"
#include "app/Form1.h"
#include "app/print/Spooler.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"
#include "tests/print/SchedulerTimeoutFor.h"
#include "tests/print/SmallFileSystem.h"
#include "viewer/MemoEx.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <QContextMenuEvent>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <type_traits>

namespace {

using testing_cups::PausedScheduler;
using testing_cups::PdfDarkPixels;
using testing_cups::PdfPages;
using testing_cups::PdfPageText;
using testing_cups::PrivateCups;
using testing_cups::RunCommand;
using testing_cups::SchedulerTimeoutFor;
using testing_cups::SmallFileSystem;

// Three pages, each ended by a form feed and headed by its number.
std::string ThreePageReport() {
    std::string report;
    for (int page = 1; page <= 3; ++page) {
        report += "PASKY  STRANA " + std::to_string(page) + "\r\n";
        for (int row = 1; row <= 20; ++row)
            report += "  Novak Jan              1234,50\r\n";
        report += std::string(80, '\xC4') + "\f\r\n";
    }
    return report;
}

QMenu* OpenMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// Chooses an entry of the next popup menu by the start of its text, with the keyboard.
void ChooseFromNextMenu(const QString& entry) {
    WhenShown(OpenMenu, [entry](QMenu* menu) {
        for (QAction* action : menu->actions())
            if (action->isEnabled() && action->text().startsWith(entry))
                menu->setActiveAction(action);
        QTest::keyClick(menu, menu->activeAction() != nullptr ? Qt::Key_Return : Qt::Key_Escape);
    });
}

// A right click as the window system reports it to the widget.
void RightClick(QWidget* widget) {
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            widget->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(widget, &event);
}

class PrintChoicesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cups_ = &PrivateCups::ForThisProcess();
        host_.WriteCatalog(
            "Cis", {{"PASKY", "Výplatné pásky", {2007, 12, 5}, "10:15", "PASKY.TXT", 80, 60},
                    {"INE", "Iná zostava", {2007, 12, 6}, "11:00", "PASKY.TXT", 80, 60}});
        host_.WriteFile("Tla/PASKY.TXT", ThreePageReport());
    }
    void TearDown() override {
        form_.reset();
        for (const std::string& queue : queues_)
            cups_->RemovePrinter(queue);
    }
    std::filesystem::path Output(const std::string& queue) const {
        return cups_->Folder() / "out" / (queue + ".pdf");
    }
    void AddPrinter(const std::string& queue, bool makeDefault = true) {
        std::filesystem::remove(Output(queue));
        cups_->AddPdfPrinter(queue, Output(queue), makeDefault);
        queues_.push_back(queue);
    }
    void Start() { ShowWindow(form_, host_); }
    bool WaitForBox() {
        return QTest::qWaitFor([&] { return !boxes_.Texts().isEmpty(); }, 60000);
    }

    PrivateCups* cups_ = nullptr;
    std::vector<std::string> queues_;
    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(PrintChoicesTest, TheSpoolersAnswersReachTheUser) {
    // A queue that rejects jobs: an error naming printer and reason, no job.
    AddPrinter("tlacsub-win-rejecting");
    cups_->RejectJobs("tlacsub-win-rejecting", "Servis tlačiarne");
    Start();
    const int jobsBefore = cups_->SubmittedJobs();
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    ASSERT_EQ(boxes_.Texts().size(), 1);
    EXPECT_TRUE(boxes_.Texts()[0].contains("tlacsub-win-rejecting"))
        << boxes_.Texts()[0].toStdString();
    EXPECT_TRUE(boxes_.Texts()[0].contains("Servis tlačiarne")) << boxes_.Texts()[0].toStdString();
    EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::Critical});
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);

    // A stopped queue: the job is taken and waits, and the user is told so.
    boxes_.Clear();
    AddPrinter("tlacsub-win-stopped");
    cups_->StopQueue("tlacsub-win-stopped", "Zaseknutý papier");
    ChooseFromNextMenu("tlacsub-win-stopped");
    RightClick(Controls(*form_).BTlac);
    ASSERT_TRUE(WaitForBox());
    EXPECT_EQ(boxes_.Texts(), QStringList{QString::fromStdString(
                                  print::PrinterStoppedNotice("tlacsub-win-stopped"))});
    EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::NoIcon});
    EXPECT_EQ(cups_->WaitingJobs("tlacsub-win-stopped"), 1);

    // A device that fails: told after the fact, though the user has moved on.
    boxes_.Clear();
    cups_->AddFailingPrinter("tlacsub-win-failing");
    queues_.push_back("tlacsub-win-failing");
    ChooseFromNextMenu("tlacsub-win-failing");
    RightClick(Controls(*form_).BTlac);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    QTest::keyClick(Controls(*form_).GrZozn, Qt::Key_Down);
    ASSERT_TRUE(WaitForBox());
    EXPECT_TRUE(boxes_.Texts()[0].contains("tlacsub-win-failing"))
        << boxes_.Texts()[0].toStdString();
    EXPECT_TRUE(boxes_.Texts()[0].contains("prerušená")) << boxes_.Texts()[0].toStdString();
    EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::Critical});
}

TEST_F(PrintChoicesTest, TheContextMenuPrintsOnceOnAnotherPrinter) {
    AddPrinter("tlacsub-win-default");
    AddPrinter("tlacsub-win-second", false);
    Start();
    ChooseFromNextMenu("tlacsub-win-second");
    RightClick(Controls(*form_).BTlac);
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(PdfPages(Output("tlacsub-win-second")), 3);
    EXPECT_FALSE(std::filesystem::exists(Output("tlacsub-win-default")));
    EXPECT_EQ(print::DefaultPrinterName(), "tlacsub-win-default");

    // The menu key on the focused button opens the same menu; the default is marked.
    QString defaultEntry;
    auto readMenu = [&](QMenu* menu) {
        for (QAction* action : menu->actions())
            if (action->text().startsWith("tlacsub-win-default")) defaultEntry = action->text();
        menu->close();
    };
    Controls(*form_).BTlac->setFocus();
    WhenShown(OpenMenu, readMenu);
    QTest::keyClick(Controls(*form_).BTlac, Qt::Key_Menu);
    EXPECT_EQ(defaultEntry, "tlacsub-win-default (predvolená)");
    // Where the platform turns the key into a context-menu event, the menu opens once.
    defaultEntry.clear();
    int menus = 0;
    WhenShown(OpenMenu, [&](QMenu* menu) { ++menus, readMenu(menu); });
    QTimer* second = WhenShown(OpenMenu, [&](QMenu* menu) { ++menus, readMenu(menu); });
    QTest::keyClick(Controls(*form_).BTlac, Qt::Key_Menu);
    QContextMenuEvent fromKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                              Controls(*form_).BTlac->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(Controls(*form_).BTlac, &fromKey);
    QTest::qWait(100);
    delete second;
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(defaultEntry, "tlacsub-win-default (predvolená)");
}

TEST_F(PrintChoicesTest, CtrlPPrintsFromTheListAndFromThePreview) {
    AddPrinter("tlacsub-win-ctrlp");
    Start();
    const int jobsBefore = cups_->SubmittedJobs();
    Controls(*form_).GrZozn->setFocus();
    QTest::keyClick(Controls(*form_).GrZozn, Qt::Key_P, Qt::ControlModifier);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    QTest::keyClick(Controls(*form_).MSubor, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore + 2);
}

TEST_F(PrintChoicesTest, SavingAsPdfWritesTheSheetsAndAsksBeforeReplacing) {
    Start(); // no printer at all: A4
    const std::filesystem::path file = cups_->Folder() / "out" / "pasky.pdf";
    std::filesystem::create_directories(file.parent_path());
    std::filesystem::remove(file);

    // The menu entry asks for the file, offering the selected entry's name (the
    // first by name is selected at start).
    QString offered;
    WhenShown([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
              [&](QFileDialog* dialog) {
                  offered = dialog->selectedFiles().value(0);
                  dialog->reject();
              });
    ChooseFromNextMenu("Uložiť do PDF...");
    RightClick(Controls(*form_).BTlac);
    EXPECT_TRUE(offered.endsWith("/INE.pdf")) << offered.toStdString();

    auto saveAs = [&](const std::filesystem::path& name) {
        // Guarded as the menu's handler is.
        RunGuarded([&] { form_->SavePdfTo(QString::fromStdString(name.string())); });
    };
    saveAs(file.parent_path() / "pasky"); // the suffix is added
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
    ASSERT_EQ(PdfPages(file), 3);
    for (int page = 1; page <= 3; ++page)
        EXPECT_GT(PdfDarkPixels(file, page), 0) << "page " << page;

    // The same name again: kept when the user says no, replaced when yes.
    Controls(*form_).EStr1->setText("2");
    Controls(*form_).EStr2->setText("3");
    saveAs(file);
    EXPECT_EQ(boxes_.Texts().size(), 1);
    EXPECT_EQ(PdfPages(file), 3);
    boxes_.AnswerQuestionsWith(QMessageBox::Yes);
    saveAs(file);
    ASSERT_EQ(PdfPages(file), 2);
    EXPECT_NE(PdfPageText(file, 1).find("STRANA 2"), std::string::npos);
    EXPECT_NE(PdfPageText(file, 2).find("STRANA 3"), std::string::npos);

    // A file that cannot be written: told, and nothing is left there.
    boxes_.Clear();
    saveAs(file / "pod-suborom.pdf");
    ASSERT_EQ(boxes_.Texts().size(), 1);
    EXPECT_TRUE(boxes_.Texts()[0].contains("pod-suborom.pdf"));
    EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::Critical});
    EXPECT_EQ(PdfPages(file), 2);
}

TEST_F(PrintChoicesTest, AStoppedSchedulerNeitherFreezesTheWindowNorFailsInSilence) {
    AddPrinter("tlacsub-win-paused");
    cups_->StopQueue("tlacsub-win-paused", "Zaseknutý papier");
    Start();
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    // The job waits in the stopped queue, so it is followed from now on.
    ASSERT_TRUE(WaitForBox());
    boxes_.Clear();
    {
        // Each question about the job may now wait long for an answer; the window must not.
        const SchedulerTimeoutFor patient(std::chrono::minutes(2));
        const PausedScheduler paused(*cups_, std::chrono::seconds(20));
        QTest::qWait(2000);
        QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
        EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
        EXPECT_FALSE(paused.ResumedByLimit()) << "the window waited for the scheduler";
    }
    {
        const SchedulerTimeoutFor bound(std::chrono::seconds(1));
        const PausedScheduler paused(*cups_);
        const int jobsBefore = cups_->SubmittedJobs();
        QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
        ASSERT_EQ(boxes_.Texts().size(), 1);
        EXPECT_TRUE(boxes_.Texts()[0].contains("tlacsub-win-paused"))
            << boxes_.Texts()[0].toStdString();
        EXPECT_TRUE(boxes_.Texts()[0].contains("tlačový systém neodpovedá"))
            << boxes_.Texts()[0].toStdString();
        EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::Critical});

        QString unavailable;
        WhenShown(OpenMenu, [&](QMenu* menu) {
            for (QAction* action : menu->actions())
                if (!action->isEnabled() && !action->isSeparator()) unavailable = action->text();
            menu->close();
        });
        RightClick(Controls(*form_).BTlac);
        EXPECT_TRUE(unavailable.contains("tlačový systém neodpovedá")) << unavailable.toStdString();
        EXPECT_FALSE(paused.ResumedByLimit()) << "the window waited for the scheduler";
        EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
    }
}

TEST_F(PrintChoicesTest, SavingAsPdfOnAFullDiskTellsWhyAndLeavesNoFile) {
    if (!SmallFileSystem::CanMount()) GTEST_SKIP() << "mounting a small file system needs root";
    const SmallFileSystem disk(4096);
    Start();
    const std::filesystem::path file = disk.Folder() / "pasky.pdf";
    RunGuarded([&] { form_->SavePdfTo(QString::fromStdString(file.string())); });
    ASSERT_EQ(boxes_.Texts().size(), 1);
    EXPECT_TRUE(boxes_.Texts()[0].contains(QString::fromStdString(file.string())))
        << boxes_.Texts()[0].toStdString();
    EXPECT_TRUE(boxes_.Texts()[0].contains(QString::fromLocal8Bit(std::strerror(ENOSPC))))
        << boxes_.Texts()[0].toStdString();
    EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::Critical});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(disk.Folder()), {}), 1)
        << "only the filler is there";
}

} // namespace
