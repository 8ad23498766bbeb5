#include "viewer/TextSearch.h"

#include <algorithm>

namespace {

// Starts of a match tried in one call of the matcher: a stop is seen within a
// few milliseconds, and the calls cost nothing beside the bytes.
constexpr std::size_t kWindow = std::size_t{4} << 20;

// Lines next to each other in the store, searched in one go: from `begin` in
// line `first` to `end` in line `last`.
struct LineRun {
    int first = -1;
    int last = -1;
    const char* begin = nullptr;
    const char* end = nullptr;
    bool cutFront = false; // begins after the start of its first line
    bool cutBack = false;  // ends before the end of its last line
    bool Open() const { return first >= 0; }
    std::size_t Size() const { return static_cast<std::size_t>(end - begin); }
};

// Whether only a line break (bytes that never match) lies between two lines,
// so the two can be searched as one stretch without a match across them.
bool OnlyBreakBetween(const char* end, const char* next) {
    const std::ptrdiff_t gap = next - end;
    if (gap < 1 || gap > 2) return false;
    for (const char* p = end; p < next; ++p)
        if (*p != '\r' && *p != '\n') return false;
    return true;
}

bool Stopped(const std::atomic<bool>* stop) {
    return stop != nullptr && stop->load(std::memory_order_relaxed);
}

// The first (forward) or last match in [begin, end), a window of starts at a time.
const char* SearchStretch(const ByteClassMatcher& matcher, const char* begin, const char* end,
                          SearchDirection direction, const std::atomic<bool>* stop, bool& stopped) {
    const std::size_t size = static_cast<std::size_t>(end - begin);
    const std::size_t m = matcher.Length();
    if (size < m) return nullptr;
    const std::size_t starts = size - m + 1;
    const bool forward = direction == SearchDirection::Forward;
    for (std::size_t done = 0; done < starts; done += kWindow) {
        if (done > 0 && Stopped(stop)) {
            stopped = true;
            return nullptr;
        }
        const std::size_t count = std::min(kWindow, starts - done);
        const std::size_t first = forward ? done : starts - done - count;
        const std::string_view window(begin + first, count + m - 1);
        const std::size_t at = forward ? matcher.FindFirst(window) : matcher.FindLast(window);
        if (at != ByteClassMatcher::npos) return begin + first + at;
    }
    return nullptr;
}

// The line and column of a byte of a run. The lines of a run follow each other
// in memory, so the line is found by halving.
TextPoint Locate(const TMemoExStrings& lines, const LineRun& run, const char* at) {
    int low = run.first;
    int high = run.last;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (lines.LineAt(middle).data() <= at)
            low = middle;
        else
            high = middle - 1;
    }
    const std::string_view text = lines.LineAt(low);
    if (at >= text.data() && at < text.data() + text.size())
        return TextPoint{low, static_cast<int>(at - text.data())};
    return TextPoint{run.first, 0}; // a match lies within its lines
}

// Searches a run and closes it; true once the search is over, at a match or a stop.
bool SearchRun(const ByteClassMatcher& matcher, const TMemoExStrings& lines, LineRun& run,
               SearchDirection direction, int length, const std::atomic<bool>* stop,
               FindResult& result) {
    const char* at = SearchStretch(matcher, run.begin, run.end, direction, stop, result.stopped);
    if (at != nullptr) result.match = TextMatch{Locate(lines, run, at), length};
    run = LineRun{};
    if (!result.match && !result.stopped && Stopped(stop)) result.stopped = true;
    return result.match || result.stopped;
}

} // namespace

TextSearch::TextSearch(std::u16string_view needle, bool matchCase, const char16_t* display)
    : matcher_(needle, matchCase, display) {}

