// Finding text in print files of 1, 10 and 100 MB: the whole file is scanned,
// since the text is not in it, once ignoring letter case (the bar's default)
// and once with case, and once for a text that starts with a common letter;
// and 200 MB of rules searched for a rule that is not there.
#include "viewer/TextSearch.h"

#include "bench/support/BenchRun.h"
#include "bench/support/SampleFiles.h"
#include "platform/CodePages.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

namespace {

// 132-column report lines in code page 852, CR LF, a form feed every 60 lines.
const TMemoExStrings& PrintFile(int megabytes) {
    static std::map<int, std::unique_ptr<TMemoExStrings>> made;
    auto& store = made[megabytes];
    if (store) return *store;
    store = std::make_unique<TMemoExStrings>();
    store->SetFullText(bench::PrintFileText(megabytes));
    return *store;
}

void Search(benchmark::State& state, const std::u16string& needle, bool matchCase) {
    const TMemoExStrings& lines = PrintFile(static_cast<int>(state.range(0)));
    const TextSearch search(needle, matchCase, platform::OemDisplayTable());
    std::size_t bytes = 0;
    for (int i = 0; i < lines.LineCount(); ++i)
        bytes += lines.LineAt(i).size();
    bool found = false;
    for (auto _ : state) {
        const FindResult result = search.Find(lines, TextPoint{0, 0}, SearchDirection::Forward);
        found = result.match.has_value();
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["found"] = found;
}

void BM_FindAbsentIgnoringCase(benchmark::State& state) {
    Search(state, u"Žltý kôň", false);
}
void BM_FindAbsentMatchingCase(benchmark::State& state) {
    Search(state, u"Žltý kôň", true);
}
// Every line holds many 'á' and 'Á' would match too: most bytes start a candidate.
void BM_FindAbsentCommonFirstLetter(benchmark::State& state) {
    Search(state, u"áno", false);
}
// The worst case of a character-by-character search: rules of '=' and 40 '='
// and an 'x', so that every place matches 40 characters before it fails.
void BM_FindAbsentRuleInRules(benchmark::State& state) {
    static TMemoExStrings rules;
    const std::size_t size = static_cast<std::size_t>(state.range(0)) << 20;
    if (rules.LineCount() == 0) {
        std::string text;
        text.reserve(size + 200);
        while (text.size() < size)
            text += std::string(132, '=') + "\r\n";
        rules.SetFullText(text);
    }
    const TextSearch search(std::u16string(40, u'=') + u"x", false, platform::OemDisplayTable());
    for (auto _ : state)
        benchmark::DoNotOptimize(search.Find(rules, TextPoint{0, 0}, SearchDirection::Forward));
    state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
}

void BM_FindAbsentBackward(benchmark::State& state) {
    const TMemoExStrings& lines = PrintFile(static_cast<int>(state.range(0)));
    const TextSearch search(u"Žltý kôň", false, platform::OemDisplayTable());
    for (auto _ : state)
        benchmark::DoNotOptimize(search.Find(lines, TextPoint{0, 0}, SearchDirection::Backward));
}

BENCHMARK(BM_FindAbsentIgnoringCase)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAbsentMatchingCase)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAbsentCommonFirstLetter)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAbsentRuleInRules)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAbsentBackward)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    bench::SetSlovakMachine();
    return bench::RunBenchmarks(argc, argv);
}
