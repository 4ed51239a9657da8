// ReadTaskDialog over any bytes: no crash, no read past the text; what it
// refuses it says why, and leaves the configuration as it was; and what it reads, when it has
// no problem, is written as a statement that reads back to the same
// statement (as written and as a QuickBox slot stores it).
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/codegen/task_dialog_writer.h"
#include "core/codeparse/task_dialog_reader.h"
#include "core/settings/quickbox_slots.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pw;
    const std::string input(reinterpret_cast<const char*>(data), size);
    (void)IsTaskDialogStatement(input);

    TaskDialogConfig config;
    config.title = {"before"};
    const TaskDialogConfig before = config;
    AnswerHandling answer = AnswerHandling::Switch;
    std::string problem;
    if (!ReadTaskDialog(input, config, &answer, &problem)) {
        // A refusal says why, and changes nothing.
        if (problem.empty() || !(config == before) || answer != AnswerHandling::Switch) __builtin_trap();
        return 0;
    }
    if (TaskDialogProblem(config)) return 0;

    const std::string written = WriteTaskDialog(config, answer);
    if (!IsTaskDialogStatement(written)) __builtin_trap();
    const std::string slot = StoredSlotValue(written);
    for (const std::string& form : {written, slot.substr(1, slot.size() - 2)}) {
        TaskDialogConfig again;
        AnswerHandling answerAgain = AnswerHandling::None;
        if (!ReadTaskDialog(form, again, &answerAgain)) __builtin_trap();
        if (answerAgain != answer || WriteTaskDialog(again, answerAgain) != written) __builtin_trap();
    }
    return 0;
}
