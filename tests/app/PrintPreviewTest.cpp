// The print preview from BTlac's menu and Ctrl+Shift+P, through the private
// CUPS scheduler: the sheets are the ones "Tlač" prints, on the paper of the
// printer chosen, in the orientation of the toggle, and its "Tlačiť" prints
// them on that printer.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "PopupMenus.h"
#include "PrintReports.h"
#include "ShownWindow.h"
#include "WhenShown.h"
#include "WindowControls.h"

#include "app/Form1.h"
#include "app/PreviewLayout.h"
#include "app/PrintPreview.h"
#include "app/print/RecordingSurface.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

using testing_cups::PdfPages;
using testing_cups::PdfPageSize;
using testing_cups::PrivateCups;
using testing_cups::RunCommand;
using testing_cups::ShellQuote;

PrintPreview* ShownPreview() {
    return ShownTopLevel<PrintPreview>("PrintPreview");
}

// The lines of each sheet, as text.
std::vector<std::vector<std::string>> SheetTexts(const PreviewPages& pages) {
    std::vector<std::vector<std::string>> texts;
    for (const print::Sheet& sheet : pages.sheets->sheets) {
        texts.emplace_back();
        for (const print::SheetLine& line : sheet)
            texts.back().push_back(line.oemText);
    }
    return texts;
}

std::vector<std::vector<std::string>> SheetTexts(const print::RecordingSurface& surface) {
    std::vector<std::vector<std::string>> texts;
    for (const auto& sheet : surface.Sheets()) {
        texts.emplace_back();
        for (const auto& line : sheet)
            texts.back().push_back(line.text);
    }
    return texts;
}

template <class T> T* Child(QWidget* preview, const char* name) {
    T* found = preview->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no control named " << name;
    return found;
}

class PrintPreviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cups_ = &PrivateCups::ForThisProcess();
        host_.WriteCatalog(
            "Cis",
            {{"ZOZNAM", "Zoznam pracovníkov", {2007, 12, 5}, "10:15", "ZOZNAM.TXT", 80, 60}});
        host_.WriteFile("Tla/ZOZNAM.TXT", ReportOf130Lines());
    }
    void TearDown() override {
        if (PrintPreview* preview = ShownPreview()) preview->close();
        form_.reset();
        for (const std::string& queue : queues_)
            cups_->RemovePrinter(queue);
    }
    std::filesystem::path Output(const std::string& queue) const {
        return cups_->Folder() / "out" / (queue + ".pdf");
    }
    void AddPrinter(const std::string& queue, const char* pageSize, bool makeDefault) {
        std::filesystem::remove(Output(queue));
        cups_->AddPdfPrinter(queue, Output(queue), makeDefault);
        RunCommand("lpadmin -p " + ShellQuote(queue) + " -o PageSize=" + pageSize);
        queues_.push_back(queue);
    }
    // Ctrl+Shift+P in the list, and the preview once its sheets are laid out.
    PrintPreview* OpenPreview() {
        // Back from a closed preview, as the window system makes the window active again.
        QApplication::setActiveWindow(form_.get());
        QTest::keyClick(Controls(*form_).GrZozn, Qt::Key_P,
                        Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(QTest::qWaitFor([] { return ShownPreview() != nullptr; }, 20000));
        return ShownPreview();
    }
    static bool Relaid(PrintPreview* preview) {
        return QTest::qWaitFor([=] { return !preview->Relaying(); }, 20000);
    }
    // Picks a printer in the preview's choice with the keyboard, as a user would.
    static void ChoosePrinter(PrintPreview* preview, const std::string& queue) {
        auto* choice = Child<QComboBox>(preview, "PreviewPrinter");
        const int wanted = choice->findData(QString::fromStdString(queue));
        ASSERT_GE(wanted, 0) << queue;
        choice->setFocus();
        while (choice->currentIndex() != wanted)
            QTest::keyClick(choice, choice->currentIndex() < wanted ? Qt::Key_Down : Qt::Key_Up);
        ASSERT_TRUE(Relaid(preview));
    }
    static QString PageLabel(PrintPreview* preview) {
        return Child<QLabel>(preview, "PreviewPageLabel")->text();
    }

    PrivateCups* cups_ = nullptr;
    std::vector<std::string> queues_;
    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(PrintPreviewTest, ShowsTheSheetsTlacPrintsForThePageRange) {
    ShowWindow(form_, host_);
    auto recording = std::make_unique<print::RecordingSurface>();
    const print::RecordingSurface& printed = *recording;
    form_->SetPrintSurface(std::move(recording));
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    ASSERT_EQ(printed.Sheets().size(), 3u);

    PrintPreview* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    const PreviewPages& pages = preview->Pages();
    ASSERT_EQ(pages.SheetCount(), 3);
    EXPECT_EQ(pages.sheets->sheets[0].size(), 62u);
    EXPECT_EQ(pages.sheets->sheets[1].size(), 62u);
    EXPECT_EQ(pages.sheets->sheets[2].size(), 6u);
    EXPECT_EQ(SheetTexts(pages), SheetTexts(printed));
    // No printer: laid out on A4.
    EXPECT_EQ(pages.sheets->paper.layout.pageSize().id(), QPageSize::A4);

    // Navigation: the document's page and the sheet.
    EXPECT_EQ(PageLabel(preview), "Strana 1 z 3, hárok 1 z 3");
    EXPECT_FALSE(Child<QToolButton>(preview, "PreviewPrevious")->isEnabled());
    QTest::mouseClick(Child<QToolButton>(preview, "PreviewLast"), Qt::LeftButton);
    EXPECT_EQ(PageLabel(preview), "Strana 3 z 3, hárok 3 z 3");
    EXPECT_FALSE(Child<QToolButton>(preview, "PreviewNext")->isEnabled());
    QTest::keyClick(Child<QWidget>(preview, "PreviewSheet"), Qt::Key_PageUp);
    EXPECT_EQ(PageLabel(preview), "Strana 2 z 3, hárok 2 z 3");
    preview->close();

    // Pages 2 to 3: two sheets, the first showing the document's page 2.
    Controls(*form_).EStr1->setText("2");
    Controls(*form_).EStr2->setText("3");
    preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->Pages().SheetCount(), 2);
    EXPECT_EQ(SheetTexts(preview->Pages())[0].front().substr(0, 10), "RIADOK 063");
    EXPECT_EQ(PageLabel(preview), "Strana 2 z 3, hárok 1 z 2");
    preview->close();

    // A range beyond the document: the message "Tlač" gives, and no window.
    Controls(*form_).EStr1->setText("10");
    Controls(*form_).EStr2->setText("12");
    QApplication::setActiveWindow(form_.get());
    QTest::keyClick(Controls(*form_).GrZozn, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes_.Texts().isEmpty(); }, 20000));
    EXPECT_EQ(boxes_.Texts(), QStringList{"Rozsah tlačených strán ukazuje mimo dokument ..."});
    EXPECT_EQ(ShownPreview(), nullptr);
}

