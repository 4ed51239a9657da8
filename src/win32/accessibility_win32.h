// Names and roles for screen readers where a control's visible text cannot
// say it (Dynamic Annotation, IAccPropServices). They are given when an
// accessibility client first asks the control's window, or one of its named
// controls, for its object (WM_GETOBJECT): every client asks so, also those
// that never announce themselves (SPI_SETSCREENREADER), and a start without
// one makes no service. Soft: where the system lacks the service, nothing is
// named and nothing fails.
//
// The named controls are subclassed; the window is not: every message to a
// subclassed window first finds its subclass (a window property), and the
// window has thousands in a start; subclassing it cost 3-10% of the advanced
// form's start under Wine. Its dialog procedure hands on the request instead
// (AnswerScreenReaders).
#pragma once

#include <windows.h>

#include <string_view>

namespace pw {

enum class AccessibleRole { Own, Link };

// The name a screen reader gives `control` (UTF-8), in place of its text,
// and its role. Named again, the newer name is given.
void NameForScreenReaders(HWND control, std::string_view name, AccessibleRole role = AccessibleRole::Own);

// Names control `id` of `dialog`, when there is one.
void NameControl(HWND dialog, int id, std::string_view name);

// For a dialog procedure to call with each of its messages: the first
// WM_GETOBJECT that reaches the window gives its controls' names. The
// request itself is left to the dialog manager, answered as before.
void AnswerScreenReaders(HWND window, UINT message);

// Whether the names of `window`'s top-level window have been given.
bool ScreenReaderNamesGiven(HWND window);

}  // namespace pw
