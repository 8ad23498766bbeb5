#pragma once
// Searching every print file of one source, or of all of them, for typed text
// the way the preview's find bar matches it. The catalogs are read one after
// the other on a thread of the search's own, and the print files are scanned
// by worker threads (as many as the machine has cores, at least two), so the
// caller's thread never waits. Results, failures and progress are collected
// as they come and taken by whoever shows them: the search pane polls, the
// command line waits. A catalog or print file that cannot be read is counted
// and named, never a stop. Files are only read. No Qt here.

#include "viewer/ByteClassMatcher.h"

class PrintFileScanner;

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One source of the month selector, with the folders it reads from.
struct SearchedSource {
    int item = 0;                // the selector's item: 0, 1, or 2 and up for archived months
    std::string label;           // the selector's text ("Aktuálny mesiac", "2007 / 12")
    std::string catalogFolder;   // where ZOZTLS.DBF is, as the folder rules give it
    std::string printFileFolder; // where the print files are
};

// The selector's sources in its order, the archived months newest first. The
// meal calculations only when their folder is known: without it they would be
// read from the current month's folders, which are searched already.
std::vector<SearchedSource> SelectorSources(const std::string& appFolder,
                                            const std::string& mealCalcFolder);
// The selector's source at `item` with that text.
SearchedSource SelectorSource(int item, const std::string& label, const std::string& appFolder,
                              const std::string& mealCalcFolder);

// The catalog entry of a print file that matched, with its fields as the
// catalog holds them (ANSI code page).
struct FoundEntry {
    std::string nazov;
    std::string popis;
    std::int32_t datum = 0; // day number as the memory table keeps it; 0 without a date
    std::string cas;
    std::string filName;
    int position = 0; // 1-based, in the catalog's own order
};

struct SearchHit {
    std::size_t source = 0; // index into the sources searched
    std::shared_ptr<const FoundEntry> entry;
    std::int64_t line = 0; // 0-based, as the viewer counts lines
    std::int64_t column = 0;
    int length = 0;
    std::string text; // OEM bytes of the line around the match
    int textColumn = 0;
};

// A catalog that cannot be read, or a print file that is missing or cannot be
// read: the source, the file's name as the catalog has it, the system's reason.
struct SearchFailure {
    enum class Kind { Catalog, MissingFile, UnreadableFile };
    Kind kind = Kind::Catalog;
    std::size_t source = 0;
    std::string file; // UTF-8; empty for a catalog
    std::string reason;
};

struct SearchProgress {
    std::size_t filesDone = 0;
    std::size_t filesTotal = 0; // grows while catalogs are read
    std::uint64_t bytesDone = 0;
    bool catalogsRead = false; // every catalog has been read: the totals are final
};

class PrintFileSearch {
  public:
    // At most this many matches are kept of one file.
    static constexpr std::size_t kHitsPerFile = 1000;

    // `appFolder` resolves relative folders. The matcher is made here, on the
    // caller's thread, from `text` as typed and the OEM page's characters.
    PrintFileSearch(std::vector<SearchedSource> sources, std::string appFolder,
                    std::u16string_view text, bool matchCase);
    ~PrintFileSearch();
    PrintFileSearch(const PrintFileSearch&) = delete;
    PrintFileSearch& operator=(const PrintFileSearch&) = delete;

    // Nothing typed, or a character no byte of the OEM page shows: nothing can
    // be found, and Start finishes at once.
    bool Empty() const { return matcher_.Empty(); }
    bool Impossible() const { return matcher_.Impossible(); }

    void Start();
    // Ends the search and its threads; returns once they have ended.
    void Stop();
    // Waits for the search to end by itself.
    void Wait();
    bool Finished() const { return finished_.load(); }
    bool WasStopped() const { return stopped_.load(); }
    unsigned WorkerCount() const { return workerCount_; }

    const std::vector<SearchedSource>& Sources() const { return sources_; }
    // What came since the last call, in the order found.
    std::vector<SearchHit> TakeHits();
    std::vector<SearchFailure> TakeFailures();
    SearchProgress Progress() const;

  private:
    struct FileJob {
        std::size_t source = 0;
        std::shared_ptr<const FoundEntry> entry;
        std::filesystem::path folder; // the source's print-file folder, resolved
        std::string name;             // FilName in UTF-8, as the catalog has it
    };

    void ReadCatalogs();
    void Work();
    void Scan(PrintFileScanner& scanner, const FileJob& job);
    void Fail(SearchFailure failure);
    // A thread of the search is done; the last one marks the search finished.
    void ThreadEnded();

    std::vector<SearchedSource> sources_;
    std::string appFolder_;
    ByteClassMatcher matcher_;
    unsigned workerCount_;

    std::atomic<bool> stop_ = false;
    std::atomic<bool> stopped_ = false;
    std::atomic<bool> finished_ = false;

    mutable std::mutex lock_;
    std::condition_variable jobsReady_;
    std::deque<FileJob> jobs_;
    bool catalogsRead_ = false;
    unsigned threadsLeft_ = 0;
    std::vector<SearchHit> hits_;
    std::vector<SearchFailure> failures_;
    SearchProgress progress_;

    std::thread catalogReader_;
    std::vector<std::thread> workers_;
};
