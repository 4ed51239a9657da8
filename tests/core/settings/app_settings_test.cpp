// Start-up decisions over a fake platform: which settings file, which
// markers, parents and target files.
#include "core/settings/app_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace pw {
namespace {

class FakeEnvironment : public StartupEnvironment {
public:
    std::set<std::string> files;
    std::map<std::string, std::map<std::string, std::string>> values;  // file -> key -> value
    std::vector<std::string> keysRead;                                 // in order

    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    std::string ReadString(const std::string& file, const std::string&, const std::string& key,
                           const std::string& fallback) override {
        keysRead.push_back(key);
        auto f = values.find(file);
        if (f == values.end()) return fallback;
        auto v = f->second.find(key);
        return v == f->second.end() ? fallback : v->second;
    }
    int ReadInt(const std::string& file, const std::string& section, const std::string& key, int fallback) override {
        const std::string text = ReadString(file, section, key, "");
        return text.empty() ? fallback : std::stoi(text);
    }
    std::string ExpandEnvironment(const std::string& text) override {
        std::string out = text;
        const std::string name = "%HOME%";
        if (auto at = out.find(name); at != std::string::npos) out.replace(at, name.size(), "C:\\Users\\me");
        return out;
    }
};

TEST(DefaultSettingsPath, ReplacesOnlyTheFileNamesExtension) {
    const struct {
        const char* program;
        const char* settings;
    } cases[] = {
        {"C:\\Tools\\prog.exe", "C:\\Tools\\prog.ini"},
        {"prog.exe", "prog.ini"},
        {"C:\\Tools\\prog", "C:\\Tools\\prog.ini"},
        {"C:\\v1.2\\prog", "C:\\v1.2\\prog.ini"},  // a dot in a folder is no extension
        {"C:\\v1.2\\prog.exe", "C:\\v1.2\\prog.ini"},
        {"/opt/v1.2/prog", "/opt/v1.2/prog.ini"},
        {"", ".ini"},
    };
    for (const auto& c : cases) EXPECT_EQ(DefaultSettingsPath(c.program), c.settings) << c.program;
}

TEST(SplitSettingList, SpacesAndTabsSeparateAndEmptyPiecesGiveNoEntry) {
    const struct {
        const char* value;
        std::vector<std::string> entries;
    } cases[] = {
        {"/*MB*/\t/*mb*/", {"/*MB*/", "/*mb*/"}},
        {"a b", {"a", "b"}},
        {"single", {"single"}},
        {"", {}},
        {"  a\t\tb  ", {"a", "b"}},
        {"\t", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> list{"kept"};
        SplitSettingList(c.value, list);
        std::vector<std::string> expected{"kept"};
        expected.insert(expected.end(), c.entries.begin(), c.entries.end());
        EXPECT_EQ(list, expected) << '"' << c.value << '"';
    }
}

TEST(ReadStartup, CommandLineOptionsAndTargets) {
    FakeEnvironment env;
    env.files = {"a.c", "b.c", "mine.ini", "-QI"};
    const AppSettings s = ReadStartup(
        {"prog.exe", "-ic:/*x*/", "a.c", "gone.c", "-IC:", "b.c", "-Config:mine.ini", "-CONFIG:absent.ini", "-qix"},
        env);
    EXPECT_FALSE(s.quickInsertOnly) << "-QIX is no option";
    EXPECT_EQ(s.settingsPath, "mine.ini");
    EXPECT_EQ(s.markers, (std::vector<std::string>{"/*x*/", "/*MB*/", "/*mb*/"})) << "empty -IC: adds nothing";
    EXPECT_EQ(s.targetFiles, (std::vector<std::string>{"a.c", "b.c"})) << "no gap for the missing file";
    // Options are tested as file names too.
    const AppSettings qi = ReadStartup({"prog.exe", "-QI"}, env);
    EXPECT_TRUE(qi.quickInsertOnly);
    EXPECT_EQ(qi.targetFiles, std::vector<std::string>{"-QI"});
}

TEST(ReadStartup, LocationRedirectsOnlyFromTheDefaultFileAndOnlyToAnExistingOne) {
    FakeEnvironment env;
    env.files = {"C:\\Users\\me\\other.ini", "mine.ini"};
    env.values["C:\\T\\prog.ini"] = {{"location", "%HOME%\\other.ini"}, {"advanced", "0"}};
    env.values["C:\\Users\\me\\other.ini"] = {{"advanced", "1"}, {"location", "mine.ini"}};
    env.values["mine.ini"] = {{"location", "C:\\Users\\me\\other.ini"}};

    AppSettings s = ReadStartup({"C:\\T\\prog.exe"}, env);
    EXPECT_EQ(s.settingsPath, "C:\\Users\\me\\other.ini") << "followed once, not again from there";
    EXPECT_EQ(s.layout, Layout::Advanced);

    s = ReadStartup({"C:\\T\\prog.exe", "-CONFIG:mine.ini"}, env);
    EXPECT_EQ(s.settingsPath, "mine.ini") << "a -CONFIG: file's location is not followed";

    env.values["C:\\T\\prog.ini"]["location"] = "C:\\missing.ini";
    EXPECT_EQ(ReadStartup({"C:\\T\\prog.exe"}, env).settingsPath, "C:\\T\\prog.ini");
}

TEST(ReadStartup, SettingNumbersBecomeLayoutClipboardModeAndShutDown) {
    struct Case {
        const char* advanced;
        const char* insertCopy;
        const char* shutDown;
        Layout layout;
        ClipboardMode mode;
        bool closes;
    };
    const Case cases[] = {
        {"0", "0", "0", Layout::Simple, ClipboardMode::None, false},
        {"1", "1", "1", Layout::Advanced, ClipboardMode::Ask, true},
        {"2", "2", "2", Layout::Advanced, ClipboardMode::CopyCode, true},
        {"-1", "3", "-1", Layout::Simple, ClipboardMode::CopyFile, true},
        {"7", "4", "7", Layout::Advanced, ClipboardMode::None, true},
        {"0", "-1", "0", Layout::Simple, ClipboardMode::None, false},
    };
    for (const Case& c : cases) {
        FakeEnvironment env;
        env.values["prog.ini"] = {
            {"advanced", c.advanced}, {"InsertCopy", c.insertCopy}, {"InsertShutDown", c.shutDown}};
        const AppSettings s = ReadStartup({"prog.exe"}, env);
        EXPECT_EQ(s.layout, c.layout) << c.advanced;
        EXPECT_EQ(s.insertCopy, c.mode) << c.insertCopy;
        EXPECT_EQ(s.insertShutDown, c.closes) << c.shutDown;
    }
}

TEST(ReadStartup, CodeOptionsComeFromTheSettingsFileAndUnknownValuesReadAsZero) {
    struct Case {
        const char* characterSet;
        const char* answer;
        CodeOptions expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, {CharacterSet::Ansi, AnswerHandling::None}},
        {"1", "2", {CharacterSet::Text, AnswerHandling::Switch}},
        {"2", "1", {CharacterSet::Wide, AnswerHandling::If}},
        {"3", "-1", {CharacterSet::Ansi, AnswerHandling::None}},
        {"wide", "1x", {CharacterSet::Ansi, AnswerHandling::None}},
    };
    for (const Case& c : cases) {
        FakeEnvironment env;
        if (c.characterSet) env.values["prog.ini"]["CharacterSet"] = c.characterSet;
        if (c.answer) env.values["prog.ini"]["AnswerHandling"] = c.answer;
        EXPECT_EQ(ReadStartup({"prog.exe"}, env).codeOptions, c.expected)
            << (c.characterSet ? c.characterSet : "-") << ' ' << (c.answer ? c.answer : "-");
    }
}

// The options of a run without a window: what is asked, and every bad or
// conflicting option as an error that stops the run.
TEST(ReadStartup, WindowlessActionsAndTheirNames) {
    FakeEnvironment env;
    env.files = {"main.c"};
    const struct {
        std::vector<std::string> args;
        WindowlessAction action;
        std::string slot;
        bool fromStandardInput;
        std::vector<std::string> files;
    } cases[] = {
        {{"-PRINT:Ask"}, WindowlessAction::Print, "Ask", false, {}},
        {{"-print:Ask Me"}, WindowlessAction::Print, "Ask Me", false, {}},  // the name as typed
        {{"-PRINT:-"}, WindowlessAction::Print, "", true, {}},
        {{"-Insert:Ask", "main.c", "missing.c"}, WindowlessAction::Insert, "Ask", false, {"main.c", "missing.c"}},
        {{"-INSERT:-", "-IC:@@", "main.c"}, WindowlessAction::Insert, "", true, {"main.c"}},
        {{"-list"}, WindowlessAction::List, "", false, {}},
        {{"-Version"}, WindowlessAction::Version, "", false, {}},
        {{"main.c"}, WindowlessAction::None, "", false, {"main.c"}},
        {{"-CHARSET:wide", "-QIX"}, WindowlessAction::None, "", false, {}},  // unknown options pass as before
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"prog.exe"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const WindowlessRequest r = ReadStartup(args, env).windowless;
        EXPECT_EQ(r.action, c.action) << c.args[0];
        EXPECT_EQ(r.slot, c.slot) << c.args[0];
        EXPECT_EQ(r.fromStandardInput, c.fromStandardInput) << c.args[0];
        EXPECT_EQ(r.files, c.files) << c.args[0];
        EXPECT_TRUE(r.errors.empty()) << c.args[0] << ": " << r.errors.front();
    }
}

TEST(ReadStartup, CharsetAndAnswerOverrideTheSettingsFileTheLastOneWinning) {
    FakeEnvironment env;
    env.values["prog.ini"] = {{"CharacterSet", "1"}, {"AnswerHandling", "1"}};
    const struct {
        std::vector<std::string> args;
        CodeOptions expected;
    } cases[] = {
        {{}, {CharacterSet::Text, AnswerHandling::If}},
        {{"-CHARSET:wide"}, {CharacterSet::Wide, AnswerHandling::If}},
        {{"-charset:ANSI", "-answer:Switch"}, {CharacterSet::Ansi, AnswerHandling::Switch}},
        {{"-ANSWER:none", "-CHARSET:text", "-ANSWER:if"}, {CharacterSet::Text, AnswerHandling::If}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"prog.exe", "-PRINT:x"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const AppSettings s = ReadStartup(args, env);
        EXPECT_EQ(s.codeOptions, c.expected) << testing::PrintToString(c.args);
        EXPECT_TRUE(s.windowless.errors.empty());
    }
}

TEST(ReadStartup, ARunWithoutAWindowReadsOnlyTheSettingsItUses) {
    constexpr auto kUtf8 = AsciiFileEncoding::Utf8;
    constexpr auto kAnsi = AsciiFileEncoding::CodePage;
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> keys;
        std::vector<std::string> markers;
        AsciiFileEncoding asciiFiles;
    } cases[] = {
        {{"-PRINT:a"}, {"location", "CharacterSet", "AnswerHandling"}, {}, kAnsi},
        {{"-PRINT:a", "-ANSWER:if"}, {"location", "CharacterSet"}, {}, kAnsi},
        {{"-LIST"}, {"location"}, {}, kAnsi},
        {{"-VERSION"}, {}, {}, kAnsi},
        {{"-INSERT:a", "-IC:@@", "-CHARSET:wide", "-ANSWER:none", "x.c"},
         {"location", "InsertionCode", "SourceEncoding"},
         {"@@", "%%"},
         kUtf8},
    };
    for (const auto& c : cases) {
        FakeEnvironment env;
        env.values["prog.ini"] = {{"InsertionCode", "%%"}, {"SourceEncoding", "utf8"}};
        std::vector<std::string> args{"prog.exe"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const AppSettings s = ReadStartup(args, env);
        EXPECT_EQ(env.keysRead, c.keys) << testing::PrintToString(c.args);
        EXPECT_EQ(s.markers, c.markers) << testing::PrintToString(c.args);
        EXPECT_EQ(s.asciiFiles, c.asciiFiles) << testing::PrintToString(c.args);
    }
}

TEST(ReadStartup, BadAndConflictingOptionsAreErrorsNamingTheArgument) {
    FakeEnvironment env;
    env.files = {"main.c", "-odd.c"};
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> errors;
    } cases[] = {
        {{"-PRINT:x", "-CHARSET:utf8"}, {"-CHARSET:utf8: unknown character set (use -CHARSET:ansi, text or wide)"}},
        {{"-ANSWER:maybe"}, {"-ANSWER:maybe: unknown answer handling (use -ANSWER:none, if or switch)"}},
        {{"-PRINT:"}, {"-PRINT needs a QuickBox slot name (-PRINT:name), or - for standard input (-PRINT:-)"}},
        {{"-insert", "main.c"},
         {"-insert needs a QuickBox slot name (-insert:name), or - for standard input (-insert:-)"}},
        {{"-PRINT:a", "-LIST"}, {"-LIST: only one of -PRINT, -INSERT, -LIST and -VERSION may be given"}},
        {{"-version", "-LIST"}, {"-LIST: only one of -PRINT, -INSERT, -LIST and -VERSION may be given"}},
        {{"-QI", "-LIST"}, {"-QI opens a window: it cannot be given with -PRINT, -INSERT, -LIST or -VERSION"}},
        {{"-PRINT:a", "-CHARST:wide", "-odd.c"}, {"-CHARST:wide: unknown option"}},  // -odd.c is a file
        {{"-LIST", "-CONFIG:gone.ini", "-CONFIG:main.c"}, {"-CONFIG:gone.ini: no such settings file"}},
        {{"-CONFIG:gone.ini"}, {}},  // the window run passes over it, as it always did
        {{"-PRINT:-", "-CHARSET:", "-ANSWER:"},
         {"-CHARSET:: unknown character set (use -CHARSET:ansi, text or wide)",
          "-ANSWER:: unknown answer handling (use -ANSWER:none, if or switch)"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"prog.exe"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        EXPECT_EQ(ReadStartup(args, env).windowless.errors, c.errors) << testing::PrintToString(c.args);
    }
}

}  // namespace
}  // namespace pw
