#include "viewer/PrintFileScanner.h"

#include "viewer/FileHandle.h"
#include "viewer/LineScan.h"
#include "viewer/OpenFolder.h"
#include "viewer/TextBuffer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Without waiting for a writer, should the name be a pipe.
constexpr int kOpenFlags = O_RDONLY | O_CLOEXEC | O_NONBLOCK;

// A match's line is shown from at most this many bytes before the match...
constexpr std::size_t kBefore = 200;
// ...to at most this many after its start; a piece is searched only up to this
// far from its end until the file ends, so the rest of a match's line is there.
constexpr std::size_t kAfter = 512;

bool IsBreak(char c) {
    return c == '\r' || c == '\n';
}

// Just after the last line break in [from, to), or npos when there is none.
std::size_t AfterLastBreak(const char* buffer, std::size_t from, std::size_t to) {
    for (std::size_t i = to; i > from; --i)
        if (IsBreak(buffer[i - 1])) return i;
    return std::string::npos;
}

} // namespace

PrintFileScanner::PrintFileScanner(const ByteClassMatcher& matcher, int tabSize,
                                   std::size_t pieceSize)
    : matcher_(matcher), tabSize_(std::max(0, tabSize)),
      pieceSize_(std::max<std::size_t>(1, pieceSize)) {}

ScanReport PrintFileScanner::Scan(const std::filesystem::path& file,
                                  const std::function<bool(const ScanHit&)>& onHit,
                                  const std::atomic<bool>* stop,
                                  const std::function<void(std::uint64_t)>& onBytes) {
    const int fd = ::open(file.c_str(), kOpenFlags);
    return ScanOpened(fd, errno, onHit, stop, onBytes);
}

ScanReport PrintFileScanner::Scan(const OpenFolder& folder, const std::string& name,
                                  const std::function<bool(const ScanHit&)>& onHit,
                                  const std::atomic<bool>* stop,
                                  const std::function<void(std::uint64_t)>& onBytes) {
    const int fd = folder.OpenFile(name, kOpenFlags);
    return ScanOpened(fd, errno, onHit, stop, onBytes);
}

ScanReport PrintFileScanner::ScanOpened(int openedFd, int openError,
                                        const std::function<bool(const ScanHit&)>& onHit,
                                        const std::atomic<bool>* stop,
                                        const std::function<void(std::uint64_t)>& onBytes) {
    ScanReport report;
    FileHandle fd(openedFd);
    if (fd.Get() < 0) {
        report.outcome = openError == ENOENT || openError == ENOTDIR ? ScanOutcome::Missing
                                                                     : ScanOutcome::Unreadable;
        report.reason = std::strerror(openError);
        return report;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        report.outcome = ScanOutcome::Unreadable;
        report.reason = std::strerror(S_ISDIR(info.st_mode) ? EISDIR : EINVAL);
        return report;
    }
    const std::size_t m = matcher_.Length();
    const bool searching = !matcher_.Empty() && !matcher_.Impossible();

    // The file is read to the size it has now, as the line store reads it.
    std::uint64_t remaining = static_cast<std::uint64_t>(info.st_size);
    TextBuffer& buffer = buffer_;
    buffer.SetSize(0);
    linescan::BreakCounter breaks;
    std::size_t counted = 0; // bytes of the buffer fed to `breaks`
    // Where the line of the byte at `counted` starts in the buffer; npos when
    // it started before the buffer, in which case the buffer's first byte is
    // at column `baseColumn` of that line.
    std::size_t lineStart = 0;
    std::int64_t baseColumn = 0;
    const auto countTo = [&](std::size_t to) {
        breaks.Feed(buffer.Data() + counted, to - counted);
        const std::size_t after = AfterLastBreak(buffer.Data(), counted, to);
        if (after != std::string::npos) lineStart = after;
        counted = to;
    };
    std::size_t from = 0; // the first start in the buffer not yet tried
    bool ended = false;
    while (!ended) {
        if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
            report.outcome = ScanOutcome::Stopped;
            return report;
        }
        // The next piece, cut at a NUL, its TABs expanded.
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(pieceSize_, remaining));
        buffer.ReserveMore(want);
        char* piece = buffer.Data() + buffer.Size();
        ssize_t got = 0;
        while (want > 0 && (got = ::read(fd.Get(), piece, want)) < 0 && errno == EINTR) {
        }
        if (got < 0) {
            report.outcome = ScanOutcome::Unreadable;
            report.reason = std::strerror(errno);
            return report;
        }
        report.bytes += static_cast<std::uint64_t>(got);
        remaining -= static_cast<std::uint64_t>(got);
        if (onBytes && got > 0) onBytes(static_cast<std::uint64_t>(got));
        std::size_t length = static_cast<std::size_t>(got);
        if (const void* nul = std::memchr(piece, 0, length)) {
            length = static_cast<std::size_t>(static_cast<const char*>(nul) - piece);
            ended = true;
        }
        // A file that shrank while being read keeps what was there.
        ended = ended || got == 0 || remaining == 0;
        const std::size_t tabs = linescan::CountTabs(piece, length);
        if (tabs > 0 && tabSize_ > 1) {
            buffer.ReserveMore(length + tabs * static_cast<std::size_t>(tabSize_ - 1));
            piece = buffer.Data() + buffer.Size();
        }
        buffer.SetSize(buffer.Size() + linescan::ExpandTabsInPlace(piece, length, tabs, tabSize_));

        const char* data = buffer.Data();
        const std::size_t size = buffer.Size();
        if (!ended && size < kAfter + kBefore + m) continue;
        // Starts before `edge` are tried now: each has the rest of its line behind it.
        const std::size_t edge = ended ? size : size - kAfter;
        while (searching && from < edge) {
            const std::size_t window = std::min(size, edge + m - 1) - from;
            const std::size_t found = matcher_.FindFirst(std::string_view(data + from, window));
            if (found == ByteClassMatcher::npos) break;
            const std::size_t at = from + found;
            countTo(at);
            const bool startShown = lineStart != std::string::npos;
            const std::size_t shownFrom =
                std::max(startShown ? lineStart : 0, at > kBefore ? at - kBefore : 0);
            const std::size_t shownTo = static_cast<std::size_t>(
                std::find_if(data + at, data + std::min(size, at + kAfter), IsBreak) - data);
            ScanHit hit;
            hit.line = static_cast<std::int64_t>(breaks.Breaks());
            hit.column = startShown ? static_cast<std::int64_t>(at - lineStart)
                                    : baseColumn + static_cast<std::int64_t>(at);
            hit.length = static_cast<int>(m);
            hit.text.assign(data + shownFrom, shownTo - shownFrom);
            hit.textColumn = static_cast<int>(at - shownFrom);
            if (!onHit(hit)) return report;
            from = at + m;
        }
        if (ended) break;
        // Keep what the next piece needs: the bytes from the edge on, and the
        // stretch of the edge's line that is shown before a match.
        countTo(edge);
        const std::size_t keep =
            std::max(lineStart != std::string::npos ? lineStart : 0, edge - kBefore);
        if (lineStart == std::string::npos)
            baseColumn += static_cast<std::int64_t>(keep);
        else if (lineStart < keep)
            baseColumn = static_cast<std::int64_t>(keep - lineStart);
        lineStart = lineStart != std::string::npos && lineStart >= keep ? lineStart - keep
                                                                        : std::string::npos;
        std::memmove(buffer.Data(), data + keep, size - keep);
        buffer.SetSize(size - keep);
        from = std::max(from, edge) - keep;
        counted = edge - keep;
    }
    return report;
}
