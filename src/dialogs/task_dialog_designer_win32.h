// The task dialog designer "Promptwright - Task dialog": composes a task
// dialog, previews it, and writes, copies, inserts, loads and stores its
// statement as the advanced main form does a message box's.
#pragma once

#include <windows.h>

#include <string>

namespace pw {

struct AppContext;

// Runs the designer modally over `owner` with `statement` read into it
// (empty: a new task dialog). Returns 1 when it closed after Insert in
// source under InsertShutDown (it has ended the main windows then too), else 0.
INT_PTR RunTaskDialogDesigner(HWND owner, AppContext& context, const std::string& statement);

}  // namespace pw
