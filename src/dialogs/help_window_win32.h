// The help window: the program's own help, a resizable window with the topics
// of the help text (a resource) on the left and the chosen topic on the right.
#pragma once

#include <windows.h>

namespace pw {

// Opens the help window over `owner`, or brings forward the one already open
// there. Modeless: the owner stays usable, and the window goes with it.
// Returns the window, or null when it could not be made.
HWND OpenHelpWindow(HWND owner);

}  // namespace pw
