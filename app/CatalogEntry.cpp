#include "app/CatalogEntry.h"

#include "memtable/loxDisplay.h"
#include "memtable/loxMemTable.h"
#include "platform/CodePages.h"

namespace {

CatalogDate DateOf(std::int32_t dayNumber) {
    const memtable::CivilDate date = memtable::DayNumberToDate(dayNumber);
    return {date.year, date.month, date.day};
}

// Reads the seven fields through one reader, so the current record and a record
// at a position are read alike.
template <class Text, class Integer, class Day>
CatalogEntry Read(const memtable::TloxCustomMemTable& table, Text text, Integer integer, Day day) {
    auto field = [&table](const char* name) -> const memtable::TField& {
        return table.FieldNamed(name);
    };
    CatalogEntry entry;
    entry.Nazov = platform::AnsiToUtf8(text(field("Nazov")));
    entry.Popis = platform::AnsiToUtf8(text(field("Popis")));
    entry.Datum = DateOf(day(field("Datum")));
    entry.Cas = platform::AnsiToUtf8(text(field("Cas")));
    entry.FilName = platform::AnsiToUtf8(text(field("FilName")));
    entry.Sirka = integer(field("Sirka"));
    entry.Dlzka = integer(field("Dlzka"));
    return entry;
}

} // namespace

CatalogEntry CatalogEntry::Current(const memtable::TloxCustomMemTable& PrnData) {
    if (PrnData.CurrentIdentity() < 0) return {};
    return Read(
        PrnData, [](const memtable::TField& f) { return f.ValueText(); },
        [](const memtable::TField& f) { return f.ValueInteger(); },
        [](const memtable::TField& f) { return f.ValueDayNumber(); });
}

CatalogEntry CatalogEntry::At(const memtable::TloxCustomMemTable& PrnData, int position) {
    if (!PrnData.HasRecordAt(position)) return {};
    return Read(
        PrnData, [&](const memtable::TField& f) { return PrnData.ValueTextAt(position, f); },
        [&](const memtable::TField& f) { return PrnData.ValueIntegerAt(position, f); },
        [&](const memtable::TField& f) { return PrnData.ValueDayNumberAt(position, f); });
}

std::string CatalogEntry::TrimmedNazov() const {
    return TrimBlanks(Nazov);
}

bool CatalogEntry::SameEntryAs(const CatalogEntry& other) const {
    return Nazov == other.Nazov && Datum == other.Datum && Cas == other.Cas &&
           FilName == other.FilName;
}

std::vector<CatalogEntry> CatalogEntries(const memtable::TloxCustomMemTable& PrnData) {
    std::vector<CatalogEntry> entries;
    entries.reserve(static_cast<std::size_t>(PrnData.RecordTotal()));
    for (int position = 1; position <= PrnData.RecordTotal(); ++position)
        entries.push_back(CatalogEntry::At(PrnData, position));
    return entries;
}

std::string TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

int FindEntry(const memtable::TloxCustomMemTable& PrnData, const CatalogEntry& entry) {
    const memtable::TField& datum = PrnData.FieldNamed("Datum");
    const std::int32_t day =
        memtable::DateToDayNumber(entry.Datum.year, entry.Datum.month, entry.Datum.day);
    const int total = PrnData.RecordTotal();
    for (int position = 1; position <= total; ++position) {
        // The date first: it is cheap to compare and tells most entries apart.
        if (PrnData.ValueDayNumberAt(position, datum) != day) continue;
        if (CatalogEntry::At(PrnData, position).SameEntryAs(entry)) return position;
    }
    return 0;
}
