// Every window of the program and every procedure, hook and callback it
// installs, in as few program starts as possible: where the 32-bit build runs
// under emulation, each start costs about a minute, so one start carries many
// checks. Runs against either build; a failure names the build it came from.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "e2e/console_run_win32.h"
#include "e2e/driver_win32.h"
#include "res/resource.h"

namespace e2e {
namespace {

// Generous: under emulation the program's start alone takes about a minute,
// and each of its windows seconds.
constexpr DWORD kStart = 300000;
constexpr DWORD kStep = 60000;

constexpr char kQuickInsert[] = "Promptwright - QuickInsert";
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(250, 0, 0);

const std::string kAlpha = R"(MessageBox(NULL, "Alpha text", "Alpha title", MB_OK | MB_ICONWARNING);)";
const std::string kBeta = R"(MessageBox(NULL, "Beta text", "Beta title", MB_YESNO);)";

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// "i686" or "x86_64", from the machine field of PW_EXE's PE header.
std::string BuildUnderTest() {
    const char* exe = std::getenv("PW_EXE");
    std::ifstream in(WindowsPath(exe != nullptr ? exe : ""), std::ios::binary);
    std::uint32_t peOffset = 0;
    std::uint16_t machine = 0;
    in.seekg(0x3C);
    in.read(reinterpret_cast<char*>(&peOffset), sizeof peOffset);
    in.seekg(peOffset + 4);
    in.read(reinterpret_cast<char*>(&machine), sizeof machine);
    if (!in) return "unknown build";
    if (machine == IMAGE_FILE_MACHINE_I386) return "i686";
    if (machine == IMAGE_FILE_MACHINE_AMD64) return "x86_64";
    return "machine " + std::to_string(machine);
}

HWND Focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Answers a message box with `button` and waits until it is gone.
void Answer(const MessageBoxInfo& box, int button) {
    Command(box.window, button);
    EXPECT_TRUE(WaitGone(box.window, kStep));
}

class Smoke : public ::testing::Test {
protected:
    void SetUp() override { build_ = BuildUnderTest(); }
    // Named in every failure of the test.
    std::string Trace() const { return "build under test: " + build_; }

    std::string build_;
};

// -QI with a target file, in the simple layout: QuickInsert and its pages,
// Edit's modeless main form with the keyboard filter, the warning labels,
// Preview, About with its link, QuickInsert again from Load code, and Insert.
TEST_F(Smoke, QuickInsertModelessFormAboutAndPreviewInOneStart) {
    SCOPED_TRACE(Trace());
    TempDir dir;
    dir.Write("a.c", "int f(void) { /*MB*/ }\r\n");
    App app(dir, {"-QI", "a.c"}, "[Settings]\r\n[QuickBox]\r\nAlpha=" + kAlpha + "\r\nBeta=" + kBeta + "\r\n");

    // QuickInsert (QuickInsertProc): the slots; the Code page by the tab
    // control's own notification; Copy from each page.
    HWND qi = app.WaitWindow(kQuickInsert, kStart);
    ASSERT_NE(qi, nullptr) << "QuickInsert did not open";
    ASSERT_EQ(ListBoxCount(qi, IDC_QI_LIST), 2);
    EXPECT_EQ(ListBoxText(qi, IDC_QI_LIST, 1), "Beta");
    EXPECT_FALSE(Enabled(qi, IDC_COPY));
    PressKey(Control(qi, IDC_QI_TABS), VK_RIGHT);
    ASSERT_TRUE(WaitFor([&] { return Visible(qi, IDC_QI_CODE) && !Visible(qi, IDC_QI_LIST); }, kStep));
    TypeText(Control(qi, IDC_QI_CODE), "typed");
    EXPECT_TRUE(WaitFor([&] { return Enabled(qi, IDC_COPY); }, kStep));
    SendCommand(qi, IDC_COPY);
    EXPECT_EQ(ClipboardText(), "typed");
    PressKey(Control(qi, IDC_QI_TABS), VK_LEFT);
    ASSERT_TRUE(WaitFor([&] { return Visible(qi, IDC_QI_LIST); }, kStep));
    ChooseListBoxEntry(qi, IDC_QI_LIST, 0);
    SendCommand(qi, IDC_COPY);
    EXPECT_EQ(ClipboardText(), kAlpha);

    // Edit: the simple main form, modeless (MainFormProc), with the slot.
    Command(qi, IDC_QI_EDIT);
    HWND form = app.MainForm(kStep);
    ASSERT_NE(form, nullptr) << "Edit opened no main form";
    EXPECT_TRUE(WaitGone(qi, kStep));
    EXPECT_EQ(Control(form, IDC_CODE), nullptr) << "simple layout";
    EXPECT_EQ(Text(form, IDC_TITLE), "Alpha title");
    EXPECT_EQ(Text(form, IDC_TEXT), "Alpha text");
    EXPECT_EQ(ListPosition(form, IDC_ICON), 1);

    // Warning labels (WarningLabelProc) paint their text red.
    EXPECT_EQ(Text(form, IDC_SAVEWARN1), "Are you sure you have");
    for (int id : {IDC_SAVEWARN1, IDC_SAVEWARN2})
        EXPECT_TRUE(WaitFor([&] { return CountColor(Control(form, id), kRed) > 0; }, kStep)) << id;

    // Tab in the modeless form goes through the message filter hook
    // (ModelessFormFilter) to IsDialogMessage.
    HWND title = Control(form, IDC_TITLE);
    ASSERT_TRUE(WaitFor([&] { return Focus(form) == title; }, kStep));
    PressKey(title, VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return Focus(form) == Control(form, IDC_TITLEVAR); }, kStep));

