// The shell's one place of conversion: UTF-8 <-> UTF-16 at the W calls, and
// UTF-8 <-> a code page for files and standard streams.
#include "win32/text_win32.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(Text, ConvertsBetweenUtf8Utf16AndCodePages) {
    // Both ways unless `oneWay`: then only UTF-8 -> UTF-16.
    const struct {
        const char* name;
        std::string utf8;
        std::wstring utf16;
        bool oneWay;
    } unicode[] = {
        {"ASCII", "Saved \x7F", L"Saved \x7F", false},
        {"two bytes", "M\xC3\xBCnchen", L"M\u00FCnchen", false},
        {"three bytes", "\xE2\x9C\x93 \xE6\x97\xA5", L"\u2713 \u65E5", false},
        {"four bytes: a surrogate pair", "\xF0\x9F\x98\x80", L"\xD83D\xDE00", false},
        {"lone high surrogate", "a\xED\xA0\xBD!", L"a\xD83D!", false},
        {"halves in the wrong order", "\xED\xB8\x80\xED\xA0\xBD", L"\xDE00\xD83D", false},
        {"stray continuation byte", "a\x80!", L"a\xFFFD!", true},
        {"cut sequence", "\xE6\x97", L"\xFFFD\xFFFD", true},
        {"over-long form", "\xC0\xAF", L"\xFFFD\xFFFD", true},
        {"above U+10FFFF", "\xF4\x90\x80\x80", L"\xFFFD\xFFFD\xFFFD\xFFFD", true},
    };
    for (const auto& c : unicode) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf16(c.utf8), c.utf16);
        if (!c.oneWay) {
            EXPECT_EQ(Utf8(c.utf16.c_str()), c.utf8);
        }
    }

    // Code pages: `bytes` is what the code page holds; `missing` lists what it
    // lacks of `utf8`, which then gives no bytes at all.
    const struct {
        const char* name;
        UINT codePage;
        std::string utf8;
        std::string bytes;
        std::u32string missing;
    } codePages[] = {
        {"1252: Western", 1252, "Gr\xC3\xBC\xC3\x9F \xE2\x82\xAC", "Gr\xFC\xDF \x80", U""},
        {"1252: an undefined byte is its C1 control", 1252, "\xC2\x81", "\x81", U""},
        {"1252 lacks them, each named once", 1252, "\xE2\x9C\x93 a \xE2\x86\x92 \xE2\x9C\x93", "", U"\u2713\u2192"},
        {"1252: no best fit (a-macron is not a)", 1252, "\xC4\x81", "", U"\u0101"},
        {"1252: a lone surrogate has no bytes", 1252, "\xED\xA0\xBD", "", {0xD83D}},
        {"932: double bytes, trail byte 5C", 932, "\xE8\xA1\xA8\xE6\x97\xA5", "\x95\x5C\x93\xFA", U""},
        {"UTF-8 as the code page", CP_UTF8, "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", U""},
    };
    for (const auto& c : codePages) {
        SCOPED_TRACE(c.name);
        std::u32string missing;
        const std::optional<std::string> bytes = Utf8ToAnsi(c.utf8, c.codePage, &missing);
        EXPECT_EQ(missing, c.missing);
        if (c.missing.empty()) {
            EXPECT_EQ(bytes, c.bytes);
            EXPECT_EQ(AnsiToUtf8(c.bytes, c.codePage), c.utf8);
        } else {
            EXPECT_EQ(bytes, std::nullopt);
        }
    }
    EXPECT_EQ(GetACP(), 1252u) << "the test bed's ANSI code page, which the other tests assume";
}

}  // namespace
}  // namespace pw
