// The settings file through the platform's profile functions. Every string is
// UTF-8; the file itself may be in the ANSI code page or in UTF-16 with a BOM
// (the profile functions read either and write back in the file's own).
#pragma once

#include <string>
#include <vector>

#include "core/settings/app_settings.h"

namespace pw {

// A path the profile functions read where the user means: a bare file name
// would otherwise be looked up in the Windows directory.
std::string ProfileFilePath(const std::string& path);

// The whole value of a key, or `fallback` when the key is missing.
std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback);
int ReadProfileInt(const std::string& file, const std::string& section, const std::string& key, int fallback);
// Every key name of a section in file order, however long the list.
std::vector<std::string> ReadProfileKeys(const std::string& file, const std::string& section);

struct ProfileValue {
    std::string section;
    std::string key;
    std::string value;
};

// Stores the values in a copy of the settings file beside it, in the file's
// own encoding, and puts the copy in place of the file: a run ended at any
// moment leaves the old file or the new one, never a mix. Where a swap would
// cut the file from its other hard links, or cannot be made (no copy beside
// it, a replace the system refuses), the values go into the file itself as
// the profile functions write them. A read-only file is refused and left as
// it is. False when the values could not all be stored.
bool WriteProfileValues(const std::string& file, const std::vector<ProfileValue>& values);
bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value);

// The program path the default settings file is named after: the path as
// typed, unless it names no folder (the program was started by name, through
// PATH or from its own folder); then the program's own full path, so that the
// settings file is the one beside the program and not one in whatever folder
// the caller is in.
std::string ProgramPathForSettings(const std::string& typed);

// The full path of the running program, however long; empty when Windows
// cannot tell.
std::string ModuleFilePath();

// The existence test: CreateFileW with no access and no sharing.
bool FileExists(const std::string& path);

class Win32StartupEnvironment : public StartupEnvironment {
public:
    bool FileExists(const std::string& path) override;
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    int ReadInt(const std::string& file, const std::string& section, const std::string& key, int fallback) override;
    std::string ExpandEnvironment(const std::string& text) override;
};

}  // namespace pw
