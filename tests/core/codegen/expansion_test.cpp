// The expansion pass: bare line feeds become CR LF, nothing else changes.
#include "core/codegen/expansion.h"

#include <gtest/gtest.h>

#include <string>

namespace pw {
namespace {

struct ExpansionCase {
    const char* name;
    std::string_view input;
    std::string_view expanded;
};

const ExpansionCase kCases[] = {
    {"Empty", "", ""},
    {"NoLineFeed", "MessageBox(NULL, \"\", \"\", MB_OK);", "MessageBox(NULL, \"\", \"\", MB_OK);"},
    {"BareLineFeeds", "a\nb\nc", "a\r\nb\r\nc"},
    {"LeadingAndTrailing", "\nx\n", "\r\nx\r\n"},
    {"ConsecutiveLineFeeds", "\n\n", "\r\n\r\n"},
    {"CrLfStaysOnePair", "a\r\nb", "a\r\nb"},
    {"LoneCarriageReturnUnchanged", "a\rb\r", "a\rb\r"},
    {"LineFeedAfterCrLf", "a\r\n\nb", "a\r\n\r\nb"},
    {"LineFeedThenCarriageReturn", "a\n\rb", "a\r\n\rb"},
    {"PercentSequencesPassUnchanged", "50% %d %0 %1 %2!s! %n %% %r %t %. %!", "50% %d %0 %1 %2!s! %n %% %r %t %. %!"},
    {"TrailingPercent", "100%", "100%"},
    {"PercentZeroDoesNotCut", "before %0 after\nnext", "before %0 after\r\nnext"},
    {"EscapesInSourceUnchanged", "\"a\\nb\\t\\\"\"", "\"a\\nb\\t\\\"\""},
    {"NulAndHighBytesPass", std::string_view("a\0\xff\n", 4), std::string_view("a\0\xff\r\n", 5)},
};

class ExpansionTest : public ::testing::TestWithParam<ExpansionCase> {};

TEST_P(ExpansionTest, TurnsBareLineFeedsIntoCrLf) { EXPECT_EQ(ExpandLineFeeds(GetParam().input), GetParam().expanded); }

INSTANTIATE_TEST_SUITE_P(Cases, ExpansionTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Expansion, IndirectStatementGetsCrLfBetweenItsLines) {
    const std::string statement = "MSGBOXPARAMS m;\nm.cbSize= sizeof(MSGBOXPARAMS);\nMessageBoxIndirect(&m);";
    EXPECT_EQ(ExpandLineFeeds(statement),
              "MSGBOXPARAMS m;\r\nm.cbSize= sizeof(MSGBOXPARAMS);\r\nMessageBoxIndirect(&m);");
}

TEST(Expansion, IsIdempotent) {
    const std::string once = ExpandLineFeeds("a\nb\r\nc\rd\n\n%1");
    EXPECT_EQ(ExpandLineFeeds(once), once);
}

TEST(Expansion, HasNoLengthLimit) {
    std::string text;
    for (int i = 0; i < 40000; ++i) text += "line %d\n";  // 320000 characters
    std::string expected;
    for (int i = 0; i < 40000; ++i) expected += "line %d\r\n";
    EXPECT_EQ(ExpandLineFeeds(text), expected);
}

}  // namespace
}  // namespace pw
