// Print requests carried out without a window: laid out on a recording
// surface, kept as a PDF file, and handed to queues of the private CUPS
// scheduler, one of which refuses them.
#include "HostFolder.h"

#include "app/PrintOutcome.h"
#include "app/PrintRequest.h"
#include "app/Printing.h"
#include "app/Source.h"
#include "app/print/RecordingSurface.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"
#include "viewer/MemoExStrings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using Kind = PrintOutcome::Kind;
using JobState = print::RecordingSurface::JobState;
using testing_cups::PdfPages;
using testing_cups::PdfPageText;
using testing_cups::PrivateCups;

// Three pages of 22 lines, each headed by its number and ended by a form feed.
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

class PrintingTest : public ::testing::Test {
  protected:
    PrintingTest() { host_.WriteFile("Tla/PASKY.TXT", ThreePageReport()); }

    PrintRequest Request(print::PageRange pages = {},
                         PrintDestination destination = PrintDestination::DefaultPrinter(),
                         const std::string& filName = "pasky.txt") const {
        const CatalogEntry entry{"PASKY", "Pásky", {2007, 12, 5}, "10:15", filName, 80, 60};
        const HostFolders folders{host_.AppFolder(), ""};
        return {entry, Source::CurrentMonth().ResolvedPrintFile(folders, filName), pages, true,
                std::move(destination)};
    }
    std::filesystem::path Out(const std::string& name) const { return host_.Path("out") / name; }

    HostFolder host_;
};

