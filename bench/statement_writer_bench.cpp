// The code writer's cost: a typical statement (target under 2 microseconds),
// also in every string mode and answer mode, and literal texts of 16, 64 and
// 256 KiB (the cost must grow linearly).
//
// With glibc's default malloc the 64 KiB and 256 KiB cases also pay for the
// allocator giving memory back to the system after each iteration (trim and
// mmap thresholds) and faulting it in again; that, not the writer, is what
// bends the curve. For allocator-neutral figures run with
//   GLIBC_TUNABLES=glibc.malloc.trim_threshold=67108864:glibc.malloc.mmap_threshold=33554432
#include <benchmark/benchmark.h>

#include <string>

#include "core/codegen/expansion.h"
#include "core/codegen/statement_writer.h"
#include "core/model/plain_form.h"
#include "res/resource.h"

namespace {

using namespace pw;

class FixedPrompt : public ParamsPrompt {
public:
    ParamsOptions Run() override { return {"mbp", "IDI_MYICON", "MsgBoxCallback", "1"}; }
};

void TypicalForm(PlainForm& form, int type) {
    form.SetText(IDC_PARENT, "GetActiveWindow()");
    form.SetText(IDC_TEXT,
                 "Do you want to save the changes to \"report.txt\"?\r\nYour changes will be lost if you don't.");
    form.SetText(IDC_TITLE, "Promptwright");
    form.SetListPosition(IDC_BUTTONS, 5);
    form.SetListPosition(IDC_DEFBUTTON, 1);
    form.SetListPosition(IDC_ICON, 3);
    form.SetChecked(IDC_TOPMOST, true);
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, type);
}

void BM_TypicalStatement(benchmark::State& state) {
    PlainForm form(Layout::Advanced);
    TypicalForm(form, static_cast<int>(state.range(0)));
    FixedPrompt prompt;
    for (auto _ : state) benchmark::DoNotOptimize(GenerateStatement(form, prompt));
}
BENCHMARK(BM_TypicalStatement)->ArgName("type")->Arg(IDC_TYPE_BOX)->Arg(IDC_TYPE_BOXEX)->Arg(IDC_TYPE_INDIRECT);

// The typical statement in a code option: string mode 0-2, answer mode 0-2,
// for the MessageBox and the Indirect form, with a text that holds letters
// outside ASCII (UTF-8), which TEXT() and wide literals name as \uXXXX.
void BM_TypicalStatementInMode(benchmark::State& state) {
    PlainForm form(Layout::Advanced);
    TypicalForm(form, static_cast<int>(state.range(0)));
    form.SetText(IDC_TEXT,
                 "M\xc3\xb6"
                 "chten Sie die \xc3\x84nderungen an \"Bericht.txt\" speichern?\r\nSonst gehen sie verloren.");
    const CodeOptions options{static_cast<CharacterSet>(state.range(1)), static_cast<AnswerHandling>(state.range(2))};
    FixedPrompt prompt;
    for (auto _ : state) benchmark::DoNotOptimize(GenerateStatement(form, prompt, options));
}
BENCHMARK(BM_TypicalStatementInMode)
    ->ArgNames({"type", "strings", "answer"})
    ->ArgsProduct({{IDC_TYPE_BOX, IDC_TYPE_INDIRECT}, {0, 1, 2}, {0, 1, 2}});

// A typical statement and the expansion pass, as Generate code runs them.
void BM_TypicalStatementExpanded(benchmark::State& state) {
    PlainForm form(Layout::Advanced);
    TypicalForm(form, IDC_TYPE_INDIRECT);
    FixedPrompt prompt;
    for (auto _ : state) benchmark::DoNotOptimize(ExpandLineFeeds(GenerateStatement(form, prompt)));
}
BENCHMARK(BM_TypicalStatementExpanded);

// A literal text of state.range(0) bytes with line breaks, quotes, apostrophes,
// tabs and percent signs.
std::string LongText(std::size_t size) {
    const std::string unit = "Say \"hi\" to Bob's team: 100% done.\r\n\tNext line, more text; ";
    std::string text;
    while (text.size() < size) text += unit;
    text.resize(size);
    return text;
}

void BM_LongLiteralText(benchmark::State& state) {
    PlainForm form(Layout::Advanced);
    TypicalForm(form, IDC_TYPE_BOX);
    form.SetText(IDC_TEXT, LongText(static_cast<std::size_t>(state.range(0))));
    FixedPrompt prompt;
    for (auto _ : state) benchmark::DoNotOptimize(GenerateStatement(form, prompt));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LongLiteralText)->Arg(16 << 10)->Arg(64 << 10)->Arg(256 << 10)->Complexity(benchmark::oN);

void BM_LongLiteralTextExpanded(benchmark::State& state) {
    PlainForm form(Layout::Advanced);
    TypicalForm(form, IDC_TYPE_INDIRECT);
    form.SetText(IDC_TEXT, LongText(static_cast<std::size_t>(state.range(0))));
    FixedPrompt prompt;
    for (auto _ : state) benchmark::DoNotOptimize(ExpandLineFeeds(GenerateStatement(form, prompt)));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LongLiteralTextExpanded)->Arg(16 << 10)->Arg(64 << 10)->Arg(256 << 10)->Complexity(benchmark::oN);

void BM_EscapeLiteral(benchmark::State& state) {
    const std::string text = LongText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(EscapeLiteral(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EscapeLiteral)->Arg(16 << 10)->Arg(64 << 10)->Arg(256 << 10)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
