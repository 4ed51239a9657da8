// LoadCode on long statements: the time should grow with the length, no
// faster; timed in turns with the reader before it read tokens. And the lexer
// over C source, as the scan of whole files will run it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/lex/c_lexer.h"
#include "core/codeparse/code_reader.h"
#include "core/model/clear_form.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "core/model/utf8.h"
#include "res/resource.h"
#include "side_by_side.h"
#include "source_text.h"

#include "baseline_code_reader.inc"

namespace {

class SilentReport : public pw::CodeReaderReport {
public:
    void Unrecognised(std::string_view) override {}
};

// A literal text of about `size` bytes with the things that make the reader work:
// escapes, commas, semicolons, white space, comment markers and percent signs.
std::string LongLiteral(std::size_t size) {
    static const std::string piece = "Line, with \\\"quotes\\\"; tabs\\t and // http://x.org/*y*/ 50% \\n";
    std::string text;
    text.reserve(size + piece.size());
    while (text.size() < size) text += piece;
    return text;
}

std::string CallStatement(std::size_t size) {
    return "MessageBoxEx(GetActiveWindow(), \"" + LongLiteral(size) +
           "\", \"Title\", MB_YESNO | MB_ICONSTOP | MB_TOPMOST, 0x0c0a);";
}

std::string StructureStatement(std::size_t size) {
    return "MSGBOXPARAMS mbp;\nmbp.cbSize= sizeof(MSGBOXPARAMS);\nmbp.hwndOwner= NULL;\nmbp.lpszText= \"" +
           LongLiteral(size) +
           "\";\nmbp.lpszCaption= \"Title\";\nmbp.dwStyle= MB_OK | MB_HELP;\nmbp.dwLanguageId= 0x0409;\n"
           "MessageBoxIndirect(&mbp);";
}

// A wide switch statement whose text names characters outside ASCII.
std::string WideSwitchStatement(std::size_t size) {
    std::string text;
    text.reserve(size + 64);
    while (text.size() < size) text += "Caf\\u00E9 \\u20AC 50%, \\\"quoted\\\"; line\\n";
    return "switch (MessageBoxExW(GetActiveWindow(), L\"" + text +
           "\", L\"Title\", MB_YESNOCANCEL | MB_ICONQUESTION, 0x0c0a))\n{\ncase IDYES:\n    break;\n"
           "case IDNO:\n    break;\ncase IDCANCEL:\n    break;\n}";
}

template <std::string (*Make)(std::size_t)>
void BM_LoadCode(benchmark::State& state) {
    const std::string statement = Make(static_cast<std::size_t>(state.range(0)));
    pw::PlainForm form(pw::Layout::Advanced);
    SilentReport report;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pw::LoadCode(form, statement, report));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(statement.size()));
}

BENCHMARK_TEMPLATE(BM_LoadCode, CallStatement)
    ->Arg(64 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoadCode, StructureStatement)
    ->Arg(64 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoadCode, WideSwitchStatement)
    ->Arg(64 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);

class BaselineReport : public pw::baseline::CodeReaderReport {
public:
    void Unrecognised() override {}
};

// The reader and the one before it on the same statement, in turns; the
// medians and their ratio.
template <std::string (*Make)(std::size_t)>
void BM_LoadCodeSideBySide(benchmark::State& state) {
    const std::string statement = Make(static_cast<std::size_t>(state.range(0)));
    pw::PlainForm form(pw::Layout::Advanced);
    SilentReport report;
    BaselineReport baselineReport;
    bench::SideBySide(
        state, "before",
        [&] {
            std::string text = statement;  // it normalised in place
            benchmark::DoNotOptimize(pw::baseline::LoadCode(form, text, baselineReport, nullptr));
        },
        "reader", [&] { benchmark::DoNotOptimize(pw::LoadCode(form, statement, report)); });
}

BENCHMARK_TEMPLATE(BM_LoadCodeSideBySide, CallStatement)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoadCodeSideBySide, StructureStatement)->Arg(1 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_LoadCodeSideBySide, WideSwitchStatement)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// Every token of 16 MiB of C-like source, as a scan of a whole file reads it.
void BM_Lexer(benchmark::State& state) {
    const std::string source = bench::MakeSource(static_cast<std::size_t>(state.range(0)) * bench::kMiB);
    for (auto _ : state) {
        pw::Lexer lexer(source);
        pw::Token token;
        std::size_t count = 0;
        while (lexer.Next(token)) ++count;
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(source.size()));
}

BENCHMARK(BM_Lexer)->Arg(16)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
