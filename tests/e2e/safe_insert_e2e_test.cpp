// A program ended in the middle of an insertion (Task Manager, an editor's
// tool runner timing out) leaves the file as it was or wholly new, never a
// mix, and the next insertion clears what it left beside the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/console_run_win32.h"
#include "e2e/driver_win32.h"

namespace e2e {
namespace {

// 100,000 blocks of one marker each: 256 MiB.
constexpr int kBlocks = 100000;
constexpr std::size_t kBlockSize = 2684;

std::string Block() {
    std::string block = "void f(void) {\r\n    /*MB*/\r\n}\r\n";
    while (block.size() < kBlockSize) block += "    total += values[i] * 3; /* sum */\r\n";
    block.resize(kBlockSize - 2);
    return block + "\r\n";
}

// Writes or compares the file as `count` copies of `block`, a piece at a time,
// so that no copy of the whole file is held.
bool WriteBlocks(const std::string& path, const std::string& block) {
    HANDLE file = CreateFileW(test::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string piece;
    for (int i = 0; i < 400; ++i) piece += block;
    bool ok = true;
    for (int done = 0; ok && done < kBlocks; done += 400) {
        DWORD written = 0;
        ok = WriteFile(file, piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr) &&
             written == piece.size();
    }
    CloseHandle(file);
    return ok;
}

bool HoldsBlocks(const std::string& path, const std::string& block) {
    HANDLE file = CreateFileW(test::Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart == static_cast<LONGLONG>(block.size()) * kBlocks;
    std::string piece(block.size() * 400, '\0');
    for (int done = 0; ok && done < kBlocks; done += 400) {
        DWORD got = 0;
        ok = ReadFile(file, piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr) && got == piece.size();
        for (std::size_t at = 0; ok && at < piece.size(); at += block.size())
            ok = piece.compare(at, block.size(), block) == 0;
    }
    CloseHandle(file);
    return ok;
}

TEST(SafeInsert, EndedAtAnyMomentTheFileIsOldOrNew) {
    TempDir dir;
    const std::string exe = dir.File("promptwright.exe");
    ASSERT_TRUE(CopyFileW(test::Wide(ProgramUnderTest()).c_str(), test::Wide(exe).c_str(), FALSE));
    const std::string path = dir.File("large.c");
    const std::string swap = path + ".~promptwright";
    const std::string oldBlock = Block();
    std::string newBlock = oldBlock;
    newBlock.replace(newBlock.find("/*MB*/"), 6, "MessageBox(0, \"a\", \"b\", MB_OK);");
    ConsoleRunOptions options;
    options.input = "MessageBox(0,\"a\",\"b\",0);";
    options.watchWindows = false;
    const std::vector<std::string> args = {"-INSERT:-", "-ANSWER:none", "large.c"};

    // A whole run, to know how long one takes here.
    ASSERT_TRUE(WriteBlocks(path, oldBlock));
    const ConsoleRun whole = RunConsole(exe, args, dir.path(), options);
    ASSERT_EQ(whole.exitCode, 0) << whole.error;
    ASSERT_TRUE(HoldsBlocks(path, newBlock));

    // A busy machine makes a run slower than the one measured: where too few
    // runs were ended, the next round ends them sooner, so that the test
    // never rests on how fast this machine is.
    int endedEarly = 0;
    for (int round = 1; round <= 6 && endedEarly < 2; ++round) {
        for (int k = 1; k <= 4; ++k) {
            SCOPED_TRACE("ended after " + std::to_string(k) + "/5 of a run, round " + std::to_string(round));
            ASSERT_TRUE(WriteBlocks(path, oldBlock));
            options.timeoutMs = std::max<DWORD>(1, static_cast<DWORD>(whole.milliseconds * k / 5 / (1 << (round - 1))));
            const ConsoleRun ended = RunConsole(exe, args, dir.path(), options);
            if (ended.exitCode == -1000) ++endedEarly;
            EXPECT_TRUE(HoldsBlocks(path, oldBlock) || HoldsBlocks(path, newBlock));
        }
    }
    EXPECT_GE(endedEarly, 2) << "no run was ended, even at 1/160 of a run's time";

    // What an ended run left beside the file goes with the next insertion.
    ASSERT_TRUE(WriteBlocks(path, oldBlock));
    ASSERT_TRUE(TempDir::WriteBytes(swap, "half of a new file"));
    options.timeoutMs = 60000;
    EXPECT_EQ(RunConsole(exe, args, dir.path(), options).exitCode, 0);
    EXPECT_TRUE(HoldsBlocks(path, newBlock));
    EXPECT_EQ(GetFileAttributesW(test::Wide(swap).c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace e2e
