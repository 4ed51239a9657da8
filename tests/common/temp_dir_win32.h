// A folder of its own for one test, removed with everything in it when the
// test ends. Shared by the in-process tests, the end-to-end tests and the
// benchmarks of the Win32 shell. Paths and names are UTF-8 and may hold any
// character.
#pragma once

#include <windows.h>

#include <string>

#include "common/wide_win32.h"

namespace test {

// Which file a path names (volume and file index): a file swapped in under a
// name is another file, one rewritten in place the same.
struct FileId {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FileId&) const = default;
};
inline FileId IdOf(const std::string& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    HANDLE file = CreateFileW(Wide(path).c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        GetFileInformationByHandle(file, &info);
        CloseHandle(file);
    }
    return {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

class TempDir {
public:
    TempDir() {
        std::wstring base(MAX_PATH + 1, L'\0');
        base.resize(GetTempPathW(static_cast<DWORD>(base.size()), base.data()));
        static int counter = 0;
        for (;;) {
            path_ = Narrow(base) + "pw-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
            if (CreateDirectoryW(Wide(path_).c_str(), nullptr)) break;
        }
    }
    ~TempDir() {
        // Files may still be settling after a program ended: try a few times.
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (RemoveTree(Wide(path_))) return;
            Sleep(50);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // Makes a folder in this one (with its parents) and returns its path.
    std::string Folder(const std::string& name) const {
        const std::string full = File(name);
        for (std::size_t at = path_.size() + 1; at != std::string::npos;) {
            at = full.find('\\', at + 1);
            CreateDirectoryW(Wide(full.substr(0, at)).c_str(), nullptr);
        }
        return full;
    }
    // Writes the file and returns its path.
    std::string Write(const std::string& name, const std::string& content) const {
        WriteBytes(File(name), content);
        return File(name);
    }
    std::string Read(const std::string& name) const { return ReadBytes(File(name)); }

    static bool WriteBytes(const std::string& path, const std::string& bytes) {
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size();
        CloseHandle(file);
        return ok;
    }
    static std::string ReadBytes(const std::string& path) {
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return {};
        std::string bytes;
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        CloseHandle(file);
        return bytes;
    }

private:
    static bool RemoveTree(const std::wstring& folder) {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring full = folder + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
        return RemoveDirectoryW(folder.c_str()) != FALSE;
    }

    std::string path_;
};

}  // namespace test
