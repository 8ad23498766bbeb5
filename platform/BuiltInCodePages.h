#pragma once
// DOS code pages that Czech, Slovak and Polish programs wrote and that ICU does
// not convert, kept here as tables: Kamenický (KEYBCS2) and Mazovia. Bytes
// 0x00-0x7F are ASCII in both; only the upper half needs a table.

#include <vector>

namespace platform {

// The characters of bytes 0x80-0xFF (128 of them) of the built-in page a number
// names, or nullptr when it names none. Kamenický answers to 895 and 867,
// Mazovia to 620, 667, 790 and 991: the numbers DOS software used for them.
const char16_t* BuiltInUpperHalf(int codePage);

// Every number that names a built-in page, ascending.
const std::vector<int>& BuiltInCodePageNumbers();

// The number a page is listed under where several name it (895 for 867, 620
// for 667, 790 and 991); any other number is its own.
int ListedCodePageNumber(int codePage);

} // namespace platform
