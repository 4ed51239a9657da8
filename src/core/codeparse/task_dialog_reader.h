// Reads a task-dialog statement, as WriteTaskDialog writes it (also with its
// line breaks dropped, as a QuickBox slot holds it), back into a configuration.
#pragma once

#include <string>
#include <string_view>

#include "core/model/code_options.h"
#include "core/model/task_dialog.h"

namespace pw {

// Whether the text is meant as a task-dialog statement (rather than a message
// box), so that the main form's Load code, QuickBox Load and QuickInsert Edit
// hand it to the designer: its tokens name TaskDialog( or TaskDialogIndirect(
// anywhere, or TASKDIALOGCONFIG or TASKDIALOG_BUTTON. One pass of the lexer,
// no allocation; stops at the first such token.
bool IsTaskDialogStatement(std::string_view text);

// Sets `config` from the statement (a default configuration first) and
// `answerRead` (when given) from its answer handling. Returns false, leaving
// both as they were, with `problem` (when given) saying what and where in one
// clause ("cxWidth is w, not a number of dialog units").
//
// Read, over the C lexer's tokens (comments and layout anywhere):
//  - TaskDialog(owner, instance, title, instruction, content, buttons, icon,
//    pnButton), and TaskDialogIndirect(&config or a pointer to it, ...), each
//    anywhere in a statement (`hr = `, `if (SUCCEEDED(`, `return`, `::`);
//  - the TASKDIALOGCONFIG declared with no initialiser, `= {0}`, `{}`,
//    `{ sizeof(...) }`, its members in order or designated; ZeroMemory,
//    SecureZeroMemory or memset before its members are set; members set
//    through . or -> (and a TASKDIALOGCONFIG* p = &config), the last one
//    set winning; other code between them is not read;
//  - button arrays (const, static, [] or [N]) initialised with
//    { id, literal } in the text, counted by ARRAYSIZE, _countof, a sizeof
//    quotient or the number; an array the program fills itself (declared
//    without initialiser, or not in the text) is kept as written by pButtons
//    and cButtons;
//  - texts: adjacent wide or TEXT()/_T() literals are one text
//    (LiteralTextReader, line breaks as CR LF); NULL, 0 or nullptr no text;
//    anything else a variable, kept as written;
//  - flags and common buttons: | joins of names and numbers; what the
//    designer has no box for is kept as written (otherFlags,
//    otherCommonButtons); icons TD_*_ICON (or their MAKEINTRESOURCEW(-n)
//    values), else kept as written; hInstance, pfCallback, lpCallbackData,
//    hMainIcon, hFooterIcon and the call's out-parameters kept as written;
//  - after the call only "if (nButton ==" or "switch (nButton)" on the
//    variable whose address the call was given; what the braces hold is not
//    read.
// Expressions are kept without white space, but for one space where two
// tokens would otherwise run together ("IDC_BASE + 1" reads as
// "IDC_BASE+1", "sizeof x" and "a - -b" stay), so a statement reads the same
// whatever its layout.
//
// Refused: a bare TaskDialogIndirect whose structure is not in the text; a
// member set only under a condition (if, switch, a loop, #if) or changed
// otherwise than by =; other statements that use the structure; narrow
// literals; a literal continued over a line break; TDF_, TDCBF_ or TD_ names
// the headers lack; a count that is not its array's; an initialised button
// array with a text that is not a literal; code after the call other than the
// answer.
bool ReadTaskDialog(std::string_view text, TaskDialogConfig& config, AnswerHandling* answerRead = nullptr,
                    std::string* problem = nullptr);

}  // namespace pw
