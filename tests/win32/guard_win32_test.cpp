// An exception thrown through a dialog procedure reaches the boundary: the
// user is told in a box and the run ends with exit code 2, not std::terminate.
#include "win32/guard_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <new>
#include <stdexcept>

#include "dialogs/shown_boxes_win32.h"
#include "res/resource.h"

namespace pw {
namespace {

constexpr UINT kThrowBadAlloc = WM_APP;
constexpr UINT kThrowRuntimeError = WM_APP + 1;

INT_PTR CALLBACK ThrowingProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == kThrowBadAlloc) throw std::bad_alloc();
    if (message == kThrowRuntimeError) throw std::runtime_error("slot list broken");
    return message == WM_INITDIALOG;
}

// In the child process of the death test: the box's text goes to standard
// error, where the test reads it.
void ThrowThroughADialog(UINT message) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), nullptr,
                                     GuardedDialogProc<ThrowingProc>, 0);
    test::BoxesShownBy([&] { SendMessageW(dialog, message, 0, 0); },
                       [](HWND box) {
                           std::fprintf(stderr, "box: %s\n", test::WideWindowText(GetDlgItem(box, 0xFFFF)).c_str());
                           std::fflush(stderr);
                       });
    std::exit(0);  // not reached when the guard ends the run
}

TEST(GuardDeathTest, AnExceptionThroughADialogProcedureIsToldAndEndsTheRunWithCode2) {
    EXPECT_EXIT(ThrowThroughADialog(kThrowBadAlloc), ::testing::ExitedWithCode(2),
                "box: Out of memory; the program ends");
    EXPECT_EXIT(ThrowThroughADialog(kThrowRuntimeError), ::testing::ExitedWithCode(2),
                "box: Unexpected error \\(slot list broken\\); the program ends");
}

}  // namespace
}  // namespace pw
