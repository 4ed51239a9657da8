// The designer's fields and the configuration they describe, for the
// in-process tests, which create the designer modeless and call these.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "core/model/task_dialog.h"

namespace pw {

struct AppContext;

// The designer as a modeless window (it frees its own data when destroyed).
HWND CreateTaskDialogDesignerForTesting(HWND owner, AppContext& context, const std::string& statement);

// Sets every field from `config`; the lists select their first entry.
void ShowTaskDialogFields(HWND designer, const TaskDialogConfig& config);

struct DesignerReading {
    TaskDialogConfig config;
    // What the user is told instead of writing or previewing: the designer's
    // own refusals first, then TaskDialogProblem's.
    std::optional<std::string> problem;
};
DesignerReading ReadTaskDialogFields(HWND designer);

}  // namespace pw
