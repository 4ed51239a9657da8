// The call at a place in a 1 MiB source (target: under 5 ms), at the end of
// the file, where the finder reads it all; and every call of 16 MiB, as
// -LIST:CALLS finds them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "core/codeparse/call_finder.h"
#include "source_text.h"

namespace {

void BM_FindCallAtEndOf1MiB(benchmark::State& state) {
    const std::string source = bench::MakeSource(bench::kMiB);
    const std::size_t lines = static_cast<std::size_t>(std::count(source.begin(), source.end(), '\n'));
    // The last line with a call.
    std::size_t line = lines;
    while (line > 0 && !pw::FindCallAt(source, line, 0)) --line;
    for (auto _ : state) benchmark::DoNotOptimize(pw::FindCallAt(source, line, 9));
    state.counters["line"] = static_cast<double>(line);
}
BENCHMARK(BM_FindCallAtEndOf1MiB)->Unit(benchmark::kMillisecond);

void BM_FindCalls(benchmark::State& state) {
    const std::string source = bench::MakeSource(static_cast<std::size_t>(state.range(0)) * bench::kMiB);
    std::size_t calls = 0;
    for (auto _ : state) {
        calls = pw::FindCalls(source).size();
        benchmark::DoNotOptimize(calls);
    }
    state.counters["calls"] = static_cast<double>(calls);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(source.size()));
}
BENCHMARK(BM_FindCalls)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