    // Preview: the described box.
    Command(form, IDC_PREVIEW);
    MessageBoxInfo box = app.WaitMessageBox(kStep);
    ASSERT_NE(box.window, nullptr) << "Preview showed no box";
    EXPECT_EQ(box.caption, "Alpha title");
    EXPECT_EQ(box.text, "Alpha text");
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(box.hasIcon);
    Answer(box, IDOK);

    // About (AboutDialogProc) and its link label (LinkLabelProc) painted blue
    // and hovered. What a click opens is the product's web address, so the
    // click is tested in-process, where the shell call can be caught.
    Command(form, IDM_ABOUT);
    HWND about = app.WaitWindow("about", kStep);
    ASSERT_NE(about, nullptr) << "About did not open";
    HWND link = Control(about, IDC_ABOUT_LINK);
    EXPECT_TRUE(WaitFor([&] { return CountColor(link, kBlue) > 0; }, kStep));
    PostMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Close(about);
    EXPECT_TRUE(WaitGone(about, kStep));

    // Load code of the simple form: a second QuickInsert, owned by the form,
    // offering Edit and Exit only; its Edit loads the slot into the form.
    Command(form, IDC_LOADCODE);
    HWND second = app.WaitWindow(kQuickInsert, kStep);
    ASSERT_NE(second, nullptr) << "Load code opened no QuickInsert";
    EXPECT_FALSE(Visible(second, IDC_INSERT));
    EXPECT_TRUE(Visible(second, IDC_QI_EDIT));
    ChooseListBoxEntry(second, IDC_QI_LIST, 1);
    Command(second, IDC_QI_EDIT);
    EXPECT_TRUE(WaitGone(second, kStep));
    EXPECT_TRUE(WaitFor([&] { return Text(form, IDC_TITLE) == "Beta title"; }, kStep));

    // Insert: the file takes the statement; the program ends (0: the form was
    // not its first window).
    Command(form, IDC_INSERT);
    EXPECT_EQ(app.WaitExit(kStep), 0);
    EXPECT_EQ(dir.Read("a.c"), "int f(void) { " + kBeta + " }\r\n");
}