TEST_F(PrintPreviewTest, TheSheetsFollowTheOrientationAndTheChosenPrinter) {
    AddPrinter("tlacsub-prev-letter", "Letter", true);
    AddPrinter("tlacsub-prev-a5", "A5", false);
    ShowWindow(form_, host_);
    // From BTlac's menu; the default printer's paper.
    ChooseFromNextMenu("Ukážka pred tlačou...");
    RightClick(Controls(*form_).BTlac);
    ASSERT_TRUE(QTest::qWaitFor([] { return ShownPreview() != nullptr; }, 20000));
    PrintPreview* preview = ShownPreview();
    EXPECT_EQ(preview->Pages().sheets->paper.layout.pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(Child<QComboBox>(preview, "PreviewPrinter")->currentText(),
              "tlacsub-prev-letter (predvolená)");
    const int portraitFont = preview->Pages().outcome.layout.fontSize;
    const auto portraitTexts = SheetTexts(preview->Pages());

    // Landscape: the same pages laid out again, at the larger width's font,
    // and the window's toggle follows.
    QTest::mouseClick(Child<QToolButton>(preview, "PreviewOrient"), Qt::LeftButton);
    ASSERT_TRUE(Relaid(preview));
    const print::Paper& landscape = preview->Pages().sheets->paper;
    EXPECT_EQ(landscape.layout.orientation(), QPageLayout::Landscape);
    EXPECT_GT(landscape.Width(), landscape.Height());
    EXPECT_NE(preview->Pages().outcome.layout.fontSize, portraitFont);
    EXPECT_EQ(SheetTexts(preview->Pages()), portraitTexts);
    EXPECT_FALSE(form_->IsPortrait());
    QTest::mouseClick(Child<QToolButton>(preview, "PreviewOrient"), Qt::LeftButton);
    ASSERT_TRUE(Relaid(preview));
    EXPECT_TRUE(form_->IsPortrait());

    // Another printer with another paper: the sheets are laid out on it.
    ChoosePrinter(preview, "tlacsub-prev-a5");
    EXPECT_EQ(preview->Pages().sheets->paper.layout.pageSize().id(), QPageSize::A5);
    EXPECT_NE(preview->Pages().outcome.layout.fontSize, portraitFont);

    // "Uložiť do PDF..." keeps the sheets shown, on the paper shown, and the preview stays.
    const int jobsBefore = cups_->SubmittedJobs();
    const std::filesystem::path pdf = cups_->Folder() / "out" / "preview-a5.pdf";
    std::filesystem::remove(pdf);
    WhenShown([] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
              [&](QFileDialog* dialog) {
                  // Typed into the name field, as a user does; again on the next
                  // tick while the dialog is still filling in the name it offers.
                  const QString name = QString::fromStdString(pdf.string());
                  auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
                  if (field == nullptr) return false;
                  field->setText(name);
                  if (dialog->selectedFiles() != QStringList{name}) return false;
                  // As the dialog's own "Save" button does.
                  static_cast<QDialog*>(dialog)->accept();
                  return true;
              });
    QTest::mouseClick(Child<QPushButton>(preview, "PreviewSavePdf"), Qt::LeftButton);
    EXPECT_EQ(PdfPages(pdf), 3);
    EXPECT_NEAR(PdfPageSize(pdf).first, 419.5, 1.0);
    EXPECT_EQ(ShownPreview(), preview);

    // "Tlačiť" sends one job to that printer, not to the default, and the preview closes.
    QTest::mouseClick(Child<QPushButton>(preview, "PreviewPrint"), Qt::LeftButton);
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore + 1);
    EXPECT_EQ(PdfPages(Output("tlacsub-prev-a5")), 3);
    EXPECT_NEAR(PdfPageSize(Output("tlacsub-prev-a5")).first, 419.5, 1.0); // A5's width
    EXPECT_FALSE(std::filesystem::exists(Output("tlacsub-prev-letter")));
    EXPECT_TRUE(QTest::qWaitFor([] { return ShownPreview() == nullptr; }, 5000));
}

