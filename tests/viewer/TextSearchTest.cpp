// Finding typed Unicode text in OEM print-file lines as the viewer shows them.
#include "viewer/TextSearch.h"

#include "platform/CodePages.h"
#include "platform/Locale.h"

#include "platform/TextCase.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

class TextSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetUserLocale("sk_SK");
        platform::SetMachineCodePages(1250, 852);
    }

    // Lines as the host writes them, in the OEM code page.
    void Load(std::u16string_view text) {
        lines_.SetFullText(*platform::Utf16ToCodePage(platform::OemCodePage(), text));
    }

    std::optional<TextMatch> Find(const std::u16string& needle, bool matchCase, TextPoint from,
                                  SearchDirection direction, bool* wrapped = nullptr) {
        const TextSearch search(needle, matchCase, platform::OemDisplayTable());
        const FindResult result = search.Find(lines_, from, direction);
        if (wrapped) *wrapped = result.wrapped;
        return result.match;
    }

    TMemoExStrings lines_;
};

TEST_F(TextSearchTest, FindsForwardAndBackwardFromAPointAndWrapsAtTheEnds) {
    Load(u"meno ANNA\r\n\r\nanna a Anna\r\nkoniec");
    struct Case {
        TextPoint from;
        SearchDirection direction;
        TextPoint found;
        bool wrapped;
    };
    const auto F = SearchDirection::Forward;
    const auto B = SearchDirection::Backward;
    const std::vector<Case> cases = {
        {{0, 0}, F, {0, 5}, false},  {{0, 5}, F, {0, 5}, false}, // a match at the point counts
        {{0, 6}, F, {2, 0}, false},  {{2, 1}, F, {2, 7}, false},
        {{2, 8}, F, {0, 5}, true},   {{3, 99}, F, {0, 5}, true}, // wraps to the start
        {{2, 7}, B, {2, 0}, false},  {{2, 0}, B, {0, 5}, false}, // before the point only
        {{0, 5}, B, {2, 7}, true},   {{0, 0}, B, {2, 7}, true},  // wraps to the end
        {{1, 40}, B, {0, 5}, false}, {{9, 0}, F, {0, 5}, true},  // points beyond the text
    };
    for (const Case& c : cases) {
        bool wrapped = false;
        const auto match = Find(u"anna", false, c.from, c.direction, &wrapped);
        ASSERT_TRUE(match) << c.from.line << ":" << c.from.col;
        EXPECT_EQ(match->begin, c.found) << c.from.line << ":" << c.from.col;
        EXPECT_EQ(match->length, 4);
        EXPECT_EQ(wrapped, c.wrapped) << c.from.line << ":" << c.from.col;
    }
    EXPECT_FALSE(Find(u"anna a anna a", false, {0, 0}, F)); // never across lines
    EXPECT_FALSE(Find(u"x", false, {0, 0}, B));
    EXPECT_FALSE(Find(u"", false, {0, 0}, F));
    lines_.ClearLines();
    EXPECT_FALSE(Find(u"anna", false, {0, 0}, F));
}

TEST_F(TextSearchTest, WrapsToAMatchEarlierOnTheLineItStartedFrom) {
    Load(u"anna a x");
    bool wrapped = false;
    const auto match = Find(u"anna", false, {0, 5}, SearchDirection::Forward, &wrapped);
    ASSERT_TRUE(match);
    EXPECT_EQ(match->begin, (TextPoint{0, 0}));
    EXPECT_TRUE(wrapped);
    // And backward from before the match on the line, to the same match.
    EXPECT_EQ(Find(u"x", false, {0, 2}, SearchDirection::Backward, &wrapped)->begin,
              (TextPoint{0, 7}));
    EXPECT_TRUE(wrapped);
}