TEST_F(PrintingTest, ARequestIsLaidOutOnTheSurfaceWithTheChosenLines) {
    TMemoExStrings shown; // as the preview holds lines already
    host_.WriteFile("shown.txt", "NA OBRAZOVKE\r\n");
    struct Case {
        const char* name;
        PrintRequest request;
        LineSource source;
        Kind kind;
        JobState state;
        std::vector<std::string> firstLines; // of each sheet
    };
    const Case cases[] = {
        {"whole file",
         Request(),
         LineSource::PrintFile,
         Kind::LaidOut,
         JobState::Ended,
         {"PASKY  STRANA 1", "PASKY  STRANA 2", "PASKY  STRANA 3"}},
        {"pages 2 to 3",
         Request({2, 3}),
         LineSource::PrintFile,
         Kind::LaidOut,
         JobState::Ended,
         {"PASKY  STRANA 2", "PASKY  STRANA 3"}},
        {"the lines shown",
         Request(),
         LineSource::Store,
         Kind::LaidOut,
         JobState::Ended,
         {"NA OBRAZOVKE"}},
        {"a range beyond the file",
         Request({10, 12}),
         LineSource::PrintFile,
         Kind::RangeOutsideDocument,
         JobState::Aborted,
         {}},
        {"no print file",
         Request({}, {}, "NIEJE.TXT"),
         LineSource::PrintFile,
         Kind::FileMissing,
         JobState::NotBegun,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shown.LoadFile(host_.Path("shown.txt").string());
        print::RecordingSurface surface;
        const PrintOutcome outcome = LayOut(c.request, surface, shown, c.source);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(surface.State(), c.state);
        std::vector<std::string> firstLines;
        for (const auto& sheet : surface.Sheets())
            if (!sheet.empty()) firstLines.push_back(sheet.front().text);
        EXPECT_EQ(firstLines, c.firstLines);
        EXPECT_EQ(outcome.layout.sheets, static_cast<int>(c.firstLines.size()));
    }
    // The file read for the job stays in the store, as the preview's lines do.
    shown.LoadFile(host_.Path("shown.txt").string());
    print::RecordingSurface surface;
    LayOut(Request(), surface, shown, LineSource::PrintFile);
    EXPECT_EQ(shown.LineCount(), 3 * 22);

    // The notices carry the words the window shows, and the missing file's name.
    const PrintOutcome missing =
        LayOut(Request({}, {}, "NIEJE.TXT"), surface, shown, LineSource::PrintFile);
    EXPECT_EQ(missing.message, "Zvolený súbor neexistuje ...");
    EXPECT_EQ(missing.file, host_.Path("Tla/NIEJE.TXT"));
    EXPECT_TRUE(missing.IsNotice());
    const PrintOutcome beyond = LayOut(Request({10, 12}), surface, shown, LineSource::PrintFile);
    EXPECT_EQ(beyond.message, "Rozsah tlačených strán ukazuje mimo dokument ...");
    EXPECT_TRUE(beyond.IsNotice());
}

TEST_F(PrintingTest, TheDefaultPrinterCanBeAnotherSurface) {
    Printing printing;
    auto recording = std::make_unique<print::RecordingSurface>();
    const print::RecordingSurface& surface = *recording;
    printing.SetDefaultPrinter(std::move(recording));
    const PrintOutcome outcome = printing.Carry(Request({3, 3}));
    EXPECT_EQ(outcome.kind, Kind::LaidOut);
    EXPECT_EQ(outcome.layout.documentPages, 3);
    ASSERT_EQ(surface.Sheets().size(), 1u);
    EXPECT_EQ(surface.Sheets()[0].front().text, "PASKY  STRANA 3");
}

TEST_F(PrintingTest, APdfFileIsWrittenWholeOrNotAtAll) {
    std::filesystem::create_directories(Out(""));
    host_.WriteFile("out/subor", "a file, not a folder");
    Printing printing;
    printing.SetPdfPaper(print::A4Paper());
    struct Case {
        const char* name;
        print::PageRange pages;
        std::filesystem::path file;
        Kind kind;
        int pagesWritten; // -1: no file
    };
    const Case cases[] = {
        {"pages 2 to 3", {2, 3}, Out("a.pdf"), Kind::Written, 2},
        {"every page", {}, Out("b.pdf"), Kind::Written, 3},
        {"a range beyond the file", {7, 9}, Out("c.pdf"), Kind::RangeOutsideDocument, -1},
        {"a folder that cannot hold it", {}, Out("subor") / "d.pdf", Kind::Failed, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PrintOutcome outcome =
            printing.Carry(Request(c.pages, PrintDestination::PdfFile(c.file)));
        EXPECT_EQ(outcome.kind, c.kind) << outcome.message;
        EXPECT_EQ(std::filesystem::exists(c.file), c.pagesWritten > 0);
        if (c.pagesWritten > 0) {
            EXPECT_EQ(outcome.file, c.file);
            EXPECT_EQ(PdfPages(c.file), c.pagesWritten);
            EXPECT_NE(PdfPageText(c.file, 1).find(c.pages.first == 2 ? "STRANA 2" : "STRANA 1"),
                      std::string::npos);
        }
        if (c.kind == Kind::Failed) {
            EXPECT_NE(outcome.message.find("d.pdf"), std::string::npos) << outcome.message;
        }
    }
}

TEST_F(PrintingTest, AQueueTakesTheJobOrSaysWhyNot) {
    PrivateCups& cups = PrivateCups::ForThisProcess();
    const std::filesystem::path output = cups.Folder() / "out" / "tlacsub-request.pdf";
    std::filesystem::remove(output);
    cups.AddPdfPrinter("tlacsub-request-rejecting", cups.Folder() / "out" / "never.pdf", false);
    cups.RejectJobs("tlacsub-request-rejecting", "Servis tlačiarne");
    cups.AddPdfPrinter("tlacsub-request", output, false);
    Printing printing;

    const int jobsBefore = cups.SubmittedJobs();
    const PrintOutcome refused =
        printing.Carry(Request({}, PrintDestination::Queue("tlacsub-request-rejecting")));
    EXPECT_EQ(refused.kind, Kind::Failed);
    EXPECT_FALSE(refused.IsNotice());
    EXPECT_NE(refused.message.find("tlacsub-request-rejecting"), std::string::npos)
        << refused.message;
    EXPECT_NE(refused.message.find("Servis tlačiarne"), std::string::npos) << refused.message;
    EXPECT_EQ(refused.jobId, 0);
    EXPECT_EQ(cups.SubmittedJobs(), jobsBefore);

    const PrintOutcome accepted =
        printing.Carry(Request({2, 9999}, PrintDestination::Queue("tlacsub-request")));
    EXPECT_EQ(accepted.kind, Kind::Accepted) << accepted.message;
    EXPECT_EQ(accepted.printer, "tlacsub-request");
    EXPECT_GT(accepted.jobId, 0);
    ASSERT_TRUE(cups.WaitUntilIdle());
    EXPECT_EQ(PdfPages(output), 2);

    cups.RemovePrinter("tlacsub-request-rejecting");
    cups.RemovePrinter("tlacsub-request");
}

} // namespace
