#include "dialogs/help_win32.h"

#include "dialogs/help_popup_win32.h"
#include "dialogs/help_window_win32.h"
#include "res/resource.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

std::string ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return Utf8(path);
        }
        path.resize(path.size() * 2);  // cut off: try again with more room
    }
}

// The dialog's own child that a help request names: F1 in the edit field of
// a combo box names that field, a child of the combo box. GetAncestor, as
// GetParent gives a popup's owner.
HWND DialogChild(HWND dialog, HWND window) {
    if (window == nullptr || !IsChild(dialog, window)) return nullptr;
    while (window != nullptr && GetAncestor(window, GA_PARENT) != dialog) window = GetAncestor(window, GA_PARENT);
    return window;
}

std::string WindowsFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = GetSystemWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0) return {};
        if (length < folder.size()) {
            folder.resize(length);
            return Utf8(folder);
        }
        folder.resize(length);  // the length it needs, with its terminating zero
    }
}

}  // namespace

HelpSystem HelpSystem::ForProgram() {
    HelpSystem help;
    help.helpFileUsable = [] { return HelpFileBeside(ModulePath()) && WinHelpViewerIn(WindowsFolder()); };
    help.winHelp = [](HWND window, const char* file, UINT command, ULONG_PTR data) {
        return WinHelpW(window, Utf16(file).c_str(), command, data);
    };
    help.openHelpWindow = OpenHelpWindow;
    help.showNote = ShowHelpPopup;
    return help;
}

void ShowHelpContents(const HelpSystem& help, HWND form) {
    if (help.helpFileUsable())
        help.winHelp(form, kHelpFile, HELP_CONTENTS, 0);
    else
        help.openHelpWindow(form);
}

void ShowContextHelp(const HelpSystem& help, HWND dialog, const HELPINFO& request, const DWORD* helpTable) {
    if (help.helpFileUsable()) {
        help.winHelp(static_cast<HWND>(request.hItemHandle), kHelpFile, HELP_WM_HELP,
                     reinterpret_cast<ULONG_PTR>(helpTable));
        return;
    }
    if (request.iContextType == HELPINFO_MENUITEM) {
        help.openHelpWindow(dialog);
        return;
    }
    // Only the dialog's own controls: a request passed up from a window it
    // owns (a message box's Help button, the About box) names another's.
    HWND control = DialogChild(dialog, static_cast<HWND>(request.hItemHandle));
    if (control == nullptr) return;
    const std::string text = ControlHelpText(GetDlgCtrlID(control));
    if (!text.empty()) help.showNote(control, text);
}

std::string ControlHelpText(int controlId) {
    // With no buffer, LoadStringW points into the resource itself.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(IDS_CONTROL_HELP + controlId),
                                   reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || text == nullptr) return {};
    return Utf8(std::wstring_view(text, static_cast<std::size_t>(length)));
}

bool HelpFileBeside(const std::string& programPath) {
    const std::size_t slash = programPath.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string() : programPath.substr(0, slash + 1);
    const DWORD attributes = GetFileAttributesW(Utf16(folder + kHelpFile).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// WinHelp starts winhlp32.exe, which lives in the Windows folder (not in
// System32, so WOW64 redirects nothing). Where Windows Help is not
// installed, Windows 10 and 11 always and Windows 7 and 8 without the
// download of KB917607, the file there is a stub of a few kilobytes that only
// says that Windows Help is not supported; the viewer itself is some hundreds
// of kilobytes. The size tells them apart where the version of Windows
// cannot: 7 and 8 may lack the viewer, and 10 may have one copied in.
bool WinHelpViewerIn(const std::string& windowsFolder) {
    if (windowsFolder.empty()) return false;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Utf16(windowsFolder + "\\winhlp32.exe").c_str(), GetFileExInfoStandard, &data))
        return false;
    const ULONGLONG size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && size >= kLeastWinHelpViewerSize;
}

}  // namespace pw
