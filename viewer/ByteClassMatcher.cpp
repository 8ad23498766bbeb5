#include "viewer/ByteClassMatcher.h"

#include "platform/TextCase.h"
#include "viewer/CpuFeatures.h"

#include <algorithm>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(TLACSUB_AVX2)
#include <immintrin.h>
#endif

namespace {

constexpr std::uint8_t kNever = 255;

// Bytes a line of the viewer never holds: the text ends at NUL, TABs become
// spaces, CR and LF end lines.
constexpr bool NeverInLine(int byte) {
    return byte == 0 || byte == '\t' || byte == '\r' || byte == '\n';
}

// How often a character turns up in a report, roughly: the filter does best on
// characters that are rare, and rules, columns of figures and spaces are not.
int Commonness(char16_t c) {
    if (c == u' ') return 16;
    if ((c >= u'0' && c <= u'9') || (c >= 0x2500 && c <= 0x259F)) return 4;
    if (std::u16string_view(u"-=.,:;|_/*+").find(c) != std::u16string_view::npos) return 4;
    return 1;
}

// The filter may spend this many byte comparisons on candidates beyond twice
// the bytes it has passed before the linear scan takes over.
constexpr std::size_t kFilterSlack = 256;

#if defined(__SSE2__)
// Which of 16 bytes are in a set of up to four bytes.
struct ByteSet16 {
    __m128i bytes[4];
    int count = 0;

    explicit ByteSet16(const std::vector<unsigned char>& members) {
        count = static_cast<int>(members.size());
        for (int i = 0; i < 4; ++i)
            bytes[i] = _mm_set1_epi8(static_cast<char>(
                members[std::min<std::size_t>(static_cast<std::size_t>(i), members.size() - 1)]));
    }
    __m128i In(const unsigned char* at) const {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        __m128i hit = _mm_cmpeq_epi8(block, bytes[0]);
        if (count > 1) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(block, bytes[1]));
        if (count > 2) {
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(block, bytes[2]));
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(block, bytes[3]));
        }
        return hit;
    }
};
#endif

} // namespace

ByteClassMatcher::ByteClassMatcher(std::u16string_view needle, bool matchCase,
                                   const char16_t* display) {
    const auto keyOf = [matchCase](char16_t c) {
        return matchCase ? std::u16string(1, c) : platform::CaseBlindKey(c);
    };
    std::vector<std::u16string> classKeys;
    for (int b = 0; b < 256; ++b) {
        auto& cls = classOf_[static_cast<std::size_t>(b)];
        if (NeverInLine(b)) {
            cls = kNever;
            continue;
        }
        const std::u16string key = keyOf(display[b]);
        const auto known = std::find(classKeys.begin(), classKeys.end(), key);
        cls = static_cast<std::uint8_t>(known - classKeys.begin());
        if (known == classKeys.end()) classKeys.push_back(key);
    }
    for (const char16_t c : platform::ComposedText(needle)) {
        const auto known = std::find(classKeys.begin(), classKeys.end(), keyOf(c));
        impossible_ = impossible_ || known == classKeys.end();
        pattern_.push_back(known == classKeys.end()
                               ? kNever
                               : static_cast<std::uint8_t>(known - classKeys.begin()));
    }
    if (Empty() || impossible_) return;
    reversed_.assign(pattern_.rbegin(), pattern_.rend());
    BuildFailureTables();
    ChooseAnchors(display);
}

