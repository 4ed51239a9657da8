// The task-dialog statement: TaskDialog(...) when the configuration needs
// nothing more, otherwise the arrays, a TASKDIALOGCONFIG and the
// TaskDialogIndirect call. Task dialogs take wide strings only.
#pragma once

#include <optional>
#include <string>

#include "core/model/code_options.h"
#include "core/model/code_page.h"
#include "core/model/task_dialog.h"

namespace pw {

// What must be mended before a statement is written (an identifier that is
// empty, two buttons with the same identifier), as the message the designer
// shows; nothing when the configuration can be written.
std::optional<std::string> TaskDialogProblem(const TaskDialogConfig& config);

// The statement, lines separated by single '\n' as GenerateStatement's are.
// Literal texts are wide literals escaped as EscapeLiteral does for wide
// strings (`codePage` is the code page the texts are in); variables are
// written as typed. `answer` If and Switch test the button the user chose.
// Never cuts; call TaskDialogProblem first.
std::string WriteTaskDialog(const TaskDialogConfig& config, AnswerHandling answer = AnswerHandling::None,
                            const CodePage& codePage = Windows1252());

}  // namespace pw
