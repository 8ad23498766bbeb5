// Language drivers, translation modes and the translation of character values
// on a machine with ANSI 1250 and OEM 852.

#include "platform/CodePages.h"
#include "tests/dbf/DbfTestSupport.h"

#include <gtest/gtest.h>

using dbf::TextTranslation;
using dbftest::TempDir;
using dbfwriter::DbfWriter;

namespace {

// "á" is 0xA0 in 852, 0xE1 in 1250 and 0xA0 in 850; "č" is 0x9F in 852, 0xE8 in 1250.
DbfWriter TextTable(std::uint8_t driver, const std::string& text) {
    DbfWriter w(0x03, driver);
    w.AddField("T", 'C', static_cast<int>(std::max<std::size_t>(text.size(), 1)));
    w.AddRecord().Text("T", text);
    return w;
}

} // namespace

TEST(Language, DriverBytesAndNames) {
    EXPECT_EQ(dbf::LangIdToCodePage(0x00), 0);
    EXPECT_EQ(dbf::LangIdToCodePage(0x64), 852);
    EXPECT_EQ(dbf::LangIdToCodePage(0x87), 852);
    EXPECT_EQ(dbf::LangIdToCodePage(0x02), 850);
    EXPECT_EQ(dbf::LangIdToCodePage(0xC8), 1250);
    EXPECT_EQ(dbf::LangIdToCodePage(0x03), 1252);
    EXPECT_EQ(dbf::LangIdToCodePage(0x97), 10029);
    EXPECT_EQ(dbf::LangIdToCodePage(0xFF), 0);

    EXPECT_EQ(dbf::LangNameToCodePage("DBWINUS0"), 1252);
    EXPECT_EQ(dbf::LangNameToCodePage("DBHEBREW"), 1255);
    EXPECT_EQ(dbf::LangNameToCodePage("DB852CZ0"), 852);
    EXPECT_EQ(dbf::LangNameToCodePage("DB1250US0"), 1250);
    EXPECT_EQ(dbf::LangNameToCodePage("DBXYZ"), 0);
    EXPECT_EQ(dbf::LangNameToCodePage("FOXWINUS"), 0); // WIN must be characters 6-8
    EXPECT_EQ(dbf::LangNameToCodePage("FOX  WIN"), 1252);
    EXPECT_EQ(dbf::LangNameToCodePage("FOX  437"), 437);
    EXPECT_EQ(dbf::LangNameToCodePage("db852CZ0"), 0);
    EXPECT_EQ(dbf::LangNameToCodePage(std::string("DB437US0\0\0\0", 11)), 437);
}

TEST(Language, ModesAndTranslationOnASlovakMachine) {
    TempDir dir;
    for (std::uint8_t driver : {0x64, 0x1F, 0x22, 0x23, 0x87}) {
        auto table = dbftest::WriteAndOpen(dir, TextTable(driver, "\xA0\x9F"));
        EXPECT_EQ(table->TranslationMode(), TextTranslation::OemAnsi);
        EXPECT_EQ(table->FieldByName("T")->AsString(), "\xE1\xE8");
    }
    auto ansi = dbftest::WriteAndOpen(dir, TextTable(0xC8, "\xE1\xE8"));
    EXPECT_EQ(ansi->TranslationMode(), TextTranslation::Identity);
    EXPECT_EQ(ansi->FieldByName("T")->AsString(), "\xE1\xE8");

    // No driver: the machine's ANSI code page, text unchanged.
    auto none = dbftest::WriteAndOpen(dir, TextTable(0x00, "\xE1\x9F"));
    EXPECT_EQ(none->TranslationMode(), TextTranslation::Identity);
    EXPECT_EQ(none->FieldByName("T")->AsString(), "\xE1\x9F");

    ASSERT_TRUE(platform::IsCodePageInstalled(850));
    auto cp850 = dbftest::WriteAndOpen(dir, TextTable(0x02, "\xA0"));
    EXPECT_EQ(cp850->TranslationMode(), TextTranslation::CodePage);
    EXPECT_EQ(cp850->FieldByName("T")->AsString(), "\xE1");

    // Field objects can be told not to translate.
    auto raw = dbftest::WriteAndOpen(dir, TextTable(0x64, "\xA0"));
    raw->FieldByName("T")->Transliterate = false;
    EXPECT_EQ(raw->FieldByName("T")->AsString(), "\xA0");
}

