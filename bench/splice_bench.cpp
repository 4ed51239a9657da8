// SpliceCode against a plain memcpy of the same bytes into a buffer that is
// already there. Texts of 1, 16 and 64 MiB of C-like source with markers
// spread evenly: 100,000 in 64 MiB, proportionally fewer in the smaller ones.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "core/output/splice.h"

#include "source_text.h"

namespace {

using bench::kCode;
using bench::kMarkers;
using bench::kMiB;
using bench::MakeSource;

const std::string& Source(std::size_t mib) {
    static std::string sources[65];
    if (sources[mib].empty()) sources[mib] = MakeSource(mib * kMiB);
    return sources[mib];
}

// An empty string whose capacity has been written once, as a buffer that is
// reused is: the first touch of fresh pages is not what is measured here.
std::string Touched(std::size_t capacity) {
    std::string s(capacity, '\0');
    s.clear();
    return s;
}

void BM_Memcpy(benchmark::State& state) {
    const std::string& source = Source(static_cast<std::size_t>(state.range(0)));
    std::string out(source.size(), '\0');
    for (auto _ : state) {
        std::memcpy(out.data(), source.data(), source.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// The occurrence list walked piece by piece into an output that is reused, as
// the source insertion does on its way to the file.
void BM_FindAndVisit(benchmark::State& state) {
    const std::string& source = Source(static_cast<std::size_t>(state.range(0)));
    std::string out = Touched(source.size() * 2);
    for (auto _ : state) {
        const std::vector<pw::MarkerOccurrence> occurrences = pw::FindMarkerOccurrences(source, kMarkers);
        out.clear();
        out.reserve(pw::SplicedSize(source.size(), kCode.size(), occurrences));
        pw::VisitSplicedText(kCode, source, occurrences, [&out](std::string_view piece) { out.append(piece); });
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// The search alone, counting what it finds: no list to allocate.
void BM_Find(benchmark::State& state) {
    struct Counter final : pw::OccurrenceSink {
        std::size_t found = 0;
        void Found(std::size_t, std::size_t) override { ++found; }
        void Settled(std::size_t) override {}
    };
    const std::string& source = Source(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        Counter counter;
        pw::FindMarkers(source, kMarkers, counter);
        benchmark::DoNotOptimize(counter.found);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// Into a separate string that is reused, as memcpy writes into its output.
void BM_SpliceInto(benchmark::State& state) {
    const std::string& source = Source(static_cast<std::size_t>(state.range(0)));
    std::string out = Touched(source.size() * 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(pw::SpliceCode(kCode, source, kMarkers, out));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// memcpy and a splice, taken in turns within one loop (each first every other
// time) so that both see the same machine: on a shared machine the other load
// comes and goes. `prepare` runs untimed before each splice. Reports the
// median time of each and the ratio of the medians.
template <typename Prepare, typename Splice>
void SideBySide(benchmark::State& state, const std::string& source, Prepare prepare, Splice splice) {
    std::string copy(source.size(), '\0');
    std::vector<double> copyTimes;
    std::vector<double> spliceTimes;
    using Clock = std::chrono::steady_clock;
    auto timed = [](auto&& work) {
        const auto start = Clock::now();
        work();
        benchmark::ClobberMemory();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    auto copyOnce = [&] { std::memcpy(copy.data(), source.data(), source.size()); };
    bool copyFirst = true;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        if (copyFirst) {
            copyTimes.push_back(timed(copyOnce));
            spliceTimes.push_back(timed(splice));
        } else {
            spliceTimes.push_back(timed(splice));
            copyTimes.push_back(timed(copyOnce));
        }
        copyFirst = !copyFirst;
    }
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    state.counters["memcpy_ms"] = median(copyTimes);
    state.counters["splice_ms"] = median(spliceTimes);
    state.counters["ratio"] = median(spliceTimes) / median(copyTimes);
}

// Into a reused string.
void BM_SideBySide(benchmark::State& state) {
    const std::string& source = Source(static_cast<std::size_t>(state.range(0)));
    std::string out = Touched(source.size() * 2);
    pw::SpliceCode(kCode, source, kMarkers, out);
    SideBySide(
        state, source, [] {}, [&] { benchmark::DoNotOptimize(pw::SpliceCode(kCode, source, kMarkers, out)); });
}

// In place, in a string with room for the result.
void BM_SideBySideInPlace(benchmark::State& state) {
    const std::string& source = Source(static_cast<std::size_t>(state.range(0)));
    std::string text = Touched(source.size() * 2);
    SideBySide(
        state, source, [&] { text.assign(source); },
        [&] { benchmark::DoNotOptimize(pw::SpliceCode(kCode, text, kMarkers)); });
}

// In place in a string with room for the result (no allocation).
void BM_SpliceInPlaceRoomy(benchmark::State& state) {
    const std::string& source = Source(static_cast<std::size_t>(state.range(0)));
    std::string text = Touched(source.size() * 2);
    for (auto _ : state) {
        state.PauseTiming();
        text.assign(source);
        state.ResumeTiming();
        benchmark::DoNotOptimize(pw::SpliceCode(kCode, text, kMarkers));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// In place in a string of exactly the source's size: the result needs a fresh
// allocation, whose pages are first touched by the splice.
void BM_SpliceInPlaceExact(benchmark::State& state) {
    const std::string& source = Source(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::string text(source);
        state.ResumeTiming();
        benchmark::DoNotOptimize(pw::SpliceCode(kCode, text, kMarkers));
        benchmark::ClobberMemory();
        state.PauseTiming();
        text = std::string();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

}  // namespace

BENCHMARK(BM_Memcpy)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpliceInto)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SideBySide)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SideBySideInPlace)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAndVisit)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpliceInPlaceRoomy)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpliceInPlaceExact)->Arg(1)->Arg(16)->Arg(64)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
