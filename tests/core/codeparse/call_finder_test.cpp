#include "core/codeparse/call_finder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace pw {
namespace {

// A source of several shapes; the table below points into it.
const std::string kSource =
    "#include <windows.h>\n"                                                 // 1
    "void f(HWND h) {\n"                                                     // 2
    "    MessageBoxA(h, \"one\", \"T\", MB_OK);\n"                           // 3
    "    int r = MessageBox(h, \"two\", NULL, MB_YESNO);\n"                  // 4
    "    if (IDNO == ::MessageBoxW(h, L\"three\", L\"T\", MB_YESNO)) return;\n"  // 5
    "    MessageBox(h, \"a\", \"b\", 0); MessageBox(h, \"c\", \"d\", 0);\n"  // 6
    "    // MessageBox(h, \"comment\", \"T\", MB_OK);\n"                     // 7
    "    puts(\"MessageBox(h, x, y, 0)\");\n"                                // 8
    "    MessageBoxEx(h,\n"                                                  // 9
    "                 \"four\", \"T\",\n"                                    // 10
    "                 MB_OK, 0);\n"                                          // 11
    "    MSGBOXPARAMS mbp = {0};\n"                                          // 12
    "    mbp.cbSize = sizeof mbp;\n"                                         // 13
    "    mbp.lpszText = \"five\";\n"                                         // 14
    "    MessageBoxIndirect(&mbp);\n"                                        // 15
    "\tswitch (MessageBox(h, \"\xC3\xA4\", \"T\", MB_YESNO)) {}\n"          // 16
    "}\n";

TEST(CallFinder, PositionsAndTheCallEachFinds) {
    struct Case {
        const char* what;
        std::size_t line, column;
        const char* text;  // nameStart..callEnd, "" for none
        bool own;
        std::size_t nameLine, nameColumn;
    };
    const Case cases[] = {
        {"line only", 3, 0, "MessageBoxA(h, \"one\", \"T\", MB_OK)", true, 3, 5},
        {"line and column on the name", 3, 7, "MessageBoxA(h, \"one\", \"T\", MB_OK)", true, 3, 5},
        {"column on the ;", 3, 38, "MessageBoxA(h, \"one\", \"T\", MB_OK)", true, 3, 5},
        {"column in the indentation", 3, 2, "", false, 0, 0},
        {"inside a context", 4, 0, "MessageBox(h, \"two\", NULL, MB_YESNO)", false, 4, 13},
        {"context column before the call", 4, 6, "", false, 0, 0},
        {"comparison and ::", 5, 20, "::MessageBoxW(h, L\"three\", L\"T\", MB_YESNO)", false, 5, 19},
        {"two calls: line only, the first", 6, 0, "MessageBox(h, \"a\", \"b\", 0)", true, 6, 5},
        {"two calls: the second by column", 6, 40, "MessageBox(h, \"c\", \"d\", 0)", true, 6, 33},
        {"in a comment", 7, 10, "", false, 0, 0},
        {"in a comment, line only", 7, 0, "", false, 0, 0},
        {"in a string", 8, 12, "", false, 0, 0},
        {"over several lines, on its last", 11, 0, "MessageBoxEx(h,\n                 \"four\", \"T\",\n                 MB_OK, 0)", true, 9, 5},
        {"over several lines, by column", 10, 20, "MessageBoxEx(h,\n                 \"four\", \"T\",\n                 MB_OK, 0)", true, 9, 5},
        {"structure set-up, on a member", 13, 0, "MessageBoxIndirect(&mbp)", true, 15, 5},
        {"structure set-up, on the call", 15, 10, "MessageBoxIndirect(&mbp)", true, 15, 5},
        {"a tab and a character beyond ASCII count one", 16, 10, "MessageBox(h, \"\xC3\xA4\", \"T\", MB_YESNO)", false, 16, 10},
        {"past the last line", 40, 0, "", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<FoundCall> call = FindCallAt(kSource, c.line, c.column);
        if (*c.text == '\0') {
            EXPECT_FALSE(call) << (call ? std::string(call->name) : "");
            continue;
        }
        ASSERT_TRUE(call);
        EXPECT_EQ(kSource.substr(call->nameStart, call->callEnd - call->nameStart), c.text);
        EXPECT_EQ(call->ownStatement, c.own);
        EXPECT_EQ(call->line, c.nameLine);
        EXPECT_EQ(call->column, c.nameColumn);
    }
    // The set-up: from the declaration to the ";", read whole.
    const std::optional<FoundCall> indirect = FindCallAt(kSource, 15, 0);
    ASSERT_TRUE(indirect);
    EXPECT_EQ(kSource.substr(indirect->replaceStart(), indirect->replaceEnd() - indirect->replaceStart()),
              "MSGBOXPARAMS mbp = {0};\n    mbp.cbSize = sizeof mbp;\n    mbp.lpszText = \"five\";\n    "
              "MessageBoxIndirect(&mbp);");
    EXPECT_TRUE(indirect->rewriteProblem.empty());
    // "switch (" stays for the reader, which takes the answer handling from it.
    const std::optional<FoundCall> inSwitch = FindCallAt(kSource, 16, 0);
    ASSERT_TRUE(inSwitch);
    EXPECT_EQ(kSource.substr(inSwitch->readStart, 8), "switch (");
    // The list finds each call as the place does (it lexes less of the text).
    const std::vector<FoundCall> all = FindCalls(kSource);
    EXPECT_EQ(all.size(), 8u);
    for (const FoundCall& call : all) {
        const std::optional<FoundCall> at = FindCallAt(kSource, call.line, call.column);
        ASSERT_TRUE(at);
        EXPECT_EQ(std::tuple(at->readStart, at->replaceStart(), at->replaceEnd(), at->contextStart, at->ownStatement),
                  std::tuple(call.readStart, call.replaceStart(), call.replaceEnd(), call.contextStart, call.ownStatement));
    }
}

}  // namespace
}  // namespace pw
