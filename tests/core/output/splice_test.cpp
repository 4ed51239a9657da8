#include "core/output/splice.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/output/marker_search_testing.h"
#include "core/output/splice_reference.h"

namespace pw {
namespace {

using namespace std::string_literals;

const std::vector<std::string> kDefaultMarkers = {"/*MB*/", "/*mb*/"};

// Runs a check with the vector search (where the machine has it) and with the
// portable one.
template <typename Check>
void WithEachSearch(Check check) {
    for (bool portable : {false, true}) {
        SCOPED_TRACE(portable ? "portable search" : "default search");
        UsePortableSearchForTesting(portable);
        check();
    }
    UsePortableSearchForTesting(false);
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
    WithEachSearch([] {
        const SpliceCase& c = GetParam();
        std::string text = c.source;
        EXPECT_EQ(SpliceCode(c.code, text, c.markers), c.found);
        EXPECT_EQ(text, c.expected);

        // Spare capacity takes the in-place paths; the result must not change.
        std::string roomy = c.source;
        roomy.reserve(c.expected.size() + 64);
        EXPECT_EQ(SpliceCode(c.code, roomy, c.markers), c.found);
        EXPECT_EQ(roomy, c.expected);

        std::string out = "old content";
        EXPECT_EQ(SpliceCode(c.code, c.source, c.markers, out), c.found);
        EXPECT_EQ(out, c.expected);

        // The occurrence list and its pieces give the same text.
        const std::vector<MarkerOccurrence> occurrences = FindMarkerOccurrences(c.source, c.markers);
        EXPECT_EQ(!occurrences.empty(), c.found);
        std::string pieces;
        VisitSplicedText(c.code, c.source, occurrences, [&](std::string_view piece) {
            EXPECT_FALSE(piece.empty());
            pieces += piece;
        });
        EXPECT_EQ(pieces, c.expected);
        EXPECT_EQ(SplicedSize(c.source.size(), c.code.size(), occurrences), c.expected.size());
    });
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

// Every way of splicing gives the reference result.
void ExpectSplicesLikeReference(std::string_view code, const std::string& source,
                                const std::vector<std::string>& markers, int round) {
    bool expectedFound = false;
    const std::string expected = ReferenceSplice(code, source, markers, expectedFound);

    std::string text = source;
    ASSERT_EQ(SpliceCode(code, text, markers), expectedFound) << "round " << round;
    ASSERT_EQ(text, expected) << "round " << round;

    std::string roomy = source;
    roomy.reserve(expected.size() + 8);
    ASSERT_EQ(SpliceCode(code, roomy, markers), expectedFound) << "round " << round;
    ASSERT_EQ(roomy, expected) << "round " << round;

    std::string out;
    ASSERT_EQ(SpliceCode(code, source, markers, out), expectedFound) << "round " << round;
    ASSERT_EQ(out, expected) << "round " << round;
}

// Texts dense with matches: overlaps of a marker with itself and with others
// everywhere.
TEST(Splice, AgreesWithReferenceOnDenseRandomTexts) {
    WithEachSearch([] {
        std::mt19937 rng(20261201);
        const std::string alphabet = "ab\a\0"s;
        auto randomText = [&](std::size_t maxLen) {
            std::string s(rng() % (maxLen + 1), ' ');
            for (char& c : s) c = alphabet[rng() % alphabet.size()];
            return s;
        };
        for (int round = 0; round < 3000; ++round) {
            // Long texts reach the vector search's 64-byte blocks and its
            // settling points.
            const std::size_t maxLen = round % 100 == 0 ? 40000 : round % 3 == 0 ? 300 : 40;
            const std::string source = randomText(maxLen);
            std::vector<std::string> markers(rng() % 4);
            for (std::string& m : markers) m = randomText(3);
            const std::string code = randomText(4);
            ExpectSplicesLikeReference(code, source, markers, round);
        }
    });
}

// Long texts with few matches, up to a dozen markers from one byte to longer
// than a block, some sharing their ends or their length, and now and then two
// run together or one cut short.
TEST(Splice, AgreesWithReferenceOnSparseRandomTexts) {
    WithEachSearch([] {
        std::mt19937 rng(20261208);
        const std::string_view kFiller = "int x = a / b; /* c */ y = *p;\r\n";
        const std::vector<std::string> pool = {
            "/*MB*/", "/*mb*/", "/*M*/", "/*a*/", "@", "/**/", "MB*/", "MB", "<<MB>>", "$$", "@@INSERT@@",
            "//MB\r\n", std::string(70, '=') + "[slot]" + std::string(70, '='), std::string(100, '=')};
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
    });
}

// Markers that end alike are looked for together, up to eight such groups
// with their two bytes held at once; past that the rest are told apart byte by
// byte. A near match, wrong only in its last byte, must not count.
TEST(Splice, ManyMarkersAndNearMatches) {
    WithEachSearch([] {
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
    });
}

// The string written to is used again whatever it held, and may be where the
// code or the source is.
TEST(Splice, OutputStringIsReplacedAndMayHoldTheInput) {
    WithEachSearch([] {
        std::string out;
        EXPECT_TRUE(SpliceCode("<code>", std::string(5000, 'x') + "/*MB*/", kDefaultMarkers, out));
        EXPECT_EQ(out, std::string(5000, 'x') + "<code>");
        EXPECT_FALSE(SpliceCode("<code>", "short", kDefaultMarkers, out));
        EXPECT_EQ(out, "short");

        out = "a/*mb*/b";
        EXPECT_TRUE(SpliceCode("C", std::string_view(out), kDefaultMarkers, out));
        EXPECT_EQ(out, "aCb");

        out = "/*MB*/<code>";
        const std::string_view whole(out);
        EXPECT_TRUE(SpliceCode(whole.substr(6), whole.substr(0, 6), kDefaultMarkers, out));
        EXPECT_EQ(out, "<code>");
    });
}

// A code far longer than the text around the markers makes the result outgrow
// every first guess at its size.
TEST(Splice, ResultManyTimesLongerThanTheText) {
    WithEachSearch([] {
        std::string source;
        for (int i = 0; i < 1000; ++i) source += (i % 2 != 0) ? "x/*MB*/" : "yy/*mb*/";
        const std::string code(5000, 'c');
        ExpectSplicesLikeReference(code, source, kDefaultMarkers, 0);
    });
}

TEST(Splice, CodeViewingIntoTheSourceItselfIsSafe) {
    for (const char* codeText : {"<longer-code>", "x"}) {
        std::string text = "ab/*MB*/cd/*MB*/";
        text.reserve(100);
        text += codeText;
        const std::string_view code = std::string_view(text).substr(16);
        EXPECT_TRUE(SpliceCode(code, text, kDefaultMarkers));
        EXPECT_EQ(text, "ab"s + codeText + "cd" + codeText + codeText);
    }
}

TEST(Splice, ManyOccurrencesInALargeText) {
    WithEachSearch([] {
        std::string text;
        std::string expected;
        for (int i = 0; i < 20000; ++i) {
            text += "line /* * / */ ";
            text += (i % 2 != 0) ? "/*MB*/" : "/*mb*/";
            text += "\r\n";
            expected += "line /* * / */ MessageBox();\r\n";
        }
        EXPECT_TRUE(SpliceCode("MessageBox();", text, kDefaultMarkers));
        EXPECT_EQ(text, expected);
    });
}

}  // namespace
}  // namespace pw