TEST(Language, LongValuesAreTranslatedWhole) {
    TempDir dir;
    std::string oem;
    for (int i = 0; i < 1500; ++i)
        oem += (i % 2) ? "\xA0" : "a";
    std::string ansi;
    for (int i = 0; i < 1500; ++i)
        ansi += (i % 2) ? "\xE1" : "a";
    EXPECT_EQ(dbftest::WriteAndOpen(dir, TextTable(0x64, oem))->FieldByName("T")->AsString(), ansi);
    EXPECT_EQ(dbftest::WriteAndOpen(dir, TextTable(0x02, oem))->FieldByName("T")->AsString(), ansi);
}

TEST(Language, WhatTheAnsiPageLacksBecomesAQuestionMarkAndNamesKeepTheirLetters) {
    TempDir dir;
    // Box drawing from 852, ø ¥ ½ from 850, ñ œ from 1252 have no place in 1250.
    struct Case {
        std::uint8_t driver;
        std::string stored;
        std::string read;
    };
    for (const Case& c :
         {Case{0x64, "\xC4\xB3\xDA\xB0\xA0x", "????\xE1x"},
          Case{0x02, "\x9B\xBE\xAB\x82x", "???\xE9x"}, Case{0x03, "\xF1\x9C\x80x", "??\x80x"}}) {
        auto table = dbftest::WriteAndOpen(dir, TextTable(c.driver, c.stored));
        EXPECT_EQ(table->FieldByName("T")->AsString(), c.read) << int(c.driver);
    }
    // µ's capital is not in 1250, so the field name "µx" is listed as "µX".
    DbfWriter w(0x03, 0xC8);
    w.AddField("\xB5x", 'C', 1);
    w.AddRecord().Text("\xB5x", "a");
    auto table = dbftest::WriteAndOpen(dir, w);
    ASSERT_EQ(table->FieldCount(), 1u);
    EXPECT_EQ(table->Fields(0)->FieldName(), "\xB5X");
}

TEST(Language, UnconvertibleCodePageAsksTheHandler) {
    TempDir dir;
    // Urdu (0x8E): a converter exists, but the page is not among the installed ones.
    ASSERT_FALSE(platform::IsCodePageInstalled(868));
    TextTable(0x8E, "\xA0x").WriteTo(dir / "M.DBF");

    auto plain = dbftest::OpenReadOnly(dir / "M.DBF");
    EXPECT_EQ(plain->TranslationMode(), TextTranslation::Unavailable);
    EXPECT_EQ(plain->FieldByName("T")->AsString(), "\xA0x");

    int asked = 0;
    for (auto [action, mode, text] :
         {std::tuple{dbf::laEditOnly, TextTranslation::Unavailable, "\xA0x"},
          std::tuple{dbf::laForceOEM, TextTranslation::OemAnsi, "\xE1x"},
          std::tuple{dbf::laForceANSI, TextTranslation::Identity, "\xA0x"}}) {
        dbf::TDbf table;
        table.SetReadOnly(true);
        table.SetTableName((dir / "M.DBF").string());
        table.OnLanguageWarning = [&, action = action](dbf::TDbf&, dbf::TDbfLanguageAction& a) {
            EXPECT_EQ(a, dbf::laEditOnly);
            a = action;
            ++asked;
        };
        table.Open();
        EXPECT_EQ(table.TranslationMode(), mode);
        EXPECT_EQ(table.FieldByName("T")->AsString(), text);
    }
    EXPECT_EQ(asked, 3);

    // A convertible code page never asks.
    dbf::TDbf known;
    known.SetReadOnly(true);
    TextTable(0x64, "a").WriteTo(dir / "K.DBF");
    known.SetTableName((dir / "K.DBF").string());
    known.OnLanguageWarning = [&](dbf::TDbf&, dbf::TDbfLanguageAction&) { ++asked; };
    known.Open();
    EXPECT_EQ(asked, 3);
}

