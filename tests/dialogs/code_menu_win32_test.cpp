// The "Co&de" menu's radio marks on a main form made here: they show the
// options in force, follow a click and a Load code, and go to the settings file.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "common/temp_dir_win32.h"
#include "dialogs/app_context_win32.h"
#include "dialogs/main_form_win32.h"
#include "dialogs/shown_boxes_win32.h"
#include "res/resource.h"
#include "win32/settings_win32.h"

namespace pw {
namespace {

class CodeMenu : public ::testing::Test {
protected:
    void SetUp() override {
        context_.settings.settingsPath = temp_.Write("promptwright.ini", "[Settings]\r\nadvanced=1\r\n");
        context_.settings.layout = Layout::Advanced;
        context_.settings.parents = {"GetActiveWindow()", "NULL"};
    }
    void TearDown() override {
        if (form_ != nullptr) DestroyWindow(form_);
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    // The checked item of each group, and whether every item looks like a radio button.
    std::vector<int> Marked() const {
        std::vector<int> marked;
        HMENU menu = GetMenu(form_);
        for (int id = IDM_CHARSET_ANSI; id <= IDM_ANSWER_SWITCH; ++id) {
            MENUITEMINFOA item{};
            item.cbSize = sizeof item;
            item.fMask = MIIM_STATE | MIIM_FTYPE;
            if (!GetMenuItemInfoA(menu, static_cast<UINT>(id), FALSE, &item)) continue;
            EXPECT_TRUE(item.fType & MFT_RADIOCHECK) << id;
            if (item.fState & MFS_CHECKED) marked.push_back(id);
        }
        return marked;
    }
    void Command(int id) { SendMessageA(form_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::string Setting(const char* key) const {
        return ReadProfileString(context_.settings.settingsPath, "Settings", key, "<none>");
    }

    test::TempDir temp_;
    AppContext context_;
    HWND form_ = nullptr;
};

TEST_F(CodeMenu, MarksShowTheOptionsFollowClicksAndLoadCodeAndAreSaved) {
    context_.codeOptions = {CharacterSet::Text, AnswerHandling::Switch};
    form_ = CreateMainForm(context_);
    ASSERT_NE(form_, nullptr);
    EXPECT_EQ(Marked(), (std::vector<int>{IDM_CHARSET_TEXT, IDM_ANSWER_SWITCH}));
    EXPECT_EQ(Setting("CharacterSet"), "<none>") << "opening writes nothing";

    Command(IDM_CHARSET_WIDE);
    EXPECT_EQ(Marked(), (std::vector<int>{IDM_CHARSET_WIDE, IDM_ANSWER_SWITCH}));
    Command(IDM_ANSWER_NONE);
    EXPECT_EQ(Marked(), (std::vector<int>{IDM_CHARSET_WIDE, IDM_ANSWER_NONE}));
    EXPECT_EQ(Setting("CharacterSet"), "2");
    EXPECT_EQ(Setting("AnswerHandling"), "0");

    SetDlgItemTextA(form_, IDC_CODE, "if (MessageBox(NULL, _T(\"a\"), TEXT(\"b\"), MB_OKCANCEL) == IDOK)\r\n{\r\n}");
    Command(IDC_LOADCODE);
    EXPECT_EQ(Marked(), (std::vector<int>{IDM_CHARSET_TEXT, IDM_ANSWER_IF}));
    EXPECT_EQ(Setting("CharacterSet"), "1");
    EXPECT_EQ(Setting("AnswerHandling"), "1");
    EXPECT_EQ(context_.codeOptions, (CodeOptions{CharacterSet::Text, AnswerHandling::If}));
}

// A settings file that cannot be written (a folder gone; under Program Files,
// one the user may not write): the choice holds for the run, and is told.
TEST_F(CodeMenu, AChoiceThatCannotBeSavedIsTold) {
    context_.settings.settingsPath = temp_.File("gone\\promptwright.ini");
    form_ = CreateMainForm(context_);
    ASSERT_NE(form_, nullptr);
    const std::vector<test::ShownBox> shown = test::BoxesShownBy([&] { Command(IDM_CHARSET_WIDE); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Error while writing file");
    EXPECT_EQ(context_.codeOptions.characterSet, CharacterSet::Wide);
    EXPECT_EQ(Marked(), (std::vector<int>{IDM_CHARSET_WIDE, IDM_ANSWER_NONE}));
}

}  // namespace
}  // namespace pw
