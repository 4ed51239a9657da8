// Process-wide state of the Win32 shell: the start-up settings and the handles
// the two top-level windows use to find and end each other.
#pragma once

#include <windows.h>

#include "core/settings/app_settings.h"

namespace pw {

extern AppSettings appSettings;   // written once at start-up
extern HICON programIcon;         // small and big icon of every dialog
extern HWND mainFormWindow;       // set on every message the main form receives
extern HWND quickInsertWindow;    // set on every message QuickInsert receives

inline constexpr char kHelpFile[] = "PROMPTWRIGHT HELP.HLP";

// Whether the settings chose the advanced layout.
inline bool AdvancedLayout() { return appSettings.advancedLayout > 0; }

// Sets the small (and, with `big`, the big) icon of a dialog to programIcon.
void SetDialogIcons(HWND dialog, bool big);

// Every QuickInsert window from its opening to its destruction, so that the
// main form can end them all: under -QI in the simple layout a second
// QuickInsert, opened from the modeless main form, replaces quickInsertWindow
// while the hidden first one still runs the program's message loop.
void QuickInsertWindowOpened(HWND window);
void QuickInsertWindowClosed(HWND window);

// Ends every open QuickInsert window (the latest first), result 0; does
// nothing when none is open.
void EndQuickInsertWindow();

}  // namespace pw
