#pragma once
// Finding typed text in a print file as the viewer shows it. The text is
// Unicode; the lines are OEM bytes. Each byte shows as one character, so the
// typed text becomes a sequence of byte classes (ByteClassMatcher) and the
// search runs over the line store's bytes, many lines at a time where they lie
// next to each other. No Qt here, so it is tested and measured without a display.

#include "viewer/ByteClassMatcher.h"
#include "viewer/MemoExStrings.h"

#include <atomic>
#include <optional>
#include <string_view>

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
    // The search was stopped before it found anything or reached its end.
    bool stopped = false;
};

class TextSearch {
  public:
    // `needle` as typed. Without `matchCase`, letters match whatever their case
    // by the user's locale; accents always count. `display` is the character
    // each byte shows as (platform::OemDisplayTable()).
    TextSearch(std::u16string_view needle, bool matchCase, const char16_t* display);

    // Nothing to look for.
    bool Empty() const { return matcher_.Empty(); }
    int Length() const { return static_cast<int>(matcher_.Length()); }

    // The first match that begins at or after `from` and before `limit`. With
    // `stop` set while it runs, the search ends early and says so.
    FindResult FindForward(const TMemoExStrings& lines, TextPoint from, TextPoint limit,
                           const std::atomic<bool>* stop = nullptr) const;
    // The last match that begins before `from` and at or after `limit`.
    FindResult FindBackward(const TMemoExStrings& lines, TextPoint from, TextPoint limit,
                            const std::atomic<bool>* stop = nullptr) const;

    // Forward from `from` to the end, then from the start; backward from
    // `from` to the start, then from the end. Every match is reachable.
    FindResult Find(const TMemoExStrings& lines, TextPoint from, SearchDirection direction,
                    const std::atomic<bool>* stop = nullptr) const;

  private:
    ByteClassMatcher matcher_;
};
