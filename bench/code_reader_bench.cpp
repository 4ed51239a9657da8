// LoadCode on long statements: the time should grow with the length, no faster.
#include <benchmark/benchmark.h>

#include <string>

#include "core/codeparse/code_reader.h"
#include "core/model/plain_form.h"

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
        std::string text = statement;
        benchmark::DoNotOptimize(pw::LoadCode(form, text, report));
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

}  // namespace

BENCHMARK_MAIN();
