#include "ui/about_win32.h"

namespace pw {

// Placeholder until the About box exists.
INT_PTR CALLBACK AboutDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
void RunAboutBox(HWND) {}

}  // namespace pw
