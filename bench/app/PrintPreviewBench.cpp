// The print preview of a 1,000-page report: laying it out (on a worker thread
// in the window), the copy of the lines shown that the window thread makes,
// the time until the first sheet is painted, and what the window thread spends
// painting a sheet and moving to the last one.
#include "app/PreviewLayout.h"
#include "app/SheetView.h"
#include "app/print/Paper.h"
#include "bench/support/BenchRun.h"
#include "bench/support/TempFolder.h"
#include "bench/support/Timing.h"
#include "viewer/MemoExStrings.h"

#include <QApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

using bench::Clock;
using bench::CpuTime;
using bench::Seconds;

constexpr int kPages = 1000;
constexpr int kDlzka = 60; // a page holds 62 lines

// The report on disk: 62 lines a page, 80 columns, OEM bytes, no form feeds.
const std::filesystem::path& ReportFile() {
    static const bench::TempFolder folder("tlacsub-preview-bench");
    static const std::filesystem::path file = [] {
        const std::filesystem::path path = folder.Path() / "ZOSTAVA.PRN";
        std::ofstream out(path, std::ios::binary);
        for (int page = 1; page <= kPages; ++page) {
            out << "ZOSTAVA MIEZD                                   STRANA " << page << "\r\n";
            out << std::string(80, '\xC4') << "\r\n";
            for (int row = 3; row <= kDlzka + 2; ++row)
                out << "  " << page * 100 + row << "  NOVAK JAN             1234,50   \x9F"
                    << "as\x82 " << row << "\r\n";
        }
        return path;
    }();
    return file;
}

PrintRequest Request() {
    CatalogEntry entry;
    entry.Nazov = "ZOSTAVA";
    entry.FilName = "ZOSTAVA.PRN";
    entry.Sirka = 80;
    entry.Dlzka = kDlzka;
    return {entry, ReportFile(), {}, true, PrintDestination::DefaultPrinter()};
}

// The report laid out once, for the painting benchmarks.
const PreviewPages& LaidOut() {
    static const PreviewPages pages = [] {
        TMemoExStrings lines;
        return LayOutPreview(Request(), print::A4Paper(), lines, LineSource::PrintFile);
    }();
    return pages;
}

void CheckSheets(benchmark::State& state, const PreviewPages& pages) {
    if (pages.SheetCount() != kPages) state.SkipWithError(pages.outcome.message.c_str());
}

// Reading the file and laying all its pages out: the worker's part.
void BM_LayOutReport(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = Clock::now();
        const CpuTime cpu;
        TMemoExStrings lines;
        const PreviewPages pages =
            LayOutPreview(Request(), print::A4Paper(), lines, LineSource::PrintFile);
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
        CheckSheets(state, pages);
    }
}

// On the preview page the window thread copies the lines shown for the worker.
void BM_CopyShownLines(benchmark::State& state) {
    TMemoExStrings shown;
    shown.LoadFile(ReportFile().string());
    for (auto _ : state) {
        const auto start = Clock::now();
        TMemoExStrings copy;
        copy.SetFullText(shown.FullText());
        state.SetIterationTime(Seconds(start));
        benchmark::DoNotOptimize(copy.LineCount());
    }
}

// A preview window's sheet at a usual size.
std::unique_ptr<SheetView> ShownView() {
    auto view = std::make_unique<SheetView>();
    view->resize(800, 1000);
    view->show();
    QApplication::processEvents();
    return view;
}

// From the request until the first sheet is painted: lay out, then paint.
void BM_ShowFirstSheet(benchmark::State& state) {
    auto view = ShownView();
    for (auto _ : state) {
        const auto start = Clock::now();
        TMemoExStrings lines;
        const PreviewPages pages =
            LayOutPreview(Request(), print::A4Paper(), lines, LineSource::PrintFile);
        view->SetSheets(pages.sheets);
        view->viewport()->repaint();
        state.SetIterationTime(Seconds(start));
        CheckSheets(state, pages);
    }
}

// What the window thread spends painting one sheet, at each zoom: the whole
// page (arg 0), the page's width (1), and 200 % (2).
void BM_PaintSheet(benchmark::State& state) {
    CheckSheets(state, LaidOut());
    auto view = ShownView();
    view->SetSheets(LaidOut().sheets);
    if (state.range(0) == 1) view->FitPageWidth();
    if (state.range(0) == 2)
        while (view->ShownScale() < 1.99)
            view->ZoomIn();
    for (auto _ : state) {
        const auto start = Clock::now();
        view->viewport()->repaint();
        state.SetIterationTime(Seconds(start));
    }
}

// From the first sheet to the last, painted: what the window waits for "Posledný".
void BM_MoveToLastSheet(benchmark::State& state) {
    CheckSheets(state, LaidOut());
    auto view = ShownView();
    view->SetSheets(LaidOut().sheets);
    for (auto _ : state) {
        view->ShowSheet(0);
        view->viewport()->repaint();
        const auto start = Clock::now();
        view->ShowSheet(view->SheetCount() - 1);
        view->viewport()->repaint();
        state.SetIterationTime(Seconds(start));
    }
}

BENCHMARK(BM_LayOutReport)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_CopyShownLines)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ShowFirstSheet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_PaintSheet)->DenseRange(0, 2)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveToLastSheet)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::SetSlovakMachine();
    return bench::RunWithApplication<QApplication>(argc, argv);
}
