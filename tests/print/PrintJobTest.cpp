// The print job against the recording surface: font fitting, pagination by line
// count and form feeds, page ranges, and how a job ends.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/print/PageRange.h"
#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "app/print/RecordingSurface.h"
#include "tests/viewer/TempFile.h"
#include "viewer/MemoExStrings.h"

namespace {

using print::PrintJobInput;
using print::RecordingSurface;
using JobState = RecordingSurface::JobState;

// A line store as the viewer's: lines by index, as OEM bytes.
struct TestLines {
    std::vector<std::string> lines;
    int LineCount() const { return static_cast<int>(lines.size()); }
    const std::string& LineAt(int index) const { return lines.at(index); }
};

TestLines NumberedLines(int count) {
    TestLines store;
    for (int i = 1; i <= count; ++i)
        store.lines.push_back("line " + std::to_string(i));
    return store;
}

PrintJobInput Input(int Sirka, int Dlzka, std::string_view first = "   1",
                    std::string_view last = "9999", bool portrait = true) {
    return {first, last, Sirka, Dlzka, portrait};
}

std::vector<std::string> Texts(const std::vector<RecordingSurface::DrawnLine>& sheet) {
    std::vector<std::string> texts;
    for (const auto& line : sheet)
        texts.push_back(line.text);
    return texts;
}

std::vector<size_t> SheetSizes(const RecordingSurface& surface) {
    std::vector<size_t> sizes;
    for (const auto& sheet : surface.Sheets())
        sizes.push_back(sheet.size());
    return sizes;
}

// Lines and columns of "X" that fit the recording surface's page at a size.
struct Fit {
    int lines;
    int columns;
};
Fit FitAt(RecordingSurface surface, int points, bool portrait = true) {
    surface.SetOrientation(portrait ? print::PageOrientation::Portrait
                                    : print::PageOrientation::Landscape);
    surface.SetFontSize(points);
    return {(surface.PageHeight() - 400) / surface.TextHeight("X"),
            (surface.PageWidth() - 400) / surface.TextWidth("X")};
}

void ExpectRangeOutsideDocument(RecordingSurface& surface, const TestLines& store,
                                const PrintJobInput& input) {
    try {
        print::RunPrintJob(surface, store, input);
        FAIL() << "the job should have been refused";
    } catch (const print::ERangeOutsideDocument& error) {
        EXPECT_EQ(std::string(error.what()), "Rozsah tlačených strán ukazuje mimo dokument ...");
    }
    EXPECT_EQ(surface.State(), JobState::Aborted);
    for (const auto& sheet : surface.Sheets())
        EXPECT_TRUE(sheet.empty());
}

TEST(PrintJob, FitsTheLargestSizeAndLaysOutPagesOfDlzkaPlusTwoLines) {
    RecordingSurface surface;
    const TestLines store = NumberedLines(130);
    const auto result = print::RunPrintJob(surface, store, Input(80, 60));

    // The chosen size fits 60 lines and 80 columns; the size tried before it does not.
    const Fit fit = FitAt(surface, result.fontSize);
    EXPECT_GE(fit.lines, 60);
    EXPECT_GE(fit.columns, 80);
    const Fit larger = FitAt(surface, 12);
    EXPECT_EQ(result.fontSize, 11);
    EXPECT_TRUE(larger.lines < 60 || larger.columns < 80);

    EXPECT_EQ(SheetSizes(surface), (std::vector<size_t>{62, 62, 6}));
    EXPECT_EQ(result.documentPages, 3);
    EXPECT_EQ(result.pageLength, 60);
    EXPECT_EQ(surface.State(), JobState::Ended);

    // Every page starts in slot 1 below the top margin, lines follow in file order.
    const int lineHeight = surface.TextHeight("X");
    int number = 1;
    for (const auto& sheet : surface.Sheets()) {
        for (size_t slot = 1; slot <= sheet.size(); ++slot) {
            const auto& line = sheet[slot - 1];
            EXPECT_EQ(line.x, 200);
            EXPECT_EQ(line.y, 200 + static_cast<int>(slot) * lineHeight);
            EXPECT_EQ(line.text, "line " + std::to_string(number++));
        }
    }

    // The surface is prepared before fitting, and the sizes are tried largest first.
    const std::vector<std::string> prelude(surface.Calls().begin(), surface.Calls().begin() + 9);
    EXPECT_EQ(prelude, (std::vector<std::string>{"SetOrientation Portrait", "SetBrushClear",
                                                 "SetFontCharsetOem", "SetFontFaceName Courier New",
                                                 "AddFontBold", "SetFontSize 14", "SetFontSize 12",
                                                 "SetFontSize 11", "BeginDocument"}));
    EXPECT_TRUE(surface.BrushClear() && surface.FontOem() && surface.FontBold());
}

TEST(PrintJob, FormFeedsEndPagesAndPrintAsBlanksWithoutATrailingEmptySheet) {
    RecordingSurface surface;
    // Three pages, each ended by a line holding a form feed; the last line holds two.
    const TestLines store{{"A", "B\f", "C", "\f", "D", "E\f\f"}};
    const auto result = print::RunPrintJob(surface, store, Input(80, 60));

    ASSERT_EQ(surface.Sheets().size(), 3u);
    EXPECT_EQ(Texts(surface.Sheets()[0]), (std::vector<std::string>{"A", "B "}));
    EXPECT_EQ(Texts(surface.Sheets()[1]), (std::vector<std::string>{"C", " "}));
    // Only the first form feed of a line becomes a blank.
    EXPECT_EQ(Texts(surface.Sheets()[2]), (std::vector<std::string>{"D", "E \f"}));
    const int lineHeight = surface.TextHeight("X");
    for (const auto& sheet : surface.Sheets())
        EXPECT_EQ(sheet[0].y, 200 + lineHeight);
    EXPECT_EQ(result.documentPages, 3);
    EXPECT_EQ(surface.State(), JobState::Ended);
}

TEST(PrintJob, NoEmptySheetWhenThePageCountEndsExactlyOnTheLastLine) {
    RecordingSurface surface;
    const TestLines store = NumberedLines(124); // two pages of 62
    print::RunPrintJob(surface, store, Input(80, 60));
    EXPECT_EQ(SheetSizes(surface), (std::vector<size_t>{62, 62}));
    EXPECT_EQ(surface.State(), JobState::Ended);
}

TEST(PrintJob, EmptyLinesCountAsDrawn) {
    RecordingSurface surface;
    const TestLines store{{"", "", ""}};
    print::RunPrintJob(surface, store, Input(80, 60));
    ASSERT_EQ(surface.Sheets().size(), 1u);
    const auto& sheet = surface.Sheets()[0];
    ASSERT_EQ(sheet.size(), 3u);
    EXPECT_EQ(sheet[2].y, 200 + 3 * surface.TextHeight("X"));
    EXPECT_EQ(surface.State(), JobState::Ended);
}

TEST(PrintJob, PrintsOnlyThePagesOfTheRangeOnASheetEach) {
    RecordingSurface surface;
    const TestLines store = NumberedLines(10); // Dlzka 0: five pages of two lines
    const auto result = print::RunPrintJob(surface, store, Input(80, 0, " 2", "3 "));

    ASSERT_EQ(surface.Sheets().size(), 2u);
    EXPECT_EQ(Texts(surface.Sheets()[0]), (std::vector<std::string>{"line 3", "line 4"}));
    EXPECT_EQ(Texts(surface.Sheets()[1]), (std::vector<std::string>{"line 5", "line 6"}));
    // The first page of the range is drawn from slot 1 of the sheet the document opened.
    EXPECT_EQ(surface.Sheets()[0][0].y, 200 + surface.TextHeight("X"));
    EXPECT_EQ(result.documentPages, 5);
    EXPECT_EQ(result.sheets, 2);
    // With Dlzka 0 every size fits the height: the first size whose columns fit wins.
    EXPECT_EQ(result.pageLength, 0);
    EXPECT_GE(FitAt(surface, result.fontSize).columns, 80);
    EXPECT_LT(FitAt(surface, 12).columns, 80);
    EXPECT_EQ(surface.State(), JobState::Ended);
}

TEST(PrintJob, LastPageBelowFirstPrintsTheFirstPageOnly) {
    RecordingSurface surface;
    const TestLines store = NumberedLines(10);
    print::RunPrintJob(surface, store, Input(80, 0, "3", "2"));
    ASSERT_EQ(surface.Sheets().size(), 1u);
    EXPECT_EQ(Texts(surface.Sheets()[0]), (std::vector<std::string>{"line 5", "line 6"}));
}

TEST(PrintJob, UnreadableOrBlankFieldsPrintTheWholeDocument) {
    for (const auto& [first, last] : std::vector<std::pair<std::string, std::string>>{
             {"", ""}, {"    ", "    "}, {"0", "9999"}, {"x", "1 2"}}) {
        RecordingSurface surface;
        const TestLines store = NumberedLines(10);
        print::RunPrintJob(surface, store, Input(80, 0, first, last));
        EXPECT_EQ(surface.Sheets().size(), 5u) << "'" << first << "' to '" << last << "'";
    }
}

TEST(PrintJob, NothingInTheRangeAbortsWithTheMessage) {
    {
        SCOPED_TRACE("range beyond a document of three pages");
        RecordingSurface surface;
        ExpectRangeOutsideDocument(surface, NumberedLines(6), Input(80, 0, "10", "12"));
    }
    {
        SCOPED_TRACE("empty file");
        RecordingSurface surface;
        ExpectRangeOutsideDocument(surface, TestLines{}, Input(80, 60));
    }
    {
        SCOPED_TRACE("page 0 only");
        RecordingSurface surface;
        ExpectRangeOutsideDocument(surface, NumberedLines(6), Input(80, 0, "0", "0"));
    }
}

TEST(PrintJob, OrientationChangesThePageUsedForFitting) {
    // 100 columns need a small size on portrait paper but fit at 12 points across it.
    RecordingSurface portrait;
    const TestLines store = NumberedLines(5);
    const auto upright = print::RunPrintJob(portrait, store, Input(100, 30, "1", "1", true));
    RecordingSurface landscape;
    const auto across = print::RunPrintJob(landscape, store, Input(100, 30, "1", "1", false));
    EXPECT_EQ(landscape.Calls().front(), "SetOrientation Landscape");
    EXPECT_EQ(upright.fontSize, 8);
    EXPECT_EQ(across.fontSize, 12);
}

TEST(PrintJob, NothingFitsUsesTheSmallestSizeAndItsLineCount) {
    RecordingSurface surface;
    const TestLines store = NumberedLines(300);
    const auto result = print::RunPrintJob(surface, store, Input(80, 1000));
    const Fit smallest = FitAt(surface, 5);
    EXPECT_EQ(result.fontSize, 5);
    EXPECT_EQ(surface.FontSize(), 5);
    EXPECT_EQ(result.pageLength, smallest.lines);
    EXPECT_EQ(surface.Sheets().front().size(), static_cast<size_t>(smallest.lines + 2));

    // Too wide at every size: 5 points too, with the full Dlzka.
    RecordingSurface wide;
    const auto wideResult = print::RunPrintJob(wide, store, Input(5000, 10));
    EXPECT_EQ(wideResult.fontSize, 5);
    EXPECT_EQ(wideResult.pageLength, 10);
}

TEST(PrintJob, AnErrorWhileDrawingAbortsTheDocument) {
    RecordingSurface surface;
    surface.failAtDraw = 70;
    const TestLines store = NumberedLines(130);
    EXPECT_THROW(print::RunPrintJob(surface, store, Input(80, 60)), std::runtime_error);
    EXPECT_EQ(surface.State(), JobState::Aborted);
}

TEST(PrintJob, PrintsTheLinesTheViewerLoaded) {
    // CR LF, a tab and form feeds as the host system writes them.
    const TempFile file("R1\r\nR2\x0c\r\nT\tX\r\n\x0c\r\n");
    TMemoExStrings store;
    store.LoadFile(file.Path());
    RecordingSurface surface;
    print::RunPrintJob(surface, store, Input(80, 60));
    ASSERT_EQ(surface.Sheets().size(), 2u);
    EXPECT_EQ(Texts(surface.Sheets()[0]), (std::vector<std::string>{"R1", "R2 "}));
    EXPECT_EQ(Texts(surface.Sheets()[1]), (std::vector<std::string>{"T    X", " "}));
    EXPECT_EQ(surface.State(), JobState::Ended);
}

TEST(PageRange, ReadsTheFieldsAsTyped) {
    struct Case {
        std::string_view first, last;
        int wantFirst, wantLast;
    };
    for (const Case& c : std::vector<Case>{{"   1", "9999", 1, 9999},
                                           {" 12 ", "\t20", 12, 20},
                                           {"", "", 1, 9999},
                                           {"1 2", "3 4", 1, 9999},
                                           {"+5", "7", 5, 7},
                                           {"+-5", "--7", 1, 9999},
                                           {"0", "", 0, 9999},
                                           {"-3", "-1", -3, -1},
                                           {"99999999999", "x", 1, 9999},
                                           {"3", "2", 3, 3},
                                           {"5", "abc", 5, 9999}}) {
        const print::PageRange range = print::ReadPageRange(c.first, c.last);
        EXPECT_EQ(range.first, c.wantFirst) << "'" << c.first << "'";
        EXPECT_EQ(range.last, c.wantLast) << "'" << c.last << "'";
    }
}

} // namespace