// A sparse file of 3 GiB: more than a 32-bit process can hold. Markers at
// both ends, so that any write would show in the bytes read back.
class HugeFile {
public:
    static constexpr std::int64_t kSize = std::int64_t{3} << 30;
    static constexpr char kHead[] = "/*MB*/ head\r\n";
    static constexpr char kTail[] = "tail /*MB*/\r\n";

    explicit HugeFile(std::string path) : path_(std::move(path)) {
        HANDLE file =
            CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD done = 0;
        created_ = WriteFile(file, kHead, sizeof kHead - 1, &done, nullptr) != FALSE;
        LARGE_INTEGER at;
        at.QuadPart = kSize - static_cast<std::int64_t>(sizeof kTail - 1);
        created_ = created_ && SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
                   WriteFile(file, kTail, sizeof kTail - 1, &done, nullptr);
        CloseHandle(file);
    }
    bool Created() const { return created_; }

    // Size and both ends as written.
    bool Unchanged() const {
        HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        LARGE_INTEGER size{};
        std::string head(sizeof kHead - 1, '\0'), tail(sizeof kTail - 1, '\0');
        DWORD got = 0;
        bool ok = GetFileSizeEx(file, &size) && size.QuadPart == kSize &&
                  ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr) && head == kHead;
        LARGE_INTEGER at;
        at.QuadPart = kSize - static_cast<std::int64_t>(tail.size());
        ok = ok && SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
             ReadFile(file, tail.data(), static_cast<DWORD>(tail.size()), &got, nullptr) && tail == kTail;
        CloseHandle(file);
        return ok;
    }

private:
    std::string path_;
    bool created_ = false;
};

