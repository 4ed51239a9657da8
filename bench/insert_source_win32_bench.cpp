// InsertInSource on a large file against reading and writing the same file
// through the same calls (CreateFileA, ReadFile, WriteFile, SetEndOfFile,
// FlushFileBuffers), taken in turns (each first every other run) so that both
// see the same machine. Usage: insert_source_win32_bench [MiB] [runs]
// The file is C-like text with markers spread evenly, 100,000 per 64 MiB.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "win32/insert_source_win32.h"

#include "source_text.h"

namespace {

using bench::kCode;
using bench::kMarkers;
using bench::kMiB;
using bench::MakeSource;
constexpr std::size_t kChunk = kMiB;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool WriteWhole(HANDLE file, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        const DWORD want = static_cast<DWORD>(std::min(bytes.size() - done, kChunk));
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

bool Restore(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = WriteWhole(file, bytes);
    CloseHandle(file);
    return ok;
}

// What a plain rewrite of the file costs: open exclusively, read it whole into
// a fresh buffer, write it back from the start, set its end, flush, close.
bool ReadAndWrite(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) != FALSE;
    std::string text(ok ? static_cast<std::size_t>(size.QuadPart) : 0, '\0');
    for (std::size_t done = 0; ok && done < text.size();) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(text.size() - done, kChunk));
        ok = ReadFile(file, text.data() + done, want, &got, nullptr) && got != 0;
        done += got;
    }
    LARGE_INTEGER zero{};
    ok = ok && SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) && WriteWhole(file, text) && SetEndOfFile(file) &&
         FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

std::size_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<std::size_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    if (mib == 0 || runs <= 0) {
        std::fprintf(stderr, "usage: insert_source_win32_bench [MiB] [runs]\n");
        return 2;
    }

    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "pw_insert_bench_" + std::to_string(GetCurrentProcessId()) + ".c";
    const std::string source = MakeSource(mib * kMiB);
    const std::size_t markers = std::max<std::size_t>(1, 100000 * mib / 64);
    const std::size_t expectedSize = source.size() + markers * (kCode.size() - 6);

    std::vector<double> plain;
    std::vector<double> insert;
    bool ok = true;
    auto timePlain = [&] {
        ok = ok && Restore(path, source);
        const double start = Now();
        ok = ok && ReadAndWrite(path);
        plain.push_back(Now() - start);
    };
    auto timeInsert = [&] {
        ok = ok && Restore(path, source);
        const double start = Now();
        const pw::InsertOutcome outcome = pw::InsertInSource(kCode, path, kMarkers);
        insert.push_back(Now() - start);
        ok = ok && outcome == pw::InsertOutcome::Inserted && FileSize(path) == expectedSize;
    };
    for (int run = 0; run < runs && ok; ++run) {
        if (run % 2 == 0) {
            timePlain();
            timeInsert();
        } else {
            timeInsert();
            timePlain();
        }
    }
    DeleteFileA(path.c_str());
    if (!ok) {
        std::fprintf(stderr, "benchmark failed (file could not be prepared, or the insertion went wrong)\n");
        return 1;
    }

    const double p = Median(plain);
    const double i = Median(insert);
    std::printf("file %zu MiB, %zu markers, %d runs (median, min)\n", mib, markers, runs);
    std::printf("read+write     %9.1f ms  %9.1f ms\n", p, *std::min_element(plain.begin(), plain.end()));
    std::printf("InsertInSource %9.1f ms  %9.1f ms\n", i, *std::min_element(insert.begin(), insert.end()));
    std::printf("ratio          %9.2f\n", i / p);
    return 0;
}
