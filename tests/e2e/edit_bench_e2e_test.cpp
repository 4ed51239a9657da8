// -EDIT and -LIST:CALLS timed as whole processes (scripts/bench-edit.sh):
// -EDIT to a ready form against the plain start-up of the same program,
// side by side in one run; -LIST:CALLS over 64 MiB of sources. Disabled: the
// script runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/console_run_win32.h"
#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Repetitions(int fallback) {
    const char* text = std::getenv("PW_BENCH_REPETITIONS");
    return text ? std::max(1, std::atoi(text)) : fallback;
}

// C source of about `size` bytes, a message-box call every 100 lines or so
// (a quarter of them in a context), CR LF lines; `calls` counts them.
std::string MakeSource(std::size_t size, std::size_t& calls) {
    static const char* const kLines[] = {
        "    /* Count the entries that are still open. */\r\n",
        "    for (int i = 0; i < count; ++i) {\r\n",
        "        if (items[i].state == STATE_OPEN) ++open; // still in use\r\n",
        "    }\r\n",
        "    total = (total * 31 + open) % 1000003;\r\n",
        "    printf(\"%d entries, \\\"%s\\\"\\n\", total, name);\r\n",
        "\r\n",
    };
    std::string s = "#include <windows.h>\r\nvoid f(HWND hWnd) {\r\n";
    calls = 0;
    for (std::size_t line = 0; s.size() < size; ++line) {
        if (line % 100 == 50) {
            s += ++calls % 4 == 0 ? "    if (MessageBox(hWnd, \"Save changes?\", \"Editor\", MB_YESNO) == IDNO) return;\r\n"
                                  : "    MessageBoxA(hWnd, \"The file was saved.\", \"Editor\", MB_OK | MB_ICONINFORMATION);\r\n";
        } else if (line % 5000 == 4999) {
            s += "}\r\nvoid g(HWND hWnd) {\r\n";
        } else {
            s += kLines[line % (sizeof kLines / sizeof kLines[0])];
        }
    }
    return s + "}\r\n";
}

double TimeToWindow(const TempDir& dir, const std::vector<std::string>& args, const std::string& caption) {
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    App app(dir, args);
    HWND window = nullptr;
    WaitFor(
        [&] {
            window = app.WaitWindow(caption, 0);
            return window != nullptr && (args.size() == 1 || Text(window, IDC_TEXT) == "The file was saved.");
        },
        20000);
    QueryPerformanceCounter(&shown);
    EXPECT_NE(window, nullptr);
    if (window != nullptr) Close(window);
    EXPECT_EQ(app.WaitExit(), 0);
    return Milliseconds(start, shown);
}

TEST(EditBench, DISABLED_EditAgainstPlainStartup) {
    const int repetitions = Repetitions(15);
    TempDir dir;
    std::size_t calls = 0;
    const std::string source = MakeSource(std::size_t{1} << 20, calls);
    dir.Write("main.c", source);
    dir.Write("promptwright.ini", "[Settings]\r\nadvanced=1\r\n");
    // The last call of the file: the finder reads it all.
    std::size_t line = 1, last = 0;
    for (std::size_t at = 0; at < source.size(); ++at) {
        if (source.compare(at, 11, "MessageBoxA") == 0) last = line;
        if (source[at] == '\n') ++line;
    }
    const std::vector<std::string> edit{"-EDIT:" + std::to_string(last), "main.c"};
    const std::string editCaption = "Promptwright - main.c:" + std::to_string(last);
    // And a file of a few lines, to tell the file's share from the rest.
    dir.Write("small.c", "void f(HWND hWnd) {\r\n    MessageBoxA(hWnd, \"The file was saved.\", \"Editor\", MB_OK);\r\n}\r\n");
    const std::vector<std::string> editSmall{"-EDIT:2", "small.c"};
    TimeToWindow(dir, {"main.c"}, "Promptwright");  // warm-up: file cache, wineserver
    TimeToWindow(dir, edit, editCaption);
    std::vector<double> plain, edited, small;
    for (int i = 0; i < repetitions; ++i) {
        plain.push_back(TimeToWindow(dir, {"main.c"}, "Promptwright"));
        edited.push_back(TimeToWindow(dir, edit, editCaption));
        small.push_back(TimeToWindow(dir, editSmall, "Promptwright - small.c:2"));
    }
    std::printf("plain start-up (advanced form): median %7.1f ms   -EDIT, 1 MiB file, its last call: median %7.1f ms"
                "   ratio %.3f   -EDIT, 3 lines: median %7.1f ms   ratio %.3f  (%d runs each)\n",
                Median(plain), Median(edited), Median(edited) / Median(plain), Median(small),
                Median(small) / Median(plain), repetitions);
    std::fflush(stdout);
}

TEST(EditBench, DISABLED_ListCallsOf64MiB) {
    const int repetitions = Repetitions(5);
    TempDir dir;
    std::vector<std::string> files;
    std::size_t bytes = 0, calls = 0;
    for (int n = 0; n < 16; ++n) {
        std::size_t count = 0;
        const std::string source = MakeSource(std::size_t{4} << 20, count);
        files.push_back("src" + std::to_string(n) + ".c");
        dir.Write(files.back(), source);
        bytes += source.size();
        calls += count;
    }
    std::vector<double> times;
    ConsoleRunOptions options;
    options.watchWindows = false;
    options.timeoutMs = 120000;
    std::vector<std::string> args{"-LIST:CALLS"};
    args.insert(args.end(), files.begin(), files.end());
    const std::string exe = ProgramUnderTest();
    RunConsole(exe, args, dir.path(), options);  // warm-up: file cache
    for (int i = 0; i < repetitions; ++i) {
        const ConsoleRun run = RunConsole(exe, args, dir.path(), options);
        EXPECT_EQ(run.exitCode, 0) << run.error;
        EXPECT_EQ(static_cast<std::size_t>(std::count(run.output.begin(), run.output.end(), '\n')), calls);
        times.push_back(run.milliseconds);
    }
    const double ms = Median(times);
    std::printf("-LIST:CALLS, %zu files, %.1f MiB, %zu calls: median %7.1f ms, %.0f MB/s  (%d runs)\n", files.size(),
                static_cast<double>(bytes) / (1 << 20), calls, ms, static_cast<double>(bytes) / 1e3 / ms, repetitions);
    std::fflush(stdout);
}

}  // namespace
}  // namespace e2e
