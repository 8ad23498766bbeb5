#pragma once
// Small builders for catalog rows and for reading a table back in its active order.

#include "memtable/loxMemTable.h"

#include <string>
#include <vector>

namespace memtable::testing {

// The date-time of a calendar day at a time, as the dBase reader hands it out.
TDateTime DateTimeOf(int year, int month, int day, double hours = 0.0);

// Inserts one catalog row; the other fields get plain values.
void InsertEntry(TloxMemTable& table, const std::string& nazov, TDateTime datum = {},
                 const std::string& cas = "", const std::string& filName = "F.TXT");

// One field of every record in the active order, read without moving the cursor.
std::vector<std::string> Column(const TloxMemTable& table, const char* fieldName);

// Empties the table the way catalog loading does.
void EmptyTable(TloxMemTable& table);

} // namespace memtable::testing
