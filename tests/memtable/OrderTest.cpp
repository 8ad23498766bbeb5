#include "CatalogRows.h"

#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace memtable {
namespace {

using testing::Column;
using testing::DateTimeOf;
using testing::InsertEntry;
using Names = std::vector<std::string>;

TEST(MemTableOrder, EqualNamesStandInReverseArrival) {
    auto table = MakePrnData();
    InsertEntry(*table, "B", {}, "", "FIRST");
    InsertEntry(*table, "A", {}, "", "MIDDLE");
    InsertEntry(*table, "B", {}, "", "SECOND");
    EXPECT_EQ(table->IndexName(), "RPrintN");
    EXPECT_EQ(Column(*table, "FilName"), (Names{"MIDDLE", "SECOND", "FIRST"}));
    // The arrival order keeps the catalog's order.
    table->SetIndexName("");
    EXPECT_EQ(table->IndexName(), "");
    EXPECT_EQ(table->IndexFieldNames(), "");
    EXPECT_EQ(Column(*table, "FilName"), (Names{"FIRST", "MIDDLE", "SECOND"}));
}

TEST(MemTableOrder, DateThenTimeTextWhereTenFifteenPrecedesEightOhFive) {
    auto table = MakePrnData();
    table->SetIndexName("RPrintD");
    EXPECT_EQ(table->IndexFieldNames(), "Datum;Cas");
    InsertEntry(*table, "LATER", DateTimeOf(2007, 12, 3), "01:00");
    InsertEntry(*table, "EIGHT", DateTimeOf(2007, 12, 2), "8:05");
    InsertEntry(*table, "TEN", DateTimeOf(2007, 12, 2), "10:15");
    InsertEntry(*table, "OLD", DateTimeOf(1899, 12, 29, 6.0), "23:59");
    EXPECT_EQ(Column(*table, "Nazov"), (Names{"OLD", "TEN", "EIGHT", "LATER"}));
}

TEST(MemTableOrder, TextFollowsTheLocaleCollationWithCaseSignificant) {
    auto table = MakePrnData();
    for (const char* name : {"hz", "cha", "ca", "ABC", "abc", "b"})
        InsertEntry(*table, name);
    // Slovak sorts "ch" after "h"; small letters come before capitals, yet are not equal.
    EXPECT_EQ(Column(*table, "Nazov"), (Names{"abc", "ABC", "b", "ca", "hz", "cha"}));
}

TEST(MemTableOrder, SwitchKeepsTheCurrentRecord) {
    auto table = MakePrnData();
    InsertEntry(*table, "C", DateTimeOf(2007, 1, 1));
    InsertEntry(*table, "A", DateTimeOf(2007, 1, 3));
    InsertEntry(*table, "B", DateTimeOf(2007, 1, 2));
    table->MoveToPosition(2); // B by name
    table->SetIndexName("RPrintD");
    EXPECT_EQ(table->FieldNamed("Nazov").ValueText(), "B");
    EXPECT_EQ(table->CursorPosition(), 2);
    table->MoveToPosition(3); // A, last by date
    table->SetIndexName("rprintn");
    EXPECT_EQ(table->IndexName(), "RPrintN");
    EXPECT_EQ(table->FieldNamed("Nazov").ValueText(), "A");
    EXPECT_EQ(table->CursorPosition(), 1);

    // A name no index has changes neither the order nor the current record.
    table->SetIndexName("RPrintX");
    EXPECT_EQ(table->IndexName(), "RPrintN");
    EXPECT_EQ(table->FieldNamed("Nazov").ValueText(), "A");
}

TEST(MemTableOrder, AfterTwentyRecordsAKeyEqualToTheFirstGoesToTheFront) {
    auto table = MakePrnData();
    for (int i = 0; i < 25; ++i)
        InsertEntry(*table, "N" + std::to_string(10 + i));
    ASSERT_EQ(table->RecordTotal(), 25);
    InsertEntry(*table, "N10", {}, "", "NEWEST");
    EXPECT_EQ(table->ValueTextAt(1, table->FieldNamed("FilName")), "NEWEST");
    // Inside a run of equal keys the halving search still finds the run's start.
    for (int i = 0; i < 5; ++i)
        InsertEntry(*table, "N20", {}, "", "RUN" + std::to_string(i));
    InsertEntry(*table, "N20", {}, "", "RUNLAST");
    Names files = Column(*table, "FilName");
    Names names = Column(*table, "Nazov");
    auto first = std::find(names.begin(), names.end(), "N20") - names.begin();
    EXPECT_EQ(files[first], "RUNLAST");
}

// Many inserts and deletes with few distinct keys, checked against a plain model:
// by key in the collation, equal keys in reverse arrival, the same records in every order.
TEST(MemTableOrder, OrdersStayConsistentThroughInsertsAndDeletes) {
    auto table = MakePrnData();
    table->SetIndexName("RPrintD");
    std::mt19937 random(7);
    struct Entry {
        std::string name;
        int day;
        std::string time;
        std::string file;
    };
    std::vector<Entry> alive; // in arrival order
    for (int round = 0; round < 600; ++round) {
        bool remove = !alive.empty() && random() % 3 == 0;
        if (remove) {
            table->MoveToPosition(int(random() % table->RecordTotal()) + 1);
            std::string file = table->FieldNamed("FilName").ValueText();
            std::erase_if(alive, [&](const Entry& e) { return e.file == file; });
            table->DeleteCurrent();
        } else {
            Entry e{std::string(1, "abAB"[random() % 4]), int(random() % 3) + 1,
                    std::to_string(random() % 3), "F" + std::to_string(round)};
            InsertEntry(*table, e.name, DateTimeOf(2000, 1, e.day), e.time, e.file);
            alive.push_back(e);
        }
    }
    ASSERT_GT(alive.size(), 40u); // the halving search was in use
    auto expectOrder = [&](const char* index, auto less) {
        std::vector<Entry> model(alive.rbegin(), alive.rend());
        std::stable_sort(model.begin(), model.end(), less);
        Names files;
        for (const Entry& e : model)
            files.push_back(e.file);
        table->SetIndexName(index);
        EXPECT_EQ(Column(*table, "FilName"), files) << index;
    };
    expectOrder("RPrintN", [](const Entry& a, const Entry& b) {
        return platform::CompareTextCaseSensitive(a.name, b.name) < 0;
    });
    expectOrder("RPrintD", [](const Entry& a, const Entry& b) {
        if (a.day != b.day) return a.day < b.day;
        return platform::CompareTextCaseSensitive(a.time, b.time) < 0;
    });
    Names arrival;
    for (const Entry& e : alive)
        arrival.push_back(e.file);
    table->SetIndexName("");
    EXPECT_EQ(Column(*table, "FilName"), arrival);
}

} // namespace
} // namespace memtable
