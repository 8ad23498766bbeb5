#include "app/PrintFileSearch.h"

#include "app/CatalogLoading.h"
#include "app/MealCalcFolder.h"
#include "app/Sources.h"
#include "dbf/Dbf.h"
#include "memtable/loxMemTable.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "viewer/OpenFolder.h"
#include "viewer/PrintFileScanner.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <utility>

std::vector<Source> EverySource(const HostFolders& host) {
    std::vector<Source> every = sources::OfferedSources(host.appFolder);
    if (!MealCalcFolderSet(host.mealCalcFolder)) std::erase(every, Source::MealCalculations());
    return every;
}

PrintFileSearch::PrintFileSearch(std::vector<Source> sources, HostFolders host,
                                 std::u16string_view text, bool matchCase)
    : sources_(std::move(sources)), host_(std::move(host)),
      matcher_(text, matchCase, platform::OemDisplayTable()),
      workerCount_(std::max(2u, std::thread::hardware_concurrency())) {}

PrintFileSearch::~PrintFileSearch() {
    Stop();
}

void PrintFileSearch::Start() {
    if (catalogReader_.joinable() || finished_) return;
    if (Empty() || Impossible()) {
        progress_.catalogsRead = true;
        finished_ = true;
        return;
    }
    threadsLeft_ = workerCount_ + 1;
    catalogReader_ = std::thread([this] { ReadCatalogs(); });
    for (unsigned i = 0; i < workerCount_; ++i)
        workers_.emplace_back([this] { Work(); });
}

void PrintFileSearch::Stop() {
    {
        std::lock_guard guard(lock_);
        stop_ = true;
        if (!finished_) stopped_ = true;
    }
    jobsReady_.notify_all();
    Wait();
}

void PrintFileSearch::Wait() {
    if (catalogReader_.joinable()) catalogReader_.join();
    for (std::thread& worker : workers_)
        if (worker.joinable()) worker.join();
}

void PrintFileSearch::ThreadEnded() {
    std::lock_guard guard(lock_);
    if (--threadsLeft_ == 0) finished_ = true;
}

void PrintFileSearch::ReadCatalogs() {
    dbf::TDbf Dbf1;
    ConfigureCatalogTable(Dbf1);
    // Read in the catalog's own order, which is the order the files are searched in.
    const std::unique_ptr<memtable::TloxMemTable> PrnData = memtable::MakePrnDataInCatalogOrder();
    for (std::size_t index = 0; index < sources_.size() && !stop_; ++index) {
        const Source& source = sources_[index];
        const std::filesystem::path folder = source.ResolvedCatalogFolder(host_);
        if (!LoadCatalog(Dbf1, *PrnData, folder)) {
            Fail({SearchFailure::Kind::Catalog, index, {}, (folder / "ZOZTLS.DBF").string()});
            continue;
        }
        auto entries = std::make_shared<const std::vector<CatalogEntry>>(CatalogEntries(*PrnData));
        if (entries->empty()) continue;
        auto catalog = std::make_shared<Catalog>();
        catalog->source = index;
        // The folder is looked up once; a file by its name only when opening it fails.
        catalog->folderPath =
            platform::ResolveHostPath(source.PrintFileFolder(host_), host_.appFolder);
        catalog->entries = std::move(entries);
        {
            std::lock_guard guard(lock_);
            progress_.filesTotal += catalog->entries->size();
            catalogs_.push_back(std::move(catalog));
        }
        jobsReady_.notify_all();
    }
    {
        std::lock_guard guard(lock_);
        catalogsRead_ = true;
        progress_.catalogsRead = true;
    }
    jobsReady_.notify_all();
    ThreadEnded();
}

const OpenFolder& PrintFileSearch::Catalog::Folder() const {
    std::call_once(opened_, [this] { folder_ = std::make_unique<OpenFolder>(folderPath); });
    return *folder_;
}

bool PrintFileSearch::NextJob(FileJob& job) {
    std::unique_lock guard(lock_);
    jobsReady_.wait(guard, [this] { return stop_ || !catalogs_.empty() || catalogsRead_; });
    if (stop_ || catalogs_.empty()) return false;
    // The same catalog as the last file's mostly: its count is left alone then.
    if (job.catalog != catalogs_.front()) job.catalog = catalogs_.front();
    job.index = nextIndex_++;
    if (nextIndex_ == job.catalog->entries->size()) {
        catalogs_.pop_front();
        nextIndex_ = 0;
    }
    return true;
}

void PrintFileSearch::Work() {
    PrintFileScanner scanner(matcher_);
    FileJob job;
    while (NextJob(job))
        Scan(scanner, job);
    job = {};
    ThreadEnded();
}

void PrintFileSearch::Scan(PrintFileScanner& scanner, const FileJob& job) {
    const Catalog& catalog = *job.catalog;
    const CatalogEntry& entry = (*catalog.entries)[job.index];
    const int position = static_cast<int>(job.index) + 1;
    std::size_t kept = 0;
    // Small enough to be held without an allocation of its own.
    const auto add = [&](const ScanHit& hit) {
        // The hit shares the ownership of its catalog's entries.
        std::shared_ptr<const CatalogEntry> shown(catalog.entries, &entry);
        std::lock_guard guard(lock_);
        hits_.push_back({catalog.source, std::move(shown), position, hit.line, hit.column,
                         hit.length, hit.text, hit.textColumn});
        return ++kept < kHitsPerFile;
    };
    const std::function<bool(const ScanHit&)> onHit = [&add](const ScanHit& hit) {
        return add(hit);
    };
    const std::function<void(std::uint64_t)> onBytes = [this](std::uint64_t bytes) {
        bytesDone_ += bytes;
    };
    std::string plain = entry.FilName;
    std::replace(plain.begin(), plain.end(), '\\', '/');
    ScanReport report = scanner.Scan(catalog.Folder(), plain, onHit, &stop_, onBytes);
    if (report.outcome == ScanOutcome::Missing) {
        // The host may write the name in other letters than the catalog does.
        const std::filesystem::path found =
            sources_[catalog.source].ResolvedPrintFile(host_, entry.FilName);
        if (found != catalog.Folder().Path() / plain)
            report = scanner.Scan(found, onHit, &stop_, onBytes);
    }
    if (report.outcome == ScanOutcome::Stopped) return;
    if (report.outcome == ScanOutcome::Missing)
        Fail({SearchFailure::Kind::MissingFile, catalog.source, entry.FilName, report.reason});
    if (report.outcome == ScanOutcome::Unreadable)
        Fail({SearchFailure::Kind::UnreadableFile, catalog.source, entry.FilName, report.reason});
    ++filesDone_;
}

void PrintFileSearch::Fail(SearchFailure failure) {
    std::lock_guard guard(lock_);
    failures_.push_back(std::move(failure));
}

std::vector<SearchHit> PrintFileSearch::TakeHits() {
    std::lock_guard guard(lock_);
    return std::exchange(hits_, {});
}

std::vector<SearchFailure> PrintFileSearch::TakeFailures() {
    std::lock_guard guard(lock_);
    return std::exchange(failures_, {});
}

SearchProgress PrintFileSearch::Progress() const {
    // Files done before the total is read, so that they never exceed it.
    const std::size_t filesDone = filesDone_;
    SearchProgress progress;
    {
        std::lock_guard guard(lock_);
        progress = progress_;
    }
    progress.filesDone = filesDone;
    progress.bytesDone = bytesDone_;
    return progress;
}
