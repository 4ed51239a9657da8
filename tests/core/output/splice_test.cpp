#include "core/output/splice.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/output/splice_reference.h"

namespace pw {
namespace {

using namespace std::string_literals;

const std::vector<std::string> kDefaultMarkers = {"/*MB*/", "/*mb*/"};
constexpr MarkerSearch kSearches[] = {MarkerSearch::Fastest, MarkerSearch::Portable};

const char* Name(MarkerSearch search) {
    return search == MarkerSearch::Portable ? "portable search" : "fastest search";
}

// The source with the code in place of the markers, as Insert in source
// builds it: the occurrences, then the pieces between them.
std::string Spliced(std::string_view code, std::string_view source, const std::vector<std::string>& markers,
                    MarkerSearch search, bool& found, std::size_t unit = 1) {
    const std::vector<MarkerOccurrence> occurrences = FindMarkerOccurrences(source, markers, search, unit);
    found = !occurrences.empty();
    return SpliceCode(code, source, occurrences);
}

struct SpliceCase {
    const char* name;
    std::string source;
    std::vector<std::string> markers;
    std::string code;
    std::string expected;
    bool found;
};

class SpliceTable : public ::testing::TestWithParam<SpliceCase> {};

TEST_P(SpliceTable, ReplacesOccurrences) {
    const SpliceCase& c = GetParam();
    for (MarkerSearch search : kSearches) {
        SCOPED_TRACE(Name(search));
        bool found = false;
        EXPECT_EQ(Spliced(c.code, c.source, c.markers, search, found), c.expected);
        EXPECT_EQ(found, c.found);

        // The pieces the file is written from: none empty, together the text.
        const std::vector<MarkerOccurrence> occurrences = FindMarkerOccurrences(c.source, c.markers, search);
        std::string pieces;
        VisitSplicedText(c.code, c.source, occurrences, [&](std::string_view piece) {
            EXPECT_FALSE(piece.empty());
            pieces += piece;
        });
        EXPECT_EQ(pieces, c.expected);
        EXPECT_EQ(SplicedSize(c.source.size(), c.code.size(), occurrences), c.expected.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Splice, SpliceTable,
    ::testing::Values(
        SpliceCase{"EmptySource", "", kDefaultMarkers, "X", "", false},
        SpliceCase{"NoMarkerInText", "int a;\r\n", kDefaultMarkers, "X", "int a;\r\n", false},
        SpliceCase{"NoMarkersAtAll", "a/*MB*/b", {}, "X", "a/*MB*/b", false},
        SpliceCase{"WholeText", "/*MB*/", kDefaultMarkers, "CODE", "CODE", true},
        SpliceCase{"KeepsSurroundingsByteForByte", "\tif (x)\r\n\t\t/*MB*/\r\n}", kDefaultMarkers,
                   "MessageBox(0, \"a\", \"b\", MB_OK);", "\tif (x)\r\n\t\tMessageBox(0, \"a\", \"b\", MB_OK);\r\n}",
                   true},
        SpliceCase{"ThreeOccurrences", "/*MB*/a/*MB*/b/*MB*/", kDefaultMarkers, "<c>", "<c>a<c>b<c>", true},
        SpliceCase{"TwoMarkers", "x/*mb*/y/*MB*/z", kDefaultMarkers, "C", "xCyCz", true},
        SpliceCase{"CaseCounts", "/*Mb*/ /*mB*/", kDefaultMarkers, "C", "/*Mb*/ /*mB*/", false},
        SpliceCase{"EachCaseMatchesItself", "/*Mb*/ /*mb*/ /*MB*/", kDefaultMarkers, "C", "/*Mb*/ C C", true},
        SpliceCase{"MarkerInsideCodeStays", "a/*MB*/b", kDefaultMarkers, "f(/*MB*/ /*mb*/);", "af(/*MB*/ /*mb*/);b",
                   true},
        SpliceCase{"BelWithMarkerIsKept", "\a/*MB*/\a", kDefaultMarkers, "C", "\aC\a", true},
        SpliceCase{"BelWithoutMarkerIsKept", "a\ab", kDefaultMarkers, "C", "a\ab", false},
        SpliceCase{"BelInCodeIsKept", "/*MB*/", kDefaultMarkers, "\a\a", "\a\a", true},
        SpliceCase{"ZeroBytesAreData", "a\0b/*MB*/\0c"s, kDefaultMarkers, "C\0D"s, "a\0bC\0D\0c"s, true},
        SpliceCase{"MarkerAfterZeroByteIsFound", "\0\0/*mb*/"s, kDefaultMarkers, "C", "\0\0C"s, true},
        SpliceCase{"OccurrencesDoNotOverlap", "aaaaa", {"aa"}, "X", "XXa", true},
        SpliceCase{"LaterMarkerNotInsideEarlier", "/*MB*/ MB", {"/*MB*/", "MB"}, "X", "X X", true},
        SpliceCase{"LaterMarkerNotAcrossEarlier", "abc", {"b", "ac"}, "X", "aXc", true},
        SpliceCase{"LaterMarkerNotAcrossEarlierWithBel", "abc", {"b", "a\ac"}, "X", "aXc", true},
        SpliceCase{"ListOrderDecides", "abc", {"bc", "ab"}, "X", "aX", true},
        SpliceCase{"EmptyMarkersIgnored", "a/*MB*/", {"", "/*MB*/", ""}, "X", "aX", true},
        SpliceCase{"OnlyEmptyMarkers", "abc", {""}, "X", "abc", false},
        SpliceCase{"RepeatedMarkerInList", "/*MB*/", {"/*MB*/", "/*MB*/"}, "X", "X", true},
        SpliceCase{"MarkerLongerThanText", "/*", kDefaultMarkers, "X", "/*", false},
        SpliceCase{"EmptyCodeRemovesMarker", "a/*MB*/b", kDefaultMarkers, "", "ab", true},
        SpliceCase{"CodeLongerAndShorterThanMarkers",
                   "1<long-marker>2<m>3",
                   {"<long-marker>", "<m>"},
                   "code!",
                   "1code!2code!3",
                   true}),
    [](const ::testing::TestParamInfo<SpliceCase>& info) { return std::string(info.param.name); });

// Both searches give the reference result, byte by byte and on the 2-byte
// code units of UTF-16.
void ExpectSplicesLikeReference(std::string_view code, const std::string& source,
                                const std::vector<std::string>& markers, int round) {
    for (std::size_t unit : {1, 2}) {
        bool expectedFound = false;
        const std::string expected = ReferenceSplice(code, source, markers, expectedFound, unit);
        for (MarkerSearch search : kSearches) {
            bool found = false;
            ASSERT_EQ(Spliced(code, source, markers, search, found, unit), expected)
                << Name(search) << ", unit " << unit << ", round " << round;
            ASSERT_EQ(found, expectedFound) << Name(search) << ", unit " << unit << ", round " << round;
        }
        // The same found as the text arrives in pieces, cut anywhere.
        const std::size_t piece = 1 + static_cast<std::size_t>(round) % 97;
        MarkerScan scan(markers, MarkerSearch::Fastest, unit, static_cast<std::size_t>(round) % 5);
        for (std::size_t arrived = piece; arrived < source.size(); arrived += piece)
            scan.Advance(std::string_view(source).substr(0, arrived));
        bool found = false;
        ASSERT_EQ(SpliceCode(code, source, scan.Finish(source)),
                  Spliced(code, source, markers, kSearches[0], found, unit))
            << "pieces of " << piece << ", unit " << unit << ", round " << round;
    }
}

// Texts dense with matches: overlaps of a marker with itself and with others
// everywhere.
TEST(Splice, AgreesWithReferenceOnDenseRandomTexts) {
    std::mt19937 rng(20261201);
    const std::string alphabet = "ab\a\0"s;
    auto randomText = [&](std::size_t maxLen) {
        std::string s(rng() % (maxLen + 1), ' ');
        for (char& c : s) c = alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 3000; ++round) {
        // Long texts reach the vector search's 64-byte blocks.
        const std::size_t maxLen = round % 100 == 0 ? 40000 : round % 3 == 0 ? 300 : 40;
        const std::string source = randomText(maxLen);
        std::vector<std::string> markers(rng() % 4);
        for (std::string& m : markers) m = randomText(3);
        const std::string code = randomText(4);
        ExpectSplicesLikeReference(code, source, markers, round);
    }
}

// Long texts with few matches, up to a dozen markers from one byte to longer
// than a block, some sharing their ends or their length, and now and then two
// run together or one cut short.
TEST(Splice, AgreesWithReferenceOnSparseRandomTexts) {
    std::mt19937 rng(20261208);
    const std::string_view kFiller = "int x = a / b; /* c */ y = *p;\r\n";
    // clang-format off
    const std::vector<std::string> pool = {
        "/*MB*/", "/*mb*/", "/*M*/", "/*a*/", "@", "/**/", "MB*/", "MB", "<<MB>>", "$$", "@@INSERT@@",
        "//MB\r\n", std::string(70, '=') + "[slot]" + std::string(70, '='), std::string(100, '=')};
    // clang-format on
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> markers;
        for (std::size_t k = rng() % (round % 4 == 0 ? 13 : 4); k > 0; --k) {
            markers.push_back(pool[rng() % pool.size()]);
        }
        std::string source;
        const std::size_t size = rng() % 70000;
        while (source.size() < size) {
            const unsigned roll = rng() % 1000;
            if (roll < 3) {
                const std::string& m = pool[rng() % pool.size()];
                source += roll == 0 ? m.substr(0, m.size() - 1) : m;
            } else {
                source += kFiller[rng() % kFiller.size()];
            }
        }
        const std::string code = rng() % 2 != 0 ? "MessageBox(0, \"a\", \"b\", MB_OK);" : "";
        ExpectSplicesLikeReference(code, source, markers, round);
    }
}

// Markers that end alike are looked for together, up to eight such groups
// with their two bytes held at once; past that the rest are told apart byte by
// byte. A near match, wrong only in its last byte, must not count.
TEST(Splice, ManyMarkersAndNearMatches) {
    std::vector<std::string> markers;
    for (char c = '0'; c <= '9'; ++c) markers.push_back(std::string(1, c) + "x" + c);
    markers.push_back("aYc");
    markers.push_back("abcd");
    markers.push_back(std::string(20, 'q') + "!");
    std::string source;
    for (int i = 0; i < 200; ++i) {
        source += "1x1 aYc abcX abcd 9x8 9x9 " + std::string(20, 'q') + "? " + std::string(20, 'q') + "! ";
    }
    ExpectSplicesLikeReference("[code]", source, markers, 0);
}

TEST(Splice, ManyOccurrencesInALargeText) {
    std::string text;
    std::string expected;
    for (int i = 0; i < 20000; ++i) {
        text += "line /* * / */ ";
        text += (i % 2 != 0) ? "/*MB*/" : "/*mb*/";
        text += "\r\n";
        expected += "line /* * / */ MessageBox();\r\n";
    }
    for (MarkerSearch search : kSearches) {
        SCOPED_TRACE(Name(search));
        bool found = false;
        EXPECT_TRUE(Spliced("MessageBox();", text, kDefaultMarkers, search, found) == expected);
    }
}

// A result no string can hold is refused before anything is built.
TEST(Splice, SizeBeyondAnyStringIsRefused) {
    const std::vector<MarkerOccurrence> occurrences = {{0, 1}, {1, 1}, {2, 1}};
    const std::size_t huge = std::numeric_limits<std::size_t>::max() / 2;
    EXPECT_THROW(SplicedSize(3, huge, occurrences), std::length_error);
    EXPECT_EQ(SplicedSize(3, 0, occurrences), 0u);
}

}  // namespace
}  // namespace pw
