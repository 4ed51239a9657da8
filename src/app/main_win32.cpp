// Program entry: read the command line and the settings; then either do the
// work asked for without a window (-PRINT, -INSERT, -LIST, -VERSION), or build the
// context the windows share and run one modal dialog whose result is the
// exit code.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "console/std_streams_win32.h"
#include "console/windowless_run_win32.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/main_form_win32.h"
#include "dialogs/quick_insert_win32.h"
#include "dialogs/task_dialog_designer_win32.h"
#include "dialogs/warning_win32.h"
#include "win32/ansi_code_page_win32.h"
#include "win32/settings_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace pw;
    Win32StartupEnvironment environment;
    std::vector<std::string> args(__argv, __argv + __argc);
    if (!args.empty()) args[0] = ProgramPathForSettings(args[0]);
    AppSettings settings = ReadStartup(args, environment);

    // Before the context and the common controls: this run opens no window.
    if (settings.windowless.action != WindowlessAction::None)
        return RunWithoutWindow(settings, AnsiCodePage(), StandardStreams::OfProcess());

    // A window run has no standard handles to report on: a bad -CHARSET: or
    // -ANSWER: is told in a box, and nothing opens.
    if (!settings.windowless.errors.empty()) {
        std::string text;
        for (const std::string& error : settings.windowless.errors) text += (text.empty() ? "" : "\n") + error;
        ShowWarning(nullptr, text);
        return kExitError;
    }

    AppContext context;
    context.settings = std::move(settings);
    context.codeOptions = context.settings.codeOptions;
    // QuickInsert's Edit opens the main form through this, so that the two
    // windows need not know each other.
    context.createMainForm = [&context] { return CreateMainForm(context); };
    // The main form's Code menu, Load code and QuickBox Load, and QuickInsert's
    // Edit open task dialogs in the designer through this.
    context.openTaskDialog = [&context](HWND owner, const std::string& statement) {
        return RunTaskDialogDesigner(owner, context, statement);
    };

    InitCommonControls();

    if (context.settings.quickInsertOnly) return static_cast<int>(RunQuickInsert(nullptr, context));
    return static_cast<int>(RunMainForm(context));
}
