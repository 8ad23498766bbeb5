#include "dbf/FieldValues.h"

#include "platform/Locale.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

namespace dbf {
namespace {

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A date part: characters [pos, pos+len) counted from 0, blank past the end; 1 when unusable.
int DatePart(std::string_view text, std::size_t pos, std::size_t len) {
    std::string_view part = pos < text.size() ? text.substr(pos, len) : std::string_view();
    part = TrimLeft(TrimRight(part));
    std::int64_t value = 0;
    if (part.empty() || !ParseInteger(part, 32, value)) return 1;
    return static_cast<int>(value);
}

TDateTime DateFromText(std::string_view text) {
    int year = DatePart(text, 0, 4);
    int month = DatePart(text, 4, 2);
    int day = DatePart(text, 6, 2);
    return IsValidDate(year, month, day) ? EncodeDate(year, month, day) : 0.0;
}

std::uint64_t BigEndian(const std::uint8_t* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

bool AllZero(const std::uint8_t* bytes, int count) {
    return std::all_of(bytes, bytes + count, [](std::uint8_t b) { return b == 0; });
}

// Milliseconds on the timestamp scale (1 Jan 0001 00:00 = 86 400 000) as a date-time value.
TDateTime TimestampToDateTime(double ms) {
    const double msPerDay = 86400000.0;
    double date = std::floor(ms / msPerDay);
    double time = (ms - date * msPerDay) / msPerDay;
    if (!(time >= 0.0 && time < 1.0)) time = 0.0;
    return ComposeDateTime(date - 693594.0, time);
}

bool GetTextValue(const TDbfFieldDef& def, std::string_view bytes, char separator,
                  FieldValue& value) {
    std::string_view s = TrimRight(bytes);
    if (def.FieldType != ftString) s = TrimLeft(s);
    if (s.empty()) return false;
    switch (def.FieldType) {
    case ftString:
        value.text.assign(s.substr(0, s.find('\0')));
        return true;
    case ftSmallint: {
        std::int64_t parsed = 0;
        if (!ParseInteger(s, 32, parsed)) parsed = 0;
        value.integer = static_cast<std::int16_t>(static_cast<std::uint16_t>(parsed & 0xFFFF));
        return true;
    }
    case ftInteger:
    case ftLargeint: {
        std::int64_t parsed = 0;
        if (!ParseInteger(s, def.FieldType == ftInteger ? 32 : 64, parsed)) parsed = 0;
        value.integer = parsed;
        return true;
    }
    case ftFloat:
        if (!ParseFloat(s, separator, value.number)) value.number = 0.0;
        return true;
    case ftBoolean:
        value.boolean = s.front() == 'T' || s.front() == 't';
        return true;
    case ftDate:
        value.number = DateFromText(s);
        return true;
    case ftDateTime: {
        TDateTime date = DateFromText(s);
        int hour = DatePart(s, 8, 2);
        int minute = DatePart(s, 10, 2);
        int second = DatePart(s, 12, 2);
        if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60) {
            value.number = 0.0;
        } else {
            value.number =
                ComposeDateTime(date, (hour * 3600.0 + minute * 60.0 + second) / 86400.0);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace

bool ParseInteger(std::string_view text, int bits, std::int64_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    // Hex may use the whole unsigned range and wraps; decimal must fit the signed range.
    const std::uint64_t limit = base == 16 ? (bits == 64 ? ~0ull : (1ull << bits) - 1)
                                           : (1ull << (bits - 1)) - (negative ? 0 : 1);
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        int digit = base == 16 ? HexDigit(text[i])
                               : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return false;
        if (magnitude >
            (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base))
            return false;
        magnitude =
            magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    std::uint64_t bitsValue = negative ? 0 - magnitude : magnitude;
    if (bits == 32) {
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(bitsValue));
    } else {
        value = static_cast<std::int64_t>(bitsValue);
    }
    return true;
}

bool ParseFloat(std::string_view text, double& value) {
    return ParseFloat(text, platform::DecimalSeparator(), value);
}

bool ParseFloat(std::string_view text, char separator, double& value) {
    // Numeric fields are at most 20 characters wide; longer text is never a number
    // that fits a double's digits anyway, but is read the same way.
    char stackBuffer[64];
    std::string heapBuffer;
    char* plain = stackBuffer;
    if (text.size() + 2 > sizeof stackBuffer) {
        heapBuffer.resize(text.size() + 2);
        plain = heapBuffer.data();
    }
    std::size_t length = 0;
    // The first '.' stands for the separator, whatever the separator is.
    const std::size_t dot = text.find('.');
    auto at = [&](std::size_t i) { return i == dot ? separator : text[i]; };
    // Check the shape: sign, digits, one separator, digits, exponent.
    std::size_t i = 0;
    const std::size_t size = text.size();
    if (i < size && (at(i) == '+' || at(i) == '-')) plain[length++] = at(i++);
    bool digits = false;
    while (i < size && at(i) >= '0' && at(i) <= '9')
        plain[length++] = at(i++), digits = true;
    if (i < size && at(i) == separator) {
        plain[length++] = '.';
        ++i;
        while (i < size && at(i) >= '0' && at(i) <= '9')
            plain[length++] = at(i++), digits = true;
    }
    if (!digits) return false;
    if (i < size && (at(i) == 'e' || at(i) == 'E')) {
        plain[length++] = 'e';
        ++i;
        if (i < size && (at(i) == '+' || at(i) == '-')) plain[length++] = at(i++);
        bool exponentDigits = false;
        while (i < size && at(i) >= '0' && at(i) <= '9')
            plain[length++] = at(i++), exponentDigits = true;
        if (!exponentDigits) return false;
    }
    if (i != size) return false;
    const char* begin = plain;
    if (*begin == '+') ++begin;
    double parsed = 0;
    auto [end, error] = std::from_chars(begin, plain + length, parsed);
    if (error != std::errc() || end != plain + length) return false;
    value = parsed;
    return true;
}

bool GetFieldData(const TDbfFieldDef& def, const std::uint8_t* record, std::size_t recordSize,
                  FieldValue& value) {
    return GetFieldData(def, record, recordSize, value, platform::DecimalSeparator());
}

bool GetFieldData(const TDbfFieldDef& def, const std::uint8_t* record, std::size_t recordSize,
                  FieldValue& value, char decimalSeparator) {
    if (record == nullptr || def.Offset >= recordSize || def.Size <= 0) return false;
    const std::size_t available =
        std::min(static_cast<std::size_t>(def.Size), recordSize - def.Offset);
    const std::uint8_t* bytes = record + def.Offset;
    const auto binary = [&](int width) { return available >= static_cast<std::size_t>(width); };

    switch (def.NativeFieldType) {
    case 'I':
    case '+':
        if (!binary(4) || AllZero(bytes, 4)) return false;
        value.integer = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(BigEndian(bytes, 4) ^ 0x80000000u));
        return true;
    case '@':
        if (!binary(8) || AllZero(bytes, 8)) return false;
        value.number = TimestampToDateTime(std::bit_cast<double>(BigEndian(bytes, 8)));
        return true;
    case 'O': {
        if (!binary(8) || AllZero(bytes, 8)) return false;
        std::uint64_t pattern = BigEndian(bytes, 8);
        pattern = (pattern & 0x8000000000000000ull) ? pattern ^ 0x8000000000000000ull : ~pattern;
        value.number = std::bit_cast<double>(pattern);
        return true;
    }
    case 'M':
    case 'B':
    case 'G':
        return false;
    default:
        return GetTextValue(def, std::string_view(reinterpret_cast<const char*>(bytes), available),
                            decimalSeparator, value);
    }
}

} // namespace dbf
