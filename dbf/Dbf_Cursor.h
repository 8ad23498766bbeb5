#pragma once
// The file-order cursor: the physical number of the current record, 0 before
// the first record and count + 1 after the last.

#include <cstdint>

namespace dbf {

class TDbfCursor {
  public:
    void First() { physicalRecNo_ = 0; }
    // Steps one record on; false when that passes the last of `count` records.
    bool Next(std::uint64_t count) {
        physicalRecNo_ = physicalRecNo_ > count ? count + 1 : physicalRecNo_ + 1;
        return physicalRecNo_ <= count;
    }
    std::uint64_t PhysicalRecNo() const { return physicalRecNo_; }

  private:
    std::uint64_t physicalRecNo_ = 0;
};

} // namespace dbf
