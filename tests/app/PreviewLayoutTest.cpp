// The print preview's sheets without a window: the same sheets "Tlač" lays
// out, on the paper given, and only the latest of several layouts reaches the
// preview.
#include "HostFolder.h"
#include "PrintReports.h"

#include "app/PreviewLayout.h"
#include "app/PrintRequest.h"
#include "app/Printing.h"
#include "app/Source.h"
#include "app/print/Paper.h"
#include "app/print/RecordingSurface.h"
#include "viewer/MemoExStrings.h"

#include <QCoreApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

print::Paper A5Paper() {
    return {QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Portrait, QMarginsF()), 600};
}

using SheetTexts = std::vector<std::vector<std::string>>;

SheetTexts TextsOf(const PreviewPages& pages) {
    SheetTexts texts;
    for (const print::Sheet& sheet : pages.sheets->sheets) {
        texts.emplace_back();
        for (const print::SheetLine& line : sheet)
            texts.back().push_back(line.oemText);
    }
    return texts;
}

SheetTexts TextsOf(const print::RecordingSurface& surface) {
    SheetTexts texts;
    for (const auto& sheet : surface.Sheets()) {
        texts.emplace_back();
        for (const auto& line : sheet)
            texts.back().push_back(line.text);
    }
    return texts;
}

class PreviewLayoutTest : public ::testing::Test {
  protected:
    PreviewLayoutTest() { host_.WriteFile("Tla/ZOZNAM.TXT", ReportOf130Lines()); }

    PrintRequest Request(print::PageRange pages) const {
        const CatalogEntry entry{"ZOZNAM", "Zoznam", {2007, 12, 5}, "10:15", "zoznam.txt", 80, 60};
        const HostFolders folders{host_.AppFolder(), ""};
        return {entry, Source::CurrentMonth().ResolvedPrintFile(folders, entry.FilName), pages,
                true, PrintDestination::DefaultPrinter()};
    }

    HostFolder host_;
};

TEST_F(PreviewLayoutTest, ThePreviewHasTheSheetsTlacLaysOutOnThePaperGiven) {
    struct Case {
        const char* name;
        print::PageRange pages;
        print::Paper paper;
        std::vector<size_t> sheetLines; // empty: nothing to show
        int firstPage;
    };
    const Case cases[] = {
        {"every page on A4", {}, print::A4Paper(), {62, 62, 6}, 1},
        {"pages 2 to 3 on A5", {2, 3}, A5Paper(), {62, 6}, 2},
        {"the last page alone", {3, 9999}, A5Paper(), {6}, 3},
        {"a range beyond the document", {10, 12}, print::A4Paper(), {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoExStrings lines;
        const PreviewPages pages =
            LayOutPreview(Request(c.pages), c.paper, lines, LineSource::PrintFile);
        TMemoExStrings printedLines;
        print::RecordingSurface printed;
        LayOut(Request(c.pages), printed, printedLines, LineSource::PrintFile);
        if (c.sheetLines.empty()) {
            EXPECT_EQ(pages.outcome.kind, PrintOutcome::Kind::RangeOutsideDocument);
            EXPECT_EQ(pages.SheetCount(), 0);
            continue;
        }
        ASSERT_EQ(pages.outcome.kind, PrintOutcome::Kind::LaidOut) << pages.outcome.message;
        std::vector<size_t> sheetLines;
        for (const print::Sheet& sheet : pages.sheets->sheets)
            sheetLines.push_back(sheet.size());
        EXPECT_EQ(sheetLines, c.sheetLines);
        EXPECT_EQ(TextsOf(pages), TextsOf(printed));
        EXPECT_EQ(pages.firstPage, c.firstPage);
        EXPECT_EQ(pages.DocumentPage(pages.SheetCount() - 1), 3);
        EXPECT_EQ(pages.sheets->paper.layout.pageSize().id(), c.paper.layout.pageSize().id());
    }
}

TEST_F(PreviewLayoutTest, OnlyTheLatestLayoutReachesThePreview) {
    PreviewLayouter layouter;
    std::vector<int> delivered; // the sheets of each layout delivered
    layouter.OnReady = [&](const PreviewPages& pages) { delivered.push_back(pages.SheetCount()); };
    // The first request is replaced before it is done, as by a second click on a printer.
    layouter.Start(Request({}), print::A4Paper(), std::make_shared<TMemoExStrings>(),
                   LineSource::PrintFile);
    layouter.Start(Request({2, 3}), print::A4Paper(), std::make_shared<TMemoExStrings>(),
                   LineSource::PrintFile);
    // Both workers done, and what they sent back to this thread handled.
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(60000));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(delivered, std::vector<int>{2});
    EXPECT_FALSE(layouter.Running());
}

} // namespace
