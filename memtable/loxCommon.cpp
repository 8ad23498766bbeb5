#include "memtable/loxCommon.h"

#include <utility>

namespace memtable {

TloxCommon::TAdded TloxCommon::Add(TloxRecord& prepared) {
    std::lock_guard guard(lock_);
    std::unique_ptr<TloxRecord> record;
    if (spare_.empty()) {
        record = std::make_unique<TloxRecord>();
    } else {
        record = std::move(spare_.back());
        spare_.pop_back();
        record->Position = -1;
    }
    std::swap(record->Block, prepared.Block);
    std::swap(record->Keys, prepared.Keys);
    bool newIdentity = freeIdentities_.empty();
    if (newIdentity) {
        record->Identity = static_cast<int>(slots_.size());
        slots_.emplace_back();
    } else {
        record->Identity = freeIdentities_.back();
        freeIdentities_.pop_back();
    }
    record->UniqueNumber = nextUniqueNumber_++;
    TloxRecord* stored = record.get();
    slots_[stored->Identity] = std::move(record);
    ++recordCount_;
    return {stored, newIdentity};
}

void TloxCommon::Remove(const TloxRecord* record) {
    std::lock_guard guard(lock_);
    int identity = record->Identity;
    if (identity < 0 || identity >= SlotCount() || slots_[identity].get() != record) return;
    spare_.push_back(std::move(slots_[identity]));
    freeIdentities_.push_back(identity);
    --recordCount_;
}

void TloxCommon::Clear() {
    std::lock_guard guard(lock_);
    slots_.clear();
    spare_.clear();
    freeIdentities_.clear();
    recordCount_ = 0;
}

} // namespace memtable
