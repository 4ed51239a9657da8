// -PRINT of one of 1,000 QuickBox slots against the start and exit of a
// minimal MinGW program that writes one line, both with their output in a
// pipe, started in turns so that drifts of the machine hit both alike
// (scripts/bench-print.sh). Disabled: the script runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/console_run_win32.h"
#include "e2e/driver_win32.h"

namespace e2e {
namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TEST(CliBench, DISABLED_PrintOfThousandSlotsAgainstMinimalProgram) {
    int repetitions = 21;
    if (const char* text = std::getenv("PW_BENCH_REPETITIONS")) repetitions = std::max(1, std::atoi(text));
    TempDir dir;
    const std::string exe = dir.File("promptwright.exe");
    ASSERT_TRUE(CopyFileA(ProgramUnderTest().c_str(), exe.c_str(), FALSE));
    std::string ini = "[Settings]\r\n[QuickBox]\r\n";
    for (int n = 1; n <= 1000; ++n)
        ini += "Slot " + std::to_string(n) + "=\"MessageBox(GetActiveWindow(), \"Message number " + std::to_string(n) +
               "\", \"Title\", MB_OKCANCEL | MB_ICONWARNING);\"\r\n";
    dir.Write("promptwright.ini", ini);
    const std::string yardstick = OwnFolder() + "\\one_line.exe";

    ConsoleRunOptions options;
    options.watchWindows = false;
    const auto print = [&] {
        const ConsoleRun run = RunConsole(exe, {"-PRINT:Slot 1000"}, dir.path(), options);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_NE(run.output.find("Message number 1000"), std::string::npos);
        return run.milliseconds;
    };
    const auto oneLine = [&] {
        const ConsoleRun run = RunConsole(yardstick, {}, dir.path(), options);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_FALSE(run.output.empty());
        return run.milliseconds;
    };
    // PW_BENCH_ALSO: more programs timed in the same turns, to find where the
    // time goes: ';'-separated entries "PATH" or "PATH|ARGUMENT".
    std::vector<std::string> also;
    if (const char* list = std::getenv("PW_BENCH_ALSO"))
        for (std::string rest = list; !rest.empty();) {
            const std::size_t end = std::min(rest.find(';'), rest.size());
            also.push_back(rest.substr(0, end));
            rest.erase(0, std::min(end + 1, rest.size()));
        }
    std::vector<std::vector<double>> alsoTimes(also.size());
    for (int i = 0; i < 2; ++i) {  // warm-up: file cache, wineserver
        oneLine();
        print();
    }
    std::vector<double> minimal, printed;
    for (int i = 0; i < repetitions; ++i) {
        minimal.push_back(oneLine());
        printed.push_back(print());
        for (std::size_t k = 0; k < also.size(); ++k) {
            const std::size_t bar = also[k].find('|');
            std::vector<std::string> args;
            if (bar != std::string::npos) args.push_back(also[k].substr(bar + 1));
            alsoTimes[k].push_back(RunConsole(also[k].substr(0, bar), args, dir.path(), options).milliseconds);
        }
    }
    for (std::size_t k = 0; k < also.size(); ++k)
        std::printf("%s: median %6.1f ms\n", also[k].c_str(), Median(alsoTimes[k]));
    std::printf("minimal program: median %6.1f ms   -PRINT, 1000 slots: median %6.1f ms   ratio %.3f  (%d runs each)\n",
                Median(minimal), Median(printed), Median(printed) / Median(minimal), repetitions);
    std::printf("fastest: %6.1f ms  %6.1f ms\n", *std::min_element(minimal.begin(), minimal.end()),
                *std::min_element(printed.begin(), printed.end()));
    std::fflush(stdout);
}

}  // namespace
}  // namespace e2e
