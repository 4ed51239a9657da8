// The program without a window, as editors and scripts run it: real pipes and
// files, exit codes, the messages on standard error, and no window created in
// any of these runs (a WinEvent hook on the process counts every window it
// creates; the last case shows that the count sees one).
#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "core/codegen/expansion.h"
#include "core/codegen/statement_writer.h"
#include "core/model/option_tables.h"
#include "core/model/plain_form.h"
#include "common/wide_win32.h"
#include "e2e/console_run_win32.h"
#include "e2e/driver_win32.h"
#include "res/resource.h"
#include "res/version.h"

namespace e2e {
namespace {

const std::string kAsk = R"(MessageBox(hWnd, "Save changes?", "Editor", MB_YESNOCANCEL | MB_ICONQUESTION);)";
const std::string kAskWithIf =
    "if (MessageBox(hWnd, \"Save changes?\", \"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES)\r\n{\r\n}\r\n";

// promptwright.exe copied into its own folder, so that its settings file is
// the folder's promptwright.ini.
class Program {
public:
    explicit Program(const std::string& settings) {
        exe_ = dir_.File("promptwright.exe");
        if (!CopyFileA(ProgramUnderTest().c_str(), exe_.c_str(), FALSE)) throw std::runtime_error("copy");
        dir_.Write("promptwright.ini", settings);
    }
    const TempDir& dir() const { return dir_; }
    const std::string& exe() const { return exe_; }
    std::string Ini() const { return dir_.File("promptwright.ini"); }

