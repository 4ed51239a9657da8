// DialogForm over real main form templates keeps the contract PlainForm keeps.
#include "win32/dialog_form_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "core/model/form_contract.h"
#include "res/resource.h"
#include "win32/option_lists_win32.h"

namespace pw {
namespace {

INT_PTR CALLBACK InertProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(DialogForm, KeepsTheFormContractInBothLayouts) {
    const std::vector<std::string> parents{"GetActiveWindow()", "NULL", "hWnd"};
    for (Layout layout : {Layout::Simple, Layout::Advanced}) {
        SCOPED_TRACE(layout == Layout::Simple ? "simple" : "advanced");
        HWND dialog = CreateDialogParamA(
            GetModuleHandleA(nullptr),
            MAKEINTRESOURCEA(layout == Layout::Advanced ? IDD_MAIN_ADVANCED : IDD_MAIN_SIMPLE), nullptr, InertProc, 0);
        ASSERT_NE(dialog, nullptr);
        FillOptionLists(dialog, layout, parents);
        DialogForm form(dialog);
        test::ExpectFormContract(form, layout, parents);
        DestroyWindow(dialog);
    }
}

}  // namespace
}  // namespace pw
