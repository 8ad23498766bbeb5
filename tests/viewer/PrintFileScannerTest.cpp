// Finding text in print files on disk, a piece at a time, at the lines and
// columns the viewer shows.
#include "viewer/PrintFileScanner.h"

#include "TempFile.h"

#include "platform/CodePages.h"
#include "platform/Locale.h"
#include "viewer/OpenFolder.h"
#include "viewer/TextSearch.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

class PrintFileScannerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetUserLocale("sk_SK");
        platform::SetMachineCodePages(1250, 852);
    }

    static std::string Oem(std::u16string_view text) {
        return *platform::Utf16ToCodePage(852, text);
    }

    static std::vector<ScanHit> Scan(const ByteClassMatcher& matcher, const std::string& path,
                                     std::size_t pieceSize, ScanReport* report = nullptr) {
        std::vector<ScanHit> hits;
        PrintFileScanner scanner(matcher, 4, pieceSize);
        const ScanReport done = scanner.Scan(path, [&](const ScanHit& hit) {
            hits.push_back(hit);
            return true;
        });
        if (report) *report = done;
        return hits;
    }
};

// What F3 finds in the preview, one match after the other from the start.
std::vector<TextPoint> ViewerMatches(const std::string& path, const std::u16string& needle,
                                     bool matchCase) {
    TMemoExStrings lines;
    lines.LoadFile(path);
    const TextSearch search(needle, matchCase, platform::OemDisplayTable());
    std::vector<TextPoint> found;
    TextPoint from{0, 0};
    while (auto match = search.FindForward(lines, from, TextPoint{lines.LineCount(), 0}).match) {
        found.push_back(match->begin);
        from = TextPoint{match->begin.line, match->begin.col + match->length};
    }
    return found;
}

TEST_F(PrintFileScannerTest, FindsWhatTheViewerFindsAtItsLinesWhateverThePieces) {
    const std::string longLine = std::string(3000, '-') + Oem(u"Ľubica") + std::string(900, '=');
    struct Case {
        std::string bytes;
        std::u16string needle;
        bool matchCase;
    };
    std::string shortLines;
    for (int i = 0; i < 300; ++i)
        shortLines += i % 7 == 3 ? "ab\rab\n" : "ab\r\n";
    const std::vector<Case> cases = {
        // Many line ends, some of them read in two pieces.
        {shortLines + Oem(u"ľubica ab"), u"ab", false},
        // Every kind of line end, a form feed inside a line, a TAB before a match.
        {Oem(u"Ľubica\r\nB\nĽUBICA\rC\n\rx ľubica\r\r\n\fľubica\tľubica\n\tľubica"), u"ľubica",
         false},
        {Oem(u"Ľubica\r\nĽUBICA\nľubica"), u"Ľubica", true},
        // TABs become four spaces, so typed spaces find them.
        {"a\tb\r\na    b\r\n", u"a    b", false},
        // A line longer than a piece, with its match far in.
        {"x\r\n" + longLine + "\r\n" + longLine, u"ľubica", false},
        // The text ends at a NUL: nothing after it is found.
        {Oem(u"ľubica\r\n") + std::string(1, '\0') + Oem(u"ľubica"), u"ľubica", false},
        // Matches that do not overlap, as F3 steps through them.
        {std::string(700, '='), u"==========", false},
        {"abc\r\n", u"abcd", false},
    };
    for (const Case& c : cases) {
        const TempFile file(c.bytes);
        const std::vector<TextPoint> expected = ViewerMatches(file.Path(), c.needle, c.matchCase);
        const ByteClassMatcher matcher(c.needle, c.matchCase, platform::OemDisplayTable());
        TMemoExStrings lines;
        lines.LoadFile(file.Path());
        for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{5},
                                        std::size_t{333}, PrintFileScanner::kPieceSize}) {
            const std::string what = platform::Utf16ToUtf8(c.needle) + " in pieces of " +
                                     std::to_string(piece) + ": " + c.bytes.substr(0, 40);
            ScanReport report;
            const std::vector<ScanHit> hits = Scan(matcher, file.Path(), piece, &report);
            EXPECT_EQ(report.outcome, ScanOutcome::Done) << what;
            if (c.bytes.find('\0') == std::string::npos) {
                EXPECT_EQ(report.bytes, c.bytes.size()) << what;
            }
            ASSERT_EQ(hits.size(), expected.size()) << what;
            for (std::size_t i = 0; i < hits.size(); ++i) {
                const ScanHit& hit = hits[i];
                EXPECT_EQ(hit.line, expected[i].line) << what << " #" << i;
                EXPECT_EQ(hit.column, expected[i].col) << what << " #" << i;
                // The text shown is the line as the viewer has it, around the match.
                const std::string_view line = lines.LineAt(static_cast<int>(hit.line));
                ASSERT_GE(hit.column, hit.textColumn) << what;
                EXPECT_EQ(line.substr(static_cast<std::size_t>(hit.column - hit.textColumn),
                                      hit.text.size()),
                          hit.text)
                    << what;
                if (line.size() < 200) {
                    EXPECT_EQ(hit.text, line) << what;
                }
            }
        }
    }
}

