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
//
// Read: both forms as WriteTaskDialog writes them, with any white space and
// comments between tokens (one space stays between two words, so
// expressions come back without white space: "IDC_BASE + 1" reads as
// "IDC_BASE+1"), also with the line breaks dropped. Literal texts come back
// with line breaks as CR LF (as the designer's edit boxes hold them), escapes
// and universal character names read as LoadCode reads L"..." literals;
// adjacent wide literals (L"a" L"b") are joined. NULL or 0 reads as no text,
// any other expression as a variable. The answer: "if (nButton ==" or
// "switch (nButton)" after the call, with the variable whose address the call
// was given; what the braces hold is not read.
//
// Refused (false): anything that is not one of the two forms; a member,
// flag, icon or common-button name the writer does not write; narrow string
// literals; a cbSize other than sizeof the structure; a button count that is
// not the count of the array passed with it (ARRAYSIZE, _countof,
// sizeof(a)/sizeof(a[0]) or the number itself); a custom or radio button
// text that is not a wide literal; text after the call other than the answer.
bool ReadTaskDialog(std::string_view text, TaskDialogConfig& config, AnswerHandling* answerRead = nullptr,
                    const CodePage& codePage = Windows1252());

}  // namespace pw
