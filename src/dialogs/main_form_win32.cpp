#include "dialogs/main_form_win32.h"

#include <optional>
#include <string>

#include "core/codegen/expansion.h"
#include "core/model/clear_form.h"
#include "core/settings/quickbox_slots.h"
#include "dialogs/about_win32.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/code_menu_win32.h"
#include "dialogs/edit_call_win32.h"
#include "dialogs/help_win32.h"
#include "dialogs/insert_targets_win32.h"
#include "dialogs/keyboard_win32.h"
#include "dialogs/labels_win32.h"
#include "dialogs/load_code_win32.h"
#include "dialogs/params_dialog_win32.h"
#include "dialogs/preview_win32.h"
#include "dialogs/quick_insert_win32.h"
#include "dialogs/quickbox_win32.h"
#include "dialogs/warning_win32.h"
#include "res/resource.h"
#include "win32/accessibility_win32.h"
#include "win32/guard_win32.h"
#include "win32/clipboard_win32.h"
#include "win32/dialog_data_win32.h"
#include "win32/dialog_form_win32.h"
#include "win32/dpi_win32.h"
#include "win32/option_lists_win32.h"
#include "win32/quickbox_store_win32.h"

namespace pw {
namespace {

// Help contexts of the main form's controls, ended by a zero pair.
// clang-format off
const DWORD kMainHelpTable[] = {
    IDC_PARENT, 2, IDC_TITLE, 3, IDC_TEXT, 4, IDC_BUTTONS, 5, IDC_DEFBUTTON, 6, IDC_ICON, 7,
    IDC_APPLMODAL, 8, IDC_SYSTEMMODAL, 9, IDC_TASKMODAL, 10, IDC_HELPBUTTON, 11, IDC_RIGHT, 12,
    IDC_RTLREADING, 13, IDC_SETFOREGROUND, 14, IDC_LANGUAGE, 15, IDC_DEFAULTDESKTOP, 21,
    IDC_TOPMOST, 22, IDC_SERVICE, 23, IDC_SERVICE_NT3X, 24, IDC_OTHERSTYLE, 25, 0, 0,
};
// clang-format on

int MainFormTemplate(const AppContext& context) { return context.Advanced() ? IDD_MAIN_ADVANCED : IDD_MAIN_SIMPLE; }

// Posted to open the designer with the start-up slot over the form once the
// form is on screen, rather than over a form not yet shown.
constexpr UINT kOpenStartupTaskDialog = WM_APP + 1;

void LoadStartupQuickBox(HWND form, AppContext& context) {
    const SlotValue value = ReadQuickBoxSlot(context.settings.settingsPath, context.settings.startupQuickBox);
    if (value.state == SlotState::Found && HandsOverToDesigner(value.statement, context))
        PostMessageW(form, kOpenStartupTaskDialog, 0, 0);
    else
        LoadQuickBox(form, context.settings.startupQuickBox, context);
}

// The creation parameter: the context becomes the form's data.
struct MainFormCreation {
    AppContext* context;
    StartupSlot startup;
    std::string_view editText;
};

void OnInitDialog(HWND form, AppContext& context, StartupSlot startup, std::string_view editText) {
    context.mainFormWindow = form;
    HMENU menu = GetMenu(form);
    BuildQuickBoxMenu(form, context.settings.settingsPath);
    if (!context.Advanced()) DeleteMenu(menu, IDC_GENERATE, MF_BYCOMMAND);
    DrawMenuBar(form);

    LeaveEscapeToDialog(form, IDC_TEXT);
    LeaveEscapeToDialog(form, IDC_CODE);
    FillOptionLists(form, context.settings.layout, context.settings.parents);
    // Clears the form first, so it opens in the Clear state with the start-up
    // slot (if it exists) over it.
    ShowCodeOptions(form, context);
    if (startup == StartupSlot::Load && !context.edit) LoadStartupQuickBox(form, context);
    if (context.edit) {
        SetWindowTextW(form, EditTitle(context).c_str());
        DialogForm(form).SetText(IDC_CODE, ExpandLineFeeds(editText));
        LoadCodeIntoForm(form, std::string(editText), context);
    }

    if (!context.settings.targetFiles.empty()) {
        InstallWarningLabel(form, IDC_SAVEWARN1);
        InstallWarningLabel(form, IDC_SAVEWARN2);
    } else {
        EnableWindow(GetDlgItem(form, IDC_INSERT), FALSE);
        EnableMenuItem(menu, IDC_INSERT, MF_BYCOMMAND | MF_GRAYED);
        SetDlgItemTextW(form, IDC_SAVEWARN1, L"");
        SetDlgItemTextW(form, IDC_SAVEWARN2, L"");
    }
}

void EndMainForm(HWND form, const AppContext& context, INT_PTR result) {
    context.EndQuickInsertWindows();
    CloseMainFormWindow(form, result);
}

// The statement for the form with line feeds made CR LF, as the code box, the
// clipboard and source files take it; none when it was refused (the user has
// been told).
std::optional<std::string> ExpandedStatement(HWND form, AppContext& context) {
    std::optional<std::string> statement = GenerateFromDialog(form, context);
    if (statement) *statement = ExpandLineFeeds(*statement);
    return statement;
}

void OnInsert(HWND form, AppContext& context) {
    // Under -EDIT a call inside other code is written as the call alone.
    const AnswerHandling answer = context.codeOptions.answer;
    context.codeOptions.answer = EditAnswer(context);
    const std::optional<std::string> statement = ExpandedStatement(form, context);
    context.codeOptions.answer = answer;
    if (!statement) return;
    const bool copied = InsertIntoTargets(form, context, *statement);
    if (copied && context.settings.insertShutDown) EndMainForm(form, context, 1);
}

void OnGenerate(HWND form, AppContext& context) {
    if (const std::optional<std::string> statement = ExpandedStatement(form, context))
        DialogForm(form).SetText(IDC_CODE, *statement);
}

void OnCopy(HWND form, AppContext& context) {
    if (const std::optional<std::string> statement = ExpandedStatement(form, context)) CopyOrWarn(form, *statement);
}

void OnLoadCode(HWND form, AppContext& context) {
    if (!context.Advanced()) {
        RunQuickInsert(form, context);
        return;
    }
    LoadCodeIntoForm(form, WindowText(GetDlgItem(form, IDC_CODE)), context);
}

void OnQuickBox(HWND form, AppContext& context, int command, QuickBoxOperation operation) {
    const std::string slot = QuickBoxSlotName(form, command);
    if (operation == QuickBoxOperation::Load)
        LoadQuickBox(form, slot, context);
    else
        StoreQuickBox(form, slot, context);
}

// The designer ends the main windows itself after its own insertion.
void OnTaskDialog(HWND form, AppContext& context) {
    if (context.openTaskDialog) context.openTaskDialog(form, std::string());
}

void OnClear(HWND form) {
    DialogForm dialog(form);
    ClearForm(dialog);
}

// Moved to a monitor of another scale: what the form draws itself is made
// again for the new DPI (the dialog manager rescales the template's controls).
void OnDpiChanged(HWND form, UINT dpi) {
    SetLabelDpi(form, dpi);
    SetIconPreviewDpi(form, dpi);
}

void OnCommand(HWND form, AppContext& context, int command, int notification) {
    switch (command) {
    case IDC_INSERT: OnInsert(form, context); break;
    case IDC_EXIT: EndMainForm(form, context, 0); break;
    case IDC_PREVIEW: PreviewMessageBox(form); break;
    case IDC_GENERATE: OnGenerate(form, context); break;
    case IDC_COPY: OnCopy(form, context); break;
    case IDC_LOADCODE: OnLoadCode(form, context); break;
    case IDM_CLEAR: OnClear(form); break;
    case IDM_HELP: ShowHelpContents(context.help, form); break;
    case IDM_ABOUT: RunAboutBox(form, context); break;
    case IDM_TASKDIALOG: OnTaskDialog(form, context); break;
    default:
        if (const auto slot = QuickBoxCommandOf(command)) {
            OnQuickBox(form, context, command, slot->operation);
        } else if (CodeOptions options = context.codeOptions; CodeOptionsOfCommand(command, options)) {
            ChooseCodeOptions(form, context, options);
        }
        break;  // anything else, IDOK and IDCANCEL included: Enter and Escape do nothing
    }
    if (notification == CBN_SELCHANGE && command == IDC_ICON) UpdateIconPreview(form);
    if (notification == CBN_DROPDOWN && command == IDC_LANGUAGE) FitDroppedWidth(GetDlgItem(form, IDC_LANGUAGE));
}

INT_PTR CALLBACK MainFormProc(HWND form, UINT message, WPARAM wParam, LPARAM lParam) {
    AnswerScreenReaders(form, message);
    const auto* creation = message == WM_INITDIALOG ? reinterpret_cast<const MainFormCreation*>(lParam) : nullptr;
    AppContext* context = creation != nullptr
                              ? AttachDialogData<AppContext>(form, reinterpret_cast<LPARAM>(creation->context))
                              : DialogData<AppContext>(form);
    if (context == nullptr) return FALSE;
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(form, *context, creation->startup, creation->editText); break;
    case WM_COMMAND: OnCommand(form, *context, LOWORD(wParam), HIWORD(wParam)); return FALSE;
    case WM_ACTIVATE:
        KeepFocusAcrossActivation(form, wParam);
        UpdateIconPreview(form);
        break;
    case kOpenStartupTaskDialog: LoadQuickBox(form, context->settings.startupQuickBox, *context); break;
    case WM_HELP:
        ShowContextHelp(context->help, form, *reinterpret_cast<const HELPINFO*>(lParam), kMainHelpTable);
        break;
    case WM_DPICHANGED:
        OnDpiChanged(form, DpiOfDpiChanged(wParam));
        SetDialogIcons(form, *context, true);
        return FALSE;  // the dialog manager rescales the controls and the window
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: RepaintLabels(form); return FALSE;
    case WM_CLOSE: EndMainForm(form, *context, 0); break;
    case WM_DESTROY:
        if (context->mainFormWindow == form) context->mainFormWindow = nullptr;
        RemovePropW(form, kModelessMainForm);
        FreeLabelResources(form);
        ForgetKeyboardState(form);
        PostQuitMessage(0);
        break;
    default: return FALSE;
    }
    SetDialogIcons(form, *context, true);
    return TRUE;
}

}  // namespace

INT_PTR RunMainForm(AppContext& context, std::string_view editText) {
    MainFormCreation creation{&context, StartupSlot::Load, editText};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(MainFormTemplate(context)), nullptr,
                           GuardedDialogProc<MainFormProc>, reinterpret_cast<LPARAM>(&creation));
}

HWND CreateMainForm(AppContext& context, StartupSlot startup) {
    MainFormCreation creation{&context, startup, {}};
    HWND form = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(MainFormTemplate(context)), nullptr,
                                   GuardedDialogProc<MainFormProc>, reinterpret_cast<LPARAM>(&creation));
    if (form != nullptr) SetPropW(form, kModelessMainForm, form);
    return form;
}

}  // namespace pw
