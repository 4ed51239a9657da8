#include "win32/settings_win32.h"

#include <windows.h>

#include <algorithm>

#include "core/model/utf8.h"
#include "core/output/source_encoding.h"
#include "win32/file_swap_win32.h"
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

bool WriteInPlace(const std::wstring& file, const std::vector<ProfileValue>& values) {
    for (const ProfileValue& v : values) {
        if (!WritePrivateProfileStringW(Wide(v.section).c_str(), Wide(v.key).c_str(), Wide(v.value).c_str(),
                                        file.c_str()))
            return false;
    }
    return true;
}

// Wine keeps the parse of a profile file by name and reads the file again
// only when its modification time differs (or is within the last 2 s); a file
// moved in under the name, or a name whose file is gone, could meet the parse
// of another. The documented flush (all three names null) drops it.
void ForgetParse(const std::wstring& file) { WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str()); }

// A path as the system reports it (\\?\C:\..., \\?\UNC\...) in the form the
// profile functions take.
std::wstring PlainPath(const std::wstring& path) {
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + path.substr(7);
    if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
    return path;
}

// What an ended run left under the copy's name is never built upon.
void ClearLeftover(const std::wstring& copy) {
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(copy.c_str());
}

bool WriteCopy(const std::wstring& copy, const std::vector<ProfileValue>& values) {
    const bool written = WriteInPlace(copy, values);
    ForgetParse(copy);
    return written;
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD got = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (got == 0) return {};
        if (got < full.size()) {
            full.resize(got);
            return full;
        }
        full.resize(got);  // `got` is the size needed, its terminator included
    }
    return {};
}

// A settings file made whole beside its place and moved in, so that no run
// ever leaves a half-written one.
bool CreateProfile(const std::wstring& path, const std::vector<ProfileValue>& values) {
    const std::wstring full = FullPath(path);
    if (full.empty()) return WriteInPlace(path, values);
    const std::wstring copy = SwapFilePath(full);
    RemoveOnExit removeCopy(copy);
    ClearLeftover(copy);
    // Made empty first: Wine would take a parse it kept of a copy name whose file is gone.
    if (!UniqueHandle(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr))
             .Valid())
        return WriteInPlace(path, values);
    if (!WriteCopy(copy, values)) return false;
    // No replace: a file made meanwhile by another program is not overwritten.
    if (!Patiently([&] { return MoveFileExW(copy.c_str(), full.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE; }, true))
        return false;
    ForgetParse(path);
    return true;
}

// Opens a path only to learn which file it names.
UniqueHandle OpenToIdentify(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool SameFile(HANDLE a, HANDLE b) {
    BY_HANDLE_FILE_INFORMATION x, y;
    return GetFileInformationByHandle(a, &x) && GetFileInformationByHandle(b, &y) &&
           x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
           x.nFileIndexLow == y.nFileIndexLow;
}

// A settings file is small: more than this is no settings file to convert.
constexpr LONGLONG kLargestConverted = 16 << 20;

bool ReadWhole(HANDLE file, std::string& bytes) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || size.QuadPart > kLargestConverted) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!bytes.empty() && !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return false;
    bytes.resize(got);
    return true;
}

bool WriteWhole(HANDLE file, std::string_view bytes) {
    DWORD written = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size() && FlushFileBuffers(file);
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

namespace {

// Read access without shared writing keeps other writers out from the copy to
// the swap; shared deletion lets the swap replace the file. A scanner's hold
// is waited out.
UniqueHandle OpenForSwap(const std::wstring& path) {
    UniqueHandle target;
    Patiently(
        [&] {
            target = UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            return target.Valid();
        },
        false);
    return target;
}

}  // namespace

bool WriteProfileValues(const std::string& file, const std::vector<ProfileValue>& values) {
    const std::wstring path = Wide(ProfileFilePath(file));
    UniqueHandle target = OpenForSwap(path);
    if (!target.Valid()) {
        if (GetLastError() == ERROR_FILE_NOT_FOUND) return CreateProfile(path, values);
        return WriteInPlace(path, values);  // held by another program, a folder gone: as the profile functions say
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(target.Get(), &info)) return false;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return false;
    const std::wstring real = PlainPath(FinalPathOf(target.Get()));
    if (info.nNumberOfLinks > 1 || real.empty()) {
        target.Reset();
        return WriteInPlace(path, values);
    }

    const std::wstring copy = SwapFilePath(real);
    RemoveOnExit removeCopy(copy);
    ClearLeftover(copy);
    // The copy starts writable and plain: the profile functions cannot rewrite
    // a read-only or hidden file.
    if (!CopyFileW(real.c_str(), copy.c_str(), FALSE) || !SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL)) {
        target.Reset();
        return WriteInPlace(path, values);
    }
    if (!WriteCopy(copy, values)) return false;
    UniqueHandle written = OpenSwapFile(copy);
    if (!written.Valid()) return false;  // held past a scanner's moment: the file stays as it was
    if (!CopyIdentity(target.Get(), written.Get())) {
        // A swap would open the file to those it kept out.
        written.Reset();
        target.Reset();
        return WriteInPlace(path, values);
    }
    // A refused rename leaves the file as it was: refused, not written in place.
    if (!SwapIn(real, target, copy, written)) return false;
    removeCopy.Keep();
    ForgetParse(path);
    return true;
}

bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) {
    return WriteProfileValues(file, {{section, key, value}});
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
    const std::wstring module = Wide(ModuleFilePath());
    if (module.empty()) return typed;
    // GetModuleFileNameW gives the path the program was started by, a
    // symbolic link's own (a winget portable install's shared Links folder).
    const UniqueHandle self = OpenToIdentify(module);
    std::wstring real = self.Valid() ? PlainPath(FinalPathOf(self.Get())) : std::wstring();
    if (real.empty()) real = module;
    if (typed.find_first_of("\\/:") == std::string::npos) return Utf8(real);
    // A path typed to the program (with or without ".exe") is a path to its
    // real file too; one to another file is kept as typed.
    for (const std::wstring& name : {Wide(typed), Wide(typed + ".exe")}) {
        const UniqueHandle named = OpenToIdentify(name);
        if (named.Valid() && self.Valid() && SameFile(named.Get(), self.Get())) return Utf8(real);
    }
    return typed;
}

ProfileCheck ConvertUtf8Profile(const std::string& file) {
    const std::wstring path = Wide(ProfileFilePath(file));
    UniqueHandle target = OpenForSwap(path);
    if (!target.Valid()) return ProfileCheck::Readable;  // no file, or none to read: the profile functions say so
    std::string bytes;
    if (!ReadWhole(target.Get(), bytes)) return ProfileCheck::Readable;
    const SourceFileEncoding encoding = DecideSourceEncoding(bytes, AsciiFileEncoding::CodePage);
    if (encoding.encoding != SourceEncoding::Utf8) return ProfileCheck::Readable;
    const std::string_view text = std::string_view(bytes).substr(encoding.bomSize);
    // Bytes that make no character would not survive the conversion.
    if (!IsValidUtf8(text)) return ProfileCheck::Unconvertible;

    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(target.Get(), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ||
        info.nNumberOfLinks > 1)
        return ProfileCheck::Unconvertible;
    const std::wstring real = PlainPath(FinalPathOf(target.Get()));
    if (real.empty()) return ProfileCheck::Unconvertible;
    const std::wstring wide = Utf16(text);
    std::string utf16 = "\xFF\xFE";
    utf16.append(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));

    const std::wstring copy = SwapFilePath(real);
    ClearLeftover(copy);
    RemoveOnExit removeCopy(copy);
    UniqueHandle written(
        CreateFileW(copy.c_str(), kSwapFileAccess, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!written.Valid() || !WriteWhole(written.Get(), utf16) || !CopyIdentity(target.Get(), written.Get()) ||
        !SwapIn(real, target, copy, written))
        return ProfileCheck::Unconvertible;
    removeCopy.Keep();
    ForgetParse(path);
    return ProfileCheck::Converted;
}

std::string Utf8ProfileProblem(const std::string& file) {
    return file +
           " is saved as UTF-8, which Windows does not read as a settings file, and could not be converted (it is "
           "read-only, held by another program, or holds bytes that are no UTF-8); nothing was read from it. Save "
           "it as \"UTF-16 LE\" (\"Unicode\"), or make it writable and start again.";
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    const UniqueHandle file(
        CreateFileW(Wide(path).c_str(), 0, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.Valid();
}

bool Win32StartupEnvironment::FileExists(const std::string& path) { return pw::FileExists(path); }

bool Win32StartupEnvironment::Readable(const std::string& file) {
    auto checked = std::find_if(checked_.begin(), checked_.end(), [&](const auto& c) { return c.first == file; });
    if (checked == checked_.end()) checked = checked_.insert(checked_.end(), {file, ConvertUtf8Profile(file)});
    if (checked->second != ProfileCheck::Unconvertible) return true;
    if (std::find(problems_.begin(), problems_.end(), Utf8ProfileProblem(file)) == problems_.end())
        problems_.push_back(Utf8ProfileProblem(file));
    return false;
}

std::string Win32StartupEnvironment::ReadString(const std::string& file, const std::string& section,
                                                const std::string& key, const std::string& fallback) {
    return Readable(file) ? ReadProfileString(file, section, key, fallback) : fallback;
}

int Win32StartupEnvironment::ReadInt(const std::string& file, const std::string& section, const std::string& key,
                                     int fallback) {
    return Readable(file) ? ReadProfileInt(file, section, key, fallback) : fallback;
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
