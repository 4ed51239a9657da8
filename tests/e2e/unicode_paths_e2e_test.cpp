// The program in a folder whose name the ANSI code page (1252 here) lacks:
// its settings beside it, target files named on the command line, and the
// pipes, which stay in the code page.
#include <gtest/gtest.h>

#include <string>

#include "common/wide_win32.h"
#include "e2e/console_run_win32.h"
#include "e2e/driver_win32.h"

namespace e2e {
namespace {

const std::string kNihon = "\xE6\x97\xA5\xE6\x9C\xAC";

TEST(UnicodePaths, ProgramInAFolderOutsideTheCodePage) {
    const TempDir dir;
    const std::string folder = dir.Folder("Werkzeuge " + kNihon + " \xE2\x9C\x93");
    const std::string exe = folder + "\\promptwright.exe";
    ASSERT_TRUE(CopyFileW(test::Wide(ProgramUnderTest()).c_str(), test::Wide(exe).c_str(), FALSE));
    // A settings file in UTF-16, with a slot name the code page lacks.
    const std::wstring settings =
        L"\xFEFF[QuickBox]\r\nAsk=MessageBox(NULL, \"a\", \"b\", MB_OK);\r\n" + test::Wide(kNihon) + L"=x\r\n";
    ASSERT_TRUE(TempDir::WriteBytes(folder + "\\promptwright.ini",
                                    std::string(reinterpret_cast<const char*>(settings.data()), settings.size() * 2)));

    // Started by name through PATH from another folder, it finds them
    // beside itself; the pipe in the code page cannot take the name.
    std::wstring path(32767, L'\0');
    path.resize(GetEnvironmentVariableW(L"PATH", path.data(), static_cast<DWORD>(path.size())));
    SetEnvironmentVariableW(L"PATH", (test::Wide(folder) + L";" + path).c_str());
    ConsoleRunOptions byName;
    byName.byName = true;
    const ConsoleRun listed = RunConsole(exe, {"-LIST"}, dir.path(), byName);
    SetEnvironmentVariableW(L"PATH", path.c_str());
    EXPECT_EQ(listed.exitCode, 2);
    EXPECT_EQ(listed.output, "");
    EXPECT_EQ(listed.error,
              "promptwright: Error while writing standard output: the ANSI code page lacks U+65E5 U+672C; nothing "
              "was written\r\n");

    // Target files whose names the code page lacks (grüße_日本.c); messages name
    // those characters by code point.
    const std::string marked = "gr\xC3\xBC\xC3\x9F\x65_" + kNihon + ".c";
    const std::string plain = "ohne_" + kNihon + ".c";
    ASSERT_TRUE(TempDir::WriteBytes(folder + "\\" + marked, "/* \xE9 */ /*MB*/\r\n"));
    ASSERT_TRUE(TempDir::WriteBytes(folder + "\\" + plain, "int a;\r\n"));
    const ConsoleRun inserted = RunConsole(exe, {"-INSERT:Ask", marked, plain}, folder);
    EXPECT_EQ(inserted.exitCode, 1);
    EXPECT_EQ(inserted.error, "promptwright: ohne_<U+65E5><U+672C>.c: no insertion marker\r\n");
    EXPECT_EQ(TempDir::ReadBytes(folder + "\\" + marked), "/* \xE9 */ MessageBox(NULL, \"a\", \"b\", MB_OK);\r\n");
    EXPECT_EQ(inserted.windowsCreated, 0);
}

}  // namespace
}  // namespace e2e
