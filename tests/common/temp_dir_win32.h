// A folder of its own for one test, removed with everything in it when the
// test ends. Shared by the in-process tests, the end-to-end tests and the
// benchmarks of the Win32 shell.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace test {

class TempDir {
public:
    TempDir() {
        char base[MAX_PATH + 1] = {};
        GetTempPathA(sizeof base, base);
        static int counter = 0;
        for (;;) {
            path_ = std::string(base) + "pw-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(++counter);
            if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        }
    }
    ~TempDir() {
        // Files may still be settling after a program ended: try a few times.
        for (int attempt = 0; attempt < 20; ++attempt) {
            WIN32_FIND_DATAA entry;
            HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &entry);
            if (find != INVALID_HANDLE_VALUE) {
                do {
                    const std::string name = entry.cFileName;
                    if (name == "." || name == "..") continue;
                    const std::string full = path_ + "\\" + name;
                    SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                        RemoveDirectoryA(full.c_str());
                    else
                        DeleteFileA(full.c_str());
                } while (FindNextFileA(find, &entry));
                FindClose(find);
            }
            if (RemoveDirectoryA(path_.c_str())) return;
            Sleep(50);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // Writes the file and returns its path.
    std::string Write(const std::string& name, const std::string& content) const {
        std::ofstream(File(name), std::ios::binary) << content;
        return File(name);
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::string path_;
};

}  // namespace test
