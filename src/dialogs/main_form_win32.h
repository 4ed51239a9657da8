// The main form: both layouts, its menu and its command table.
#pragma once

#include <windows.h>

#include <string_view>

namespace pw {

struct AppContext;

// Runs the main form modally as the program's first window; returns its
// result (1 when it closed after Insert in source, else 0).
// Under -EDIT, `editText` (the call's text) is loaded into it and the title
// bar names the place.
INT_PTR RunMainForm(AppContext& context, std::string_view editText = {});

// Whether a new main form loads the start-up slot (StartupQuickBox).
enum class StartupSlot { Load, Skip };

// Creates the main form as a modeless window with no owner (QuickInsert's
// Edit under -QI, which skips the start-up slot: the form is for the chosen
// statement only); null when it cannot be made.
HWND CreateMainForm(AppContext& context, StartupSlot startup = StartupSlot::Load);

}  // namespace pw
