// Reads statement text into a live main form, telling the user when it is none.
#pragma once

#include <windows.h>

#include <string>

namespace pw {

struct AppContext;

// Whether LoadCodeIntoForm hands `text` to the task dialog designer.
bool HandsOverToDesigner(const std::string& text, const AppContext& context);

// A task-dialog statement opens the task dialog designer with it, over the
// form, which stays as it is. Anything else: clears the form and sets it from `text`, and puts the code options the
// statement was written in in force; shows "Unrecognised code" when the text
// is no statement. Returns whether the text was read.
bool LoadCodeIntoForm(HWND form, std::string text, AppContext& context);

}  // namespace pw
