// The About box.
#pragma once

#include <windows.h>

namespace pw {

// The product's web address, the About box's link.
inline constexpr char kWebAddress[] = "https://promptwright.example/";

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the About box modally over `owner`.
void RunAboutBox(HWND owner);

}  // namespace pw
