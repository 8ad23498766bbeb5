#include "platform/Locale.h"
#include "platform/CodePages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace platform;

namespace {

class SlovakUser : public ::testing::Test {
  protected:
    void SetUp() override {
        SetUserLocale("sk_SK");
        SetMachineCodePages(1250, 852);
    }
};

} // namespace

TEST_F(SlovakUser, CollationIsCaseSensitiveAndLocaleAware) {
    ASSERT_TRUE(CollationAvailable());
    EXPECT_LT(CompareTextCaseSensitive("abc", "abd"), 0);
    EXPECT_NE(CompareTextCaseSensitive("abc", "ABC"), 0);
    EXPECT_EQ(CompareTextCaseSensitive("abc", "abc"), 0);
    EXPECT_EQ(CompareTextIgnoreCase("abc", "ABC"), 0);
    // Slovak sorts č after c and before d, ch after h: a byte order would not.
    EXPECT_LT(CompareTextCaseSensitive("\xE8"
                                       "a",
                                       "da"),
              0);
    EXPECT_GT(CompareTextCaseSensitive("\xE8"
                                       "a",
                                       "ca"),
              0);
    EXPECT_GT(CompareTextCaseSensitive("cha", "hz"), 0);
}

TEST_F(SlovakUser, CollationGivesOneConsistentOrder) {
    std::vector<std::string> words{"Mzdy",
                                   "mzdy",
                                   "MZDY",
                                   "\x8A"
                                   "ek",
                                   "sek",
                                   "Sklad",
                                   "",
                                   " ",
                                   "1"};
    std::sort(words.begin(), words.end(), [](const std::string& a, const std::string& b) {
        return CompareTextCaseSensitive(a, b) < 0;
    });
    for (size_t i = 0; i + 1 < words.size(); ++i) {
        EXPECT_LE(CompareTextCaseSensitive(words[i], words[i + 1]), 0);
        EXPECT_GE(CompareTextCaseSensitive(words[i + 1], words[i]), 0);
    }
    auto sorted = words;
    std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return CompareTextCaseSensitive(a, b) < 0;
    });
    EXPECT_EQ(sorted, words);
}

TEST_F(SlovakUser, ShortDateFollowsTheRegionalFormat) {
    std::string text = ShortDateText(2007, 12, 24);
    EXPECT_NE(text.find("24"), std::string::npos) << text;
    EXPECT_NE(text.find("12"), std::string::npos) << text;
    EXPECT_LT(text.find("24"), text.find("12")) << "day comes first in Slovak: " << text;
    // The empty catalog date of 30 December 1899 and a day before the Gregorian reform.
    EXPECT_NE(ShortDateText(1899, 12, 30).find("30"), std::string::npos);
    EXPECT_NE(ShortDateText(1, 1, 1).find("1"), std::string::npos);
    EXPECT_EQ(DecimalSeparator(), ',');
}

TEST(UsEnglishUser, ShortDatePutsTheMonthFirst) {
    SetUserLocale("en_US");
    std::string text = ShortDateText(2007, 12, 24);
    EXPECT_LT(text.find("12"), text.find("24")) << text;
    EXPECT_EQ(DecimalSeparator(), '.');
    SetUserLocale("sk_SK");
}
