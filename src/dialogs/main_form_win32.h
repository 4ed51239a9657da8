// The main form: both layouts, its menu and its command table.
#pragma once

#include <windows.h>

namespace pw {

INT_PTR CALLBACK MainFormProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam);

// Shows the system icon for the icon list's position (none for position 0).
void UpdateIconPreview(HWND form);

// The template of the layout chosen by the settings.
int MainFormTemplate();

}  // namespace pw
