// What the user sees of Insert in source for one file: the message boxes and
// the clipboard for each outcome and clipboard mode.
#include "dialogs/insert_report_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "common/temp_dir_win32.h"
#include "dialogs/clipboard_text_win32.h"
#include "win32/clipboard_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

using namespace std::string_literals;

const std::vector<std::string> kMarkers = {"/*MB*/", "/*mb*/"};
const std::string kCode = "MessageBox(NULL, \"Saved\", \"Demo\", MB_OK);";
const std::string kQuestion = "There is no MessageBox insertion code found\nCopy the code to the clipboard?";
const std::string kSentinel = "clipboard before the call";

std::string WindowText(HWND window) {
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return Utf8(text);
}

struct SeenBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    bool ok = false;
    bool yes = false;
    bool no = false;
    HICON icon = nullptr;
};

// Answers the message boxes of this process from a thread of its own, since
// the test thread sits in the box's modal loop meanwhile, and notes what each
// box showed.
class BoxAnswerer {
public:
    explicit BoxAnswerer(int answer) : answer_(answer), thread_([this] { Run(); }) {}
    ~BoxAnswerer() { Stop(); }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    std::vector<SeenBox> Boxes() {
        Stop();
        return boxes_;
    }

private:
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

    static BOOL CALLBACK FindBoxProc(HWND window, LPARAM param) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[16] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid == GetCurrentProcessId() && std::string(cls) == "#32770" && IsWindowVisible(window)) {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    }

    static HWND FindBox() {
        HWND found = nullptr;
        EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    static SeenBox Describe(HWND box) {
        SeenBox seen;
        seen.caption = WindowText(box);
        seen.text = WindowText(GetDlgItem(box, 0xFFFF));
        seen.owner = GetWindow(box, GW_OWNER);
        seen.ok = GetDlgItem(box, IDOK) != nullptr;
        seen.yes = GetDlgItem(box, IDYES) != nullptr;
        seen.no = GetDlgItem(box, IDNO) != nullptr;
        for (int id : {0x0014, 0x0440}) {  // the icon control's identifier differs between systems
            if (HWND icon = GetDlgItem(box, id))
                seen.icon = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
        }
        return seen;
    }

    void Run() {
        while (!stop_) {
            if (HWND box = FindBox()) {
                boxes_.push_back(Describe(box));
                const int button = GetDlgItem(box, answer_) != nullptr ? answer_ : IDOK;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                for (int i = 0; i < 500 && IsWindow(box); ++i) Sleep(5);
            }
            Sleep(5);
        }
    }

    int answer_;
    std::atomic<bool> stop_{false};
    std::vector<SeenBox> boxes_;
    std::thread thread_;
};

std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<clipboard not opened>";
    std::string text = "<no CF_TEXT>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// A warning box as the shell shows one: the system's default caption, OK, the
// warning icon, owned by the window given.
void ExpectWarning(const SeenBox& box, HWND owner, const std::string& text) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.owner, owner);
    EXPECT_TRUE(box.ok);
    EXPECT_FALSE(box.yes || box.no);
    EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_WARNING));
}

void ExpectQuestion(const SeenBox& box, HWND owner) {
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.caption, "Copy to clipboard?");
    EXPECT_EQ(box.owner, owner);
    EXPECT_TRUE(box.yes && box.no);
    EXPECT_FALSE(box.ok);
    EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_QUESTION));
}

class InsertReport : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    HWND owner_ = nullptr;
};

