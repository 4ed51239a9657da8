// Shows the task dialog the designer describes, as the system shows it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "core/model/task_dialog.h"

namespace pw {

// The numbers the preview gives the identifier expressions of a configuration:
// a number (decimal, or hexadecimal with 0x) is itself, IDOK ... IDCONTINUE
// are the system's values, and every other expression (IDC_SAVE, a sum) gets
// a number of its own that no other identifier of the configuration has, the
// same one wherever it appears.
class PreviewIdentifiers {
public:
    explicit PreviewIdentifiers(const TaskDialogConfig& config);
    // The number for `expression` (one that the configuration holds); 0 for
    // an empty one.
    int Of(const std::string& expression) const;

private:
    std::map<std::string, int> numbers_;
};

// The value of an identifier the system or C knows by itself: a number or
// one of the dialog's command names; false for anything else.
bool KnownIdentifierValue(const std::string& expression, int& value);

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// The system's TaskDialogIndirect, or null where it has none: comctl32
// before version 6 (Windows XP, or a process without the manifest) lacks it,
// so it is looked up, not imported, and the program still starts there.
TaskDialogIndirectFunction SystemTaskDialogIndirect();

// Runs `show` (the system's TaskDialogIndirect) with the configuration, owned
// by `owner`, and returns when the user has closed it. Texts (UTF-8) show
// every character; a variable's name shows as its text. Hyperlinks do
// nothing. Where there is no `show`, says that this system has no task dialogs.
void PreviewTaskDialog(HWND owner, const TaskDialogConfig& config,
                       TaskDialogIndirectFunction show = SystemTaskDialogIndirect());

}  // namespace pw
