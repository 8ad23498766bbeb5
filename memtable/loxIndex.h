#pragma once
// Orders of a memory table: arrays of record references kept in key order.

#include "memtable/RecordArray.h"
#include "memtable/loxCommon.h"
#include "memtable/loxFields.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace memtable {

inline constexpr const char* kRowOrderName = "__MT__ROWORDER";

struct TloxIndexDef {
    std::string Name;
    std::string Fields; // field names separated by ';'
    TloxMemTableCompareOptions Options = 0;
};

// The fields an index definition names, separated by ';' with blanks around
// them ignored, each with the definition's options. `fieldNamed` finds a field
// or raises; a definition without a name or fields, or a field that cannot be
// a key, raises too.
TloxFieldList ParseIndexFields(const TloxIndexDef& def,
                               const std::function<const TField&(std::string_view)>& fieldNamed);

class TloxIndex {
  public:
    // localeId: the table's LocaleID, checked before each text comparison.
    TloxIndex(std::string name, std::string fieldString, TloxFieldList fields,
              TloxMemTableCompareOptions options, bool isRowOrder, const int& localeId);

    const std::string& Name() const { return name_; }
    const std::string& FieldString() const { return fieldString_; }
    const TloxFieldList& Fields() const { return fields_; }
    TloxMemTableCompareOptions Options() const { return options_; }
    bool IsRowOrder() const { return isRowOrder_; }
    bool Ordered() const { return ordered_; }

    int Count() const { return records_.Count(); }
    StoredRecord* At(int position) const { return records_[position]; }

    // -1, 0 or +1 for two records under this index's key fields.
    int Compare(const StoredRecord& a, const StoredRecord& b) const;
    // Where a new record goes: before the first record whose key is not smaller.
    int InsertPlace(const StoredRecord& record) const;
    // The position of this very record (key and identity), or -1.
    int Find(const StoredRecord& record) const;

    void InsertAt(int place, StoredRecord* record);
    void RemoveAt(int position);
    // Removes every record, as removing them one at a time would.
    void RemoveAll();
    void Clear() { records_.Clear(); }
    // Fills the index from existing records; equal keys keep the given order.
    void Build(std::vector<StoredRecord*> records);

    // Stops the program when the blocks lost count, an entry's key prefix is
    // not its record's, or two neighbours stand out of key order. Compares every
    // neighbour: for tests, not for every change.
    void CheckInvariants() const;

  private:
    // The first record whose key is not smaller than the record's, by halving.
    int SearchByHalving(const StoredRecord& key, const KeyPrefix& prefix) const;
    KeyPrefix MakePrefix(const StoredRecord& record) const;
    // Compare of the record at a position with a key, by prefix where that decides.
    int CompareAt(int position, const StoredRecord& key, const KeyPrefix& prefix) const;
    int CompareEntry(const RecordEntry& entry, const StoredRecord& key,
                     const KeyPrefix& prefix) const;
    bool UsesHalving() const;
    int CompareField(const KeyField& item, const StoredRecord& a, const StoredRecord& b) const;

    std::string name_;
    std::string fieldString_;
    TloxFieldList fields_;
    TloxMemTableCompareOptions options_;
    bool isRowOrder_;
    bool ordered_ = false;
    bool prefixUsable_ = false;
    const int& localeId_;
    // Whether the collation was found usable during the search under way.
    mutable bool collationChecked_ = false;
    RecordArray records_;
};

// The arrival order first, then one index per definition in definition order.
class TloxIndexes {
  public:
    TloxIndex& Add(std::unique_ptr<TloxIndex> index);
    // Drops every index but the arrival order.
    void DropNamed();
    void Clear() { items_.clear(); }

    int Count() const { return static_cast<int>(items_.size()); }
    TloxIndex& operator[](int i) const { return *items_[i]; }
    // Names and field strings are compared in ASCII capitals; the first match wins.
    TloxIndex* FindByName(std::string_view name) const;
    TloxIndex* FindByFields(std::string_view fieldString) const;

  private:
    std::vector<std::unique_ptr<TloxIndex>> items_;
};

} // namespace memtable
