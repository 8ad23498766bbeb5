#include "tools/dbfdump/JsonLines.h"

#include "platform/CodePages.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace dbfdump {
namespace {

const char* ModeName(dbf::TDbfTranslationMode mode) {
    switch (mode) {
    case dbf::TDbfTranslationMode::Identity:
        return "Identity";
    case dbf::TDbfTranslationMode::OemAnsi:
        return "OemAnsi";
    case dbf::TDbfTranslationMode::CodePage:
        return "CodePage";
    case dbf::TDbfTranslationMode::Unavailable:
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

std::string DateText(dbf::TDateTime value, bool withTime) {
    dbf::DateTimeParts p{};
    if (!dbf::DecodeDateTime(value, p)) return "null";
    char text[40];
    if (withTime) {
        std::snprintf(text, sizeof text, "\"%04d-%02d-%02dT%02d:%02d:%02d\"", p.year, p.month,
                      p.day, p.hour, p.minute, p.second);
    } else {
        std::snprintf(text, sizeof text, "\"%04d-%02d-%02d\"", p.year, p.month, p.day);
    }
    return text;
}

std::string Value(const dbf::TField& field) {
    dbf::TFieldValue value;
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
    std::string out = "{";
    for (std::size_t i = 0; i < table.FieldCount(); ++i) {
        const dbf::TField& field = *table.Fields(i);
        if (i) out += ',';
        out += JsonString(platform::AnsiToUtf8(field.FieldName())) + ":" + Value(field);
    }
    if (withDeleted) {
        if (table.FieldCount()) out += ',';
        out += std::string("\"_deleted\":") + (table.IsDeleted() ? "true" : "false");
    }
    return out + "}";
}

} // namespace dbfdump
