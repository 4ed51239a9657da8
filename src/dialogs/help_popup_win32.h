// The context-help note: a small popup beside a control with that control's
// help text, as users know it from the help of Windows' own dialogs.
#pragma once

#include <windows.h>

#include <string>

namespace pw {

// The window class of the note (its window text is the note's text).
inline constexpr wchar_t kHelpPopupClass[] = L"PromptwrightHelpNote";

// Shows `text` beside `control` (below it, or above where the screen ends
// below), in the message font at the control's DPI, and gives it the
// keyboard. Escape, any other key or a click anywhere closes it, as does
// another window taking the activation. A top-level window shows one note at
// a time: a new one replaces the one open. Returns the note, or null when it
// could not be made.
HWND ShowHelpPopup(HWND control, const std::string& text);

}  // namespace pw
