#pragma once
// Turns a field's bytes in a record into a value of the field's value type.
// Conversions never fail: bad text gives 0, 0.0, a 1 in a date part or day 0.

#include "dbf/Dbf_Common.h"
#include "dbf/Dbf_Fields.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace dbf {

struct FieldValue {
    std::string text;         // ftString, before translation
    std::int64_t integer = 0; // ftSmallint, ftInteger, ftLargeint, ftAutoInc
    double number = 0;        // ftFloat; ftDate and ftDateTime as TDateTime
    bool boolean = false;     // ftBoolean
};

// Reads `def` from a record of `recordSize` bytes; false when the field has no
// value. Bytes past the end of the record count as absent.
// `value` keeps its text's capacity, so a caller that reuses it allocates nothing.
// Floats read with `decimalSeparator`, the user's, taken once by the caller.
bool GetFieldData(const TDbfFieldDef& def, const std::uint8_t* record, std::size_t recordSize,
                  FieldValue& value, char decimalSeparator);
bool GetFieldData(const TDbfFieldDef& def, const std::uint8_t* record, std::size_t recordSize,
                  FieldValue& value);

// The run-time integer conversion: optional sign, decimal digits, or hex after
// '$', 'x' or '0x'; false on any other character or on overflow of `bits`.
bool ParseInteger(std::string_view text, int bits, std::int64_t& value);
// The run-time float conversion under the user's decimal separator, after the
// first '.' has been turned into that separator; false when the text is no number.
bool ParseFloat(std::string_view text, double& value);
bool ParseFloat(std::string_view text, char decimalSeparator, double& value);

} // namespace dbf
