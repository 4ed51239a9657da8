// The MessageBoxIndirect options dialog and the writer's way to run it.
#pragma once

#include <windows.h>

#include "core/codegen/statement_writer.h"

namespace pw {

// The options of the last OK, kept for the run of the program.
extern ParamsOptions paramsOptions;

INT_PTR CALLBACK ParamsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog modally over the main form, reading the main form's icon
// position and help button for the enabling.
class ParamsDialogPrompt : public ParamsPrompt {
public:
    explicit ParamsDialogPrompt(HWND mainForm) : mainForm_(mainForm) {}
    ParamsOptions Run() override;

private:
    HWND mainForm_;
};

// The statement for a live main form (runs the options dialog for the
// MessageBoxIndirect form).
std::string GenerateFromDialog(HWND form);

}  // namespace pw
