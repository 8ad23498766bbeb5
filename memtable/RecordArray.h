#pragma once
// The array of record references behind one order, kept in blocks of a few
// hundred with the first position of every block: an insert or delete moves at
// most one block's references and counts up the block starts after it, so it
// costs the same at the front, in the middle and at the end of a big table.

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace memtable {

struct TloxRecord;

class RecordArray {
  public:
    int Count() const { return starts_.back(); }
    bool Empty() const { return Count() == 0; }
    TloxRecord* operator[](int position) const {
        const std::size_t block = BlockOf(position);
        return blocks_[block][static_cast<std::size_t>(position - starts_[block])];
    }

    void Insert(int position, TloxRecord* record) {
        if (blocks_.empty()) {
            blocks_.emplace_back();
            blocks_.back().reserve(kBlock);
            starts_.push_back(0);
        }
        // The end of the array belongs to the last block.
        const std::size_t block = position == Count() ? blocks_.size() - 1 : BlockOf(position);
        std::vector<TloxRecord*>& items = blocks_[block];
        items.insert(items.begin() + (position - starts_[block]), record);
        if (items.size() > kBlock) {
            std::vector<TloxRecord*> upper(items.begin() + kBlock / 2, items.end());
            upper.reserve(kBlock);
            items.resize(kBlock / 2);
            blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1,
                           std::move(upper));
            starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(block) + 1,
                           starts_[block] + static_cast<int>(kBlock / 2));
            AddToStartsAfter(block + 1, 1);
        } else {
            AddToStartsAfter(block, 1);
        }
    }

    void Remove(int position) {
        const std::size_t block = BlockOf(position);
        std::vector<TloxRecord*>& items = blocks_[block];
        items.erase(items.begin() + (position - starts_[block]));
        AddToStartsAfter(block, -1);
        if (items.empty() && blocks_.size() > 1) {
            blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(block));
            starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(block));
        }
    }

    void Clear() {
        blocks_.clear();
        starts_.assign(1, 0);
    }

    // Replaces the content by these records, in this order.
    void Assign(const std::vector<TloxRecord*>& records) {
        Clear();
        for (int i = 0; i < static_cast<int>(records.size()); ++i)
            Insert(i, records[static_cast<std::size_t>(i)]);
    }

  private:
    static constexpr std::size_t kBlock = 512;

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

    std::vector<std::vector<TloxRecord*>> blocks_;
    // starts_[i]: position of block i's first record; the last entry is the count.
    std::vector<int> starts_ = std::vector<int>(1, 0);
};

} // namespace memtable
