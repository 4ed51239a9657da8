#include "win32/insert_source_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "win32/clipboard_win32.h"
#include "win32/insert_source_testing_win32.h"
#include "win32/raii_win32.h"

namespace pw {
namespace {

using namespace std::string_literals;

const std::vector<std::string> kMarkers = {"/*MB*/", "/*mb*/"};
const std::string kCode = "MessageBox(NULL, \"Saved\", \"Demo\", MB_OK);";
const std::string kQuestion = "There is no MessageBox insertion code found\nCopy the code to the clipboard?";
const std::string kSentinel = "clipboard before the call";

std::string WindowText(HWND window) {
    const auto length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto got = SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    return text;
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

bool SetClipboardTo(const std::string& text) { return CopyToClipboard(nullptr, text); }

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

void ExpectWarning(const std::vector<SeenBox>& boxes, HWND owner, const std::string& text) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].caption, "Error");  // the system's default caption
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_TRUE(boxes[0].ok);
    EXPECT_FALSE(boxes[0].yes || boxes[0].no);
    EXPECT_EQ(boxes[0].icon, LoadIconA(nullptr, IDI_WARNING));
}

class InsertSource : public ::testing::Test {
protected:
    void SetUp() override {
        // Wine reuses process ids, and other test runs may share the temp
        // folder: take the first free name.
        static int serial = 0;
        char temp[MAX_PATH + 1] = {};
        ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
        DWORD error = 0;
        do {
            dir_ = std::string(temp) + "pw_insert_" + std::to_string(GetCurrentProcessId()) + "_" +
                   std::to_string(GetTickCount()) + "_" + std::to_string(++serial) + "\\";
            error = CreateDirectoryA(dir_.c_str(), nullptr) ? 0 : GetLastError();
        } while (error == ERROR_ALREADY_EXISTS);
        ASSERT_EQ(error, 0u) << dir_;
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
        ASSERT_TRUE(SetClipboardTo(kSentinel));
    }

    void TearDown() override {
        SetFileFaultHookForTesting({});
        DestroyWindow(owner_);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir_ + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                const std::string path = dir_ + name;
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(dir_.c_str());
    }

    std::string Path(const std::string& name) const { return dir_ + name; }

    static void WriteBytes(const std::string& path, const std::string& bytes) {
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(ok && written == bytes.size());
    }

    static std::string ReadBytes(const std::string& path) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<not opened>";
        LARGE_INTEGER size;
        GetFileSizeEx(file, &size);
        std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        bytes.resize(got);
        return bytes;
    }

    std::vector<SeenBox> Insert(const std::string& path, int mode, int answer = IDOK, const std::string& code = kCode,
                                const std::vector<std::string>& markers = kMarkers) {
        BoxAnswerer answerer(answer);
        InsertInSource(owner_, code, path, mode, markers);
        return answerer.Boxes();
    }

    std::string dir_;
    HWND owner_ = nullptr;
};

