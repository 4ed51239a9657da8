// The clipboard action of Insert in source goes with the first target file only.
#include "core/output/insertion.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace pw {
namespace {

TEST(ForEachTargetFile, FirstFileTakesTheModeTheOthersNone) {
    const std::vector<std::string> files{"a.c", "b.c", "c.c"};
    for (ClipboardMode mode :
         {ClipboardMode::None, ClipboardMode::Ask, ClipboardMode::CopyCode, ClipboardMode::CopyFile}) {
        std::vector<std::pair<std::string, ClipboardMode>> calls;
        ForEachTargetFile(files, mode, [&](const std::string& path, ClipboardMode m) { calls.emplace_back(path, m); });
        const std::vector<std::pair<std::string, ClipboardMode>> expected{
            {"a.c", mode}, {"b.c", ClipboardMode::None}, {"c.c", ClipboardMode::None}};
        EXPECT_EQ(calls, expected);
    }
}

TEST(ClipboardModeFromSetting, KnownNumbersOnly) {
    EXPECT_EQ(ClipboardModeFromSetting(0), ClipboardMode::None);
    EXPECT_EQ(ClipboardModeFromSetting(1), ClipboardMode::Ask);
    EXPECT_EQ(ClipboardModeFromSetting(2), ClipboardMode::CopyCode);
    EXPECT_EQ(ClipboardModeFromSetting(3), ClipboardMode::CopyFile);
    for (int other : {-1, 4, 100}) EXPECT_EQ(ClipboardModeFromSetting(other), ClipboardMode::None) << other;
}

}  // namespace
}  // namespace pw
