#include "tools/dbfdump/JsonLines.h"

#include "platform/CodePages.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace dbfdump {
namespace {

const char* ModeName(dbf::TextTranslation mode) {
    switch (mode) {
    case dbf::TextTranslation::Identity:
        return "Identity";
    case dbf::TextTranslation::OemAnsi:
        return "OemAnsi";
    case dbf::TextTranslation::CodePage:
        return "CodePage";
    case dbf::TextTranslation::Unavailable:
        break;
    }
    return "Unavailable";
}

std::string Number(double value) {
    if (!std::isfinite(value)) return "null";
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// Digits of a number at least `width` wide, zeros in front, a minus sign first.
void AppendPadded(std::string& out, int value, int width) {
    char digits[16];
    char* end = std::to_chars(digits, digits + sizeof digits, value < 0 ? -value : value).ptr;
    if (value < 0) out += '-';
    for (int pad = width - static_cast<int>(end - digits); pad > 0; --pad)
        out += '0';
    out.append(digits, end);
}

void AppendDate(std::string& out, dbf::TDateTime value, bool withTime) {
    dbf::DateTimeParts p{};
    if (!dbf::DecodeDateTime(value, p)) {
        out += "null";
        return;
    }
    out += '"';
    AppendPadded(out, p.year, 4);
    out += '-';
    AppendPadded(out, p.month, 2);
    out += '-';
    AppendPadded(out, p.day, 2);
    if (withTime) {
        out += 'T';
        AppendPadded(out, p.hour, 2);
        out += ':';
        AppendPadded(out, p.minute, 2);
        out += ':';
        AppendPadded(out, p.second, 2);
    }
    out += '"';
}

std::string DateText(dbf::TDateTime value, bool withTime) {
    std::string out;
    AppendDate(out, value, withTime);
    return out;
}

std::string Value(const dbf::TField& field) {
    dbf::FieldValue value;
    if (!field.GetData(value)) return "null";
    switch (field.DataType()) {
    case dbf::ftString:
        return JsonString(platform::AnsiToUtf8(field.AsString()));
    case dbf::ftSmallint:
    case dbf::ftInteger:
    case dbf::ftLargeint:
    case dbf::ftAutoInc:
        return std::to_string(value.integer);
    case dbf::ftFloat:
        return Number(value.number);
    case dbf::ftBoolean:
        return value.boolean ? "true" : "false";
    case dbf::ftDate:
        return DateText(value.number, false);
    case dbf::ftDateTime:
        return DateText(value.number, true);
    default:
        return "null";
    }
}

} // namespace

std::string JsonString(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string DescribeTable(dbf::TDbf& table) {
    const dbf::TDbfFile& file = table.DbfFile();
    std::string out = "{\"level\":" + std::to_string(table.TableLevel()) +
                      ",\"codepage\":" + std::to_string(file.UseCodePage()) + ",\"mode\":\"" +
                      ModeName(table.TranslationMode()) +
                      "\",\"records\":" + std::to_string(table.PhysicalRecordCount()) +
                      ",\"fields\":[";
    for (std::size_t i = 0; i < table.FieldCount(); ++i) {
        const dbf::TField& field = *table.Fields(i);
        if (i) out += ',';
        out += "{\"name\":" + JsonString(platform::AnsiToUtf8(field.FieldName())) +
               ",\"type\":" + JsonString(std::string(1, field.FieldDef().NativeFieldType)) +
               ",\"size\":" + std::to_string(field.Size()) +
               ",\"decimals\":" + std::to_string(field.Precision()) + "}";
    }
    return out + "]}";
}

std::string DescribeRecord(dbf::TDbf& table, bool withDeleted) {
    std::string out;
    RecordWriter(table).Append(out, withDeleted);
    return out;
}

RecordWriter::RecordWriter(dbf::TDbf& table) : table_(table) {
    for (std::size_t i = 0; i < table.FieldCount(); ++i)
        keys_.push_back(JsonString(platform::AnsiToUtf8(table.Fields(i)->FieldName())) + ":");
    // Code pages with two-byte characters cannot be converted byte by byte.
    const int ansi = platform::AnsiCodePage();
    byteTable_ = ansi != 932 && ansi != 936 && ansi != 949 && ansi != 950 && ansi != 1361;
    if (byteTable_) {
        for (int b = 0; b < 256; ++b) {
            const std::string json = JsonString(platform::AnsiToUtf8(std::string(1, char(b))));
            // Without the quotes: values are escaped byte by byte between their own.
            jsonOfByte_[static_cast<std::size_t>(b)] = json.substr(1, json.size() - 2);
        }
    }
}

void RecordWriter::AppendValue(std::string& out, const dbf::TField& field) {
    if (field.DataType() == dbf::ftString && byteTable_) {
        if (!field.ReadText(text_)) {
            out += "null";
            return;
        }
        out += '"';
        for (char c : text_)
            out += jsonOfByte_[static_cast<unsigned char>(c)];
        out += '"';
        return;
    }
    char number[64];
    dbf::FieldValue value;
    switch (field.DataType()) {
    case dbf::ftSmallint:
    case dbf::ftInteger:
    case dbf::ftLargeint:
    case dbf::ftAutoInc:
        if (!field.GetData(value)) break;
        out.append(number, std::to_chars(number, number + sizeof number, value.integer).ptr);
        return;
    case dbf::ftFloat:
        if (!field.GetData(value)) break;
        if (!std::isfinite(value.number)) break;
        out.append(number, std::to_chars(number, number + sizeof number, value.number).ptr);
        return;
    case dbf::ftDate:
    case dbf::ftDateTime:
        if (!field.GetData(value)) break;
        AppendDate(out, value.number, field.DataType() == dbf::ftDateTime);
        return;
    default:
        out += Value(field);
        return;
    }
    out += "null";
}

void RecordWriter::Append(std::string& out, bool withDeleted) {
    out += '{';
    for (std::size_t i = 0; i < table_.FieldCount(); ++i) {
        if (i) out += ',';
        out += keys_[i];
        AppendValue(out, *table_.Fields(i));
    }
    if (withDeleted) {
        if (table_.FieldCount()) out += ',';
        out += table_.IsDeleted() ? "\"_deleted\":true" : "\"_deleted\":false";
    }
    out += '}';
}

} // namespace dbfdump
