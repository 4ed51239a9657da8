// Program entry: read the command line and the settings; then either do the
// work asked for without a window (-PRINT, -INSERT, -LIST, -VERSION), or build the
// context the windows share and run one modal dialog whose result is the
// exit code.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "console/std_streams_win32.h"
#include "console/windowless_run_win32.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/edit_call_win32.h"
#include "dialogs/main_form_win32.h"
#include "dialogs/quick_insert_win32.h"
#include "dialogs/task_dialog_designer_win32.h"
#include "dialogs/warning_win32.h"
#include "win32/ansi_code_page_win32.h"
#include "win32/guard_win32.h"
#include "win32/raii_win32.h"
#include "win32/settings_win32.h"
#include "win32/text_win32.h"

namespace {

// The arguments as UTF-16, so that a path may hold any character: the C
// runtime's split of GetCommandLineW (linked with -municode), by the rules the
// narrow __argv followed, so every command line parses as before. Not
// CommandLineToArgvW: it lives in shell32, which a run without a window must
// not load (see cmake/Win32.cmake), and splits the program's name and doubled
// quotes its own way.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    if (__wargv == nullptr) return args;
    args.reserve(static_cast<std::size_t>(__argc));
    for (int i = 0; i < __argc && __wargv[i] != nullptr; ++i) args.push_back(pw::Utf8(__wargv[i]));
    return args;
}

int Main() {
    using namespace pw;
    Win32StartupEnvironment environment;
    std::vector<std::string> args = Arguments();
    if (!args.empty()) args[0] = ProgramPathForSettings(args[0]);
    AppSettings settings = ReadStartup(args, environment);
    // A settings file read as missing would be written over by the first save.
    for (const std::string& problem : environment.Problems()) settings.windowless.errors.push_back(problem);

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
    context.createMainForm = [&context] { return CreateMainForm(context, StartupSlot::Skip); };
    // The main form's Code menu, Load code and QuickBox Load, and QuickInsert's
    // Edit open task dialogs in the designer through this.
    context.openTaskDialog = [&context](HWND owner, const std::string& statement) {
        return RunTaskDialogDesigner(owner, context, statement);
    };

    InitCommonControls();
    // Before the first shell call (the link labels' ShellExecute), on this,
    // the only thread with windows.
    const ComApartment com;

    if (context.settings.edit) {
        const std::optional<std::string> call = OpenEditCall(context);
        if (!call) return kExitError;
        if (context.edit->call.taskDialog) return static_cast<int>(context.openTaskDialog(nullptr, *call));
        return static_cast<int>(RunMainForm(context, *call));
    }
    if (context.settings.quickInsertOnly) return static_cast<int>(RunQuickInsert(nullptr, context));
    return static_cast<int>(RunMainForm(context));
}

}  // namespace

// Whatever escapes is told, never std::terminate: in a box (a run without a
// window tells on standard error itself, and throws nothing out).
int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    try {
        return Main();
    } catch (...) {
        pw::EndAfterEscapedException();
    }
}