TEST_F(TextSearchTest, LetterCaseByTheLocaleAccentsAlwaysCount) {
    Load(u"Ľubica Ťažká, KÔŇ a kôň; ČÍSLO č. 5");
    struct Case {
        const char16_t* needle;
        bool matchCase;
        int col; // -1: no match
    };
    const std::vector<Case> cases = {
        {u"ľubica", false, 0}, {u"ĽUBICA", false, 0}, {u"ľubica", true, -1}, {u"Ľubica", true, 0},
        {u"ťažká", false, 7},  {u"tazka", false, -1}, {u"kôň", false, 14},   {u"kôň", true, 20},
        {u"kon", false, -1},   {u"KOŇ", false, -1},   {u"čísLO", false, 25}, {u"č.", true, 31},
    };
    for (const Case& c : cases) {
        const auto match = Find(c.needle, c.matchCase, {0, 0}, SearchDirection::Forward);
        if (c.col < 0) {
            EXPECT_FALSE(match) << platform::Utf16ToUtf8(c.needle);
            continue;
        }
        ASSERT_TRUE(match) << platform::Utf16ToUtf8(c.needle);
        EXPECT_EQ(match->begin.col, c.col) << platform::Utf16ToUtf8(c.needle);
    }
}

TEST_F(TextSearchTest, TheUsersLocaleDecidesWhichLettersAreOneLetterInTwoCases) {
    // Turkish pairs dotted i with dotted capital I, and dotless with dotless.
    platform::SetMachineCodePages(1254, 857);
    for (const auto& [locale, col] : {std::pair{"sk_SK", 0}, std::pair{"tr_TR", 2}}) {
        platform::SetUserLocale(locale);
        Load(u"I\u0131\u0130i");
        const auto match = Find(u"i", false, {0, 0}, SearchDirection::Forward);
        ASSERT_TRUE(match) << locale;
        EXPECT_EQ(match->begin.col, col) << locale;
    }
}

TEST_F(TextSearchTest, MatchesWhatTheScreenShowsForEveryByte) {
    // Box drawing and the form feed's glyph are typed as they are shown; a
    // letter typed as base plus combining accent is the letter itself.
    Load(u"\f\u2502 Strana 2 \u2502\r\nmôj");
    EXPECT_EQ(Find(u"\u2640\u2502", true, {0, 0}, SearchDirection::Forward)->begin,
              (TextPoint{0, 0}));
    EXPECT_EQ(Find(u"2 \u2502", true, {0, 0}, SearchDirection::Forward)->begin, (TextPoint{0, 10}));
    EXPECT_EQ(Find(u"mo\u0302j", false, {0, 0}, SearchDirection::Forward)->begin,
              (TextPoint{1, 0}));
    // A character no byte shows as is never found.
    EXPECT_FALSE(Find(u"\u20AC", false, {0, 0}, SearchDirection::Forward));
}

// Every match, in text order, found the slow way: each byte's character
// compared with each typed character, by the same rule as the bar's.
std::vector<TextPoint> EveryMatch(const TMemoExStrings& lines, const std::u16string& needle,
                                  bool matchCase) {
    const char16_t* display = platform::OemDisplayTable();
    const auto key = [matchCase](char16_t c) {
        return matchCase ? std::u16string(1, c) : platform::CaseBlindKey(c);
    };
    std::vector<TextPoint> found;
    for (int line = 0; line < lines.LineCount(); ++line) {
        const std::string_view text = lines.LineAt(line);
        for (std::size_t col = 0; col + needle.size() <= text.size(); ++col) {
            bool same = !needle.empty();
            for (std::size_t i = 0; same && i < needle.size(); ++i)
                same = key(display[static_cast<unsigned char>(text[col + i])]) == key(needle[i]);
            if (same) found.push_back({line, static_cast<int>(col)});
        }
    }
    return found;
}

bool Before(TextPoint a, TextPoint b) {
    return a.line < b.line || (a.line == b.line && a.col < b.col);
}

