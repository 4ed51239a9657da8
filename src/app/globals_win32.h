// Process-wide state of the Win32 shell: the start-up settings and the handles
// the two top-level windows use to find and end each other.
#pragma once

#include <windows.h>

#include "app/app_settings.h"

namespace pw {

extern AppSettings appSettings;   // written once at start-up
extern HICON programIcon;         // small and big icon of every dialog
extern HWND mainFormWindow;       // set on every message the main form receives
extern HWND quickInsertWindow;    // set on every message QuickInsert receives

inline constexpr char kHelpFile[] = "PROMPTWRIGHT HELP.HLP";

// Sets the small (and, with `big`, the big) icon of a dialog to programIcon.
void SetDialogIcons(HWND dialog, bool big);

// Ends the QuickInsert window if one is open; does nothing otherwise.
void EndQuickInsertWindow();

}  // namespace pw