TEST_F(PrintFileScannerTest, TextThePageCannotHoldFindsNothing) {
    const TempFile file(Oem(u"Cena 5 EUR\r\n"));
    const ByteClassMatcher matcher(u"5 €", false, platform::OemDisplayTable());
    EXPECT_TRUE(matcher.Impossible());
    ScanReport report;
    EXPECT_TRUE(Scan(matcher, file.Path(), PrintFileScanner::kPieceSize, &report).empty());
    EXPECT_EQ(report.outcome, ScanOutcome::Done);
}

TEST_F(PrintFileScannerTest, MissingAndUnreadableFilesAreReportedWithTheirReason) {
    const TempFile file("text");
    const std::filesystem::path folder = file.Folder();
    std::filesystem::create_directory(folder / "folder.txt");
    ASSERT_EQ(::mkfifo((folder / "pipe.txt").c_str(), 0600), 0);
    const ByteClassMatcher matcher(u"text", false, platform::OemDisplayTable());
    struct Case {
        std::filesystem::path path;
        ScanOutcome outcome;
    };
    const std::vector<Case> cases = {
        {folder / "missing.txt", ScanOutcome::Missing},
        {folder / "print.txt" / "below.txt", ScanOutcome::Missing},
        {folder / "folder.txt", ScanOutcome::Unreadable},
        {folder / "pipe.txt", ScanOutcome::Unreadable}, // never waits for a writer
        {file.Path(), ScanOutcome::Done},
    };
    // The same by name in the folder held open; an absolute name stands alone,
    // there and where no folder could be opened.
    const OpenFolder open(folder);
    const OpenFolder none("");
    for (const Case& c : cases) {
        ScanReport report;
        const std::vector<ScanHit> hits = Scan(matcher, c.path, 64, &report);
        EXPECT_EQ(report.outcome, c.outcome) << c.path;
        EXPECT_EQ(report.reason.empty(), c.outcome == ScanOutcome::Done) << c.path;
        EXPECT_EQ(hits.size(), c.outcome == ScanOutcome::Done ? 1u : 0u) << c.path;
        PrintFileScanner scanner(matcher, 4, 64);
        const auto count = [](const ScanHit&) { return true; };
        const std::string name = c.path.lexically_relative(folder).string();
        EXPECT_EQ(scanner.Scan(open, name, count).outcome, c.outcome) << name;
        EXPECT_EQ(scanner.Scan(open, c.path.string(), count).outcome, c.outcome) << c.path;
        EXPECT_EQ(scanner.Scan(none, c.path.string(), count).outcome, c.outcome) << c.path;
    }
    // A folder that is not there has no files; an empty name is the folder itself.
    PrintFileScanner scanner(matcher, 4, 64);
    const auto count = [](const ScanHit&) { return true; };
    EXPECT_EQ(scanner.Scan(OpenFolder(folder / "missing"), "print.txt", count).outcome,
              ScanOutcome::Missing);
    EXPECT_EQ(scanner.Scan(open, "", count).outcome, ScanOutcome::Unreadable);
}

TEST_F(PrintFileScannerTest, AStopEndsTheScanAtTheNextPiece) {
    const TempFile file(std::string(10000, 'x') + "text");
    const ByteClassMatcher matcher(u"text", false, platform::OemDisplayTable());
    PrintFileScanner scanner(matcher, 4, 1000);
    std::atomic<bool> stop = false;
    int hits = 0;
    const auto count = [&](const ScanHit&) { return ++hits < 100; };
    // Stopped while reading the first piece: no second piece is read.
    ScanReport report =
        scanner.Scan(file.Path(), count, &stop, [&](std::uint64_t) { stop = true; });
    EXPECT_EQ(report.outcome, ScanOutcome::Stopped);
    EXPECT_EQ(report.bytes, 1000u);
    report = scanner.Scan(file.Path(), count, &stop);
    EXPECT_EQ(report.outcome, ScanOutcome::Stopped);
    EXPECT_EQ(report.bytes, 0u);
    stop = false;
    report = scanner.Scan(file.Path(), count, &stop);
    EXPECT_EQ(report.outcome, ScanOutcome::Done);
    EXPECT_EQ(hits, 1);
}

} // namespace
