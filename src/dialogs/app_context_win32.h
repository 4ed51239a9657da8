// What the windows of one run share: made in WinMain, handed to each dialog
// through its creation parameter and kept in its window data.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/codegen/statement_writer.h"
#include "core/model/code_options.h"
#include "core/settings/app_settings.h"
#include "dialogs/help_win32.h"
#include "res/resource.h"
#include "win32/ansi_code_page_win32.h"
#include "win32/call_edit_win32.h"
#include "win32/dpi_win32.h"

namespace pw {

// -EDIT: the call the window run was opened on, and its file as read.
struct EditSession {
    std::string path;
    SourcePosition at;
    SourceSnapshot snapshot;
    FoundCall call;
};

struct AppContext {
    AppSettings settings;
    // The small and big icon of every dialog, at the DPI of the dialog's
    // monitor. A cache, so dialogs given the context read-only use it too.
    mutable WindowIconsForDpi programIcons{GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PROGRAM)};
    // How F1, the title bar's ? and the Help menu are answered.
    HelpSystem help = HelpSystem::ForProgram();

    // The main form while it exists (null before and after).
    HWND mainFormWindow = nullptr;
    // Every QuickInsert window from its opening to its destruction, latest
    // last: under -QI in the simple layout a second QuickInsert, opened from
    // the modeless main form, runs while the hidden first one still runs the
    // program's message loop, and the main form must end them all.
    std::vector<HWND> quickInsertWindows;

    // The "Co&de" menu's options in force (from the settings at start-up) and
    // the code page the form's text is in.
    CodeOptions codeOptions;
    AnsiCodePage codePage;

    // The MessageBoxIndirect options of the last OK, kept for the run.
    ParamsOptions paramsOptions;
    // paramsOptions came from a statement Load code read, not from an OK: the
    // next opening of the options dialog shows them, so that OK keeps them.
    bool paramsFromStatement = false;

    // Opens the main form as a modeless window (QuickInsert's Edit under -QI).
    // Set by the app layer, which alone knows both windows.
    std::function<HWND()> createMainForm;
    // Runs the task dialog designer modally over `owner`, with `statement`
    // (a task-dialog statement, or empty) loaded. Set by the app layer: the
    // main form, its QuickBox menu and its Load code hand task dialogs over,
    // and the designer uses their units in turn.
    std::function<INT_PTR(HWND owner, const std::string& statement)> openTaskDialog;

    // Under -EDIT; Insert in source then replaces the call (the session
    // moves on to the call written, so that it can be replaced again).
    std::shared_ptr<EditSession> edit;

    bool Advanced() const { return settings.layout == Layout::Advanced; }
    bool MainFormExists() const { return mainFormWindow != nullptr && IsWindow(mainFormWindow); }
    // The latest QuickInsert window, or null.
    HWND quickInsertWindow() const { return quickInsertWindows.empty() ? nullptr : quickInsertWindows.back(); }

    // Ends every open QuickInsert window (the latest first), result 0.
    void EndQuickInsertWindows() const;
    // Ends every QuickInsert window and the main form (`result` for the main
    // form): what Insert in source does under InsertShutDown.
    void EndMainWindows(INT_PTR result) const;
};

// Marks the main form made modeless (QuickInsert's Edit under -QI): it ends by
// DestroyWindow, not EndDialog, and QuickInsert's key filter knows it by this.
inline constexpr wchar_t kModelessMainForm[] = L"Promptwright.ModelessMainForm";

// Ends the main form: destroys the modeless one (its result is not kept),
// ends the modal one's loop with `result`.
void CloseMainFormWindow(HWND form, INT_PTR result);

// Sets the small (and, with `big`, the big) icon of a dialog to the program's,
// at the dialog's DPI.
void SetDialogIcons(HWND dialog, const AppContext& context, bool big);

}  // namespace pw
