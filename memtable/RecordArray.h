#pragma once
// The array of record references behind one order, kept in blocks of a few
// hundred with the first position of every block: an insert or delete moves at
// most half a block's references and counts up the block starts after it, so
// it costs the same at the front, in the middle and at the end of a big table.

#include "platform/Assert.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

namespace memtable {

struct StoredRecord;

// The first bytes of a record's key under one order, as two numbers that compare
// the way the keys do as long as they differ; only when both are valid. A complete
// prefix holds the whole key, so two complete prefixes that are equal mean equal keys.
struct KeyPrefix {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    bool valid = false;
    bool complete = false;
};

struct RecordEntry {
    StoredRecord* record = nullptr;
    KeyPrefix prefix;
};

// One block of entries. Deleting near its front only advances where it starts,
// so emptying an order from the first record on moves nothing.
class RecordBlock {
  public:
    std::size_t Size() const { return items_.size() - head_; }
    const RecordEntry& operator[](std::size_t i) const { return items_[head_ + i]; }

    void Insert(std::size_t i, const RecordEntry& entry) {
        if (head_ > 0 && i < Size() / 2) {
            std::move(At(0), At(i), At(0) - 1);
            --head_;
            items_[head_ + i] = entry;
            return;
        }
        if (head_ > items_.size() / 2) {
            items_.erase(items_.begin(), At(0));
            head_ = 0;
        }
        items_.insert(At(i), entry);
    }
    void Erase(std::size_t i) {
        if (i < Size() / 2) {
            std::move_backward(At(0), At(i), At(i) + 1);
            ++head_;
        } else {
            items_.erase(At(i));
        }
        if (Size() == 0) {
            items_.clear();
            head_ = 0;
        }
    }
    // Leaves the lower half here and returns the upper half.
    RecordBlock SplitUpper() {
        const std::size_t half = Size() / 2;
        RecordBlock upper;
        upper.items_.assign(At(half), items_.end());
        items_.erase(At(half), items_.end());
        return upper;
    }

  private:
    std::vector<RecordEntry>::iterator At(std::size_t i) {
        return items_.begin() + static_cast<std::ptrdiff_t>(head_ + i);
    }

    std::vector<RecordEntry> items_;
    std::size_t head_ = 0; // entries before it are gone
};

class RecordArray {
  public:
    int Count() const { return starts_.back(); }
    bool Empty() const { return Count() == 0; }
    StoredRecord* operator[](int position) const { return Entry(position).record; }
    const RecordEntry& Entry(int position) const {
        TLACSUB_ASSERT(position >= 0 && position < Count());
        const std::size_t block = BlockOf(position);
        return blocks_[block][static_cast<std::size_t>(position - starts_[block])];
    }

    // The entries right before and right after a position, nullptr past either
    // end: one block lookup for both.
    std::pair<const RecordEntry*, const RecordEntry*> Neighbours(int position) const {
        TLACSUB_ASSERT(position >= 0 && position < Count());
        const std::size_t block = BlockOf(position);
        const RecordBlock& items = blocks_[block];
        const std::size_t at = static_cast<std::size_t>(position - starts_[block]);
        const RecordEntry* before = at > 0      ? &items[at - 1]
                                    : block > 0 ? &blocks_[block - 1][blocks_[block - 1].Size() - 1]
                                                : nullptr;
        const RecordEntry* after = at + 1 < items.Size()        ? &items[at + 1]
                                   : block + 1 < blocks_.size() ? &blocks_[block + 1][0]
                                                                : nullptr;
        return {before, after};
    }