// The advanced layout as the first window: Generate, Load code (also of text
// that is no statement), the MessageBoxIndirect options dialog, Preview, Copy,
// and Insert into four files, each with its own outcome and message box. The
// 32-bit build also gets a file larger than its address space.
TEST_F(Smoke, AdvancedFormOptionsDialogAndInsertionMessagesInOneStart) {
    SCOPED_TRACE(Trace());
    const bool i686 = build_ == "i686";
    TempDir dir;
    dir.Write("nomarker.c", "no marker here\r\n");
    dir.Write("readonly.c", "/*MB*/\r\n");
    SetFileAttributesA(dir.File("readonly.c").c_str(), FILE_ATTRIBUTE_READONLY);
    dir.Write("marked.c", "void f(void)\r\n{\r\n    /*MB*/\r\n}\r\n");
    std::vector<std::string> args = {"nomarker.c"};
    std::optional<HugeFile> huge;
    if (i686) {
        huge.emplace(dir.File("huge.c"));
        ASSERT_TRUE(huge->Created()) << "cannot make the 3 GiB sparse file";
        args.push_back("huge.c");
    }
    args.push_back("readonly.c");
    args.push_back("marked.c");
    App app(dir, args, "[Settings]\r\nadvanced=1\r\n");

    HWND form = app.MainForm(kStart);
    ASSERT_NE(form, nullptr) << "the main form did not open";
    ASSERT_NE(Control(form, IDC_CODE), nullptr) << "advanced layout";
    EXPECT_EQ(ListCount(form, IDC_LANGUAGE), 107);
    EXPECT_TRUE(WaitFor([&] { return CountColor(Control(form, IDC_SAVEWARN2), kRed) > 0; }, kStep));

    SetText(form, IDC_TITLE, "Greeting");
    SetText(form, IDC_TEXT, "Hello");
    SetText(form, IDC_PARENT, "NULL");
    SendCommand(form, IDC_GENERATE);
    EXPECT_EQ(Text(form, IDC_CODE), R"(MessageBox(NULL, "Hello", "Greeting", MB_OK);)");

    SetText(form, IDC_CODE, R"(MessageBoxEx(hWnd, "Loaded", "Back", MB_YESNO | MB_ICONHAND, 0x0c0a);)");
    SendCommand(form, IDC_LOADCODE);
    EXPECT_EQ(Text(form, IDC_PARENT), "hWnd");
    EXPECT_EQ(Text(form, IDC_TITLE), "Back");
    EXPECT_TRUE(Checked(form, IDC_TYPE_BOXEX));

    SetText(form, IDC_CODE, "printf(\"no statement\");");
    Command(form, IDC_LOADCODE);
    MessageBoxInfo box = app.WaitMessageBox(kStep);
    ASSERT_NE(box.window, nullptr) << "no report of unrecognised code";
    EXPECT_EQ(box.text, "Unrecognised code");
    Answer(box, IDOK);

    // The options dialog (ParamsDialogProc) of the Indirect form.
    SetText(form, IDC_TITLE, "Smoke title");
    SetText(form, IDC_TEXT, "Smoke text");
    ChooseListPosition(form, IDC_BUTTONS, 5);
    Click(form, IDC_TYPE_INDIRECT);
    Command(form, IDC_GENERATE);
    HWND params = app.WaitWindow("MessageBoxIndirect", kStep);
    ASSERT_NE(params, nullptr) << "the options dialog did not open";
    EXPECT_FALSE(Enabled(params, IDC_PARAMS_ICONID)) << "no user icon chosen";
    SetText(params, IDC_PARAMS_NAME, "mbp");
    Command(params, IDC_OK);
    EXPECT_TRUE(WaitGone(params, kStep));
    EXPECT_TRUE(
        WaitFor([&] { return Text(form, IDC_CODE).find("MessageBoxIndirect(&mbp);") != std::string::npos; }, kStep))
        << Text(form, IDC_CODE);
    EXPECT_EQ(Text(form, IDC_CODE).rfind("MSGBOXPARAMS mbp;\r\n", 0), 0u) << Text(form, IDC_CODE);

    // Preview of the Indirect form: MessageBoxIndirect with a stand-in icon.
    Command(form, IDC_PREVIEW);
    box = app.WaitMessageBox(kStep);
    ASSERT_NE(box.window, nullptr) << "Preview showed no box";
    EXPECT_EQ(box.caption, "Smoke title");
    EXPECT_EQ(box.text, "Smoke text");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDCANCEL, IDYES, IDNO}));
    Answer(box, IDNO);

    // The task dialog designer from the Code menu: its preview
    // (TaskDialogIndirect with its callback), closed by a custom button, and
    // the structure form it writes.
    Command(form, IDM_TASKDIALOG);
    HWND designer = app.WaitWindow("Promptwright - Task dialog", kStep);
    ASSERT_NE(designer, nullptr) << "the task dialog designer did not open";
    SetText(designer, IDC_TD_OWNER, "NULL");
    SetText(designer, IDC_TD_TITLE, "Smoke task");
    SetText(designer, IDC_TD_MAININSTR, "Smoke instruction");
    SendCommand(designer, IDC_TD_BUTTONADD);
    SetText(designer, IDC_TD_BUTTONID, "1001");
    SetText(designer, IDC_TD_BUTTONTEXT, "Go on");
    SetText(designer, IDC_TD_VERIFY, "Smoke check");
    Command(designer, IDC_TD_PREVIEW);
    HWND preview = app.WaitWindow("Smoke task", kStep);
    ASSERT_NE(preview, nullptr) << "the task dialog preview did not open";
    EXPECT_EQ(Text(preview, 1001), "Go on");
    SendMessageW(Control(preview, 1001), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitGone(preview, kStep)) << "a custom button closes the preview";
    SendCommand(designer, IDC_TD_GENERATE);
    EXPECT_EQ(Text(designer, IDC_TD_CODE),
              "TASKDIALOG_BUTTON buttons[] = {\r\n    { 1001, L\"Go on\" }\r\n};\r\nTASKDIALOGCONFIG config;\r\n"
              "ZeroMemory(&config, sizeof(config));\r\nconfig.cbSize = sizeof(config);\r\n"
              "config.pszWindowTitle = L\"Smoke task\";\r\nconfig.pszMainInstruction = L\"Smoke instruction\";\r\n"
              "config.cButtons = ARRAYSIZE(buttons);\r\nconfig.pButtons = buttons;\r\n"
              "config.pszVerificationText = L\"Smoke check\";\r\nTaskDialogIndirect(&config, NULL, NULL, NULL);");
    SendCommand(designer, IDC_TD_CLOSE);
    EXPECT_TRUE(WaitGone(designer, kStep));

    Click(form, IDC_TYPE_BOX);
    SetText(form, IDC_PARENT, "NULL");
    ChooseListPosition(form, IDC_BUTTONS, 1);
    ChooseListPosition(form, IDC_ICON, 0);
    const std::string statement = R"(MessageBox(NULL, "Smoke text", "Smoke title", MB_OK);)";
    SetClipboardText("before");
    SendCommand(form, IDC_COPY);
    EXPECT_EQ(ClipboardText(), statement);

    // Insert: the first file has no marker (asked to copy), the huge one cannot
    // be read, the read-only one not opened for writing; the last one changes,
    // so the program went on past every failure. Then it ends with 1.
    SetClipboardText("before");
    Command(form, IDC_INSERT);
    box = app.WaitMessageBox(kStep);
    ASSERT_NE(box.window, nullptr) << "no question for the file without a marker";
    EXPECT_EQ(box.caption, "Copy to clipboard?");
    EXPECT_EQ(box.buttons, (std::vector<int>{IDYES, IDNO}));
    Answer(box, IDYES);
    // Read once the program has gone on to the next file: opened by us while
    // the program copies, the clipboard would refuse the program.
    box = app.WaitMessageBox(kStep);
    EXPECT_EQ(ClipboardText(), statement);
    if (i686) {
        ASSERT_NE(box.window, nullptr) << "no message for the 3 GiB file";
        EXPECT_TRUE(box.text == "Error while reading file" || box.text == "Error while opening file") << box.text;
        Answer(box, IDOK);
        box = app.WaitMessageBox(kStep);
    }
    ASSERT_NE(box.window, nullptr) << "no message for the read-only file";
    EXPECT_EQ(box.text, "Error while opening file");
    EXPECT_TRUE(box.hasIcon);
    Answer(box, IDOK);
    EXPECT_EQ(app.WaitExit(kStep), 1);

    EXPECT_EQ(dir.Read("marked.c"), "void f(void)\r\n{\r\n    " + statement + "\r\n}\r\n");
    EXPECT_EQ(dir.Read("nomarker.c"), "no marker here\r\n");
    EXPECT_EQ(dir.Read("readonly.c"), "/*MB*/\r\n");
    if (huge) {
        EXPECT_TRUE(huge->Unchanged()) << "the 3 GiB file changed";
    }
}

