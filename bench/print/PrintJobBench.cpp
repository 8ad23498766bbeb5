// A 1,000-page report: laid out on the recording surface (the job's own cost),
// printed to a PDF printer of a private CUPS scheduler until the scheduler has
// accepted the job, and kept as a PDF file; beside them the usual text-to-PDF
// pipeline, enscript | ps2pdf, on the same text in the same run.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/print/PdfFileSurface.h"
#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "app/print/RecordingSurface.h"
#include "bench/support/BenchRun.h"
#include "bench/support/TempFolder.h"
#include "platform/CodePages.h"
#include "tests/print/PrivateCups.h"
#include "viewer/MemoExStrings.h"

namespace {

constexpr int kPages = 1000;
constexpr int kDlzka = 60; // a page holds 62 lines

// The report's text, OEM bytes with CR LF line ends.
const std::string& ReportText() {
    static std::string text;
    if (!text.empty()) return text;
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
    return text;
}

// The report in the viewer's line store, as the window hands it to the job.
const TMemoExStrings& Report() {
    static TMemoExStrings store;
    if (store.LineCount() == 0) store.SetFullText(ReportText());
    return store;
}

const std::filesystem::path& BenchFolder() {
    static const bench::TempFolder folder("tlacsub-print-bench");
    return folder.Path();
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

void SaveAsPdfFile(benchmark::State& state) {
    const TMemoExStrings& report = Report();
    const std::filesystem::path file = BenchFolder() / "report.pdf";
    for (auto _ : state) {
        print::PdfFileSurface surface(file, print::A4Paper());
        const auto result = print::RunPrintJob(surface, report, kInput);
        if (result.sheets != kPages) state.SkipWithError("wrong number of sheets");
    }
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(kPages),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(SaveAsPdfFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same text through enscript and ghostscript's ps2pdf, 62 lines a page.
void EnscriptPs2Pdf(benchmark::State& state) {
    if (std::system("command -v enscript >/dev/null && command -v ps2pdf >/dev/null") != 0) {
        state.SkipWithError("enscript or ps2pdf is missing (scripts/install-packages bench)");
        return;
    }
    const std::filesystem::path text = BenchFolder() / "report.txt";
    {
        // In the ANSI code page, the nearest to the Latin-2 that enscript knows.
        std::ofstream out(text, std::ios::binary);
        out << platform::OemToAnsi(ReportText());
    }
    const std::string command =
        "enscript -q -B -X latin2 -f Courier-Bold9 --lines-per-page=62 -p - " + text.string() +
        " | ps2pdf - " + (BenchFolder() / "enscript.pdf").string();
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("enscript | ps2pdf failed");
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(kPages),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(EnscriptPs2Pdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    platform::SetMachineCodePages(1250, 852);
    return bench::RunWithApplication<QGuiApplication>(argc, argv);
}
