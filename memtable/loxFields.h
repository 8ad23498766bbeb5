#pragma once
// Fields of the memory table: one object per column, owned by the table.

#include "memtable/loxTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace memtable {

class TloxCustomMemTable;

// Presence byte values at the start of every field in a record block.
inline constexpr std::byte kFieldEmpty{0};
inline constexpr std::byte kFieldHasValue{2};

// What a field is, given before the table opens.
struct FieldSpec {
    std::string name;
    TFieldType type = ftString;
    int size = 0;             // characters, text fields only
    std::string displayLabel; // column title as UTF-8; empty: the name
    int displayWidth = 0;     // column width in characters; 0: the type's default
};

class TField {
  public:
    TField(TloxCustomMemTable& table, FieldSpec definition, int fieldNo);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    const std::string& FieldName() const { return spec_.name; }
    TFieldType DataType() const { return spec_.type; }
    int Size() const { return spec_.size; }
    // The column title as UTF-8, like every text of the table's own.
    const std::string& DisplayLabel() const;
    int DisplayWidth() const;
    int FieldNo() const { return fieldNo_; } // 1-based, field order
    const TloxCustomMemTable& Table() const { return table_; }

    // The value in the table's current record; empty text, 0 without one.
    std::string ValueText() const;
    std::int32_t ValueInteger() const;
    // Day number counted from 1 January of year 1 (day 1); 0 when empty.
    std::int32_t ValueDayNumber() const;
    bool IsNull() const;

    // Assigns to the record being inserted; raises outside an insert.
    void AssignValue(const FieldValue& value);

    // Block layout, fixed when the table opens.
    int Offset() const { return offset_; }
    int StoredWidth() const;
    void SetOffset(int offset) { offset_ = offset; }

    // Reading and writing this field inside a record block.
    bool IsNullIn(const std::byte* block) const;
    // Also the list's cell text: text unchanged, a date in the short date format,
    // integer digits, nothing for an empty field.
    std::string TextIn(const std::byte* block) const;
    std::int32_t IntegerIn(const std::byte* block) const;
    std::int32_t DayNumberIn(const std::byte* block) const;
    void StoreIn(std::byte* block, const FieldValue& value) const;

    // Whether an index may use this field as a key.
    bool CanBeKey() const;

  private:
    TloxCustomMemTable& table_;
    FieldSpec spec_;
    int fieldNo_;
    int offset_ = 0;
};

// Compare options of one key field, or of a whole index definition.
enum TloxMemTableCompareOption : unsigned {
    mtcoDescending = 1u << 0,
    mtcoIgnoreCase = 1u << 1,
};
using TloxMemTableCompareOptions = unsigned;

// The key fields of an index in order, each with its compare options.
struct KeyField {
    const TField* field = nullptr;
    TloxMemTableCompareOptions options = 0;
};
using TloxFieldList = std::vector<KeyField>;

} // namespace memtable
