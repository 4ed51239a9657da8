// Drives a running promptwright.exe from another process, as a user would:
// start it with arguments and its own settings, find its windows and controls,
// set and read them, press buttons and menu items, answer message boxes, read
// the clipboard and collect the exit code. Every text is UTF-8, passed on
// through the W functions and messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/temp_dir_win32.h"

namespace e2e {

using test::TempDir;

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // command identifiers (IDOK, IDYES, ...) in the box
    bool hasIcon = false;
};

class App {
public:
    // Copies promptwright.exe into `dir` (so that its default settings file is
    // dir\promptwright.ini), writes `settings` there when not empty, and starts
    // it with `args` in `dir`.
    App(const TempDir& dir, const std::vector<std::string>& args, const std::string& settings = "");
    // The same in any folder (`folder` is a full path).
    App(const std::string& folder, const std::vector<std::string>& args, const std::string& settings = "");
    ~App();  // ends the process if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    DWORD pid() const { return process_.dwProcessId; }

    // The first visible top-level dialog of the process whose caption is
    // `caption` (any when empty), or null after the timeout.
    HWND WaitWindow(const std::string& caption = "", DWORD timeoutMs = 15000) const;
    HWND MainForm(DWORD timeoutMs = 15000) const { return WaitWindow("Promptwright", timeoutMs); }

    // A message box of the process (a dialog with the static text 0xFFFF).
    MessageBoxInfo WaitMessageBox(DWORD timeoutMs = 10000) const;
    bool NoMessageBoxWithin(DWORD timeoutMs) const;

    // The exit code, or -1000 when the process still runs after the timeout.
    int WaitExit(DWORD timeoutMs = 15000);
    bool Running() const;

private:
    PROCESS_INFORMATION process_{};
};

// The text of another process's window (WM_GETTEXT).
std::string WindowTextOf(HWND window);

// Controls of another process.
HWND Control(HWND dialog, int id);
std::string Text(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::string& text);
int ListPosition(HWND dialog, int id);
// Selects a position and notifies the dialog as a user's choice would.
void ChooseListPosition(HWND dialog, int id, int position);
std::string ListText(HWND dialog, int id, int position);
int ListCount(HWND dialog, int id);
// List boxes (the combo box functions above are for combo boxes).
int ListBoxCount(HWND dialog, int id);
std::string ListBoxText(HWND dialog, int id, int position);
// Selects an entry and tells the dialog (LBN_SELCHANGE), as a user's click does.
void ChooseListBoxEntry(HWND dialog, int id, int position);
// Types into a control with WM_CHAR, one character at a time ('\b' deletes
// the one before the caret), so that a multi-line edit notifies its dialog.
void TypeText(HWND window, const std::string& text);
bool Checked(HWND dialog, int id);
// Clicks a check box or radio button as the user would (the state changes and
// the dialog is told).
void Click(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
bool Visible(HWND dialog, int id);
// Posts a command (a button press or menu item); returns at once, so commands
// that open modal windows do not block the test.
void Command(HWND dialog, int id);
// Sends a command and waits for it to be handled.
void SendCommand(HWND dialog, int id);
void Close(HWND window);  // the close box
void PressKey(HWND window, UINT virtualKey);
// Waits until `window` is gone.
bool WaitGone(HWND window, DWORD timeoutMs = 10000);
// The icon shown by a static icon control, or null.
HICON ShownIcon(HWND dialog, int id);

// The texts of every control of `dialog` with the identifier `id`, in
// template order (several controls may share IDC_LABEL).
std::vector<std::string> Texts(HWND dialog, int id);
// A left mouse click in the middle of a control.
void ClickControl(HWND control);
// How many pixels of the window's client area show `color` on screen now.
int CountColor(HWND window, COLORREF color);
// The smallest rectangle of the client area holding every pixel that shows
// `color` now (empty when none does).
RECT ColorExtent(HWND window, COLORREF color);

// The value line of a key in a settings file's text, without its line end
// ("<missing>" when the key is not there).
std::string ValueLine(const std::string& file, const std::string& key);

// The clipboard's text as UTF-8: CF_UNICODETEXT, or "<none>" when there is none.
std::string ClipboardText();
// CF_TEXT, the bytes in the ANSI code page that Windows makes for older programs.
std::string ClipboardAnsiText();
void SetClipboardText(const std::string& text);  // as CF_UNICODETEXT

// Runs `start` (a CreateProcessW call) until it succeeds, a few times: a
// program copied a moment ago may still be held (seen under load).
template <typename Start>
bool StartRetrying(Start start) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (start()) return true;
        Sleep(100);
    }
    return false;
}

// Runs `check` until it returns true or the timeout passes.
template <typename Check>
bool WaitFor(Check check, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (check()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

}  // namespace e2e
