#include "app/print/PageRange.h"

#include <charconv>
#include <optional>

namespace print {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    // Control characters count as blanks too, the way the edit fields' own trimming treats them.
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

std::optional<int> ReadInteger(std::string_view text) {
    text = TrimBlanks(text);
    // from_chars takes a minus sign but not a plus sign; a sign alone or twice is no number.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace

PageRange ReadPageRange(std::string_view firstPageText, std::string_view lastPageText) {
    PageRange range;
    range.first = ReadInteger(firstPageText).value_or(1);
    range.last = ReadInteger(lastPageText).value_or(9999);
    if (range.last < range.first) range.last = range.first;
    return range;
}

} // namespace print
