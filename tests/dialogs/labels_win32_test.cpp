#include "dialogs/labels_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dialogs/about_win32.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/labels_testing_win32.h"
#include "res/resource.h"
#include "res/version.h"
#include "win32/dpi_win32.h"

namespace pw {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPurple = RGB(128, 0, 128);
constexpr COLORREF kRed = RGB(250, 0, 0);
constexpr int kLink = 10;
constexpr int kOther = 11;

struct Pixels {
    int count = 0;
    int minX = -1, maxX = -1;
    int minY = -1, maxY = -1;
    int Height() const { return count > 0 ? maxY - minY + 1 : 0; }
};

// Where `control` shows `color` now, as read back from its window surface.
Pixels Find(HWND control, COLORREF color) {
    Pixels found;
    RECT client{};
    GetClientRect(control, &client);
    HDC dc = GetDC(control);
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            if (GetPixel(dc, x, y) != color) continue;
            if (found.count++ == 0) found.minY = y;
            if (found.count == 1 || x < found.minX) found.minX = x;
            if (x > found.maxX) found.maxX = x;
            found.maxY = y;
        }
    }
    ReleaseDC(control, dc);
    return found;
}

LRESULT CALLBACK CustomTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 1) return 42;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A visible top-level window holding static controls made by each test.
class Labels : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA custom{};
        custom.lpfnWndProc = CustomTextProc;
        custom.hInstance = GetModuleHandleA(nullptr);
        custom.lpszClassName = "PwCustomText";
        RegisterClassA(&custom);  // fails harmlessly when already registered
        parent_ = CreateWindowExA(0, "STATIC", "labels", WS_POPUP | WS_VISIBLE, 10, 10, 420, 120, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
        AttachLabelSeamsForTesting(parent_, &seams_);
    }
    void TearDown() override {
        AttachLabelSeamsForTesting(parent_, nullptr);
        DestroyWindow(parent_);
    }

    HWND Add(int id, const char* text, DWORD style = SS_LEFT, const char* className = "STATIC", int y = 10,
             int width = 300, int height = 20) {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, y, width, height, parent_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    static void Click(HWND control) {
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    static void Paint(HWND control) {
        InvalidateRect(control, nullptr, TRUE);
        UpdateWindow(control);
    }

    HWND parent_ = nullptr;
    LabelSeams seams_;
    AppContext context_;
};

TEST_F(Labels, LinkClickTurnsPurpleBeforeTheShellOpensTheTargetEveryTime) {
    HWND link = Add(kLink, "https://shown.example/", SS_CENTER);
    ASSERT_TRUE(InstallLinkLabel(parent_, kLink, "C:\\target.html", 0));
    Paint(link);
    EXPECT_GT(Find(link, kBlue).count, 0);
    EXPECT_EQ(Find(link, kPurple).count, 0);

    std::vector<std::string> opened;
    std::vector<int> purpleWhenOpened;
    seams_.shellOpen = [&](const std::string& target) {
        opened.push_back(target);
        purpleWhenOpened.push_back(Find(link, kPurple).count);
    };
    Click(link);
    Click(link);
    ASSERT_EQ(opened, (std::vector<std::string>{"C:\\target.html", "C:\\target.html"}));
    EXPECT_GT(purpleWhenOpened[0], 0) << "the new colour must show before the shell runs";
    EXPECT_EQ(Find(link, kBlue).count, 0);
    EXPECT_GT(Find(link, kPurple).count, 0);

    // A release without a press on this label (the press was elsewhere) opens nothing.
    HWND other = Add(kOther, "https://other.example/", SS_LEFT, "STATIC", 40);
    ASSERT_TRUE(InstallLinkLabel(parent_, kOther, nullptr, 0));
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(other, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(opened.size(), 2u);
    // Without a target the label opens its own text.
    Click(other);
    EXPECT_EQ(opened.back(), "https://other.example/");
}

TEST_F(Labels, LinkTakesTheMouseOverItsWholeAreaWithTheHandCursor) {
    HWND link = Add(kLink, "x");
    ASSERT_TRUE(InstallLinkLabel(parent_, kLink, nullptr, RGB(0, 128, 0)));
    EXPECT_TRUE(GetWindowLongPtrA(link, GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ(SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM(300, 15)), HTCLIENT);
    EXPECT_TRUE(SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    // The system's hand, which follows the user's pointer settings.
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    Paint(link);
    EXPECT_GT(Find(link, RGB(0, 128, 0)).count, 0) << "the given colour replaces blue";
}

TEST_F(Labels, LinkRepaintsAtOnceWhenItsTextIsSetAndLeavesNoOldText) {
    HWND link = Add(kLink, "a long link text that fills much of the control");
    ASSERT_TRUE(InstallLinkLabel(parent_, kLink, nullptr, 0));
    Paint(link);
    const Pixels longText = Find(link, kBlue);
    ASSERT_GT(longText.maxX, 150);
    SetWindowTextA(link, "ab");  // no explicit update: the label must paint itself
    const Pixels shortText = Find(link, kBlue);
    EXPECT_GT(shortText.count, 0);
    EXPECT_LT(shortText.maxX, 40) << "remains of the longer text";
}

TEST_F(Labels, PaintsTheWholeTextHoweverLong) {
    // Only the end of this text is visible; a text cut to a 260-byte buffer
    // shows nothing. (Wine's DrawText itself draws at most 1024 characters.)
    const std::string text = std::string(600, ' ') + "WWW";
    HWND label = Add(kLink, text.c_str(), SS_RIGHT);
    ASSERT_TRUE(InstallWarningLabel(parent_, kLink));
    Paint(label);
    const Pixels shown = Find(label, kRed);
    EXPECT_GT(shown.count, 0);
    EXPECT_GT(shown.minX, 250) << "right-aligned";
}

TEST_F(Labels, WarningLabelsDrawRightAlignedRedAndShareOneFont) {
    HWND first = Add(IDC_SAVEWARN1, "Are you sure you have", SS_RIGHT, "STATIC", 10);
    HWND second = Add(IDC_SAVEWARN2, "saved the file?", SS_RIGHT, "STATIC", 40);
    ASSERT_TRUE(InstallWarningLabel(parent_, IDC_SAVEWARN1));
    ASSERT_TRUE(InstallWarningLabel(parent_, IDC_SAVEWARN2));
    EXPECT_TRUE(InstallWarningLabel(parent_, IDC_SAVEWARN2)) << "a second installation is harmless";
    for (int i = 0; i < 20; ++i) {
        Paint(first);
        Paint(second);
    }
    EXPECT_EQ(seams_.counts.fontsMade, 1);
    for (HWND label : {first, second}) {
        const Pixels red = Find(label, kRed);
        EXPECT_GT(red.count, 0);
        EXPECT_GT(red.minX, 100) << "right-aligned";
    }
    EXPECT_FALSE(InstallWarningLabel(parent_, 999));

    SetWindowTextA(second, "a new warning");
    EXPECT_GT(Find(second, kRed).count, 0) << "the standard static must not draw over it";
    EXPECT_EQ(Find(second, GetSysColor(COLOR_WINDOWTEXT)).count, 0);
}

TEST_F(Labels, EachWarningLabelKeepsItsOwnPreviousProcedure) {
    HWND plain = Add(kLink, "static", SS_LEFT, "STATIC", 10);
    HWND custom = Add(kOther, "custom", 0, "PwCustomText", 40);
    ASSERT_TRUE(InstallWarningLabel(parent_, kOther));
    ASSERT_TRUE(InstallWarningLabel(parent_, kLink));
    EXPECT_EQ(SendMessageA(custom, WM_APP + 1, 0, 0), 42);
    EXPECT_EQ(SendMessageA(plain, WM_APP + 1, 0, 0), 0);
    char text[16] = {};
    GetWindowTextA(custom, text, sizeof text);
    EXPECT_STREQ(text, "custom");
    DestroyWindow(custom);
    EXPECT_EQ(SendMessageA(plain, WM_GETTEXTLENGTH, 0, 0), 6);
}

TEST_F(Labels, FreedResourcesAreMadeAgainOnNextUse) {
    HWND link = Add(kLink, "link", SS_LEFT, "STATIC", 10);
    HWND warning = Add(kOther, "warning", SS_LEFT, "STATIC", 40);
    ASSERT_TRUE(InstallLinkLabel(parent_, kLink, nullptr, 0));
    ASSERT_TRUE(InstallWarningLabel(parent_, kOther));
    Paint(link);
    Paint(warning);
    SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_NE(LinkFontForTesting(parent_), nullptr);
    ASSERT_NE(WarningFontForTesting(parent_), nullptr);
    LOGFONTA font{};
    GetObjectA(LinkFontForTesting(parent_), sizeof font, &font);
    EXPECT_EQ(font.lfUnderline, 1);
    GetObjectA(WarningFontForTesting(parent_), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 15);
    EXPECT_EQ(font.lfWidth, 6);
    EXPECT_EQ(font.lfWeight, 900);

    const LabelResourceCounts before = seams_.counts;
    FreeLabelResources(link);
    FreeLabelResources(parent_);  // nothing left to free twice
    LabelResourceCounts after = seams_.counts;
    EXPECT_EQ(after.fontsDeleted - before.fontsDeleted, 2);
    EXPECT_EQ(LinkFontForTesting(parent_), nullptr);

    Paint(link);
    Paint(warning);
    SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_GT(Find(link, kBlue).count, 0);
    EXPECT_GT(Find(warning, kRed).count, 0);
    after = seams_.counts;
    EXPECT_EQ(after.fontsMade - before.fontsMade, 2);
}

LOGFONTA FontOf(HFONT font) {
    LOGFONTA logical{};
    GetObjectA(font, sizeof logical, &logical);
    return logical;
}

TEST_F(Labels, FontsAreMadeForTheDpiInPointsAndAgainWhenItChanges) {
    HWND warning = Add(IDC_SAVEWARN1, "Are you sure you have", SS_RIGHT, "STATIC", 5, 400, 50);
    HWND link = Add(kLink, "link", SS_LEFT, "STATIC", 60, 400, 50);
    ASSERT_TRUE(InstallWarningLabel(parent_, IDC_SAVEWARN1));
    ASSERT_TRUE(InstallLinkLabel(parent_, kLink, nullptr, 0));
    EXPECT_EQ(LabelDpiForTesting(link), WindowDpi(parent_)) << "starts at the window's DPI";
    // The warning font is 11.25 by 4.5 points (15 by 6 pixels at 96 DPI), the
    // link font 8 points.
    struct Case {
        UINT dpi;
        LONG warningHeight, warningWidth, linkHeight;
    };
    const Case cases[] = {{96, 15, 6, -11}, {144, 23, 9, -16}, {192, 30, 12, -21}, {96, 15, 6, -11}};
    int textHeightAt96 = 0, textHeightAt192 = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        SetLabelDpi(link, c.dpi);
        Paint(warning);
        Paint(link);
        EXPECT_EQ(LabelDpiForTesting(warning), c.dpi);
        const LOGFONTA warningFont = FontOf(WarningFontForTesting(parent_));
        EXPECT_EQ(warningFont.lfHeight, c.warningHeight);
        EXPECT_EQ(warningFont.lfWidth, c.warningWidth);
        EXPECT_EQ(warningFont.lfWeight, 900);
        const LOGFONTA linkFont = FontOf(LinkFontForTesting(parent_));
        EXPECT_EQ(linkFont.lfHeight, c.linkHeight);
        EXPECT_EQ(linkFont.lfUnderline, 1);
        const int textHeight = Find(warning, kRed).Height();
        if (c.dpi == 96) textHeightAt96 = textHeight;
        if (c.dpi == 192) textHeightAt192 = textHeight;
    }
    ASSERT_GT(textHeightAt96, 5);
    EXPECT_NEAR(static_cast<double>(textHeightAt192) / textHeightAt96, 2.0, 0.3);
    EXPECT_EQ(seams_.counts.fontsMade, 8);
    EXPECT_EQ(seams_.counts.fontsDeleted, 6) << "the fonts of each earlier DPI are deleted";
}

TEST_F(Labels, EachWindowHasItsOwnObjectsAndTheLastLabelTakesThemAlong) {
    HWND warning = Add(IDC_SAVEWARN1, "warning", SS_LEFT, "STATIC", 5);
    HWND link = Add(kLink, "link", SS_LEFT, "STATIC", 40);
    ASSERT_TRUE(InstallWarningLabel(parent_, IDC_SAVEWARN1));
    ASSERT_TRUE(InstallLinkLabel(parent_, kLink, nullptr, 0));
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "other warning", WS_CHILD | WS_VISIBLE, 0, 0, 200, 30, other,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kOther)), nullptr, nullptr);
    ASSERT_TRUE(InstallWarningLabel(other, kOther));
    for (HWND label : {warning, link, GetDlgItem(other, kOther)}) SendMessageA(label, WM_PAINT, 0, 0);
    ASSERT_NE(WarningFontForTesting(other), nullptr);
    EXPECT_NE(WarningFontForTesting(other), WarningFontForTesting(parent_));

    SetLabelDpi(parent_, 2 * LabelDpiForTesting(parent_));
    EXPECT_NE(LabelDpiForTesting(parent_), LabelDpiForTesting(other)) << "a DPI change is the window's own";
    DestroyWindow(warning);
    EXPECT_NE(LabelDpiForTesting(parent_), 0u) << "the link label still holds them";
    SendMessageA(link, WM_PAINT, 0, 0);
    DestroyWindow(link);
    EXPECT_EQ(LabelDpiForTesting(parent_), 0u);
    EXPECT_EQ(seams_.counts.fontsMade, 3);  // two at the first DPI, the link's at the second
    EXPECT_EQ(seams_.counts.fontsDeleted, 3);
    DestroyWindow(other);
}