TEST_F(InsertReport, EachOutcomeAndModeShowsWhatItShould) {
    enum Box { kNone, kQuestionBox, kWarningBox };
    struct Case {
        InsertOutcome outcome;
        ClipboardMode mode;
        int answer;
        std::optional<std::string> fileText;
        Box box;
        std::string warning;
        std::string clipboard;
    } const cases[] = {
        {InsertOutcome::Inserted, ClipboardMode::None, IDOK, std::nullopt, kNone, "", kSentinel},
        {InsertOutcome::Inserted, ClipboardMode::Ask, IDOK, std::nullopt, kNone, "", kSentinel},
        {InsertOutcome::Inserted, ClipboardMode::CopyCode, IDOK, std::nullopt, kNone, "", kSentinel},
        {InsertOutcome::Inserted, ClipboardMode::CopyFile, IDOK, "new text", kNone, "", "new text"},
        {InsertOutcome::NoMarker, ClipboardMode::None, IDOK, std::nullopt, kNone, "", kSentinel},
        {InsertOutcome::NoMarker, ClipboardMode::Ask, IDYES, std::nullopt, kQuestionBox, "", kCode},
        {InsertOutcome::NoMarker, ClipboardMode::Ask, IDNO, std::nullopt, kQuestionBox, "", kSentinel},
        {InsertOutcome::NoMarker, ClipboardMode::CopyCode, IDOK, std::nullopt, kNone, "", kCode},
        {InsertOutcome::NoMarker, ClipboardMode::CopyFile, IDOK, "file as read", kNone, "", "file as read"},
        {InsertOutcome::NoMarker, ClipboardMode::CopyFile, IDOK, "", kNone, "", ""},
        {InsertOutcome::NoMarker, ClipboardMode::CopyFile, IDOK, std::nullopt, kNone, "", kSentinel},
        {InsertOutcome::OpenFailed, ClipboardMode::CopyFile, IDOK, std::nullopt, kWarningBox,
         "Error while opening file", kSentinel},
        {InsertOutcome::ReadFailed, ClipboardMode::Ask, IDYES, std::nullopt, kWarningBox, "Error while reading file",
         kSentinel},
        {InsertOutcome::WriteFailed, ClipboardMode::Ask, IDYES, std::nullopt, kWarningBox, "Error while writing file",
         kSentinel},
        {InsertOutcome::WriteFailed, ClipboardMode::CopyFile, IDOK, "new text", kWarningBox, "Error while writing file",
         "new text"},
        {InsertOutcome::WriteFailedDamaged, ClipboardMode::None, IDOK, std::nullopt, kWarningBox,
         "main.c: Error while writing file; the file may be damaged", kSentinel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("outcome " + std::to_string(static_cast<int>(c.outcome)) + " mode " +
                     std::to_string(static_cast<int>(c.mode)) + " answer " + std::to_string(c.answer));
        ASSERT_TRUE(CopyToClipboard(nullptr, kSentinel));
        BoxAnswerer answerer(c.answer);
        EXPECT_TRUE(ReportInsertOutcome(owner_, c.outcome, kCode, c.mode, c.fileText, "main.c"));
        const std::vector<SeenBox> boxes = answerer.Boxes();
        ASSERT_EQ(boxes.size(), c.box == kNone ? 0u : 1u);
        if (c.box == kQuestionBox) ExpectQuestion(boxes[0], owner_);
        if (c.box == kWarningBox) ExpectWarning(boxes[0], owner_, c.warning);
        EXPECT_EQ(ClipboardText(), c.clipboard);
    }
}

// The file's new text reaches the clipboard in mode 3 only; a file that
// cannot be opened is told of.
TEST_F(InsertReport, InsertAndReportPassesTheFileTextOn) {
    const test::TempDir dir;
    for (ClipboardMode mode : {ClipboardMode::CopyFile, ClipboardMode::None}) {
        SCOPED_TRACE(static_cast<int>(mode));
        const std::string path = dir.Write("target.c", "a /*MB*/ b");
        ASSERT_TRUE(CopyToClipboard(nullptr, kSentinel));
        BoxAnswerer answerer(IDOK);
        InsertAndReport(owner_, "f();", path, mode, kMarkers, AsciiFileEncoding::CodePage);
        EXPECT_TRUE(answerer.Boxes().empty());
        EXPECT_EQ(ClipboardText(), mode == ClipboardMode::CopyFile ? "a f(); b" : kSentinel);
        EXPECT_EQ(dir.Read("target.c"), "a f(); b");
    }

    BoxAnswerer answerer(IDOK);
    InsertAndReport(owner_, kCode, dir.File("missing.c"), ClipboardMode::CopyFile, kMarkers,
                    AsciiFileEncoding::CodePage);
    const std::vector<SeenBox> boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    ExpectWarning(boxes[0], owner_, "Error while opening file");
}

// Another thread of ours holds the clipboard, as a clipboard manager would,
// for `heldFor` milliseconds.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD heldFor) {
        holder_ = std::thread([this, heldFor] {
            opened_ = OpenClipboard(nullptr) != FALSE;
            SetEvent(ready_);
            Sleep(heldFor);
            if (opened_) CloseClipboard();
        });
        WaitForSingleObject(ready_, INFINITE);
    }
    ~ClipboardHolder() {
        holder_.join();
        CloseHandle(ready_);
    }
    bool Opened() const { return opened_; }

