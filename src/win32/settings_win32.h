// The settings file through the platform's profile functions. Every string is
// UTF-8; the file itself may be in the ANSI code page or in UTF-16 with a BOM
// (the profile functions read either and write back in the file's own).
#pragma once

#include <string>
#include <utility>
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
// own encoding, and puts the copy in place of the file by one rename
// (SwapIn): a run ended at any moment leaves the old file or the new one,
// never a mix. Where a swap would cut the file from its other hard links, or
// cannot be made (no copy beside it, permissions it cannot take), the values
// go into the file itself as the profile functions write them. A read-only
// file is refused and left as it is, and so is one whose copy or rename
// another program holds past a scanner's moment. False when the values could
// not all be stored.
bool WriteProfileValues(const std::string& file, const std::vector<ProfileValue>& values);
bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value);

// The program path the default settings file is named after: the full path
// of the program's own file, symbolic links followed, when the path as typed
// names no folder (the program was started by name, through PATH or from its
// own folder) or names the program itself (through a link, too); so that the
// settings file is the one beside the program and not one in whatever folder
// the caller or the link is in. Any other path as typed.
std::string ProgramPathForSettings(const std::string& typed);

enum class ProfileCheck {
    Readable,       // the profile functions read the file as it is (or there is none)
    Converted,      // it was UTF-8 and is now UTF-16 LE with a BOM, every character kept
    Unconvertible,  // UTF-8 that could not be converted: read, it would lose its sections
};

// Windows' profile functions read a file as UTF-16 only after FF FE, and any
// other as the ANSI code page, so that after a UTF-8 BOM the first section is
// never found. A settings file in UTF-8 (a BOM, or valid UTF-8 beyond ASCII)
// is converted once to UTF-16 LE with a BOM through the swap; one that is
// read-only, hard-linked, cannot be swapped, or holds bytes that are no UTF-8
// is left as it is.
ProfileCheck ConvertUtf8Profile(const std::string& file);

// The message for a settings file ConvertUtf8Profile found Unconvertible.
std::string Utf8ProfileProblem(const std::string& file);

// The full path of the running program, however long; empty when Windows
// cannot tell.
std::string ModuleFilePath();

// The existence test: CreateFileW with no access and no sharing.
bool FileExists(const std::string& path);

// Converts each settings file it reads from (ConvertUtf8Profile) before the
// first read; one that cannot be converted reads as missing, and Problems()
// names it.
class Win32StartupEnvironment : public StartupEnvironment {
public:
    bool FileExists(const std::string& path) override;
    std::string ReadString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    int ReadInt(const std::string& file, const std::string& section, const std::string& key, int fallback) override;
    std::string ExpandEnvironment(const std::string& text) override;

    const std::vector<std::string>& Problems() const { return problems_; }

private:
    bool Readable(const std::string& file);

    std::vector<std::pair<std::string, ProfileCheck>> checked_;
    std::vector<std::string> problems_;
};

}  // namespace pw