void ByteClassMatcher::ChooseAnchors(const char16_t* display) {
    // Per class: its bytes, and how common the character they show is.
    std::array<std::vector<unsigned char>, 256> members;
    std::array<int, 256> commonness{};
    for (int b = 0; b < 256; ++b) {
        const std::uint8_t cls = classOf_[static_cast<std::size_t>(b)];
        if (cls == kNever) continue;
        if (members[cls].empty()) commonness[cls] = Commonness(display[b]);
        members[cls].push_back(static_cast<unsigned char>(b));
    }
    const auto score = [&](std::size_t at) {
        const std::uint8_t cls = pattern_[at];
        const std::size_t size = members[cls].size();
        // A class too big for the filter comes last.
        return size > kFilterBytes ? 1 << 20 : static_cast<int>(size) * commonness[cls];
    };
    std::size_t best = 0;
    for (std::size_t at = 1; at < pattern_.size(); ++at)
        if (score(at) < score(best)) best = at;
    // The second: the next best, and of equals the one farthest away, since
    // neighbouring characters tend to come together.
    std::size_t next = best;
    for (std::size_t at = 0; at < pattern_.size(); ++at) {
        if (at == best) continue;
        const auto distance = [best](std::size_t p) { return p > best ? p - best : best - p; };
        if (next == best || score(at) < score(next) ||
            (score(at) == score(next) && distance(at) > distance(next)))
            next = at;
    }
    if (score(best) >= 1 << 20) return; // the filter looks classes up byte by byte
    first_ = Anchor{best, members[pattern_[best]]};
    second_ = score(next) >= 1 << 20 ? first_ : Anchor{next, members[pattern_[next]]};
}

void ByteClassMatcher::BuildFailureTables() {
    const auto build = [](const std::vector<std::uint8_t>& p) {
        std::vector<std::size_t> fail(p.size(), 0);
        std::size_t k = 0;
        for (std::size_t i = 1; i < p.size(); ++i) {
            while (k > 0 && p[i] != p[k])
                k = fail[k - 1];
            if (p[i] == p[k]) ++k;
            fail[i] = k;
        }
        return fail;
    };
    failForward_ = build(pattern_);
    failBackward_ = build(reversed_);
}

