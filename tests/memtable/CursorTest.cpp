#include "CatalogRows.h"

#include <gtest/gtest.h>

namespace memtable {
namespace {

using testing::Column;
using testing::EmptyTable;
using testing::InsertEntry;

std::string CurrentName(const TloxMemTable& table) {
    return table.FieldNamed("Nazov").ValueText();
}

TEST(MemTableCursor, EmptyTableHasBothFlagsAndNoValues) {
    auto table = MakePrnData();
    EXPECT_TRUE(table->Active());
    table->GoFirst();
    EXPECT_TRUE(table->AtStart());
    EXPECT_TRUE(table->AtEnd());
    EXPECT_EQ(table->RecordTotal(), 0);
    EXPECT_EQ(table->CursorPosition(), -1);
    EXPECT_EQ(table->FieldNamed("Popis").ValueText(), "");
    EXPECT_EQ(table->FieldNamed("Sirka").ValueInteger(), 0);
    EXPECT_FALSE(table->HasRecordAt(1));
    // Emptying an empty table deletes nothing and raises nothing.
    EXPECT_NO_THROW(EmptyTable(*table));
    // A move either way finds nothing and leaves both flags set.
    for (int count : {1, -1}) {
        EXPECT_EQ(table->Step(count), 0);
        EXPECT_TRUE(table->AtStart()) << count;
        EXPECT_TRUE(table->AtEnd()) << count;
    }
}

TEST(MemTableCursor, InsertDoesNotMakeTheNewRecordCurrent) {
    auto table = MakePrnData(); // RPrintN active
    for (const char* name : {"M", "Z", "B", "A", "Q"})
        InsertEntry(*table, name);
    // The cursor kept position 1 throughout, so the first record by name is current.
    EXPECT_EQ(CurrentName(*table), "A");
    EXPECT_EQ(table->CursorPosition(), 1);

    table->MoveToPosition(3); // M
    InsertEntry(*table, "C"); // lands at 3 and pushes M down
    EXPECT_EQ(table->CursorPosition(), 3);
    EXPECT_EQ(CurrentName(*table), "C");
    InsertEntry(*table, "Y"); // lands after the cursor: nothing moves
    EXPECT_EQ(CurrentName(*table), "C");
}

TEST(MemTableCursor, EmptyingAndRefillingLeavesTheFirstRecordCurrent) {
    auto table = MakePrnData();
    for (const char* name : {"K", "L"})
        InsertEntry(*table, name);
    table->MoveToPosition(2);
    EmptyTable(*table);
    EXPECT_EQ(table->RecordTotal(), 0);
    EXPECT_TRUE(table->AtStart() && table->AtEnd());

    for (const char* name : {"P", "D", "X", "A"})
        InsertEntry(*table, name);
    EXPECT_EQ(table->CursorPosition(), 1);
    EXPECT_EQ(CurrentName(*table), "A");
    EXPECT_FALSE(table->AtEnd());
}

TEST(MemTableCursor, DeleteMakesTheFollowingOrPrecedingRecordCurrent) {
    auto table = MakePrnData();
    for (const char* name : {"A", "B", "C"})
        InsertEntry(*table, name);
    table->MoveToPosition(2);
    table->DeleteCurrent();
    EXPECT_EQ(CurrentName(*table), "C"); // the one that followed
    EXPECT_EQ(table->CursorPosition(), 2);

    table->DeleteCurrent(); // C was last: the one before becomes current
    EXPECT_EQ(CurrentName(*table), "A");
    EXPECT_EQ(table->CursorPosition(), 1);

    table->DeleteCurrent(); // the only one
    EXPECT_TRUE(table->AtStart());
    EXPECT_TRUE(table->AtEnd());
    EXPECT_EQ(table->CursorPosition(), -1);
    EXPECT_EQ(table->RecordTotal(), 0);
    EXPECT_EQ(CurrentName(*table), "");
}

TEST(MemTableCursor, StepStopsAtTheEndsAndReportsHowFarItMoved) {
    auto table = MakePrnData();
    for (const char* name : {"A", "B", "C", "D"})
        InsertEntry(*table, name);
    table->GoFirst();
    EXPECT_TRUE(table->AtStart());
    EXPECT_FALSE(table->AtEnd());
    EXPECT_EQ(table->Step(2), 2);
    EXPECT_EQ(CurrentName(*table), "C");
    EXPECT_FALSE(table->AtStart());
    EXPECT_EQ(table->Step(5), 1);
    EXPECT_EQ(CurrentName(*table), "D");
    EXPECT_TRUE(table->AtEnd());
    EXPECT_EQ(table->Step(-10), -3);
    EXPECT_EQ(CurrentName(*table), "A");
    EXPECT_TRUE(table->AtStart());
    EXPECT_FALSE(table->AtEnd());
}

TEST(MemTableCursor, MoveToPositionIgnoresPlacesOutsideTheOrder) {
    auto table = MakePrnData();
    for (const char* name : {"A", "B", "C"})
        InsertEntry(*table, name);
    table->MoveToPosition(3);
    EXPECT_EQ(CurrentName(*table), "C");
    for (int outside : {0, -1, 4}) {
        table->MoveToPosition(outside);
        EXPECT_EQ(table->CursorPosition(), 3);
    }
    // Reading a row by position leaves the cursor alone.
    EXPECT_EQ(table->ValueTextAt(1, table->FieldNamed("Nazov")), "A");
    EXPECT_EQ(table->ValueIntegerAt(2, table->FieldNamed("Dlzka")), 66);
    EXPECT_EQ(table->ValueTextAt(4, table->FieldNamed("Nazov")), "");
    auto other = MakePrnData(); // its fields do not fit this table's records
    EXPECT_EQ(table->ValueTextAt(1, other->FieldNamed("Popis")), "");
    EXPECT_EQ(table->CursorPosition(), 3);
}

// Records every notification, so the order of before/after calls can be checked.
struct Recorder : TableObserver {
    const TloxMemTable* table = nullptr;
    std::vector<std::string> seen;
    void MemTableChanging(const TableChange& change) override {
        seen.push_back("before " + std::to_string(static_cast<int>(change.kind)) + " " +
                       std::to_string(change.position) + " total " +
                       std::to_string(table->RecordTotal()));
    }
    void MemTableChanged(const TableChange& change) override {
        seen.push_back("after " + std::to_string(static_cast<int>(change.kind)) + " " +
                       std::to_string(change.position) + " total " +
                       std::to_string(table->RecordTotal()) + " at " +
                       std::to_string(table->CursorPosition()));
    }
};

TEST(MemTableCursor, ViewsAreToldOfEveryChangeBeforeAndAfter) {
    auto table = MakePrnData();
    Recorder recorder;
    recorder.table = table.get();
    table->AddObserver(&recorder);
    InsertEntry(*table, "B");
    InsertEntry(*table, "A"); // row 1 of RPrintN
    table->MoveToPosition(2);
    table->SetIndexName("RPrintD");
    table->DeleteCurrent();
    table->SetIndexName("Nothing"); // unknown: no change, no notice
    table->RemoveObserver(&recorder);
    InsertEntry(*table, "C");

    std::vector<std::string> expected = {
        "before 1 1 total 0",
        "after 1 1 total 1 at 1", // insert B
        "before 1 1 total 1",
        "after 1 1 total 2 at 1", // insert A before B
        "after 3 1 total 2 at 2", // move from row 1
        "before 4 0 total 2",
        "after 4 0 total 2 at 2", // equal dates: B, the earlier, is second
        "before 2 2 total 2",
        "after 2 2 total 1 at 1", // delete B, the last: A becomes current
    };
    EXPECT_EQ(recorder.seen, expected);

    // With the controls disabled, as a load does it, the views hear of one change
    // around everything, even when the disabling is nested.
    recorder.seen.clear();
    table->AddObserver(&recorder);
    table->DisableControls();
    table->DisableControls();
    testing::EmptyTable(*table);
    InsertEntry(*table, "D");
    table->EnableControls();
    EXPECT_TRUE(table->ControlsDisabled());
    InsertEntry(*table, "E");
    table->EnableControls();
    table->EnableControls(); // one too many: nothing happens
    EXPECT_FALSE(table->ControlsDisabled());
    EXPECT_EQ(recorder.seen,
              (std::vector<std::string>{"before 5 0 total 2", "after 5 0 total 2 at 1"}));
}

} // namespace
} // namespace memtable
