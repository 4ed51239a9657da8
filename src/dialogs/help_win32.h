// How F1, the title bar's ? and the Help menu are answered. Where the help
// file lies beside the program and Windows Help is installed to show it,
// WinHelp shows it, called with the arguments the program always gave it.
// Otherwise the program's own help answers: the help window and the
// context-help notes, which need no help viewer (Windows has come without one
// for that file format since Vista, and 10 and 11 have none to download).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace pw {

inline constexpr char kHelpFile[] = "PROMPTWRIGHT HELP.HLP";

// What the choice calls, as function objects so that tests can watch it
// without a help viewer. Texts and paths are UTF-8.
struct HelpSystem {
    std::function<bool()> helpFileUsable;
    std::function<BOOL(HWND window, const char* file, UINT command, ULONG_PTR data)> winHelp;
    std::function<HWND(HWND owner)> openHelpWindow;
    std::function<HWND(HWND control, const std::string& text)> showNote;

    // The platform's: the help file looked for beside the program, and the
    // viewer in the Windows folder, each time help is asked for; WinHelpW,
    // the help window and the notes.
    static HelpSystem ForProgram();
};

// The Help menu's Help item of `form`.
void ShowHelpContents(const HelpSystem& help, HWND form);

// WM_HELP of `dialog` (F1, or the title bar's ? and a click). `helpTable`
// is the dialog's (control, help context) table for the help file.
void ShowContextHelp(const HelpSystem& help, HWND dialog, const HELPINFO& request, const DWORD* helpTable);

// The context-help note of the control with identifier `controlId`; empty
// when it has none.
std::string ControlHelpText(int controlId);

// Whether the help file lies in the folder of the program at `programPath`.
bool HelpFileBeside(const std::string& programPath);

// The least size of a winhlp32.exe that is the viewer, not the stub that
// says Windows Help is not supported.
inline constexpr unsigned long long kLeastWinHelpViewerSize = 64 * 1024;

// Whether the Windows folder `windowsFolder` holds the Windows Help viewer.
bool WinHelpViewerIn(const std::string& windowsFolder);

}  // namespace pw
