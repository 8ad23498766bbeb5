// The file layout: levels, record count, descriptors and what makes a file unreadable.

#include "tests/dbf/DbfTestSupport.h"

#include <gtest/gtest.h>

using dbftest::TempDir;
using dbftest::WriteAndOpen;
using dbfwriter::DbfWriter;

namespace {

DbfWriter ThreeRecords(std::uint8_t version = 0x03, std::uint8_t driver = 0x64) {
    DbfWriter w(version, driver);
    w.AddField("NAZOV", 'C', 10);
    for (const char* name : {"A", "B", "C"})
        w.AddRecord().Text("NAZOV", name);
    return w;
}

std::string OpenError(const TempDir& dir, const std::string& bytes) {
    dbfwriter::WriteFile(dir / "BAD.DBF", bytes);
    try {
        dbftest::OpenReadOnly(dir / "BAD.DBF");
    } catch (const std::exception& e) {
        return e.what();
    }
    return "opened";
}

int CountVisible(dbf::TDbf& table) {
    int n = 0;
    for (table.First(); !table.Eof(); table.Next())
        ++n;
    return n;
}

} // namespace

TEST(FileStructure, LevelFollowsVersionByteAndLanguageDriver) {
    TempDir dir;
    struct Case {
        std::uint8_t version, driver;
        int level;
    };
    for (Case c :
         {Case{0x03, 0x00, 3}, Case{0x83, 0x00, 3}, Case{0x03, 0x64, 4}, Case{0x8B, 0x64, 4},
          Case{0xF5, 0x00, 25}, Case{0x30, 0x00, 25}, Case{0x31, 0x03, 25}}) {
        auto table = WriteAndOpen(dir, ThreeRecords(c.version, c.driver));
        EXPECT_EQ(table->TableLevel(), c.level) << std::hex << int(c.version);
    }
    DbfWriter level7(0x04);
    level7.SetLanguageDriverName("DBWINUS0").AddField("A_LONGER_NAME_THAN_ELEVEN", 'C', 5);
    level7.AddRecord().Text("A_LONGER_NAME_THAN_ELEVEN", "xy");
    auto table = WriteAndOpen(dir, level7);
    EXPECT_EQ(table->TableLevel(), 7);
    EXPECT_EQ(table->FieldByName("a_longer_name_than_eleven")->AsString(), "xy");

    for (std::uint8_t refused : {0x00, 0x01, 0x06, 0x07, 0x47}) {
        EXPECT_EQ(OpenError(dir, ThreeRecords(refused).Bytes()), "Invalid DBF file.")
            << int(refused);
    }
}

TEST(FileStructure, RecordCountComesFromFileSizeNotHeader) {
    TempDir dir;
    for (std::uint32_t lie : {2u, 5u, 0u, 0xFFFFFFFFu}) {
        DbfWriter w = ThreeRecords();
        w.OverrideRecordCount(lie);
        auto table = WriteAndOpen(dir, w);
        EXPECT_EQ(table->PhysicalRecordCount(), 3u);
        EXPECT_EQ(CountVisible(*table), 3);
    }
    // A partial record after the last whole one never counts, nor does a missing 0x1A.
    DbfWriter w = ThreeRecords();
    dbfwriter::WriteFile(dir / "P.DBF", w.Bytes() + "  half");
    EXPECT_EQ(CountVisible(*dbftest::OpenReadOnly(dir / "P.DBF")), 3);
    w.SetEndOfFileMark(false);
    EXPECT_EQ(CountVisible(*WriteAndOpen(dir, w)), 3);
}

TEST(FileStructure, FilesWithoutWholeRecordsOpenEmpty) {
    TempDir dir;
    DbfWriter w = ThreeRecords();
    std::string bytes = w.Bytes();
    const std::size_t header = w.HeaderLength();
    for (std::size_t size : {header, header + 1, header + w.RecordLength() - 1, header - 1}) {
        dbfwriter::WriteFile(dir / "S.DBF", bytes.substr(0, size));
        auto table = dbftest::OpenReadOnly(dir / "S.DBF");
        EXPECT_TRUE(table->Eof()) << size;
        EXPECT_EQ(table->PhysicalRecordCount(), 0u);
        EXPECT_EQ(table->FieldByName("NAZOV")->AsString(), "");
    }
}

TEST(FileStructure, ZeroLengthsAbortTheOpen) {
    TempDir dir;
    DbfWriter w = ThreeRecords();
    w.OverrideHeaderLength(0);
    EXPECT_EQ(OpenError(dir, w.Bytes()), "Operation aborted");
    DbfWriter r = ThreeRecords();
    r.OverrideRecordLength(0);
    EXPECT_EQ(OpenError(dir, r.Bytes()), "Operation aborted");
    // Shorter than the fixed header: the missing bytes are zero, so both lengths are 0.
    EXPECT_EQ(OpenError(dir, std::string("\x03\x7c\x01", 3)), "Operation aborted");
    EXPECT_EQ(OpenError(dir, ""), "Invalid DBF file.");
}

