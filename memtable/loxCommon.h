#pragma once
// The record store behind a memory table: fixed-size blocks in a slot table.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace memtable {

struct TloxRecord {
    int Identity = -1;             // unique among the records alive at one moment
    std::int64_t UniqueNumber = 0; // never repeats while the store lives
    int Position = -1;             // last known place in the active order
    std::vector<std::byte> Block;  // presence byte plus value, per field
    // Collation keys of the text fields that orders compare, by field number - 1,
    // made once when the record is stored so a search compares bytes only. A key
    // starts with a 1 byte; an empty string stands for no key.
    std::vector<std::string> Keys;

    const std::string* CollationKey(int fieldNo) const {
        const std::size_t i = static_cast<std::size_t>(fieldNo - 1);
        return i < Keys.size() && !Keys[i].empty() ? &Keys[i] : nullptr;
    }
};

class TloxCommon {
  public:
    explicit TloxCommon(int attachMaxCount = 1) : attachMaxCount_(attachMaxCount) {}
    TloxCommon(const TloxCommon&) = delete;
    TloxCommon& operator=(const TloxCommon&) = delete;

    // Guards the slots and every order of the tables the store serves.
    std::recursive_mutex& Lock() { return lock_; }

    struct TAdded {
        TloxRecord* Record;
        bool NewIdentity; // took a never-used identity rather than a freed one
    };
    // Stores a prepared record's block and keys: the identity freed last, or the
    // next never-used one. `prepared` gets back buffers to fill next time.
    TAdded Add(TloxRecord& prepared);
    // Empties the record's slot and frees its identity for the next record.
    void Remove(const TloxRecord* record);
    void Clear();

    int RecordCount() const { return recordCount_; }
    int SlotCount() const { return static_cast<int>(slots_.size()); }

    std::int64_t NextUniqueNumber() const { return nextUniqueNumber_; }
    // Continues numbering from a given value; records keep their numbers.
    void SetNextUniqueNumber(std::int64_t next) { nextUniqueNumber_ = next; }

    int AttachMaxCount() const { return attachMaxCount_; }

  private:
    std::recursive_mutex lock_;
    std::vector<std::unique_ptr<TloxRecord>> slots_;
    std::vector<int> freeIdentities_; // a stack: the last freed is reused first
    // Records removed, kept with their buffers for the next ones: emptying and
    // refilling a table then allocates nothing.
    std::vector<std::unique_ptr<TloxRecord>> spare_;
    std::int64_t nextUniqueNumber_ = 0;
    int recordCount_ = 0;
    int attachMaxCount_;
};

} // namespace memtable
