#include "memtable/loxIndex.h"

#include "platform/Locale.h"

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

int CompareField(const TField& field, TloxMemTableCompareOptions options, const std::byte* a,
                 const std::byte* b, int localeId) {
    bool nullA = field.IsNullIn(a);
    bool nullB = field.IsNullIn(b);
    if (nullA || nullB) return nullA == nullB ? 0 : (nullA ? -1 : 1);
    int result = 0;
    switch (field.DataType()) {
    case ftString:
        if ((localeId != kUserDefaultLocale && localeId != kSystemDefaultLocale) ||
            !platform::CollationAvailable())
            throw EMemTableError("Neplatné miesto [locale] ! " + std::to_string(localeId));
        result =
            options & mtcoIgnoreCase
                ? platform::CompareTextIgnoreCase(StoredText(field, a), StoredText(field, b))
                : platform::CompareTextCaseSensitive(StoredText(field, a), StoredText(field, b));
        break;
    case ftInteger:
    case ftDate: {
        std::int32_t x = field.IntegerIn(a);
        std::int32_t y = field.IntegerIn(b);
        result = x < y ? -1 : (x > y ? 1 : 0);
        break;
    }
    default:
        break;
    }
    return options & mtcoDescending ? -result : result;
}

bool SameInCapitals(std::string_view a, std::string_view b) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return upper(x) == upper(y); });
}

} // namespace

TloxIndex::TloxIndex(std::string name, std::string fieldString, TloxFieldList fields,
                     TloxMemTableCompareOptions options, bool isRowOrder, const int& localeId)
    : FName(std::move(name)), FFieldString(std::move(fieldString)), FFields(std::move(fields)),
      FOptions(options), FIsRowOrder(isRowOrder), FLocaleId(localeId) {}

int TloxIndex::Compare(const std::byte* a, const std::byte* b) const {
    for (const TloxFieldListItem& item : FFields) {
        int result = CompareField(*item.Field, item.Options, a, b, FLocaleId);
        if (result != 0) return result;
    }
    return 0;
}

bool TloxIndex::UsesHalving() const {
    return FOrdered && Count() > 20;
}

int TloxIndex::SearchByHalving(const std::byte* key, bool& equalFound) const {
    int low = 0;
    int high = Count() - 1;
    equalFound = false;
    while (low <= high) {
        int middle = (low + high) / 2;
        int result = Compare(key, FRecords[middle]->Block.data());
        if (result < 0) {
            high = middle - 1;
        } else if (result > 0) {
            low = middle + 1;
        } else {
            while (middle > 0 && Compare(FRecords[middle - 1]->Block.data(), key) == 0)
                --middle;
            equalFound = true;
            return middle;
        }
    }
    return low;
}

int TloxIndex::InsertPlace(const TloxRecord& record) const {
    if (FRecords.empty()) return 0;
    if (FIsRowOrder) return Count();
    const std::byte* key = record.Block.data();
    if (UsesHalving()) {
        bool equalFound;
        return SearchByHalving(key, equalFound);
    }
    for (int i = 0; i < Count(); ++i)
        if (Compare(FRecords[i]->Block.data(), key) >= 0) return i;
    return Count();
}

int TloxIndex::Find(const TloxRecord& record) const {
    if (FRecords.empty()) return -1;
    int start = 0;
    if (!FIsRowOrder && UsesHalving()) {
        bool equalFound;
        start = SearchByHalving(record.Block.data(), equalFound);
    }
    for (int i = start; i < Count(); ++i)
        if (FRecords[i]->Identity == record.Identity) return i;
    return -1;
}

void TloxIndex::InsertAt(int place, TloxRecord* record) {
    FOrdered = true;
    FRecords.insert(FRecords.begin() + place, record);
}

void TloxIndex::RemoveAt(int position) {
    FOrdered = true;
    FRecords.erase(FRecords.begin() + position);
}

void TloxIndex::Build(std::vector<TloxRecord*> records) {
    if (!FIsRowOrder)
        std::stable_sort(records.begin(), records.end(), [this](TloxRecord* a, TloxRecord* b) {
            return Compare(a->Block.data(), b->Block.data()) < 0;
        });
    FRecords = std::move(records);
    FOrdered = true;
}

TloxIndex& TloxIndexes::Add(std::unique_ptr<TloxIndex> index) {
    FItems.push_back(std::move(index));
    return *FItems.back();
}

void TloxIndexes::DropNamed() {
    std::erase_if(FItems,
                  [](const std::unique_ptr<TloxIndex>& index) { return !index->IsRowOrder(); });
}

TloxIndex* TloxIndexes::FindByName(std::string_view name) const {
    for (const auto& index : FItems)
        if (SameInCapitals(index->Name(), name)) return index.get();
    return nullptr;
}

TloxIndex* TloxIndexes::FindByFields(std::string_view fieldString) const {
    for (const auto& index : FItems)
        if (SameInCapitals(index->FieldString(), fieldString)) return index.get();
    return nullptr;
}

} // namespace memtable
