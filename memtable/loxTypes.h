#pragma once
// Value kinds, field types and error classes of the memory table.

#include "platform/FieldTypes.h"
#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>

namespace memtable {

// The record layer's value types. The memory table stores ftString, ftInteger,
// ftDate and ftMemo; the others exist so field definitions can name them.
using record::TFieldType;
using enum record::TFieldType;

// A date-time as the dBase reader hands it out: days since 30 December 1899,
// the time of day as the fraction.
struct TDateTime {
    double days = 0.0;
};

// One value given to InsertValues: text (ANSI bytes), date-time or integer.
using FieldValue = std::variant<std::string, TDateTime, std::int32_t>;

// Errors of the record layer; most messages carry the table name as a prefix.
// Messages are UTF-8; record values inside them are turned from ANSI first.
class EDatabaseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The memory table's own errors (opening, the bookmark counter, the locale).
class EMemTableError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace memtable
