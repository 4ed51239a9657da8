#include "core/settings/app_settings.h"

#include <algorithm>
#include <cctype>

namespace pw {
namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

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

    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string upper = Upper(arg);
        if (upper == "-QI") {
            settings.quickInsertOnly = true;
        } else if (StartsWith(upper, "-CONFIG:")) {
            const std::string path = arg.substr(8);
            if (!path.empty() && env.FileExists(path)) {
                settings.settingsPath = path;
                configGiven = true;
            }
        } else if (StartsWith(upper, "-IC:")) {
            // An empty marker would match at every position.
            if (arg.size() > 4) settings.markers.push_back(arg.substr(4));
        }
        if (env.FileExists(arg)) settings.targetFiles.push_back(arg);
    }

    if (!configGiven) {
        settings.settingsPath = DefaultSettingsPath(args.empty() ? std::string() : args[0]);
        const std::string location =
            env.ExpandEnvironment(env.ReadString(settings.settingsPath, kSettingsSection, "location", ""));
        if (!location.empty() && env.FileExists(location)) settings.settingsPath = location;
    }

    const std::string& file = settings.settingsPath;
    SplitSettingList(env.ReadString(file, kSettingsSection, "InsertionCode", "/*MB*/\t/*mb*/"), settings.markers);
    settings.layout = env.ReadInt(file, kSettingsSection, "advanced", 0) > 0 ? Layout::Advanced : Layout::Simple;
    SplitSettingList(env.ReadString(file, kSettingsSection, "Parent", "GetActiveWindow()\tNULL"), settings.parents);
    settings.insertShutDown = env.ReadInt(file, kSettingsSection, "InsertShutDown", 1) != 0;
    settings.insertCopy = ClipboardModeFromSetting(env.ReadInt(file, kSettingsSection, "InsertCopy", 1));
    settings.codeOptions.characterSet =
        CharacterSetFromSetting(env.ReadString(file, kSettingsSection, kCharacterSetKey, ""));
    settings.codeOptions.answer =
        AnswerHandlingFromSetting(env.ReadString(file, kSettingsSection, kAnswerHandlingKey, ""));
    settings.startupQuickBox = env.ReadString(file, kSettingsSection, "StartupQuickBox", "");
    return settings;
}

}  // namespace pw
