// The QuickInsert window: stored and typed statements inserted, copied or
// taken into the main form.
#pragma once

#include <windows.h>

namespace pw {

struct AppContext;

// Runs the window modally over `owner` (null: the program's first window).
// Returns 1 when it closed itself after an insertion, else 0.
INT_PTR RunQuickInsert(HWND owner, AppContext& context);

// Shows or hides the slot list, the tree and the code box (SW_SHOW or
// SW_HIDE each) and enables or disables Insert, Copy and Edit together.
void ShowQuickInsertPage(HWND dialog, int listShow, int treeShow, int codeShow, bool enable);

}  // namespace pw
