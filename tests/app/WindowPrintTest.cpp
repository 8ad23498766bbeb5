// Printing from the window, end to end through a private CUPS scheduler whose
// default printer writes PDF files.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "ShownWindow.h"
#include "WindowControls.h"

#include "app/Form1.h"
#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"
#include "tools/demohost/Reports.h"
#include "viewer/MemoEx.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using testing_cups::PdfDarkPixels;
using testing_cups::PdfPages;
using testing_cups::PrivateCups;

// Three pages of 44 lines, each ended by a form feed, 80 columns, in code page 852.
std::string ThreePageReport() {
    std::string report;
    for (int page = 1; page <= 3; ++page) {
        report += Oem852("VÝPLATNÉ PÁSKY                                  STRANA ") +
                  std::to_string(page) + "\r\n";
        for (int row = 1; row <= 42; ++row)
            report += Oem852("  Novák Ján              1234,50\r\n");
        report += std::string(80, '\xC4') + "\f\r\n";
    }
    return report;
}

class WindowPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cups_ = &PrivateCups::ForThisProcess();
        host_.WriteCatalog(
            "Cis", {{"MZDY", "Výplatné pásky", {2007, 12, 5}, "10:15", "MZDY.TXT", 80, 60}});
        host_.WriteFile("Tla/MZDY.TXT", ThreePageReport());
        std::filesystem::remove(Output());
    }
    void TearDown() override {
        form_.reset();
        if (printerAdded_) cups_->RemovePrinter(kPrinter);
    }

    void AddPdfPrinter() {
        cups_->AddPdfPrinter(kPrinter, Output());
        printerAdded_ = true;
    }
    std::filesystem::path Output() const { return cups_->Folder() / "out" / "window.pdf"; }
    void Start() { ShowWindow(form_, host_); }
    static void Type(QLineEdit* edit, const char* text) {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        edit->setCursorPosition(0);
        QTest::keyClicks(edit, text);
    }

    static constexpr char kPrinter[] = "tlacsub-window-pdf";
    PrivateCups* cups_ = nullptr;
    bool printerAdded_ = false;
    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(WindowPrintTest, WithoutAPrinterTheErrorIsShownAndNothingIsPrinted) {
    Start();
    const int jobsBefore = cups_->SubmittedJobs();
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts(), QStringList{QString::fromUtf8(print::kNoPrinterMessage)});
    // It is an error the handler did not catch: the application's error box shows it.
    EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::Critical});
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
    // The window stays usable.
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
}

TEST_F(WindowPrintTest, AThreePageDemoReportPrintsFromTheListAsThreePages) {
    // The kitchen's payslips of the demo host: three pages, each ended by a form feed.
    const demohost::PrintFileBytes report = demohost::PayrollSlips({2026, 11}, 3);
    ASSERT_EQ(report.pages, 3);
    host_.WriteCatalog("Cis", {{"VYPLSJ",
                                "Výplatné pásky - školská jedáleň",
                                {2026, 12, 8},
                                "10:21",
                                "VYPLSJ.PRN",
                                report.width,
                                report.length}});
    host_.WriteFile("Tla/VYPLSJ.PRN", report.bytes);
    AddPdfPrinter();
    Start();
    const int jobsBefore = cups_->SubmittedJobs();
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
    // From the list page the file is read into the viewer first.
    ASSERT_GT(Controls(*form_).MSubor->Lines().LineCount(), 0);
    EXPECT_EQ(Controls(*form_).MSubor->Lines().LineAt(0),
              report.bytes.substr(0, report.bytes.find("\r\n")));
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore + 1);
    ASSERT_EQ(PdfPages(Output()), 3);
    for (int page = 1; page <= 3; ++page)
        EXPECT_GT(PdfDarkPixels(Output(), page), 0) << "page " << page;
}

TEST_F(WindowPrintTest, FromThePreviewTheLinesShownArePrinted) {
    AddPdfPrinter();
    Start();
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    // The host rewrites the file after it was previewed: what is on screen still prints.
    host_.WriteFile("Tla/MZDY.TXT", Oem852("Iná zostava\r\n"));
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
    EXPECT_EQ(Controls(*form_).MSubor->Lines().LineCount(), 3 * 44);
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(PdfPages(Output()), 3);
}

TEST_F(WindowPrintTest, ThePageFieldsChooseThePages) {
    AddPdfPrinter();
    Start();
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    // Pages 3 to 2 print page 3 alone.
    Type(Controls(*form_).EStr1, "3");
    Type(Controls(*form_).EStr2, "2");
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(PdfPages(Output()), 1);

    // A range beyond the document sends nothing and says so.
    std::filesystem::remove(Output());
    const int jobsBefore = cups_->SubmittedJobs();
    Type(Controls(*form_).EStr1, "10");
    Type(Controls(*form_).EStr2, "12");
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts(), QStringList{QString::fromUtf8(print::kRangeOutsideDocument.data(),
                                                            print::kRangeOutsideDocument.size())});
    // A notice like the missing file's, not the error box.
    EXPECT_EQ(boxes_.Icons(), QList{QMessageBox::NoIcon});
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
    EXPECT_FALSE(std::filesystem::exists(Output()));
}

TEST_F(WindowPrintTest, AnAwkwardFileWithAZeroPageFormatPrints) {
    // A 100,000-byte line of every byte from 32 up, three form-feed lines, then a NUL.
    std::string line;
    for (int i = 0; i < 100000; ++i)
        line += static_cast<char>(32 + i % 224);
    host_.WriteCatalog("Cis", {{"ZLY", "Neporiadny", {2007, 12, 5}, "10:15", "ZLY.TXT", 0, 0}});
    host_.WriteFile("Tla/ZLY.TXT", line + "\r\n\f\r\n\f\r\n\f" + std::string(1, '\0') + "zvysok");
    AddPdfPrinter();
    Start();
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
    ASSERT_EQ(Controls(*form_).MSubor->Lines().LineCount(), 4);
    ASSERT_TRUE(cups_->WaitUntilIdle());
    // Without a page length a page holds two lines; each form feed ends one too.
    ASSERT_EQ(PdfPages(Output()), 3);
    EXPECT_GT(PdfDarkPixels(Output(), 1), 0);

    // An empty file has no page to print.
    std::filesystem::remove(Output());
    host_.WriteFile("Tla/ZLY.TXT", "");
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts(), QStringList{QString::fromUtf8(print::kRangeOutsideDocument.data(),
                                                            print::kRangeOutsideDocument.size())});
}

} // namespace
