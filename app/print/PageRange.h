#pragma once
// The range of pages to print, read from the two page fields as the user typed them.

#include <string_view>

namespace print {

struct PageRange {
    int first = 1;
    int last = 9999;

    bool Contains(int page) const { return page >= first && page <= last; }
};

// Blanks at both ends are ignored. A field that does not hold a decimal integer
// (empty, a blank inside the digits, too large) gives 1 for the first page and
// 9999 for the last. A last page below the first is raised to the first.
PageRange ReadPageRange(std::string_view firstPageText, std::string_view lastPageText);

} // namespace print