private:
    HANDLE ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> opened_{false};
    std::thread holder_;
};

// A moment's hold is waited out; a long one fails after about a second with
// the user's clipboard untouched, and the user is told.
TEST_F(InsertReport, AHeldClipboardIsWaitedForThenReported) {
    const struct {
        DWORD heldFor;
        bool copied;
    } cases[] = {{300, true}, {2500, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heldFor);
        ASSERT_TRUE(CopyToClipboard(nullptr, kSentinel));
        const DWORD start = GetTickCount();
        bool reported = true;
        std::vector<SeenBox> boxes;
        {
            ClipboardHolder holder(c.heldFor);
            ASSERT_TRUE(holder.Opened());
            BoxAnswerer answerer(IDOK);
            reported = ReportInsertOutcome(owner_, InsertOutcome::NoMarker, kCode, ClipboardMode::CopyCode,
                                           std::nullopt, "main.c");
            boxes = answerer.Boxes();
        }
        EXPECT_EQ(reported, c.copied);
        EXPECT_GE(GetTickCount() - start, c.copied ? 250u : 900u);
        ASSERT_EQ(boxes.size(), c.copied ? 0u : 1u);
        if (!c.copied) ExpectWarning(boxes[0], owner_, "Error while copying to the clipboard");
        EXPECT_EQ(ClipboardText(), c.copied ? kCode : kSentinel);
    }
}

// A UTF-16 file's new text reaches the clipboard as text; code with a
// character a code-page file cannot hold is named and not written.
TEST_F(InsertReport, FileEncodingsOnTheClipboardAndInTheWarning) {
    const test::TempDir dir;
    const std::string check = "\xE2\x9C\x93";
    const std::string utf16 = "\xFF\xFE\x13\x27 \0/\0*\0M\0B\0*\0/\0"s;
    const std::string path = dir.Write("wide.c", utf16);
    BoxAnswerer answerer(IDOK);
    InsertAndReport(owner_, "f();", path, ClipboardMode::CopyFile, kMarkers, AsciiFileEncoding::CodePage);
    EXPECT_TRUE(answerer.Boxes().empty());
    EXPECT_EQ(UnicodeClipboardText(), check + " f();");

    const std::string ansi = dir.Write("ansi.c", "/* \xFC */ /*MB*/");
    BoxAnswerer warnings(IDOK);
    InsertAndReport(owner_, "f(\"" + check + "\");", ansi, ClipboardMode::None, kMarkers, AsciiFileEncoding::CodePage);
    const std::vector<SeenBox> boxes = warnings.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    ExpectWarning(boxes[0], owner_,
                  "Error while writing file: the file's encoding (code page 1252) cannot hold " + check +
                      "; the file is unchanged");
    EXPECT_EQ(dir.Read("ansi.c"), "/* \xFC */ /*MB*/");
}

TEST(Clipboard, TextComesBackAsCfText) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    for (const std::string& text : {""s, "MessageBox(NULL, \"a\", \"b\", MB_OK);\r\n"s, std::string(1 << 20, 'x')}) {
        SCOPED_TRACE(text.size());
        EXPECT_TRUE(CopyToClipboard(owner, text));
        EXPECT_TRUE(ClipboardText() == text);
    }
    DestroyWindow(owner);
}

}  // namespace
}  // namespace pw
