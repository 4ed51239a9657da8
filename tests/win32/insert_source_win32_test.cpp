#include "win32/insert_source_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "common/temp_dir_win32.h"
#include "win32/raii_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

using namespace std::string_literals;

const std::vector<std::string> kMarkers = {"/*MB*/", "/*mb*/"};
const std::string kCode = "MessageBox(NULL, \"Saved\", \"Demo\", MB_OK);";
// What fileText holds before a call: the call must not leave it there.
const std::optional<std::string> kStale = "text of an earlier call";
constexpr AsciiFileEncoding kAnsi = AsciiFileEncoding::CodePage;

class InsertSource : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir_.File(name); }

    static void WriteBytes(const std::string& path, const std::string& bytes) {
        HANDLE file = CreateFileW(test::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        ASSERT_TRUE(ok && written == bytes.size());
    }

    static std::string ReadBytes(const std::string& path) {
        HANDLE file = CreateFileW(test::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<not opened>";
        LARGE_INTEGER size;
        GetFileSizeEx(file, &size);
        std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        bytes.resize(got);
        return bytes;
    }

    const test::TempDir dir_;
};

TEST_F(InsertSource, FileThatCannotBeOpenedIsLeftAlone) {
    const std::string text = "int a; /*MB*/\r\n";
    struct Case {
        const char* name;
        void (*prepare)(const std::string& path, const std::string& text);
    } const cases[] = {
        {"missing", [](const std::string&, const std::string&) {}},
        {"directory",
         [](const std::string& path, const std::string&) { CreateDirectoryW(test::Wide(path).c_str(), nullptr); }},
        {"read-only",
         [](const std::string& path, const std::string& text) {
             WriteBytes(path, text);
             SetFileAttributesW(test::Wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
         }},
        {"held open", [](const std::string& path, const std::string& text) { WriteBytes(path, text); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(c.name);
        c.prepare(path, text);
        UniqueHandle holder;  // another handle that allows reading only
        if (std::string(c.name) == "held open") {
            holder = UniqueHandle(CreateFileW(test::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder.Valid());
        }
        std::optional<std::string> fileText = kStale;
        EXPECT_EQ(InsertInSource(kCode, path, kMarkers, kAnsi, &fileText), InsertOutcome::OpenFailed);
        holder.Reset();
        if (std::string(c.name) != "missing" && std::string(c.name) != "directory") {
            EXPECT_EQ(ReadBytes(path), text);
        }
        EXPECT_EQ(fileText, std::nullopt);
    }
}

TEST_F(InsertSource, FileWithoutMarkerIsLeftAloneAndGivesItsText) {
    // A UTF-16 file whose marker lies across two code units holds none; a BEL
    // and a marker in the wrong case are no markers; an empty file holds
    // nothing.
    std::string utf16 =
        "\xFF\xFE"
        "a"s;
    for (char c : "/*MB*/"s) utf16 += std::string{c, '\0'};
    const struct {
        const char* name;
        std::string text;
        std::string fileText;
    } cases[] = {{"BEL and wrong case", "int x;\a\r\n/*Mb*/ /*mB*/\r\n", "int x;\a\r\n/*Mb*/ /*mB*/\r\n"},
                 {"UTF-16, marker across units", utf16,
                  // U+2F61 U+2A00 U+4D00 U+4200 U+2A00 U+2F00, and the odd byte left
                  "\xE2\xBD\xA1\xE2\xA8\x80\xE4\xB4\x80\xE4\x88\x80\xE2\xA8\x80\xE2\xBC\x80\xEF\xBF\xBD"},
                 {"empty", "", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("plain.c");
        WriteBytes(path, c.text);
        std::optional<std::string> fileText = kStale;
        EXPECT_EQ(InsertInSource(kCode, path, kMarkers, kAnsi, &fileText), InsertOutcome::NoMarker);
        EXPECT_EQ(fileText, c.fileText);
        EXPECT_EQ(InsertInSource(kCode, path, kMarkers, kAnsi), InsertOutcome::NoMarker);
        EXPECT_EQ(ReadBytes(path), c.text);
    }
}

TEST_F(InsertSource, MarkersAreReplacedByTheCode) {
    struct Case {
        const char* name;
        std::string source;
        std::string code;
        std::string expected;
    } const cases[] = {
        {"three times", "a/*MB*/b/*MB*/c/*MB*/", "<x>", "a<x>b<x>c<x>"},
        {"two markers", "{\r\n\t/*mb*/\r\n\t/*MB*/\r\n}\r\n", "f();", "{\r\n\tf();\r\n\tf();\r\n}\r\n"},
        {"case counts", "/*Mb*/ /*mb*/ /*MB*/", "f();", "/*Mb*/ f(); f();"},
        {"marker in the code", "x /*MB*/ y", "f(/*MB*/);", "x f(/*MB*/); y"},
        {"BEL kept", "\a/*MB*/\a", "f();", "\af();\a"},
        {"zero bytes kept", "\0\0 /*MB*/ \0 /*mb*/"s, "f();", "\0\0 f(); \0 f();"s},
        {"shorter result", "/*MB*/ and a long tail that must not stay behind", "",
         " and a long tail that must not stay behind"},
        {"same length", "1/*MB*/2", "f(1);", "1f(1);2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("target.c");
        WriteBytes(path, c.source);
        std::optional<std::string> fileText = kStale;
        EXPECT_EQ(InsertInSource(c.code, path, kMarkers, kAnsi, &fileText), InsertOutcome::Inserted);
        EXPECT_EQ(ReadBytes(path), c.expected);
        EXPECT_EQ(fileText, c.expected);
    }
}

// Code, markers and path are UTF-8; the file is in the code page (1252 here).
// Code the code page cannot hold leaves the file alone, with no '?' in it.
TEST_F(InsertSource, FileInTheCodePageAtAPathOutsideIt) {
    const std::string nihon = "\xE6\x97\xA5\xE6\x9C\xAC";
    const std::string folder = dir_.Folder("Werkzeuge " + nihon + " \xE2\x9C\x93");
    const std::string path = folder + "\\gr\xC3\xBC\xC3\x9F\x65_" + nihon + ".c";
    const std::string source = "/* Gr\xFC\xDF\x65 */ /*MB*/ /*\xE9*/";
    const std::vector<std::string> markers = {"/*MB*/", "/*\xC3\xA9*/", "/*" + nihon + "*/"};
    const struct {
        const char* name;
        std::string code;
        InsertOutcome outcome;
        std::string bytes;  // of the file afterwards
    } cases[] = {
        {"code in the code page", "A(\"\xC3\xA0\");", InsertOutcome::Inserted,
         "/* Gr\xFC\xDF\x65 */ A(\"\xE0\"); A(\"\xE0\");"},
        {"code the code page lacks", "A(\"\xE2\x9C\x93\");", InsertOutcome::Unencodable, source},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(path, source);
        std::optional<std::string> fileText = kStale;
        EXPECT_EQ(InsertInSource(c.code, path, markers, kAnsi, &fileText), c.outcome);
        EXPECT_EQ(ReadBytes(path), c.bytes);
        if (c.outcome == InsertOutcome::Inserted) {
            EXPECT_EQ(fileText, AnsiToUtf8(c.bytes));
        } else {
            EXPECT_EQ(fileText, std::nullopt);
        }
    }
}

// UTF-16 LE or BE bytes of UTF-8 text.
std::string Utf16Bytes(std::string_view utf8, bool bigEndian) {
    std::string bytes;
    for (wchar_t unit : Utf16(utf8)) {
        const char units[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        bytes += bigEndian ? std::string{units[1], units[0]} : std::string{units[0], units[1]};
    }
    return bytes;
}

// Each file gets the code, and the markers are matched, in its own encoding;
// every other byte stays. `fileText` is the new text, decoded, without a BOM.
TEST_F(InsertSource, CodeIsWrittenInTheFilesEncoding) {
    const std::string koeln = "K\xC3\xB6ln";
    const std::string code =
        "MessageBox(GetActiveWindow(), \"Sch\xC3\xB6ne Gr\xC3\xBC\xC3\x9F\x65\", \"" + koeln + "\", MB_OK);";
    const std::string greeting = "// Gr\xC3\xBC\xC3\x9F\x65 aus " + koeln + " \xE2\x9C\x93\r\n";
    const std::string wideText = "\xE2\x9C\x93 \xF0\x9F\x98\x80 /*MB*/\r\n/*mb*/";
    const std::string wideDone = "\xE2\x9C\x93 \xF0\x9F\x98\x80 " + code + "\r\n" + code;
    const std::vector<std::string> withKoeln = {"/*MB*/", "/*" + koeln + "*/"};
    const struct {
        const char* name;
        std::string before;
        AsciiFileEncoding asciiFiles;
        std::vector<std::string> markers;
        std::string after;
        std::string fileText;
    } cases[] = {
        {"UTF-8", greeting + "/*MB*/\r\n", kAnsi, kMarkers, greeting + code + "\r\n", greeting + code + "\r\n"},
        {"UTF-8, a marker beyond ASCII", greeting + "/*" + koeln + "*/", kAnsi, withKoeln, greeting + code,
         greeting + code},
        {"UTF-8 BOM, ASCII text", "\xEF\xBB\xBFint a;/*MB*/", kAnsi, kMarkers, "\xEF\xBB\xBFint a;" + code,
         "int a;" + code},
        {"ASCII, taken as UTF-8", "int a;/*MB*/\n", AsciiFileEncoding::Utf8, kMarkers, "int a;" + code + "\n",
         "int a;" + code + "\n"},
        {"ASCII, taken as the code page", "/*MB*/", kAnsi, kMarkers,
         "MessageBox(GetActiveWindow(), \"Sch\xF6ne Gr\xFC\xDF\x65\", \"K\xF6ln\", MB_OK);", code},
        {"UTF-16 LE", "\xFF\xFE" + Utf16Bytes(wideText, false), kAnsi, kMarkers,
         "\xFF\xFE" + Utf16Bytes(wideDone, false), wideDone},
        {"UTF-16 BE", "\xFE\xFF" + Utf16Bytes(wideText, true), kAnsi, kMarkers, "\xFE\xFF" + Utf16Bytes(wideDone, true),
         wideDone},
        {"UTF-16 LE of odd length, a marker beyond ASCII", "\xFF\xFE" + Utf16Bytes("/*" + koeln + "*/", false) + "!",
         kAnsi, withKoeln, "\xFF\xFE" + Utf16Bytes(code, false) + "!", code + "\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("encoded.c");
        WriteBytes(path, c.before);
        std::optional<std::string> fileText;
        EXPECT_EQ(InsertInSource(code, path, c.markers, c.asciiFiles, &fileText), InsertOutcome::Inserted);
        EXPECT_EQ(ReadBytes(path), c.after);
        EXPECT_EQ(fileText, c.fileText);
    }
}

// A write that fails midway leaves a file of every encoding as it was.
TEST_F(InsertSource, FailedWriteLeavesAFileOfAnyEncodingAsItWas) {
    std::string body;
    while (body.size() < (3u << 20)) body += "\tx = Gr\xC3\xBC\xC3\x9F\x65(); /*MB*/\r\n";
    const struct {
        const char* name;
        std::string text;
    } cases[] = {
        {"code page", "/* \xFC */" + body},
        {"UTF-8", body},
        {"UTF-8 BOM", "\xEF\xBB\xBF" + body},
        {"UTF-16 LE", "\xFF\xFE" + Utf16Bytes(body, false)},
        {"UTF-16 BE", "\xFE\xFF" + Utf16Bytes(body, true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("fails.c");
        WriteBytes(path, c.text);
        const FileFaultHook faults = [](FileStep step, int count) { return step == FileStep::Write && count == 3; };
        EXPECT_EQ(InsertInSource(kCode, path, kMarkers, kAnsi, nullptr, faults), InsertOutcome::WriteFailed);
        EXPECT_TRUE(ReadBytes(path) == c.text);
    }
}

std::string LargeSource(std::size_t size) {
    std::string text;
    text.reserve(size);
    while (text.size() < size) text += "    total += values[i] * 3; /* sum */\r\n";
    text.resize(size);
    text.replace(10, 6, "/*MB*/");
    text.replace(size - 20, 6, "/*mb*/");
    return text;
}

std::string Spliced(std::string text, const std::string& code) {
    text.replace(text.size() - 20, 6, code);
    text.replace(10, 6, code);
    return text;
}

TEST_F(InsertSource, LargeFileIsRewrittenWholeWhileOthersMayOnlyRead) {
    const std::string path = Path("large.c");
    const std::string text = LargeSource(10 << 20);
    WriteBytes(path, text);
    DWORD writerError = 0;
    bool readerOpened = false;
    const FileFaultHook tryOthers = [&](FileStep step, int count) {
        if (step == FileStep::Write && count == 1) {
            const UniqueHandle writer(CreateFileW(test::Wide(path).c_str(), GENERIC_WRITE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
            writerError = writer.Valid() ? 0 : GetLastError();
            const UniqueHandle reader(CreateFileW(test::Wide(path).c_str(), GENERIC_READ,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr));
            readerOpened = reader.Valid();
        }
        return false;
    };
    EXPECT_EQ(InsertInSource(kCode, path, kMarkers, kAnsi, nullptr, tryOthers), InsertOutcome::Inserted);
    EXPECT_EQ(writerError, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(readerOpened);
    EXPECT_TRUE(ReadBytes(path) == Spliced(text, kCode));
}

// Fails the listed steps, each at its count (0: at every count).
FileFaultHook FailAt(std::vector<std::pair<FileStep, int>> steps, bool* injected = nullptr) {
    return [steps = std::move(steps), injected](FileStep step, int count) {
        const bool fail = std::find(steps.begin(), steps.end(), std::pair{step, count}) != steps.end() ||
                          std::find(steps.begin(), steps.end(), std::pair{step, 0}) != steps.end();
        if (fail && injected != nullptr) *injected = true;
        return fail;
    };
}

// Every failure leaves the file as it was and no new file beside it, on the
// way through a new file and in place (where no new file can be made or the
// rename is held past a second). The new text is still given once the file was read, as the
// clipboard takes it before the write.
TEST_F(InsertSource, FailedFileWorkLeavesTheFileAsItWas) {
    const std::string large = LargeSource(10 << 20);
    const std::string largeSpliced = Spliced(large, kCode);
    const std::string shrinking = "/*MB*/ tail " + std::string(3000, 't');
    const std::string shrunk = shrinking.substr(6);
    using S = FileStep;
    struct Case {
        const char* name;
        const std::string& text;
        std::string code;
        std::vector<std::pair<FileStep, int>> fail;
        InsertOutcome outcome;
        const std::string* newText;  // what fileText is set to, if anything
    } const cases[] = {
        {"read", large, kCode, {{S::Read, 2}}, InsertOutcome::ReadFailed, nullptr},
        {"first write", large, kCode, {{S::Write, 1}}, InsertOutcome::WriteFailed, &largeSpliced},
        {"write after 2 MiB", large, kCode, {{S::Write, 3}}, InsertOutcome::WriteFailed, &largeSpliced},
        {"last write", large, kCode, {{S::Write, 11}}, InsertOutcome::WriteFailed, &largeSpliced},
        {"flush", large, kCode, {{S::Flush, 1}}, InsertOutcome::WriteFailed, &largeSpliced},
        {"in place: grow (disk full)", large, kCode, {{S::CreateSwap, 1}, {S::SetLength, 1}},
         InsertOutcome::WriteFailed, &largeSpliced},
        {"in place: write after 2 MiB", large, kCode, {{S::CreateSwap, 1}, {S::Write, 3}}, InsertOutcome::WriteFailed,
         &largeSpliced},
        {"in place: flush", large, kCode, {{S::CreateSwap, 1}, {S::Flush, 1}}, InsertOutcome::WriteFailed,
         &largeSpliced},
        {"in place: shrink", shrinking, "", {{S::CreateSwap, 1}, {S::SetLength, 1}}, InsertOutcome::WriteFailed,
         &shrunk},
        {"rename held throughout", large, kCode, {{S::Replace, 0}}, InsertOutcome::WriteFailed, &largeSpliced},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("fails.c");
        WriteBytes(path, c.text);
        bool injected = false;
        std::optional<std::string> fileText = kStale;
        EXPECT_EQ(InsertInSource(c.code, path, kMarkers, kAnsi, &fileText, FailAt(c.fail, &injected)), c.outcome);
        EXPECT_TRUE(injected);
        EXPECT_TRUE(ReadBytes(path) == c.text);
        EXPECT_EQ(ReadBytes(path + ".~promptwright"), "<not opened>");
        ASSERT_EQ(fileText.has_value(), c.newText != nullptr);
        if (fileText) {
            EXPECT_TRUE(*fileText == *c.newText);
        }
    }
}

// When putting the file back after a failed write in place fails as well,
// the outcome says so: the file may hold a mix of old and new text.
TEST_F(InsertSource, FailedUndoIsToldApartFromAnUnchangedFile) {
    const std::string large = LargeSource(10 << 20);
    const struct {
        const char* name;
        FileStep step;
        int from;  // this step fails from this count on, the undo's included
    } cases[] = {
        {"writes after 2 MiB", FileStep::Write, 3},
        {"every flush", FileStep::Flush, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("damaged.c");
        WriteBytes(path, large);
        const FileFaultHook faults = [&](FileStep step, int count) {
            return step == FileStep::CreateSwap || (step == c.step && count >= c.from);
        };
        EXPECT_EQ(InsertInSource(kCode, path, kMarkers, kAnsi, nullptr, faults), InsertOutcome::WriteFailedDamaged);
    }
}

// What a scanner does to a file it checks: opens it for reading, sharing
// neither writing nor deleting, for one attempt at the step, then lets go.
enum class Holder { None, Target, NewFile };

// How the new text gets in: through a new file swapped in, keeping the
// file's attributes, after a scanner's hold on the target or the new file; in
// place, and told so, where a swap would cut a hard link or cannot be made.
// Either way the result is the same and nothing is left beside it, not even
// what an ended run left.
TEST_F(InsertSource, NewTextGoesInThroughANewFileOrInPlace) {
    const std::string text = "int a; /*MB*/\r\n";
    const std::string done = "int a; " + kCode + "\r\n";
    const DWORD hidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    const struct {
        const char* name;
        bool secondLink;
        bool leftover;
        std::vector<std::pair<FileStep, int>> fail;
        Holder holder;
        InsertOutcome outcome;
    } cases[] = {
        {"plain file", false, false, {}, Holder::None, InsertOutcome::Inserted},
        {"leftover of an ended run", false, true, {}, Holder::None, InsertOutcome::Inserted},
        {"second hard link", true, false, {}, Holder::None, InsertOutcome::InsertedInPlace},
        {"no file can be made beside it", false, false, {{FileStep::CreateSwap, 1}}, Holder::None,
         InsertOutcome::InsertedInPlace},
        {"target held at the probe", false, false, {}, Holder::Target, InsertOutcome::Inserted},
        // Where the rename goes through the new file's own handle (Windows 10),
        // nothing can open the file to hold it; the rename itself is held then.
        {"new file held at the rename", false, false, {}, Holder::NewFile, InsertOutcome::Inserted},
        {"rename held twice", false, false, {{FileStep::Replace, 1}, {FileStep::Replace, 2}}, Holder::None,
         InsertOutcome::Inserted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path("way.c");
        const std::string link = Path("way-link.c");
        const std::string swap = path + ".~promptwright";
        DeleteFileW(test::Wide(link).c_str());
        SetFileAttributesW(test::Wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteBytes(path, text);
        SetFileAttributesW(test::Wide(path).c_str(), hidden);
        if (c.secondLink) {
            ASSERT_TRUE(CreateHardLinkW(test::Wide(link).c_str(), test::Wide(path).c_str(), nullptr));
        }
        if (c.leftover) WriteBytes(swap, "half a new file");
        const test::FileId before = test::IdOf(path);

        const FileFaultHook failing = FailAt(c.fail);
        UniqueHandle scanner;
        int holds = 0;
        const FileFaultHook faults = [&](FileStep step, int count) {
            const FileStep at = c.holder == Holder::Target ? FileStep::Open : FileStep::Replace;
            if (c.holder != Holder::None && step == at) {
                const bool letGo = scanner.Valid();
                scanner.Reset();
                if (!letGo && holds == 0) {
                    scanner = UniqueHandle(CreateFileW(test::Wide(c.holder == Holder::Target ? path : swap).c_str(),
                                                       GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                                       nullptr));
                    holds += scanner.Valid() ? 1 : 0;
                }
            }
            return failing(step, count);
        };
        EXPECT_EQ(InsertInSource(kCode, path, kMarkers, kAnsi, nullptr, faults), c.outcome);
        if (c.holder == Holder::Target) {
            EXPECT_EQ(holds, 1);
        }
        scanner.Reset();
        EXPECT_EQ(ReadBytes(path), done);
        if (c.secondLink) {
            EXPECT_EQ(ReadBytes(link), done);
        }
        EXPECT_EQ(ReadBytes(swap), "<not opened>");
        WIN32_FILE_ATTRIBUTE_DATA after{};
        ASSERT_TRUE(GetFileAttributesExW(test::Wide(path).c_str(), GetFileExInfoStandard, &after));
        EXPECT_EQ(after.dwFileAttributes & hidden, hidden);
        EXPECT_EQ(test::IdOf(path) != before, c.outcome == InsertOutcome::Inserted);
    }
}

}  // namespace
}  // namespace pw
