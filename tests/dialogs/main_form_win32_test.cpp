// The main form moved between monitors of different scales: what it draws
// itself is made again for the new DPI, and nothing of the old is left. Its
// fields, and those of the windows it opens, hold any character; a statement
// the string mode cannot hold is refused by every command that writes one,
// while the preview shows the text whatever the mode.
#include "dialogs/clipboard_text_win32.h"
#include "dialogs/main_form_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "common/temp_dir_win32.h"
#include "core/settings/quickbox_slots.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/labels_testing_win32.h"
#include "dialogs/params_dialog_win32.h"
#include "dialogs/quick_insert_win32.h"
#include "dialogs/shown_boxes_win32.h"
#include "dialogs/task_dialog_designer_testing_win32.h"
#include "res/resource.h"
#include "win32/clipboard_win32.h"
#include "win32/dialog_form_win32.h"
#include "win32/dpi_win32.h"
#include "win32/text_win32.h"

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

// Some language names are longer than the closed list; open, it shows them whole.
TEST(MainFormLanguages, TheOpenListHoldsTheLongestName) {
    AppContext context;
    context.settings.layout = Layout::Advanced;
    context.settings.settingsPath = "Z:\\nonexistent\\promptwright.ini";
    HWND form = CreateMainForm(context);
    ASSERT_NE(form, nullptr);
    HWND list = GetDlgItem(form, IDC_LANGUAGE);
    SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageW(list, CB_SHOWDROPDOWN, FALSE, 0);
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE longest{};
    GetTextExtentPoint32W(dc, L"Spanish (Dominican Republic)", 28, &longest);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    RECT box{};
    GetWindowRect(list, &box);
    EXPECT_LT(box.right - box.left, longest.cx);  // else this test shows nothing
    EXPECT_GE(SendMessageW(list, CB_GETDROPPEDWIDTH, 0, 0), longest.cx + GetSystemMetrics(SM_CXVSCROLL));
    DestroyWindow(form);
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// Characters of two, three and four UTF-8 bytes, the last a surrogate pair in UTF-16.
const std::string kLine = "\u2713 Saved \u2192 Gr\u00FC\u00DFe \u65E5\u672C\u8A9E \U0001F600";
const std::wstring kWideLine = L"\u2713 Saved \u2192 Gr\u00FC\u00DFe \u65E5\u672C\u8A9E \U0001F600";

void SendCommand(HWND window, int id) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void DrainQuit() {  // a destroyed main form posts one; it must not end a later modal loop
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// Empty when field `id` of `window` holds the line both as typed and through
// DialogForm; otherwise what it gave back.
std::string LineHeldBy(HWND window, int id) {
    HWND control = GetDlgItem(window, id);
    SetWindowTextW(control, kWideLine.c_str());
    if (const std::string typed = test::WideWindowText(control); typed != kLine) return "typed: " + typed;
    SetWindowTextW(control, L"");
    DialogForm(window).SetText(id, kLine);
    if (const std::string read = DialogForm(window).Text(id); read != kLine) return "DialogForm read: " + read;
    if (const std::string shown = test::WideWindowText(control); shown != kLine) return "DialogForm wrote: " + shown;
    return {};
}

TEST(UnicodeFields, EveryTextFieldOfEveryWindowHoldsAnyCharacter) {
    AppContext context;
    context.settings.layout = Layout::Advanced;
    context.settings.settingsPath = "Z:\\nonexistent\\promptwright.ini";
    context.settings.parents = {"NULL"};
    HWND form = CreateMainForm(context);
    ASSERT_NE(form, nullptr);
    HWND designer = CreateTaskDialogDesignerForTesting(form, context, "");
    ASSERT_NE(designer, nullptr);
    const struct {
        HWND window;
        std::vector<int> fields;
    } modeless[] = {
        {form, {IDC_TITLE, IDC_TEXT, IDC_PARENT, IDC_CODE, IDC_OTHERSTYLE}},
        {designer,
         {IDC_TD_TITLE, IDC_TD_MAININSTR, IDC_TD_CONTENT, IDC_TD_VERIFY, IDC_TD_EXPANDED, IDC_TD_EXPANDEDTEXT,
          IDC_TD_COLLAPSEDTEXT, IDC_TD_FOOTER, IDC_TD_OWNER, IDC_TD_DEFBUTTON, IDC_TD_DEFRADIO, IDC_TD_BUTTONID,
          IDC_TD_BUTTONTEXT, IDC_TD_BUTTONNOTE, IDC_TD_RADIOID, IDC_TD_RADIOTEXT, IDC_TD_CODE}},
    };
    for (const auto& window : modeless)
        for (int id : window.fields) EXPECT_EQ(LineHeldBy(window.window, id), "") << id;

    // The modal ones: the options dialog (MessageBoxIndirect) and QuickInsert's Code page.
    std::vector<std::string> modal;  // what each field gave back, visited from the watching thread
    const auto visit = [&modal](HWND dialog) {
        for (int id : {IDC_PARAMS_NAME, IDC_PARAMS_ICONID, IDC_PARAMS_INSTANCE, IDC_PARAMS_CALLBACK, IDC_PARAMS_HELPID,
                       IDC_QI_CODE})
            if (GetDlgItem(dialog, id) != nullptr) modal.push_back(LineHeldBy(dialog, id));
    };
    context.codeOptions.characterSet = CharacterSet::Wide;  // writes the line: the options dialog opens
    DialogForm(form).CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);
    test::BoxesShownBy([&] { GenerateFromDialog(form, context); }, visit);
    test::BoxesShownBy([&] { RunQuickInsert(form, context); }, visit);
    EXPECT_EQ(modal, std::vector<std::string>(6, ""));

    DestroyWindow(designer);
    DestroyWindow(form);
    DrainQuit();
}

// A main form in the advanced layout, with a settings file holding one slot
// and one target file with a marker.
class MainFormStatements : public ::testing::Test {
protected:
    void SetUp() override {
        context_.settings.layout = Layout::Advanced;
        context_.settings.settingsPath = temp_.Write("promptwright.ini", "[QuickBox]\r\nSlot=old\r\n");
        context_.settings.parents = {"NULL"};
        context_.settings.targetFiles = {temp_.Write("source.c", "before /*MB*/ after\r\n")};
        context_.settings.markers = {"/*MB*/"};
        context_.settings.insertCopy = ClipboardMode::None;
        context_.settings.insertShutDown = false;
        form_ = CreateMainForm(context_);
        ASSERT_NE(form_, nullptr);
    }
    void TearDown() override {
        if (form_ != nullptr) DestroyWindow(form_);
        DrainQuit();
    }

    static std::string ClipboardText() { return UnicodeClipboardText(); }

    test::TempDir temp_;
    AppContext context_;
    HWND form_ = nullptr;
};

// Refused before anything is written, and before the options dialog of the
// Indirect form would open: the code box, the clipboard, the target file and
// the settings file stay as they were.
TEST_F(MainFormStatements, AnsiStringsRefuseACharacterTheCodePageLacksAndEveryCommandChangesNothing) {
    DialogForm form(form_);
    form.SetText(IDC_TEXT, "\u2713 Saved \u2713");
    form.SetText(IDC_TITLE, "Gr\u00FC\u00DFe");  // in the code page: not named
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);
    form.SetText(IDC_CODE, "kept");
    ASSERT_TRUE(CopyToClipboard(form_, "before"));
    const std::string settings = temp_.Read("promptwright.ini"), source = temp_.Read("source.c");
    const struct {
        const char* name;
        int command;
    } commands[] = {
        {"Generate code", IDC_GENERATE},
        {"Copy to clipboard", IDC_COPY},
        {"Insert in source", IDC_INSERT},
        {"QuickBox Set", QuickBoxSetCommand(1)},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.name);
        const std::vector<test::ShownBox> shown = test::BoxesShownBy([&] { SendCommand(form_, c.command); });
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text,
                  "The text holds characters that ANSI strings cannot hold: \u2713. Choose TEXT() strings or Wide "
                  "strings in the Code menu.");
        EXPECT_EQ(form.Text(IDC_CODE), "kept");
        EXPECT_EQ(ClipboardText(), "before");
        EXPECT_EQ(temp_.Read("source.c"), source);
        EXPECT_EQ(temp_.Read("promptwright.ini"), settings);
    }

    // A string mode that holds the text writes it, asking nothing.
    context_.codeOptions.characterSet = CharacterSet::Wide;
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_BOX);
    EXPECT_TRUE(test::BoxesShownBy([&] { SendCommand(form_, IDC_GENERATE); }).empty());
    EXPECT_EQ(form.Text(IDC_CODE).rfind("MessageBoxW(NULL, L\"", 0), 0u) << form.Text(IDC_CODE);
}

