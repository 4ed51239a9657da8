// The program's boundaries against exceptions: an exception must not unwind
// into the system's code (a window procedure) nor out of the program
// (std::terminate). At each boundary the user is told and the run ends with
// exit code 2.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace pw {

// The exit code after an exception reached a boundary: the run's code for
// "anything that failed".
inline constexpr int kEscapedExceptionExit = 2;

// What the user is told about the exception being handled (call from a catch).
std::string EscapedExceptionText();

// Tells the user in a message box owned by no window (`dialog`'s may be half
// destroyed) and ends the process with kEscapedExceptionExit.
[[noreturn]] void EndAfterEscapedException();

// Every dialog procedure is passed to the system as GuardedDialogProc<Proc>.
template <DLGPROC Proc>
INT_PTR CALLBACK GuardedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        return Proc(dialog, message, wParam, lParam);
    } catch (...) {
        EndAfterEscapedException();
    }
}

}  // namespace pw
