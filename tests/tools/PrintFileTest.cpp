// The print-file builder and the code page 852 text helpers behind every report.

#include "tools/demohost/PrintFile.h"
#include "tools/demohost/OemText.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace demohost {
namespace {

TEST(DemoOemText, SlovakLettersAndBoxLinesBecomeTheirCodePage852Bytes) {
    EXPECT_EQ(Oem("ľščťžýáíéôňäú"), "\x96\xE7\x9F\x9C\xA7\xEC\xA0\xA1\x82\x93\xE5\x84\xA3");
    EXPECT_EQ(Oem("┌─┬┐│└┴┘├┼┤╔═╗║╚╝"),
              "\xDA\xC4\xC2\xBF\xB3\xC0\xC1\xD9\xC3\xC5\xB4\xC9\xCD\xBB\xBA\xC8\xBC");
    // Code page 852 has no euro sign and no en dash: they must not slip in as '?'.
    EXPECT_THROW(Oem("12 €"), std::runtime_error);
    EXPECT_THROW(Oem("a – b"), std::runtime_error);
}

TEST(DemoOemText, PaddingCountsCharactersNotUtf8Bytes) {
    EXPECT_EQ(Left("Čaj", 5), "\xAC"
                              "aj  ");
    EXPECT_EQ(Right("ľ", 3), "  \x96");
    EXPECT_EQ(Centre("ab", 5), " ab  ");
    EXPECT_EQ(Money(123456789), "1 234 567,89");
    EXPECT_EQ(Money(-50), "-0,50");
    EXPECT_EQ(Quantity(12500), "12,500");
    EXPECT_EQ(Whole(-1234), "-1 234");
}

TEST(DemoBoxTable, RowsAndRulesShareOneWidthAndTooWideValuesAreRefused) {
    const BoxTable table({{3}, {4, Align::Right}});
    EXPECT_EQ(table.Width(), 14u);
    for (const std::string& line :
         {table.Top(), table.Separator(), table.Bottom(), table.Row({"ž", "1,5"})})
        EXPECT_EQ(line.size(), table.Width());
    EXPECT_EQ(table.Row({"ž", "1,5"}), "\xB3 \xA7   \xB3  1,5 \xB3");
    EXPECT_THROW(table.Row({"abcd", ""}), std::length_error);
}

TEST(DemoPrintFile, PagesHoldTheirLengthAndEndWithAFormFeedLine) {
    PrintFile file(
        10, 3, [](int page) { return std::vector<std::string>{"Strana " + std::to_string(page)}; });
    for (const char* line : {"a", "b", "c", "d", "e"})
        file.Add(line);
    file.NewPage();
    file.NewPage(); // a second break in a row makes no empty page
    file.Add("f");
    const PrintFileBytes result = file.Finish(false);
    EXPECT_EQ(result.bytes, "Strana 1\r\na\r\nb\r\n\f\r\n"
                            "Strana 2\r\nc\r\nd\r\n\f\r\n"
                            "Strana 3\r\ne\r\n\f\r\n"
                            "Strana 4\r\nf\r\n");
    EXPECT_EQ(result.pages, 4);
    EXPECT_EQ(result.width, 10);
    EXPECT_EQ(result.length, 3);
}

TEST(DemoPrintFile, KeepTogetherMovesABlockThatWouldBeSplit) {
    PrintFile file(10, 4);
    file.Add("a");
    file.Add("b");
    file.KeepTogether(3);
    file.Add({"c", "d", "e"});
    EXPECT_EQ(file.Finish().bytes, "a\r\nb\r\n\f\r\nc\r\nd\r\ne\r\n\f\r\n");
}

TEST(DemoPrintFile, RefusesLinesThatWouldNotPrintAsWritten) {
    PrintFile file(8, 10);
    EXPECT_NO_THROW(file.Add("12345678"));
    EXPECT_THROW(file.Add("123456789"), std::length_error);
    // The preview turns each TAB into four blanks, so two TABs already take eight.
    EXPECT_NO_THROW(file.Add("\t\t"));
    EXPECT_THROW(file.Add("\t\tx"), std::length_error);
    EXPECT_THROW(file.Add("a\r\nb"), std::invalid_argument);
    EXPECT_THROW(file.Add("page\f"), std::invalid_argument);
    EXPECT_THROW(PrintFile(0, 10), std::invalid_argument);
    // A header as long as the page would start a new page for every line.
    PrintFile crowded(8, 2, [](int) { return std::vector<std::string>{"h1", "h2"}; });
    EXPECT_THROW(crowded.Add("x"), std::length_error);
}

} // namespace
} // namespace demohost
