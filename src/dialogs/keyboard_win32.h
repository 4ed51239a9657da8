// Keyboard behaviour the dialog manager does not give on its own: Escape in a
// multi-line box, the focus across activation, and Ctrl+Tab between pages.
#pragma once

#include <windows.h>

#include "win32/raii_win32.h"

namespace pw {

// The multi-line edit `id` of `dialog` leaves Escape to the dialog manager,
// which sends the dialog IDCANCEL as from any other box; the standard edit
// would send its parent WM_CLOSE instead. No-op when there is no such control.
void LeaveEscapeToDialog(HWND dialog, int id);

// Call from a dialog procedure's WM_ACTIVATE (with its wParam) when the
// procedure answers that message itself: the control that had the focus when
// the dialog lost the activation gets it back when the dialog regains it.
void KeepFocusAcrossActivation(HWND dialog, WPARAM activateWParam);

// While the returned hook lives, Ctrl+Tab and Ctrl+Shift+Tab anywhere in
// `dialog` move its tab control `tabsId` to the next or previous page; the
// dialog is told as by a click (TCN_SELCHANGING, TCN_SELCHANGE). For a dialog
// run modally (the keys reach it through its modal loop's message filter).
UniqueHook SwitchPagesWithCtrlTab(HWND dialog, int tabsId);

// Removes what the two above keep on `dialog`; call from its WM_DESTROY.
void ForgetKeyboardState(HWND dialog);

}  // namespace pw
