// Starts a program the way editors and scripts start promptwright.exe without
// a window: standard input, output and error as pipes, the exit code, and
// whether the process created any window while it ran.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct ConsoleRunOptions {
    // Written to the program's standard input, which is then closed; with
    // none, the input pipe is closed at once.
    std::string input;
    // Where the program's standard output goes instead of the pipe the run
    // reads (an inheritable handle, such as the write end of a pipe into
    // another program); `output` then stays empty.
    HANDLE outputTo = nullptr;
    // false: the program gets no standard handles at all (no
    // STARTF_USESTDHANDLES), as when started from Explorer.
    bool standardHandles = true;
    // Counts the windows the process creates (EVENT_OBJECT_CREATE, hidden and
    // message-only windows included) from its very first instruction on.
    bool watchWindows = true;
    // Closes every visible top-level window of the process as it appears, so
    // that a run that shows a message box still ends.
    bool closeWindows = false;
    DWORD timeoutMs = 30000;
    // true: started by its file name alone, found through PATH as a shell
    // finds it, so that its argv[0] names no folder.
    bool byName = false;
};

struct ConsoleRun {
    int exitCode = -1000;  // -1000: still running after the timeout (then ended)
    std::string output, error;
    int windowsCreated = 0;
    double milliseconds = 0;  // from CreateProcess to the process's end
};

// Runs `exe` with `args` in `directory` (paths and arguments in UTF-8, any
// character; input and output are the bytes the pipes carry).
ConsoleRun RunConsole(const std::string& exe, const std::vector<std::string>& args, const std::string& directory,
                      const ConsoleRunOptions& options = {});

// A command line argument quoted as the C runtime parses it back.
std::string QuoteArgument(const std::string& arg);

// The folder of the test program itself, where the helper programs are built.
std::string OwnFolder();

// The program under test (PW_EXE), as a Windows path.
std::string ProgramUnderTest();

}  // namespace e2e
