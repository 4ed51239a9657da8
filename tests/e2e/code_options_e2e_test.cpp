// The "Co&de" menu end to end: each string mode and answer mode reaches the
// code box and the source file, survives a restart through the settings file,
// and Load code sets the options a statement was written in. (Menu marks
// cannot be read across processes; the in-process tests check them.)
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

const std::string kWideSwitch =
    "switch (MessageBoxW(NULL, L\"Save changes?\", L\"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION))\r\n"
    "{\r\ncase IDYES:\r\n    break;\r\ncase IDNO:\r\n    break;\r\ncase IDCANCEL:\r\n    break;\r\n}";

HWND StartFilled(const App& app) {
    HWND form = app.MainForm();
    if (form == nullptr) return nullptr;
    SetText(form, IDC_TITLE, "Editor");
    SetText(form, IDC_TEXT, "Save changes?");
    SetText(form, IDC_PARENT, "NULL");
    ChooseListPosition(form, IDC_BUTTONS, 5);
    ChooseListPosition(form, IDC_ICON, 3);
    return form;
}

std::string Generate(HWND form) {
    SendCommand(form, IDC_GENERATE);
    return Text(form, IDC_CODE);
}

TEST(CodeOptionsE2E, ModesReachCodeBoxAndFileAndSurviveARestart) {
    TempDir dir;
    dir.Write("main.c", "int main(void)\r\n{\r\n    /*MB*/\r\n}\r\n");
    {
        App app(dir, {"main.c"}, "[Settings]\r\nadvanced=1\r\n");
        HWND form = StartFilled(app);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(Generate(form), "MessageBox(NULL, \"Save changes?\", \"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION);");
        SendCommand(form, IDM_CHARSET_TEXT);
        EXPECT_EQ(Generate(form),
                  "MessageBox(NULL, TEXT(\"Save changes?\"), TEXT(\"Editor\"), MB_YESNOCANCEL | MB_ICONQUESTION);");
        SendCommand(form, IDM_CHARSET_WIDE);
        SendCommand(form, IDM_ANSWER_SWITCH);
        EXPECT_EQ(Generate(form), kWideSwitch);
        const std::string settings = dir.Read("promptwright.ini");
        EXPECT_NE(settings.find("CharacterSet=2"), std::string::npos) << settings;
        EXPECT_NE(settings.find("AnswerHandling=2"), std::string::npos) << settings;

        SendCommand(form, IDC_INSERT);
        EXPECT_EQ(app.WaitExit(), 1);
        EXPECT_EQ(dir.Read("main.c"), "int main(void)\r\n{\r\n    " + kWideSwitch + "\r\n}\r\n");
    }
    {
        App app(dir, {}, "");  // the settings file stays as the first run left it
        HWND form = StartFilled(app);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(Generate(form), kWideSwitch) << "both options came back from the settings file";
        SendCommand(form, IDM_CHARSET_ANSI);
        SendCommand(form, IDM_ANSWER_IF);
        EXPECT_EQ(Generate(form),
                  "if (MessageBox(NULL, \"Save changes?\", \"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES)\r\n"
                  "{\r\n}");

        // Load code of a wide switch statement (with code of the user's own in
        // its braces) sets the form and puts both of its options in force.
        SendCommand(form, IDM_CLEAR);
        SetText(form, IDC_CODE,
                "switch (MessageBoxW(hWnd, L\"Caf\\u00E9?\", L\"Menu\", MB_YESNO | MB_ICONWARNING))\r\n"
                "{\r\ncase IDYES:\r\n    Order();\r\n    break;\r\n}");
        SendCommand(form, IDC_LOADCODE);
        EXPECT_TRUE(app.NoMessageBoxWithin(300));
        EXPECT_EQ(Text(form, IDC_TEXT), "Caf\xC3\xA9?");  // the driver reads UTF-8
        EXPECT_EQ(Text(form, IDC_TITLE), "Menu");
        EXPECT_EQ(Text(form, IDC_PARENT), "hWnd");
        EXPECT_EQ(ListPosition(form, IDC_BUTTONS), 4);
        EXPECT_EQ(ListPosition(form, IDC_ICON), 1);
        const std::string settings = dir.Read("promptwright.ini");
        EXPECT_NE(settings.find("CharacterSet=2"), std::string::npos) << settings;
        EXPECT_NE(settings.find("AnswerHandling=2"), std::string::npos) << settings;
        EXPECT_EQ(Generate(form),
                  "switch (MessageBoxW(hWnd, L\"Caf\\u00E9?\", L\"Menu\", MB_YESNO | MB_ICONWARNING))\r\n"
                  "{\r\ncase IDYES:\r\n    break;\r\ncase IDNO:\r\n    break;\r\n}");
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

}  // namespace
}  // namespace e2e
