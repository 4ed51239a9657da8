// Time from start to a usable window with no QuickBox slots and with 1,000,
// for the main form and for -QI, measured side by side (interleaved runs, so
// that drifts of the machine hit both alike). Disabled: scripts/bench-quickbox.sh
// runs it.
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
        ini += "Slot " + std::to_string(n) + R"(="MessageBox(GetActiveWindow(), "Message number )" +
               std::to_string(n) + R"(", "Title", MB_OKCANCEL | MB_ICONWARNING);")" + "\r\n";
    return ini;
}

// Start to the window showing, with its contents (the list or the loaded slot)
// in place; then closes it.
double TimeToWindow(const TempDir& dir, bool quickInsert, int slots) {
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    App app(dir, quickInsert ? std::vector<std::string>{"-QI"} : std::vector<std::string>{});
    HWND window = nullptr;
    WaitFor([&] {
        window = quickInsert ? app.WaitWindow("Promptwright - QuickInsert", 0) : app.WaitWindow("Promptwright", 0);
        if (window == nullptr) return false;
        return quickInsert ? ListBoxCount(window, IDC_QI_LIST) == slots
                           : slots == 0 || Text(window, IDC_TEXT) == "Message number " + std::to_string(slots);
    }, 20000);
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

}  // namespace
}  // namespace e2e
