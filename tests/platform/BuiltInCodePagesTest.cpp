// Kamenický and Mazovia, the DOS code pages this tool converts with tables of
// its own, checked against the published tables;
// and which code pages the ANSI and OEM settings may name.
#include "platform/CodePageNames.h"
#include "platform/CodePages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

using namespace platform;

namespace {

namespace fs = std::filesystem;

// The published byte tables, one line "0xNN 0xUUUU" per byte 0x80-0xFF: the
// shared folder beside the repository (or beside a folder of work trees) when
// it is there, else the copy kept with the tests, so no clone skips the check.
fs::path PublishedTables() {
    for (fs::path folder = fs::path(TLACSUB_SOURCE_DIR).parent_path();;
         folder = folder.parent_path()) {
        if (fs::exists(folder / "shared/codepages/kamenicky.txt"))
            return folder / "shared/codepages";
        if (folder == folder.parent_path()) break;
    }
    std::cout << "shared/codepages is not beside the repository; the tables kept with the "
                 "tests are read\n";
    return fs::path(TLACSUB_SOURCE_DIR) / "tests/platform/codepages";
}

struct TableRow {
    unsigned byte;
    char16_t character;
};

// Lines "0xNN 0xUUUU" for the bytes 0x80-0xFF.
std::vector<TableRow> ReadTable(const fs::path& file) {
    std::ifstream in(file);
    std::vector<TableRow> rows;
    std::string byte, character;
    while (in >> byte >> character)
        rows.push_back({static_cast<unsigned>(std::stoul(byte, nullptr, 16)),
                        static_cast<char16_t>(std::stoul(character, nullptr, 16))});
    return rows;
}

struct BuiltInPage {
    const char* file;
    std::vector<int> numbers;
};
const BuiltInPage kPages[] = {{"kamenicky.txt", {895, 867}}, {"mazovia.txt", {620, 667, 790, 991}}};

std::string Byte(unsigned b) {
    return std::string(1, static_cast<char>(b));
}

} // namespace

TEST(BuiltInCodePages, EveryUpperByteMatchesThePublishedTablesBothWays) {
    const fs::path folder = PublishedTables();
    for (const BuiltInPage& page : kPages) {
        const std::vector<TableRow> rows = ReadTable(folder / page.file);
        ASSERT_EQ(rows.size(), 128u) << page.file;
        for (int number : page.numbers) {
            SetMachineCodePages(1250, number);
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const TableRow& row = rows[i];
                ASSERT_EQ(row.byte, 0x80 + i) << page.file;
                const std::u16string character(1, row.character);
                SCOPED_TRACE(testing::Message() << number << " byte 0x" << std::hex << row.byte);
                EXPECT_EQ(CodePageToUtf16(number, Byte(row.byte)), character);
                EXPECT_EQ(Utf16ToCodePage(number, character), Byte(row.byte));
                // The preview, find and copy read the OEM page through this table.
                EXPECT_EQ(OemToDisplay(Byte(row.byte)), character);
            }
        }
    }
    SetMachineCodePages(1250, 852);
}

TEST(BuiltInCodePages, AsciiAndTheControlBytesStayThemselves) {
    std::string ascii;
    for (int b = 0; b < 0x80; ++b)
        ascii += static_cast<char>(b);
    const std::u16string wide(ascii.begin(), ascii.end());
    for (int number : {895, 867, 620, 991}) {
        EXPECT_EQ(CodePageToUtf16(number, ascii), wide) << number;
        EXPECT_EQ(Utf16ToCodePage(number, wide), ascii) << number;
    }
}

