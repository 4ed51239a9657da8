// -EDIT as an editor's key starts it: the call under the cursor in the form,
// a change, and Insert in source putting just that call back.
#include <gtest/gtest.h>

#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

TEST(EditCallE2E, CallUnderTheCursorIntoTheFormAndBack) {
    TempDir dir;
    const std::string before =
        "#include <windows.h>\r\n"
        "void Save(HWND hWnd) {\r\n"
        "    MessageBox(hWnd, \"Other\", \"Editor\", MB_OK);\r\n"
        "    if (IDNO == MessageBox(hWnd, \"Save changes?\", \"Editor\", MB_YESNO)) /* keep */\r\n"
        "        return;\r\n"
        "}\r\n";
    dir.Write("main.c", before);
    App app(dir, {"-EDIT:4:20", "main.c"}, "[Settings]\r\n");
    HWND form = app.WaitWindow("Promptwright - main.c:4");
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Text(form, IDC_TEXT), "Save changes?");
    EXPECT_EQ(Text(form, IDC_TITLE), "Editor");
    EXPECT_EQ(Text(form, IDC_SAVEWARN1), "Are you sure you have") << "the save warning applies";
    ChooseListPosition(form, IDC_ICON, 1);  // warning
    Command(form, IDC_INSERT);
    EXPECT_EQ(app.WaitExit(), 1);
    const std::string after =
        "#include <windows.h>\r\n"
        "void Save(HWND hWnd) {\r\n"
        "    MessageBox(hWnd, \"Other\", \"Editor\", MB_OK);\r\n"
        "    if (IDNO == MessageBox(hWnd, \"Save changes?\", \"Editor\", MB_YESNO | MB_ICONWARNING)) /* keep */\r\n"
        "        return;\r\n"
        "}\r\n";
    EXPECT_EQ(dir.Read("main.c"), after);
}

}  // namespace
}  // namespace e2e
