// UTF-8 as the core reads and writes it: one byte of U+FFFD per byte that
// makes no character, lone surrogates kept in their three-byte form.
#include "core/model/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace pw {
namespace {

TEST(Utf8, ReadsWritesAndChecksEveryLength) {
    constexpr char32_t R = kReplacementCharacter;
    // clang-format off
    const struct {
        std::string bytes;
        std::u32string codePoints;
        bool valid;
    } cases[] = {
        {"A~\x7F", {U'A', U'~', 0x7F}, true},
        {"\xC2\x80\xC3\xA9\xDF\xBF", {0x80, 0xE9, 0x7FF}, true},
        {"\xE0\xA0\x80\xE2\x82\xAC\xEF\xBF\xBF", {0x800, 0x20AC, 0xFFFF}, true},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", {0x10000, 0x10FFFF}, true},
        {"\xEF\xBF\xBD", {R}, true},  // a real U+FFFD
        {"\xED\xA0\x80", {0xD800}, false},
        {"a\xED\xBF\xBF", {U'a', 0xDFFF}, false},
        {"\x80" "a", {R, U'a'}, false},                   // stray continuation byte
        {"\xE2\x82", {R, R}, false},                      // cut at the end
        {"\xE2\x82" "a", {R, R, U'a'}, false},            // cut before ASCII
        {"\xC0\xAF\xE0\x80\xAF", {R, R, R, R, R}, false},  // over-long
        {"\xF4\x90\x80\x80\xF5", {R, R, R, R, R}, false},  // above U+10FFFF
    };
    // clang-format on
    for (const auto& c : cases) {
        std::u32string read;
        for (std::size_t i = 0; i < c.bytes.size();) read += NextCodePoint(c.bytes, i);
        EXPECT_EQ(read, c.codePoints) << c.bytes;
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
        if (read.find(R) != std::u32string::npos && c.bytes != "\xEF\xBF\xBD") continue;
        std::string written;
        for (char32_t codePoint : read) AppendUtf8(written, codePoint);
        EXPECT_EQ(written, c.bytes);
    }
    std::string beyond;
    AppendUtf8(beyond, 0x110000);
    EXPECT_EQ(beyond, "\xEF\xBF\xBD");
    EXPECT_EQ(CodePointName(0xE9) + " " + CodePointName(0xD83D) + " " + CodePointName(0x1F600),
              "U+00E9 U+D83D U+1F600");
}

}  // namespace
}  // namespace pw
