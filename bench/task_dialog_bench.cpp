// The task-dialog statement's cost: writing and reading a typical one (target
// under 5 microseconds each), in both forms and every answer option, and
// telling it from a message box.
#include <benchmark/benchmark.h>

#include <string>

#include "core/codegen/task_dialog_fixtures.h"
#include "core/codegen/task_dialog_writer.h"
#include "core/codeparse/task_dialog_reader.h"

namespace {

using namespace pw;

// The short call: a question with a main instruction, content and icon.
TaskDialogConfig ShortDialog() {
    TaskDialogConfig c;
    c.owner = "hwnd";
    c.title = {"Editor"};
    c.mainInstruction = {"Do you want to save the changes to \"report.txt\"?"};
    c.content = {"Your changes will be lost if you don't save them.\r\nAutosave is off."};
    c.mainIcon = TaskIcon::Warning;
    c.commonButtons = kTaskYes | kTaskNo | kTaskCancel;
    return c;
}

// state.range(0): 0 the short call, 1 the structure (two command links, a
// verification box, a footer, cancellation); state.range(1): the answer option.
TaskDialogConfig Dialog(const benchmark::State& state) {
    return state.range(0) == 0 ? ShortDialog() : test::TypicalTaskDialog();
}

void BM_WriteTaskDialog(benchmark::State& state) {
    const TaskDialogConfig config = Dialog(state);
    const auto answer = static_cast<AnswerHandling>(state.range(1));
    for (auto _ : state) benchmark::DoNotOptimize(WriteTaskDialog(config, answer));
}
BENCHMARK(BM_WriteTaskDialog)->ArgsProduct({{0, 1}, {0, 1, 2}});

void BM_ReadTaskDialog(benchmark::State& state) {
    const std::string statement = WriteTaskDialog(Dialog(state), static_cast<AnswerHandling>(state.range(1)));
    TaskDialogConfig config;
    AnswerHandling answer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadTaskDialog(statement, config, &answer));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * statement.size()));
}
BENCHMARK(BM_ReadTaskDialog)->ArgsProduct({{0, 1}, {0, 1, 2}});

void BM_IsTaskDialogStatement(benchmark::State& state) {
    const std::string statement = WriteTaskDialog(test::TypicalTaskDialog(), AnswerHandling::Switch);
    for (auto _ : state) benchmark::DoNotOptimize(IsTaskDialogStatement(statement));
}
BENCHMARK(BM_IsTaskDialogStatement);

}  // namespace

BENCHMARK_MAIN();
