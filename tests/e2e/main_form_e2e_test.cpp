// The main form started as a user starts it, driven from this process.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

TEST(MainFormE2E, NoArgumentsOpensTheSimpleLayoutInTheClearState) {
    TempDir dir;
    App app(dir, {});
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);

    EXPECT_EQ(Control(form, IDC_CODE), nullptr) << "simple layout has no code box";
    EXPECT_NE(Control(form, IDC_TYPE_BOX), nullptr);
    EXPECT_TRUE(Checked(form, IDC_TYPE_BOX));
    EXPECT_EQ(ListPosition(form, IDC_BUTTONS), 1);
    EXPECT_EQ(ListText(form, IDC_BUTTONS, 1), "OK");
    EXPECT_EQ(ListPosition(form, IDC_DEFBUTTON), 0);
    EXPECT_EQ(ListPosition(form, IDC_ICON), 0);
    EXPECT_EQ(Text(form, IDC_PARENT), "GetActiveWindow()");
    EXPECT_EQ(Text(form, IDC_TITLE), "");
    EXPECT_FALSE(Checked(form, IDC_TOPMOST));
    EXPECT_EQ(ShownIcon(form, IDC_ICONPREVIEW), nullptr);

    EXPECT_FALSE(Enabled(form, IDC_INSERT)) << "no target files";
    EXPECT_EQ(Text(form, IDC_SAVEWARN1), "");
    EXPECT_EQ(Text(form, IDC_SAVEWARN2), "");

    SendCommand(form, IDC_EXIT);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(MainFormE2E, AnExistingFileArgumentEnablesInsert) {
    TempDir dir;
    dir.Write("source.c", "int main(void) { /*MB*/ return 0; }\n");
    App app(dir, {"source.c", "missing.c"});
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(Enabled(form, IDC_INSERT));
    EXPECT_EQ(Text(form, IDC_SAVEWARN1), "Are you sure you have");
    EXPECT_EQ(Text(form, IDC_SAVEWARN2), "saved the file?");
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(MainFormE2E, AdvancedSettingOpensTheAdvancedLayout) {
    TempDir dir;
    App app(dir, {}, "[Settings]\r\nadvanced=1\r\n");
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    ASSERT_NE(Control(form, IDC_CODE), nullptr);
    EXPECT_EQ(ListCount(form, IDC_LANGUAGE), 107);
    EXPECT_EQ(ListPosition(form, IDC_LANGUAGE), 1);
    EXPECT_EQ(ListText(form, IDC_LANGUAGE, 0), "Language Neutral");
    EXPECT_EQ(ListText(form, IDC_LANGUAGE, 2), "Arabic (Saudi Arabia)");
    EXPECT_EQ(ListText(form, IDC_LANGUAGE, 87), "Serbian");
    EXPECT_EQ(ListText(form, IDC_LANGUAGE, 101), "Serbian");
    EXPECT_EQ(ListText(form, IDC_LANGUAGE, 105), "Faeroese");
    EXPECT_EQ(ListText(form, IDC_BUTTONS, 0), "Abort, Retry, Ignore");
    EXPECT_TRUE(Checked(form, IDC_APPLMODAL));
    EXPECT_TRUE(Checked(form, IDC_TYPE_BOX));
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(MainFormE2E, ConfigOptionPicksTheSettingsFileWhenItExists) {
    TempDir dir;
    dir.Write("mine.ini", "[Settings]\r\nadvanced=1\r\n");
    {
        App app(dir, {"-config:mine.ini"});
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        EXPECT_NE(Control(form, IDC_CODE), nullptr);
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    {
        App app(dir, {"-CONFIG:absent.ini"});
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(Control(form, IDC_CODE), nullptr) << "default settings file stands";
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

TEST(MainFormE2E, MalformedSettingsFileGivesTheDefaults) {
    TempDir dir;
    std::string junk = "\x01\x02=\xff\xfe[Settings\r\nadvanced\r\n=1\r\n[]\r\n";
    junk += std::string("\0\0garbage", 9);
    junk += "\r\n[Settings]\r\nadvanced=yes\r\nInsertCopy=\r\n";
    App app(dir, {}, junk);
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr) << "the form opens whatever the file holds";
    EXPECT_EQ(Control(form, IDC_CODE), nullptr) << "advanced=yes reads as 0: the simple layout";
    EXPECT_EQ(Text(form, IDC_PARENT), "GetActiveWindow()");
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(MainFormE2E, QuickInsertOptionIsMatchedWhole) {
    TempDir dir;
    App app(dir, {"-QIX"});
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr) << "-QIX is no option: the main form opens";
    EXPECT_EQ(app.WaitWindow("Promptwright - QuickInsert", 300), nullptr);
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(MainFormE2E, EnterAndEscapeDoNothing) {
    TempDir dir;
    App app(dir, {});
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    SendCommand(form, IDOK);
    SendCommand(form, IDCANCEL);
    PressKey(Control(form, IDC_TITLE), VK_ESCAPE);
    PressKey(Control(form, IDC_TITLE), VK_RETURN);
    Sleep(300);
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(IsWindowVisible(form));
    SendCommand(form, IDC_EXIT);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(MainFormE2E, IconPreviewFollowsTheIconListAndClearRemovesIt) {
    TempDir dir;
    App app(dir, {}, "[Settings]\r\nadvanced=1\r\n");
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    SetText(form, IDC_CODE, "kept");
    ChooseListPosition(form, IDC_ICON, 4);
    EXPECT_NE(ShownIcon(form, IDC_ICONPREVIEW), nullptr);
    SetText(form, IDC_TITLE, "Title");
    Click(form, IDC_TOPMOST);
    SendCommand(form, IDM_CLEAR);
    EXPECT_EQ(ShownIcon(form, IDC_ICONPREVIEW), nullptr);
    EXPECT_EQ(ListPosition(form, IDC_ICON), 0);
    EXPECT_EQ(Text(form, IDC_TITLE), "");
    EXPECT_FALSE(Checked(form, IDC_TOPMOST));
    EXPECT_EQ(Text(form, IDC_CODE), "kept");
    Close(form);
    EXPECT_EQ(app.WaitExit(), 0);
}

}  // namespace
}  // namespace e2e