// The options dialog closed (its close box) before any OK: no structure name,
// so no command writes anything. After an OK, closing uses that OK's options.
TEST_F(MainFormStatements, OptionsDialogClosedBeforeItsFirstOkStopsEveryCommand) {
    DialogForm form(form_);
    form.SetText(IDC_TEXT, "Saved");
    form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, IDC_TYPE_INDIRECT);
    form.SetText(IDC_CODE, "kept");
    ASSERT_TRUE(CopyToClipboard(form_, "before"));
    const std::string settings = temp_.Read("promptwright.ini"), source = temp_.Read("source.c");
    for (int command : {IDC_GENERATE, IDC_COPY, IDC_INSERT, QuickBoxSetCommand(1)}) {
        SCOPED_TRACE(command);
        const std::vector<test::ShownBox> shown = test::BoxesShownBy([&] { SendCommand(form_, command); });
        ASSERT_EQ(shown.size(), 1u);  // the options dialog, closed
        EXPECT_EQ(shown[0].text, "");
        EXPECT_EQ(form.Text(IDC_CODE), "kept");
        EXPECT_EQ(ClipboardText(), "before");
        EXPECT_EQ(temp_.Read("source.c"), source);
        EXPECT_EQ(temp_.Read("promptwright.ini"), settings);
        EXPECT_TRUE(IsWindowEnabled(form_)) << "the form stays";
    }

    context_.paramsOptions.structName = "mbp";  // as a first OK leaves it
    test::BoxesShownBy([&] { SendCommand(form_, IDC_GENERATE); });
    EXPECT_NE(form.Text(IDC_CODE).find("(&mbp);"), std::string::npos) << form.Text(IDC_CODE);
}

// The preview is the real box: every character, even where ANSI strings
// could not write the statement, and as typed (a variable's name, escapes).
TEST_F(MainFormStatements, PreviewShowsEveryCharacter) {
    DialogForm form(form_);
    form.SetText(IDC_TEXT, kLine + "\\n");
    form.SetText(IDC_TITLE, "\U0001F600 \u00FC");
    for (int type : {IDC_TYPE_BOX, IDC_TYPE_INDIRECT}) {
        form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, type);
        EXPECT_EQ(test::BoxesShownBy([&] { SendCommand(form_, IDC_PREVIEW); }),
                  (std::vector<test::ShownBox>{{"\U0001F600 \u00FC", kLine + "\\n"}}))
            << type;
    }
}

}  // namespace
}  // namespace pw
