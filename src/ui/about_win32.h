// The About box.
#pragma once

#include <windows.h>

namespace pw {

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void RunAboutBox(HWND owner);

}  // namespace pw
