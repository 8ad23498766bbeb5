#include "memtable/loxFields.h"

#include "memtable/loxDisplay.h"
#include "memtable/loxMemTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace memtable {
namespace {

// Date-times beyond 31 December 9999 or before 1 January of year 1 have no calendar date here.
constexpr std::int32_t kLastDayNumber = 3652059;

std::string FieldMessage(const char* before, const std::string& name, const char* after) {
    return std::string(before) + name + after;
}

} // namespace

TField::TField(TloxCustomMemTable& table, TloxFieldSpec definition, int fieldNo)
    : table_(table), spec_(std::move(definition)), fieldNo_(fieldNo) {}

const std::string& TField::DisplayLabel() const {
    return spec_.DisplayLabel.empty() ? spec_.Name : spec_.DisplayLabel;
}

int TField::DisplayWidth() const {
    if (spec_.DisplayWidth > 0) return spec_.DisplayWidth;
    switch (spec_.Type) {
    case ftString:
    case ftMemo:
        return spec_.Size;
    case ftDate:
        return 10;
    default:
        return 11; // a sign and ten digits
    }
}

int TField::StoredWidth() const {
    switch (spec_.Type) {
    case ftString:
    case ftMemo:
        return spec_.Size + 1; // room for the closing NUL
    case ftInteger:
        return 4;
    case ftDate:
        return 8; // the day number in the first four bytes
    default:
        return 0; // not storable
    }
}

bool TField::CanBeKey() const {
    return spec_.Type == ftString || spec_.Type == ftInteger || spec_.Type == ftDate;
}

bool TField::IsNullIn(const std::byte* block) const {
    return block[offset_] != kFieldHasValue;
}

std::string TField::TextIn(const std::byte* block) const {
    if (IsNullIn(block)) return {};
    switch (spec_.Type) {
    case ftString:
    case ftMemo: {
        const char* text = reinterpret_cast<const char*>(block + offset_ + 1);
        return std::string(text, strnlen(text, static_cast<size_t>(spec_.Size)));
    }
    case ftInteger:
        return std::to_string(IntegerIn(block));
    case ftDate:
        return DayNumberText(DayNumberIn(block));
    default:
        return {};
    }
}

std::int32_t TField::IntegerIn(const std::byte* block) const {
    if (IsNullIn(block) || (spec_.Type != ftInteger && spec_.Type != ftDate)) return 0;
    std::int32_t value;
    std::memcpy(&value, block + offset_ + 1, sizeof value);
    return value;
}

std::int32_t TField::DayNumberIn(const std::byte* block) const {
    return spec_.Type == ftDate ? IntegerIn(block) : 0;
}

void TField::StoreIn(std::byte* block, const TloxValue& value) const {
    std::byte* data = block + offset_ + 1;
    auto storeInteger = [&](std::int32_t number) {
        std::memcpy(data, &number, sizeof number);
        block[offset_] = kFieldHasValue;
    };
    switch (spec_.Type) {
    case ftString:
    case ftMemo: {
        auto* text = std::get_if<std::string>(&value);
        if (!text) break;
        // Longer texts keep their first Size characters, silently.
        std::memset(data, 0, static_cast<size_t>(spec_.Size) + 1);
        std::memcpy(data, text->data(), std::min(text->size(), static_cast<size_t>(spec_.Size)));
        block[offset_] = kFieldHasValue;
        return;
    }
    case ftInteger:
        if (auto* number = std::get_if<std::int32_t>(&value)) return storeInteger(*number);
        break;
    case ftDate: {
        auto* when = std::get_if<TDateTime>(&value);
        if (!when) break;
        // Only the date counts; a time of day before 1899 still belongs to the truncated day.
        double days = std::trunc(when->Days);
        if (!std::isfinite(days) || days < 1.0 - kDayNumberOf30Dec1899 ||
            days > double(kLastDayNumber - kDayNumberOf30Dec1899))
            throw EDatabaseError(table_.Prefixed(
                FieldMessage("Invalid date-time value for field '", spec_.Name, "'")));
        storeInteger(static_cast<std::int32_t>(days) + kDayNumberOf30Dec1899);
        return;
    }
    default:
        break;
    }
    throw EDatabaseError(
        table_.Prefixed(FieldMessage("Field '", spec_.Name, "' cannot take a value of this kind")));
}

void TField::AssignValue(const TloxValue& value) {
    std::byte* block = table_.InsertBlock();
    if (table_.State() != dsInsert || !block)
        throw EDatabaseError(table_.Prefixed("Dátový súbor nie v režime editácie !"));
    StoreIn(block, value);
}

std::string TField::ValueText() const {
    std::lock_guard guard(table_.Store().Lock());
    const std::byte* block = table_.CurrentBlock();
    return block ? TextIn(block) : std::string();
}

std::int32_t TField::ValueInteger() const {
    std::lock_guard guard(table_.Store().Lock());
    const std::byte* block = table_.CurrentBlock();
    return block && spec_.Type == ftInteger ? IntegerIn(block) : 0;
}

std::int32_t TField::ValueDayNumber() const {
    std::lock_guard guard(table_.Store().Lock());
    const std::byte* block = table_.CurrentBlock();
    return block ? DayNumberIn(block) : 0;
}

bool TField::IsNull() const {
    std::lock_guard guard(table_.Store().Lock());
    const std::byte* block = table_.CurrentBlock();
    return !block || IsNullIn(block);
}

} // namespace memtable