std::size_t ByteClassMatcher::FindFirst(std::string_view text) const {
    if (Empty() || impossible_ || text.size() < pattern_.size()) return npos;
    return ScanForward(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

std::size_t ByteClassMatcher::FindLast(std::string_view text) const {
    if (Empty() || impossible_ || text.size() < pattern_.size()) return npos;
    return ScanBackward(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

namespace {

// Byte comparisons of one candidate: up to and including the first mismatch.
std::size_t Compare(const std::uint8_t* classOf, const std::vector<std::uint8_t>& pattern,
                    const unsigned char* at, bool& matched) {
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (classOf[at[i]] != pattern[i]) {
            matched = false;
            return i + 1;
        }
    matched = true;
    return pattern.size();
}

#if defined(TLACSUB_AVX2)
// The filter 32 starts at a time, on processors with AVX2 (most since 2013);
// the others take the 16 at a time of SSE2.

struct FilterPass {
    const unsigned char* text;
    std::size_t last; // the last possible start
    std::size_t at1, at2;
    const std::vector<unsigned char>* bytes1;
    const std::vector<unsigned char>* bytes2;
    const std::uint8_t* classOf;
    const std::vector<std::uint8_t>* pattern;
};

// Which of 32 bytes are in a set of N bytes.
template <int N>
__attribute__((target("avx2"), always_inline)) inline __m256i In32(const unsigned char* at,
                                                                   const __m256i* set) {
    const __m256i block = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    __m256i hit = _mm256_cmpeq_epi8(block, set[0]);
    for (int i = 1; i < N; ++i)
        hit = _mm256_or_si256(hit, _mm256_cmpeq_epi8(block, set[i]));
    return hit;
}

// Which of 32 starts have both anchors' bytes in their sets.
template <int N1, int N2>
__attribute__((target("avx2"), always_inline)) inline std::uint32_t
Candidates32(const unsigned char* at1, const __m256i* set1, const unsigned char* at2,
             const __m256i* set2) {
    return static_cast<std::uint32_t>(
        _mm256_movemask_epi8(_mm256_and_si256(In32<N1>(at1, set1), In32<N2>(at2, set2))));
}

// From `start` on while 32 starts remain: a match, or npos with `start` where
// it stopped and `giveUp` set when the candidates cost too much. N1 and N2 are
// the sizes of the two anchors' sets, the smaller ones padded.
template <int N1, int N2>
__attribute__((target("avx2"))) std::size_t
FilterForward32(const FilterPass& pass, std::size_t& startOut, std::size_t& workOut, bool& giveUp) {
    __m256i set1[N1];
    __m256i set2[N2];
    for (int i = 0; i < N1; ++i)
        set1[i] = _mm256_set1_epi8(static_cast<char>(
            (*pass.bytes1)[std::min(static_cast<std::size_t>(i), pass.bytes1->size() - 1)]));
    for (int i = 0; i < N2; ++i)
        set2[i] = _mm256_set1_epi8(static_cast<char>(
            (*pass.bytes2)[std::min(static_cast<std::size_t>(i), pass.bytes2->size() - 1)]));
    // Kept in registers: the caller's counters are written back once.
    const unsigned char* const text1 = pass.text + pass.at1;
    const unsigned char* const text2 = pass.text + pass.at2;
    const std::size_t last = pass.last;
    std::size_t start = startOut;
    std::size_t work = workOut;
    // Every candidate of a block of `mask` starting at `start`: the match's
    // start, or npos; `giveUp` when they cost too much.
    const auto tryCandidates = [&](std::uint64_t mask, std::size_t blockEnd) -> std::size_t {
        bool matched = false;
        while (mask != 0) {
            const std::size_t at = start + static_cast<std::size_t>(__builtin_ctzll(mask));
            work += Compare(pass.classOf, *pass.pattern, pass.text + at, matched);
            if (matched) return at;
            mask &= mask - 1;
        }
        if (work > 2 * start + kFilterSlack) {
            start = blockEnd;
            giveUp = true;
        }
        return ByteClassMatcher::npos;
    };
    std::size_t found = ByteClassMatcher::npos;
    // Two blocks a round, so that a round without candidates costs one test.
    while (found == ByteClassMatcher::npos && !giveUp && start + 63 <= last) {
        const std::uint64_t mask =
            Candidates32<N1, N2>(text1 + start, set1, text2 + start, set2) |
            std::uint64_t{Candidates32<N1, N2>(text1 + start + 32, set1, text2 + start + 32, set2)}
                << 32;
        if (mask != 0) found = tryCandidates(mask, start + 64);
        if (found == ByteClassMatcher::npos && !giveUp) start += 64;
    }
    while (found == ByteClassMatcher::npos && !giveUp && start + 31 <= last) {
        const std::uint32_t mask = Candidates32<N1, N2>(text1 + start, set1, text2 + start, set2);
        if (mask != 0) found = tryCandidates(mask, start + 32);
        if (found == ByteClassMatcher::npos && !giveUp) start += 32;
    }
    startOut = start;
    workOut = work;
    return found;
}

std::size_t FilterForward32(const FilterPass& pass, std::size_t& start, std::size_t& work,
                            bool& giveUp) {
    // One, two, or up to four bytes per anchor: a letter and its capital mostly.
    const auto width = [](std::size_t n) { return n == 1 ? 1 : n == 2 ? 2 : 4; };
    switch (width(pass.bytes1->size()) * 8 + width(pass.bytes2->size())) {
    case 9:
        return FilterForward32<1, 1>(pass, start, work, giveUp);
    case 10:
        return FilterForward32<1, 2>(pass, start, work, giveUp);
    case 12:
        return FilterForward32<1, 4>(pass, start, work, giveUp);
    case 17:
        return FilterForward32<2, 1>(pass, start, work, giveUp);
    case 18:
        return FilterForward32<2, 2>(pass, start, work, giveUp);
    case 20:
        return FilterForward32<2, 4>(pass, start, work, giveUp);
    case 33:
        return FilterForward32<4, 1>(pass, start, work, giveUp);
    case 34:
        return FilterForward32<4, 2>(pass, start, work, giveUp);
    default:
        return FilterForward32<4, 4>(pass, start, work, giveUp);
    }
}
#endif

} // namespace

std::size_t ByteClassMatcher::ScanForward(const unsigned char* text, std::size_t size) const {
    const std::size_t last = size - pattern_.size(); // the last possible start
    const std::size_t a1 = first_.at;
    const std::size_t a2 = second_.at;
    const std::uint8_t c1 = pattern_[a1];
    const std::uint8_t c2 = pattern_[a2];
    std::size_t work = 0;
    bool matched = false;
    std::size_t start = 0;
#if defined(TLACSUB_AVX2)
    if (!first_.bytes.empty() && cpu::kHasAvx2) {
        bool giveUp = false;
        const FilterPass pass{
            text, last, a1, a2, &first_.bytes, &second_.bytes, classOf_.data(), &pattern_};
        const std::size_t at = FilterForward32(pass, start, work, giveUp);
        if (at != npos) return at;
        if (giveUp) return LinearForward(text, size, start);
    }
#endif
#if defined(__SSE2__)
    if (!first_.bytes.empty()) {
        const ByteSet16 set1(first_.bytes);
        const ByteSet16 set2(second_.bytes);
        for (; start + 15 <= last; start += 16) {
            unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(set1.In(text + start + a1), set2.In(text + start + a2))));
            while (mask != 0) {
                const std::size_t at = start + static_cast<std::size_t>(__builtin_ctz(mask));
                work += Compare(classOf_.data(), pattern_, text + at, matched);
                if (matched) return at;
                mask &= mask - 1;
            }
            if (work > 2 * start + kFilterSlack) return LinearForward(text, size, start + 16);
        }
    }
#endif
    for (; start <= last; ++start) {
        if (classOf_[text[start + a1]] != c1 || classOf_[text[start + a2]] != c2) continue;
        work += Compare(classOf_.data(), pattern_, text + start, matched);
        if (matched) return start;
        if (work > 2 * start + kFilterSlack) return LinearForward(text, size, start + 1);
    }
    return npos;
}

std::size_t ByteClassMatcher::ScanBackward(const unsigned char* text, std::size_t size) const {
    const std::size_t m = pattern_.size();
    const std::size_t last = size - m;
    const std::size_t a1 = first_.at;
    const std::size_t a2 = second_.at;
    const std::uint8_t c1 = pattern_[a1];
    const std::uint8_t c2 = pattern_[a2];
    std::size_t work = 0;
    bool matched = false;
    // Starts at or above `end` have been tried.
    std::size_t end = last + 1;
#if defined(__SSE2__)
    if (!first_.bytes.empty()) {
        const ByteSet16 set1(first_.bytes);
        const ByteSet16 set2(second_.bytes);
        for (; end >= 16; end -= 16) {
            const std::size_t block = end - 16;
            unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_and_si128(set1.In(text + block + a1), set2.In(text + block + a2))));
            while (mask != 0) {
                const int bit = 31 - __builtin_clz(mask);
                const std::size_t at = block + static_cast<std::size_t>(bit);
                work += Compare(classOf_.data(), pattern_, text + at, matched);
                if (matched) return at;
                mask &= ~(1u << bit);
            }
            if (work > 2 * (last + 1 - block) + kFilterSlack)
                return LinearBackward(text, size, block + m - 1);
        }
    }
#endif
    for (; end > 0; --end) {
        const std::size_t at = end - 1;
        if (classOf_[text[at + a1]] != c1 || classOf_[text[at + a2]] != c2) continue;
        work += Compare(classOf_.data(), pattern_, text + at, matched);
        if (matched) return at;
        if (work > 2 * (last + 1 - at) + kFilterSlack)
            return LinearBackward(text, size, at + m - 1);
    }
    return npos;
}

std::size_t ByteClassMatcher::LinearForward(const unsigned char* text, std::size_t size,
                                            std::size_t from) const {
    const std::size_t m = pattern_.size();
    std::size_t matched = 0;
    for (std::size_t i = from; i < size; ++i) {
        const std::uint8_t cls = classOf_[text[i]];
        while (matched > 0 && pattern_[matched] != cls)
            matched = failForward_[matched - 1];
        if (pattern_[matched] == cls) ++matched;
        if (matched == m) return i + 1 - m;
    }
    return npos;
}

std::size_t ByteClassMatcher::LinearBackward(const unsigned char* text, std::size_t size,
                                             std::size_t end) const {
    const std::size_t m = reversed_.size();
    std::size_t matched = 0;
    for (std::size_t i = std::min(end, size); i-- > 0;) {
        const std::uint8_t cls = classOf_[text[i]];
        while (matched > 0 && reversed_[matched] != cls)
            matched = failBackward_[matched - 1];
        if (reversed_[matched] == cls) ++matched;
        if (matched == m) return i;
    }
    return npos;
}
