#pragma once
// The JSON lines dbfdump prints: the table's description and one object per record.

#include "dbf/Dbf.h"

#include <array>
#include <string>
#include <vector>

namespace dbfdump {

// {"level":..,"codepage":..,"mode":..,"records":..,"fields":[...]}
std::string DescribeTable(dbf::TDbf& table);
// The current record, keys in field order; with `withDeleted` also "_deleted".
std::string DescribeRecord(dbf::TDbf& table, bool withDeleted);
// A JSON string literal of UTF-8 text.
std::string JsonString(const std::string& utf8);

// Writes records of one table into a buffer that is reused from record to record:
// a value goes from the field's bytes to escaped UTF-8 without a heap allocation.
class RecordWriter {
  public:
    explicit RecordWriter(dbf::TDbf& table);
    // Appends the current record as DescribeRecord gives it.
    void Append(std::string& out, bool withDeleted);

  private:
    void AppendValue(std::string& out, const dbf::TField& field);

    dbf::TDbf& table_;
    std::vector<std::string> keys_; // "\"NAME\":" per field
    // JSON text of each ANSI byte as UTF-8, when the ANSI code page has one byte a character.
    bool byteTable_ = false;
    std::array<std::string, 256> jsonOfByte_;
    std::string text_;
};

} // namespace dbfdump
