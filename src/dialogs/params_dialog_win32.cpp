#include "dialogs/params_dialog_win32.h"

#include <utility>

#include "core/model/option_tables.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/help_win32.h"
#include "dialogs/warning_win32.h"
#include "res/resource.h"
#include "win32/guard_win32.h"
#include "win32/dialog_data_win32.h"
#include "win32/dialog_form_win32.h"

namespace pw {
namespace {

const DWORD kParamsHelpTable[] = {
    IDC_PARAMS_NAME, 17, IDC_PARAMS_ICONID, 18, IDC_PARAMS_CALLBACK, 19, IDC_PARAMS_HELPID, 20, IDC_PARAMS_INSTANCE, 26, 0, 0,
};

// What one opening of the dialog works on; WM_INITDIALOG and OK mirror each other.
struct ParamsDialogData {
    AppContext& context;
    ParamsOptions& options;  // written on OK only
    bool iconIdApplies;
    bool helpApplies;
};

// Every opening starts with empty fields, but for one after Load code read
// a structure statement: it shows what the statement carried.
void OnInitDialog(HWND dialog, const ParamsDialogData& data) {
    if (data.context.paramsFromStatement) {
        const ParamsOptions& read = data.options;
        for (auto [id, value] : {std::pair{IDC_PARAMS_NAME, &read.structName}, std::pair{IDC_PARAMS_ICONID, &read.iconId},
                                 std::pair{IDC_PARAMS_INSTANCE, &read.instance},
                                 std::pair{IDC_PARAMS_CALLBACK, &read.callbackName},
                                 std::pair{IDC_PARAMS_HELPID, &read.contextHelpId}})
            SetWindowTextW(GetDlgItem(dialog, id), Wide(*value).c_str());
    }
    if (!data.iconIdApplies) {
        EnableWindow(GetDlgItem(dialog, IDC_PARAMS_ICONID), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_PARAMS_INSTANCE), FALSE);
    }
    if (!data.helpApplies) {
        EnableWindow(GetDlgItem(dialog, IDC_PARAMS_CALLBACK), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_PARAMS_HELPID), FALSE);
    }
}

void OnOk(HWND dialog, ParamsDialogData& data) {
    // A statement needs a structure name: OK waits for one.
    if (GetWindowTextLengthW(GetDlgItem(dialog, IDC_PARAMS_NAME)) == 0) return;
    data.options.structName = WindowText(GetDlgItem(dialog, IDC_PARAMS_NAME));
    data.options.iconId = WindowText(GetDlgItem(dialog, IDC_PARAMS_ICONID));
    data.options.instance = WindowText(GetDlgItem(dialog, IDC_PARAMS_INSTANCE));
    data.options.callbackName = WindowText(GetDlgItem(dialog, IDC_PARAMS_CALLBACK));
    data.options.contextHelpId = WindowText(GetDlgItem(dialog, IDC_PARAMS_HELPID));
    data.context.paramsFromStatement = false;
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK ParamsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ParamsDialogData* data = DialogDataFor<ParamsDialogData>(dialog, message, lParam);
    if (data == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(dialog, *data); break;
    case WM_COMMAND:
        // Only OK (its click, access key or Enter); Escape's IDCANCEL does nothing.
        if (wParam == IDC_OK) OnOk(dialog, *data);
        return FALSE;
    case WM_CLOSE: EndDialog(dialog, 0); break;  // keeps the options of the last OK
    case WM_HELP:                                // F1, or the title bar's ? and a click
        ShowContextHelp(data->context.help, dialog, *reinterpret_cast<const HELPINFO*>(lParam), kParamsHelpTable);
        break;
    default: return FALSE;
    }
    SetDialogIcons(dialog, data->context, false);
    return TRUE;
}

}  // namespace

ParamsOptions ParamsDialogPrompt::Run() {
    ParamsDialogData data{context_, context_.paramsOptions, form_.ListPosition(IDC_ICON) == kUserIconPosition,
                          form_.IsChecked(IDC_HELPBUTTON)};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PARAMS), owner_,
                    GuardedDialogProc<ParamsDialogProc>, reinterpret_cast<LPARAM>(&data));
    stopped_ = context_.paramsOptions.structName.empty();
    return context_.paramsOptions;
}

std::optional<std::string> GenerateFromDialog(HWND form, AppContext& context) {
    const DialogForm dialog(form);
    if (const std::string problem = StatementTextProblem(dialog, context.codeOptions, context.codePage);
        !problem.empty()) {
        ShowWarning(form, problem);
        return std::nullopt;
    }
    ParamsDialogPrompt prompt(dialog, form, context);
    std::string statement = GenerateStatement(dialog, prompt, context.codeOptions);
    if (prompt.Stopped()) return std::nullopt;
    return statement;
}

}  // namespace pw
