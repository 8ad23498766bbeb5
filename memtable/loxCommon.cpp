#include "memtable/loxCommon.h"

#include <utility>

namespace memtable {

TloxCommon::TAdded TloxCommon::Add(TloxRecord prepared) {
    std::lock_guard guard(FLock);
    auto record = std::make_unique<TloxRecord>();
    record->Block = std::move(prepared.Block);
    record->Keys = std::move(prepared.Keys);
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
    FSlots[identity].reset();
    FFreeIdentities.push_back(identity);
    --FRecordCount;
}

void TloxCommon::Clear() {
    std::lock_guard guard(FLock);
    FSlots.clear();
    FFreeIdentities.clear();
    FRecordCount = 0;
}

} // namespace memtable