    void Insert(int position, const RecordEntry& record) {
        TLACSUB_ASSERT(position >= 0 && position <= Count());
        if (blocks_.empty()) {
            blocks_.emplace_back();
            firsts_.emplace_back();
            starts_.push_back(0);
        }
        // The end of the array belongs to the last block.
        const std::size_t block = position == Count() ? blocks_.size() - 1 : BlockOf(position);
        RecordBlock& items = blocks_[block];
        items.Insert(static_cast<std::size_t>(position - starts_[block]), record);
        firsts_[block] = items[0];
        if (items.Size() > kBlock) {
            RecordBlock upper = items.SplitUpper();
            const int lower = static_cast<int>(items.Size());
            const RecordEntry upperFirst = upper[0];
            blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1,
                           std::move(upper));
            firsts_.insert(firsts_.begin() + static_cast<std::ptrdiff_t>(block) + 1, upperFirst);
            starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(block) + 1,
                           starts_[block] + lower);
            AddToStartsAfter(block + 1, 1);
            CheckBlock(block + 1);
        } else {
            AddToStartsAfter(block, 1);
        }
        CheckBlock(block);
    }

    void Remove(int position) {
        TLACSUB_ASSERT(position >= 0 && position < Count());
        const std::size_t block = BlockOf(position);
        RecordBlock& items = blocks_[block];
        items.Erase(static_cast<std::size_t>(position - starts_[block]));
        AddToStartsAfter(block, -1);
        if (items.Size() > 0) {
            firsts_[block] = items[0];
            CheckBlock(block);
        } else if (blocks_.size() > 1) {
            blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(block));
            firsts_.erase(firsts_.begin() + static_cast<std::ptrdiff_t>(block));
            starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(block));
        }
    }

    void Clear() {
        blocks_.clear();
        firsts_.clear();
        starts_.assign(1, 0);
    }

    // The first position whose entry fails `holds`, for a condition that holds on
    // a leading run of entries and nowhere after it. The blocks' first entries
    // lie side by side, so the search reads one block besides them.
    template <typename Condition> int FirstFailing(Condition holds) const {
        std::size_t low = 0;
        std::size_t high = firsts_.size();
        while (low < high) {
            const std::size_t middle = low + (high - low) / 2;
            if (holds(firsts_[middle]))
                low = middle + 1;
            else
                high = middle;
        }
        if (low == 0) return 0;
        const std::size_t block = low - 1;
        const RecordBlock& items = blocks_[block];
        std::size_t first = 1;
        std::size_t last = items.Size();
        while (first < last) {
            const std::size_t middle = first + (last - first) / 2;
            if (holds(items[middle]))
                first = middle + 1;
            else
                last = middle;
        }
        return starts_[block] + static_cast<int>(first);
    }

    // Replaces the content by these entries, in this order.
    void Assign(const std::vector<RecordEntry>& records) {
        Clear();
        for (int i = 0; i < static_cast<int>(records.size()); ++i)
            Insert(i, records[static_cast<std::size_t>(i)]);
    }

    // Every block against its start, its first entry and its size, the starts
    // against the count. Walks all blocks: for tests and checks, not every change.
    void CheckInvariants() const {
        TLACSUB_ASSERT(starts_.size() == blocks_.size() + 1 && firsts_.size() == blocks_.size());
        TLACSUB_ASSERT(starts_.front() == 0);
        for (std::size_t block = 0; block < blocks_.size(); ++block) {
            // Only a lone block may be left empty, by removing its last entry.
            TLACSUB_ASSERT(blocks_[block].Size() > 0 || blocks_.size() == 1);
            CheckBlock(block);
        }
    }

  private:
    static constexpr std::size_t kBlock = 256;

    // A block just changed: its size agrees with the starts around it, it is
    // not over-full, and its first entry is the one the search reads.
    void CheckBlock(std::size_t block) const {
        const RecordBlock& items = blocks_[block];
        TLACSUB_ASSERT(static_cast<std::size_t>(starts_[block + 1] - starts_[block]) ==
                       items.Size());
        TLACSUB_ASSERT(items.Size() <= kBlock);
        TLACSUB_ASSERT(items.Size() == 0 || firsts_[block].record == items[0].record);
    }

    // The block holding a position of 0 .. Count() - 1.
    std::size_t BlockOf(int position) const {
        // starts_ has one entry per block and the total count last.
        auto after = std::upper_bound(starts_.begin(), starts_.end() - 1, position);
        return static_cast<std::size_t>(std::distance(starts_.begin(), after)) - 1;
    }
    // The blocks after `block` start `by` positions later; the total changes too.
    void AddToStartsAfter(std::size_t block, int by) {
        for (std::size_t i = block + 1; i < starts_.size(); ++i)
            starts_[i] += by;
    }

    std::vector<RecordBlock> blocks_;
    std::vector<RecordEntry> firsts_; // each block's first entry
    // starts_[i]: position of block i's first record; the last entry is the count.
    std::vector<int> starts_ = std::vector<int>(1, 0);
};

} // namespace memtable
