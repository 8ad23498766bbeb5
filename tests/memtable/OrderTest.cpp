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

// Many inserts and deletes with few distinct keys, some differing only in
// letter case or late in the key (alike in their first key bytes), made while each of the three
// orders is active in turn and checked against a plain model: by key in the collation, equal keys
// in reverse arrival, the same records in every order, the cursor on the record that followed a
// deleted one, and an emptied table reusing the identity freed last.
TEST(MemTableOrder, OrdersStayConsistentThroughInsertsAndDeletes) {
    auto table = MakePrnData();
    std::mt19937 random(7);
    struct Entry {
        std::string name;
        int day;
        std::string time;
        std::string file;
    };
    // The last two names and times differ only past the first 16 bytes of their keys.
    const std::vector<std::string> names = {"a",         "b",         "A",         "B",
                                            "ZOSTAVA 1", "ZOSTAVA 2", "zostava 1", "Zostava 1",
                                            "ZOSTAVAAB", "ZOSTAVAAb"};
    const std::vector<std::string> times = {"0",        "1",         "10:15",    "8:05",
                                            "10:15:00", "10:15:000", "10:15:001"};
    const char* orders[] = {"RPrintD", "", "RPrintN"};
    std::vector<Entry> alive; // in arrival order
    auto expectOrder = [&](const char* index, auto less) {
        std::vector<Entry> model(alive.rbegin(), alive.rend());
        std::stable_sort(model.begin(), model.end(), less);
        Names files;
        for (const Entry& e : model)
            files.push_back(e.file);
        table->SetIndexName(index);
        ASSERT_EQ(Column(*table, "FilName"), files) << index;
    };
    auto expectAllOrders = [&] {
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
        ASSERT_EQ(Column(*table, "FilName"), arrival);
        table->CheckInvariants();
    };
    const TField& file = table->FieldNamed("FilName");
    for (int round = 0; round < 20000; ++round) {
        if (round % 2000 == 0) {
            if (round > 0) expectAllOrders();
            table->SetIndexName(orders[round / 2000 % 3]);
        }
        if (round == 10000) {
            // Emptied as loading does it; the next record takes the identity freed last.
            table->MoveToPosition(table->RecordTotal());
            const int lastFreed = table->CurrentIdentity();
            testing::EmptyTable(*table);
            alive.clear();
            ASSERT_EQ(table->RecordTotal(), 0);
            InsertEntry(*table, "a", DateTimeOf(2000, 1, 1), "0", "AFTER");
            alive.push_back({"a", 1, "0", "AFTER"});
            ASSERT_EQ(table->CurrentIdentity(), lastFreed);
            continue;
        }
        const bool remove = !alive.empty() && random() % 3 == 0;
        if (remove) {
            const int total = table->RecordTotal();
            const int position = int(random() % total) + 1;
            table->MoveToPosition(position);
            const std::string gone = table->ValueText(file);
            const std::string next =
                table->ValueTextAt(position < total ? position + 1 : position - 1, file);
            std::erase_if(alive, [&](const Entry& e) { return e.file == gone; });
            table->DeleteCurrent();
            ASSERT_EQ(table->CursorPosition(), total == 1 ? -1 : std::min(position, total - 1));
            ASSERT_EQ(table->ValueText(file), next);
        } else {
            Entry e{names[random() % names.size()], int(random() % 3) + 1,
                    times[random() % times.size()], "F" + std::to_string(round)};
            InsertEntry(*table, e.name, DateTimeOf(2000, 1, e.day), e.time, e.file);
            alive.push_back(e);
        }
    }
    ASSERT_GT(alive.size(), 1000u); // the halving search was in use
    expectAllOrders();
}

// Emptying the whole table at once leaves what deleting from the first record on
// leaves: the same cursor and notifications, and later inserts taking the same
// identities in the same places, whichever order is active and whether or not the
// views hear of single changes.
TEST(MemTableOrder, DeletingAllLeavesWhatDeletingOneByOneLeaves) {
    struct Heard : TableObserver {
        const TloxMemTable* table = nullptr;
        std::vector<std::string> seen;
        void MemTableChanging(const TableChange& change) override {
            seen.push_back("before " + std::to_string(static_cast<int>(change.kind)) + " " +
                           std::to_string(change.position));
        }
        void MemTableChanged(const TableChange& change) override {
            seen.push_back("after " + std::to_string(static_cast<int>(change.kind)) + " " +
                           std::to_string(change.position) + " total " +
                           std::to_string(table->RecordTotal()) + " at " +
                           std::to_string(table->CursorPosition()));
        }
    };
    const char* orders[] = {"", "RPrintN", "RPrintD"};
    // Identity, unique number and file of every record, in all three orders.
    auto contents = [&](TloxMemTable& table, const char* active) {
        Names seen;
        for (const char* order : orders) {
            table.SetIndexName(order);
            for (int position = 1; position <= table.RecordTotal(); ++position) {
                table.MoveToPosition(position);
                seen.push_back(std::to_string(table.CurrentIdentity()) + " " +
                               std::to_string(table.CurrentUniqueNumber()) + " " +
                               table.FieldNamed("FilName").ValueText());
            }
        }
        table.SetIndexName(active);
        return seen;
    };
    for (const char* active : orders) {
        for (bool disabled : {false, true}) {
            SCOPED_TRACE(std::string(active) + (disabled ? " disabled" : " told"));
            auto single = MakePrnData();
            auto bulk = MakePrnData();
            Heard heardSingle, heardBulk;
            heardSingle.table = single.get();
            heardBulk.table = bulk.get();
            single->AddObserver(&heardSingle);
            bulk->AddObserver(&heardBulk);
            std::mt19937 random(11);
            for (int round = 0; round < 4; ++round) {
                single->SetIndexName(active);
                bulk->SetIndexName(active);
                if (disabled) single->DisableControls(), bulk->DisableControls();
                testing::EmptyTable(*single);
                bulk->DeleteAll();
                if (disabled) single->EnableControls(), bulk->EnableControls();
                ASSERT_EQ(heardBulk.seen, heardSingle.seen);
                ASSERT_EQ(bulk->CursorPosition(), single->CursorPosition());
                ASSERT_TRUE(bulk->AtStart() && bulk->AtEnd());
                for (int step = 0; step < 150; ++step) {
                    const int total = single->RecordTotal();
                    if (total > 0 && random() % 3 == 0) {
                        const int position = int(random() % total) + 1;
                        single->MoveToPosition(position);
                        bulk->MoveToPosition(position);
                        single->DeleteCurrent();
                        bulk->DeleteCurrent();
                    } else {
                        const std::string name(1, char('A' + random() % 4));
                        const auto day = DateTimeOf(2000, 1, int(random() % 3) + 1);
                        const std::string file = "F" + std::to_string(step);
                        InsertEntry(*single, name, day, "0", file);
                        InsertEntry(*bulk, name, day, "0", file);
                    }
                }
                ASSERT_EQ(contents(*bulk, active), contents(*single, active));
                ASSERT_EQ(heardBulk.seen, heardSingle.seen);
            }
        }
    }
}

} // namespace
} // namespace memtable
