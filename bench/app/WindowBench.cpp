// The window on a catalog of 1,000, 10,000 and 100,000 entries: from its creation
// until it is shown with the list filled, and one "Obnov" on the shown window.
#include "app/Form1.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"
#include "tools/dbfwriter/CatalogTable.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <random>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A host folder whose current month lists `entries` print files, written the way
// the host writes them: in arrival order, names repeating, code page 852.
std::string HostFolder(int entries) {
    static std::map<int, fs::path> made;
    auto found = made.find(entries);
    if (found == made.end()) {
        const fs::path root =
            fs::temp_directory_path() / ("tlacsub-window-bench-" + std::to_string(entries));
        fs::create_directories(root / "Cis");
        fs::create_directories(root / "Tla");
        dbfwriter::DbfWriter writer(0x03, 0x64);
        dbfwriter::AddCatalogFields(writer);
        std::mt19937 random(11);
        for (int i = 0; i < entries; ++i) {
            const std::string name = "ZOST" + std::to_string(random() % 500);
            const int day = 1 + i * 28 / entries;
            writer.AddRecord()
                .Text("NAZOV", name)
                .Text("POPIS", "Mzdov\xA0 zostava " + std::to_string(i))
                .Date("DATUM", 2007, 12, day)
                .Text("CAS", std::to_string(random() % 24) + ":" + std::to_string(random() % 60))
                .Text("FILNAME", "T" + std::to_string(i) + ".PRN")
                .Integer("SIRKA", 80 + static_cast<int>(random() % 56))
                .Integer("DLZKA", 60);
        }
        writer.WriteTo(root / "Cis" / "ZOZTLS.DBF");
        found = made.emplace(entries, root).first;
    }
    return (found->second / "").string();
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The process's processor time, which other work on a shared machine does not inflate.
class CpuTime {
  public:
    CpuTime() : start_(std::clock()) {}
    void AddTo(benchmark::State& state) const {
        state.counters["cpu_ms"] = 1000.0 * double(std::clock() - start_) / CLOCKS_PER_SEC;
    }

  private:
    std::clock_t start_;
};

void BM_StartWindow(benchmark::State& state) {
    const std::string folder = HostFolder(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto start = Clock::now();
        const CpuTime cpu;
        auto form = std::make_unique<TForm1>(folder);
        form->show();
        QApplication::processEvents();
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
        form.reset();
        QApplication::processEvents();
    }
}

void BM_Refresh(benchmark::State& state) {
    const std::string folder = HostFolder(static_cast<int>(state.range(0)));
    TForm1 form(folder);
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        const auto start = Clock::now();
        const CpuTime cpu;
        form.BRefrClick(nullptr);
        QApplication::processEvents();
        state.SetIterationTime(Seconds(start));
        cpu.AddTo(state);
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond);
    b->Iterations(1);
}

BENCHMARK(BM_StartWindow)->Apply(Sizes);
BENCHMARK(BM_Refresh)->Apply(Sizes);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::SetUserLocale("sk_SK");
    platform::SetMachineCodePages(1250, 852);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (int entries : {1000, 10000, 100000})
        fs::remove_all(fs::temp_directory_path() /
                       ("tlacsub-window-bench-" + std::to_string(entries)));
    return 0;
}
