#include "CatalogRows.h"

#include "memtable/loxDisplay.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

namespace memtable {
namespace {

TEST(MemTableDisplay, DayNumbersCountFromTheFirstOfJanuaryOfYearOne) {
    EXPECT_EQ(DateToDayNumber(1, 1, 1), 1);
    EXPECT_EQ(DateToDayNumber(1899, 12, 30), kDayNumberOf30Dec1899);
    EXPECT_EQ(DateToDayNumber(2000, 3, 1) - DateToDayNumber(2000, 2, 28), 2); // leap year
    EXPECT_EQ(DateToDayNumber(1900, 3, 1) - DateToDayNumber(1900, 2, 28), 1); // not a leap year
    for (std::int32_t day : {1, 59, 60, 693594, 730179, 3652059}) {
        CivilDate date = DayNumberToDate(day);
        EXPECT_EQ(DateToDayNumber(date.year, date.month, date.day), day);
    }
    CivilDate last = DayNumberToDate(3652059);
    EXPECT_EQ(last.year, 9999);
    EXPECT_EQ(last.month, 12);
    EXPECT_EQ(last.day, 31);
}

TEST(MemTableDisplay, CellTextAndAlignmentPerFieldType) {
    auto table = MakePrnData();
    table->InsertValues({std::string("N  "), std::string("P"), testing::DateTimeOf(2007, 12, 24),
                         std::string("10:15"), std::string("A.TXT"), std::int32_t(-7),
                         std::int32_t(66)});
    const TField& datum = table->FieldNamed("Datum");
    EXPECT_EQ(table->ValueTextAt(1, table->FieldNamed("Nazov")), "N  ");
    EXPECT_EQ(table->ValueTextAt(1, table->FieldNamed("Sirka")), "-7");
    EXPECT_EQ(table->ValueTextAt(1, datum), platform::ShortDateText(2007, 12, 24));
    // The same record shows its date by the regional settings in force.
    platform::SetUserLocale("en_US");
    std::string american = table->ValueTextAt(1, datum);
    platform::SetUserLocale("sk_SK");
    EXPECT_NE(american, table->ValueTextAt(1, datum));
    EXPECT_NE(american.find("24"), std::string::npos);

    for (int i = 0; i < table->FieldCount(); ++i) {
        const TField& field = table->Field(i);
        bool number = field.FieldName() == "Sirka" || field.FieldName() == "Dlzka";
        EXPECT_EQ(CellAlignment(field), number ? taRightJustify : taLeftJustify)
            << field.FieldName();
    }
}

TEST(MemTableDisplay, CatalogColumnsAndTheirWidths) {
    auto table = MakePrnData();
    std::vector<std::string> titles, names;
    std::vector<int> widths;
    for (int i = 0; i < table->FieldCount(); ++i) {
        names.push_back(table->Field(i).FieldName());
        titles.push_back(table->Field(i).DisplayLabel());
        widths.push_back(table->Field(i).DisplayWidth());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Nazov", "Popis", "Datum", "Cas", "FilName", "Sirka",
                                               "Dlzka"}));
    EXPECT_EQ(titles, (std::vector<std::string>{"Názov", "Popis súboru", "Dátum", "Čas",
                                                "Meno súboru", "Šírka", "Dĺžka"}));
    EXPECT_EQ(widths, (std::vector<int>{10, 45, 10, 5, 14, 8, 8}));

    // Cas: five zeros of 6 px with an overhang of 1, unless the title is wider.
    EXPECT_EQ(ColumnWidthPixels(5, 6, 1, 17), 5 * 5 + 1 + 4);
    EXPECT_EQ(ColumnWidthPixels(5, 6, 1, 40), 44);
    EXPECT_EQ(DataRowHeight(13), 17);
    EXPECT_EQ(TitleRowHeight(13), 17);
}

} // namespace
} // namespace memtable
