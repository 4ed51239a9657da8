// Program entry: read the command line and the settings into the context the
// windows share, then run one modal dialog whose result is the exit code.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dialogs/app_context_win32.h"
#include "dialogs/main_form_win32.h"
#include "dialogs/quick_insert_win32.h"
#include "dialogs/task_dialog_designer_win32.h"
#include "win32/settings_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace pw;
    AppContext context;

    Win32StartupEnvironment environment;
    context.settings = ReadStartup(std::vector<std::string>(__argv, __argv + __argc), environment);
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
