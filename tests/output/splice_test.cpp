#include "output/splice.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "output/splice_testing.h"

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

// Straightforward model of the rules: a mask of bytes taken by earlier
// occurrences, and a byte-by-byte scan per marker.
std::string ReferenceSplice(std::string_view code, std::string_view source, const std::vector<std::string>& markers,
                            bool& found) {
    std::vector<std::size_t> markerAt(source.size(), 0);  // occurrence length starting here
    std::vector<bool> taken(source.size(), false);
    found = false;
    for (const std::string& m : markers) {
        if (m.empty()) continue;
        for (std::size_t i = 0; i + m.size() <= source.size();) {
            bool free = true;
            for (std::size_t k = 0; k < m.size() && free; ++k) free = !taken[i + k];
            if (free && source.substr(i, m.size()) == m) {
                for (std::size_t k = 0; k < m.size(); ++k) taken[i + k] = true;
                markerAt[i] = m.size();
                found = true;
                i += m.size();
            } else {
                ++i;
            }
        }
    }
    std::string out;
    for (std::size_t i = 0; i < source.size();) {
        if (markerAt[i] != 0) {
            out += code;
            i += markerAt[i];
        } else {
            out += source[i++];
        }
    }
    return out;
}

TEST(Splice, AgreesWithReferenceOnRandomTexts) {
    WithEachSearch([] {
        std::mt19937 rng(20261201);
        const std::string alphabet = "ab\a\0"s;
        auto randomText = [&](std::size_t maxLen) {
            std::string s(rng() % (maxLen + 1), ' ');
            for (char& c : s) c = alphabet[rng() % alphabet.size()];
            return s;
        };
        for (int round = 0; round < 3000; ++round) {
            // Long texts reach the vector search's 64- and 32-byte steps.
            const std::string source = randomText(round % 3 == 0 ? 300 : 40);
            std::vector<std::string> markers(rng() % 4);
            for (std::string& m : markers) m = randomText(3);
            const std::string code = randomText(4);

            bool expectedFound = false;
            const std::string expected = ReferenceSplice(code, source, markers, expectedFound);

            std::string text = source;
            ASSERT_EQ(SpliceCode(code, text, markers), expectedFound) << "round " << round;
            ASSERT_EQ(text, expected) << "round " << round;

            std::string roomy = source;
            roomy.reserve(expected.size() + 8);
            ASSERT_EQ(SpliceCode(code, roomy, markers), expectedFound) << "round " << round;
            ASSERT_EQ(roomy, expected) << "round " << round;
        }
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
