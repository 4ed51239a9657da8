// Program entry: read the command line and the settings, then run one modal
// dialog whose result is the exit code.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "dialogs/globals_win32.h"
#include "dialogs/main_form_win32.h"
#include "win32/settings_win32.h"
#include "dialogs/quick_insert_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace pw;
    programIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));

    std::vector<std::string> args(__argv, __argv + __argc);
    Win32StartupEnvironment environment;
    appSettings = ReadStartup(args, environment);

    InitCommonControls();

    if (appSettings.quickInsertOnly) return static_cast<int>(RunQuickInsert(nullptr));
    return static_cast<int>(DialogBoxParamA(instance, MAKEINTRESOURCEA(MainFormTemplate()),
                                            nullptr, MainFormProc, 0));
}
