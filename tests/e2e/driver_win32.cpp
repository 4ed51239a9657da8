#include "e2e/driver_win32.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "common/wide_win32.h"

namespace e2e {
namespace {

using test::Narrow;
using test::Wide;

std::string WindowsPath(std::string path) {
    // CTest hands us a Unix path; Wine maps the root to drive Z:.
    if (!path.empty() && path[0] == '/') path = std::string("Z:").append(path);
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string ExePath() {
    const char* exe = std::getenv("PW_EXE");
    if (exe == nullptr || *exe == '\0') throw std::runtime_error("PW_EXE is not set");
    return WindowsPath(exe);
}

std::string Quote(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// Enough for "#32770", the only class asked about; a longer name is cut and
// then differs, as it should.
std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct FindData {
    DWORD pid;
    std::string caption;
    bool wantMessageBox;
    HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND window, LPARAM param) {
    auto* data = reinterpret_cast<FindData*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != data->pid || !IsWindowVisible(window) || ClassName(window) != L"#32770") return TRUE;
    // Message boxes show their text in the static 0xFFFF; our own dialogs do not use it.
    const bool isMessageBox = GetDlgItem(window, 0xFFFF) != nullptr;
    if (data->wantMessageBox) {
        if (!isMessageBox) return TRUE;
    } else if (!data->caption.empty() && WindowTextOf(window) != data->caption) {
        return TRUE;
    }
    data->found = window;
    return FALSE;
}

HWND FindTopLevel(DWORD pid, const std::string& caption, bool messageBox) {
    FindData data{pid, caption, messageBox, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

// One item's text of a combo box or list box, by its pair of messages. The
// ANSI item text comes back as UTF-16 across processes: use the W messages.
std::string ItemText(HWND list, UINT lengthMessage, UINT textMessage, int position) {
    const LRESULT length = SendMessageW(list, lengthMessage, static_cast<WPARAM>(position), 0);
    if (length < 0) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(list, textMessage, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(static_cast<std::size_t>(length));
    return Narrow(wide);
}

}  // namespace

std::string WindowTextOf(HWND window) {
    // Send WM_GETTEXT: GetWindowText does not reach other processes' controls.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = SendMessageW(window, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return Narrow(wide);
}

App::App(const TempDir& dir, const std::vector<std::string>& args, const std::string& settings)
    : App(dir.path(), args, settings) {}

App::App(const std::string& folder, const std::vector<std::string>& args, const std::string& settings) {
    const std::string exe = folder + "\\promptwright.exe";
    if (!CopyFileW(Wide(ExePath()).c_str(), Wide(exe).c_str(), FALSE))
        throw std::runtime_error("cannot copy the program");
    if (!settings.empty() && !TempDir::WriteBytes(folder + "\\promptwright.ini", settings))
        throw std::runtime_error("cannot write the settings file");
    std::string commandLine = Quote(exe);
    for (const std::string& arg : args) commandLine += " " + Quote(arg);
    std::wstring wideCommandLine = Wide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const bool started = StartRetrying([&] {
        std::wstring line = wideCommandLine;
        return CreateProcessW(Wide(exe).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, Wide(folder).c_str(),
                              &startup, &process_) != FALSE;
    });
    if (!started) throw std::runtime_error("cannot start the program (error " + std::to_string(GetLastError()) + ")");
    WaitForInputIdle(process_.hProcess, 10000);
}

App::~App() {
    if (Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool App::Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

HWND App::WaitWindow(const std::string& caption, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopLevel(pid(), caption, false)) != nullptr; }, timeoutMs);
    return found;
}

MessageBoxInfo App::WaitMessageBox(DWORD timeoutMs) const {
    MessageBoxInfo info;
    WaitFor([&] { return (info.window = FindTopLevel(pid(), "", true)) != nullptr; }, timeoutMs);
    if (info.window == nullptr) return info;
    info.caption = WindowTextOf(info.window);
    info.text = WindowTextOf(GetDlgItem(info.window, 0xFFFF));
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE, 9 /*IDHELP*/}) {
        HWND button = GetDlgItem(info.window, id);
        if (button != nullptr && IsWindowVisible(button)) info.buttons.push_back(id);
    }
    // The icon static is 0x14 on Windows and 0x440 (stc1) under Wine.
    for (int id : {0x14, 0x440}) {
        HWND icon = GetDlgItem(info.window, id);
        if (icon != nullptr && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0) info.hasIcon = true;
    }
    return info;
}

bool App::NoMessageBoxWithin(DWORD timeoutMs) const {
    return !WaitFor([&] { return FindTopLevel(pid(), "", true) != nullptr; }, timeoutMs);
}

int App::WaitExit(DWORD timeoutMs) {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1000;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

std::string Text(HWND dialog, int id) { return WindowTextOf(GetDlgItem(dialog, id)); }

void SetText(HWND dialog, int id, const std::string& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

int ListPosition(HWND dialog, int id) {
    return static_cast<int>(SendMessageW(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

void ChooseListPosition(HWND dialog, int id, int position) {
    HWND list = GetDlgItem(dialog, id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::string ListText(HWND dialog, int id, int position) {
    return ItemText(GetDlgItem(dialog, id), CB_GETLBTEXTLEN, CB_GETLBTEXT, position);
}

int ListCount(HWND dialog, int id) { return static_cast<int>(SendMessageW(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0)); }

int ListBoxCount(HWND dialog, int id) {
    return static_cast<int>(SendMessageW(GetDlgItem(dialog, id), LB_GETCOUNT, 0, 0));
}

std::string ListBoxText(HWND dialog, int id, int position) {
    return ItemText(GetDlgItem(dialog, id), LB_GETTEXTLEN, LB_GETTEXT, position);
}

void ChooseListBoxEntry(HWND dialog, int id, int position) {
    HWND list = GetDlgItem(dialog, id);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void TypeText(HWND window, const std::string& text) {
    // A character above U+FFFF arrives as its two halves, as from a keyboard.
    for (wchar_t unit : Wide(text)) SendMessageW(window, WM_CHAR, unit, 1);
}

bool Checked(HWND dialog, int id) { return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }

void Command(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void SendCommand(HWND dialog, int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void Close(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

void PressKey(HWND window, UINT virtualKey) {
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}

bool WaitGone(HWND window, DWORD timeoutMs) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

HICON ShownIcon(HWND dialog, int id) {
    return reinterpret_cast<HICON>(SendMessageW(GetDlgItem(dialog, id), STM_GETICON, 0, 0));
}

std::vector<std::string> Texts(HWND dialog, int id) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == id) texts.push_back(WindowTextOf(child));
    return texts;
}

void ClickControl(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM middle = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    PostMessageW(control, WM_LBUTTONUP, 0, middle);
}

namespace {

// Calls `seen(x, y)` for each pixel of the window's client area that shows
// `color` on screen now (another process's window: read from the screen).
template <typename Seen>
void ScanColor(HWND window, COLORREF color, Seen seen) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (GetPixel(memory, x, y) == color) seen(x, y);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

}  // namespace

int CountColor(HWND window, COLORREF color) {
    int count = 0;
    ScanColor(window, color, [&](int, int) { ++count; });
    return count;
}

RECT ColorExtent(HWND window, COLORREF color) {
    RECT extent{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    bool any = false;
    ScanColor(window, color, [&](int x, int y) {
        any = true;
        extent.left = std::min<LONG>(extent.left, x);
        extent.top = std::min<LONG>(extent.top, y);
        extent.right = std::max<LONG>(extent.right, x + 1);
        extent.bottom = std::max<LONG>(extent.bottom, y + 1);
    });
    return any ? extent : RECT{};
}

std::string ValueLine(const std::string& file, const std::string& key) {
    const std::size_t at = file.find("\n" + key + "=");
    if (at == std::string::npos) return "<missing>";
    const std::size_t start = at + key.size() + 2;
    return file.substr(start, file.find("\r\n", start) - start);
}

namespace {

std::string ClipboardData(UINT format) {
    std::string text = "<none>";
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    HANDLE data = GetClipboardData(format);
    if (data != nullptr) {
        if (const void* locked = GlobalLock(data)) {
            // The block may be larger than its text: up to the first zero.
            text = format == CF_UNICODETEXT ? Narrow(static_cast<const wchar_t*>(locked))
                                            : std::string(static_cast<const char*>(locked));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

std::string ClipboardText() { return ClipboardData(CF_UNICODETEXT); }

std::string ClipboardAnsiText() { return ClipboardData(CF_TEXT); }

void SetClipboardText(const std::string& text) {
    const std::wstring wide = Wide(text);
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(20);
    EmptyClipboard();
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block != nullptr) {
        memcpy(GlobalLock(block), wide.c_str(), bytes);
        GlobalUnlock(block);
        if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) GlobalFree(block);
    }
    CloseClipboard();
}

}  // namespace e2e