FindResult TextSearch::FindForward(const TMemoExStrings& lines, TextPoint from, TextPoint limit,
                                   const std::atomic<bool>* stop) const {
    FindResult result;
    if (Empty() || matcher_.Impossible()) return result;
    const std::size_t m = matcher_.Length();
    LineRun run;
    const auto search = [&] {
        return SearchRun(matcher_, lines, run, SearchDirection::Forward, Length(), stop, result);
    };
    const int lastLine = std::min(limit.line, lines.LineCount() - 1);
    for (int line = std::max(0, from.line); line <= lastLine; ++line) {
        const std::string_view text = lines.LineAt(line);
        const std::size_t lo =
            line == from.line ? std::min(static_cast<std::size_t>(from.col), text.size()) : 0;
        std::size_t hi = line == limit.line
                             ? std::min(static_cast<std::size_t>(limit.col) + m - 1, text.size())
                             : text.size();
        hi = std::max(hi, lo);
        const char* begin = text.data() + lo;
        const bool joins = run.Open() && lo == 0 && !run.cutBack && run.Size() < kWindow &&
                           OnlyBreakBetween(run.end, begin);
        if (run.Open() && !joins && search()) return result;
        if (!run.Open()) {
            run.first = line;
            run.begin = begin;
            run.cutFront = lo > 0;
        }
        run.last = line;
        run.end = text.data() + hi;
        run.cutBack = hi < text.size();
        // The whole lines after it that lie in the loaded text's one stretch
        // join it as they are, without a look at each.
        const int whole = std::min(lines.LinesInOneStretch(), limit.line) - 1;
        if (!run.cutBack && line < whole && line < lastLine) {
            line = std::min(whole, lastLine);
            run.last = line;
            const std::string_view last = lines.LineAt(line);
            run.end = last.data() + last.size();
        }
    }
    if (run.Open()) search();
    return result;
}

FindResult TextSearch::FindBackward(const TMemoExStrings& lines, TextPoint from, TextPoint limit,
                                    const std::atomic<bool>* stop) const {
    FindResult result;
    if (Empty() || matcher_.Impossible()) return result;
    const std::size_t m = matcher_.Length();
    LineRun run;
    const auto search = [&] {
        return SearchRun(matcher_, lines, run, SearchDirection::Backward, Length(), stop, result);
    };
    const int firstLine = std::max(0, limit.line);
    for (int line = std::min(from.line, lines.LineCount() - 1); line >= firstLine; --line) {
        const std::string_view text = lines.LineAt(line);
        const std::size_t lo =
            line == limit.line ? std::min(static_cast<std::size_t>(limit.col), text.size()) : 0;
        std::size_t hi = line == from.line
                             ? std::min(static_cast<std::size_t>(from.col) + m - 1, text.size())
                             : text.size();
        hi = std::max(hi, lo);
        const char* end = text.data() + hi;
        const bool joins = run.Open() && hi == text.size() && !run.cutFront &&
                           run.Size() < kWindow && OnlyBreakBetween(end, run.begin);
        if (run.Open() && !joins && search()) return result;
        if (!run.Open()) {
            run.last = line;
            run.end = end;
            run.cutBack = hi < text.size();
        }
        run.first = line;
        run.begin = text.data() + lo;
        run.cutFront = lo > 0;
        // The whole lines before it in the loaded text's one stretch join it as
        // they are, without a look at each.
        const int whole = limit.line + 1;
        if (!run.cutFront && line < lines.LinesInOneStretch() && line > whole && line > firstLine) {
            line = std::max(whole, firstLine);
            run.first = line;
            run.begin = lines.LineAt(line).data();
        }
    }
    if (run.Open()) search();
    return result;
}

FindResult TextSearch::Find(const TMemoExStrings& lines, TextPoint from, SearchDirection direction,
                            const std::atomic<bool>* stop) const {
    from.line = std::clamp(from.line, 0, std::max(0, lines.LineCount()));
    from.col = std::max(0, from.col);
    const TextPoint start{0, 0};
    const TextPoint end{lines.LineCount(), 0};
    const bool forward = direction == SearchDirection::Forward;
    FindResult first =
        forward ? FindForward(lines, from, end, stop) : FindBackward(lines, from, start, stop);
    if (first.match || first.stopped) return first;
    FindResult second =
        forward ? FindForward(lines, start, from, stop) : FindBackward(lines, end, from, stop);
    second.wrapped = true;
    return second;
}
