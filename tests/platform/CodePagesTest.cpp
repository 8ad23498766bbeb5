#include "platform/CodePages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

class CentralEuropeanMachine : public ::testing::Test {
  protected:
    void SetUp() override { SetMachineCodePages(1250, 852); }
};

} // namespace

TEST(CodePagesForLocale, FollowsTheOriginalSystemsAssignment) {
    EXPECT_EQ(CodePagesForLocale("sk_SK.UTF-8").ansi, 1250);
    EXPECT_EQ(CodePagesForLocale("sk_SK.UTF-8").oem, 852);
    EXPECT_EQ(CodePagesForLocale("cs_CZ").oem, 852);
    EXPECT_EQ(CodePagesForLocale("de_DE.UTF-8").oem, 850);
    EXPECT_EQ(CodePagesForLocale("en_US.UTF-8").oem, 437);
    EXPECT_EQ(CodePagesForLocale("ru_RU").ansi, 1251);
    EXPECT_EQ(CodePagesForLocale("ru_RU").oem, 866);
    EXPECT_EQ(CodePagesForLocale("C").ansi, 1252);
    EXPECT_EQ(CodePagesForLocale("POSIX").oem, 437);
    EXPECT_EQ(CodePagesForLocale("en_US_POSIX").oem, 437); // UserLocale's name for C and POSIX
}

TEST(InstalledCodePages, HoldTheDosAndWindowsPagesTheHostUses) {
    for (int cp : {437, 850, 852, 866, 1250, 1251, 1252})
        EXPECT_TRUE(IsCodePageInstalled(cp)) << cp;
    EXPECT_FALSE(IsCodePageInstalled(0));
    EXPECT_FALSE(IsCodePageInstalled(12345));
}

TEST_F(CentralEuropeanMachine, OemToAnsiMapsSlovakLettersByteForByte) {
    // á, č, ž, ô in 852 become their 1250 bytes; ASCII and the length stay.
    EXPECT_EQ(OemToAnsi("\xA0"), "\xE1");
    EXPECT_EQ(OemToAnsi("Cena \x9F\xA7\x93"), "Cena \xE8\x9E\xF4");
    EXPECT_EQ(AnsiToOem("\xE1\xE8"), "\xA0\x9F");
    EXPECT_EQ(OemToAnsi(""), "");
    // Box drawing has no 1250 letter; whatever it becomes, it stays one byte.
    EXPECT_EQ(OemToAnsi("\xC4\xB3").size(), 2u);
}

TEST_F(CentralEuropeanMachine, ConvertsThroughUtf16AndBack) {
    auto wide = CodePageToUtf16(850, "\x82t\x82");
    ASSERT_TRUE(wide);
    EXPECT_EQ(*wide, u"\u00E9t\u00E9");
    auto back = Utf16ToCodePage(1250, *wide);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, "\xE9t\xE9");
    EXPECT_EQ(*CodePageToUtf16(852, ""), u"");
    EXPECT_FALSE(CodePageToUtf16(12345, "x"));
    // A character 1250 lacks is replaced, never dropped.
    EXPECT_EQ(Utf16ToCodePage(1250, u"\u4E2D")->size(), 1u);
}

TEST_F(CentralEuropeanMachine, AnsiTextBecomesUnicode) {
    EXPECT_EQ(AnsiToUtf16("\x9Eiak"), u"\u017Eiak");
    EXPECT_EQ(AnsiToUtf8("\x9Eiak"), "\xC5\xBEiak");
}

TEST_F(CentralEuropeanMachine, DisplayShowsControlBytesAsOemGlyphs) {
    std::u16string shown = OemToDisplay(std::string("\x01\x0C\x7F\xA0\xC4 A", 7));
    EXPECT_EQ(shown, u"\u263A\u2640\u2302\u00E1\u2500 A");
    EXPECT_EQ(OemToDisplay(std::string(1, '\0')), u" ");
}

