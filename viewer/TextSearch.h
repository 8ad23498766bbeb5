#pragma once
// Finding typed text in a print file as the viewer shows it. The text is
// Unicode; the lines are OEM bytes. Each byte shows as one character, so the
// typed text becomes, per character, the set of bytes that show as it, and the
// search is a plain scan of the line store's bytes. No Qt here, so it is tested
// and measured without a display.

#include "viewer/MemoExStrings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// A place in the text: a line and a byte column in it, both 0-based.
struct TextPoint {
    int line = 0;
    int col = 0;
    bool operator==(const TextPoint&) const = default;
};

// A match: where it begins and how many bytes (= characters) it covers.
struct TextMatch {
    TextPoint begin;
    int length = 0;
    bool operator==(const TextMatch&) const = default;
};

enum class SearchDirection { Forward, Backward };

struct FindResult {
    std::optional<TextMatch> match;
    // The search passed the end (or the start) of the text and went on from the other end.
    bool wrapped = false;
};

class TextSearch {
  public:
    // `needle` as typed. Without `matchCase`, letters match whatever their case
    // by the user's locale; accents always count. `display` is the character
    // each byte shows as (platform::OemDisplayTable()).
    TextSearch(std::u16string_view needle, bool matchCase, const char16_t* display);

    // Nothing to look for.
    bool Empty() const { return sets_.empty(); }
    int Length() const { return static_cast<int>(sets_.size()); }

    // The first match that begins at or after `from` and before `limit`.
    std::optional<TextMatch> FindForward(const TMemoExStrings& lines, TextPoint from,
                                         TextPoint limit) const;
    // The last match that begins before `from` and at or after `limit`.
    std::optional<TextMatch> FindBackward(const TMemoExStrings& lines, TextPoint from,
                                          TextPoint limit) const;

    // Forward from `from` to the end, then from the start; backward from
    // `from` to the start, then from the end. Every match is reachable.
    FindResult Find(const TMemoExStrings& lines, TextPoint from, SearchDirection direction) const;

  private:
    using ByteSet = std::array<bool, 256>;
    bool MatchesAt(std::string_view line, std::size_t at) const;
    // First match in `line` beginning in [first, last), or -1.
    std::ptrdiff_t FirstIn(std::string_view line, std::size_t first, std::size_t last) const;
    // Last match in `line` beginning in [first, last), or -1.
    std::ptrdiff_t LastIn(std::string_view line, std::size_t first, std::size_t last) const;

    std::vector<ByteSet> sets_;
    bool impossible_ = false; // some character shows as no byte at all
    // The one byte the first character can be, when there is just one: found with memchr.
    std::optional<unsigned char> firstOnly_;
};
