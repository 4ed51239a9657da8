// Time from start to a usable window, measured side by side (interleaved
// runs, so that drifts of the machine hit both alike): with no QuickBox slots
// and with 1,000, for the main form and for -QI (scripts/bench-quickbox.sh);
// and this program against an earlier build of it (scripts/bench-startup.sh).
// Disabled: the scripts run them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string SlotSettings(int slots) {
    std::string ini = "[Settings]\r\n";
    if (slots > 0) ini += "StartupQuickBox=Slot " + std::to_string(slots) + "\r\n[QuickBox]\r\n";
    for (int n = 1; n <= slots; ++n)
        ini += "Slot " + std::to_string(n) + R"(="MessageBox(GetActiveWindow(), "Message number )" + std::to_string(n) +
               R"(", "Title", MB_OKCANCEL | MB_ICONWARNING);")" + "\r\n";
    return ini;
}

// Start to the window showing, with its contents (the list or the loaded slot)
// in place; then closes it.
double TimeToWindow(const TempDir& dir, bool quickInsert, int slots, std::vector<std::string> files = {}) {
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (quickInsert) files.insert(files.begin(), "-QI");
    App app(dir, files);
    HWND window = nullptr;
    WaitFor(
        [&] {
            window = quickInsert ? app.WaitWindow("Promptwright - QuickInsert", 0) : app.WaitWindow("Promptwright", 0);
            if (window == nullptr) return false;
            return quickInsert ? ListBoxCount(window, IDC_QI_LIST) == slots
                               : slots == 0 || Text(window, IDC_TEXT) == "Message number " + std::to_string(slots);
        },
        20000);
    QueryPerformanceCounter(&shown);
    EXPECT_NE(window, nullptr);
    if (window != nullptr) Close(window);
    EXPECT_EQ(app.WaitExit(), 0);
    return Milliseconds(start, shown);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

TEST(QuickBoxBench, DISABLED_TimeToWindowWithThousandSlots) {
    int repetitions = 7;
    if (const char* text = std::getenv("PW_BENCH_REPETITIONS")) repetitions = std::max(1, std::atoi(text));
    TempDir none, thousand;
    none.Write("promptwright.ini", SlotSettings(0));
    thousand.Write("promptwright.ini", SlotSettings(1000));
    for (const bool quickInsert : {false, true}) {
        std::vector<double> without, with;
        TimeToWindow(none, quickInsert, 0);  // warm-up: file cache, wineserver
        for (int i = 0; i < repetitions; ++i) {
            without.push_back(TimeToWindow(none, quickInsert, 0));
            with.push_back(TimeToWindow(thousand, quickInsert, 1000));
        }
        const double ratio = Median(with) / Median(without);
        std::printf("%-10s  0 slots: median %7.1f ms   1000 slots: median %7.1f ms   ratio %.2f  (%d runs each)\n",
                    quickInsert ? "-QI" : "main form", Median(without), Median(with), ratio, repetitions);
        for (std::size_t i = 0; i < without.size(); ++i)
            std::printf("            run %zu: %7.1f ms  %7.1f ms\n", i + 1, without[i], with[i]);
        std::fflush(stdout);
    }
}

// Which program App starts (it reads PW_EXE).
void UseProgram(const std::string& exe) { _putenv_s("PW_EXE", exe.c_str()); }

// PW_EXE against PW_BASELINE_EXE: the main form in each layout with a target
// file (so with the save warning's labels) and QuickInsert.
TEST(StartupBench, DISABLED_TimeToWindowAgainstBaseline) {
    const char* baselineExe = std::getenv("PW_BASELINE_EXE");
    const char* currentExe = std::getenv("PW_EXE");
    ASSERT_TRUE(baselineExe != nullptr && currentExe != nullptr) << "PW_EXE and PW_BASELINE_EXE";
    const std::string baseline = baselineExe, current = currentExe;
    int repetitions = 15;
    if (const char* text = std::getenv("PW_BENCH_REPETITIONS")) repetitions = std::max(1, std::atoi(text));
    TempDir simple, advanced;
    for (const TempDir* dir : {&simple, &advanced}) dir->Write("source.c", "/*MB*/\n");
    simple.Write("promptwright.ini", "[Settings]\r\n");
    advanced.Write("promptwright.ini", "[Settings]\r\nadvanced=1\r\n");
    struct Case {
        const char* name;
        const TempDir* dir;
        bool quickInsert;
    };
    for (const Case& c :
         {Case{"simple form", &simple, false}, Case{"advanced form", &advanced, false}, Case{"-QI", &simple, true}}) {
        std::vector<double> before, after;
        for (const std::string* exe : {&baseline, &current}) {  // warm-up: file cache, wineserver
            UseProgram(*exe);
            TimeToWindow(*c.dir, c.quickInsert, 0, {"source.c"});
        }
        // Each first every other time, so that neither always starts on a
        // machine the other has just warmed or loaded.
        std::vector<double> paired;
        for (int i = 0; i < repetitions; ++i) {
            for (const bool currentFirst : {i % 2 != 0, i % 2 == 0}) {
                UseProgram(currentFirst ? current : baseline);
                (currentFirst ? after : before).push_back(TimeToWindow(*c.dir, c.quickInsert, 0, {"source.c"}));
            }
            paired.push_back(after.back() / before.back());
        }
        std::printf(
            "%-14s baseline: median %7.1f ms   this build: median %7.1f ms   ratio %.3f, median of the "
            "pairs' own %.3f  (%d runs each)\n",
            c.name, Median(before), Median(after), Median(after) / Median(before), Median(paired), repetitions);
        std::fflush(stdout);
    }
    UseProgram(current);
}

}  // namespace
}  // namespace e2e
