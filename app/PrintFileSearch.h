#pragma once
// Searching every print file of one source, or of all of them, for typed text
// the way the preview's find bar matches it. The catalogs are read one after
// the other on a thread of the search's own, and the print files are scanned
// by worker threads (as many as the machine has cores, at least two), so the
// caller's thread never waits. Results, failures and progress are collected
// as they come and taken by whoever shows them: the search pane polls, the
// command line waits. A catalog or print file that cannot be read is counted
// and named, never a stop. Files are only read. No Qt here.

#include "app/CatalogEntry.h"
#include "app/Source.h"
#include "viewer/ByteClassMatcher.h"

class OpenFolder;
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

// The sources "Všetky mesiace" searches: those the month selector offers, in
// its order, the archived periods newest first; the meal calculations only
// when the host names their folder, since without one they would be read from
// the current month's folders, which are searched already.
std::vector<Source> EverySource(const HostFolders& host);

struct SearchHit {
    std::size_t source = 0; // index into the sources searched
    std::shared_ptr<const CatalogEntry> entry;
    int position = 0;      // the entry's place in its catalog, from 1
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

    // The matcher is made here, on the caller's thread, from `text` as typed
    // and the OEM page's characters.
    PrintFileSearch(std::vector<Source> sources, HostFolders host, std::u16string_view text,
                    bool matchCase);
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

    const std::vector<Source>& Sources() const { return sources_; }
    // What came since the last call, in the order found.
    std::vector<SearchHit> TakeHits();
    std::vector<SearchFailure> TakeFailures();
    SearchProgress Progress() const;

  private:
    // A source's catalog as read, shared by the scans of its print files. Its
    // print-file folder is opened by the first of them, outside the search's
    // lock, so catalogs read ahead hold no descriptor and a slow folder keeps
    // no one else waiting; it is closed after the last.
    struct Catalog {
        std::size_t source = 0;
        std::shared_ptr<const std::vector<CatalogEntry>> entries;
        std::filesystem::path folderPath; // resolved

        const OpenFolder& Folder() const;

      private:
        mutable std::once_flag opened_;
        mutable std::unique_ptr<OpenFolder> folder_;
    };
    // A print file to scan: the entry at `index` of the catalog.
    struct FileJob {
        std::shared_ptr<const Catalog> catalog;
        std::size_t index = 0;
    };

    void ReadCatalogs();
    void Work();
    // The next file to scan, waiting for a catalog if need be; false when
    // there is none left or the search stops.
    bool NextJob(FileJob& job);
    void Scan(PrintFileScanner& scanner, const FileJob& job);
    void Fail(SearchFailure failure);
    // A thread of the search is done; the last one marks the search finished.
    void ThreadEnded();

    std::vector<Source> sources_;
    HostFolders host_;
    ByteClassMatcher matcher_;
    unsigned workerCount_;

    std::atomic<bool> stop_ = false;
    std::atomic<bool> stopped_ = false;
    std::atomic<bool> finished_ = false;
    // Counted outside the lock: they change with every file and every piece read.
    std::atomic<std::size_t> filesDone_ = 0;
    std::atomic<std::uint64_t> bytesDone_ = 0;

    mutable std::mutex lock_;
    std::condition_variable jobsReady_;
    // The catalogs whose files are still to be scanned, in the order read; the
    // first one's files from `nextIndex_` on.
    std::deque<std::shared_ptr<Catalog>> catalogs_;
    std::size_t nextIndex_ = 0;
    bool catalogsRead_ = false;
    unsigned threadsLeft_ = 0;
    std::vector<SearchHit> hits_;
    std::vector<SearchFailure> failures_;
    SearchProgress progress_; // filesTotal and catalogsRead; the rest is counted above

    std::thread catalogReader_;
    std::vector<std::thread> workers_;
};
