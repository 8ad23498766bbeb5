// Field values: type mapping, trimming, parsing and the values bad content gives.

#include "tests/dbf/DbfTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using dbftest::TempDir;
using dbfwriter::DbfWriter;

namespace {

// One table with one field holding the given raw values, one record each.
class OneField {
  public:
    OneField(char type, int width, int decimals, std::initializer_list<std::string> raws,
             bool useFloatFields = true) {
        DbfWriter w;
        w.AddField("F", type, width, decimals);
        for (const std::string& raw : raws) {
            auto record = w.AddRecord();
            record.Bytes().replace(1, raw.size(), raw);
        }
        w.WriteTo(dir_ / "V.DBF");
        table_.SetReadOnly(true);
        table_.SetUseFloatFields(useFloatFields);
        table_.SetTableName((dir_ / "V.DBF").string());
        table_.Open();
    }
    dbf::TField& Field() { return *table_.FieldByName("F"); }
    // Moves to record n (1-based).
    dbf::TField& At(int n) {
        table_.First();
        for (int i = 1; i < n; ++i)
            table_.Next();
        return Field();
    }

  private:
    TempDir dir_;
    dbf::TDbf table_;
};

} // namespace

TEST(FieldValues, CharacterTrimmingAndNul) {
    OneField f('C', 8, 0, {"  ABC   ", "        ", std::string("AB\0CD   ", 8), "x"});
    EXPECT_EQ(f.Field().DataType(), dbf::ftString);
    EXPECT_EQ(f.At(1).AsString(), "  ABC");
    EXPECT_TRUE(f.At(2).IsNull());
    EXPECT_EQ(f.At(2).AsString(), "");
    EXPECT_EQ(f.At(3).AsString(), "AB");
    EXPECT_EQ(f.At(4).AsString(), "x");
}

TEST(FieldValues, NumericMappingFollowsWidthDecimalsAndUseFloatFields) {
    struct Case {
        int width, decimals;
        bool useFloat;
        dbf::TFieldType type;
        int size, precision;
    };
    for (Case c :
         {Case{3, 0, true, dbf::ftSmallint, 3, 0}, Case{4, 0, false, dbf::ftSmallint, 4, 0},
          Case{6, 0, true, dbf::ftFloat, 6, 0}, Case{6, 0, false, dbf::ftInteger, 6, 0},
          Case{9, 0, false, dbf::ftInteger, 9, 0}, Case{10, 0, false, dbf::ftLargeint, 10, 0},
          Case{8, 2, false, dbf::ftFloat, 8, 2}, Case{3, 5, true, dbf::ftFloat, 3, 1},
          Case{25, 4, true, dbf::ftFloat, 20, 4}}) {
        OneField f('N', c.width, c.decimals, {}, c.useFloat);
        EXPECT_EQ(f.Field().DataType(), c.type) << c.width << "," << c.decimals;
        EXPECT_EQ(f.Field().Size(), c.size) << c.width << "," << c.decimals;
        EXPECT_EQ(f.Field().Precision(), c.precision) << c.width << "," << c.decimals;
    }
}

TEST(FieldValues, SmallIntegers) {
    OneField f('N', 3, 0, {" 12", "1.5", "   ", "-7 ", "$1F", "x10", "1 2"});
    EXPECT_EQ(f.At(1).AsInteger(), 12);
    EXPECT_EQ(f.At(2).AsInteger(), 0);
    EXPECT_FALSE(f.At(2).IsNull()); // invalid text still is a value
    EXPECT_TRUE(f.At(3).IsNull());
    EXPECT_EQ(f.At(3).AsInteger(), 0);
    EXPECT_EQ(f.At(4).AsInteger(), -7);
    EXPECT_EQ(f.At(5).AsInteger(), 31);
    EXPECT_EQ(f.At(6).AsInteger(), 16);
    EXPECT_EQ(f.At(7).AsInteger(), 0);
}

TEST(FieldValues, IntegersKeepTheirRange) {
    OneField small('N', 4, 0, {"$FFF"}, false);
    EXPECT_EQ(small.At(1).AsInteger(), 4095);
    OneField wide('N', 11, 0, {"-2147483648", " 2147483648"}, false);
    EXPECT_EQ(wide.At(1).AsInteger(), -2147483647 - 1);
    EXPECT_EQ(wide.At(2).AsLargeInt(), 2147483648LL);
    OneField i32('N', 9, 0, {"999999999"}, false);
    EXPECT_EQ(i32.At(1).AsInteger(), 999999999);
}