// Without a window, in one start: a slot read, converted and inserted,
// a file without a marker told on standard error, and no window created.
TEST_F(Smoke, InsertWithoutAWindowInOneStart) {
    SCOPED_TRACE(Trace());
    TempDir dir;
    dir.Write("promptwright.ini", "[QuickBox]\r\nAlpha=" + kAlpha + "\r\n");
    dir.Write("marked.c", "x = /*MB*/\r\n");
    dir.Write("plain.c", "none\r\n");
    ConsoleRunOptions options;
    options.timeoutMs = kStart;
    const ConsoleRun run =
        RunConsole(ProgramUnderTest(),
                   {"-INSERT:Alpha", "-CONFIG:promptwright.ini", "-CHARSET:wide", "-ANSWER:if", "marked.c", "plain.c"},
                   dir.path(), options);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.error, "promptwright: plain.c: no insertion marker\r\n");
    EXPECT_EQ(run.windowsCreated, 0);
    // The OK set has one answer, so "if" leaves the plain statement.
    EXPECT_EQ(dir.Read("marked.c"),
              "x = MessageBoxW(NULL, L\"Alpha text\", L\"Alpha title\", MB_OK | MB_ICONWARNING);\r\n");
    EXPECT_EQ(dir.Read("plain.c"), "none\r\n");
}

}  // namespace
}  // namespace e2e
