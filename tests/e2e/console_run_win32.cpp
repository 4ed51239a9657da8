#include "e2e/console_run_win32.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "common/wide_win32.h"
#include "e2e/driver_win32.h"

namespace e2e {
namespace {

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    HANDLE* Out() { return &handle_; }
    void Reset() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
        handle_ = nullptr;
    }

private:
    HANDLE handle_ = nullptr;
};

// A pipe whose `child` end is inheritable and whose other end is not.
struct Pipe {
    Handle read, write;
    explicit Pipe(bool childReads) {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!CreatePipe(read.Out(), write.Out(), &inherit, 0)) throw std::runtime_error("CreatePipe");
        SetHandleInformation(childReads ? write.Get() : read.Get(), HANDLE_FLAG_INHERIT, 0);
    }
};

void ReadWhole(HANDLE from, std::string& into) {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(from, buffer, sizeof buffer, &got, nullptr) && got > 0) into.append(buffer, got);
}

// Counts EVENT_OBJECT_CREATE of one process. The callback gets only the hook
// handle, so the counters are found through it.
class WindowWatch {
public:
    explicit WindowWatch(DWORD pid)
        : hook_(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, OnEvent, pid, 0,
                                WINEVENT_OUTOFCONTEXT)) {
        if (hook_ == nullptr) throw std::runtime_error("SetWinEventHook");
        std::lock_guard<std::mutex> lock(Mutex());
        Counts()[hook_] = 0;
    }
    ~WindowWatch() {
        UnhookWinEvent(hook_);
        std::lock_guard<std::mutex> lock(Mutex());
        Counts().erase(hook_);
    }
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    int Created() const {
        std::lock_guard<std::mutex> lock(Mutex());
        return Counts()[hook_];
    }

private:
    static std::mutex& Mutex() {
        static std::mutex mutex;
        return mutex;
    }
    static std::map<HWINEVENTHOOK, int>& Counts() {
        static std::map<HWINEVENTHOOK, int> counts;
        return counts;
    }
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
        if (window == nullptr || object != OBJID_WINDOW) return;
        std::lock_guard<std::mutex> lock(Mutex());
        ++Counts()[hook];
    }
    HWINEVENTHOOK hook_;
};

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

BOOL CALLBACK CloseIfOf(HWND window, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == static_cast<DWORD>(pid) && IsWindowVisible(window)) PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

void CloseWindowsOf(DWORD pid) { EnumWindows(CloseIfOf, static_cast<LPARAM>(pid)); }

}  // namespace

std::string QuoteArgument(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
        } else {
            // Backslashes count double only before a quote.
            if (c == '"') quoted.append(backslashes + 1, '\\');
            backslashes = 0;
        }
        quoted += c;
    }
    quoted.append(backslashes, '\\');
    return quoted + "\"";
}

std::string OwnFolder() {
    // GetModuleFileNameW cuts at the buffer size: grow until the path fits.
    std::wstring path(MAX_PATH, L'\0');
    DWORD got = 0;
    while ((got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) >= path.size())
        path.resize(path.size() * 2);
    path.resize(got);
    const std::string utf8 = test::Narrow(path);
    return utf8.substr(0, utf8.find_last_of('\\'));
}

std::string ProgramUnderTest() {
    const char* exe = std::getenv("PW_EXE");
    if (exe == nullptr || *exe == '\0') throw std::runtime_error("PW_EXE is not set");
    std::string path = exe;
    if (path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

ConsoleRun RunConsole(const std::string& exe, const std::vector<std::string>& args, const std::string& directory,
                      const ConsoleRunOptions& options) {
    Pipe input(true), output(false), error(false);
    const std::string name = exe.substr(exe.find_last_of('\\') + 1);
    std::string commandLine = QuoteArgument(options.byName ? name : exe);
    for (const std::string& arg : args) commandLine += " " + QuoteArgument(arg);

    std::wstring wideCommandLine = test::Wide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (options.standardHandles) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = input.read.Get();
        startup.hStdOutput = options.outputTo != nullptr ? options.outputTo : output.write.Get();
        startup.hStdError = error.write.Get();
    }
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const std::wstring wideExe = test::Wide(exe);
    const bool started = StartRetrying([&] {
        std::wstring line = wideCommandLine;
        return CreateProcessW(options.byName ? nullptr : wideExe.c_str(), line.data(), nullptr, nullptr,
                              options.standardHandles, CREATE_SUSPENDED, nullptr, test::Wide(directory).c_str(),
                              &startup, &process) != FALSE;
    });
    if (!started) throw std::runtime_error("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
    Handle processHandle(process.hProcess), thread(process.hThread);
    // Only the child holds these ends now, so the pipes end with it.
    input.read.Reset();
    output.write.Reset();
    error.write.Reset();

    ConsoleRun run;
    std::optional<WindowWatch> watch;
    if (options.watchWindows) watch.emplace(process.dwProcessId);
    ResumeThread(thread.Get());

    std::thread writer([&] {
        DWORD written = 0;
        std::size_t done = 0;
        while (done < options.input.size() &&
               WriteFile(input.write.Get(), options.input.data() + done,
                         static_cast<DWORD>(options.input.size() - done), &written, nullptr) &&
               written > 0)
            done += written;
        input.write.Reset();
    });
    std::thread outReader([&] { ReadWhole(output.read.Get(), run.output); });
    std::thread errReader([&] { ReadWhole(error.read.Get(), run.error); });

    const DWORD begin = GetTickCount();
    bool timedOut = false;
    HANDLE waitFor = processHandle.Get();
    for (;;) {
        const DWORD left = options.timeoutMs - std::min(options.timeoutMs, GetTickCount() - begin);
        const DWORD why = MsgWaitForMultipleObjects(1, &waitFor, FALSE, std::min<DWORD>(left, 50), QS_ALLINPUT);
        if (why == WAIT_OBJECT_0) break;
        PumpMessages();
        if (options.closeWindows) CloseWindowsOf(process.dwProcessId);
        if (left == 0) {
            timedOut = true;
            TerminateProcess(processHandle.Get(), 1000);
            WaitForSingleObject(processHandle.Get(), 5000);
            break;
        }
    }
    QueryPerformanceCounter(&end);
    run.milliseconds =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    DWORD code = 0;
    GetExitCodeProcess(processHandle.Get(), &code);
    run.exitCode = timedOut ? -1000 : static_cast<int>(code);

    writer.join();
    outReader.join();
    errReader.join();
    if (watch) {
        // Out-of-context events arrive as messages, some after the process ended.
        for (int i = 0; i < 5; ++i) {
            Sleep(20);
            PumpMessages();
        }
        run.windowsCreated = watch->Created();
    }
    return run;
}

}  // namespace e2e
