#include "dbf/RefusalReasons.h"

#include "dbf/HeaderLayout.h"

#include <cstdio>

namespace dbf {
namespace {

std::string Hex(std::uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// The file ends before the `width` bytes at `at`: they were read as zero.
bool Missing(std::size_t at, std::size_t width, std::uint64_t fileSize) {
    return at + width > fileSize;
}

std::string EndsAfter(std::uint64_t fileSize) {
    return "is missing: the file ends after " + std::to_string(fileSize) + " bytes";
}

std::string Descriptor(std::size_t number, std::size_t at, std::string_view name = {}) {
    std::string text = "field descriptor " + std::to_string(number);
    if (!name.empty()) text += " (" + Printable(name) + ")";
    return text + " at offset " + std::to_string(at);
}

std::string Letter(char type) {
    const auto byte = static_cast<std::uint8_t>(type);
    if (byte > 0x20 && byte < 0x7F) return "'" + std::string(1, type) + "' (" + Hex(byte) + ")";
    return Hex(byte);
}

} // namespace

std::string Printable(std::string_view bytes) {
    std::string text;
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\') {
            text += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        }
    }
    return text;
}

std::string VersionReason(std::uint8_t version, std::uint64_t fileSize) {
    const std::string field = "version byte at offset " + std::to_string(kVersionAt);
    if (Missing(kVersionAt, 1, fileSize)) return field + " " + EndsAfter(fileSize);
    return field + " is " + Hex(version) + ", which names no table level";
}

std::string ZeroLengthReason(std::size_t at, std::uint64_t fileSize) {
    const std::string field =
        std::string(at == kHeaderLengthAt ? "header length" : "record length") + " at offset " +
        std::to_string(at);
    if (Missing(at, 2, fileSize)) return field + " " + EndsAfter(fileSize);
    return field + " is 0";
}

std::string EmptyNameReason(std::size_t number, std::size_t at, std::uint64_t fileSize) {
    if (Missing(at, 1, fileSize)) return Descriptor(number, at) + " " + EndsAfter(fileSize);
    return Descriptor(number, at) + " has an empty name";
}

std::string FieldTypeReason(std::size_t number, std::size_t at, std::string_view name, char type,
                            std::size_t typeAt, std::uint64_t fileSize) {
    const std::string field = Descriptor(number, at, name);
    if (Missing(at + typeAt, 1, fileSize))
        return field + ": its type letter " + EndsAfter(fileSize);
    return field + " has the type letter " + Letter(type) + ", which names no field type";
}

std::string FieldCountReason(std::size_t count, std::size_t first) {
    return std::to_string(count) + " field descriptors from offset " + std::to_string(first) +
           " before the terminator " + Hex(kDescriptorTerminator);
}

std::string MissingIndexReason(std::uint8_t flag, std::string_view indexFile) {
    return "production-index flag at offset " + std::to_string(kProductionIndexAt) + " is " +
           Hex(flag) + ", and the index file \"" + std::string(indexFile) +
           "\" is missing; the link was kept";
}

std::string MemoFieldReason(std::size_t number, std::string_view name, char type) {
    return "field descriptor " + std::to_string(number) + " (" + Printable(name) +
           ") has the type letter " + Letter(type) + ", whose values are kept in the memo file";
}

std::string TooLongReason(std::string_view what, std::size_t length, std::size_t limit) {
    return std::string(what) + " of " + std::to_string(length) + " bytes is longer than the " +
           std::to_string(limit) + " the file format can hold";
}

std::string FieldDefinitionReason(std::size_t number, std::string_view name,
                                  std::string_view fault) {
    std::string text = "field definition " + std::to_string(number);
    if (!name.empty()) text += " (" + Printable(name) + ")";
    return text + " " + std::string(fault);
}

} // namespace dbf
