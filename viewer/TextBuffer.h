#pragma once
// A growable byte buffer that never fills what it allocates: the line store reads
// a file straight into it, so a load touches each byte once. Large blocks grow and
// shrink with realloc, which the C library does by remapping pages, not copying.

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>
#include <utility>

class TextBuffer {
  public:
    TextBuffer() = default;
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;
    TextBuffer(TextBuffer&& other) noexcept { Swap(other); }
    TextBuffer& operator=(TextBuffer&& other) noexcept {
        TextBuffer(std::move(other)).Swap(*this);
        return *this;
    }
    ~TextBuffer() { std::free(data_); }

    char* Data() { return data_; }
    const char* Data() const { return data_; }
    std::size_t Size() const { return size_; }
    std::size_t Capacity() const { return capacity_; }
    std::string_view View() const { return {data_, size_}; }

    // At least `capacity` bytes allocated; the new bytes are left as they come.
    void Reserve(std::size_t capacity) {
        if (capacity <= capacity_) return;
        Reallocate(capacity);
    }
    // Room for `more` bytes after the end, growing by a quarter at least.
    void ReserveMore(std::size_t more) {
        if (more <= capacity_ - size_) return;
        Reallocate(std::max(size_ + more, capacity_ + capacity_ / 4));
    }
    // Sets the size within the capacity; bytes written past the old size count now.
    void SetSize(std::size_t size) { size_ = size; }
    void Append(std::string_view bytes) {
        ReserveMore(bytes.size());
        if (!bytes.empty()) std::char_traits<char>::copy(data_ + size_, bytes.data(), bytes.size());
        size_ += bytes.size();
    }
    void ShrinkToFit() {
        if (size_ == capacity_) return;
        if (size_ == 0) {
            Release();
            return;
        }
        if (char* smaller = static_cast<char*>(std::realloc(data_, size_))) {
            data_ = smaller;
            capacity_ = size_;
        }
    }
    void Release() {
        std::free(data_);
        data_ = nullptr;
        size_ = capacity_ = 0;
    }

  private:
    void Reallocate(std::size_t capacity) {
        char* bigger = static_cast<char*>(std::realloc(data_, capacity));
        if (!bigger) throw std::bad_alloc();
        data_ = bigger;
        capacity_ = capacity;
    }
    void Swap(TextBuffer& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};
