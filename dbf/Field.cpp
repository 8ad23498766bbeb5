#include "dbf/Field.h"

#include "dbf/Dbf.h"
#include "dbf/Dbf_Str.h"
#include "platform/Locale.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>

namespace dbf {
namespace {

int ClampToInt(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= 2147483647.0) return std::numeric_limits<int>::max();
    if (rounded <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

std::int64_t ClampToInt64(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= 9223372036854775807.0) return std::numeric_limits<std::int64_t>::max();
    if (rounded <= -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(rounded);
}

std::string FloatText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    std::string out(text);
    for (char& c : out)
        if (c == '.') c = platform::DecimalSeparator();
    return out;
}

std::string DateTimeText(TDateTime value, bool withTime) {
    DateTimeParts p{};
    if (!DecodeDateTime(value, p)) return {};
    std::string out = platform::ShortDateText(p.year, p.month, p.day);
    if (withTime && (p.hour || p.minute || p.second)) {
        char time[16];
        std::snprintf(time, sizeof time, " %d:%02d:%02d", p.hour, p.minute, p.second);
        out += time;
    }
    return out;
}

} // namespace

TField::TField(TDbf& dataset, const TDbfFieldDef& def, std::string name)
    : dataset_(dataset), def_(def), name_(std::move(name)) {}

bool TField::GetData(FieldValue& value) const {
    // Cleared field by field, so the text keeps its buffer.
    value.text.clear();
    value.integer = 0;
    value.number = 0;
    value.boolean = false;
    return GetFieldData(def_, dataset_.CurrentRecord(), dataset_.RecordSize(), value,
                        dataset_.DecimalSeparator());
}

bool TField::IsNull() const {
    FieldValue value;
    return !GetData(value);
}

void TField::AccessError(const char* typeName) const {
    throw EDatabaseError(Format(STRING_FIELD_ACCESS, name_, typeName));
}

bool TField::ReadText(std::string& out) const {
    if (def_.FieldType != ftString) {
        out = AsString();
        return !IsNull();
    }
    if (!GetData(scratch_)) {
        out.clear();
        return false;
    }
    out.assign(scratch_.text);
    if (!out.empty() && Transliterate) dataset_.TranslateInPlace(out);
    return true;
}

std::string TField::AsString() const {
    FieldValue& v = scratch_;
    if (!GetData(v)) return {};
    switch (def_.FieldType) {
    case ftString:
        if (!v.text.empty() && Transliterate) dataset_.TranslateInPlace(v.text);
        return v.text;
    case ftSmallint:
    case ftInteger:
    case ftLargeint:
    case ftAutoInc:
        return std::to_string(v.integer);
    case ftFloat:
        return FloatText(v.number);
    case ftBoolean:
        return v.boolean ? "True" : "False";
    case ftDate:
        return DateTimeText(v.number, false);
    case ftDateTime:
        return DateTimeText(v.number, true);
    default:
        return {};
    }
}

int TField::AsInteger() const {
    FieldValue v;
    const bool present = GetData(v);
    switch (def_.FieldType) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftLargeint:
        return present ? ClampToInt(static_cast<double>(v.integer)) : 0;
    case ftFloat:
        return present ? ClampToInt(v.number) : 0;
    case ftString: {
        if (!present) return 0;
        std::string text = AsString();
        std::string_view trimmed(text);
        while (!trimmed.empty() && trimmed.front() == ' ')
            trimmed.remove_prefix(1);
        while (!trimmed.empty() && trimmed.back() == ' ')
            trimmed.remove_suffix(1);
        std::int64_t parsed = 0;
        if (!ParseInteger(trimmed, 32, parsed))
            throw EDatabaseError(Format(STRING_INVALID_INTEGER, text));
        return static_cast<int>(parsed);
    }
    default:
        AccessError("Integer");
    }
}

std::int64_t TField::AsLargeInt() const {
    FieldValue v;
    const bool present = GetData(v);
    switch (def_.FieldType) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftLargeint:
        return present ? v.integer : 0;
    case ftFloat:
        return present ? ClampToInt64(v.number) : 0;
    default:
        AccessError("Largeint");
    }
}

double TField::AsFloat() const {
    FieldValue v;
    const bool present = GetData(v);
    switch (def_.FieldType) {
    case ftSmallint:
    case ftInteger:
    case ftAutoInc:
    case ftLargeint:
        return present ? static_cast<double>(v.integer) : 0.0;
    case ftFloat:
    case ftDate:
    case ftDateTime:
        return present ? v.number : 0.0;
    default:
        AccessError("Float");
    }
}

bool TField::AsBoolean() const {
    FieldValue v;
    const bool present = GetData(v);
    if (def_.FieldType != ftBoolean) AccessError("Boolean");
    return present && v.boolean;
}

TDateTime TField::AsDateTime() const {
    FieldValue v;
    const bool present = GetData(v);
    if (def_.FieldType != ftDate && def_.FieldType != ftDateTime) AccessError("DateTime");
    return present ? v.number : 0.0;
}

} // namespace dbf
