// Reads statement text into a live main form, telling the user when it is none.
#pragma once

#include <windows.h>

#include <string>

namespace pw {

struct AppContext;

// Clears the form and sets it from `text`, and puts the code options the
// statement was written in in force; shows "Unrecognised code" when the text
// is no statement. Returns whether the text was read.
bool LoadCodeIntoForm(HWND form, std::string text, AppContext& context);

}  // namespace pw
