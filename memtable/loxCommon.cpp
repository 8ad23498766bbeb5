#include "memtable/loxCommon.h"

#include <utility>

namespace memtable {

TloxCommon::AddedRecord TloxCommon::Add(StoredRecord& prepared) {
    std::lock_guard guard(lock_);
    std::unique_ptr<StoredRecord> record;
    if (spare_.empty()) {
        record = std::make_unique<StoredRecord>();
    } else {
        record = std::move(spare_.back());
        spare_.pop_back();
        record->position = -1;
    }
    std::swap(record->block, prepared.block);
    std::swap(record->keys, prepared.keys);
    bool newIdentity = freeIdentities_.empty();
    if (newIdentity) {
        record->identity = static_cast<int>(slots_.size());
        slots_.emplace_back();
    } else {
        record->identity = freeIdentities_.back();
        freeIdentities_.pop_back();
    }
    record->uniqueNumber = nextUniqueNumber_++;
    StoredRecord* stored = record.get();
    slots_[stored->identity] = std::move(record);
    ++recordCount_;
    return {stored, newIdentity};
}

void TloxCommon::Remove(const StoredRecord* record) {
    std::lock_guard guard(lock_);
    int identity = record->identity;
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
