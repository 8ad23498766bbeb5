// Searching a whole archive: 120 months of 200 print files of 50 KB (about
// 1.2 GB), made once in a cache folder and read from the page cache. Beside
// it, the same run times `LC_ALL=C grep -rFc` of an ASCII word over the same
// files; also the time to the first result when the text is in the month
// searched first, and one 1 GB print file scanned with the memory it costs.
//
// The archive is kept in $TLACSUB_BENCH_CACHE, else $XDG_CACHE_HOME/tlacsub-bench,
// else ~/.cache/tlacsub-bench, and made again only when it is not complete.
#include "app/PrintFileSearch.h"
#include "bench/support/BenchRun.h"
#include "bench/support/SampleFiles.h"
#include "bench/support/Timing.h"
#include "platform/CodePages.h"
#include "viewer/PrintFileScanner.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr int kMonths = 120;
constexpr int kFilesPerMonth = 200;
constexpr std::size_t kFileSize = 50 * 1024;
// In the first file of the month searched first, and nowhere else.
constexpr char16_t kPresent[] = u"Šťastný Ján";

fs::path CacheFolder() {
    if (const char* set = std::getenv("TLACSUB_BENCH_CACHE"); set && *set) return set;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
        return fs::path(xdg) / "tlacsub-bench";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".cache" / "tlacsub-bench";
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

// The host folder with the archive under Zal, made once.
const fs::path& Archive() {
    static const fs::path host = [] {
        const fs::path root = CacheFolder() / "archive-120x200x50k";
        const fs::path done = root / "complete";
        if (fs::exists(done)) return root;
        fs::remove_all(root);
        const std::string text = bench::PrintFileText(1).substr(0, kFileSize);
        const std::string first =
            *platform::Utf16ToCodePage(852, std::u16string(kPresent) + u"\r\n") +
            text.substr(0, kFileSize - 14);
        std::fprintf(stderr, "Making the archive in %s ...\n", root.c_str());
        for (int month = 0; month < kMonths; ++month) {
            // Obd0MM to Obd9MM: the host keeps one digit of the year.
            char name[8];
            std::snprintf(name, sizeof name, "Obd%d%02d", month / 12, month % 12 + 1);
            const fs::path folder = root / "Zal" / name / "Tla";
            fs::create_directories(folder);
            bench::WriteCatalog(folder / "ZOZTLS.DBF", kFilesPerMonth,
                                bench::CatalogDates::RisingThroughDecember);
            for (int i = 0; i < kFilesPerMonth; ++i)
                WriteBytes(folder / ("T" + std::to_string(i) + ".PRN"),
                           month == kMonths - 1 && i == 0 ? first : text);
        }
        fs::create_directories(root / "Cis");
        WriteBytes(done, "");
        return root;
    }();
    return host;
}

std::string AppFolder() {
    return Archive().string() + "/";
}

HostFolders Host() {
    return {AppFolder(), ""};
}

std::uint64_t ArchiveBytes() {
    return std::uint64_t{kMonths} * kFilesPerMonth * kFileSize;
}

void SearchEveryMonthForATextNotThere(benchmark::State& state) {
    const std::vector<Source> sources = EverySource(Host());
    std::size_t found = 0;
    const std::clock_t cpu = std::clock(); // every thread of the process
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        PrintFileSearch search(sources, Host(), u"Žltý kôň", false);
        search.Start();
        search.Wait();
        state.SetIterationTime(bench::Seconds(start));
        found = search.TakeHits().size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(ArchiveBytes()) * state.iterations());
    state.counters["cpu_ms"] =
        benchmark::Counter(1000.0 * static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC,
                           benchmark::Counter::kAvgIterations);
    state.counters["found"] = static_cast<double>(found);
    state.counters["threads"] = std::max(2u, std::thread::hardware_concurrency());
}
BENCHMARK(SearchEveryMonthForATextNotThere)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same files, one grep process, an ASCII word that is not there.
void GrepEveryMonthForAWordNotThere(benchmark::State& state) {
    const std::string command =
        "LC_ALL=C grep -rFc ZLTYKON '" + (Archive() / "Zal").string() + "' > /dev/null";
    rusage before{};
    getrusage(RUSAGE_CHILDREN, &before);
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        const int status = std::system(command.c_str());
        state.SetIterationTime(bench::Seconds(start));
        if (status == -1) state.SkipWithError("grep could not be run");
    }
    // The processor time of grep (and its shell), as cpu_ms is of the search.
    rusage after{};
    getrusage(RUSAGE_CHILDREN, &after);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    state.counters["cpu_ms"] = benchmark::Counter(ms(after.ru_utime) + ms(after.ru_stime) -
                                                      ms(before.ru_utime) - ms(before.ru_stime),
                                                  benchmark::Counter::kAvgIterations);
    state.SetBytesProcessed(static_cast<std::int64_t>(ArchiveBytes()) * state.iterations());
}
BENCHMARK(GrepEveryMonthForAWordNotThere)->UseManualTime()->Unit(benchmark::kMillisecond);

// From Start to the first match in hand, as the pane polls for it.
void FirstResultFromTheMonthSearchedFirst(benchmark::State& state) {
    const std::vector<Source> sources = EverySource(Host());
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        PrintFileSearch search(sources, Host(), kPresent, false);
        search.Start();
        while (search.TakeHits().empty() && !search.Finished())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        state.SetIterationTime(bench::Seconds(start));
        search.Stop();
    }
}
BENCHMARK(FirstResultFromTheMonthSearchedFirst)->UseManualTime()->Unit(benchmark::kMillisecond);

// One print file of 1 GB, read a piece at a time: the bytes it costs beside the file.
void ScanOneGigabyteFile(benchmark::State& state) {
    const fs::path file = CacheFolder() / "one-gigabyte.prn";
    if (!fs::exists(file) || fs::file_size(file) < (std::uint64_t{1} << 30)) {
        fs::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        const std::string text = bench::PrintFileText(64);
        for (int i = 0; i < 16; ++i)
            out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    const ByteClassMatcher matcher(u"Žltý kôň", false, platform::OemDisplayTable());
    PrintFileScanner scanner(matcher);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    std::uint64_t bytes = 0;
    for (auto _ : state) {
        const bench::Clock::time_point start = bench::Clock::now();
        bytes = scanner.Scan(file, [](const ScanHit&) { return true; }).bytes;
        state.SetIterationTime(bench::Seconds(start));
    }
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    state.counters["peak_rss_growth_kb"] = static_cast<double>(after.ru_maxrss - before.ru_maxrss);
    state.counters["peak_rss_kb"] = static_cast<double>(after.ru_maxrss);
}
BENCHMARK(ScanOneGigabyteFile)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::SetSlovakMachine();
    return bench::RunBenchmarks(argc, argv);
}
