// The main form moved between monitors of different scales: what it draws
// itself is made again for the new DPI, and nothing of the old is left.
#include "dialogs/main_form_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>

#include "dialogs/app_context_win32.h"
#include "dialogs/labels_testing_win32.h"
#include "res/resource.h"
#include "win32/dialog_form_win32.h"
#include "win32/dpi_win32.h"

namespace pw {
namespace {

HICON PreviewIcon(HWND form) {
    return reinterpret_cast<HICON>(SendDlgItemMessageA(form, IDC_ICONPREVIEW, STM_GETICON, 0, 0));
}

TEST(MainFormDpi, TwoHundredDpiChangesRemakeTheLabelFontAndThePreviewIconLeavingNothingBehind) {
    AppContext context;
    context.settings.layout = Layout::Advanced;
    context.settings.settingsPath = "Z:\\nonexistent\\promptwright.ini";
    context.settings.targetFiles = {"source.c"};  // the save warning shows as warning labels
    HWND form = CreateMainForm(context);
    ASSERT_NE(form, nullptr);
    LabelSeams seams;
    AttachLabelSeamsForTesting(form, &seams);
    DialogForm(form).SetListPosition(IDC_ICON, 4);  // stop
    UpdateIconPreview(form);
    HWND warning = GetDlgItem(form, IDC_SAVEWARN1);
    RedrawWindow(warning, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    const UINT start = WindowDpi(form);
    EXPECT_EQ(IconSize(PreviewIcon(form)).cx, SystemMetricForDpi(SM_CXICON, start));
    std::set<HICON> shown{PreviewIcon(form)};
    for (int i = 0; i < 200; ++i) {
        const UINT dpi = i % 2 == 0 ? 2 * start : start + static_cast<UINT>(i);
        RECT suggested{};
        GetWindowRect(form, &suggested);
        SendMessageA(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RedrawWindow(warning, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_EQ(LabelDpiForTesting(form), dpi);
        ASSERT_EQ(IconSize(PreviewIcon(form)).cx, SystemMetricForDpi(SM_CXICON, dpi)) << dpi;
        shown.insert(PreviewIcon(form));
    }
    EXPECT_EQ(IconSize(PreviewIcon(form)).cx, SystemMetricForDpi(SM_CXICON, start + 199));
    // One warning font at a time: each change deletes the one before.
    EXPECT_EQ(seams.counts.fontsMade, 201);
    EXPECT_EQ(seams.counts.fontsDeleted, 200);
    // Of the preview icons made, only the one shown is still an icon.
    const HICON current = PreviewIcon(form);
    for (HICON icon : shown) {
        if (icon != current) {
            EXPECT_EQ(IconSize(icon).cx, 0) << "an earlier preview icon was not destroyed";
        }
    }

    DestroyWindow(form);
    EXPECT_EQ(seams.counts.fontsMade, seams.counts.fontsDeleted);
    EXPECT_EQ(IconSize(current).cx, 0) << "the preview icon goes with the form";
    MSG quit;  // the form posts one when destroyed
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace
}  // namespace pw
