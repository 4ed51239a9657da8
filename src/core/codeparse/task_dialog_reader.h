// Reads a task-dialog statement, as WriteTaskDialog writes it (also with its
// line breaks dropped, as a QuickBox slot holds it), back into a configuration.
#pragma once

#include <string_view>

#include "core/model/code_options.h"
#include "core/model/code_page.h"
#include "core/model/task_dialog.h"

namespace pw {

// Whether the text is meant as a task-dialog statement (rather than a message
// box), so that the main form's Load code, QuickBox Load and QuickInsert Edit
// hand it to the designer. Cheap: looks at the statement's first words.
bool IsTaskDialogStatement(std::string_view text);

// Sets `config` from the statement (a default configuration first) and
// `answerRead` (when given) from its answer handling. Returns false, leaving
// both as they were, when the text is no statement the writer writes.
bool ReadTaskDialog(std::string_view text, TaskDialogConfig& config, AnswerHandling* answerRead = nullptr,
                    const CodePage& codePage = Windows1252());

}  // namespace pw
