// The About box and the label controls, driven from the main form's menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver_win32.h"
#include "res/resource.h"
#include "res/version.h"
#include "dialogs/about_win32.h"

namespace e2e {
namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPurple = RGB(128, 0, 128);
constexpr COLORREF kRed = RGB(250, 0, 0);

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

class AboutBox : public ::testing::Test {
protected:
    HWND OpenAbout(const App& app, HWND form) {
        Command(form, IDM_ABOUT);
        return app.WaitWindow("about");
    }
};

TEST_F(AboutBox, OpensFromTheMenuWithItsTextsAndEndsOnOkOrTheCloseBoxButNotOnEscape) {
    TempDir dir;
    App app(dir, {});
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);

    HWND about = OpenAbout(app, form);
    ASSERT_NE(about, nullptr);
    const std::vector<std::string> labels = Texts(about, IDC_LABEL);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0], "About Promptwright");
    const std::vector<std::string> lines = Lines(labels[1]);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Promptwright " PW_VERSION_SHORT_TEXT);
    EXPECT_FALSE(lines[1].empty());
    EXPECT_FALSE(lines[2].empty());
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "If you've found a bug, got any sugestions,... please visit my website:");
    EXPECT_EQ(Text(about, IDC_ABOUT_LINK), pw::kWebAddress);
    EXPECT_EQ(Text(about, IDC_OK), "&OK");
    EXPECT_FALSE(IsWindowEnabled(form)) << "modal over the main form";

    PressKey(Control(about, IDC_OK), VK_ESCAPE);
    EXPECT_FALSE(WaitGone(about, 700)) << "Escape must not close the About box";
    PressKey(Control(about, IDC_OK), VK_RETURN);  // the same key path closes it through OK
    EXPECT_TRUE(WaitGone(about));

    about = OpenAbout(app, form);
    ASSERT_NE(about, nullptr);
    Close(about);
    EXPECT_TRUE(WaitGone(about));

    // After the close box freed the shared font, the link is drawn underlined
    // in blue again.
    about = OpenAbout(app, form);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(WaitFor([&] { return CountColor(Control(about, IDC_ABOUT_LINK), kBlue) > 0; }));
    Command(about, IDC_OK);
    EXPECT_TRUE(WaitGone(about));

    EXPECT_TRUE(app.Running());
    SendCommand(form, IDC_EXIT);
    EXPECT_EQ(app.WaitExit(), 0);
}

// What a click opens is checked in-process, where the shell call can be
// caught; here the link's look at rest and its repaint when its text is set.
TEST_F(AboutBox, LinkShowsBlueAndRepaintsWhenItsTextIsSet) {
    TempDir dir;
    App app(dir, {});
    HWND form = app.MainForm();
    ASSERT_NE(form, nullptr);
    HWND about = OpenAbout(app, form);
    ASSERT_NE(about, nullptr);
    HWND link = Control(about, IDC_ABOUT_LINK);
    ASSERT_TRUE(WaitFor([&] { return CountColor(link, kBlue) > 0; }));
    EXPECT_EQ(CountColor(link, kPurple), 0);

    // Setting the text repaints the label at once: a short text leaves a short underline.
    SetText(about, IDC_ABOUT_LINK, "x");
    EXPECT_EQ(Text(about, IDC_ABOUT_LINK), "x");
    RECT client{};
    GetClientRect(link, &client);
    EXPECT_TRUE(WaitFor([&] { return CountColor(link, kBlue) > 0 && CountColor(link, kBlue) < client.right; }));

    Command(about, IDC_OK);
    EXPECT_TRUE(WaitGone(about));
    SendCommand(form, IDC_EXIT);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST_F(AboutBox, SaveWarningShowsInRedWithATargetFileAndIsEmptyWithout) {
    TempDir dir;
    dir.Write("source.c", "/*MB*/\n");
    {
        App app(dir, {"source.c"}, "[Settings]\r\nadvanced=1\r\n");
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(Text(form, IDC_SAVEWARN1), "Are you sure you have");
        EXPECT_EQ(Text(form, IDC_SAVEWARN2), "saved the file?");
        for (int id : {IDC_SAVEWARN1, IDC_SAVEWARN2})
            EXPECT_TRUE(WaitFor([&] { return CountColor(Control(form, id), kRed) > 0; })) << id;
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    {
        App app(dir, {});
        HWND form = app.MainForm();
        ASSERT_NE(form, nullptr);
        for (int id : {IDC_SAVEWARN1, IDC_SAVEWARN2}) {
            EXPECT_EQ(Text(form, id), "");
            EXPECT_EQ(CountColor(Control(form, id), kRed), 0);
        }
        Close(form);
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

}  // namespace
}  // namespace e2e
