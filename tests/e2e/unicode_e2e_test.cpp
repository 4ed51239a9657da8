// Characters outside the ANSI code page (1252 here) from the keyboard to the
// statement and back, one case per flow: typed, generated and loaded again;
// refused under ANSI strings; stored in a QuickBox slot and loaded; shown by
// the preview; and a window run from a folder the code page cannot name.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

// ✓ Saved → Grüße 日本語 😀
const std::string kTyped =
    "\xE2\x9C\x93 Saved \xE2\x86\x92 Gr\xC3\xBC\xC3\x9F"
    "e \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xF0\x9F\x98\x80";
const std::string kWideLiteral = R"(L"\u2713 Saved \u2192 Gr\u00FC\u00DFe \u65E5\u672C\u8A9E \U0001F600")";

HWND StartAdvanced(const App& app) {
    HWND form = app.MainForm();
    if (form == nullptr) return nullptr;
    SetText(form, IDC_PARENT, "NULL");
    SetText(form, IDC_TITLE, "T");
    SetText(form, IDC_TEXT, kTyped);
    return form;
}

TEST(UnicodeE2E, TypedTextIsGeneratedLoadedAndRefusedWhereAnsiCannotHoldIt) {
    TempDir dir;
    App app(dir, {}, "[Settings]\r\nadvanced=1\r\n");
    HWND form = StartAdvanced(app);
    ASSERT_NE(form, nullptr);

    SendCommand(form, IDM_CHARSET_WIDE);
    SendCommand(form, IDC_GENERATE);
    EXPECT_EQ(Text(form, IDC_CODE), "MessageBoxW(NULL, " + kWideLiteral + ", L\"T\", MB_OK);");
    SendCommand(form, IDM_CHARSET_TEXT);
    SendCommand(form, IDC_GENERATE);
    const std::string textForm = Text(form, IDC_CODE);
    EXPECT_NE(textForm.find(R"(TEXT("\u2713 Saved)"), std::string::npos) << textForm;

    SetText(form, IDC_TEXT, "");
    SendCommand(form, IDC_LOADCODE);
    EXPECT_EQ(Text(form, IDC_TEXT), kTyped) << "every character comes back, the pair of 😀 whole";

    // Under ANSI strings the check mark cannot be written: a warning names
    // the characters, and the code box keeps what it had.
    SendCommand(form, IDM_CHARSET_ANSI);
    Command(form, IDC_GENERATE);
    const MessageBoxInfo box = app.WaitMessageBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text,
              "The text holds characters that ANSI strings cannot hold: \xE2\x9C\x93 \xE2\x86\x92 \xE6\x97\xA5 "
              "\xE6\x9C\xAC \xE8\xAA\x9E \xF0\x9F\x98\x80. Choose TEXT() strings or Wide strings in the Code menu.");
    SendCommand(box.window, IDOK);
    EXPECT_TRUE(WaitGone(box.window));
    EXPECT_EQ(Text(form, IDC_CODE), textForm);
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(UnicodeE2E, QuickBoxSlotKeepsEveryCharacterAndThePreviewShowsThem) {
    TempDir dir;
    App app(dir, {}, "[Settings]\r\nadvanced=1\r\nCharacterSet=2\r\n[QuickBox]\r\nSlot=x\r\n");
    HWND form = StartAdvanced(app);
    ASSERT_NE(form, nullptr);
    SendCommand(form, 4201);  // QuickBox > Set > Slot
    EXPECT_EQ(ValueLine(dir.Read("promptwright.ini"), "Slot"),
              "\"MessageBoxW(NULL, " + kWideLiteral + ", L\"T\", MB_OK);\"")
        << "the stored statement is ASCII whatever the file's code page";
    SendCommand(form, IDM_CLEAR);
    SendCommand(form, 4101);  // QuickBox > Load > Slot
    EXPECT_EQ(Text(form, IDC_TEXT), kTyped);

    Command(form, IDC_PREVIEW);
    const MessageBoxInfo box = app.WaitMessageBox();
    ASSERT_NE(box.window, nullptr);
    EXPECT_EQ(box.text, kTyped);
    SendCommand(box.window, IDOK);
    EXPECT_TRUE(WaitGone(box.window));
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(UnicodeE2E, WindowRunFromAFolderOutsideTheCodePageFindsItsSettings) {
    TempDir dir;
    const std::string folder = dir.Folder("Werkzeuge \xE6\x97\xA5\xE6\x9C\xAC \xE2\x9C\x93");
    App app(folder, {}, "[Settings]\r\nadvanced=1\r\n");
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(Visible(form, IDC_GENERATE)) << "the advanced layout of the settings file beside the program";
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

}  // namespace
}  // namespace e2e