TEST_F(InsertSource, FileThatCannotBeOpenedIsLeftAloneWithAWarning) {
    const std::string text = "int a; /*MB*/\r\n";
    struct Case {
        const char* name;
        void (*prepare)(const std::string& path, const std::string& text);
    } const cases[] = {
        {"missing", [](const std::string&, const std::string&) {}},
        {"directory", [](const std::string& path, const std::string&) { CreateDirectoryA(path.c_str(), nullptr); }},
        {"read-only",
         [](const std::string& path, const std::string& text) {
             WriteBytes(path, text);
             SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
         }},
        {"held open", [](const std::string& path, const std::string& text) { WriteBytes(path, text); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(SetClipboardTo(kSentinel));
        const std::string path = Path(c.name);
        c.prepare(path, text);
        UniqueHandle holder;  // another handle that allows reading only
        if (std::string(c.name) == "held open") {
            holder = UniqueHandle(
                CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder.Valid());
        }
        ExpectWarning(Insert(path, kClipboardCopyFile), owner_, "Error while opening file");
        holder.Reset();
        if (std::string(c.name) != "missing" && std::string(c.name) != "directory") {
            EXPECT_EQ(ReadBytes(path), text);
        }
        EXPECT_EQ(ClipboardText(), kSentinel);
    }
}

TEST_F(InsertSource, FileWithoutMarkerIsLeftAloneAndTheModeDecidesTheClipboard) {
    // A BEL and a marker in the wrong case are no markers.
    const std::string text = "int x;\a\r\n/*Mb*/ /*mB*/\r\n";
    struct Case {
        int mode;
        int answer;
        bool asks;
        std::string clipboard;
    } const cases[] = {
        {kClipboardNone, IDOK, false, kSentinel},
        {kClipboardAsk, IDYES, true, kCode},
        {kClipboardAsk, IDNO, true, kSentinel},
        {kClipboardCopyCode, IDOK, false, kCode},
        {kClipboardCopyFile, IDOK, false, text},
        {7, IDOK, false, kSentinel},
        {-1, IDOK, false, kSentinel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("mode " + std::to_string(c.mode) + " answer " + std::to_string(c.answer));
        ASSERT_TRUE(SetClipboardTo(kSentinel));
        const std::string path = Path("plain.c");
        WriteBytes(path, text);
        const std::vector<SeenBox> boxes = Insert(path, c.mode, c.answer);
        if (c.asks) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, kQuestion);
            EXPECT_EQ(boxes[0].caption, "Copy to clipboard?");
            EXPECT_EQ(boxes[0].owner, owner_);
            EXPECT_TRUE(boxes[0].yes && boxes[0].no);
            EXPECT_FALSE(boxes[0].ok);
            EXPECT_EQ(boxes[0].icon, LoadIconA(nullptr, IDI_QUESTION));
        } else {
            EXPECT_TRUE(boxes.empty());
        }
        EXPECT_EQ(ClipboardText(), c.clipboard);
        EXPECT_EQ(ReadBytes(path), text);
    }
}

TEST_F(InsertSource, FilesWithoutAnyByteMarkerAreKeptWhole) {
    // UTF-16 holds the marker's characters but not its bytes; an empty file
    // holds nothing.
    std::string utf16 = "\xFF\xFE"s;
    for (char c : "int a; /*MB*/\r\n"s) utf16 += std::string{c, '\0'};
    for (const std::string& text : {utf16, ""s}) {
        SCOPED_TRACE(text.empty() ? "empty" : "UTF-16");
        const std::string path = Path("other.c");
        WriteBytes(path, text);
        ASSERT_EQ(Insert(path, kClipboardAsk, IDYES).size(), 1u);
        EXPECT_EQ(ClipboardText(), kCode);
        EXPECT_EQ(ReadBytes(path), text);
        EXPECT_TRUE(Insert(path, kClipboardCopyFile).empty());
        EXPECT_EQ(ClipboardText(), text.substr(0, text.find('\0')));
        EXPECT_EQ(ReadBytes(path), text);
    }
}

TEST_F(InsertSource, MarkersAreReplacedByTheCode) {
    struct Case {
        const char* name;
        std::string source;
        std::string code;
        std::string expected;
    } const cases[] = {
        {"three times", "a/*MB*/b/*MB*/c/*MB*/", "<x>", "a<x>b<x>c<x>"},
        {"two markers", "{\r\n\t/*mb*/\r\n\t/*MB*/\r\n}\r\n", "f();", "{\r\n\tf();\r\n\tf();\r\n}\r\n"},
        {"case counts", "/*Mb*/ /*mb*/ /*MB*/", "f();", "/*Mb*/ f(); f();"},
        {"marker in the code", "x /*MB*/ y", "f(/*MB*/);", "x f(/*MB*/); y"},
        {"BEL kept", "\a/*MB*/\a", "f();", "\af();\a"},
        {"zero bytes kept", "\0\0 /*MB*/ \0 /*mb*/"s, "f();", "\0\0 f(); \0 f();"s},
        {"shorter result", "/*MB*/ and a long tail that must not stay behind", "",
         " and a long tail that must not stay behind"},
        {"same length", "1/*MB*/2", "f(1);", "1f(1);2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("target.c");
        WriteBytes(path, c.source);
        EXPECT_TRUE(Insert(path, kClipboardCopyFile, IDOK, c.code).empty());
        EXPECT_EQ(ReadBytes(path), c.expected);
        EXPECT_EQ(ClipboardText(), c.expected.substr(0, c.expected.find('\0')));
    }
}

std::string LargeSource(std::size_t size) {
    std::string text;
    text.reserve(size);
    while (text.size() < size) text += "    total += values[i] * 3; /* sum */\r\n";
    text.resize(size);
    text.replace(10, 6, "/*MB*/");
    text.replace(size - 20, 6, "/*mb*/");
    return text;
}

std::string Spliced(std::string text, const std::string& code) {
    text.replace(text.size() - 20, 6, code);
    text.replace(10, 6, code);
    return text;
}

TEST_F(InsertSource, LargeFileIsRewrittenWholeWhileOthersAreKeptOut) {
    const std::string path = Path("large.c");
    const std::string text = LargeSource(10 << 20);
    WriteBytes(path, text);
    DWORD otherOpenError = 0;
    SetFileFaultHookForTesting([&](FileStep step, int count) {
        if (step == FileStep::Write && count == 1) {
            HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, 0, nullptr);
            otherOpenError = other == INVALID_HANDLE_VALUE ? GetLastError() : 0;
            if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
        }
        return false;
    });
    EXPECT_TRUE(Insert(path, kClipboardNone).empty());
    EXPECT_EQ(otherOpenError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(ReadBytes(path) == Spliced(text, kCode));
}

TEST_F(InsertSource, FailedFileWorkLeavesTheFileAsItWasAndSaysSo) {
    const std::string large = LargeSource(10 << 20);
    const std::string shrinking = "/*MB*/ tail " + std::string(3000, 't');
    struct Case {
        const char* name;
        const std::string& text;
        std::string code;
        FileStep step;
        int count;
        const char* message;
    } const cases[] = {
        {"read", large, kCode, FileStep::Read, 2, "Error while reading file"},
        {"grow (disk full)", large, kCode, FileStep::SetLength, 1, "Error while writing file"},
        {"first write", large, kCode, FileStep::Write, 1, "Error while writing file"},
        {"write after 2 MiB", large, kCode, FileStep::Write, 3, "Error while writing file"},
        {"last write", large, kCode, FileStep::Write, 11, "Error while writing file"},
        {"flush", large, kCode, FileStep::Flush, 1, "Error while writing file"},
        {"shrink", shrinking, "", FileStep::SetLength, 1, "Error while writing file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("fails.c");
        WriteBytes(path, c.text);
        bool injected = false;
        SetFileFaultHookForTesting([&](FileStep step, int count) {
            const bool fail = step == c.step && count == c.count;
            injected = injected || fail;
            return fail;
        });
        ExpectWarning(Insert(path, kClipboardAsk, IDYES, c.code), owner_, c.message);
        SetFileFaultHookForTesting({});
        EXPECT_TRUE(injected);
        EXPECT_TRUE(ReadBytes(path) == c.text);
        EXPECT_EQ(ClipboardText(), kSentinel);
    }
}

TEST(InsertSourceClipboard, TextComesBackAsCfText) {
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
