#pragma once
// The byte searches of loading a print file, sixteen bytes at a time where the
// processor has SSE2 (every x86-64 does), byte by byte elsewhere; the counting
// of line ends thirty-two at a time where it has AVX2.

#include <cstddef>
#include <cstring>
#include <string_view>

#include "viewer/CpuFeatures.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(TLACSUB_AVX2)
#include <immintrin.h>
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

namespace detail {

#if defined(TLACSUB_AVX2)
// The whole 32-byte blocks of CountBreaks that have a byte after them, on
// processors with AVX2; moves `p` past them.
__attribute__((target("avx2"))) inline std::size_t CountBreaks32(const char*& p, const char* end) {
    const __m256i cr = _mm256_set1_epi8('\r');
    const __m256i lf = _mm256_set1_epi8('\n');
    std::size_t count = 0;
    while (end - p > 32) {
        // A byte lane grows by one a block at most, so 255 blocks fit in it.
        __m256i sums = _mm256_setzero_si256();
        for (int blocks = 0; blocks < 255 && end - p > 32; ++blocks, p += 32) {
            const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
            const __m256i next = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
            const __m256i isCr = _mm256_cmpeq_epi8(bytes, cr);
            const __m256i isBreak = _mm256_or_si256(isCr, _mm256_cmpeq_epi8(bytes, lf));
            const __m256i crLf = _mm256_and_si256(isCr, _mm256_cmpeq_epi8(next, lf));
            sums = _mm256_add_epi8(sums, _mm256_sub_epi8(crLf, isBreak));
        }
        const __m256i total = _mm256_sad_epu8(sums, _mm256_setzero_si256());
        count += static_cast<std::size_t>(
            _mm256_extract_epi64(total, 0) + _mm256_extract_epi64(total, 1) +
            _mm256_extract_epi64(total, 2) + _mm256_extract_epi64(total, 3));
    }
    return count;
}
#endif

} // namespace detail

// Line ends in [p, end) by the rule of ForEachLine: every CR and every LF, less
// the LFs that follow a CR. Counted many bytes at a time without a branch per
// line, since a search counts the lines of every byte it reads.
inline std::size_t CountBreaks(const char* p, const char* end) {
    std::size_t count = 0;
#if defined(TLACSUB_AVX2)
    if (cpu::kHasAvx2) count += detail::CountBreaks32(p, end);
#endif
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    // While a whole block and the byte after it are there.
    while (end - p > 16) {
        // A byte lane grows by one a block at most, so 255 blocks fit in it.
        __m128i sums = _mm_setzero_si128();
        for (int blocks = 0; blocks < 255 && end - p > 16; ++blocks, p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            const __m128i isCr = _mm_cmpeq_epi8(bytes, cr);
            const __m128i isBreak = _mm_or_si128(isCr, _mm_cmpeq_epi8(bytes, lf));
            const __m128i crLf = _mm_and_si128(isCr, _mm_cmpeq_epi8(next, lf));
            // A lane is -1 where true: one for a break, none for a CR before an LF.
            sums = _mm_add_epi8(sums, _mm_sub_epi8(crLf, isBreak));
        }
        const __m128i total = _mm_sad_epu8(sums, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_extract_epi16(total, 0)) +
                 static_cast<std::size_t>(_mm_extract_epi16(total, 4));
    }
#endif
    for (; p < end; ++p)
        if (*p == '\n' || (*p == '\r' && (p + 1 == end || p[1] != '\n'))) ++count;
    return count;
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
        breaks_ += CountBreaks(p, end);
        afterCr_ = end[-1] == '\r';
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