TEST_F(PrintPreviewTest, ARejectingQueueGivesItsMessageAndThePreviewStays) {
    AddPrinter("tlacsub-prev-default", "A4", true);
    AddPrinter("tlacsub-prev-rejecting", "A4", false);
    cups_->RejectJobs("tlacsub-prev-rejecting", "Servis tlačiarne");
    ShowWindow(form_, host_);
    PrintPreview* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    ChoosePrinter(preview, "tlacsub-prev-rejecting");
    const int jobsBefore = cups_->SubmittedJobs();
    QTest::mouseClick(Child<QPushButton>(preview, "PreviewPrint"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes_.Texts().isEmpty(); }, 20000));
    EXPECT_TRUE(boxes_.Texts()[0].contains("tlacsub-prev-rejecting"))
        << boxes_.Texts()[0].toStdString();
    EXPECT_TRUE(boxes_.Texts()[0].contains("Servis tlačiarne")) << boxes_.Texts()[0].toStdString();
    EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::Critical});
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
    EXPECT_EQ(ShownPreview(), preview);
}

} // namespace

namespace {

TEST_F(PrintPreviewTest, AWindowGoneWhileTheSheetsAreLaidOutLeavesNoBusyCursor) {
    ShowWindow(form_, host_);
    QTest::keyClick(Controls(*form_).GrZozn, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    form_.reset();
    const bool busyLeft = QApplication::overrideCursor() != nullptr;
    while (QApplication::overrideCursor() != nullptr)
        QApplication::restoreOverrideCursor();
    EXPECT_FALSE(busyLeft);
}

TEST_F(PrintPreviewTest, CtrlShiftPOnThePreviewPageReplaysRecordedKeystrokesInstead) {
    ShowWindow(form_, host_);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    TMemoEx* viewer = Controls(*form_).MSubor;
    viewer->setFocus();
    const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::keyClick(viewer, Qt::Key_R, ctrlShift);
    QTest::keyClick(viewer, Qt::Key_Down);
    QTest::keyClick(viewer, Qt::Key_R, ctrlShift);
    QTest::keyClick(viewer, Qt::Key_P, ctrlShift);
    EXPECT_EQ(viewer->CaretY(), 2);
    QTest::qWait(200);
    EXPECT_EQ(ShownPreview(), nullptr);
}

} // namespace
