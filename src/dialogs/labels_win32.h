// Owner-painted static texts: link labels (blue, underlined, open their target
// on a click, or on Enter or Space when a tab stop has brought the focus to
// them) and warning labels (heavy red type); the high-contrast theme's colours
// replace both colours while that theme is on.
//
// The labels of one top-level window share a link font and a warning font,
// made for the window's DPI the first time a label needs them and deleted when
// the window's last label goes. The link's hand is the system's cursor.
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

// Deletes the fonts shared by the labels of `window`'s top-level
// window; they are made again when next needed.
void FreeLabelResources(HWND window);

// The labels of `window`'s top-level window draw for `dpi` from now on (on
// WM_DPICHANGED): the fonts made for the old DPI are deleted, and
// the labels repaint with ones made for the new.
void SetLabelDpi(HWND window, UINT dpi);

// The labels of `window`'s top-level window paint again, in the colours of the
// theme now in force: for the window's WM_SYSCOLORCHANGE and WM_SETTINGCHANGE,
// which only top-level windows receive.
void RepaintLabels(HWND window);

}  // namespace pw
