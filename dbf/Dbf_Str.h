#pragma once
// Every message the table reader raises; printf-style placeholders.

namespace dbf {

inline constexpr const char* STRING_INVALID_DBF_FILE = "Invalid DBF file.";
inline constexpr const char* STRING_INVALID_FIELD_COUNT =
    "Invalid field count: %d (must be between 1 and 4095).";
inline constexpr const char* STRING_FILE_NOT_FOUND = "Open: file not found: \"%s\".";
inline constexpr const char* STRING_CANNOT_OPEN_FILE = "Cannot open file \"%s\". %s";
inline constexpr const char* STRING_CANNOT_READ_FILE = "Cannot read file \"%s\". %s";
inline constexpr const char* STRING_CANNOT_WRITE_FILE = "Cannot write file \"%s\". %s";
inline constexpr const char* STRING_OPERATION_ABORTED = "Operation aborted";
inline constexpr const char* STRING_FIELD_NOT_FOUND = "Field '%s' not found";
inline constexpr const char* STRING_DATASET_OPEN =
    "Cannot perform this operation on an open dataset";
inline constexpr const char* STRING_DATASET_CLOSED =
    "Cannot perform this operation on a closed dataset";
inline constexpr const char* STRING_FIELD_ACCESS = "Cannot access field '%s' as type %s";
inline constexpr const char* STRING_INVALID_INTEGER = "'%s' is not a valid integer value";

} // namespace dbf
