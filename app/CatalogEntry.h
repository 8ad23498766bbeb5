#pragma once
// One entry of a source's catalog as the tool works with it: the seven fields
// the catalog gives each print file, typed, with texts in UTF-8. The memory
// table PrnData holds the entries; everything above it reads them through
// here, never field by field.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace memtable {
class TloxCustomMemTable;
}

// A catalog date. An empty date in the catalog reads as 30 December 1899.
struct CatalogDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    bool operator==(const CatalogDate&) const = default;
};

struct CatalogEntry {
    std::string Nazov; // short name
    std::string Popis; // description, shown in the preview's title
    CatalogDate Datum;
    std::string Cas;        // time of day as the host wrote it
    std::string FilName;    // the print file in the source's print-file folder
    std::int32_t Sirka = 0; // page width of the report in characters
    std::int32_t Dlzka = 0; // page length of the report in lines

    // The entry read from the table's current record; an empty entry when the
    // table has none. Needs the machine's code pages set.
    static CatalogEntry Current(const memtable::TloxCustomMemTable& PrnData);
    // The entry at a 1-based position of the table's active order, without
    // moving its cursor; an empty entry outside 1 to RecordTotal.
    static CatalogEntry At(const memtable::TloxCustomMemTable& PrnData, int position);

    // Nazov without the blanks the catalog pads it with.
    std::string TrimmedNazov() const;

    // Whether two readings of a catalog name the same print file: the same
    // name, date, time and file. Several entries may share a name.
    bool SameEntryAs(const CatalogEntry& other) const;

    bool operator==(const CatalogEntry&) const = default;
};

// Every entry of the table, in its active order.
std::vector<CatalogEntry> CatalogEntries(const memtable::TloxCustomMemTable& PrnData);

// A catalog text without the blanks the host pads it with at either end.
std::string TrimBlanks(std::string_view text);

// The first position of the table's active order holding the same entry (see
// SameEntryAs), 0 when there is none.
int FindEntry(const memtable::TloxCustomMemTable& PrnData, const CatalogEntry& entry);