TEST(MachineCodePages, CanBeSwitchedForTheProcess) {
    SetMachineCodePages(1252, 850);
    EXPECT_EQ(AnsiCodePage(), 1252);
    EXPECT_EQ(OemCodePage(), 850);
    EXPECT_EQ(OemToAnsi("\x82"), "\xE9");
    EXPECT_EQ(OemToDisplay("\x82"), u"\u00E9");
    SetMachineCodePages(1250, 852);
    EXPECT_EQ(OemToDisplay("\x82"), u"\u00E9"); // é is 0x82 in 852 too
    EXPECT_EQ(OemToDisplay("\xA0"), u"\u00E1");
}

TEST_F(CentralEuropeanMachine, CharactersTheTargetLacksBecomeAQuestionMarkNeverAControlByte) {
    // Box drawing, ø, ¥, ½, ñ and œ have no place in 1250; á, é, € and ASCII do.
    struct Case {
        int from;
        std::string bytes;
        std::string ansi;
    };
    for (const Case& c :
         {Case{852, "\xC4\xB3\xDA\xB0\xA0x", "????\xE1x"},
          Case{850, "\x9B\xBE\xAB\x82x", "???\xE9x"}, Case{1252, "\xF1\x9C\x80x", "??\x80x"}}) {
        auto wide = CodePageToUtf16(c.from, c.bytes);
        ASSERT_TRUE(wide) << c.from;
        EXPECT_EQ(Utf16ToCodePage(1250, *wide), c.ansi) << c.from;
    }
    EXPECT_EQ(OemToAnsi("\xC4\xB3\xDA\xB0\xA0x"), "????\xE1x");
    EXPECT_EQ(AnsiToOem("\x80\xE1"), "?\xA0"); // 852 has no euro sign
    EXPECT_EQ(Utf16ToCodePage(1250, u"\u4E2D"), "?");
}

TEST_F(CentralEuropeanMachine, DosPagesReadAsTheirPcTablesWithAsciiKept) {
    // 0xAA of 852 is the not sign; control bytes and 0x7F stay themselves.
    EXPECT_EQ(CodePageToUtf16(852, std::string("\xAA\x1A\x1C\x7F", 4)), u"\u00AC\x1A\x1C\x7F");
    EXPECT_EQ(CodePageToUtf16(437, std::string("\x1A\x7F", 2)), u"\x1A\x7F");
    EXPECT_EQ(OemToAnsi("\xAA\x7F"), "\xAC\x7F");
    EXPECT_EQ(AnsiToOem(std::string("\xAC\x1A\x7F", 3)), std::string("\xAA\x1A\x7F", 3));
    EXPECT_EQ(OemToDisplay("\xAA"), u"\u00AC");
}

TEST(AnsiUpperCase, KeepsLettersWhoseCapitalTheCodePageLacks) {
    struct Case {
        int ansi;
        std::string text;
        std::string upper;
    };
    // µ's capital is Greek Mu and ß has none; ÿ's capital Ÿ exists in 1252 only.
    for (const Case& c : {Case{1250, "\xB5x", "\xB5X"}, Case{1252, "\xB5x", "\xB5X"},
                          Case{1252, "\xDF\xFF", "\xDF\x9F"},
                          Case{1250, "\xE1\xE8\xDF", "\xC1\xC8\xDF"}, Case{1252, "abc", "ABC"}}) {
        SetMachineCodePages(c.ansi, 850);
        EXPECT_EQ(AnsiUpperCase(c.text), c.upper) << c.ansi << " " << c.text;
    }
    SetMachineCodePages(1250, 852);
}

TEST(Utf16ToUtf8, EncodesPairsWholeAndAStraySurrogateAsTheReplacementCharacter) {
    struct Case {
        std::u16string text;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {u"", ""},
        {u"Žltý kôň", "Žltý kôň"},
        {u"╔═╗", "╔═╗"},
        {u"a\U0001F600b", "a\xF0\x9F\x98\x80"
                          "b"},
        {std::u16string(1, char16_t{0xD800}) + u"x", "\xEF\xBF\xBDx"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf16ToUtf8(c.text), c.utf8) << c.utf8;
}
