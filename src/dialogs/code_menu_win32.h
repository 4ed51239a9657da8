// The main form's "Co&de" menu: the code options in force, marked by one
// radio item per group and kept in the settings file.
#pragma once

#include <windows.h>

#include "core/model/code_options.h"

namespace pw {

struct AppContext;

// Marks the context's options in the form's menu.
void ShowCodeOptions(HWND form, const AppContext& context);

// Puts `options` in force: the context, the menu marks and the settings file.
void ChooseCodeOptions(HWND form, AppContext& context, CodeOptions options);

// The options a "Co&de" menu command chooses, given those in force; none for
// any other command.
bool CodeOptionsOfCommand(int command, CodeOptions& options);

}  // namespace pw
