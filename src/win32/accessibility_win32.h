// Names and roles for screen readers where a control's visible text cannot
// say it (Dynamic Annotation, IAccPropServices). They are given when an
// accessibility client first asks the control's window, or one of its named
// controls, for its object (WM_GETOBJECT): every client asks so, also those
// that never announce themselves (SPI_SETSCREENREADER), and a start without
// one makes no service. Soft: where the system lacks the service, nothing is
// named and nothing fails.
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

// Whether the names of `window`'s top-level window have been given.
bool ScreenReaderNamesGiven(HWND window);

}  // namespace pw