// Random texts over a few bytes that are one letter in two cases (or, in
// Turkish, are not), with rules of '=' long enough that the quick filter
// gives way to the linear scan, against the slow way from random places.
TEST_F(TextSearchTest, AgreesWithComparingEveryPlaceCharacterByCharacter) {
    struct Setup {
        const char* locale;
        int oem;
        std::string alphabet; // OEM bytes the text and the typed text are made of
    };
    const std::vector<Setup> setups = {
        {"sk_SK", 852,
         "aA\xA0\xB5=\x96\x95 \xE1"
         "b"},                              // á Á ľ Ľ ß
        {"tr_TR", 857, "iI\x8D\x98=a \tA"}, // ı İ, and a TAB
        {"sk_SK", 852, "======a"},          // long rules, now and then a letter
        {"sk_SK", 852, "aaaaaA="},          // a letter so common the quick filter gives up
    };
    std::mt19937 random(20);
    const auto pick = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const char* breaks[] = {"\r\n", "\n", "\r", "\n\r", "\r\n\r\n"};
    for (const Setup& setup : setups) {
        platform::SetUserLocale(setup.locale);
        platform::SetMachineCodePages(1250, setup.oem);
        const char16_t* display = platform::OemDisplayTable();
        for (int round = 0; round < 12; ++round) {
            std::string text;
            const std::size_t lineCount = 1 + pick(40);
            const std::size_t width = round % 3 == 0 ? 400 : 40;
            for (std::size_t line = 0; line < lineCount; ++line) {
                const std::size_t length = pick(width);
                for (std::size_t i = 0; i < length; ++i)
                    text += setup.alphabet[pick(setup.alphabet.size())];
                text += breaks[pick(std::size(breaks))];
            }
            lines_.SetFullText(text);
            if (round % 2 == 1) {
                // Lines added one by one lie in the store without breaks between
                // them, and a deleted one leaves its bytes between its neighbours.
                lines_.ClearLines();
                for (std::size_t line = 0; line < lineCount; ++line) {
                    std::string bytes;
                    for (std::size_t i = pick(3); i > 0; --i)
                        bytes += setup.alphabet[pick(setup.alphabet.size())];
                    lines_.AddLine(bytes);
                }
                for (std::size_t i = pick(lineCount); i > 0 && lines_.LineCount() > 1; --i)
                    lines_.DeleteLine(static_cast<int>(pick(lines_.LineCount() - 1)));
            } else if (round % 4 == 2) {
                // Edits within a loaded text: the lines before the first edit
                // still lie in one stretch, those after it no longer do.
                const auto somewhere = [&] {
                    return static_cast<int>(pick(static_cast<std::size_t>(lines_.LineCount())));
                };
                lines_.ReplaceLine(somewhere(), setup.alphabet.substr(0, 1 + pick(5)));
                if (lines_.LineCount() > 1) lines_.DeleteLine(somewhere());
                lines_.InsertLine(somewhere(), setup.alphabet.substr(pick(3)));
            }
            lines_.CheckInvariants();
            for (int probe = 0; probe < 6; ++probe) {
                std::u16string needle;
                const std::size_t length = round % 4 == 3 ? 30 + pick(20) : 1 + pick(4);
                for (std::size_t i = 0; i < length; ++i)
                    needle += display[static_cast<unsigned char>(
                        setup.alphabet[pick(setup.alphabet.size())])];
                // Half the time a piece of the text itself, so that long texts
                // that are there are looked for too.
                const std::string_view line = lines_.LineAt(
                    static_cast<int>(pick(static_cast<std::size_t>(lines_.LineCount()))));
                if (probe % 2 == 1 && !line.empty())
                    needle = platform::OemToDisplay(line.substr(pick(line.size()), 1 + pick(50)));
                const bool matchCase = pick(2) == 0;
                const std::vector<TextPoint> all = EveryMatch(lines_, needle, matchCase);
                const TextSearch search(needle, matchCase, display);
                const TextPoint from{static_cast<int>(pick(lineCount + 1)),
                                     static_cast<int>(pick(width + 2))};
                for (const auto direction : {SearchDirection::Forward, SearchDirection::Backward}) {
                    std::optional<TextPoint> expected;
                    if (direction == SearchDirection::Forward) {
                        for (const TextPoint& p : all)
                            if (!Before(p, from)) {
                                expected = p;
                                break;
                            }
                        if (!expected && !all.empty()) expected = all.front();
                    } else {
                        for (const TextPoint& p : all)
                            if (Before(p, from)) expected = p;
                        if (!expected && !all.empty()) expected = all.back();
                    }
                    const FindResult result = search.Find(lines_, from, direction);
                    const std::string what = std::string(setup.locale) + " round " +
                                             std::to_string(round) + " needle " +
                                             platform::Utf16ToUtf8(needle);
                    ASSERT_EQ(result.match.has_value(), expected.has_value()) << what;
                    if (expected) {
                        EXPECT_EQ(result.match->begin, *expected) << what;
                    }
                }
            }
        }
    }
}

} // namespace
