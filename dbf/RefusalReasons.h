#pragma once
// The reasons a table file is refused, worded for the user who has to find the
// fault in the file: which header field or descriptor, at which offset, and the
// value found there, or that the file ends before it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace dbf {

// A version byte that names no table level.
std::string VersionReason(std::uint8_t version, std::uint64_t fileSize);
// A header or record length of 0 (`at` is its offset in the header).
std::string ZeroLengthReason(std::size_t at, std::uint64_t fileSize);
// Descriptor `number` (from 1) at offset `at` with no name.
std::string EmptyNameReason(std::size_t number, std::size_t at, std::uint64_t fileSize);
// Descriptor `number` at offset `at` whose type letter at `typeAt` maps to no value type.
std::string FieldTypeReason(std::size_t number, std::size_t at, std::string_view name, char type,
                            std::size_t typeAt, std::uint64_t fileSize);
std::string FieldCountReason(std::size_t count, std::size_t first);
// The production-index flag is set and the index file is missing.
std::string MissingIndexReason(std::uint8_t flag, std::string_view indexFile);
// Descriptor `number` has a memo, binary or OLE type, whose values live in the memo file.
std::string MemoFieldReason(std::size_t number, std::string_view name, char type);

// A header length or a number of records too large for the file format.
std::string TooLongReason(std::string_view what, std::size_t length, std::size_t limit);
// A field definition a new table cannot be made from.
std::string FieldDefinitionReason(std::size_t number, std::string_view name,
                                  std::string_view fault);

// Bytes of a file shown as text: printable ASCII as it is, other bytes as \xNN.
std::string Printable(std::string_view bytes);

} // namespace dbf
