// What a command shows in modal boxes on the test's own thread: a thread of
// the test's watches for new dialogs while the command runs, records each and
// closes it, so that the command returns.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "win32/text_win32.h"

namespace test {

// The whole text of a window, read as UTF-16 (any character) and given as UTF-8.
inline std::string WideWindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return pw::Utf8(text);
}

struct ShownBox {
    std::string caption;
    std::string text;  // a message box's message; empty for another dialog
    bool operator==(const ShownBox&) const = default;
};

struct ThreadWindows {
    std::set<HWND> seen;
    std::vector<HWND> fresh;  // not seen before
};

inline BOOL CALLBACK CollectFreshWindow(HWND window, LPARAM param) {
    auto& windows = *reinterpret_cast<ThreadWindows*>(param);
    if (windows.seen.count(window) == 0) windows.fresh.push_back(window);
    return TRUE;
}

// Runs `action` and gives the dialogs it showed on this thread, in order.
// Each is handed to `visit` (on the watching thread) first, then a message box
// is answered with OK and any other dialog closed, as its close box would (a
// box left open would keep `action` from returning).
inline std::vector<ShownBox> BoxesShownBy(const std::function<void()>& action,
                                          const std::function<void(HWND)>& visit = {}) {
    const DWORD thread = GetCurrentThreadId();
    ThreadWindows windows;
    const auto enumerate = [&] {
        windows.fresh.clear();
        EnumThreadWindows(thread, CollectFreshWindow, reinterpret_cast<LPARAM>(&windows));
    };
    enumerate();  // what exists before the action is not its doing
    windows.seen.insert(windows.fresh.begin(), windows.fresh.end());

    std::atomic<bool> stop{false};
    std::vector<ShownBox> shown;
    std::thread answerer([&] {
        while (!stop) {
            enumerate();
            for (HWND window : windows.fresh) {
                wchar_t className[16] = {};
                GetClassNameW(window, className, 16);
                if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) continue;
                windows.seen.insert(window);
                if (visit) visit(window);
                HWND message = GetDlgItem(window, 0xFFFF);
                shown.push_back({WideWindowText(window), message != nullptr ? WideWindowText(message) : ""});
                PostMessageW(window, message != nullptr ? WM_COMMAND : WM_CLOSE, message != nullptr ? IDOK : 0, 0);
            }
            Sleep(20);
        }
    });
    action();
    stop = true;
    answerer.join();
    return shown;
}

}  // namespace test
