#include "memtable/loxIndex.h"

#include "platform/Assert.h"
#include "platform/Locale.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace memtable {
namespace {

// LocaleID values that stand for the user's default locale (user and system default).
constexpr int kUserDefaultLocale = 0x0400;
constexpr int kSystemDefaultLocale = 0x0800;

std::string_view StoredText(const TField& field, const std::byte* block) {
    const char* text = reinterpret_cast<const char*>(block + field.Offset() + 1);
    return {text, strnlen(text, static_cast<size_t>(field.Size()))};
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

TloxFieldList ParseIndexFields(const TloxIndexDef& def,
                               const std::function<const TField&(std::string_view)>& fieldNamed) {
    if (TrimBlanks(def.Name).empty() || TrimBlanks(def.Fields).empty())
        throw EMemTableError("V definícii indexov [IndexDef] chýba hodnota položky [Name] "
                             "alebo [FieldNames] !");
    TloxFieldList fields;
    std::string_view rest = def.Fields;
    while (!rest.empty()) {
        size_t end = rest.find(';');
        std::string_view name = TrimBlanks(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (name.empty()) continue;
        const TField& field = fieldNamed(name);
        if (!field.CanBeKey())
            throw EDatabaseError("Nedá sa indexovať pole " + field.DisplayLabel() + " !");
        fields.push_back({&field, def.Options});
    }
    return fields;
}

TloxIndex::TloxIndex(std::string name, std::string fieldString, TloxFieldList fields,
                     TloxMemTableCompareOptions options, bool isRowOrder, const int& localeId)
    : name_(std::move(name)), fieldString_(std::move(fieldString)), fields_(std::move(fields)),
      options_(options), isRowOrder_(isRowOrder), localeId_(localeId) {
    // Keys of text, date and integer fields in ascending order, case significant,
    // encode into bytes that compare as the fields do.
    prefixUsable_ = !isRowOrder_ && !fields_.empty();
    for (const KeyField& item : fields_) {
        const TFieldType type = item.field->DataType();
        if ((type != ftString && type != ftDate && type != ftInteger) ||
            (item.options & (mtcoDescending | mtcoIgnoreCase)))
            prefixUsable_ = false;
    }
}

KeyPrefix TloxIndex::MakePrefix(const StoredRecord& record) const {
    KeyPrefix prefix;
    // The arrival order keeps the unique number at hand for finding a record.
    if (isRowOrder_) return {static_cast<std::uint64_t>(record.uniqueNumber), 0, true};
    if (!prefixUsable_) return prefix;
    unsigned char bytes[16] = {};
    std::size_t used = 0;
    bool complete = true;
    auto put = [&](unsigned char byte) {
        if (used < sizeof bytes)
            bytes[used++] = byte;
        else
            complete = false;
    };
    for (const KeyField& item : fields_) {
        if (used >= sizeof bytes) {
            complete = false;
            break;
        }
        const TField& field = *item.field;
        // An empty field sorts before every value.
        if (field.IsNullIn(record.block.data())) {
            put(1);
            continue;
        }
        put(2);
        if (field.DataType() == ftString) {
            const std::string* key = record.CollationKey(field.FieldNo());
            if (!key) return KeyPrefix{};
            // Every key starts with the same 1 byte, which tells no two keys apart.
            for (std::size_t i = 1; i < key->size(); ++i)
                put(static_cast<unsigned char>((*key)[i]));
            // Collation keys hold no zero byte: the zero ends a shorter key first.
            // A key reaching the last byte needs none, as only a longer key could
            // continue it, and that one no longer fits.
            if (used < sizeof bytes) put(0);
        } else {
            const std::uint32_t biased =
                static_cast<std::uint32_t>(field.IntegerIn(record.block.data())) ^ 0x80000000u;
            for (int shift = 24; shift >= 0; shift -= 8)
                put(static_cast<unsigned char>(biased >> shift));
        }
    }
    for (std::size_t i = 0; i < 8; ++i) {
        prefix.high = prefix.high << 8 | bytes[i];
        prefix.low = prefix.low << 8 | bytes[8 + i];
    }
    prefix.valid = true;
    prefix.complete = complete;
    return prefix;
}

int TloxIndex::CompareAt(int position, const StoredRecord& key, const KeyPrefix& prefix) const {
    return CompareEntry(records_.Entry(position), key, prefix);
}

int TloxIndex::CompareEntry(const RecordEntry& entry, const StoredRecord& key,
                            const KeyPrefix& prefix) const {
    if (entry.prefix.valid && prefix.valid) {
        if (entry.prefix.high != prefix.high) return entry.prefix.high < prefix.high ? -1 : 1;
        if (entry.prefix.low != prefix.low) return entry.prefix.low < prefix.low ? -1 : 1;
        if (entry.prefix.complete && prefix.complete) return 0;
    }
    return Compare(*entry.record, key);
}

int TloxIndex::CompareField(const KeyField& item, const StoredRecord& a,
                            const StoredRecord& b) const {
    const TField& field = *item.field;
    const std::byte* blockA = a.block.data();
    const std::byte* blockB = b.block.data();
    bool nullA = field.IsNullIn(blockA);
    bool nullB = field.IsNullIn(blockB);
    if (nullA || nullB) return nullA == nullB ? 0 : (nullA ? -1 : 1);
    int result = 0;
    switch (field.DataType()) {
    case ftString: {
        if (localeId_ != kUserDefaultLocale && localeId_ != kSystemDefaultLocale)
            throw EMemTableError("Neplatné miesto [locale] ! " + std::to_string(localeId_));
        if (!collationChecked_) {
            if (!platform::CollationAvailable())
                throw EMemTableError("Neplatné miesto [locale] ! " + std::to_string(localeId_));
            collationChecked_ = true;
        }
        if (item.options & mtcoIgnoreCase) {
            result = platform::CompareTextIgnoreCase(StoredText(field, blockA),
                                                     StoredText(field, blockB));
            break;
        }
        // Collation keys made when the records were inserted compare as the texts do.
        const std::string* keyA = a.CollationKey(field.FieldNo());
        const std::string* keyB = b.CollationKey(field.FieldNo());
        if (keyA && keyB) {
            const int order = keyA->compare(*keyB);
            result = order < 0 ? -1 : (order > 0 ? 1 : 0);
        } else {
            result = platform::CompareTextCaseSensitive(StoredText(field, blockA),
                                                        StoredText(field, blockB));
        }
        break;
    }
    case ftInteger:
    case ftDate: {
        std::int32_t x = field.IntegerIn(blockA);
        std::int32_t y = field.IntegerIn(blockB);
        result = x < y ? -1 : (x > y ? 1 : 0);
        break;
    }
    default:
        break;
    }
    return item.options & mtcoDescending ? -result : result;
}

int TloxIndex::Compare(const StoredRecord& a, const StoredRecord& b) const {
    for (const KeyField& item : fields_) {
        int result = CompareField(item, a, b);
        if (result != 0) return result;
    }
    return 0;
}

bool TloxIndex::UsesHalving() const {
    return ordered_ && Count() > 20;
}

// Halving down to the first record that is not smaller than the key: the first of
// the equal records when there are any, else the place the key would go.
int TloxIndex::SearchByHalving(const StoredRecord& key, const KeyPrefix& prefix) const {
    return records_.FirstFailing(
        [&](const RecordEntry& entry) { return CompareEntry(entry, key, prefix) < 0; });
}

int TloxIndex::InsertPlace(const StoredRecord& record) const {
    if (records_.Empty()) return 0;
    if (isRowOrder_) return Count();
    collationChecked_ = false;
    const KeyPrefix prefix = MakePrefix(record);
    if (UsesHalving()) return SearchByHalving(record, prefix);
    for (int i = 0; i < Count(); ++i)
        if (CompareAt(i, record, prefix) >= 0) return i;
    return Count();
}

int TloxIndex::Find(const StoredRecord& record) const {
    if (records_.Empty()) return -1;
    collationChecked_ = false;
    int start = 0;
    if (isRowOrder_) {
        // Records arrive with rising unique numbers and keep their order here.
        const auto number = static_cast<std::uint64_t>(record.uniqueNumber);
        start = records_.FirstFailing(
            [&](const RecordEntry& entry) { return entry.prefix.high < number; });
    } else if (UsesHalving()) {
        // Equal keys stand newest first, so one halving on key and then unique
        // number, newest first, lands on the record itself.
        const KeyPrefix prefix = MakePrefix(record);
        const int guess = records_.FirstFailing([&](const RecordEntry& entry) {
            const int order = CompareEntry(entry, record, prefix);
            return order < 0 || (order == 0 && entry.record->uniqueNumber > record.uniqueNumber);
        });
        if (guess < Count() && records_[guess]->identity == record.identity) return guess;
        start = SearchByHalving(record, prefix);
    }
    if (start < Count() && records_[start]->identity == record.identity) return start;
    for (int i = start; i < Count(); ++i)
        if (records_[i]->identity == record.identity) return i;
    if (isRowOrder_)
        for (int i = 0; i < start; ++i)
            if (records_[i]->identity == record.identity) return i;
    return -1;
}

void TloxIndex::InsertAt(int place, StoredRecord* record) {
    ordered_ = true;
    const RecordEntry entry{record, MakePrefix(*record)};
    records_.Insert(place, entry);
    // The new record against its neighbours: a wrong place found by the search
    // would otherwise only show as a list in the wrong order. Arrivals go last;
    // a key goes before the records of an equal key, so the newest comes first.
    TLACSUB_ASSERT(!isRowOrder_ || place == Count() - 1);
    if constexpr (platform::kAssertionsEnabled) {
        if (isRowOrder_) return;
        const auto [before, after] = records_.Neighbours(place);
        TLACSUB_ASSERT(!before || CompareEntry(*before, *record, entry.prefix) < 0);
        TLACSUB_ASSERT(!after || CompareEntry(entry, *after->record, after->prefix) <= 0);
    }
}

void TloxIndex::RemoveAt(int position) {
    ordered_ = true;
    records_.Remove(position);
}

void TloxIndex::CheckInvariants() const {
    records_.CheckInvariants();
    collationChecked_ = false;
    for (int i = 0; i < Count(); ++i) {
        const RecordEntry& entry = records_.Entry(i);
        const KeyPrefix prefix = MakePrefix(*entry.record);
        TLACSUB_ASSERT(entry.prefix.valid == prefix.valid && entry.prefix.high == prefix.high &&
                       entry.prefix.low == prefix.low && entry.prefix.complete == prefix.complete);
        if (isRowOrder_ || i + 1 == Count()) continue;
        const RecordEntry& next = records_.Entry(i + 1);
        TLACSUB_ASSERT(CompareEntry(entry, *next.record, next.prefix) <= 0);
    }
}

void TloxIndex::RemoveAll() {
    if (Count() > 0) ordered_ = true;
    records_.Clear();
}

void TloxIndex::Build(std::vector<StoredRecord*> records) {
    if (!isRowOrder_)
        std::stable_sort(records.begin(), records.end(), [this](StoredRecord* a, StoredRecord* b) {
            collationChecked_ = false;
            return Compare(*a, *b) < 0;
        });
    std::vector<RecordEntry> entries;
    for (StoredRecord* record : records)
        entries.push_back({record, MakePrefix(*record)});
    records_.Assign(entries);
    ordered_ = true;
}

TloxIndex& TloxIndexes::Add(std::unique_ptr<TloxIndex> index) {
    items_.push_back(std::move(index));
    return *items_.back();
}

void TloxIndexes::DropNamed() {
    std::erase_if(items_,
                  [](const std::unique_ptr<TloxIndex>& index) { return !index->IsRowOrder(); });
}

TloxIndex* TloxIndexes::FindByName(std::string_view name) const {
    for (const auto& index : items_)
        if (platform::SameIgnoringAsciiCase(index->Name(), name)) return index.get();
    return nullptr;
}

TloxIndex* TloxIndexes::FindByFields(std::string_view fieldString) const {
    for (const auto& index : items_)
        if (platform::SameIgnoringAsciiCase(index->FieldString(), fieldString)) return index.get();
    return nullptr;
}

} // namespace memtable
