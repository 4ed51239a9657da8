#include "output/quick_insert_win32.h"

namespace pw {

// Placeholder until the window exists.
INT_PTR CALLBACK QuickInsertProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR RunQuickInsert(HWND) { return 0; }

}  // namespace pw
