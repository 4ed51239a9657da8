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

// A Unicode dialog keeps every character, halves of pairs included, at any length.
TEST(DialogForm, TextsKeepEveryCharacter) {
    HWND dialog =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MAIN_SIMPLE), nullptr, InertProc, 0);
    ASSERT_NE(dialog, nullptr);
    DialogForm form(dialog);
    const std::string texts[] = {"\xE2\x9C\x93 \xE6\x97\xA5 \xF0\x9F\x98\x80 \xED\xA0\xBD",
                                 std::string(100000, 'x') + "\xC3\xBC", ""};
    for (const std::string& text : texts) {
        form.SetText(IDC_TEXT, text);
        EXPECT_EQ(form.Text(IDC_TEXT), text);
    }
    DestroyWindow(dialog);
}

}  // namespace
}  // namespace pw
