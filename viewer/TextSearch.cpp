#include "viewer/TextSearch.h"

#include "platform/TextCase.h"

#include <algorithm>
#include <cstring>
#include <string>

TextSearch::TextSearch(std::u16string_view needle, bool matchCase, const char16_t* display) {
    const std::u16string text = platform::ComposedText(needle);
    std::array<std::u16string, 256> byteKeys;
    if (!matchCase)
        for (int b = 0; b < 256; ++b)
            byteKeys[static_cast<std::size_t>(b)] = platform::CaseBlindKey(display[b]);
    sets_.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::u16string key = matchCase ? std::u16string() : platform::CaseBlindKey(text[i]);
        bool any = false;
        for (std::size_t b = 0; b < 256; ++b) {
            sets_[i][b] = matchCase ? display[b] == text[i] : byteKeys[b] == key;
            any = any || sets_[i][b];
        }
        impossible_ = impossible_ || !any;
    }
    if (sets_.empty()) return;
    const auto count = std::count(sets_[0].begin(), sets_[0].end(), true);
    if (count == 1)
        firstOnly_ = static_cast<unsigned char>(std::find(sets_[0].begin(), sets_[0].end(), true) -
                                                sets_[0].begin());
}

bool TextSearch::MatchesAt(std::string_view line, std::size_t at) const {
    for (std::size_t i = 1; i < sets_.size(); ++i)
        if (!sets_[i][static_cast<unsigned char>(line[at + i])]) return false;
    return true;
}

std::ptrdiff_t TextSearch::FirstIn(std::string_view line, std::size_t first,
                                   std::size_t last) const {
    const std::size_t n = sets_.size();
    if (line.size() < n) return -1;
    last = std::min(last, line.size() - n + 1);
    const auto* data = reinterpret_cast<const unsigned char*>(line.data());
    if (firstOnly_) {
        for (std::size_t at = first; at < last; ++at) {
            const void* hit = std::memchr(data + at, *firstOnly_, last - at);
            if (hit == nullptr) return -1;
            at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - data);
            if (MatchesAt(line, at)) return static_cast<std::ptrdiff_t>(at);
        }
        return -1;
    }
    const ByteSet& head = sets_[0];
    for (std::size_t at = first; at < last; ++at)
        if (head[data[at]] && MatchesAt(line, at)) return static_cast<std::ptrdiff_t>(at);
    return -1;
}

std::ptrdiff_t TextSearch::LastIn(std::string_view line, std::size_t first,
                                  std::size_t last) const {
    const std::size_t n = sets_.size();
    if (line.size() < n) return -1;
    last = std::min(last, line.size() - n + 1);
    const auto* data = reinterpret_cast<const unsigned char*>(line.data());
    const ByteSet& head = sets_[0];
    for (std::size_t at = last; at > first; --at)
        if (head[data[at - 1]] && MatchesAt(line, at - 1))
            return static_cast<std::ptrdiff_t>(at - 1);
    return -1;
}

std::optional<TextMatch> TextSearch::FindForward(const TMemoExStrings& lines, TextPoint from,
                                                 TextPoint limit) const {
    if (Empty() || impossible_) return std::nullopt;
    const int lastLine = std::min(limit.line, lines.LineCount() - 1);
    for (int line = std::max(0, from.line); line <= lastLine; ++line) {
        const std::size_t first = line == from.line ? static_cast<std::size_t>(from.col) : 0;
        const std::size_t last =
            line == limit.line ? static_cast<std::size_t>(limit.col) : std::string_view::npos;
        if (first >= last) continue;
        const std::ptrdiff_t at = FirstIn(lines.LineAt(line), first, last);
        if (at >= 0) return TextMatch{{line, static_cast<int>(at)}, Length()};
    }
    return std::nullopt;
}

std::optional<TextMatch> TextSearch::FindBackward(const TMemoExStrings& lines, TextPoint from,
                                                  TextPoint limit) const {
    if (Empty() || impossible_) return std::nullopt;
    const int firstLine = std::max(0, limit.line);
    for (int line = std::min(from.line, lines.LineCount() - 1); line >= firstLine; --line) {
        const std::size_t first = line == limit.line ? static_cast<std::size_t>(limit.col) : 0;
        const std::size_t last =
            line == from.line ? static_cast<std::size_t>(from.col) : std::string_view::npos;
        if (first >= last) continue;
        const std::ptrdiff_t at = LastIn(lines.LineAt(line), first, last);
        if (at >= 0) return TextMatch{{line, static_cast<int>(at)}, Length()};
    }
    return std::nullopt;
}

FindResult TextSearch::Find(const TMemoExStrings& lines, TextPoint from,
                            SearchDirection direction) const {
    from.line = std::clamp(from.line, 0, std::max(0, lines.LineCount()));
    from.col = std::max(0, from.col);
    const TextPoint start{0, 0};
    const TextPoint end{lines.LineCount(), 0};
    if (direction == SearchDirection::Forward) {
        if (auto match = FindForward(lines, from, end)) return {match, false};
        return {FindForward(lines, start, from), true};
    }
    if (auto match = FindBackward(lines, from, start)) return {match, false};
    return {FindBackward(lines, end, from), true};
}
