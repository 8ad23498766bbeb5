#pragma once
// The JSON lines dbfdump prints: the table's description and one object per record.

#include "dbf/Dbf.h"

#include <string>

namespace dbfdump {

// {"level":..,"codepage":..,"mode":..,"records":..,"fields":[...]}
std::string DescribeTable(dbf::TDbf& table);
// The current record, keys in field order; with `withDeleted` also "_deleted".
std::string DescribeRecord(dbf::TDbf& table, bool withDeleted);
// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& utf8);

} // namespace dbfdump
