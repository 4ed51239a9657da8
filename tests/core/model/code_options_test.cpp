// The settings values of the two code options.
#include "core/model/code_options.h"

#include <gtest/gtest.h>

namespace pw {
namespace {

TEST(CodeOptions, SettingsValuesReadAsTheirOptionAndAnythingElseAsZero) {
    const struct {
        std::string_view text;
        int number;  // what GetPrivateProfileInt would give for the text
        int option;
    } cases[] = {
        {"", 0, 0},    {"0", 0, 0},  {"1", 1, 1},  {"2", 2, 2},   {" 2\t", 2, 2}, {"3", 3, 0},
        {"-1", -1, 0}, {"1x", 1, 0}, {"01", 1, 0}, {"one", 0, 0}, {"12", 12, 0},  {"2 2", 2, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SettingValue(CharacterSetFromSetting(c.text)), c.option) << c.text;
        EXPECT_EQ(SettingValue(AnswerHandlingFromSetting(c.text)), c.option) << c.text;
        // The number form reads what the profile functions make of the text.
        const int fromNumber = c.number >= 0 && c.number <= 2 ? c.number : 0;
        EXPECT_EQ(SettingValue(CharacterSetFromSetting(c.number)), fromNumber) << c.number;
        EXPECT_EQ(SettingValue(AnswerHandlingFromSetting(c.number)), fromNumber) << c.number;
    }
    EXPECT_EQ(CharacterSetFromSetting(2), CharacterSet::Wide);
    EXPECT_EQ(AnswerHandlingFromSetting("1"), AnswerHandling::If);
    EXPECT_EQ(CodeOptions{}, (CodeOptions{CharacterSet::Ansi, AnswerHandling::None}));
}

}  // namespace
}  // namespace pw