// Ends each About box as soon as it has been shown, painted and hovered:
// alternately through OK and the close box.
// Every box reports its labels' objects to `seams`, attached before the box
// initialises.
struct AboutCycler {
    static inline int cycle = 0;
    static inline HHOOK hook = nullptr;
    static inline HHOOK beforeHook = nullptr;
    static inline std::vector<std::string> texts;
    static inline LabelSeams seams;

    static LRESULT CALLBACK BeforeMessage(int code, WPARAM wParam, LPARAM lParam) {
        const auto* seen = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && seen->message == WM_INITDIALOG && GetDlgItem(seen->hwnd, IDC_ABOUT_LINK))
            AttachLabelSeamsForTesting(seen->hwnd, &seams);
        return CallNextHookEx(beforeHook, code, wParam, lParam);
    }

    static void Click(HWND control) {
        SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }

    static LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
        const auto* seen = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && seen->message == WM_INITDIALOG && GetDlgItem(seen->hwnd, IDC_ABOUT_LINK)) {
            HWND about = seen->hwnd;
            HWND link = GetDlgItem(about, IDC_ABOUT_LINK);
            // Showing a window is slow under Wine; the first box is shown, the
            // others paint their link directly.
            if (cycle == 0) {
                ShowWindow(about, SW_SHOW);
                UpdateWindow(about);
            } else {
                SendMessageA(link, WM_PAINT, 0, 0);
            }
            SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            if (cycle == 0) {
                for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                    char text[512] = {};
                    GetWindowTextA(child, text, sizeof text);
                    texts.push_back(text);
                }
                texts.push_back(Find(link, kBlue).count > 0 ? "<blue link>" : "<no blue link>");
                Click(link);
            }
            if (cycle++ % 2 == 0)
                PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDC_OK, BN_CLICKED), 0);
            else
                PostMessageA(about, WM_CLOSE, 0, 0);
        }
        return CallNextHookEx(hook, code, wParam, lParam);
    }
};

