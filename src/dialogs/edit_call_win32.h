// -EDIT:LINE[:COLUMN] FILE: the call at that place opened in the form or
// the task-dialog designer, and Insert in source putting the statement back
// in its place.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "core/model/code_options.h"

namespace pw {

struct AppContext;

// Reads the file and finds the call: sets context.edit and returns the
// call's text for the window to load (the main form, or the designer for a
// task dialog: context.edit->call.taskDialog). No call there, a file that
// cannot be read or a call the reader refuses: a warning box, and nothing
// (the run ends with exit code 2 without a window).
std::optional<std::string> OpenEditCall(AppContext& context);

// The title bar under -EDIT: "Promptwright - main.c:120".
std::wstring EditTitle(const AppContext& context);

// The answer handling to write the statement with: none for a call inside
// other code, where only the call form fits.
AnswerHandling EditAnswer(const AppContext& context);

// Insert in source under -EDIT: `code` (the form's statement, written with
// EditAnswer) in place of the call. Tells the user in a box owned by `owner`
// when nothing was written (the file changed since it was read, say) and
// returns false then.
bool ReplaceEditedCall(HWND owner, const AppContext& context, std::string_view code);

}  // namespace pw
