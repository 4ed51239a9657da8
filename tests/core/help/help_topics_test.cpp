#include "core/help/help_topics.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pw {
namespace {

TEST(HelpTopics, SplitAtTopicLinesWithCrLfLinesAndNoOuterBlankLines) {
    struct Case {
        const char* text;
        std::vector<HelpTopic> topics;
    };
    const Case cases[] = {
        {"", {}},
        {"no topic yet\n", {}},
        {"before\n## One\nfirst\nsecond\n## Two\nthird", {{"One", "first\r\nsecond"}, {"Two", "third"}}},
        {"## One\r\n\r\nfirst\r\n\r\n\r\nsecond\r\n\r\n", {{"One", "first\r\n\r\n\r\nsecond"}}},
        {"## Empty\n\n## Next\n  \nx\n", {{"Empty", ""}, {"Next", "x"}}},
        {"## A\n##B is text\n### and so is this\n", {{"A", "##B is text\r\n### and so is this"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<HelpTopic> topics = SplitHelpTopics(c.text);
        ASSERT_EQ(topics.size(), c.topics.size());
        for (std::size_t i = 0; i < topics.size(); ++i) {
            EXPECT_EQ(topics[i].title, c.topics[i].title);
            EXPECT_EQ(topics[i].text, c.topics[i].text);
        }
    }
}

// The help the program ships covers every part of the program a user meets.
TEST(HelpTopics, ProgramHelpCoversTheFormTheCommandLineAndEverySetting) {
    std::ifstream file(PW_SOURCE_DIR "/src/res/help.txt", std::ios::binary);
    ASSERT_TRUE(file) << "src/res/help.txt";
    std::stringstream text;
    text << file.rdbuf();
    const std::vector<HelpTopic> topics = SplitHelpTopics(text.str());
    const auto topic = [&](const std::string& title) {
        for (const HelpTopic& t : topics)
            if (t.title == title) return t.text;
        ADD_FAILURE() << "no topic " << title;
        return std::string();
    };
    // clang-format off
    const std::vector<std::pair<std::string, std::vector<std::string>>> expected = {
        {"The form", {"Dialog title", "Title is a variable", "Dialog text", "Text is a variable", "Parent",
                      "Default button", "Dialog icon", "Ad help button", "Right-justified text",
                      "Right-to-left reading", "Display as foreground", "Default desktop only", "Topmost",
                      "Service notification(NT3)", "Modal type", "Language identifier", "MessageBoxEx",
                      "MessageBoxIndirect", "Code input/output", "saved the file?"}},
        {"The buttons", {"Insert in source", "Copy to clipboard", "Generate code", "Load code", "Preview", "Exit"}},
        {"The menus", {"File", "Clear", "QuickBox", "Code", "ANSI strings", "TEXT() strings", "Wide strings",
                       "No answer handling", "if on the first answer", "switch on every answer", "Help", "About"}},
        {"Task dialogs", {"Task dialog...", "Main instruction", "Content", "Variable", "Main icon", "Owner", "Footer",
                          "Allow cancellation", "Enable hyperlinks", "Width", "Common buttons", "Custom buttons",
                          "Command links", "Note", "Default button", "Radio buttons", "Default radio",
                          "Verification check box", "Expanded information", "Preview", "QuickBox"}},
        {"MessageBoxIndirect options", {"MSGBOXPARAMS", "icon identifier", "callback", "context help ID"}},
        {"The command line", {"-QI", "-CONFIG:", "-IC:", "exit code"}},
        {"The settings file", {"[Settings]", "advanced", "InsertionCode", "Parent", "InsertShutDown", "InsertCopy",
                               "StartupQuickBox", "CharacterSet", "AnswerHandling", "location", "[QuickBox]"}},
        {"Insertion markers", {"/*MB*/", "/*mb*/", "Error while opening file", "Error while reading file",
                               "Error while writing file"}},
        {"QuickBox", {"Load", "Set", "StartupQuickBox"}},
        {"QuickInsert", {"-QI", "Code page", "Edit"}},
        {"Help", {"F1", "PROMPTWRIGHT HELP.HLP"}},
    };
    // clang-format on
    for (const auto& [title, words] : expected) {
        const std::string body = topic(title);
        for (const std::string& word : words) EXPECT_NE(body.find(word), std::string::npos) << title << ": " << word;
    }
}

}  // namespace
}  // namespace pw
