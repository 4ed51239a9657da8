#include "core/settings/app_settings.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

// Generated in the build tree from project(VERSION).
#include "res/version.h"

namespace pw {
namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The option name as the user wrote it (before the colon), for messages.
std::string OptionName(std::string_view arg) { return std::string(arg.substr(0, arg.find(':'))); }

// "120" or "120:9", both from 1.
std::optional<SourcePosition> PositionOf(std::string_view text) {
    SourcePosition position;
    std::size_t* field = &position.line;
    bool digits = false;
    for (char c : text) {
        if (c == ':' && field == &position.line && digits) {
            field = &position.column;
            digits = false;
        } else if (c >= '0' && c <= '9' && *field < 100000000) {
            *field = *field * 10 + static_cast<std::size_t>(c - '0');
            digits = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digits || position.line == 0 || (field == &position.column && position.column == 0)) return std::nullopt;
    return position;
}

void ReadAction(WindowlessRequest& request, WindowlessAction action, std::string_view arg, std::string_view upper,
                std::string_view name) {
    if (request.action != WindowlessAction::None) {
        request.errors.push_back(std::string(arg) + ": only one of -PRINT, -INSERT, -LIST and -VERSION may be given");
        return;
    }
    request.action = action;
    if (action == WindowlessAction::List || action == WindowlessAction::Version || action == WindowlessAction::ListCalls)
        return;
    if (upper.size() <= name.size() + 1) {
        request.errors.push_back(OptionName(arg) + " needs a QuickBox slot name (" + OptionName(arg) +
                                 ":name), or - for standard input (" + OptionName(arg) + ":-)");
        return;
    }
    const std::string_view value = arg.substr(name.size() + 1);
    if (value.starts_with('@')) {
        request.at = PositionOf(value.substr(1));
        if (!request.at)
            request.errors.push_back(std::string(arg) + ": not a place in a file (use " + OptionName(arg) +
                                     ":@LINE or " + OptionName(arg) + ":@LINE:COLUMN, both from 1)");
    } else if (value == "-")
        request.fromStandardInput = true;
    else
        request.slot = value;
}

// The value after the colon as one of `names` (any case): its position.
std::optional<int> ChoiceOf(std::string_view upper, std::size_t nameSize, std::initializer_list<const char*> names) {
    const std::string_view value = upper.substr(nameSize);
    int position = 0;
    for (const char* name : names) {
        if (value == Upper(name)) return position;
        ++position;
    }
    return std::nullopt;
}

}  // namespace

std::string_view VersionLine() { return "Promptwright " PW_VERSION_TEXT; }

std::string DefaultSettingsPath(std::string_view programPath) {
    // Only a dot in the file name itself is an extension; "C:\v1.2\prog" keeps
    // its folder.
    const std::size_t nameStart =
        programPath.find_last_of("\\/:") == std::string_view::npos ? 0 : programPath.find_last_of("\\/:") + 1;
    const std::size_t dot = programPath.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) return std::string(programPath) + ".ini";
    return std::string(programPath.substr(0, dot)) + ".ini";
}

void SplitSettingList(std::string_view value, std::vector<std::string>& list) {
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find_first_of("\t ", start);
        if (end == std::string_view::npos) end = value.size();
        if (end > start) list.emplace_back(value.substr(start, end - start));
        start = end + 1;
    }
}

