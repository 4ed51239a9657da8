// What the program learns at start-up from its command line and the
// "Settings" section of its settings file. Filled once at start-up.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/model/code_options.h"
#include "core/model/form.h"
#include "core/output/insertion.h"

namespace pw {

struct AppSettings {
    std::string settingsPath;
    Layout layout = Layout::Simple;                 // "advanced" > 0: Advanced
    ClipboardMode insertCopy = ClipboardMode::Ask;  // "InsertCopy" (first file only)
    bool insertShutDown = true;                     // windows close after Insert in source
    CodeOptions codeOptions;                        // "CharacterSet", "AnswerHandling"
    std::string startupQuickBox;
    std::vector<std::string> markers;      // -IC: markers, then "InsertionCode"
    std::vector<std::string> parents;      // owner-window expressions
    std::vector<std::string> targetFiles;  // existing files named on the command line
    bool quickInsertOnly = false;          // -QI
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

// args[0] is the program path as typed; the rest are the command-line arguments.
AppSettings ReadStartup(const std::vector<std::string>& args, StartupEnvironment& env);

// The program path with its extension replaced by ".ini" (appended when the
// file name has none).
std::string DefaultSettingsPath(std::string_view programPath);

// Appends the entries of a TAB- or space-separated list; empty pieces give none.
void SplitSettingList(std::string_view value, std::vector<std::string>& list);

}  // namespace pw
