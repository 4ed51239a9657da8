#include "win32/settings_win32.h"

#include <windows.h>

#include <algorithm>

#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

// Wine takes the buffer size as 16 bits when it reads one value (larger buffers
// give garbage), so values are read whole up to this many characters. Key
// lists have no such limit.
constexpr DWORD kLargestValueBuffer = 65535;
constexpr DWORD kLargestListBuffer = 64u << 20;

// Reads a profile list or value into a buffer that grows until the result fits:
// the profile functions cut silently at the buffer size. A null section or key
// asks for a list.
std::wstring ReadGrowing(const wchar_t* section, const wchar_t* key, const wchar_t* fallback,
                         const std::wstring& file) {
    std::wstring buffer(512, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD got = GetPrivateProfileStringW(section, key, fallback, buffer.data(), size, file.c_str());
        // A full buffer returns size - 1 (one name or value) or size - 2 (a list).
        const bool list = section == nullptr || key == nullptr;
        const DWORD largest = list ? kLargestListBuffer : kLargestValueBuffer;
        if (got + (list ? 2 : 1) < size || size >= largest) {
            buffer.resize(std::min(got, size));
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
    return Utf8(
        ReadGrowing(Wide(section).c_str(), Wide(key).c_str(), Wide(fallback).c_str(), Wide(ProfileFilePath(file))));
}

int ReadProfileInt(const std::string& file, const std::string& section, const std::string& key, int fallback) {
    return static_cast<int>(
        GetPrivateProfileIntW(Wide(section).c_str(), Wide(key).c_str(), fallback, Wide(ProfileFilePath(file)).c_str()));
}

std::vector<std::string> ReadProfileKeys(const std::string& file, const std::string& section) {
    const std::wstring list = ReadGrowing(Wide(section).c_str(), nullptr, L"", Wide(ProfileFilePath(file)));
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(L'\0', start);
        if (end == std::wstring::npos) end = list.size();
        if (end > start) keys.push_back(Utf8(std::wstring_view(list).substr(start, end - start)));
        start = end + 1;
    }
    return keys;
}

bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) {
    return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                      Wide(ProfileFilePath(file)).c_str()) != FALSE;
}

std::string ModuleFilePath() {
    // GetModuleFileNameW cuts silently at the buffer size; grow until it fits
    // (paths reach 32,767 characters).
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (got == 0) return {};
        if (got < path.size()) {
            path.resize(got);
            return Utf8(path);
        }
        if (path.size() > 32768) return {};
        path.resize(path.size() * 2);
    }
}

std::string ProgramPathForSettings(const std::string& typed) {
    if (typed.find_first_of("\\/:") != std::string::npos) return typed;
    std::string path = ModuleFilePath();
    return path.empty() ? typed : path;
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    const UniqueHandle file(
        CreateFileW(Wide(path).c_str(), 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
    const std::wstring wide = Wide(text);
    // The size needed can change between the two calls (another thread may
    // set a variable): ask again until the text fits.
    DWORD size = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    for (int attempt = 0; size != 0 && attempt < 4; ++attempt) {
        std::wstring expanded(size, L'\0');
        const DWORD got = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), size);
        if (got == 0) break;
        if (got <= size) {
            expanded.resize(got - 1);
            return Utf8(expanded);
        }
        size = got;
    }
    return text;
}

}  // namespace pw
