// The print job on the real printer surface, end to end through a private CUPS
// scheduler whose default printer writes PDF files: what reaches the paper.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <filesystem>
#include <string>
#include <vector>

#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "platform/CodePages.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"
#include "tests/viewer/TempFile.h"
#include "viewer/MemoExStrings.h"

namespace {

using testing_cups::PdfDarkPixels;
using testing_cups::PdfPages;
using testing_cups::PdfPageText;
using testing_cups::PrivateCups;

// A print file of the host system's kind: 80 columns, CR LF line ends, pages
// ended by form feeds, box-drawing rules and Slovak letters in code page 852.
std::string ThreePageReport() {
    std::string report;
    const std::string rule(80, '\xC4');
    for (int page = 1; page <= 3; ++page) {
        report += "ZOSTAVA MIEZD                                   STRANA " + std::to_string(page) +
                  "\r\n";
        report += rule + "\r\n";
        report += "Tla\x9F \x9F"
                  "asn\x82 mzdy\r\n"; // "Tlač časné mzdy" in 852
        for (int row = 1; row <= 40; ++row)
            report +=
                "  " + std::to_string(page * 100 + row) + "  NOVAK JAN             1234,50\r\n";
        report += rule + "\x0c\r\n";
    }
    return report;
}

class PrinterSurfaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetMachineCodePages(1250, 852);
        cups_ = &PrivateCups::ForThisProcess();
        report_.LoadFile(reportFile_.Path());
        ASSERT_EQ(report_.LineCount(), 3 * 44);
    }
    void TearDown() override {
        // The next test may need a system without printers.
        if (printerAdded_) cups_->RemovePrinter(kPrinter);
    }

    void AddPdfPrinter() {
        cups_->AddPdfPrinter(kPrinter, Output());
        printerAdded_ = true;
    }
    std::filesystem::path Output() const { return cups_->Folder() / "out" / "printed.pdf"; }

    static constexpr char kPrinter[] = "tlacsub-pdf";
    const TempFile reportFile_{ThreePageReport(), "MZDY.TXT"};
    TMemoExStrings report_;
    PrivateCups* cups_ = nullptr;
    bool printerAdded_ = false;
};

TEST_F(PrinterSurfaceTest, NoPrinterIsAnErrorBeforeAnythingIsPrinted) {
    print::PrinterSurface surface;
    const int jobsBefore = cups_->SubmittedJobs();
    try {
        print::RunPrintJob(surface, report_, {"   1", "9999", 80, 60, true});
        FAIL() << "printing without a printer should fail";
    } catch (const print::EPrintError& error) {
        EXPECT_EQ(std::string(error.what()), print::kNoPrinterMessage);
    }
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
}

TEST_F(PrinterSurfaceTest, AThreePageReportComesOutAsThreePdfPagesWithText) {
    AddPdfPrinter();
    print::PrinterSurface surface;
    const int jobsBefore = cups_->SubmittedJobs();
    const auto result = print::RunPrintJob(surface, report_, {"   1", "9999", 80, 60, true});
    EXPECT_EQ(surface.PrinterName(), kPrinter);
    EXPECT_EQ(result.sheets, 3);
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore + 1);

    ASSERT_TRUE(std::filesystem::exists(Output()));
    EXPECT_EQ(PdfPages(Output()), 3);
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const std::string text = PdfPageText(Output(), page);
        EXPECT_NE(text.find("STRANA " + std::to_string(page)), std::string::npos) << text;
        // The OEM bytes print with the glyphs the preview shows.
        EXPECT_NE(text.find("Tlač časné mzdy"), std::string::npos) << text;
        EXPECT_NE(text.find("────────"), std::string::npos) << text;
        EXPECT_GT(PdfDarkPixels(Output(), page), 0);
    }
}

TEST_F(PrinterSurfaceTest, ALineFarWiderThanThePaperSendsOnlyWhatCanReachIt) {
    // A print file without line breaks is one enormous line; past the paper's
    // edge it is worth nothing, so the job must not grow with it.
    AddPdfPrinter();
    auto printLine = [&](std::size_t length) {
        TMemoExStrings lines;
        lines.SetFullText(std::string(length, 'W') + "\r\nkoniec\r\n");
        print::PrinterSurface surface;
        print::RunPrintJob(surface, lines, {"1", "9999", 80, 60, true});
        EXPECT_TRUE(cups_->WaitUntilIdle());
        return std::pair{std::filesystem::file_size(Output()), PdfDarkPixels(Output(), 1)};
    };
    const auto [wideSize, wideInk] = printLine(20000);
    const auto [hugeSize, hugeInk] = printLine(1000000);
    EXPECT_EQ(hugeInk, wideInk);
    EXPECT_LT(hugeSize, wideSize + 1024);
}

TEST_F(PrinterSurfaceTest, ARangeOutsideTheDocumentSendsNothing) {
    AddPdfPrinter();
    std::filesystem::remove(Output());
    const int jobsBefore = cups_->SubmittedJobs();
    print::PrinterSurface surface;
    EXPECT_THROW(print::RunPrintJob(surface, report_, {"10", "12", 80, 60, true}),
                 print::EPrintError);
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
    EXPECT_FALSE(std::filesystem::exists(Output()));
}

TEST_F(PrinterSurfaceTest, ADocumentAbortedAfterDrawingSendsNothing) {
    // What the job does when an error strikes halfway through.
    AddPdfPrinter();
    std::filesystem::remove(Output());
    const int jobsBefore = cups_->SubmittedJobs();
    print::PrinterSurface surface;
    surface.SetOrientation(print::PageOrientation::Landscape);
    surface.SetFontSize(10);
    surface.BeginDocument();
    surface.DrawText(200, 400, "page one");
    surface.NewPage();
    surface.DrawText(200, 400, "page two");
    surface.AbortDocument();
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
    EXPECT_FALSE(std::filesystem::exists(Output()));

    // The surface stays usable for the next job.
    surface.BeginDocument();
    surface.DrawText(200, 400, "next job");
    surface.EndDocument();
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore + 1);
    EXPECT_EQ(PdfPages(Output()), 1);
    EXPECT_NE(PdfPageText(Output(), 1).find("next job"), std::string::npos);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
