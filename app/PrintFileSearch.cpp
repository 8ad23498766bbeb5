#include "app/PrintFileSearch.h"

#include "app/CatalogLoading.h"
#include "app/MealCalcFolder.h"
#include "app/Sources.h"
#include "dbf/Dbf.h"
#include "memtable/loxMemTable.h"
#include "platform/CodePages.h"
#include "platform/Files.h"
#include "viewer/PrintFileScanner.h"

#include <algorithm>
#include <filesystem>
#include <iterator>
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
    for (std::size_t index = 0; index < sources_.size() && !stop_; ++index) {
        const Source& source = sources_[index];
        dbf::TDbf Dbf1;
        ConfigureCatalogTable(Dbf1);
        const std::unique_ptr<memtable::TloxMemTable> PrnData = memtable::MakePrnData();
        const std::filesystem::path folder = source.ResolvedCatalogFolder(host_);
        if (!LoadCatalog(Dbf1, *PrnData, folder)) {
            Fail({SearchFailure::Kind::Catalog, index, {}, (folder / "ZOZTLS.DBF").string()});
            continue;
        }
        PrnData->SetIndexName(""); // the catalog's own order
        // The folder is looked up once; a file by its name only when opening it fails.
        const std::filesystem::path printFiles =
            platform::ResolveHostPath(source.PrintFileFolder(host_), host_.appFolder);
        std::vector<FileJob> jobs;
        for (int position = 1; position <= PrnData->RecordTotal() && !stop_; ++position) {
            auto entry = std::make_shared<const CatalogEntry>(CatalogEntry::At(*PrnData, position));
            std::string name = entry->FilName;
            jobs.push_back({index, std::move(entry), position, printFiles, std::move(name)});
        }
        {
            std::lock_guard guard(lock_);
            progress_.filesTotal += jobs.size();
            std::move(jobs.begin(), jobs.end(), std::back_inserter(jobs_));
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

void PrintFileSearch::Work() {
    PrintFileScanner scanner(matcher_);
    for (;;) {
        FileJob job;
        {
            std::unique_lock guard(lock_);
            jobsReady_.wait(guard, [this] { return stop_ || !jobs_.empty() || catalogsRead_; });
            if (stop_ || jobs_.empty()) break;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        Scan(scanner, job);
    }
    ThreadEnded();
}

void PrintFileSearch::Scan(PrintFileScanner& scanner, const FileJob& job) {
    std::size_t kept = 0;
    const auto scan = [&](const std::filesystem::path& file) {
        return scanner.Scan(
            file,
            [&](const ScanHit& hit) {
                std::lock_guard guard(lock_);
                hits_.push_back({job.source, job.entry, job.position, hit.line, hit.column,
                                 hit.length, hit.text, hit.textColumn});
                return ++kept < kHitsPerFile;
            },
            &stop_,
            [this](std::uint64_t bytes) {
                std::lock_guard guard(lock_);
                progress_.bytesDone += bytes;
            });
    };
    std::string plain = job.name;
    std::replace(plain.begin(), plain.end(), '\\', '/');
    const std::filesystem::path exact = job.folder / plain;
    ScanReport report = scan(exact);
    if (report.outcome == ScanOutcome::Missing) {
        // The host may write the name in other letters than the catalog does.
        const std::filesystem::path found = sources_[job.source].ResolvedPrintFile(host_, job.name);
        if (found != exact) report = scan(found);
    }
    if (report.outcome == ScanOutcome::Stopped) return;
    if (report.outcome == ScanOutcome::Missing)
        Fail({SearchFailure::Kind::MissingFile, job.source, job.name, report.reason});
    if (report.outcome == ScanOutcome::Unreadable)
        Fail({SearchFailure::Kind::UnreadableFile, job.source, job.name, report.reason});
    std::lock_guard guard(lock_);
    ++progress_.filesDone;
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
    std::lock_guard guard(lock_);
    return progress_;
}