TEST(FieldValues, FloatsRoundHalfToEvenAndAcceptBothSeparators) {
    OneField f('N', 8, 2,
               {"   12.50", "   13.50", "  -2.50 ", "   12,25", "1.2.3   ", "  abc   ", "   1e2  ",
                "1,5.5   "});
    EXPECT_DOUBLE_EQ(f.At(1).AsFloat(), 12.5);
    EXPECT_EQ(f.At(1).AsInteger(), 12);
    EXPECT_EQ(f.At(2).AsInteger(), 14);
    EXPECT_EQ(f.At(3).AsInteger(), -2);
    EXPECT_DOUBLE_EQ(f.At(4).AsFloat(), 12.25); // ',' is the Slovak separator
    EXPECT_DOUBLE_EQ(f.At(5).AsFloat(), 0.0);
    EXPECT_DOUBLE_EQ(f.At(6).AsFloat(), 0.0);
    EXPECT_DOUBLE_EQ(f.At(7).AsFloat(), 100.0);
    EXPECT_DOUBLE_EQ(f.At(8).AsFloat(), 0.0);

    OneField g('N', 6, 0, {"    42", "      "});
    EXPECT_EQ(g.Field().DataType(), dbf::ftFloat);
    EXPECT_DOUBLE_EQ(g.At(1).AsFloat(), 42.0);
    EXPECT_EQ(g.At(1).AsInteger(), 42);
    EXPECT_EQ(g.At(2).AsInteger(), 0);

    // A stored width of 25 is read from its first 20 characters only.
    OneField wide('N', 25, 0, {"                   12345"});
    EXPECT_DOUBLE_EQ(wide.At(1).AsFloat(), 1.0);
    OneField huge('N', 20, 0, {"99999999999999999999"});
    EXPECT_EQ(huge.At(1).AsInteger(), 2147483647);
}

