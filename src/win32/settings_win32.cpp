#include "win32/settings_win32.h"

#include <windows.h>

#include <algorithm>

#include "win32/raii_win32.h"

namespace pw {
namespace {

// Wine takes the buffer size as 16 bits when it reads one value (larger buffers
// give garbage), so values are read whole up to this size. Key lists have no
// such limit.
constexpr DWORD kLargestValueBuffer = 65535;
constexpr DWORD kLargestListBuffer = 64u << 20;

// Reads a profile list or value into a buffer that grows until the result fits:
// the profile functions cut silently at the buffer size.
std::string ReadGrowing(const char* section, const char* key, const char* fallback, const std::string& file) {
    std::string buffer(512, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD got = GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, file.c_str());
        // A full buffer returns size - 1 (one name or value) or size - 2 (a list).
        const bool list = section == nullptr || key == nullptr;
        const DWORD largest = list ? kLargestListBuffer : kLargestValueBuffer;
        if (got + (list ? 2 : 1) < size || size >= largest) {
            buffer.resize(got);
            return buffer;
        }
        buffer.resize(std::min<std::size_t>(buffer.size() * 4, largest));
    }
}

}  // namespace

std::string ProfileFilePath(const std::string& path) {
    if (path.find_first_of("\\/:") == std::string::npos) return ".\\" + path;
    return path;
}

std::string ReadProfileString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& fallback) {
    return ReadGrowing(section.c_str(), key.c_str(), fallback.c_str(), ProfileFilePath(file));
}

int ReadProfileInt(const std::string& file, const std::string& section, const std::string& key, int fallback) {
    return static_cast<int>(
        GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, ProfileFilePath(file).c_str()));
}

std::vector<std::string> ReadProfileKeys(const std::string& file, const std::string& section) {
    const std::string list = ReadGrowing(section.c_str(), nullptr, "", ProfileFilePath(file));
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find('\0', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) keys.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return keys;
}

bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), ProfileFilePath(file).c_str()) !=
           FALSE;
}

std::string ProgramPathForSettings(const std::string& typed) {
    if (typed.find_first_of("\\/:") != std::string::npos) return typed;
    // GetModuleFileNameA cuts silently at the buffer size; grow until it fits.
    std::string path(260, '\0');
    for (;;) {
        const DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return typed;
        if (got < path.size()) {
            path.resize(got);
            return path;
        }
        if (path.size() >= 32768) return typed;
        path.resize(path.size() * 2);
    }
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    const UniqueHandle file(CreateFileA(path.c_str(), 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

bool Win32StartupEnvironment::FileExists(const std::string& path) { return pw::FileExists(path); }

std::string Win32StartupEnvironment::ReadString(const std::string& file, const std::string& section,
                                                const std::string& key, const std::string& fallback) {
    return ReadProfileString(file, section, key, fallback);
}

int Win32StartupEnvironment::ReadInt(const std::string& file, const std::string& section, const std::string& key,
                                     int fallback) {
    return ReadProfileInt(file, section, key, fallback);
}

std::string Win32StartupEnvironment::ExpandEnvironment(const std::string& text) {
    const DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::string expanded(needed, '\0');
    const DWORD got = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), needed);
    if (got == 0 || got > needed) return text;
    expanded.resize(got - 1);
    return expanded;
}

}  // namespace pw
