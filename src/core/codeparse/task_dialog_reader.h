// Reads a task-dialog statement, as WriteTaskDialog writes it (also with its
// line breaks dropped, as a QuickBox slot holds it), back into a configuration.
#pragma once

#include <string_view>

#include "core/model/code_options.h"
#include "core/model/task_dialog.h"

namespace pw {

// Whether the text is meant as a task-dialog statement (rather than a message
// box), so that the main form's Load code, QuickBox Load and QuickInsert Edit
// hand it to the designer. Cheap: looks at the statement's first words.
bool IsTaskDialogStatement(std::string_view text);

// Sets `config` from the statement (a default configuration first) and
// `answerRead` (when given) from its answer handling. Returns false, leaving
// both as they were, when the text is no statement the writer writes.
//
// Read: both forms as WriteTaskDialog writes them, with any white space and
// comments between tokens, also with the line breaks dropped. Expressions
// (owner, variables, identifiers) come back without white space, but for one
// space where two tokens would otherwise run together ("IDC_BASE + 1" reads
// as "IDC_BASE+1", "sizeof x" and "a - -b" stay). Literal texts come back with
// line breaks as CR LF (as the designer's edit boxes hold them), in UTF-8,
// escapes read as LoadCode reads L"..." literals; adjacent
// wide literals (L"a" L"b") are joined. NULL, 0 or nullptr reads as no text,
// any other expression as a variable. Also read: "= {0}" or memset for the
// zeroing, sizeof(TASKDIALOGCONFIG), and a count written as _countof(a),
// sizeof(a)/sizeof(a[0]) or the number. The answer: "if (nButton ==" or
// "switch (nButton)" after the call, with the variable whose address the call
// was given; what the braces hold is not read.
//
// Refused (false): anything that is not one of the two forms; a member,
// flag, icon or common-button name the writer does not write; narrow string
// literals; a literal with a line break in it (C allows none; a QuickBox slot
// would drop it); a cbSize, ZeroMemory or call of another structure; zeroing
// after members are set; a button count that is not the count of the array
// passed with it; a custom or radio button text that is not a wide literal; a
// text or owner with a comma outside brackets (two arguments of the short
// call); text after the call other than the answer.
bool ReadTaskDialog(std::string_view text, TaskDialogConfig& config, AnswerHandling* answerRead = nullptr);

}  // namespace pw
