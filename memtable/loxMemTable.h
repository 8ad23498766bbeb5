#pragma once
// The memory table: fields, record store, orders and a cursor over the active order.
//
// Positions given to and returned by the public operations are 1-based places in
// the active order, like CursorPosition. Record values are ANSI bytes; the
// table's own texts (titles, messages) are UTF-8.

#include "memtable/loxCommon.h"
#include "memtable/loxFields.h"
#include "memtable/loxIndex.h"
#include "memtable/loxTypes.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace memtable {

enum class TableChangeKind {
    Open,   // the table opened or closed
    Insert, // a record was added
    Delete, // a record was removed
    Move,   // the cursor moved (GoFirst, Step, MoveToPosition)
    Order,  // another order became active
    Batch,  // any number of changes between DisableControls and EnableControls
};

struct TableChange {
    TableChangeKind kind;
    // Insert / Delete: the row in the active order that is added or removed.
    // Move: the cursor position before the move. Otherwise 0.
    int position = 0;
};

// Views bound to the table (the list) learn of every change here. Changing comes
// just before an insert, a delete, a switch of order, opening or closing changes
// the table (where a Qt model calls begin...); Changed comes after every change,
// cursor moves included, with the cursor already settled. An operation that fails
// before changing anything sends neither. Views must not change the table while told.
class TableObserver {
  public:
    virtual ~TableObserver() = default;
    virtual void MemTableChanging(const TableChange& /*change*/) {}
    virtual void MemTableChanged(const TableChange& change) = 0;
};

enum TloxTableState { dsInactive, dsBrowse, dsInsert };

class TloxCustomMemTable {
  public:
    explicit TloxCustomMemTable(std::string name);
    virtual ~TloxCustomMemTable();
    TloxCustomMemTable(const TloxCustomMemTable&) = delete;
    TloxCustomMemTable& operator=(const TloxCustomMemTable&) = delete;

    const std::string& Name() const { return name_; }

    // Definition, before opening.
    TField& AddField(FieldSpec definition);
    void AddIndexDef(TloxIndexDef def);
    const std::vector<TloxIndexDef>& IndexDefs() const { return indexDefs_; }

    // Opening and closing.
    void Open();
    void Close();
    bool Active() const { return state_ != dsInactive; }
    TloxTableState State() const { return state_; }

    // Cursor over the active order.
    void GoFirst();
    int Step(int count);
    bool AtStart() const { return atStart_; }
    bool AtEnd() const { return atEnd_; }
    int RecordTotal() const;
    int CursorPosition() const;
    void MoveToPosition(int position);

    // Changes.
    void InsertValues(std::span<const FieldValue> values);
    void InsertValues(std::initializer_list<FieldValue> values);
    void DeleteCurrent();
    // Deletes every record, leaving the state GoFirst and DeleteCurrent until AtEnd
    // leave (identities freed in the active order, cursor, notifications), in one
    // pass when no view hears of the single deletes.
    void DeleteAll();

    // Fields, and the values of the current record.
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField& Field(int index) const { return *fields_[index]; } // 0-based
    TField& FieldNamed(std::string_view name) const;
    TField* FindField(std::string_view name) const;
    std::string ValueText(const TField& field) const { return field.ValueText(); }
    std::int32_t ValueInteger(const TField& field) const { return field.ValueInteger(); }
    std::int32_t ValueDayNumber(const TField& field) const { return field.ValueDayNumber(); }
    // Identity and unique number of the current record; -1 without one.
    int CurrentIdentity() const;
    std::int64_t CurrentUniqueNumber() const;

    // The record at a position of the active order, without moving the cursor:
    // what a list reads for every row it shows. Empty text / 0 outside 1..RecordTotal.
    bool HasRecordAt(int position) const;
    std::string ValueTextAt(int position, const TField& field) const;
    std::int32_t ValueIntegerAt(int position, const TField& field) const;
    std::int32_t ValueDayNumberAt(int position, const TField& field) const;

    // Orders. An unknown name changes nothing; "" is the arrival order.
    const std::string& IndexName() const { return indexName_; }
    void SetIndexName(std::string_view name);
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(std::string_view fieldString);
    const TloxIndexes& Indexes() const { return indexes_; }
    const TloxIndex* ActiveIndex() const { return active_; }

    // Locale of text comparisons; 1024 is the user's default locale.
    int LocaleID() const { return localeId_; }
    void SetLocaleID(int localeId);
    int LanguageID() const { return languageId_; }
    void SetLanguageID(int id);
    int SubLanguageID() const { return subLanguageId_; }
    void SetSubLanguageID(int id);
    int SortID() const { return sortId_; }
    void SetSortID(int id);

    TloxCommon& Store() { return *store_; }

    // Many changes at once, such as emptying and refilling on a load: from
    // DisableControls until the matching EnableControls the views hear of no single
    // change, only Changing(Batch) at the start and Changed(Batch) at the end.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    void AddObserver(TableObserver* observer);
    void RemoveObserver(TableObserver* observer);

    // The current record's block, or nullptr; for the fields.
    const std::byte* CurrentBlock() const;
    // The block an insert is filling, or nullptr outside an insert.
    std::byte* InsertBlock() { return insertBlock_.empty() ? nullptr : insertBlock_.data(); }
    int RecordSize() const { return recordSize_; }
    // "PrnData: " + message, the way the record layer reports.
    std::string Prefixed(std::string_view message) const;

    // Stops the program when an order lost a record or its sort, or the cursor
    // stands outside the active order. Walks every order: for tests.
    void CheckInvariants() const;

  private:
    void CheckActive() const;
    void CheckInactive() const;
    void BuildIndexes();
    void SwitchOrder(TloxIndex* index, bool notify);
    bool MoveForward();
    bool MoveBack();
    void ReReadCurrent();
    void MakeCollationKeys(StoredRecord& record) const;
    const StoredRecord* RecordAt(int position) const; // 1-based, nullptr outside
    void Notify(bool before, const TableChange& change);
    void RecomputeLocaleId();
    // After every change: the cursor stays within -1 .. count of the active order.
    void CheckCursor() const;

    std::string name_;
    std::vector<std::unique_ptr<TField>> fields_;
    std::vector<TloxIndexDef> indexDefs_;
    std::unique_ptr<TloxCommon> store_;
    TloxIndexes indexes_;
    TloxIndex* active_ = nullptr;
    std::string indexName_;
    std::string indexFieldNames_;
    TloxTableState state_ = dsInactive;
    int position_ = -1; // 0-based place in the active order, -1 .. count
    bool atStart_ = true;
    bool atEnd_ = true;
    int recordSize_ = 0;
    std::vector<std::byte> insertBlock_;
    StoredRecord prepared_; // the record an insert prepares, its buffers reused
    int localeId_ = 1024;
    int languageId_ = 0;
    int subLanguageId_ = 1;
    int sortId_ = 0;
    std::vector<TableObserver*> observers_;
    int disableCount_ = 0;
};

class TloxMemTable : public TloxCustomMemTable {
  public:
    using TloxCustomMemTable::TloxCustomMemTable;
};

// The catalog table as the main window describes it: the seven catalog fields,
// the orders RPrintN ("Nazov") and RPrintD ("Datum;Cas"), RPrintN active, open.
std::unique_ptr<TloxMemTable> MakePrnData();
// The same fields in the catalog's own order only: for a reader that walks the
// entries as the catalog has them and would otherwise pay for keeping two
// sorted orders (collation keys of every name) that it never looks at.
std::unique_ptr<TloxMemTable> MakePrnDataInCatalogOrder();

} // namespace memtable
