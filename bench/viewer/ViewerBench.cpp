// Loading print files of 1, 10 and 100 MB into the line store, painting a full
// viewer window at the top, middle and end of the 100 MB file, and copying all
// of a loaded file to the clipboard.
#include "viewer/MemoEx.h"

#include "bench/support/BenchRun.h"
#include "bench/support/SampleFiles.h"
#include "bench/support/TempFolder.h"
#include "platform/CodePages.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

// A print file like the host writes: 132-column report lines in code page 852
// (or Kamenický, 895), CR LF line ends, a form feed every 60 lines.
fs::path PrintFile(int megabytes, int codePage = 852) {
    static const bench::TempFolder folder("viewer-bench");
    static std::map<std::pair<int, int>, fs::path> made;
    auto found = made.find({megabytes, codePage});
    if (found != made.end()) return found->second;
    const fs::path path =
        folder.Path() / (std::to_string(megabytes) + "mb-" + std::to_string(codePage) + ".txt");
    const std::string text = bench::PrintFileText(megabytes, codePage);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    made.emplace(std::make_pair(megabytes, codePage), path);
    return path;
}

// The second argument of the load and copy benchmarks is the OEM code page,
// so that Kamenický (895), converted by the tool's own table, compares with 852.
int OemPageOf(const benchmark::State& state) {
    const int codePage = static_cast<int>(state.range(1));
    platform::SetMachineCodePages(1250, codePage);
    return codePage;
}

long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string name;
    long value = 0;
    while (status >> name) {
        if (name == field) {
            status >> value;
            return value;
        }
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

// Starts a new peak-memory measurement from the current resident size.
void ResetPeak() {
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f) return;
    std::fputs("5", f);
    std::fclose(f);
}

void BM_LoadFile(benchmark::State& state) {
    const int megabytes = static_cast<int>(state.range(0));
    const fs::path path = PrintFile(megabytes, OemPageOf(state));
    const double size = static_cast<double>(fs::file_size(path));
    double worstRatio = 0;
    int lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<TMemoExStrings>();
        const long before = StatusKilobytes("VmRSS:");
        ResetPeak();
        state.ResumeTiming();
        store->LoadFile(path.string());
        state.PauseTiming();
        lines = store->LineCount();
        const double peak = static_cast<double>(StatusKilobytes("VmHWM:") - before) * 1024.0;
        worstRatio = std::max(worstRatio, peak / size);
        store.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
    state.counters["lines"] = lines;
    state.counters["peak_mem_per_file_byte"] = worstRatio;
}
BENCHMARK(BM_LoadFile)
    ->Args({1, 852})
    ->Args({10, 852})
    ->Args({100, 852})
    ->Args({10, 895})
    ->Args({100, 895})
    ->Unit(benchmark::kMillisecond);

// Paints the whole window with the attributes recomputed, as after a zoom.
void BM_PaintWindow(benchmark::State& state) {
    platform::SetMachineCodePages(1250, 852);
    static TMemoEx* memo = [] {
        auto* m = new TMemoEx;
        m->UsePreviewSettings();
        m->resize(1000, 700);
        m->Lines().LoadFile(PrintFile(100).string());
        return m;
    }();
    const int lines = memo->Lines().LineCount();
    const int rows = memo->VisibleRowCount();
    const int top = state.range(0) == 0 ? 0 : state.range(0) == 1 ? lines / 2 : lines - rows;
    memo->ScrollToRow(top);
    QImage image(memo->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        memo->SetColor(memo->Color());
        memo->viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["top_row"] = memo->TopRow();
    state.counters["rows"] = memo->VisibleRowCount();
}
BENCHMARK(BM_PaintWindow)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Selects all of a loaded file and copies it; the peak counts what the copy
// needs beyond the loaded lines, per byte selected.
void BM_CopyAll(benchmark::State& state) {
    const int megabytes = static_cast<int>(state.range(0));
    TMemoEx memo;
    memo.Lines().LoadFile(PrintFile(megabytes, OemPageOf(state)).string());
    memo.SelectAll();
    const double size = static_cast<double>(memo.SelectedText().size());
    double worstRatio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QApplication::clipboard()->clear();
        const long before = StatusKilobytes("VmRSS:");
        ResetPeak();
        state.ResumeTiming();
        memo.CopyToClipboard();
        state.PauseTiming();
        const double peak = static_cast<double>(StatusKilobytes("VmHWM:") - before) * 1024.0;
        worstRatio = std::max(worstRatio, peak / size);
        state.ResumeTiming();
    }
    QApplication::clipboard()->clear();
    state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
    state.counters["peak_mem_per_selected_byte"] = worstRatio;
}
BENCHMARK(BM_CopyAll)
    ->Args({10, 852})
    ->Args({100, 852})
    ->Args({10, 895})
    ->Args({100, 895})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Large blocks come straight from the system and go back to it, so the
    // resident-size peak shows what one load needs.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    platform::SetMachineCodePages(1250, 852);
    return bench::RunWithApplication<QApplication>(argc, argv);
}
