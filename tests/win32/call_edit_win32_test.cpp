#include "win32/call_edit_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/temp_dir_win32.h"
#include "core/output/source_encoding.h"

namespace pw {
namespace {

constexpr AsciiFileEncoding kAnsi = AsciiFileEncoding::CodePage;

std::string Utf16Le(const std::string& utf8) { return "\xFF\xFE" + EncodeUtf16(utf8, SourceEncoding::Utf16Le); }

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(test::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::string ReadBytes(const std::string& path) {
    SourceSnapshot snapshot;
    return ReadSourceSnapshot(path, kAnsi, snapshot) == SnapshotOutcome::Read ? snapshot.bytes : "<not read>";
}

TEST(CallEdit, InPlaceRewritesKeepEveryOtherByte) {
    const std::string kSwitch = "switch (MessageBoxW(h, L\"Go?\", L\"T\", MB_YESNO))\n{\ncase IDYES:\n    break;\ncase IDNO:\n    break;\n}";
    struct Case {
        const char* what;
        std::string before;
        std::size_t line, column;
        std::string statement;  // as the writer writes it
        std::string after;
    };
    const Case cases[] = {
        {"LF, UTF-8 without mark, multi-line form indented",
         "int f(void) {\n    // gr\xC3\xBC\xC3\x9F" "e\n    MessageBox(h, \"Go?\", \"T\", MB_YESNO);\n    return 0;\n}\n", 3, 0,
         kSwitch,
         "int f(void) {\n    // gr\xC3\xBC\xC3\x9F" "e\n    switch (MessageBoxW(h, L\"Go?\", L\"T\", MB_YESNO))\n    {\n    case IDYES:\n"
         "        break;\n    case IDNO:\n        break;\n    }\n    return 0;\n}\n"},
        {"CR LF, context kept, call form without ;",
         "void f(void)\r\n{\r\n    int r = MessageBoxA(h, \"a\", \"b\", MB_OK); /* keep */\r\n}\r\n", 3, 14,
         "MessageBoxW(h, L\"a\", L\"b\", MB_ICONWARNING);",
         "void f(void)\r\n{\r\n    int r = MessageBoxW(h, L\"a\", L\"b\", MB_ICONWARNING); /* keep */\r\n}\r\n"},
        {"UTF-8 mark, tab, a set-up becomes one call",
         "\xEF\xBB\xBFvoid f(void) {\r\n\tMSGBOXPARAMS m = {0};\r\n\tm.cbSize = sizeof m;\r\n\tm.lpszText = \"x\";\r\n"
         "\tMessageBoxIndirect(&m);\r\n}\r\n",
         4, 0, "MessageBox(NULL, \"x\", NULL, MB_OK);",
         "\xEF\xBB\xBFvoid f(void) {\r\n\tMessageBox(NULL, \"x\", NULL, MB_OK);\r\n}\r\n"},
        {"UTF-16 LE, CR LF, comparison kept",
         Utf16Le("void f(void) {\r\n    /* \xC3\xBC \xF0\x9F\x98\x80 */ if (IDNO == MessageBoxW(h, L\"x\", L\"y\", MB_YESNO)) return;\r\n}\r\n"),
         2, 0, "MessageBoxW(h, L\"x\", L\"\\u00FC\", MB_YESNO | MB_ICONQUESTION);",
         Utf16Le("void f(void) {\r\n    /* \xC3\xBC \xF0\x9F\x98\x80 */ if (IDNO == MessageBoxW(h, L\"x\", L\"\\u00FC\", MB_YESNO | "
                 "MB_ICONQUESTION)) return;\r\n}\r\n")},
        {"the code page: its bytes stay, the statement is written in it",
         "/* caf\xE9 \x81 */\nvoid f(void) { MessageBox(h, \"a\", \"b\", MB_OK); }\n", 2, 20,
         "MessageBox(h, \"caf\xC3\xA9\", \"b\", MB_OK);",
         "/* caf\xE9 \x81 */\nvoid f(void) { MessageBox(h, \"caf\xE9\", \"b\", MB_OK); }\n"},
    };
    const test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.File("main.c");
        WriteBytes(path, c.before);
        SourceSnapshot snapshot;
        ASSERT_EQ(ReadSourceSnapshot(path, kAnsi, snapshot), SnapshotOutcome::Read);
        const std::optional<FoundCall> call = FindCallAt(snapshot.Text(), c.line, c.column);
        ASSERT_TRUE(call);
        const std::optional<CallReplacement> replacement = RewriteCall(snapshot.Text(), *call, c.statement);
        ASSERT_TRUE(replacement);
        EXPECT_EQ(WriteCallReplacement(path, snapshot, *replacement), CallWriteOutcome::Written);
        EXPECT_EQ(ReadBytes(path), c.after);
    }
}

TEST(CallEdit, FileChangedSinceItWasReadIsNotWritten) {
    const test::TempDir dir;
    const std::string path = dir.File("main.c");
    WriteBytes(path, "void f(void) { MessageBox(h, \"a\", \"b\", MB_OK); }\n");
    SourceSnapshot snapshot;
    ASSERT_EQ(ReadSourceSnapshot(path, kAnsi, snapshot), SnapshotOutcome::Read);
    const std::optional<FoundCall> call = FindCallAt(snapshot.Text(), 1, 0);
    ASSERT_TRUE(call);
    const std::optional<CallReplacement> replacement =
        RewriteCall(snapshot.Text(), *call, "MessageBox(h, \"a\", \"b\", MB_ICONERROR);");
    ASSERT_TRUE(replacement);
    // The editor saved the file again meanwhile.
    const std::string saved = "void f(void) { MessageBox(h, \"a\", \"b\", MB_OK); }\n// saved again\n";
    WriteBytes(path, saved);
    const CallWriteOutcome outcome = WriteCallReplacement(path, snapshot, *replacement);
    EXPECT_EQ(outcome, CallWriteOutcome::Changed);
    EXPECT_EQ(CallWriteMessage(outcome, path, replacement->text), "main.c changed since it was read; open it again");
    EXPECT_EQ(ReadBytes(path), saved);
}

}  // namespace
}  // namespace pw
