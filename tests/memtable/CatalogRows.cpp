#include "CatalogRows.h"

#include "memtable/loxDisplay.h"

namespace memtable::testing {

TDateTime DateTimeOf(int year, int month, int day, double hours) {
    // Before 30 December 1899 the day counts down while the time of day still counts up.
    double days = DateToDayNumber(year, month, day) - kDayNumberOf30Dec1899;
    return {days + (days < 0 ? -hours : hours) / 24.0};
}

void InsertEntry(TloxMemTable& table, const std::string& nazov, TDateTime datum,
                 const std::string& cas, const std::string& filName) {
    table.InsertValues({nazov, std::string("popis ") + nazov, datum, cas, filName, std::int32_t(80),
                        std::int32_t(66)});
}

std::vector<std::string> Column(const TloxMemTable& table, const char* fieldName) {
    const TField& field = table.FieldNamed(fieldName);
    std::vector<std::string> values;
    for (int position = 1; position <= table.RecordTotal(); ++position)
        values.push_back(table.ValueTextAt(position, field));
    return values;
}

void EmptyTable(TloxMemTable& table) {
    table.GoFirst();
    while (!table.AtEnd())
        table.DeleteCurrent();
}

} // namespace memtable::testing
