#pragma once
// Typed text found in OEM bytes as the viewer shows them, in time that grows
// with the text and not with the text times the typed length.
//
// Every byte shows as one character. Two bytes are in one class when they show
// as the same character (or, without letter case, as the same letter); a typed
// character stands for the class whose characters compare equal to it. Since
// that "compares equal" is equality of a key, the classes split the 256 bytes
// cleanly whatever the locale does with letter case (Slovak, Turkish i and İ),
// and finding typed text is finding a sequence of class numbers: a fast
// two-byte filter over 16 bytes at a time, with a switch to a linear scan
// (Knuth-Morris-Pratt over classes) when the filter lets too much through.
//
// The bytes that never stand in a line of the viewer (NUL, TAB, CR, LF) match
// nothing, so a block of several lines can be searched in one go and a match
// never runs across a line break. No Qt here; the object is immutable after
// construction and may be shared by threads.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class ByteClassMatcher {
  public:
    static constexpr std::size_t npos = std::string_view::npos;

    // `needle` as typed. Without `matchCase`, letters match whatever their case
    // by the user's locale; accents always count. `display` is the character
    // each byte shows as (platform::OemDisplayTable()).
    ByteClassMatcher(std::u16string_view needle, bool matchCase, const char16_t* display);

    // Nothing was typed.
    bool Empty() const { return pattern_.empty(); }
    // Some typed character is shown by no byte a line can hold: nothing can match.
    bool Impossible() const { return impossible_; }
    // The typed text's length in bytes (= characters) of a match.
    std::size_t Length() const { return pattern_.size(); }

    // Where the first match lying wholly in `text` begins, or npos.
    std::size_t FindFirst(std::string_view text) const;
    // Where the last match lying wholly in `text` begins, or npos.
    std::size_t FindLast(std::string_view text) const;

  private:
    // A position of the typed text whose class the fast filter compares with,
    // and the bytes of that class (at most kFilterBytes of them).
    struct Anchor {
        std::size_t at = 0;
        std::vector<unsigned char> bytes;
    };
    static constexpr std::size_t kFilterBytes = 4;

    void ChooseAnchors(const char16_t* display);
    void BuildFailureTables();
    std::size_t ScanForward(const unsigned char* text, std::size_t size) const;
    std::size_t ScanBackward(const unsigned char* text, std::size_t size) const;
    std::size_t LinearForward(const unsigned char* text, std::size_t size, std::size_t from) const;
    std::size_t LinearBackward(const unsigned char* text, std::size_t size, std::size_t end) const;

    std::array<std::uint8_t, 256> classOf_{};
    std::vector<std::uint8_t> pattern_;
    std::vector<std::uint8_t> reversed_;
    // Knuth-Morris-Pratt failure links of the pattern and of its reverse.
    std::vector<std::size_t> failForward_;
    std::vector<std::size_t> failBackward_;
    bool impossible_ = false;
    // Two positions the filter checks together; empty bytes: the filter looks
    // the class up byte by byte (every class of the text is large).
    Anchor first_;
    Anchor second_;
};