TEST(BuiltInCodePages, WhatAPageLacksBecomesAVisibleLookAlikeOrAQuestionMark) {
    struct Case {
        int codePage;
        std::u16string text;
        std::string bytes;
    };
    const Case cases[] = {
        {620, u"€ř", "??"},
        {895, u"€ł", "??"},
        {895, u"Å", "?"}, // 437 has it at 0x8F, where Kamenický has Á
        {620, u"ň", "?"},
        {895, u"Ａ１", "A1"},     // look-alikes from 437 where its byte means the same
        {620, u"\uFFE8", "\xB3"}, // the half-width bar as the box-drawing one
        {620, u"a\U0001F600b", "a?b"},
        {895, u"Čerpání žluťoučký kůň",
         "\x80"
         "erp\xA0"
         "n\xA1 \x91lu\x9Fou\x87k\x98 k\x96\xA4"},
        {620, u"Zażółć gęślą jaźń", "Za\xA7\xA2\x92\x8D g\x91\x9El\x86 ja\xA6\xA4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Utf16ToCodePage(c.codePage, c.text), c.bytes) << c.codePage;

    // Whatever a character becomes, it is never a control byte.
    for (int number : {895, 620}) {
        const char16_t* table = SingleByteTable(number);
        ASSERT_NE(table, nullptr);
        for (char32_t u = 0x80; u < 0x10000; ++u) {
            if (u >= 0xD800 && u < 0xE000) continue;
            const auto bytes = Utf16ToCodePage(number, std::u16string(1, static_cast<char16_t>(u)));
            ASSERT_TRUE(bytes && bytes->size() == 1);
            const auto b = static_cast<unsigned char>((*bytes)[0]);
            if (table[b] == u) continue;
            EXPECT_TRUE(b >= 0x20 && b != 0x7F) << number << " U+" << std::hex << unsigned(u);
        }
    }
}

TEST(UsableCodePages, SettingsTakeAsciiBasedPagesAndTheOemPageOneByteACharacter) {
    struct Case {
        int codePage;
        bool ansi;
        bool oem;
    };
    const Case cases[] = {
        {1250, true, true},   {852, true, true},    {895, true, true},    {867, true, true},
        {620, true, true},    {437, true, true},    {37, false, false},   {500, false, false},
        {1026, false, false}, {1140, false, false}, {932, true, false},   {936, true, false},
        {949, true, false},   {950, true, false},   {4242, false, false}, {0, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsUsableCodePage(c.codePage, CodePageRole::Ansi), c.ansi) << c.codePage;
        EXPECT_EQ(IsUsableCodePage(c.codePage, CodePageRole::Oem), c.oem) << c.codePage;
    }
    // Installed still: a table in such a page is read through it.
    for (int codePage : {37, 932, 895, 867, 620, 667, 790, 991})
        EXPECT_TRUE(IsCodePageInstalled(codePage)) << codePage;
}

TEST(UsableCodePages, ListedOnceEachWithTheirSlovakNames) {
    const auto labels = [](CodePageRole role) {
        std::vector<std::string> out;
        for (const CodePageChoice& choice : CodePageChoices(role))
            out.push_back(choice.label);
        return out;
    };
    const std::vector<std::string> ansi = labels(CodePageRole::Ansi);
    const std::vector<std::string> oem = labels(CodePageRole::Oem);
    for (const std::vector<std::string>* list : {&ansi, &oem}) {
        for (const char* label :
             {"852 – DOS stredoeurópska (Latin 2)", "1250 – Windows stredoeurópska",
              "895 – DOS Kamenický (KEYBCS2)", "620 – DOS Mazovia"})
            EXPECT_EQ(std::count(list->begin(), list->end(), label), 1) << label;
        for (const char* prefix : {"867 ", "667 ", "37 ", "500 "})
            EXPECT_TRUE(std::none_of(list->begin(), list->end(), [&](const std::string& label) {
                return label.starts_with(prefix);
            })) << prefix;
    }
    EXPECT_NE(std::find(ansi.begin(), ansi.end(), "932 – Windows japonská (Shift-JIS)"),
              ansi.end());
    EXPECT_EQ(std::find(oem.begin(), oem.end(), "932 – Windows japonská (Shift-JIS)"), oem.end());
    const std::vector<CodePageChoice> choices = CodePageChoices(CodePageRole::Oem);
    EXPECT_TRUE(std::is_sorted(choices.begin(), choices.end(), [](const auto& a, const auto& b) {
        return a.codePage < b.codePage;
    }));
    EXPECT_EQ(CodePageLabel(867), "867 – DOS Kamenický (KEYBCS2)");
    EXPECT_EQ(CodePageLabel(4242), "4242");
}
