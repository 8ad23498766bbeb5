#pragma once
// The field list of a table file: one definition per descriptor, with the
// native type letter, the value type it maps to and the field's place in the record.

#include "platform/FieldTypes.h"
#include <cstddef>
#include <string>
#include <vector>

namespace dbf {

// Value types of the record layer.
using record::TFieldType;
using enum record::TFieldType;

class TDbfFieldDef {
  public:
    std::string FieldName;    // upper case
    char NativeFieldType = 0; // upper-case type letter
    TFieldType FieldType = ftUnknown;
    int Size = 0; // bytes the value is read from
    int Precision = 0;
    std::size_t Offset = 0;      // in the record; 1 for the first field
    std::size_t StoredWidth = 0; // advance to the next field
    bool IsLockField = false;

    // Sets the value type, size and precision from the native type, the stored
    // width and the decimal count; false for a type letter that maps to nothing.
    bool Normalise(int storedDecimals, bool useFloatFields);
    // The values live in the memo file (memo, binary and OLE fields).
    bool IsMemo() const {
        return FieldType == ftMemo || FieldType == ftBlob || FieldType == ftDBaseOle;
    }
};

class TDbfFieldDefs {
  public:
    void Clear() { items_.clear(); }
    void Add(TDbfFieldDef def) { items_.push_back(std::move(def)); }
    std::size_t Count() const { return items_.size(); }
    const TDbfFieldDef& Items(std::size_t i) const { return items_[i]; }
    bool HasMemoFields() const;

    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<TDbfFieldDef> items_;
};

} // namespace dbf
