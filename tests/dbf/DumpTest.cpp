// dbfdump, run as a program on tables the tests write.

#include "platform/CodePages.h"
#include "tests/dbf/DbfTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

using dbftest::ReadBytes;
using dbftest::TempDir;
using dbfwriter::DbfWriter;

namespace {

struct DumpRun {
    int status;
    std::string out, err;
};

DumpRun Dump(const TempDir& dir, const std::string& args) {
    const std::string errFile = (dir / "stderr.txt").string();
    const std::string command = std::string(DBFDUMP_EXE) + " " + args + " 2>" + errFile;
    DumpRun run{};
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadBytes(errFile);
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string Cp852(const std::u16string& text) {
    return platform::Utf16ToCodePage(852, text).value();
}

} // namespace

TEST(Dump, SlovakCatalogInCodePage852) {
    TempDir dir;
    DbfWriter w(0x03, 0x64);
    w.AddField("NAZOV", 'C', 10)
        .AddField("POPIS", 'C', 45)
        .AddField("DATUM", 'D', 8)
        .AddField("SIRKA", 'N', 5);
    w.AddRecord()
        .Text("NAZOV", Cp852(u"Účty"))
        .Text("POPIS", Cp852(u"Žltý kôň ďaleko"))
        .Date("DATUM", 2024, 1, 5)
        .Integer("SIRKA", 136);
    w.AddRecord(true).Text("NAZOV", "ZMAZANY");
    w.AddRecord().Text("NAZOV", "Prazdny");
    w.WriteTo(dir / "ZOZTLS.DBF");

    DumpRun run = Dump(dir, "--ansi 1250 --oem 852 " + (dir / "ZOZTLS.DBF").string());
    ASSERT_EQ(run.status, 0) << run.err;
    auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], R"({"level":4,"codepage":852,"mode":"OemAnsi","records":3,"fields":[)"
                        R"({"name":"NAZOV","type":"C","size":10,"decimals":0},)"
                        R"({"name":"POPIS","type":"C","size":45,"decimals":0},)"
                        R"({"name":"DATUM","type":"D","size":8,"decimals":0},)"
                        R"({"name":"SIRKA","type":"N","size":5,"decimals":0}]})");
    EXPECT_EQ(lines[1],
              "{\"NAZOV\":\"\xC3\x9A\xC4\x8Dty\",\"POPIS\":\"\xC5\xBDlt\xC3\xBD k\xC3\xB4\xC5\x88 "
              "\xC4\x8F"
              "aleko\",\"DATUM\":\"2024-01-05\",\"SIRKA\":136}");
    EXPECT_EQ(lines[2], R"({"NAZOV":"Prazdny","POPIS":null,"DATUM":null,"SIRKA":null})");

    DumpRun all = Dump(dir, "--deleted --ansi 1250 --oem 852 " + (dir / "ZOZTLS.DBF").string());
    auto allLines = Lines(all.out);
    ASSERT_EQ(allLines.size(), 4u);
    EXPECT_NE(allLines[1].find(",\"_deleted\":false}"), std::string::npos);
    EXPECT_EQ(allLines[2],
              R"({"NAZOV":"ZMAZANY","POPIS":null,"DATUM":null,"SIRKA":null,"_deleted":true})");
}

// The catalog a Czech host wrote in Kamenický, whether the OEM page is 852 or Kamenický.
TEST(Dump, KamenickyCatalogReadsAsItsLetters) {
    TempDir dir;
    struct Case {
        std::uint8_t driver;
        const char* oem;
        const char* layout;
    };
    for (const Case& c : {Case{0x68, "852", R"({"level":4,"codepage":895,"mode":"CodePage")"},
                          Case{0x68, "895", R"({"level":4,"codepage":895,"mode":"OemAnsi")"},
                          Case{0x20, "852", R"({"level":4,"codepage":867,"mode":"CodePage")"}}) {
        DbfWriter w(0x03, c.driver);
        w.AddField("POPIS", 'C', 45);
        w.AddRecord().Text("POPIS",
                           platform::Utf16ToCodePage(895, u"Čerpání žluťoučký kůň").value());
        w.WriteTo(dir / "ZOZTLS.DBF");
        DumpRun run = Dump(dir, std::string("--ansi 1250 --oem ") + c.oem + " " +
                                    (dir / "ZOZTLS.DBF").string());
        ASSERT_EQ(run.status, 0) << run.err;
        const auto lines = Lines(run.out);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(lines[0].starts_with(c.layout)) << lines[0];
        EXPECT_EQ(lines[1], R"({"POPIS":"Čerpání žluťoučký kůň"})") << c.oem;
    }
}

TEST(Dump, EveryKindOfValue) {
    TempDir dir;
    DbfWriter w(0x04);
    w.SetLanguageDriverName("DBWINUS0");
    w.AddField("I", 'I', 4)
        .AddField("F", 'N', 8, 2)
        .AddField("S", 'N', 3)
        .AddField("L", 'L', 1)
        .AddField("T", '@', 8)
        .AddField("M", 'M', 10)
        .AddField("Q", 'C', 6);
    const double stamp = (dbf::EncodeDate(2023, 12, 31) + 693594.0) * 86400000.0 + 45296000.0;
    w.AddRecord()
        .Binary32("I", -3)
        .Number("F", 12.5)
        .Integer("S", 7)
        .Logical("L", false)
        .Timestamp("T", stamp)
        .Text("M", "         1")
        .Raw("Q", "a\"b\\\x01");
    w.WriteTo(dir / "ALL.DBF");
    dbfwriter::WriteFile(dir / "ALL.DBT", std::string(512, '\0'));
    DumpRun run = Dump(dir, "--ansi 1252 --oem 850 " + (dir / "ALL.DBF").string());
    ASSERT_EQ(run.status, 0) << run.err;
    auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 59),
              R"({"level":7,"codepage":1252,"mode":"Identity","records":1,"f)");
    EXPECT_EQ(
        lines[1],
        R"({"I":-3,"F":12.5,"S":7,"L":false,"T":"2023-12-31T12:34:56","M":null,"Q":"a\"b\\\u0001"})");
}

