#pragma once
// The byte searches of loading a print file, sixteen bytes at a time where the
// processor has SSE2 (every x86-64 does), byte by byte elsewhere.

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace linescan {

// The first CR or LF in [p, end), or end.
inline const char* FindBreak(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n')
        ++p;
    return p;
}

// Walks the lines of a text without NUL: a line runs to the next CR or LF, then
// one CR and one LF are skipped, so CR LF, a lone CR and a lone LF each end one
// line and LF CR ends two. A break at the very end starts no further line.
// visit(start, length) gets offsets into the text.
template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* p = begin;
    while (p < end) {
        const char* stop = FindBreak(p, end);
        visit(static_cast<std::size_t>(p - begin), static_cast<std::size_t>(stop - p));
        p = stop;
        if (p < end && *p == '\r') ++p;
        if (p < end && *p == '\n') ++p;
    }
}

// Counts the lines ended in a text that arrives in pieces, by the rule of
// ForEachLine: CR LF, a lone CR and a lone LF each end one line, LF CR two.
class BreakCounter {
  public:
    void Feed(const char* p, std::size_t size) {
        if (size == 0) return;
        const char* const end = p + size;
        // A CR at the end of the last piece and an LF at the start of this one are one break.
        if (afterCr_ && *p == '\n') ++p;
        afterCr_ = false;
        while ((p = FindBreak(p, end)) < end) {
            ++breaks_;
            if (*p++ != '\r') continue;
            if (p == end) {
                afterCr_ = true;
                break;
            }
            if (*p == '\n') ++p;
        }
    }
    // Lines ended so far: the 0-based number of the line the next byte is in.
    std::size_t Breaks() const { return breaks_; }

  private:
    std::size_t breaks_ = 0;
    bool afterCr_ = false;
};

// Number of TAB bytes in [p, p + size).
inline std::size_t CountTabs(const char* p, std::size_t size) {
    std::size_t tabs = 0;
    const char* const end = p + size;
    while (
        (p = static_cast<const char*>(std::memchr(p, '\t', static_cast<std::size_t>(end - p))))) {
        ++tabs;
        ++p;
    }
    return tabs;
}

// Expands the `tabs` TABs of the `size` bytes at p in place, each into `tabSize`
// spaces (0 removes it); with tabSize > 1 the room after the bytes must hold the
// growth. Returns the new size.
inline std::size_t ExpandTabsInPlace(char* p, std::size_t size, std::size_t tabs, int tabSize) {
    if (tabs == 0) return size;
    const std::size_t width = static_cast<std::size_t>(tabSize);
    if (width == 1) {
        for (char* t = p; (t = static_cast<char*>(std::memchr(t, '\t', size - (t - p))));)
            *t++ = ' ';
        return size;
    }
    if (width == 0) {
        // Left to right: the bytes only move towards the front.
        char* out = p;
        const char* in = p;
        const char* const end = p + size;
        while (in < end) {
            const char* tab = static_cast<const char*>(std::memchr(in, '\t', end - in));
            const char* stop = tab ? tab : end;
            std::memmove(out, in, static_cast<std::size_t>(stop - in));
            out += stop - in;
            in = tab ? tab + 1 : end;
        }
        return static_cast<std::size_t>(out - p);
    }
    // Right to left: the bytes only move towards the back.
    const std::size_t grown = size + tabs * (width - 1);
    char* out = p + grown;
    const char* in = p + size;
    while (in > p) {
        const char* tab =
            static_cast<const char*>(memrchr(p, '\t', static_cast<std::size_t>(in - p)));
        const char* start = tab ? tab + 1 : p;
        const std::size_t run = static_cast<std::size_t>(in - start);
        out -= run;
        std::memmove(out, start, run);
        if (!tab) break;
        out -= width;
        std::memset(out, ' ', width);
        in = tab;
    }
    return grown;
}

} // namespace linescan
