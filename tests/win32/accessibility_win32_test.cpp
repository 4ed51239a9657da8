// The names for screen readers wait for an accessibility client's first
// request, and the request is answered as without them.
#include "win32/accessibility_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "res/resource.h"

namespace pw {
namespace {

// As the program's dialog procedures do, and nothing more.
INT_PTR CALLBACK AnsweringProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    AnswerScreenReaders(dialog, message);
    return FALSE;
}

TEST(ScreenReaderNames, AreGivenAtTheFirstRequestToTheWindowOrANamedControlWhichIsAnsweredAsBefore) {
    // OBJID_CLIENT as the system's clients ask, UiaRootObjectId as UI Automation's do.
    const struct {
        int askedId;  // 0: the window itself
        LPARAM object;
    } cases[] = {
        {0, static_cast<LPARAM>(OBJID_CLIENT)}, {IDC_QI_LIST, static_cast<LPARAM>(OBJID_CLIENT)}, {IDC_QI_LIST, -25}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.askedId);
        HWND dialog =
            CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_QUICKINSERT), nullptr, AnsweringProc, 0);
        HWND twin =
            CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_QUICKINSERT), nullptr, AnsweringProc, 0);
        ASSERT_NE(dialog, nullptr);
        NameControl(dialog, IDC_QI_LIST, "QuickBox slots");
        NameControl(dialog, IDC_QI_CODE, "Code to insert");
        EXPECT_FALSE(ScreenReaderNamesGiven(dialog));
        SendMessageW(GetDlgItem(dialog, IDC_QI_TABS), WM_GETOBJECT, 0, c.object);  // not named: no request of ours
        EXPECT_FALSE(ScreenReaderNamesGiven(dialog));

        HWND asked = c.askedId != 0 ? GetDlgItem(dialog, c.askedId) : dialog;
        HWND twinAsked = c.askedId != 0 ? GetDlgItem(twin, c.askedId) : twin;
        EXPECT_EQ(SendMessageW(asked, WM_GETOBJECT, 0, c.object), SendMessageW(twinAsked, WM_GETOBJECT, 0, c.object));
        EXPECT_TRUE(ScreenReaderNamesGiven(GetDlgItem(dialog, IDC_QI_CODE)));
        EXPECT_FALSE(ScreenReaderNamesGiven(twin));
        DestroyWindow(twin);
        DestroyWindow(dialog);
    }
}

}  // namespace
}  // namespace pw
