#include "viewer/MemoExStrings.h"

#include "TempFile.h"
#include "viewer/LineScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// The lines, read after the store's own check of every line.
std::vector<std::string> Lines(const TMemoExStrings& store) {
    store.CheckInvariants();
    std::vector<std::string> out;
    for (int i = 0; i < store.LineCount(); ++i)
        out.emplace_back(store.LineAt(i));
    return out;
}

std::vector<std::string> LoadBytes(const std::string& bytes) {
    TempFile file(bytes);
    TMemoExStrings store;
    store.LoadFile(file.Path());
    return Lines(store);
}

using L = std::vector<std::string>;

} // namespace

TEST(MemoExStrings, SplitsLinesEndsAtNulExpandsTabsKeepsEveryOtherByte) {
    struct Case {
        std::string bytes;
        L lines;
    };
    std::string high;
    for (int b = 128; b < 256; ++b)
        high.push_back(static_cast<char>(b));
    const std::vector<Case> cases = {
        {"A\r\nB\r\n", L{"A", "B"}}, {"A\r\nB", L{"A", "B"}},
        {"A\n\nB", L{"A", "", "B"}}, {"A\n\rB", L{"A", "", "B"}},
        {"A\rB", L{"A", "B"}},       {"A\r\r\nB", L{"A", "", "B"}},
        {"\r\n\r\n", L{"", ""}},     {"", L{}},
        {"\0ABC\r\n"s, L{}},         {"X\0Y\r\nZ"s, L{"X"}},
        {"\tA", L{"    A"}},         {"AB\tC", L{"AB    C"}},
        {"\fPAGE 2", L{"\fPAGE 2"}}, {"\f\f\f", L{"\f\f\f"}},
        {"A   \r\n", L{"A   "}},     {high + "\r\n", L{high}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadBytes(c.bytes), c.lines) << "input: " << c.bytes;

    // A tab size of 0 drops the tabs.
    TempFile file("\tA\tB\t\r\n");
    TMemoExStrings store;
    store.SetTabSize(0);
    store.LoadFile(file.Path());
    EXPECT_EQ(Lines(store), L{"AB"});
}

TEST(MemoExStrings, OutOfRangeIndexGivesEmptyLine) {
    TMemoExStrings store;
    EXPECT_EQ(store.LineAt(0), "");
    store.SetFullText("one\r\ntwo");
    EXPECT_EQ(store.LineAt(-1), "");
    EXPECT_EQ(store.LineAt(2), "");
    EXPECT_EQ(store.LineAt(1), "two");
    EXPECT_EQ(store.FullText(), "one\r\ntwo\r\n");
}

TEST(MemoExStrings, MaximumLineLengthOnlyGrows) {
    TMemoExStrings store;
    EXPECT_EQ(store.MaxLineLength(), 512);
    TempFile file(std::string(600, 'x') + "\r\nshort\r\n");
    store.LoadFile(file.Path());
    EXPECT_EQ(store.MaxLineLength(), 601);
    file.Write("short\r\n");
    store.LoadFile(file.Path());
    EXPECT_EQ(store.MaxLineLength(), 601);
    store.ClearLines();
    EXPECT_EQ(store.MaxLineLength(), 601);

    TMemoExStrings exact;
    exact.SetFullText(std::string(512, 'y'));
    EXPECT_EQ(exact.MaxLineLength(), 513);
    TMemoExStrings below;
    below.SetFullText(std::string(511, 'y'));
    EXPECT_EQ(below.MaxLineLength(), 512);
}

TEST(MemoExStrings, MissingFileKeepsOldLinesAndStillNotifiesOnce) {
    TempFile file("first\r\nsecond\r\n");
    TMemoExStrings store;
    store.LoadFile(file.Path());
    int notices = 0;
    store.OnTextChanged = [&](TMemoExStrings::ChangeKind) { ++notices; };
    const std::string missing = (file.Folder() / "gone.txt").string();
    try {
        store.LoadFile(missing);
        FAIL() << "no error for a missing file";
    } catch (const EStringListError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_EQ(Lines(store), (L{"first", "second"}));
    EXPECT_FALSE(store.IsUpdating());
    EXPECT_EQ(notices, 1);
}

TEST(MemoExStrings, FolderInsteadOfFileIsAnErrorNotAnEmptyText) {
    TempFile file("keep\r\n");
    TMemoExStrings store;
    store.LoadFile(file.Path());
    EXPECT_THROW(store.LoadFile(file.Folder().string()), EStringListError);
    EXPECT_EQ(Lines(store), (L{"keep"}));
    EXPECT_FALSE(store.IsUpdating());
}

TEST(MemoExStrings, HostNamesAreFoundIgnoringCase) {
    TempFile file("abc\r\n", "TLAC01.TXT");
    TMemoExStrings store;
    store.LoadFile((file.Folder() / "tlac01.txt").string());
    EXPECT_EQ(Lines(store), (L{"abc"}));
}

TEST(MemoExStrings, LoadAndWholeTextSendOneNotificationEach) {
    TempFile file("a\r\nb\r\nc\r\n");
    TMemoExStrings store;
    std::vector<TMemoExStrings::ChangeKind> kinds;
    int afterLoad = 0;
    store.OnTextChanged = [&](TMemoExStrings::ChangeKind k) { kinds.push_back(k); };
    store.OnAfterLoad = [&] { ++afterLoad; };
    store.LoadFile(file.Path());
    store.SetFullText("x\r\ny");
    store.ClearLines();
    store.ClearLines(); // already empty: no notice
    using K = TMemoExStrings::ChangeKind;
    EXPECT_EQ(kinds, (std::vector<K>{K::Load, K::FullText, K::Edit}));
    EXPECT_EQ(afterLoad, 1);
}

TEST(MemoExStrings, EditsSplitOnBreakRunsAndCheckIndices) {
    TMemoExStrings store;
    store.AddLine("");
    store.AddLine("a\r\n\r\nb\tc");
    EXPECT_EQ(Lines(store), (L{"", "a", "b    c"}));
    store.InsertLine(0, "top");
    store.InsertLine(4, "end");
    store.ReplaceLine(1, "one\ntwo");
    store.DeleteLine(0);
    EXPECT_EQ(Lines(store), (L{"one", "two", "a", "b    c", "end"}));

    const auto message = [&](auto action) {
        try {
            action();
        } catch (const EStringListError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { store.InsertLine(6, "x"); }), "List index out of bounds (6)");
    EXPECT_EQ(message([&] { store.ReplaceLine(5, "x"); }), "List index out of bounds (5)");
    EXPECT_EQ(message([&] { store.DeleteLine(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(store.LineCount(), 5);
}

TEST(MemoExStrings, CapacityGrowsInTheListSteps) {
    TMemoExStrings store;
    std::vector<int> seen;
    for (int i = 0; i < 100; ++i) {
        store.AddLine("x");
        if (seen.empty() || seen.back() != store.Capacity()) seen.push_back(store.Capacity());
    }
    EXPECT_EQ(seen, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
    store.ClearLines();
    EXPECT_EQ(store.Capacity(), 0);
}

TEST(MemoExStrings, AFileOfManyReadChunksLoadsAsOneText) {
    // Some megabytes of lines with tabs and every kind of break, then a NUL and
    // text that must not load: read in pieces, it splits as one text.
    for (int tabSize : {0, 1, 4, 8}) {
        std::string bytes;
        L expected;
        const char* breaks[] = {"\r\n", "\n", "\r"};
        for (int i = 0; bytes.size() < (3u << 20) + 4321; ++i) {
            std::string line = "L" + std::to_string(i) + std::string(i % 190, 'x');
            std::string shown = line;
            if (i % 3 == 0) {
                line.insert(1, "\t\t");
                shown.insert(1, std::string(2 * static_cast<std::size_t>(tabSize), ' '));
            }
            bytes += line + breaks[i % 3];
            expected.push_back(shown);
        }
        bytes += "\tlast"s + '\0' + "\r\nnever\r\n";
        expected.push_back(std::string(static_cast<std::size_t>(tabSize), ' ') + "last");
        TempFile file(bytes);
        TMemoExStrings store;
        store.SetTabSize(tabSize);
        store.LoadFile(file.Path());
        EXPECT_EQ(Lines(store), expected) << "tab size " << tabSize;
    }
}

TEST(LineScan, BreaksCountedInPiecesAreTheLinesTheSplitEnds) {
    // Texts of line ends of every kind and a few other bytes, and of nothing but
    // LF or CR, long enough for the wide counting's blocks and for a count per
    // byte lane beyond what a byte holds, fed in pieces that cut CR LF.
    std::mt19937 random(7);
    for (const std::size_t size :
         {std::size_t{1}, std::size_t{31}, std::size_t{33}, std::size_t{5000}, std::size_t{40000}})
        for (const std::string alphabet : {"\r\n\r\nx\f", "\n", "\r"}) {
            std::string text;
            for (std::size_t i = 0; i < size; ++i)
                text += alphabet[random() % alphabet.size()];
            std::size_t lines = 0;
            linescan::ForEachLine(text, [&](std::size_t, std::size_t) { ++lines; });
            // A text ending in a break ends its last line; one that does not, does not.
            const bool endsLine = text.back() == '\r' || text.back() == '\n';
            for (const std::size_t piece :
                 {std::size_t{1}, std::size_t{17}, std::size_t{4099}, size}) {
                linescan::BreakCounter breaks;
                for (std::size_t at = 0; at < size; at += piece)
                    breaks.Feed(text.data() + at, std::min(piece, size - at));
                EXPECT_EQ(breaks.Breaks(), endsLine ? lines : lines - 1)
                    << "size " << size << ", pieces of " << piece;
            }
        }
}
