// The QuickInsert window: stored and typed statements inserted, copied or
// taken into the main form.
#pragma once

#include <windows.h>

namespace pw {

INT_PTR CALLBACK QuickInsertProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the window modally over `owner` (null: the program's first window).
INT_PTR RunQuickInsert(HWND owner);

}  // namespace pw
