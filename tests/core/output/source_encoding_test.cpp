#include "core/output/source_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/output/marker_search.h"

namespace pw {
namespace {

using namespace std::string_literals;
using enum SourceEncoding;

constexpr auto kAnsi = AsciiFileEncoding::CodePage;
constexpr auto kUtf8 = AsciiFileEncoding::Utf8;

TEST(SourceEncoding, DecisionFromTheBytes) {
    const std::string asciiRun(200, 'x');  // past the steps over ASCII runs
    const struct {
        const char* name;
        std::string bytes;
        AsciiFileEncoding asciiFiles;
        SourceFileEncoding expected;
    } cases[] = {
        {"empty", "", kAnsi, {CodePage, 0}},
        {"empty, ASCII files UTF-8", "", kUtf8, {Utf8, 0}},
        {"ASCII", "int a; /*MB*/\r\n", kAnsi, {CodePage, 0}},
        {"ASCII, ASCII files UTF-8", "int a; /*MB*/\r\n", kUtf8, {Utf8, 0}},
        {"UTF-8 BOM", "\xEF\xBB\xBFint a;", kAnsi, {Utf8, 3}},
        {"UTF-8 BOM alone", "\xEF\xBB\xBF", kAnsi, {Utf8, 3}},
        {"UTF-8 BOM before invalid bytes", "\xEF\xBB\xBF\xFC", kAnsi, {Utf8, 3}},
        {"lone EF BB", "\xEF\xBBint a;", kAnsi, {CodePage, 0}},
        {"lone EF BB, ASCII files UTF-8", "\xEF\xBB", kUtf8, {CodePage, 0}},
        {"UTF-16 LE", "\xFF\xFE/\0*\0"s, kAnsi, {Utf16Le, 2}},
        {"UTF-16 LE of odd length", "\xFF\xFEx\0y"s, kAnsi, {Utf16Le, 2}},
        {"UTF-16 BE", "\xFE\xFF\0/\0*"s, kUtf8, {Utf16Be, 2}},
        {"lone FF", "\xFF", kUtf8, {CodePage, 0}},
        {"UTF-8 without BOM", "// Gr\xC3\xBC\xC3\x9F\x65 \xE2\x9C\x93 \xF0\x9F\x98\x80", kAnsi, {Utf8, 0}},
        {"UTF-8 after 200 ASCII bytes", asciiRun + "\xC3\xA9", kAnsi, {Utf8, 0}},
        {"code page text", "/* Gr\xFC\xDF\x65 */", kUtf8, {CodePage, 0}},
        {"invalid after valid", "\xC3\xBC ok \xFC", kAnsi, {CodePage, 0}},
        {"invalid after 200 ASCII bytes", "\xC3\xBC" + asciiRun + "\x80", kAnsi, {CodePage, 0}},
        {"sequence cut at the end", "\xC3\xBC \xE2\x9C", kAnsi, {CodePage, 0}},
        {"over-long slash", "\xC3\xBC \xC0\xAF", kAnsi, {CodePage, 0}},
        {"over-long three bytes", "\xE0\x80\xAF", kAnsi, {CodePage, 0}},
        {"surrogate", "\xED\xA0\x80", kAnsi, {CodePage, 0}},
        {"above U+10FFFF", "\xF4\x90\x80\x80", kAnsi, {CodePage, 0}},
        {"highest code point", "\xF4\x8F\xBF\xBF", kAnsi, {Utf8, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SourceFileEncoding got = DecideSourceEncoding(c.bytes, c.asciiFiles);
        EXPECT_EQ(got.encoding, c.expected.encoding);
        EXPECT_EQ(got.bomSize, c.expected.bomSize);
        // Read in three pieces, cut anywhere, even within a character.
        for (std::size_t first = 0; first <= c.bytes.size(); ++first) {
            for (std::size_t second = first; second <= c.bytes.size(); second += 3) {
                Utf8Check check;
                check.Add(std::string_view(c.bytes).substr(0, first));
                check.Add(std::string_view(c.bytes).substr(first, second - first));
                check.Add(std::string_view(c.bytes).substr(second));
                EXPECT_EQ(DecideSourceEncoding(c.bytes, check, c.asciiFiles), got) << first << ", " << second;
            }
        }
    }
}

TEST(SourceEncoding, SettingValues) {
    for (const char* value : {"utf8", "UTF8", "Utf8"}) EXPECT_EQ(AsciiFileEncodingFromSetting(value), kUtf8) << value;
    for (const char* value : {"", "ansi", "utf-8", "utf16", "utf8 ", "1"})
        EXPECT_EQ(AsciiFileEncodingFromSetting(value), kAnsi) << value;
}

// UTF-8 to the file's UTF-16 and back, as the statement is written and the
// file's new text read for the clipboard.
TEST(SourceEncoding, Utf16Conversions) {
    const struct {
        const char* name;
        std::string utf8;
        std::string le;
        std::string decoded;  // of `le` (and of its big-endian twin)
    } cases[] = {
        {"ASCII", "f();", "f\0(\0)\0;\0"s, "f();"},
        {"two and three bytes", "\xC3\xBC\xE2\x9C\x93", "\xFC\0\x13\x27"s, "\xC3\xBC\xE2\x9C\x93"},
        {"surrogate pair", "\xF0\x9F\x98\x80", "\x3D\xD8\x00\xDE"s, "\xF0\x9F\x98\x80"},
        {"lone surrogate kept", "\xED\xA0\x80", "\x00\xD8"s, "\xED\xA0\x80"},
        {"invalid byte", "a\xFF", "a\0\xFD\xFF"s, "a\xEF\xBF\xBD"},
    };
    auto swapped = [](std::string bytes) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
        return bytes;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EncodeUtf16(c.utf8, Utf16Le), c.le);
        EXPECT_EQ(EncodeUtf16(c.utf8, Utf16Be), swapped(c.le));
        EXPECT_EQ(DecodeUtf16(c.le, Utf16Le), c.decoded);
        EXPECT_EQ(DecodeUtf16(swapped(c.le), Utf16Be), c.decoded);
    }
    EXPECT_EQ(DecodeUtf16("a\0b"s, Utf16Le), "a\xEF\xBF\xBD");  // a trailing odd byte
}

// On UTF-16 text a marker matches on code units only: never across the halves
// of two, and a false start between units takes nothing from a real match.
TEST(SourceEncoding, MarkersMatchOnCodeUnits) {
    const std::string mb = EncodeUtf16("/*MB*/", Utf16Le);
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> markers;
        std::vector<std::size_t> positions;
    } cases[] = {
        {"on a unit", "x\0"s + mb + "y", {mb}, {2}},
        {"split across units", "x" + mb + "y", {mb}, {}},
        {"false start before a real match", "xaaaaa", {"aaaa"}, {2}},
        {"odd-length marker", "abcabc", {"abc"}, {}},
        {"past a block, split and on a unit", std::string(99, ' ') + mb + " " + mb, {mb}, {112}},
    };
    for (const auto& c : cases) {
        for (MarkerSearch search : {MarkerSearch::Fastest, MarkerSearch::Portable}) {
            SCOPED_TRACE(std::string(c.name) + (search == MarkerSearch::Portable ? ", portable" : ", fastest"));
            std::vector<std::size_t> positions;
            for (const MarkerOccurrence& o : FindMarkerOccurrences(c.text, c.markers, search, 2))
                positions.push_back(o.pos);
            EXPECT_EQ(positions, c.positions);
        }
    }
}

}  // namespace
}  // namespace pw
