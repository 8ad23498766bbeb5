#pragma once
// Finding typed text in a print file on disk without loading it: the file is
// read a piece at a time into a buffer of a few hundred kilobytes, with the
// line store's rules (the text ends at its first NUL, each TAB becomes
// TabSize spaces, CR LF, CR and LF end lines), so every match is reported at
// the line and column the viewer shows it at, and a match that straddles two
// pieces is found like any other. The file is only read. No Qt here.

#include "viewer/ByteClassMatcher.h"
#include "viewer/TextBuffer.h"

class OpenFolder;

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// One match, as the viewer would find it going forward with F3.
struct ScanHit {
    std::int64_t line = 0; // 0-based, counted as the line store counts lines
    std::int64_t column = 0;
    int length = 0;
    // The line's bytes around the match (all of a line of a report; of a very
    // long line the stretch around the match), and where the match is in them.
    std::string text;
    int textColumn = 0;
};

enum class ScanOutcome { Done, Stopped, Missing, Unreadable };

struct ScanReport {
    ScanOutcome outcome = ScanOutcome::Done;
    std::string reason;      // the system's reason for Missing and Unreadable
    std::uint64_t bytes = 0; // bytes read from the file
};

class PrintFileScanner {
  public:
    static constexpr std::size_t kPieceSize = 256 * 1024;

    // `matcher` must outlive the scanner. `pieceSize` is the bytes read at a
    // time. A scanner keeps its buffer from file to file: one per thread.
    explicit PrintFileScanner(const ByteClassMatcher& matcher, int tabSize = 4,
                              std::size_t pieceSize = kPieceSize);

    // Reads the file and calls `onHit` for every match in order, matches not
    // overlapping, until it returns false. `onBytes` hears of the bytes read as
    // they are read. With `stop` set the scan ends within a piece.
    ScanReport Scan(const std::filesystem::path& file,
                    const std::function<bool(const ScanHit&)>& onHit,
                    const std::atomic<bool>* stop = nullptr,
                    const std::function<void(std::uint64_t)>& onBytes = {});
    // The same for the file `name` in `folder` ('/' between its folders).
    ScanReport Scan(const OpenFolder& folder, const std::string& name,
                    const std::function<bool(const ScanHit&)>& onHit,
                    const std::atomic<bool>* stop = nullptr,
                    const std::function<void(std::uint64_t)>& onBytes = {});

  private:
    // Scans the file open as `fd` (or reports why it could not be opened,
    // errno being `openError`) and closes it.
    ScanReport ScanOpened(int fd, int openError, const std::function<bool(const ScanHit&)>& onHit,
                          const std::atomic<bool>* stop,
                          const std::function<void(std::uint64_t)>& onBytes);

    const ByteClassMatcher& matcher_;
    int tabSize_;
    std::size_t pieceSize_;
    TextBuffer buffer_;
};
