// InsertInSource on a large file against the least a safe swap of the same
// text costs (read the file, write the text the insertion gives into a new
// file, flush it, rename it over the file), taken next to each other in turns
// (each first every other run) so that both see the same machine; once for a
// file in the code page, in UTF-8 and in UTF-16 LE. Beside them, reading and
// writing the same file in place through the same calls (CreateFileA,
// ReadFile, WriteFile, SetEndOfFile, FlushFileBuffers). Then what the flush of
// the new file costs (a new file of the inserted size written, against
// written and flushed), and the encoding decision against the read of the
// file.
// Usage: insert_source_win32_bench [MiB] [runs]
// The file is C-like text with markers spread evenly, 100,000 per 64 MiB.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/output/source_encoding.h"
#include "win32/file_swap_win32.h"
#include "win32/insert_source_win32.h"
#include "win32/raii_win32.h"
#include "win32/text_win32.h"

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
    // On disk before the timing starts, as a source file saved a while ago
    // is: otherwise the next flush of any file pays for these bytes too.
    const bool ok = WriteWhole(file, bytes) && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

// Reads an open file whole into `text`, in pieces of `piece` bytes, each also
// put through `check` when one is given.
bool ReadOpenFile(HANDLE file, std::string& text, std::size_t piece, pw::Utf8Check* check) {
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) != FALSE;
    text.assign(ok ? static_cast<std::size_t>(size.QuadPart) : 0, '\0');
    for (std::size_t done = 0; ok && done < text.size();) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min(text.size() - done, piece));
        ok = ReadFile(file, text.data() + done, want, &got, nullptr) && got != 0;
        if (ok && check != nullptr) check->Add(std::string_view(text).substr(done, got));
        done += got;
    }
    return ok;
}