    ConsoleRun Run(const std::vector<std::string>& args, const ConsoleRunOptions& options = {}) const {
        return RunConsole(exe_, args, dir_.path(), options);
    }

private:
    TempDir dir_;
    std::string exe_;
};

std::string Settings(const std::string& extraSettings = "") {
    return "[Settings]\r\nAnswerHandling=1\r\n" + extraSettings + "[QuickBox]\r\nAsk=\"" + kAsk +
           "\"\r\nZebra=MessageBox(NULL, \"z\", \"Z\", MB_OK);\r\nAlpha=\"MessageBoxW(NULL, L\"a\", L\"A\", "
           "MB_OK);\"\r\nBad=hello\r\n";
}

ConsoleRunOptions Input(const std::string& text) {
    ConsoleRunOptions options;
    options.input = text;
    return options;
}

TEST(Cli, PrintWritesTheSlotByteForByteThroughAPipeIntoAnotherProgram) {
    const Program program(Settings());
    // Straight into the test's pipe: the settings' answer handling applies.
    const ConsoleRun direct = program.Run({"-PRINT:Ask"});
    EXPECT_EQ(direct.exitCode, 0);
    EXPECT_EQ(direct.output, kAskWithIf);
    EXPECT_EQ(direct.error, "");
    EXPECT_EQ(direct.windowsCreated, 0);

    // Through a pipe into another program, which stores what it gets.
    // Each end inheritable only while its own program is started, so that the
    // sink holds no write end and sees the end of its input.
    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    const std::string stored = program.dir().File("stored.txt");
    std::string sinkLine = QuoteArgument(OwnFolder() + "\\stdin_to_file.exe") + " " + QuoteArgument(stored);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read;
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION sink{};
    ASSERT_TRUE(CreateProcessA(nullptr, sinkLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &sink));
    CloseHandle(read);
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    ConsoleRunOptions options;
    options.outputTo = write;
    const ConsoleRun piped = program.Run({"-print:Ask", "-CHARSET:wide", "-ANSWER:none"}, options);
    CloseHandle(write);
    EXPECT_EQ(WaitForSingleObject(sink.hProcess, 30000), WAIT_OBJECT_0);
    DWORD sinkCode = 99;
    GetExitCodeProcess(sink.hProcess, &sinkCode);
    CloseHandle(sink.hProcess);
    CloseHandle(sink.hThread);
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.windowsCreated, 0);
    EXPECT_EQ(sinkCode, 0u);
    EXPECT_EQ(program.dir().Read("stored.txt"),
              "MessageBoxW(hWnd, L\"Save changes?\", L\"Editor\", MB_YESNOCANCEL | MB_ICONQUESTION);\r\n");
}

TEST(Cli, PrintFromStandardInputConvertsATypedStatement) {
    const Program program("");
    const ConsoleRun run = program.Run({"-PRINT:-", "-CHARSET:wide", "-ANSWER:switch"},
                                       Input("  MessageBox( NULL,\"Retry?\" , \"Copy\",\n"
                                             "             MB_RETRYCANCEL|MB_ICONWARNING ) ; /* typed */\n"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output,
              "switch (MessageBoxW(NULL, L\"Retry?\", L\"Copy\", MB_RETRYCANCEL | MB_ICONWARNING))\r\n{\r\n"
              "case IDRETRY:\r\n    break;\r\ncase IDCANCEL:\r\n    break;\r\n}\r\n");
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.windowsCreated, 0);
}

// Standard input is read whole, in pieces, at any size; standard output
// that nobody reads any more is an error, not a success.
TEST(Cli, StandardInputOfAnySizeAndOutputThatCannotBeWritten) {
    const Program program("");
    std::string text;
    for (int line = 0; text.size() < (3u << 20); ++line) text += "Line " + std::to_string(line) + " \\n";
    const std::string statement = "MessageBox(NULL, \"" + text + "\", \"Big\", MB_OK);";
    const ConsoleRun big = program.Run({"-PRINT:-", "-CHARSET:text"}, Input(statement));
    EXPECT_EQ(big.exitCode, 0);
    EXPECT_EQ(big.output, "MessageBox(NULL, TEXT(\"" + text + "\"), TEXT(\"Big\"), MB_OK);\r\n");
    EXPECT_EQ(big.windowsCreated, 0);

    HANDLE read = nullptr, write = nullptr;
    ASSERT_TRUE(CreatePipe(&read, &write, nullptr, 0));
    CloseHandle(read);
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    ConsoleRunOptions closedOutput;
    closedOutput.outputTo = write;
    closedOutput.input = statement;
    const ConsoleRun lost = program.Run({"-PRINT:-"}, closedOutput);
    CloseHandle(write);
    EXPECT_EQ(lost.exitCode, 2);
    EXPECT_EQ(lost.error, "promptwright: Error while writing standard output\r\n");
}

// Every call form in every code option, with the MSGBOXPARAMS options, a user
// icon and a help button: what the writer wrote comes back through -PRINT:-.
TEST(Cli, PrintFromStandardInputGivesBackEveryKindOfWrittenStatement) {
    const Program program("");
    struct FixedParams : pw::ParamsPrompt {
        pw::ParamsOptions Run() override { return {"mbp", "IDI_APP", "OnHelp", "IDH_SAVE"}; }
    } params;
    const char* charsets[] = {"ansi", "text", "wide"};
    const char* answers[] = {"none", "if", "switch"};
    // Characters outside ASCII only where the program's code page is the one
    // the statements are written in here.
    const std::string text = GetACP() == 1252 ? "Gr\xfc\xdf"
                                                "e \x80 \"quoted\"\tand\r\nmore"
                                              : "\"quoted\"\tand\r\nmore";
    for (int type = IDC_TYPE_BOX; type <= IDC_TYPE_INDIRECT; ++type) {
        for (int o = 0; o < 9; ++o) {
            pw::PlainForm form(pw::Layout::Advanced);
            form.CheckRadio(IDC_TYPE_BOX, IDC_TYPE_INDIRECT, type);
            form.SetText(IDC_PARENT, "GetActiveWindow()");
            form.SetText(IDC_TEXT, text);
            form.SetText(IDC_TITLE, "szTitle");
            form.SetChecked(IDC_TITLEVAR, true);
            form.SetListPosition(IDC_BUTTONS, 2);
            form.SetListPosition(IDC_ICON, pw::kUserIconPosition);
            form.SetListPosition(IDC_LANGUAGE, 3);
            form.SetChecked(IDC_HELPBUTTON, true);
            const pw::CodeOptions options{static_cast<pw::CharacterSet>(o % 3), static_cast<pw::AnswerHandling>(o / 3)};
            const std::string written = pw::ExpandLineFeeds(pw::GenerateStatement(form, params, options)) + "\r\n";
            const ConsoleRun run = program.Run(
                {"-PRINT:-", std::string("-CHARSET:") + charsets[o % 3], std::string("-ANSWER:") + answers[o / 3]},
                Input(written));
            EXPECT_EQ(run.exitCode, 0) << written;
            EXPECT_EQ(run.output, written);
            EXPECT_EQ(run.error, "") << written;
            EXPECT_EQ(run.windowsCreated, 0) << written;
        }
    }
}

TEST(Cli, InsertIntoEveryFileAndTellsOfThoseItCouldNotChange) {
    const Program program(Settings());
    const TempDir& dir = program.dir();
    dir.Write("marked.c", "int main() {\r\n    /*MB*/\r\n    return 0;\r\n}\r\n");
    dir.Write("plain.c", "int main() { return 0; }\r\n");
    dir.Write("locked.c", "/*MB*/\r\n");
    SetFileAttributesA(dir.File("locked.c").c_str(), FILE_ATTRIBUTE_READONLY);

    const ConsoleRun run = program.Run({"-INSERT:Ask", "marked.c", "plain.c", "locked.c"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(run.error,
              "promptwright: plain.c: no insertion marker\r\n"
              "promptwright: locked.c: Error while opening file\r\n");
    EXPECT_EQ(run.windowsCreated, 0);
    EXPECT_EQ(dir.Read("marked.c"),
              "int main() {\r\n    if (MessageBox(hWnd, \"Save changes?\", \"Editor\", MB_YESNOCANCEL | "
              "MB_ICONQUESTION) == IDYES)\r\n{\r\n}\r\n    return 0;\r\n}\r\n");
    EXPECT_EQ(dir.Read("plain.c"), "int main() { return 0; }\r\n");
    EXPECT_EQ(dir.Read("locked.c"), "/*MB*/\r\n");

    // From standard input, at a marker of the command line: only a file
    // without a marker left, so exit code 1.
    dir.Write("other.c", "x = @@;\r\n");
    const ConsoleRun fromInput = program.Run({"-INSERT:-", "-IC:@@", "-ANSWER:none", "other.c", "plain.c"},
                                             Input("MessageBox(0,\"a\",\"b\",0);"));
    EXPECT_EQ(fromInput.exitCode, 1);
    EXPECT_EQ(fromInput.error, "promptwright: plain.c: no insertion marker\r\n");
    EXPECT_EQ(dir.Read("other.c"), "x = MessageBox(0, \"a\", \"b\", MB_OK);;\r\n");
    EXPECT_EQ(fromInput.windowsCreated, 0);
}

std::string Utf16LeBytes(const std::string& utf8) {
    const std::wstring wide = test::Wide(utf8);
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
}

// Each file gets the statement in its own encoding, every other byte kept; a
// code-page file that cannot hold a character of it is named and left alone.
TEST(Cli, InsertWritesEachFileInItsOwnEncoding) {
    ASSERT_EQ(GetACP(), 1252u) << "the statement below is typed in code page 1252";
    const std::string statement =
        "MessageBox(GetActiveWindow(), \"Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F\x65\", "
        "\"K\xC3\xB6ln\", MB_OK);";
    const std::string greeting = "// Gr\xC3\xBC\xC3\x9F\x65 aus K\xC3\xB6ln \xE2\x9C\x93\r\n";
    // A slot in a UTF-16 settings file, its owner a variable named with a
    // character the code page lacks.
    const std::wstring settings = L"\xFEFF[QuickBox]\r\nCheck=MessageBox(hWnd\x2713, \"a\", \"b\", MB_OK);\r\n";
    const Program program(std::string(reinterpret_cast<const char*>(settings.data()), settings.size() * 2));
    const TempDir& dir = program.dir();
    dir.Write("greet.c", greeting + "/*MB*/\r\n");
    dir.Write("wide.c", "\xFF\xFE" + Utf16LeBytes(greeting + "/*MB*/ /*mb*/\r\n"));
    dir.Write("old.c", "/* Gr\xFC\xDF\x65 */ /*MB*/\r\n");

    const ConsoleRun run = program.Run({"-INSERT:-", "-ANSWER:none", "greet.c", "wide.c", "old.c"},
                                       Input("MessageBox(GetActiveWindow(), \"Sch\xF6ne Gr\xFC\xDF\x65\", \"K\xF6ln\", "
                                             "MB_OK);"));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(dir.Read("greet.c"), greeting + statement + "\r\n");
    EXPECT_EQ(dir.Read("wide.c"), "\xFF\xFE" + Utf16LeBytes(greeting + statement + " " + statement + "\r\n"));
    EXPECT_EQ(dir.Read("old.c"),
              "/* Gr\xFC\xDF\x65 */ MessageBox(GetActiveWindow(), \"Sch\xF6ne Gr\xFC\xDF\x65\", \"K\xF6ln\", "
              "MB_OK);\r\n");

    dir.Write("old.c", "/* Gr\xFC\xDF\x65 */ /*MB*/\r\n");
    dir.Write("new.c", "\xEF\xBB\xBF/*MB*/");
    const ConsoleRun refused = program.Run({"-INSERT:Check", "-ANSWER:none", "old.c", "new.c"});
    EXPECT_EQ(refused.exitCode, 2);
    // A pipe in the code page names the character it cannot carry.
    EXPECT_EQ(
        refused.error,
        "promptwright: old.c: the file's encoding (code page 1252) cannot hold <U+2713>; the file is unchanged\r\n");
    EXPECT_EQ(dir.Read("old.c"), "/* Gr\xFC\xDF\x65 */ /*MB*/\r\n");
    EXPECT_EQ(dir.Read("new.c"), "\xEF\xBB\xBFMessageBox(hWnd\xE2\x9C\x93, \"a\", \"b\", MB_OK);");
    EXPECT_EQ(refused.windowsCreated, 0);
}

// Standard input is read in the encoding its bytes show: UTF-16 and UTF-8
// by their marks, UTF-8 by its characters beyond ASCII, else the code page.
TEST(Cli, StandardInputIsReadInItsOwnEncoding) {
    ASSERT_EQ(GetACP(), 1252u) << "the code-page input below is typed in code page 1252";
    const Program program(Settings());
    const std::string utf8 = "MessageBox(NULL, \"Gr\xC3\xBC\xC3\x9F\x65 \xE2\x9C\x93\", \"T\", MB_OK);";
    const struct {
        std::string input, text;
    } cases[] = {
        {utf8, "Gr\\u00FC\\u00DFe \\u2713"},
        {"\xEF\xBB\xBF" + utf8, "Gr\\u00FC\\u00DFe \\u2713"},
        {"\xFF\xFE" + Utf16LeBytes(utf8), "Gr\\u00FC\\u00DFe \\u2713"},
        {"MessageBox(NULL, \"Gr\xFC\xDF\x65\", \"T\", MB_OK);", "Gr\\u00FC\\u00DFe"},
    };
    for (const auto& c : cases) {
        const ConsoleRun run = program.Run({"-PRINT:-", "-CHARSET:wide"}, Input(c.input));
        EXPECT_EQ(run.error, "");
        EXPECT_EQ(run.output, "MessageBoxW(NULL, L\"" + c.text + "\", L\"T\", MB_OK);\r\n");
    }
}

// Task dialogs take the same paths: a slot on one line comes out in the
// writer's layout with the answer option in force; one typed with a repeated
// identifier is refused with the writer's message before any file is touched.
TEST(Cli, TaskDialogStatementsArePrintedAndInsertedLikeTheOthers) {
    const std::string slot =
        "TASKDIALOG_BUTTON buttons[] = {    { 1001, L\"&Save\" },    { 1002, L\"Do&n\\'t save\" }};"
        "TASKDIALOGCONFIG config;ZeroMemory(&config, sizeof(config));config.cbSize = sizeof(config);"
        "config.hwndParent = hwnd;config.pszWindowTitle = L\"Editor\";config.pszMainInstruction = L\"Save?\";"
        "config.cButtons = ARRAYSIZE(buttons);config.pButtons = buttons;"
        "TaskDialogIndirect(&config, NULL, NULL, NULL);";
    const Program program("[QuickBox]\r\nTask=\"" + slot + "\"\r\n");
    const std::string body =
        "TASKDIALOG_BUTTON buttons[] = {\r\n    { 1001, L\"&Save\" },\r\n    { 1002, L\"Do&n\\'t save\" }\r\n};\r\n"
        "TASKDIALOGCONFIG config;\r\n";
    const std::string members =
        "ZeroMemory(&config, sizeof(config));\r\nconfig.cbSize = sizeof(config);\r\nconfig.hwndParent = hwnd;\r\n"
        "config.pszWindowTitle = L\"Editor\";\r\nconfig.pszMainInstruction = L\"Save?\";\r\n"
        "config.cButtons = ARRAYSIZE(buttons);\r\nconfig.pButtons = buttons;\r\n";

    const ConsoleRun printed = program.Run({"-PRINT:Task", "-ANSWER:switch", "-CHARSET:ansi"});
    EXPECT_EQ(printed.exitCode, 0);
    EXPECT_EQ(printed.error, "");
    EXPECT_EQ(printed.output, body + "int nButton = 0;\r\n" + members +
                                  "TaskDialogIndirect(&config, &nButton, NULL, NULL);\r\nswitch (nButton)\r\n{\r\n"
                                  "case 1001:\r\n    break;\r\ncase 1002:\r\n    break;\r\n}\r\n");
    EXPECT_EQ(printed.windowsCreated, 0);

    const TempDir& dir = program.dir();
    dir.Write("main.c", "/*MB*/\r\n");
    const ConsoleRun inserted = program.Run({"-INSERT:-", "main.c"}, Input(slot));
    EXPECT_EQ(inserted.exitCode, 0);
    EXPECT_EQ(inserted.error, "");
    EXPECT_EQ(dir.Read("main.c"), body + members + "TaskDialogIndirect(&config, NULL, NULL, NULL);\r\n");

    std::string repeated = slot;
    repeated.replace(repeated.find("1002"), 4, "1001");
    const ConsoleRun refused = program.Run({"-INSERT:-", "main.c"}, Input(repeated));
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.error.rfind("promptwright: standard input: ", 0), 0u) << refused.error;
    EXPECT_NE(refused.error.find("1001"), std::string::npos) << refused.error;
    EXPECT_EQ(dir.Read("main.c"), body + members + "TaskDialogIndirect(&config, NULL, NULL, NULL);\r\n");
    EXPECT_EQ(refused.windowsCreated, 0);
}

// As editors start it: by name, found through PATH, in the folder of the
// file being edited. The settings file is still the one beside the program.
TEST(Cli, StartedByNameThroughPathItReadsTheSettingsBesideIt) {
    const Program program(Settings());
    const TempDir elsewhere;
    elsewhere.Write("promptwright.ini", "[QuickBox]\r\nWrong=MessageBox(NULL, \"w\", \"W\", MB_OK);\r\n");
    std::string path(32767, '\0');
    path.resize(GetEnvironmentVariableA("PATH", path.data(), static_cast<DWORD>(path.size())));
    SetEnvironmentVariableA("PATH", (program.dir().path() + ";" + path).c_str());
    ConsoleRunOptions options;
    options.byName = true;
    const ConsoleRun run = RunConsole(program.exe(), {"-LIST"}, elsewhere.path(), options);
    SetEnvironmentVariableA("PATH", path.c_str());
    EXPECT_EQ(run.exitCode, 0) << run.error;
    EXPECT_EQ(run.output, "Ask\r\nZebra\r\nAlpha\r\nBad\r\n");
}

// Makes `link` (a name in `folder`) a symbolic link to `target` (relative to
// `folder`) as Linux makes one: Wine follows it as Windows follows a link a
// winget portable install makes in its shared Links folder. (Wine 8's
// CreateSymbolicLinkW reported success here without making a link.)
bool LinkFromLinux(const std::string& folder, const std::string& target, const std::string& link) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = test::Wide("/bin/ln -s " + target + " " + link);
    if (!CreateProcessW(L"Z:\\bin\\ln", line.data(), nullptr, nullptr, FALSE, 0, nullptr, test::Wide(folder).c_str(),
                        &startup, &process)) {
        std::fprintf(stderr, "CreateProcessW(/bin/ln): error %lu\n", GetLastError());
        return false;
    }
    // Wine hands back a handle that may be signalled before the Unix program
    // has run: wait for the link itself.
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::wstring made = test::Wide(folder + "\\" + link);
    return WaitFor([&] { return GetFileAttributesW(made.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000);
}

// Started through a symbolic link in another folder, by name through PATH or
// by the link's own path: the settings file is the one beside the program's
// real file, not one beside the link.
TEST(Cli, StartedThroughASymbolicLinkItReadsTheSettingsBesideTheRealFile) {
    const Program program(Settings());
    const TempDir links;  // beside the program's folder, both in the temporary folder
    links.Write("promptwright.ini", "[QuickBox]\r\nWrong=MessageBox(NULL, \"w\", \"W\", MB_OK);\r\n");
    const std::string folder = program.dir().path().substr(program.dir().path().find_last_of('\\') + 1);
    ASSERT_TRUE(LinkFromLinux(links.path(), "../" + folder + "/promptwright.exe", "promptwright.exe"));
    std::string path(32767, '\0');
    path.resize(GetEnvironmentVariableA("PATH", path.data(), static_cast<DWORD>(path.size())));
    SetEnvironmentVariableA("PATH", (links.path() + ";" + path).c_str());
    for (const bool byName : {true, false}) {
        SCOPED_TRACE(byName ? "by name" : "by the link's path");
        ConsoleRunOptions options;
        options.byName = byName;
        const ConsoleRun run = RunConsole(links.File("promptwright.exe"), {"-LIST"}, links.path(), options);
        EXPECT_EQ(run.exitCode, 0) << run.error;
        EXPECT_EQ(run.output, "Ask\r\nZebra\r\nAlpha\r\nBad\r\n");
    }
    SetEnvironmentVariableA("PATH", path.c_str());
}

TEST(Cli, ListWritesTheSlotNamesInFileOrder) {
    const Program program(Settings());
    const ConsoleRun run = program.Run({"-LIST"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "Ask\r\nZebra\r\nAlpha\r\nBad\r\n");
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.windowsCreated, 0);
}

TEST(Cli, VersionWritesTheProgramAndItsVersion) {
    const Program program(Settings());
    const ConsoleRun run = program.Run({"-Version"});
    EXPECT_EQ(run.exitCode, 0) << run.error;
    EXPECT_EQ(run.output, "Promptwright " PW_VERSION_TEXT "\r\n");
    EXPECT_EQ(run.error, "");
    EXPECT_EQ(run.windowsCreated, 0);
}

TEST(Cli, EveryErrorHasItsMessageAndExitCodeAndChangesNothing) {
    // A slot of 70,000 characters: more than the profile functions give back whole.
    const std::string longText(70000, 'x');
    const Program program(Settings("InsertionCode=/*MB*/\r\n") + "Long=MessageBox(NULL, \"" + longText +
                          "\", \"T\", MB_OK);\r\n");
    const TempDir& dir = program.dir();
    dir.Write("marked.c", "/*MB*/");
    const std::string ini = program.Ini();
    const struct {
        std::vector<std::string> args;
        std::string input;
        int exitCode;
        std::string error;
    } cases[] = {
        {{"-PRINT:Nope"}, "", 2, "no QuickBox slot named 'Nope' in " + ini},
        {{"-INSERT:Nope", "marked.c"}, "", 2, "no QuickBox slot named 'Nope' in " + ini},
        {{"-PRINT:Bad"}, "", 2, "QuickBox slot 'Bad' in " + ini + ": Unrecognised code"},
        {{"-PRINT:Long"},
         "",
         2,
         "QuickBox slot 'Long' in " + ini +
             " is too long to be read whole (more than 65532 characters); it was not used"},
        {{"-INSERT:Long", "marked.c"},
         "",
         2,
         "QuickBox slot 'Long' in " + ini +
             " is too long to be read whole (more than 65532 characters); it was not used"},
        {{"-PRINT:-"}, "Hello, world", 2, "standard input: Unrecognised code"},
        {{"-INSERT:-", "marked.c"}, "", 2, "standard input: Unrecognised code"},
        {{"-PRINT:Ask", "-CHARSET:utf8"},
         "",
         2,
         "-CHARSET:utf8: unknown character set (use -CHARSET:ansi, text or wide)"},
        {{"-PRINT:Ask", "-ANSWER:always"},
         "",
         2,
         "-ANSWER:always: unknown answer handling (use -ANSWER:none, if or switch)"},
        {{"-PRINT:Ask", "-LIST"}, "", 2, "-LIST: only one of -PRINT, -INSERT, -LIST and -VERSION may be given"},
        {{"-QI", "-PRINT:Ask"},
         "",
         2,
         "-QI opens a window: it cannot be given with -PRINT, -INSERT, -LIST or -VERSION"},
        {{"-PRINT"}, "", 2, "-PRINT needs a QuickBox slot name (-PRINT:name), or - for standard input (-PRINT:-)"},
        {{"-PRINT:Ask", "-CHARST:wide"}, "", 2, "-CHARST:wide: unknown option"},
        {{"-INSERT:Ask"}, "", 2, "no target file: name the files to insert into after -INSERT"},
        {{"-LIST", "-CONFIG:gone.ini"}, "", 2, "-CONFIG:gone.ini: no such settings file"},
        {{"-INSERT:Ask", "missing.c", "marked.c"}, "", 2, "missing.c: Error while opening file"},
    };
    for (const auto& c : cases) {
        const std::string marked = dir.Read("marked.c");
        const ConsoleRun run = program.Run(c.args, Input(c.input));
        const std::string what = testing::PrintToString(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << what;
        EXPECT_EQ(run.error, "promptwright: " + c.error + "\r\n") << what;
        EXPECT_EQ(run.output, "") << what;
        EXPECT_EQ(run.windowsCreated, 0) << what;
        // Only the last case, whose other file is fine, changes a file.
        const bool changes = c.args.size() == 3 && c.args[1] == "missing.c";
        if (!changes) {
            EXPECT_EQ(dir.Read("marked.c"), marked) << what;
        }
    }
    EXPECT_EQ(dir.Read("marked.c"),
              "if (MessageBox(hWnd, \"Save changes?\", \"Editor\", MB_YESNOCANCEL | "
              "MB_ICONQUESTION) == IDYES)\r\n{\r\n}");
}

// Started with no standard handles at all (from Explorer, a shortcut): the
// work is done and the exit code is still right. The program attaches to its
// parent's console, so the message of the second run shows in this test's
// own output.
TEST(Cli, WithoutStandardHandlesTheExitCodeStillTells) {
    const Program program(Settings());
    program.dir().Write("marked.c", "/*MB*/");
    program.dir().Write("plain.c", "");
    ConsoleRunOptions noHandles;
    noHandles.standardHandles = false;
    const ConsoleRun done = program.Run({"-INSERT:Ask", "-ANSWER:none", "marked.c"}, noHandles);
    EXPECT_EQ(done.exitCode, 0);
    EXPECT_EQ(done.windowsCreated, 0);
    EXPECT_EQ(program.dir().Read("marked.c"), kAsk);
    const ConsoleRun noMarker = program.Run({"-INSERT:Ask", "plain.c"}, noHandles);
    EXPECT_EQ(noMarker.exitCode, 1);
    EXPECT_EQ(noMarker.windowsCreated, 0);
}

// The window count of the cases above would see a window: a bad option with
// no -PRINT, -INSERT or -LIST is a window run, told in a message box.
TEST(Cli, TheWindowCountSeesTheWindowOfAWindowRun) {
    const Program program(Settings());
    ConsoleRunOptions closing;
    closing.closeWindows = true;
    const ConsoleRun run = program.Run({"-CHARSET:utf8"}, closing);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_GT(run.windowsCreated, 0);
    EXPECT_EQ(run.output, "");
}

}  // namespace
}  // namespace e2e
