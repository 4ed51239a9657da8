#include "win32/dpi_win32.h"

#include <gtest/gtest.h>

#include "res/resource.h"

namespace pw {
namespace {

UINT WINAPI WindowAt144(HWND) { return 144; }
UINT WINAPI WindowUnknown(HWND) { return 0; }
UINT WINAPI SystemAt120() { return 120; }

TEST(Dpi, WindowDpiFallsBackToTheSystemDpiWhereWindowsCannotTell) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UINT screenDpi = SystemDpi(DpiFunctions{});
    struct Case {
        UINT(WINAPI* forWindow)(HWND);
        UINT(WINAPI* forSystem)();
        UINT expected;
    };
    const Case cases[] = {
        {WindowAt144, nullptr, 144},        // Windows 10: the window's own
        {WindowUnknown, SystemAt120, 120},  // a window it cannot place: the system's
        {nullptr, SystemAt120, 120},        // Windows 8.1
        {nullptr, nullptr, screenDpi},      // Windows 7: the screen's
    };
    for (const Case& c : cases) {
        DpiFunctions functions;
        functions.getDpiForWindow = c.forWindow;
        functions.getDpiForSystem = c.forSystem;
        EXPECT_EQ(WindowDpi(window, functions), c.expected);
    }
    EXPECT_GE(screenDpi, 96u);
    DestroyWindow(window);
}

// The size the system gives icons at a DPI, whether comctl32 scales the
// icon down or LoadImage makes it, for system icons and the program's own.
TEST(Dpi, IconsAreMadeAtTheSystemSizeForTheDpi) {
    DpiFunctions withScaleDown = DpiFunctions::OfSystem();
    DpiFunctions withoutScaleDown = withScaleDown;
    withoutScaleDown.loadIconWithScaleDown = nullptr;
    DpiFunctions windows7;  // no function of Windows 10: sizes from GetSystemMetrics
    windows7.loadIconWithScaleDown = withScaleDown.loadIconWithScaleDown;
    struct Case {
        UINT dpi;
        int big, small;
    };
    for (const Case& c : {Case{96, 32, 16}, Case{144, 48, 24}, Case{192, 64, 32}}) {
        for (const DpiFunctions* functions : {&withScaleDown, &withoutScaleDown, &windows7}) {
            for (HINSTANCE module : {HINSTANCE{}, GetModuleHandleW(nullptr)}) {
                const wchar_t* name = module != nullptr ? MAKEINTRESOURCEW(IDI_PROGRAM) : IDI_HAND;
                SCOPED_TRACE(testing::Message()
                             << c.dpi << " dpi, scale-down " << (functions->loadIconWithScaleDown != nullptr)
                             << ", own icon " << (module != nullptr));
                const SizedIcon big = LoadIconForDpi(module, name, SM_CXICON, c.dpi, *functions);
                const SizedIcon small = LoadIconForDpi(module, name, SM_CXSMICON, c.dpi, *functions);
                EXPECT_TRUE(big.Made());
                EXPECT_EQ(IconSize(big.Get()).cx, c.big);
                EXPECT_EQ(IconSize(big.Get()).cy, c.big);
                EXPECT_EQ(IconSize(small.Get()).cx, c.small);
            }
        }
    }
}

TEST(Dpi, MessageFontIsTheSamePointSizeAtEveryDpi) {
    DpiFunctions windows7;
    for (const DpiFunctions& functions : {DpiFunctions::OfSystem(), windows7}) {
        const LONG at96 = MessageFontForDpi(96, functions).lfHeight;
        const LONG at192 = MessageFontForDpi(192, functions).lfHeight;
        ASSERT_NE(at96, 0);
        EXPECT_NEAR(static_cast<double>(at192) / at96, 2.0, 0.1);
    }
}

}  // namespace
}  // namespace pw