AppSettings ReadStartup(const std::vector<std::string>& args, StartupEnvironment& env) {
    AppSettings settings;
    bool configGiven = false;

    WindowlessRequest& request = settings.windowless;
    std::vector<std::string> unknownOptions;
    std::vector<std::string> missingConfigs;

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string upper = Upper(arg);
        bool option = true;
        if (upper == "-QI") {
            settings.quickInsertOnly = true;
        } else if (StartsWith(upper, "-CONFIG:")) {
            const std::string path = arg.substr(8);
            if (!path.empty() && env.FileExists(path)) {
                settings.settingsPath = path;
                configGiven = true;
            } else {
                missingConfigs.push_back(arg);
            }
        } else if (StartsWith(upper, "-IC:")) {
            // An empty marker would match at every position.
            if (arg.size() > 4) settings.markers.push_back(arg.substr(4));
        } else if (upper == "-PRINT" || StartsWith(upper, "-PRINT:")) {
            ReadAction(request, WindowlessAction::Print, arg, upper, "-PRINT");
        } else if (upper == "-INSERT" || StartsWith(upper, "-INSERT:")) {
            ReadAction(request, WindowlessAction::Insert, arg, upper, "-INSERT");
        } else if (upper == "-LIST:CALLS") {
            ReadAction(request, WindowlessAction::ListCalls, arg, upper, "-LIST");
        } else if (StartsWith(upper, "-EDIT:")) {
            if (settings.edit) request.errors.push_back(arg + ": only one -EDIT may be given");
            settings.edit = PositionOf(std::string_view(arg).substr(6));
            if (!settings.edit)
                request.errors.push_back(arg + ": not a place in a file (use -EDIT:LINE or -EDIT:LINE:COLUMN, both from 1)");
        } else if (upper == "-LIST") {
            ReadAction(request, WindowlessAction::List, arg, upper, "-LIST");
        } else if (upper == "-VERSION") {
            ReadAction(request, WindowlessAction::Version, arg, upper, "-VERSION");
        } else if (StartsWith(upper, "-CHARSET:")) {
            if (const auto choice = ChoiceOf(upper, 9, {"ansi", "text", "wide"}))
                request.characterSet = static_cast<CharacterSet>(*choice);
            else
                request.errors.push_back(arg + ": unknown character set (use -CHARSET:ansi, text or wide)");
        } else if (StartsWith(upper, "-ANSWER:")) {
            if (const auto choice = ChoiceOf(upper, 8, {"none", "if", "switch"}))
                request.answer = static_cast<AnswerHandling>(*choice);
            else
                request.errors.push_back(arg + ": unknown answer handling (use -ANSWER:none, if or switch)");
        } else {
            option = false;
        }
        const bool exists = env.FileExists(arg);
        if (exists) settings.targetFiles.push_back(arg);
        if (!option) {
            if (!exists && arg.starts_with('-'))
                unknownOptions.push_back(arg);
            else
                request.files.push_back(arg);
        }
    }
    if (request.action != WindowlessAction::None) {
        if (settings.quickInsertOnly)
            request.errors.push_back("-QI opens a window: it cannot be given with -PRINT, -INSERT, -LIST or -VERSION");
        for (const std::string& arg : unknownOptions) request.errors.push_back(arg + ": unknown option");
        // The window run passes over a missing settings file; a run without
        // one would answer from another file without a word.
        for (const std::string& arg : missingConfigs) request.errors.push_back(arg + ": no such settings file");
        if (settings.edit) request.errors.push_back("-EDIT opens a window: it cannot be given with -PRINT, -INSERT, -LIST or -VERSION");
        if (request.at && request.files.size() != 1)
            request.errors.push_back(std::string(request.action == WindowlessAction::Print ? "-PRINT" : "-INSERT") +
                                     ":@ needs one source file, the one the place is in");
        if (request.action == WindowlessAction::ListCalls && request.files.empty())
            request.errors.push_back("-LIST:CALLS needs the source files to list the calls of");
    } else if (settings.edit) {
        if (settings.quickInsertOnly) request.errors.push_back("-EDIT cannot be given with -QI");
        if (request.files.size() != 1) request.errors.push_back("-EDIT needs one source file, the one the place is in");
    }

    // The version needs no settings file, nor where it lies.
    if (request.action == WindowlessAction::Version) return settings;

    if (!configGiven) {
        settings.settingsPath = DefaultSettingsPath(args.empty() ? std::string() : args[0]);
        const std::string location =
            env.ExpandEnvironment(env.ReadString(settings.settingsPath, kSettingsSection, "location", ""));
        if (!location.empty() && env.FileExists(location)) settings.settingsPath = location;
    }

    // A run without a window reads only the keys it uses: under Wine each
    // read of a profile value opens the file again.
    const std::string& file = settings.settingsPath;
    const bool window = request.action == WindowlessAction::None;
    if (window || request.action == WindowlessAction::Insert || request.at ||
        request.action == WindowlessAction::ListCalls) {
        SplitSettingList(env.ReadString(file, kSettingsSection, "InsertionCode", "/*MB*/\t/*mb*/"), settings.markers);
        settings.asciiFiles =
            AsciiFileEncodingFromSetting(env.ReadString(file, kSettingsSection, "SourceEncoding", ""));
    }
    if (window) {
        settings.layout = env.ReadInt(file, kSettingsSection, "advanced", 0) > 0 ? Layout::Advanced : Layout::Simple;
        // The call is read into the form that shows all of it.
        if (settings.edit) settings.layout = Layout::Advanced;
        SplitSettingList(env.ReadString(file, kSettingsSection, "Parent", "GetActiveWindow()\tNULL"), settings.parents);
        settings.insertShutDown = env.ReadInt(file, kSettingsSection, "InsertShutDown", 1) != 0;
        settings.insertCopy = ClipboardModeFromSetting(env.ReadInt(file, kSettingsSection, "InsertCopy", 1));
    }
    if (window || (request.action != WindowlessAction::List && request.action != WindowlessAction::ListCalls)) {
        settings.codeOptions.characterSet =
            request.characterSet
                ? *request.characterSet
                : CharacterSetFromSetting(env.ReadString(file, kSettingsSection, kCharacterSetKey, ""));
        settings.codeOptions.answer =
            request.answer ? *request.answer
                           : AnswerHandlingFromSetting(env.ReadString(file, kSettingsSection, kAnswerHandlingKey, ""));
    }
    if (window && !settings.edit) settings.startupQuickBox = env.ReadString(file, kSettingsSection, "StartupQuickBox", "");
    return settings;
}

}  // namespace pw
