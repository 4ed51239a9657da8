// Reads statement text into a live main form, telling the user when it is none.
#pragma once

#include <windows.h>

#include <string>

namespace pw {

// Clears the form and sets it from `text`; shows "Unrecognised code" when the
// text is no statement. Returns whether the text was read.
bool LoadCodeIntoForm(HWND form, std::string text);

}  // namespace pw
