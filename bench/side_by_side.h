// Two pieces of work taken in turns within one benchmark loop (each first
// every other time), so that both see the same machine: on a shared machine
// the other load comes and goes. Reports the median time of each, under the
// names given, and the ratio of the second's median to the first's.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace bench {

template <typename Base, typename Work>
void SideBySide(benchmark::State& state, const std::string& baseName, Base base, const std::string& workName,
                Work work) {
    std::vector<double> baseTimes, workTimes;
    using Clock = std::chrono::steady_clock;
    auto timed = [](auto&& run) {
        const auto start = Clock::now();
        run();
        benchmark::ClobberMemory();
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    bool baseFirst = true;
    for (auto _ : state) {
        if (baseFirst) {
            baseTimes.push_back(timed(base));
            workTimes.push_back(timed(work));
        } else {
            workTimes.push_back(timed(work));
            baseTimes.push_back(timed(base));
        }
        baseFirst = !baseFirst;
    }
    auto median = [](std::vector<double> v) {
        std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    state.counters[baseName + "_ms"] = median(baseTimes);
    state.counters[workName + "_ms"] = median(workTimes);
    state.counters["ratio"] = median(workTimes) / median(baseTimes);
}

}  // namespace bench