TEST(Dump, RefusedFileGivesTheReadersMessage) {
    TempDir dir;
    dbfwriter::WriteFile(dir / "BAD.DBF", std::string(64, '\x07'));
    DumpRun run = Dump(dir, (dir / "BAD.DBF").string());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Invalid DBF file.\n"
                       "Reason: version byte at offset 0 is 0x07, which names no table level\n");

    DumpRun missing = Dump(dir, (dir / "NONE.DBF").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Open: file not found: \"" + (dir / "NONE.DBF").string() + "\".\n");

    EXPECT_EQ(Dump(dir, "").status, 2);
    EXPECT_EQ(Dump(dir, "--ansi x FILE").status, 2);
}

// Each kind of malformed header, lying or cut short, is refused with the reader's
// message and a reason naming the header field or descriptor and what it holds.
TEST(Dump, RefusalsNameTheFieldAndTheValueFound) {
    const auto catalog = [](std::uint8_t version = 0x03) {
        DbfWriter w(version, version == 0x04 ? 0 : 0x64);
        w.AddField("NAZOV", 'C', 10).AddField("SIRKA", 'N', 5).AddField("POPIS", 'C', 45);
        w.AddRecord().Text("NAZOV", "MZDY").Integer("SIRKA", 80);
        return w;
    };
    const auto withField = [&](std::size_t at, char type, std::uint8_t version = 0x03) {
        DbfWriter w(version, version == 0x04 ? 0 : 0x64);
        for (std::size_t i = 0; i < 3; ++i) {
            if (i == at)
                w.AddField("ZLE", type, 3);
            else
                w.AddField("POLE" + std::to_string(i), 'C', 5);
        }
        w.AddRecord();
        return w.Bytes();
    };
    const auto blankName = [&](std::size_t descriptor) {
        std::string bytes = catalog().Bytes();
        std::fill_n(bytes.begin() + 32 + 32 * static_cast<std::ptrdiff_t>(descriptor), 11, '\0');
        return bytes;
    };
    const std::string good = catalog().Bytes();
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
        std::string reason;
    };
    const std::string invalid = "Invalid DBF file.";
    const std::string aborted = "Operation aborted";
    const Case cases[] = {
        {"version 0", catalog(0x00).Bytes(), invalid,
         "version byte at offset 0 is 0x00, which names no table level"},
        {"version 0x0E", catalog(0x0E).Bytes(), invalid,
         "version byte at offset 0 is 0x0E, which names no table level"},
        {"empty file", "", invalid,
         "version byte at offset 0 is missing: the file ends after 0 bytes"},
        {"header length 0", catalog().OverrideHeaderLength(0).Bytes(), aborted,
         "header length at offset 8 is 0"},
        {"record length 0", catalog().OverrideRecordLength(0).Bytes(), aborted,
         "record length at offset 10 is 0"},
        {"cut before the header length", good.substr(0, 8), aborted,
         "header length at offset 8 is missing: the file ends after 8 bytes"},
        {"cut before the record length", good.substr(0, 10), aborted,
         "record length at offset 10 is missing: the file ends after 10 bytes"},
        {"cut inside the first descriptor", good.substr(0, 40), invalid,
         "field descriptor 1 (NAZOV) at offset 32: its type letter is missing: the file ends "
         "after 40 bytes"},
        {"cut before the second descriptor", good.substr(0, 64), invalid,
         "field descriptor 2 at offset 64 is missing: the file ends after 64 bytes"},
        {"first name blank", blankName(0), invalid,
         "field descriptor 1 at offset 32 has an empty name"},
        {"last name blank", blankName(2), invalid,
         "field descriptor 3 at offset 96 has an empty name"},
        {"first type unknown", withField(0, 'X'), invalid,
         "field descriptor 1 (ZLE) at offset 32 has the type letter 'X' (0x58), which names no "
         "field type"},
        {"last type unknown", withField(2, '\x01'), invalid,
         "field descriptor 3 (ZLE) at offset 96 has the type letter 0x01, which names no field "
         "type"},
        {"level 7 type unknown", withField(1, 'x', 0x04), invalid,
         "field descriptor 2 (ZLE) at offset 116 has the type letter 'x' (0x78), which names no "
         "field type"},
    };
    TempDir dir;
    const std::string file = (dir / "BAD.DBF").string();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dbfwriter::WriteFile(file, c.bytes);
        const DumpRun run = Dump(dir, file);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.message + "\nReason: " + c.reason + "\n");
    }

    // A memo field without its memo file: the message names the file, the reason the field.
    DbfWriter memo = catalog();
    memo.AddField("POZN", 'M', 10);
    memo.WriteTo(file);
    const DumpRun run = Dump(dir, file);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Open: file not found: \"" + (dir / "BAD.dbt").string() +
                           "\".\nReason: field descriptor 4 (POZN) has the type letter 'M' "
                           "(0x4D), whose values are kept in the memo file\n");
}
