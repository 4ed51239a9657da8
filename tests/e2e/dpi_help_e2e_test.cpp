// The program at two scales of the screen, and its own help, driven from
// outside as a user would.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

constexpr COLORREF kWarningRed = RGB(250, 0, 0);
constexpr char kHelpNoteClass[] = "PromptwrightHelpNote";

// The system DPI of the programs this test starts: Wine reads it from this
// value when a program starts. Put back as it was when the object goes.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key_, nullptr);
        DWORD size = sizeof old_;
        hadValue_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&old_), &size) ==
                    ERROR_SUCCESS;
        Set(dpi);
    }
    ~ScreenDpi() {
        if (hadValue_)
            Set(old_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }
    ScreenDpi(const ScreenDpi&) = delete;
    ScreenDpi& operator=(const ScreenDpi&) = delete;

private:
    void Set(DWORD dpi) {
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    HKEY key_ = nullptr;
    DWORD old_ = 0;
    bool hadValue_ = false;
};

struct Measured {
    int warningTextHeight = 0;
    SIZE previewIcon{};
};

// The save warning's red text and the stop icon's preview, as the screen
// shows them with the system at `dpi`.
Measured MeasureAt(DWORD dpi) {
    const ScreenDpi screen(dpi);
    TempDir dir;
    dir.Write("source.c", "/*MB*/\n");
    App app(dir, {"source.c"}, "[Settings]\r\nadvanced=1\r\n");
    HWND form = app.MainForm();
    Measured measured;
    if (form == nullptr) return measured;
    ChooseListPosition(form, IDC_ICON, 4);
    HWND warning = Control(form, IDC_SAVEWARN1);
    WaitFor([&] { return CountColor(warning, kWarningRed) > 0; });
    const RECT text = ColorExtent(warning, kWarningRed);
    measured.warningTextHeight = text.bottom - text.top;
    // The icon control takes the size of the icon it is given.
    RECT icon{};
    GetClientRect(Control(form, IDC_ICONPREVIEW), &icon);
    measured.previewIcon = {icon.right, icon.bottom};
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
    return measured;
}

TEST(HighDpi, WarningTextAndPreviewIconAreTwiceAsLargeAt192DpiAsAt96) {
    SetProcessDPIAware();  // this process reads the other's pixels, unscaled
    const Measured at96 = MeasureAt(96);
    const Measured at192 = MeasureAt(192);
    std::printf("warning text %d -> %d pixels high, preview icon %ldx%ld -> %ldx%ld\n", at96.warningTextHeight,
                at192.warningTextHeight, at96.previewIcon.cx, at96.previewIcon.cy, at192.previewIcon.cx,
                at192.previewIcon.cy);
    ASSERT_GT(at96.warningTextHeight, 5);
    EXPECT_NEAR(static_cast<double>(at192.warningTextHeight) / at96.warningTextHeight, 2.0, 0.25);
    EXPECT_EQ(at96.previewIcon.cx, 32);
    EXPECT_EQ(at96.previewIcon.cy, 32);
    EXPECT_EQ(at192.previewIcon.cx, 64);
    EXPECT_EQ(at192.previewIcon.cy, 64);
}

// A control's note as the program holds it (its string resource).
class HelpNotes {
public:
    explicit HelpNotes(const std::string& exe)
        : module_(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~HelpNotes() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    HelpNotes(const HelpNotes&) = delete;
    HelpNotes& operator=(const HelpNotes&) = delete;
    std::string Of(int id) const {
        char text[1024] = {};
        LoadStringA(module_, static_cast<UINT>(IDS_CONTROL_HELP + id), text, sizeof text);
        return text;
    }

private:
    HMODULE module_;
};

HWND NoteOf(DWORD pid) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND note = FindWindowExA(nullptr, nullptr, kHelpNoteClass, nullptr); note != nullptr;
                 note = FindWindowExA(nullptr, note, kHelpNoteClass, nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(note, &owner);
                if (owner == pid && IsWindowVisible(note)) found = note;
            }
            return found != nullptr;
        },
        3000);
    return found;
}

