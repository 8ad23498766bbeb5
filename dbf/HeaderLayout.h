#pragma once
// Where everything lies in a dBase table's header and its field descriptors:
// the one place for the offsets that reading, writing back and creating a
// table share. Multi-byte numbers are little-endian.

#include <cstddef>
#include <cstdint>

namespace dbf {

// The fixed header that every level begins with.
inline constexpr std::size_t kFixedHeaderSize = 32;
inline constexpr std::size_t kVersionAt = 0;          // 1 byte: the level; bit 7 marks memo fields
inline constexpr std::size_t kLastUpdateAt = 1;       // 3 bytes: year - 1900, month, day
inline constexpr std::size_t kRecordCountAt = 4;      // 4 bytes
inline constexpr std::size_t kHeaderLengthAt = 8;     // 2 bytes: where the first record starts
inline constexpr std::size_t kRecordLengthAt = 10;    // 2 bytes, the deletion flag included
inline constexpr std::size_t kProductionIndexAt = 28; // 1 byte: non-zero when a .mdx belongs
inline constexpr std::size_t kLanguageDriverAt = 29;  // 1 byte: level 3 or 4, and the code page

// Level 7 names its language driver in the bytes after the fixed header.
inline constexpr std::size_t kDriverNameAt = 32;
inline constexpr std::size_t kDriverNameLength = 32;

inline constexpr std::uint8_t kMemoBit = 0x80;
inline constexpr std::uint8_t kDescriptorTerminator = 0x0D;
inline constexpr std::uint8_t kEndOfFileMark = 0x1A;
// The first byte of a record; anything else is a live one.
inline constexpr std::uint8_t kDeletedFlag = '*';
inline constexpr std::size_t kMaxFields = 4095;
inline constexpr std::size_t kMaxLength = 0xFFFF; // of the header and of a record

// Where a level's field descriptors begin and how one is laid out.
struct DescriptorLayout {
    std::size_t first;      // offset of the first descriptor in the header
    std::size_t size;       // bytes per descriptor
    std::size_t nameLength; // the NUL-padded name at the descriptor's start
    std::size_t typeAt;
    std::size_t widthAt;
    std::size_t decimalsAt; // for 'C' fields the high byte of the width
};

inline constexpr DescriptorLayout kDescriptors{32, 32, 11, 11, 16, 17};
inline constexpr DescriptorLayout kLevel7Descriptors{68, 48, 32, 32, 33, 34};

constexpr const DescriptorLayout& DescriptorLayoutOf(int level) {
    return level == 7 ? kLevel7Descriptors : kDescriptors;
}

} // namespace dbf
