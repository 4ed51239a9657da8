// Owner-painted static texts: link labels (blue, underlined, open their target)
// and warning labels (heavy red type).
#pragma once

#include <windows.h>

namespace pw {

// Makes a static control of `dialog` a link label. `target` is what a click
// opens (null or empty: the control's own text); `color` 0 means blue.
// Installing again on a link label only changes its target and colour.
// Returns false when the dialog has no such control.
bool InstallLinkLabel(HWND dialog, int id, const char* target, COLORREF color);

// Makes a static control of `dialog` a warning label (heavy red type).
// Returns false when the dialog has no such control.
bool InstallWarningLabel(HWND dialog, int id);

LRESULT CALLBACK LinkLabelProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK WarningLabelProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Deletes the shared fonts and cursor; they are made again when next needed.
void FreeLabelResources();

}  // namespace pw
