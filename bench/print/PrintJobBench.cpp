// A 1,000-page report: laid out on the recording surface (the job's own cost),
// and printed to a PDF printer of a private CUPS scheduler until the job has
// been handed over.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <string>

#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "app/print/RecordingSurface.h"
#include "platform/CodePages.h"
#include "tests/print/PrivateCups.h"
#include "viewer/MemoExStrings.h"

namespace {

constexpr int kPages = 1000;
constexpr int kDlzka = 60; // a page holds 62 lines

// The report in the viewer's line store, as the window hands it to the job.
const TMemoExStrings& Report() {
    static TMemoExStrings store;
    if (store.LineCount() > 0) return store;
    std::string text;
    for (int page = 1; page <= kPages; ++page) {
        text += "ZOSTAVA MIEZD                                   STRANA " + std::to_string(page) +
                "\r\n";
        text += std::string(80, '\xC4') + "\r\n";
        for (int row = 3; row <= kDlzka + 2; ++row)
            text += "  " + std::to_string(page * 100 + row) +
                    "  NOVAK JAN             1234,50   \x9F"
                    "as\x82 " +
                    std::to_string(row) + "\r\n";
    }
    store.SetFullText(text);
    return store;
}

const print::PrintJobInput kInput{"   1", "9999", 80, kDlzka, true};

void LayoutOnRecordingSurface(benchmark::State& state) {
    const TMemoExStrings& report = Report();
    for (auto _ : state) {
        print::RecordingSurface surface;
        const auto result = print::RunPrintJob(surface, report, kInput);
        if (result.sheets != kPages) state.SkipWithError("wrong number of sheets");
        benchmark::DoNotOptimize(surface.Sheets().data());
    }
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(kPages),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(LayoutOnRecordingSurface)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintToPdfPrinter(benchmark::State& state) {
    testing_cups::PrivateCups* cups = nullptr;
    try {
        cups = &testing_cups::PrivateCups::ForThisProcess();
        cups->AddPdfPrinter("tlacsub-bench", cups->Folder() / "out" / "bench.pdf");
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return;
    }
    const TMemoExStrings& report = Report();
    print::PrinterSurface surface;
    for (auto _ : state) {
        const auto result = print::RunPrintJob(surface, report, kInput);
        if (result.sheets != kPages) state.SkipWithError("wrong number of sheets");
        state.PauseTiming();
        // The scheduler's own work on the file is not the job's; let it finish between rounds.
        if (!cups->WaitUntilIdle()) state.SkipWithError("the scheduler did not finish the job");
        state.ResumeTiming();
    }
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(kPages),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(PrintToPdfPrinter)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    platform::SetMachineCodePages(1250, 852);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
