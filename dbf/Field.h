#pragma once
// A field of an open table: reads its value from the table's current record
// and hands it out converted to the type asked for.

#include "dbf/Dbf_Common.h"
#include "dbf/Dbf_Fields.h"
#include "dbf/FieldValues.h"

#include <cstdint>
#include <string>

namespace dbf {

class TDbf;

// A field of the open table, reading the current record.
class TField {
  public:
    TField(TDbf& dataset, const TDbfFieldDef& def, std::string name);

    const std::string& FieldName() const { return name_; }
    TFieldType DataType() const { return def_.FieldType; }
    int Size() const { return def_.Size; }
    int Precision() const { return def_.Precision; }
    bool ReadOnly() const { return def_.FieldType == ftAutoInc; }
    const TDbfFieldDef& FieldDef() const { return def_; }

    // False when the field has no value in the current record (or there is none).
    bool GetData(FieldValue& value) const;
    bool IsNull() const;

    // Character values come translated to the machine's ANSI code page.
    std::string AsString() const;
    // AsString into a caller's buffer, whose capacity is reused; false without a value.
    bool ReadText(std::string& out) const;
    // Floats round to the nearest integer, halves to even; beyond the 32-bit range
    // the nearest end of it.
    int AsInteger() const;
    std::int64_t AsLargeInt() const;
    double AsFloat() const;
    bool AsBoolean() const;
    TDateTime AsDateTime() const;

    // Whether AsString translates character values (on by default).
    bool Transliterate = true;

  private:
    [[noreturn]] void AccessError(const char* typeName) const;

    TDbf& dataset_;
    const TDbfFieldDef& def_;
    std::string name_;
    // Reused by every read, so reading a value allocates nothing of its own.
    mutable FieldValue scratch_;
};

} // namespace dbf