TEST_F(Labels, AboutBoxOpenedAndClosed500TimesLeavesNoObjectsBehind) {
    AboutCycler::hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AboutCycler::AfterMessage, nullptr, GetCurrentThreadId());
    AboutCycler::beforeHook =
        SetWindowsHookExA(WH_CALLWNDPROC, AboutCycler::BeforeMessage, nullptr, GetCurrentThreadId());
    ASSERT_NE(AboutCycler::hook, nullptr);
    ASSERT_NE(AboutCycler::beforeHook, nullptr);
    std::vector<std::string> opened;
    AboutCycler::seams.shellOpen = [&opened](const std::string& target) { opened.push_back(target); };
    RunAboutBox(parent_, context_);  // warm-up: the first box loads what the process keeps anyway
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const LabelResourceCounts before = AboutCycler::seams.counts;
    for (int i = 0; i < 500; ++i) RunAboutBox(parent_, context_);
    UnhookWindowsHookEx(AboutCycler::hook);
    UnhookWindowsHookEx(AboutCycler::beforeHook);
    const LabelResourceCounts after = AboutCycler::seams.counts;
    const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userAfter = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    std::printf("GetGuiResources GDI %lu -> %lu, USER %lu -> %lu; fonts made %d\n", gdiBefore, gdiAfter, userBefore,
                userAfter, after.fontsMade - before.fontsMade);

    EXPECT_EQ(AboutCycler::cycle, 501);
    EXPECT_EQ(after.recordsMade - before.recordsMade, 500);
    EXPECT_EQ(after.recordsFreed - before.recordsFreed, 500);
    EXPECT_EQ(after.fontsMade - before.fontsMade, after.fontsDeleted - before.fontsDeleted);
    // Each box has fonts of its own, made for its DPI.
    EXPECT_EQ(after.fontsMade - before.fontsMade, 500);
    EXPECT_LE(gdiAfter, gdiBefore);
    EXPECT_LE(userAfter, userBefore);

    ASSERT_GE(AboutCycler::texts.size(), 5u);
    EXPECT_EQ(AboutCycler::texts[0], "About Promptwright");
    EXPECT_EQ(AboutCycler::texts[1].rfind("Promptwright " PW_VERSION_SHORT_TEXT "\n", 0), 0u);
    EXPECT_EQ(AboutCycler::texts[2], kWebAddress);
    EXPECT_EQ(AboutCycler::texts[3], "&OK");
    EXPECT_EQ(AboutCycler::texts[4], "<blue link>");
    EXPECT_EQ(opened, std::vector<std::string>{kWebAddress}) << "a click opens the product's web address";
    AboutCycler::seams.shellOpen = nullptr;
}

}  // namespace
}  // namespace pw
