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
    EXPECT_EQ(run.err, "Invalid DBF file.\n");

    DumpRun missing = Dump(dir, (dir / "NONE.DBF").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Open: file not found: \"" + (dir / "NONE.DBF").string() + "\".\n");

    EXPECT_EQ(Dump(dir, "").status, 2);
    EXPECT_EQ(Dump(dir, "--ansi x FILE").status, 2);
}