TEST(Language, OnTranslateReplacesTheTranslation) {
    TempDir dir;
    TextTable(0x64, "abc ").WriteTo(dir / "X.DBF");
    dbf::TDbf table;
    table.SetReadOnly(true);
    table.SetTableName((dir / "X.DBF").string());
    int calls = 0;
    table.OnTranslate = [&](dbf::TDbf&, const std::string& src, std::string& dest, bool toOem) {
        ++calls;
        EXPECT_FALSE(toOem);
        EXPECT_EQ(src, "abc");
        dest = "XYZW";
        return calls == 1 ? 2 : -1;
    };
    table.Open();
    EXPECT_EQ(table.FieldByName("T")->AsString(), "XY");
    EXPECT_EQ(table.FieldByName("T")->AsString(), "XYZW");
    // Empty values never reach the handler.
    DbfWriter blank(0x03, 0x64);
    blank.AddField("T", 'C', 3);
    blank.AddRecord();
    blank.WriteTo(dir / "B.DBF");
    table.Close();
    table.SetTableName((dir / "B.DBF").string());
    table.Open();
    EXPECT_EQ(table.FieldByName("T")->AsString(), "");
    EXPECT_EQ(calls, 2);
}

// Kamenický (drivers 0x68 and 0x20) and Mazovia (0x69) are read as installed code
// pages: OemAnsi when the machine's OEM page is theirs, CodePage otherwise.
TEST(Language, KamenickyAndMazoviaTablesReadInBothModes) {
    TempDir dir;
    const std::u16string czech = u"Čerpání žluťoučký kůň";
    const std::u16string polish = u"Zażółć gęślą jaźń";
    struct Case {
        std::uint8_t driver;
        int codePage;
        std::u16string text;
    };
    const Case cases[] = {{0x68, 895, czech}, {0x20, 867, czech}, {0x69, 620, polish}};
    for (const Case& c : cases) {
        const std::string stored = *platform::Utf16ToCodePage(c.codePage, c.text);
        const std::string expected = *platform::Utf16ToCodePage(1250, c.text);
        ASSERT_EQ(stored.size(), c.text.size());
        for (auto [oem, mode] : {std::pair{c.codePage, TextTranslation::OemAnsi},
                                 std::pair{852, TextTranslation::CodePage}}) {
            SCOPED_TRACE(testing::Message() << "driver " << int(c.driver) << ", OEM " << oem);
            platform::SetMachineCodePages(1250, oem);
            auto table = dbftest::WriteAndOpen(dir, TextTable(c.driver, stored));
            EXPECT_EQ(table->TranslationMode(), mode);
            EXPECT_EQ(platform::AnsiToUtf16(table->FieldByName("T")->AsString()), c.text);
            EXPECT_EQ(table->FieldByName("T")->AsString(), expected);
        }
    }
    platform::SetMachineCodePages(1250, 852);
}

// Pages the machine's settings refuse (EBCDIC, the multibyte ones as OEM) still
// convert, so a table in one is translated from it like any installed page.
TEST(Language, TablesInEbcdicOrAMultibytePageAreTranslatedFromIt) {
    TempDir dir;
    DbfWriter ebcdic(0x04);
    ebcdic.SetLanguageDriverName("DB037US0").AddField("T", 'C', 4);
    ebcdic.AddRecord().Text("T", "\xC1\xF1\x40\x81");
    auto table = dbftest::WriteAndOpen(dir, ebcdic);
    EXPECT_EQ(table->TranslationMode(), TextTranslation::CodePage);
    EXPECT_EQ(table->FieldByName("T")->AsString(), "A1 a");

    auto japanese = dbftest::WriteAndOpen(dir, TextTable(0x13, "Kana \xB1"));
    EXPECT_EQ(japanese->TranslationMode(), TextTranslation::CodePage);
    EXPECT_EQ(japanese->FieldByName("T")->AsString(), "Kana ?"); // half-width ア has no 1250 byte
}
