// A statement read and written again: what the program does with a statement
// it is handed without a window (a QuickBox slot, standard input).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/model/code_options.h"
#include "core/model/code_page.h"

namespace pw {

// Reads `text` (UTF-8) as Load code does (any statement the reader knows, typed by
// hand or written in any code option) and writes it again as the writer does
// in `options`: a hand-typed statement comes out normalised, one written in
// other options comes out converted. The MSGBOXPARAMS options of a structure
// statement go through unchanged. Lines are separated by single '\n', as the
// writer leaves them. Nothing when the text is no statement the reader knows.
//
// A task-dialog statement is read and written as a task dialog; of the
// options only the answer handling applies (task dialogs take wide strings
// only).
//
// Refused, with nothing written and `problem` (when given) set to the
// message (it is left empty otherwise): a message box whose texts
// StatementTextProblem refuses in `options` (`codePage`, the machine's ANSI
// code page, decides what ANSI strings hold), and a task dialog
// TaskDialogProblem refuses (an empty or repeated identifier typed by hand, a
// lone surrogate).
//
// Every statement GenerateStatement or WriteTaskDialog writes in `options`
// comes back as it was.
std::optional<std::string> RestateStatement(std::string_view text, CodeOptions options,
                                            const CodePage& codePage = Windows1252(), std::string* problem = nullptr);

}  // namespace pw