TEST(FileStructure, MalformedDescriptorsAreRefused) {
    TempDir dir;
    DbfWriter unknownType;
    unknownType.AddField("A", 'X', 3);
    EXPECT_EQ(OpenError(dir, unknownType.Bytes()), "Invalid DBF file.");

    DbfWriter emptyName;
    emptyName.AddField("", 'C', 3);
    EXPECT_EQ(OpenError(dir, emptyName.Bytes()), "Invalid DBF file.");

    // A header length that leaves no room for a descriptor still reads the first
    // and stops there; records then start where the header says.
    DbfWriter tiny = ThreeRecords();
    tiny.OverrideHeaderLength(33);
    dbfwriter::WriteFile(dir / "TINY.DBF", tiny.Bytes());
    auto table = dbftest::OpenReadOnly(dir / "TINY.DBF");
    EXPECT_EQ(table->FieldCount(), 1u);
    EXPECT_EQ(table->PhysicalRecordCount(), (tiny.Bytes().size() - 33) / 11);
}

TEST(FileStructure, DescriptorArrayEndsAtTerminatorOrBound) {
    TempDir dir;
    // No terminator: (header length - 32) div 32 descriptors are read.
    DbfWriter w;
    w.SetTerminator(false).AddField("A", 'C', 2).AddField("B", 'C', 3);
    w.AddRecord().Text("A", "aa").Text("B", "bbb");
    auto table = WriteAndOpen(dir, w);
    ASSERT_EQ(table->FieldCount(), 2u);
    EXPECT_EQ(table->FieldByName("B")->AsString(), "bbb");

    // Bytes between terminator and first record (a back-link area) are skipped.
    DbfWriter padded = ThreeRecords();
    padded.SetHeaderPadding(263);
    auto fox = WriteAndOpen(dir, padded);
    EXPECT_EQ(fox->FieldCount(), 1u);
    EXPECT_EQ(fox->FieldByName("NAZOV")->AsString(), "A");
}

TEST(FileStructure, WideCharacterFieldAndOffsets) {
    TempDir dir;
    DbfWriter w;
    w.AddField("WIDE", 'C', 300).AddField("NEXT", 'C', 4);
    std::string wide(300, 'w');
    wide[299] = 'z';
    w.AddRecord().Text("WIDE", wide).Text("NEXT", "tail");
    ASSERT_EQ(static_cast<unsigned char>(w.Bytes()[32 + 16]), 0x2C);
    ASSERT_EQ(static_cast<unsigned char>(w.Bytes()[32 + 17]), 0x01);
    auto table = WriteAndOpen(dir, w);
    EXPECT_EQ(table->FieldByName("WIDE")->Size(), 300);
    EXPECT_EQ(table->FieldByName("WIDE")->Precision(), 0);
    EXPECT_EQ(table->FieldByName("WIDE")->AsString(), wide);
    EXPECT_EQ(table->FieldByName("NEXT")->AsString(), "tail");
}

TEST(FileStructure, NamesTypesLockFieldAndDuplicates) {
    TempDir dir;
    DbfWriter w;
    w.AddField("Nazov", 'c', 5)
        .AddField("_DBASELOCK", 'C', 8)
        .AddField("sirka", 'n', 3)
        .AddField("NAZOV", 'C', 2)
        .AddField("Nazov", 'C', 2)
        .AddField("datum", 'd', 8);
    w.AddRecord()
        .Raw("Nazov", "first")
        .Raw("_DBASELOCK", "LOCKLOCK")
        .Raw("sirka", " 12")
        .Raw("datum", "20240105");
    w.Record(0).Bytes().replace(1 + 5 + 8 + 3, 4, "x2y3");
    auto table = WriteAndOpen(dir, w);
    ASSERT_EQ(table->FieldCount(), 5u);
    EXPECT_EQ(table->Fields(0)->FieldName(), "NAZOV");
    EXPECT_EQ(table->Fields(1)->FieldName(), "SIRKA");
    EXPECT_EQ(table->Fields(2)->FieldName(), "NAZOV2");
    EXPECT_EQ(table->Fields(3)->FieldName(), "NAZOV3");
    EXPECT_EQ(table->FindField("_DBASELOCK"), nullptr);
    // The hidden lock field still takes its place in the record.
    EXPECT_EQ(table->FieldByName("sirka")->DataType(), dbf::ftSmallint);
    EXPECT_EQ(table->FieldByName("Sirka")->AsInteger(), 12);
    EXPECT_EQ(table->FieldByName("nazov2")->AsString(), "x2");
    EXPECT_EQ(table->FieldByName("NAZOV3")->AsString(), "y3");
    EXPECT_EQ(table->FieldByName("DATUM")->AsDateTime(), dbf::EncodeDate(2024, 1, 5));
}

TEST(FileStructure, FieldsPastTheRecordReadNothing) {
    TempDir dir;
    DbfWriter w;
    w.AddField("A", 'C', 4).AddField("B", 'C', 10).AddField("N", 'I', 4);
    w.AddRecord().Text("A", "abcd").Text("B", "0123456789").Binary32("N", 7);
    w.OverrideRecordLength(8); // the record claims to end inside B
    auto table = WriteAndOpen(dir, w);
    ASSERT_FALSE(table->Eof());
    EXPECT_EQ(table->FieldByName("A")->AsString(), "abcd");
    EXPECT_EQ(table->FieldByName("B")->AsString(), "012");
    EXPECT_TRUE(table->FieldByName("N")->IsNull());
}