// What a plain rewrite of the file costs: open exclusively, read it whole into
// a fresh buffer, write it back from the start, set its end, flush, close.
bool ReadAndWrite(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string text;
    bool ok = ReadOpenFile(file, text, kChunk, nullptr);
    LARGE_INTEGER zero{};
    ok = ok && SetFilePointerEx(file, zero, nullptr, FILE_BEGIN) && WriteWhole(file, text) && SetEndOfFile(file) &&
         FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

// What a safe insertion cannot do without: read the file, write the text the
// insertion gives (`result`, made beforehand) into a new file beside it, flush
// that, rename it over the file (SwapIn, as the insertion does), close the old
// one (which frees its blocks).
bool ReadAndSwap(const std::string& path, const std::string& result) {
    pw::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    std::string text;
    bool ok = ReadOpenFile(file.Get(), text, kChunk, nullptr);
    const std::string swap = path + ".swap";
    pw::UniqueHandle out(
        CreateFileA(swap.c_str(), pw::kSwapFileAccess, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ok = ok && out.Valid() && WriteWhole(out.Get(), result) && FlushFileBuffers(out.Get());
    return ok && pw::SwapIn(pw::Wide(path), file, pw::Wide(swap), out);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The same source in one of the encodings a file can be in.
struct Variant {
    const char* name;
    std::string bytes;
    std::size_t expectedSize;  // after the insertion
};

std::string Utf16Le(const std::string& ascii) {
    std::string out;
    out.reserve(ascii.size() * 2);
    for (char c : ascii) {
        out.push_back(c);
        out.push_back('\0');
    }
    return out;
}

// Reads the file whole into a string, in the insertion's pieces; with
// `check`, each piece also goes through the UTF-8 check of the encoding
// decision, as the insertion does.
bool ReadWhole(const std::string& path, std::string& text, pw::Utf8Check* check) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = ReadOpenFile(file, text, pw::kReadPiece, check);
    CloseHandle(file);
    return ok;
}

// The file's bytes, or nothing when it cannot be read.
std::string FileBytes(const std::string& path) {
    std::string bytes;
    return ReadWhole(path, bytes, nullptr) ? bytes : std::string();
}

void Report(const char* what, const char* base, std::vector<double>& a, const char* name, std::vector<double>& b) {
    std::printf("%s\n", what);
    std::printf("  %-16s %9.1f ms  %9.1f ms\n", base, Median(a), *std::min_element(a.begin(), a.end()));
    std::printf("  %-16s %9.1f ms  %9.1f ms\n", name, Median(b), *std::min_element(b.begin(), b.end()));
    std::printf("  ratio            %9.3f\n", Median(b) / Median(a));
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
    const std::size_t grown = markers * (kCode.size() - 6);
    // One character beyond ASCII up front makes the whole file a UTF-8 one to
    // be checked to its end.
    const std::string utf8 = "// Gr\xC3\xBC\xC3\x9F\x65\r\n" + source.substr(10);
    const Variant variants[] = {
        {"code page", source, source.size() + grown},
        {"UTF-8", utf8, utf8.size() + grown},
        {"UTF-16 LE", "\xFF\xFE" + Utf16Le(source), 2 + 2 * (source.size() + grown)},
    };

    std::printf("file %zu MiB, %zu markers, %d runs (median, min)\n", mib, markers, runs);
    bool ok = true;
    for (const Variant& v : variants) {
        std::vector<double> plain;
        std::vector<double> swapped;
        std::vector<double> insert;
        // The text an insertion gives, for the bare swap to write; each timed
        // insertion must give it again.
        ok = ok && Restore(path, v.bytes) &&
             pw::InsertInSource(kCode, path, kMarkers, pw::AsciiFileEncoding::CodePage) == pw::InsertOutcome::Inserted;
        const std::string result = ok ? FileBytes(path) : std::string();
        ok = ok && result.size() == v.expectedSize;
        auto timePlain = [&] {
            ok = ok && Restore(path, v.bytes);
            const double start = Now();
            ok = ok && ReadAndWrite(path);
            plain.push_back(Now() - start);
        };
        auto timeSwap = [&] {
            ok = ok && Restore(path, v.bytes);
            const double start = Now();
            ok = ok && ReadAndSwap(path, result);
            swapped.push_back(Now() - start);
        };
        auto timeInsert = [&] {
            ok = ok && Restore(path, v.bytes);
            const double start = Now();
            const pw::InsertOutcome outcome =
                pw::InsertInSource(kCode, path, kMarkers, pw::AsciiFileEncoding::CodePage);
            insert.push_back(Now() - start);
            ok = ok && outcome == pw::InsertOutcome::Inserted && FileBytes(path) == result;
        };
        // The swap next to the insertion, each first every other run.
        for (int run = 0; run < runs && ok; ++run) {
            if (run % 2 == 0) {
                timePlain();
                timeSwap();
                timeInsert();
            } else {
                timeInsert();
                timeSwap();
                timePlain();
            }
        }
        if (!ok) break;
        Report(v.name, "read+write", plain, "InsertInSource", insert);
        std::printf("  read+swap        %9.1f ms  %9.1f ms  (ratio to read+write %.3f)\n", Median(swapped),
                    *std::min_element(swapped.begin(), swapped.end()), Median(swapped) / Median(plain));
        // Each run's insertion against the swap beside it: a drift of the
        // machine within the run moves both.
        std::vector<double> paired;
        for (std::size_t i = 0; i < insert.size(); ++i) paired.push_back(insert[i] / swapped[i]);
        std::printf("  InsertInSource against read+swap: ratio %.3f, median of the runs' own %.3f\n",
                    Median(insert) / Median(swapped), Median(paired));
    }

    // The flush that makes the new file safe before it replaces the old one:
    // a new file of the inserted size written and closed, with and without it.
    std::vector<double> unflushed;
    std::vector<double> flushed;
    const std::string newFile = path + ".new";
    const std::string spliced(variants[0].expectedSize, 'x');
    for (int run = 0; run < 2 * runs && ok; ++run) {
        const bool flush = run % 2 != 0;
        DeleteFileA(newFile.c_str());
        const double start = Now();
        HANDLE file =
            CreateFileA(newFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        ok = file != INVALID_HANDLE_VALUE && WriteWhole(file, spliced) && (!flush || FlushFileBuffers(file));
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        (flush ? flushed : unflushed).push_back(Now() - start);
    }
    DeleteFileA(newFile.c_str());
    if (ok) Report("the flush (a new file of the inserted size)", "written", unflushed, "written+flushed", flushed);

    // The encoding decision against the read it goes with, on the UTF-8 file
    // (checked to its end, as an ASCII file is): the read alone and the read
    // with the decision, in turns.
    std::vector<double> read;
    std::vector<double> decide;
    std::string text;
    ok = ok && Restore(path, utf8);
    for (int run = 0; run < 2 * runs && ok; ++run) {
        const bool withDecision = run % 2 != 0;
        pw::Utf8Check check;
        const double start = Now();
        ok = ReadWhole(path, text, withDecision ? &check : nullptr);
        if (withDecision) {
            ok = ok && pw::DecideSourceEncoding(text, check, pw::AsciiFileEncoding::CodePage).encoding ==
                           pw::SourceEncoding::Utf8;
        }
        (withDecision ? decide : read).push_back(Now() - start);
    }
    if (ok) Report("encoding decision (UTF-8 file)", "read", read, "read+decision", decide);

    DeleteFileA(path.c_str());
    if (!ok) {
        std::fprintf(stderr, "benchmark failed (file could not be prepared, or the insertion went wrong)\n");
        return 1;
    }
    return 0;
}
