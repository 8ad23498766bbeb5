#include "memtable/loxCommon.h"

#include <utility>

namespace memtable {

TloxCommon::TAdded TloxCommon::Add(TloxRecord& prepared) {
    std::lock_guard guard(FLock);
    std::unique_ptr<TloxRecord> record;
    if (FSpare.empty()) {
        record = std::make_unique<TloxRecord>();
    } else {
        record = std::move(FSpare.back());
        FSpare.pop_back();
        record->Position = -1;
    }
    std::swap(record->Block, prepared.Block);
    std::swap(record->Keys, prepared.Keys);
    bool newIdentity = FFreeIdentities.empty();
    if (newIdentity) {
        record->Identity = static_cast<int>(FSlots.size());
        FSlots.emplace_back();
    } else {
        record->Identity = FFreeIdentities.back();
        FFreeIdentities.pop_back();
    }
    record->UniqueNumber = FNextUniqueNumber++;
    TloxRecord* stored = record.get();
    FSlots[stored->Identity] = std::move(record);
    ++FRecordCount;
    return {stored, newIdentity};
}

void TloxCommon::Remove(const TloxRecord* record) {
    std::lock_guard guard(FLock);
    int identity = record->Identity;
    if (identity < 0 || identity >= SlotCount() || FSlots[identity].get() != record) return;
    FSpare.push_back(std::move(FSlots[identity]));
    FFreeIdentities.push_back(identity);
    --FRecordCount;
}

void TloxCommon::Clear() {
    std::lock_guard guard(FLock);
    FSlots.clear();
    FSpare.clear();
    FFreeIdentities.clear();
    FRecordCount = 0;
}

} // namespace memtable
