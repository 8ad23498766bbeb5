#include "CatalogRows.h"

#include "memtable/RecordArray.h"
#include "memtable/loxDisplay.h"
#include "platform/Assert.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace memtable {
namespace {

using testing::DateTimeOf;
using testing::EmptyTable;
using testing::InsertEntry;

template <class Error, class Action> void ExpectError(Action action, const std::string& message) {
    try {
        action();
        ADD_FAILURE() << "no error, expected: " << message;
    } catch (const Error& error) {
        EXPECT_EQ(error.what(), message);
    } catch (const std::exception& other) {
        ADD_FAILURE() << "wrong error class: " << other.what();
    }
}

TEST(MemTableStore, ValuesAreCutToSizeAndDatesLoseTheirTime) {
    auto table = MakePrnData();
    table->InsertValues({std::string("ABCDEFGHIJKL"), std::string("desc  "), TDateTime{0.5},
                         std::string(""), std::string("X.TXT"), std::int32_t(-132),
                         std::int32_t(2147483647)});
    EXPECT_EQ(table->FieldNamed("Nazov").ValueText(), "ABCDEFGHIJ");
    EXPECT_EQ(table->FieldNamed("Popis").ValueText(), "desc  "); // trailing blanks stay
    EXPECT_EQ(table->FieldNamed("Datum").ValueDayNumber(), DateToDayNumber(1899, 12, 30));
    EXPECT_EQ(table->FieldNamed("Cas").ValueText(), "");
    EXPECT_FALSE(table->FieldNamed("Cas").IsNull()); // the empty text is a value
    EXPECT_EQ(table->FieldNamed("Sirka").ValueInteger(), -132);
    EXPECT_EQ(table->FieldNamed("Sirka").ValueText(), "-132");
    EXPECT_EQ(table->FieldNamed("Dlzka").ValueInteger(), 2147483647);
    EXPECT_EQ(table->FieldNamed("Datum").ValueText(), DayNumberText(693594));

    // A time of day before 1899 does not pull the date into the next day.
    InsertEntry(*table, "OLD", DateTimeOf(1899, 12, 29, 18.0));
    table->MoveToPosition(2);
    EXPECT_EQ(table->FieldNamed("Datum").ValueDayNumber(), DateToDayNumber(1899, 12, 29));
}

TEST(MemTableStore, FieldNamedIgnoresCase) {
    auto table = MakePrnData();
    for (const char* name : {"FILNAME", "filname", "FilName"})
        EXPECT_EQ(&table->FieldNamed(name), &table->FieldNamed("FilName")) << name;
    EXPECT_EQ(table->FieldNamed("POPIS").FieldNo(), 2);
}

TEST(MemTableStore, IdentitiesAreReusedLastFreedFirstWhileNumbersKeepCounting) {
    auto table = MakePrnData();
    table->SetIndexName(""); // arrival order, so positions follow arrival
    for (const char* name : {"A", "B", "C", "D"})
        InsertEntry(*table, name);
    for (int position = 1; position <= 4; ++position) {
        table->MoveToPosition(position);
        EXPECT_EQ(table->CurrentIdentity(), position - 1);
        EXPECT_EQ(table->CurrentUniqueNumber(), position - 1);
    }
    table->MoveToPosition(2);
    table->DeleteCurrent(); // frees 1
    table->MoveToPosition(3);
    table->DeleteCurrent(); // frees 3, the last freed
    InsertEntry(*table, "E");
    InsertEntry(*table, "F");
    InsertEntry(*table, "G");
    table->MoveToPosition(3);
    EXPECT_EQ(table->CurrentIdentity(), 3);
    EXPECT_EQ(table->CurrentUniqueNumber(), 4);
    table->MoveToPosition(4);
    EXPECT_EQ(table->CurrentIdentity(), 1);
    EXPECT_EQ(table->CurrentUniqueNumber(), 5);
    table->MoveToPosition(5);
    EXPECT_EQ(table->CurrentIdentity(), 4); // none free: the next never-used one
    EXPECT_EQ(table->CurrentUniqueNumber(), 6);

    EmptyTable(*table);
    InsertEntry(*table, "H");
    EXPECT_EQ(table->CurrentUniqueNumber(), 7); // counting goes on across emptying
}

TEST(MemTableErrors, RecordLayerMessagesCarryTheTableName) {
    auto table = MakePrnData();
    ExpectError<EDatabaseError>([&] { table->FieldNamed("Nazvy"); },
                                "PrnData: Field 'Nazvy' not found");
    ExpectError<EDatabaseError>([&] { table->DeleteCurrent(); },
                                "PrnData: Cannot perform this operation on an empty dataset");
    ExpectError<EDatabaseError>([&] { table->FieldNamed("Nazov").AssignValue(std::string("X")); },
                                "PrnData: Dátový súbor nie v režime editácie !");
    table->Close();
    EXPECT_FALSE(table->Active());
    EXPECT_EQ(table->CursorPosition(), -1);
    ExpectError<EDatabaseError>([&] { table->RecordTotal(); },
                                "PrnData: Cannot perform this operation on a closed dataset");
}

TEST(MemTableErrors, BookmarkCounterLimitKeepsTheRecordAndTellsTheCaller) {
    auto table = MakePrnData();
    table->Store().SetNextUniqueNumber(0x7FFFFFCE);
    InsertEntry(*table, "A"); // number 0x7FFFFFCE: still fine
    ExpectError<EMemTableError>(
        [&] { InsertEntry(*table, "B"); },
        "Počítadlo záložiek ja mimo rozsah. Prosím, zatvorte a znova otvorte tabuľku.");
    EXPECT_EQ(table->RecordTotal(), 2);
    EXPECT_EQ(table->CursorPosition(), 1);
    // A freed identity is not checked, and the counter goes on past 32 bits without wrapping.
    table->DeleteCurrent();
    table->Store().SetNextUniqueNumber(std::numeric_limits<std::int32_t>::max());
    EXPECT_NO_THROW(InsertEntry(*table, "C"));
    table->MoveToPosition(2);
    EXPECT_EQ(table->FieldNamed("Nazov").ValueText(), "C");
    EXPECT_EQ(table->CurrentUniqueNumber(), std::int64_t(std::numeric_limits<std::int32_t>::max()));
    table->MoveToPosition(1);
    table->DeleteCurrent();   // frees B's identity
    InsertEntry(*table, "D"); // takes it, with a number beyond 32 bits
    table->MoveToPosition(2);
    EXPECT_EQ(table->FieldNamed("Nazov").ValueText(), "D");
    EXPECT_GT(table->CurrentUniqueNumber(), std::numeric_limits<std::int32_t>::max());
}

TEST(MemTableErrors, OpeningChecksFieldsAndIndexDefinitions) {
    TloxMemTable empty("T");
    ExpectError<EMemTableError>([&] { empty.Open(); }, "Musí byť najmenej jedno pole !");
    EXPECT_FALSE(empty.Active());

    auto tableWithIndex = [](TloxIndexDef def) {
        auto table = std::make_unique<TloxMemTable>("T");
        table->AddField({"Meno", ftString, 8, "Meno", 0});
        table->AddField({"Poznamka", ftMemo, 30, "Poznámka", 0});
        table->AddIndexDef(std::move(def));
        return table;
    };
    ExpectError<EMemTableError>(
        [&] {
            tableWithIndex({"IMeno", " "})->Open();
        },
        "V definícii indexov [IndexDef] chýba hodnota položky [Name] alebo [FieldNames] !");
    ExpectError<EDatabaseError>(
        [&] {
            tableWithIndex({"IMeno", "Meno; Nic"})->Open();
        },
        "T: Field 'Nic' not found");
    ExpectError<EDatabaseError>(
        [&] {
            tableWithIndex({"IPozn", "Poznamka"})->Open();
        },
        "Nedá sa indexovať pole Poznámka !");
    auto fine = tableWithIndex({"IMeno", " meno ;"});
    fine->SetIndexName("imeno");
    fine->Open();
    EXPECT_EQ(fine->IndexName(), "IMeno");
    EXPECT_EQ(fine->FieldNamed("Meno").DisplayWidth(), 8);
}

TEST(MemTableErrors, UnusableLocaleFailsTheInsertAndChangesNothing) {
    auto table = MakePrnData();
    EXPECT_EQ(table->LocaleID(), 1024);
    EXPECT_EQ(table->SubLanguageID(), 1);
    InsertEntry(*table, "A");
    table->SetLocaleID(0x0002041B); // Slovak with a sort order no collation here offers
    EXPECT_EQ(table->LanguageID(), 0x1B);
    EXPECT_EQ(table->SubLanguageID(), 1);
    EXPECT_EQ(table->SortID(), 2);
    ExpectError<EMemTableError>([&] { InsertEntry(*table, "B"); },
                                "Neplatné miesto [locale] ! 132123");
    EXPECT_EQ(table->RecordTotal(), 1);
    table->SetIndexName("");
    EXPECT_EQ(table->RecordTotal(), 1); // no order got the record
    table->SetSortID(0);
    table->SetLanguageID(0);
    EXPECT_EQ(table->LocaleID(), 1024);
    EXPECT_NO_THROW(InsertEntry(*table, "B"));
}

TEST(MemTableErrors, ValuesOfTheWrongKindOrOutsideTheCalendarAreRefused) {
    auto table = MakePrnData();
    ExpectError<EDatabaseError>(
        [&] {
            table->InsertValues({std::string("A"), std::string("P"),
                                 TDateTime{std::numeric_limits<double>::quiet_NaN()}});
        },
        "PrnData: Invalid date-time value for field 'Datum'");
    ExpectError<EDatabaseError>([&] { table->InsertValues({std::int32_t(5)}); },
                                "PrnData: Field 'Nazov' cannot take a value of this kind");
    EXPECT_EQ(table->RecordTotal(), 0);
    EXPECT_EQ(table->State(), dsBrowse);
    ExpectError<EDatabaseError>([&] { table->InsertValues({TDateTime{1e300}}); },
                                "PrnData: Field 'Nazov' cannot take a value of this kind");
    table->InsertValues({std::string("A"), std::string("P"), TDateTime{2958465.9}});
    EXPECT_EQ(DayNumberToDate(table->FieldNamed("Datum").ValueDayNumber()).year, 9999);
}

// A position outside an order's array, planted by a caller, stops the program
// at the check it breaks; the last position that is inside passes.
TEST(MemTableDeathTest, PositionsOutsideAnOrderStopTheProgram) {
    if (!platform::kAssertionsEnabled) GTEST_SKIP() << "built without TLACSUB_ASSERTIONS";
    RecordArray array;
    std::vector<StoredRecord> records(600); // more than two blocks
    for (std::size_t i = 0; i < records.size(); ++i)
        array.Insert(static_cast<int>(i / 2), RecordEntry{&records[i], {}});
    array.CheckInvariants();
    struct Case {
        const char* what;
        std::function<void()> fault;
        std::function<void()> nearly;
        const char* broken;
    };
    const std::vector<Case> cases = {
        {"insert past the end",
         [&] {
             array.Insert(601, RecordEntry{&records[0], {}});
         },
         [&] {
             array.Insert(600, RecordEntry{&records[0], {}});
         },
         "position <= Count\\(\\)"},
        {"read past the end", [&] { (void)array.Entry(array.Count()); },
         [&] { (void)array.Entry(array.Count() - 1); }, "position < Count\\(\\)"},
        {"remove before the start", [&] { array.Remove(-1); }, [&] { array.Remove(0); },
         "position >= 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_DEATH(c.fault(), std::string("invariant broken: .*") + c.broken);
        c.nearly();
        array.CheckInvariants();
    }
    EXPECT_EQ(array.Count(), 600);
}

} // namespace
} // namespace memtable
