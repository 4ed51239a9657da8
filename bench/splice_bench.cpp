// The splice Insert in source runs, on texts of 1, 16 and 64 MiB of C-like
// source with markers spread evenly (100,000 in 64 MiB, proportionally fewer
// in the smaller ones): the marker search that every insertion runs, and the
// whole new text that clipboard mode 3 builds. Each is timed in turns with a
// copy of the same bytes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "core/output/splice.h"

#include "side_by_side.h"
#include "source_text.h"

namespace {

using bench::kCode;
using bench::kMarkers;
using bench::kMiB;
using bench::MakeSource;

std::string Source(const benchmark::State& state) {
    return MakeSource(static_cast<std::size_t>(state.range(0)) * kMiB);
}

void BM_Memcpy(benchmark::State& state) {
    const std::string source = Source(state);
    std::string out(source.size(), '\0');
    for (auto _ : state) {
        std::memcpy(out.data(), source.data(), source.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// The search as every insertion runs it, its list included.
void BM_FindMarkerOccurrences(benchmark::State& state) {
    const std::string source = Source(state);
    const auto search = static_cast<pw::MarkerSearch>(state.range(1));
    for (auto _ : state) {
        benchmark::DoNotOptimize(pw::FindMarkerOccurrences(source, kMarkers, search));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// The search and the whole new text in a fresh string, as clipboard mode 3
// builds it.
void BM_SpliceCode(benchmark::State& state) {
    const std::string source = Source(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(pw::SpliceCode(kCode, source, pw::FindMarkerOccurrences(source, kMarkers)));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// The search against memcpy of the text into a buffer already there.
void BM_FindSideBySide(benchmark::State& state) {
    const std::string source = Source(state);
    std::string out(source.size(), '\0');
    bench::SideBySide(
        state, "copy",
        [&] {
            std::memcpy(out.data(), source.data(), source.size());
            benchmark::DoNotOptimize(out.data());
        },
        "splice", [&] { benchmark::DoNotOptimize(pw::FindMarkerOccurrences(source, kMarkers)); });
}

// The search and the new text against copying the text into a fresh string:
// both pay for fresh memory.
void BM_SpliceSideBySide(benchmark::State& state) {
    const std::string source = Source(state);
    bench::SideBySide(
        state, "copy", [&] { benchmark::DoNotOptimize(std::string(source)); }, "splice",
        [&] { benchmark::DoNotOptimize(pw::SpliceCode(kCode, source, pw::FindMarkerOccurrences(source, kMarkers))); });
}

constexpr auto kFastest = static_cast<int64_t>(pw::MarkerSearch::Fastest);
constexpr auto kPortable = static_cast<int64_t>(pw::MarkerSearch::Portable);

}  // namespace

BENCHMARK(BM_Memcpy)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindMarkerOccurrences)
    ->ArgsProduct({{1, 16, 64}, {kFastest, kPortable}})
    ->ArgNames({"MiB", "portable"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpliceCode)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindSideBySide)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpliceSideBySide)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
