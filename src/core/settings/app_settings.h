// What the program learns at start-up from its command line and the
// "Settings" section of its settings file. Filled once at start-up.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/code_options.h"
#include "core/model/form.h"
#include "core/output/insertion.h"
#include "core/output/source_encoding.h"

namespace pw {

// What a run without a window is asked to do.
enum class WindowlessAction {
    None,     // the window run
    Print,    // -PRINT:name, -PRINT:-
    Insert,   // -INSERT:name, -INSERT:-
    List,     // -LIST
    ListCalls,  // -LIST:CALLS
    Version,  // -VERSION
};

// A place in a source file as an editor gives it: the line from 1 and the
// column from 1 in characters (0: none given).
struct SourcePosition {
    std::size_t line = 0;
    std::size_t column = 0;
    friend bool operator==(const SourcePosition&, const SourcePosition&) = default;
};

struct WindowlessRequest {
    WindowlessAction action = WindowlessAction::None;
    std::string slot;                // the slot named, unless fromStandardInput
    bool fromStandardInput = false;  // the name "-"
    // -PRINT:@LINE[:COLUMN], -INSERT:@LINE[:COLUMN]: the call at that place
    // of the one file named.
    std::optional<SourcePosition> at;
    // Every argument that is no option, existing file or not, in command-line
    // order: the files -INSERT works on (one that cannot be opened is
    // reported, not passed over).
    std::vector<std::string> files;
    // -CHARSET: and -ANSWER: (the last of each), already applied to
    // AppSettings::codeOptions.
    std::optional<CharacterSet> characterSet;
    std::optional<AnswerHandling> answer;
    // Bad options, one message each, without the program's name. A run with
    // any does nothing but report them.
    std::vector<std::string> errors;
};

struct AppSettings {
    std::string settingsPath;
    Layout layout = Layout::Simple;                 // "advanced" > 0: Advanced
    ClipboardMode insertCopy = ClipboardMode::Ask;  // "InsertCopy" (first file only)
    bool insertShutDown = true;                     // windows close after Insert in source
    CodeOptions codeOptions;                        // "CharacterSet", "AnswerHandling"
    std::string startupQuickBox;
    std::vector<std::string> markers;                            // -IC: markers, then "InsertionCode"
    AsciiFileEncoding asciiFiles = AsciiFileEncoding::CodePage;  // "SourceEncoding"
    std::vector<std::string> parents;                            // owner-window expressions
    std::vector<std::string> targetFiles;                        // existing files named on the command line
    bool quickInsertOnly = false;                                // -QI
    // -EDIT:LINE[:COLUMN] FILE: the window run opens the call at that place
    // (windowless.files holds FILE) in the advanced layout.
    std::optional<SourcePosition> edit;
    WindowlessRequest windowless;
};

// What start-up needs of the platform: the existence test and the profile
// functions. The Win32 shell implements it with the real ones.
class StartupEnvironment {
public:
    virtual ~StartupEnvironment() = default;
    virtual bool FileExists(const std::string& path) = 0;
    // The key's value, or `fallback` when the key (or the file) is missing.
    virtual std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& fallback) = 0;
    virtual int ReadInt(const std::string& file, const std::string& section, const std::string& key, int fallback) = 0;
    virtual std::string ExpandEnvironment(const std::string& text) = 0;
};

inline constexpr char kSettingsSection[] = "Settings";
inline constexpr char kQuickBoxSection[] = "QuickBox";

// args[0] is the program path as typed; the rest are the command-line
// arguments. Options are matched without regard to case, their values (but
// those of -CHARSET: and -ANSWER:) taken as typed. Conflicts are errors: two
// of -PRINT, -INSERT, -LIST and -VERSION, or one of them with -QI; a later
// -CHARSET: or -ANSWER: overrides an earlier one. Without any of those four,
// unknown options are passed over as they always were; with one, an argument
// that starts with '-', is no option and names no existing file is an error,
// and so is a -CONFIG: that names no existing file. Such a run reads only the
// settings it uses (-PRINT: the code options; -INSERT: also the markers and
// SourceEncoding;
// -LIST: none; -VERSION: not even the settings file's location), and the code
// options only where no option gives them.
AppSettings ReadStartup(const std::vector<std::string>& args, StartupEnvironment& env);

// What -VERSION prints: "Promptwright MAJOR.MINOR.PATCH".
std::string_view VersionLine();

// The program path with its extension replaced by ".ini" (appended when the
// file name has none).
std::string DefaultSettingsPath(std::string_view programPath);

// Appends the entries of a TAB- or space-separated list; empty pieces give none.
void SplitSettingList(std::string_view value, std::vector<std::string>& list);

}  // namespace pw