// F1 on each control, pressed on the keyboard with the control focused,
// shows that control's note beside it; Escape or a click closes it.
void ExpectNotes(const App& app, HWND dialog, const std::vector<int>& controls, const HelpNotes& notes) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const int id = controls[i];
        SCOPED_TRACE(id);
        HWND control = Control(dialog, id);
        ASSERT_NE(control, nullptr);
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        INPUT keys[2] = {};
        keys[0].type = keys[1].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        HWND note = NoteOf(app.pid());
        ASSERT_NE(note, nullptr) << "no note";
        EXPECT_EQ(WindowTextOf(note), notes.Of(id));
        EXPECT_FALSE(notes.Of(id).empty());
        RECT noteRect{}, controlRect{};
        GetWindowRect(note, &noteRect);
        GetWindowRect(control, &controlRect);
        EXPECT_TRUE(noteRect.top >= controlRect.bottom || noteRect.bottom <= controlRect.top) << "beside, not over";
        if (i % 2 == 0)
            PressKey(note, VK_ESCAPE);
        else
            PostMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, -5));  // a click elsewhere
        EXPECT_TRUE(WaitGone(note, 3000));
    }
}

TEST(OwnHelp, HelpMenuOpensTheHelpWindowAndF1ShowsEachControlsNote) {
    TempDir dir;
    dir.Write("source.c", "/*MB*/\n");
    App app(dir, {"source.c"}, "[Settings]\r\nadvanced=1\r\n");
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    const HelpNotes notes(dir.File("promptwright.exe"));

    Command(form, IDM_HELP);
    HWND help = app.WaitWindow("Promptwright Help", 5000);
    ASSERT_NE(help, nullptr);
    EXPECT_GE(ListBoxCount(help, IDC_HELP_TOPICS), 10);
    EXPECT_EQ(ListBoxText(help, IDC_HELP_TOPICS, 0), "Promptwright");
    EXPECT_EQ(Text(help, IDC_HELP_TEXT).rfind("Promptwright writes the C code", 0), 0u);
    ChooseListBoxEntry(help, IDC_HELP_TOPICS, 5);
    EXPECT_TRUE(WaitFor([&] { return Text(help, IDC_HELP_TEXT).find("-QI") != std::string::npos; }))
        << ListBoxText(help, IDC_HELP_TOPICS, 5);
    Close(help);
    EXPECT_TRUE(WaitGone(help));

    ExpectNotes(app, form, {IDC_PARENT,   IDC_TITLE,      IDC_TEXT,          IDC_BUTTONS,   IDC_DEFBUTTON,
                            IDC_ICON,     IDC_APPLMODAL,  IDC_SYSTEMMODAL,   IDC_TASKMODAL, IDC_HELPBUTTON,
                            IDC_RIGHT,    IDC_RTLREADING, IDC_SETFOREGROUND, IDC_LANGUAGE,  IDC_DEFAULTDESKTOP,
                            IDC_TOPMOST,  IDC_SERVICE,    IDC_SERVICE_NT3X,  IDC_TITLEVAR,  IDC_TEXTVAR,
                            IDC_TYPE_BOX, IDC_TYPE_BOXEX, IDC_TYPE_INDIRECT, IDC_CODE,      IDC_INSERT,
                            IDC_COPY,     IDC_GENERATE,   IDC_LOADCODE,      IDC_EXIT,      IDC_PREVIEW,
                            IDC_OTHERSTYLE},
                notes);

    // The options dialog, with every field in use.
    ChooseListPosition(form, IDC_ICON, 5);
    Click(form, IDC_HELPBUTTON);
    Click(form, IDC_TYPE_INDIRECT);
    Command(form, IDC_GENERATE);
    HWND params = app.WaitWindow("MessageBoxIndirect", 5000);
    ASSERT_NE(params, nullptr);
    ExpectNotes(app, params,
                {IDC_PARAMS_NAME, IDC_PARAMS_ICONID, IDC_PARAMS_INSTANCE, IDC_PARAMS_CALLBACK, IDC_PARAMS_HELPID, IDC_OK},
                notes);
    Close(params);
    EXPECT_TRUE(WaitGone(params));
    SendCommand(form, IDC_EXIT);
    EXPECT_EQ(app.WaitExit(), 0);
}

}  // namespace
}  // namespace e2e