TEST(FieldValues, Dates) {
    OneField f('D', 8, 0,
               {"20240105", "2024XX05", "20241305", "2024    ", "        ", "20230229", "00000101",
                " 2024010"});
    EXPECT_EQ(f.At(1).AsDateTime(), dbf::EncodeDate(2024, 1, 5));
    EXPECT_EQ(f.At(2).AsDateTime(), dbf::EncodeDate(2024, 1, 5));
    EXPECT_EQ(f.At(3).AsDateTime(), 0.0);
    EXPECT_FALSE(f.At(3).IsNull());
    EXPECT_EQ(f.At(4).AsDateTime(), dbf::EncodeDate(2024, 1, 1));
    EXPECT_TRUE(f.At(5).IsNull());
    EXPECT_EQ(f.At(5).AsDateTime(), 0.0);
    EXPECT_EQ(f.At(6).AsDateTime(), 0.0);
    EXPECT_EQ(f.At(7).AsDateTime(), 0.0);
    // Counting starts after leading blanks: day "0" makes the date invalid.
    EXPECT_EQ(f.At(8).AsDateTime(), 0.0);
    EXPECT_EQ(dbf::EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(dbf::EncodeDate(2024, 1, 5), 45296.0);

    // A date stored 10 wide is read from its first 8 bytes.
    OneField wide('D', 10, 0, {"20240105XX"});
    EXPECT_EQ(wide.At(1).AsDateTime(), dbf::EncodeDate(2024, 1, 5));
}

TEST(FieldValues, DateTimeText) {
    OneField f('T', 14, 0, {"20240105133005", "20240105240000", "2024010513", "20240105"});
    EXPECT_DOUBLE_EQ(f.At(1).AsDateTime(),
                     dbf::EncodeDate(2024, 1, 5) + (13 * 3600 + 30 * 60 + 5) / 86400.0);
    EXPECT_EQ(f.At(2).AsDateTime(), 0.0);
    // Missing minutes and seconds count as 1.
    EXPECT_DOUBLE_EQ(f.At(3).AsDateTime(),
                     dbf::EncodeDate(2024, 1, 5) + (13 * 3600 + 60 + 1) / 86400.0);
    EXPECT_DOUBLE_EQ(f.At(4).AsDateTime(), dbf::EncodeDate(2024, 1, 5) + (3600 + 60 + 1) / 86400.0);
}

TEST(FieldValues, Logical) {
    OneField f('L', 1, 0, {"T", "t", "Y", "F", " "});
    EXPECT_TRUE(f.At(1).AsBoolean());
    EXPECT_TRUE(f.At(2).AsBoolean());
    EXPECT_FALSE(f.At(3).AsBoolean());
    EXPECT_FALSE(f.At(4).AsBoolean());
    EXPECT_TRUE(f.At(5).IsNull());
}

TEST(FieldValues, BinaryTypes) {
    TempDir dir;
    DbfWriter w(0x04);
    w.AddField("I", 'I', 4).AddField("A", '+', 4).AddField("O", 'O', 8).AddField("S", '@', 8);
    // Midnight of 5 January 2024 on the timestamp scale.
    const double stamp = (dbf::EncodeDate(2024, 1, 5) + 693594.0) * 86400000.0;
    w.AddRecord()
        .Binary32("I", -5)
        .Binary32("A", 123456)
        .BinaryDouble("O", -2.5)
        .Timestamp("S", stamp + 3600000);
    w.AddRecord().Binary32("I", 2147483647).BinaryDouble("O", 1e300);
    w.AddRecord()
        .Raw("I", std::string(4, '\0'))
        .Raw("A", std::string(4, '\0'))
        .Raw("O", std::string(8, '\0'))
        .Raw("S", std::string(8, '\0'));
    auto table = dbftest::WriteAndOpen(dir, w);
    auto* i = table->FieldByName("I");
    auto* a = table->FieldByName("A");
    auto* o = table->FieldByName("O");
    auto* s = table->FieldByName("S");
    EXPECT_EQ(i->DataType(), dbf::ftInteger);
    EXPECT_EQ(a->DataType(), dbf::ftAutoInc);
    EXPECT_TRUE(a->ReadOnly());
    EXPECT_EQ(o->DataType(), dbf::ftFloat);
    EXPECT_EQ(s->DataType(), dbf::ftDateTime);
    EXPECT_EQ(i->AsInteger(), -5);
    EXPECT_EQ(a->AsInteger(), 123456);
    EXPECT_DOUBLE_EQ(o->AsFloat(), -2.5);
    EXPECT_DOUBLE_EQ(s->AsDateTime(), dbf::EncodeDate(2024, 1, 5) + 1 / 24.0);
    table->Next();
    EXPECT_EQ(i->AsInteger(), 2147483647);
    EXPECT_DOUBLE_EQ(o->AsFloat(), 1e300);
    EXPECT_EQ(o->AsInteger(), 2147483647);
    table->Next();
    EXPECT_TRUE(i->IsNull());
    EXPECT_TRUE(a->IsNull());
    EXPECT_TRUE(o->IsNull());
    EXPECT_TRUE(s->IsNull());
    EXPECT_EQ(s->AsDateTime(), 0.0);
}

TEST(FieldValues, WrongAccessRaisesButStringNumbersConvert) {
    OneField f('C', 5, 0, {"  42 ", "abc  "});
    EXPECT_EQ(f.At(1).AsInteger(), 42);
    EXPECT_THROW(f.At(2).AsInteger(), dbf::EDatabaseError);
    EXPECT_THROW(f.At(1).AsDateTime(), dbf::EDatabaseError);
    OneField l('L', 1, 0, {"T"});
    try {
        l.At(1).AsInteger();
        FAIL();
    } catch (const dbf::EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot access field 'F' as type Integer");
    }
}

TEST(FieldValues, IntegerParsing) {
    std::int64_t v = 0;
    EXPECT_TRUE(dbf::ParseInteger("0x1f", 32, v));
    EXPECT_EQ(v, 31);
    EXPECT_TRUE(dbf::ParseInteger("-$10", 32, v));
    EXPECT_EQ(v, -16);
    EXPECT_TRUE(dbf::ParseInteger("$FFFFFFFF", 32, v));
    EXPECT_EQ(v, -1);
    EXPECT_FALSE(dbf::ParseInteger("2147483648", 32, v));
    EXPECT_TRUE(dbf::ParseInteger("9223372036854775807", 64, v));
    EXPECT_FALSE(dbf::ParseInteger("9223372036854775808", 64, v));
    EXPECT_FALSE(dbf::ParseInteger("", 32, v));
    EXPECT_FALSE(dbf::ParseInteger("-", 32, v));
    EXPECT_FALSE(dbf::ParseInteger("$", 32, v));
}
