// Finding typed Unicode text in OEM print-file lines as the viewer shows them.
#include "viewer/TextSearch.h"

#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

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

} // namespace
