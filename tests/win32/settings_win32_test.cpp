// Start-up against real settings files and the real profile functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include "common/temp_dir_win32.h"
#include "core/settings/app_settings.h"
#include "win32/quickbox_store_win32.h"
#include "win32/settings_win32.h"
#include "win32/text_win32.h"

namespace pw {
namespace {

class StartupFiles : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& content) { return temp_.Write(name, content); }
    AppSettings Start(std::vector<std::string> args) {
        Win32StartupEnvironment env;
        return ReadStartup(args, env);
    }
    test::TempDir temp_;
    const std::string dir_ = temp_.path();
};

TEST_F(StartupFiles, MissingFileGivesTheDefaults) {
    const AppSettings s = Start({dir_ + "\\prog.exe"});
    EXPECT_EQ(s.settingsPath, dir_ + "\\prog.ini");
    EXPECT_EQ(s.markers, (std::vector<std::string>{"/*MB*/", "/*mb*/"}));
    EXPECT_EQ(s.parents, (std::vector<std::string>{"GetActiveWindow()", "NULL"}));
    EXPECT_EQ(s.insertCopy, ClipboardMode::Ask);
    EXPECT_TRUE(s.insertShutDown);
    EXPECT_EQ(s.layout, Layout::Simple);
    EXPECT_TRUE(s.targetFiles.empty());
}

TEST_F(StartupFiles, KeysAreReadFromTheFileNextToTheProgram) {
    Write("prog.ini",
          "[settings]\r\nInsertionCode=/*A*/ /*B*/\r\nadvanced=1\r\nParent=hWnd\r\n"
          "InsertShutDown=0\r\nInsertCopy=3\r\nStartupQuickBox=Alpha\r\n");
    const AppSettings s = Start({dir_ + "\\prog.exe"});
    EXPECT_EQ(s.markers, (std::vector<std::string>{"/*A*/", "/*B*/"}));
    EXPECT_EQ(s.parents, (std::vector<std::string>{"hWnd"}));
    EXPECT_EQ(s.layout, Layout::Advanced);
    EXPECT_FALSE(s.insertShutDown);
    EXPECT_EQ(s.insertCopy, ClipboardMode::CopyFile);
    EXPECT_EQ(s.startupQuickBox, "Alpha");
}

TEST_F(StartupFiles, EmptyListValuesReplaceTheDefaults) {
    Write("prog.ini", "[Settings]\r\nInsertionCode=\r\nParent=\r\n");
    const AppSettings s = Start({dir_ + "\\prog.exe", "-IC:/*x*/"});
    EXPECT_EQ(s.markers, (std::vector<std::string>{"/*x*/"}));
    EXPECT_TRUE(s.parents.empty());
}

TEST_F(StartupFiles, ConfigOptionAndLocationRedirect) {
    const std::string other = Write("other.ini", "[Settings]\r\nStartupQuickBox=other\r\n");
    Write("prog.ini", "[Settings]\r\nlocation=%PW_TEST_DIR%\\other.ini\r\nStartupQuickBox=prog\r\n");
    SetEnvironmentVariableA("PW_TEST_DIR", dir_.c_str());
    EXPECT_EQ(Start({dir_ + "\\prog.exe"}).settingsPath, other);
    EXPECT_EQ(Start({dir_ + "\\prog.exe"}).startupQuickBox, "other");

    // -CONFIG: skips the default rule, and its own "location" is not followed.
    const std::string mine = Write("mine.ini", "[Settings]\r\nlocation=" + other + "\r\nStartupQuickBox=mine\r\n");
    const AppSettings s = Start({dir_ + "\\prog.exe", "-config:" + mine});
    EXPECT_EQ(s.settingsPath, mine);
    EXPECT_EQ(s.startupQuickBox, "mine");

    // A -CONFIG: naming no file is ignored.
    EXPECT_EQ(Start({dir_ + "\\prog.exe", "-CONFIG:" + dir_ + "\\absent.ini"}).settingsPath, other);
}

TEST_F(StartupFiles, OnlyExistingFilesBecomeTargets) {
    const std::string a = Write("a.c", "a");
    const std::string b = Write("b.c", "b");
    const AppSettings s = Start({dir_ + "\\prog.exe", a, dir_ + "\\missing.c", dir_, b, "-QIX"});
    EXPECT_EQ(s.targetFiles, (std::vector<std::string>{a, b}));
    EXPECT_FALSE(s.quickInsertOnly);
    EXPECT_TRUE(Start({dir_ + "\\prog.exe", "-qi"}).quickInsertOnly);
}

TEST_F(StartupFiles, IntegersReadAsTheProfileFunctionsReadThem) {
    Write("prog.ini", "[Settings]\r\nadvanced=42A\r\nInsertCopy=B\r\nInsertShutDown=-1\r\n");
    const AppSettings s = Start({dir_ + "\\prog.exe"});
    EXPECT_EQ(s.layout, Layout::Advanced) << "42A reads as 42";
    EXPECT_EQ(s.insertCopy, ClipboardMode::None) << "B reads as 0";
    EXPECT_TRUE(s.insertShutDown) << "any number but 0 closes";
}

TEST_F(StartupFiles, LongListValuesAreReadWhole) {
    std::string markers;
    for (int i = 0; i < 300; ++i) markers += "/*m" + std::to_string(i) + "*/ ";
    Write("prog.ini", "[Settings]\r\nInsertionCode=" + markers + "\r\n");
    const AppSettings s = Start({dir_ + "\\prog.exe"});
    ASSERT_EQ(s.markers.size(), 300u);
    EXPECT_EQ(s.markers.back(), "/*m299*/");
}

// A settings file as Notepad saves it for characters the code page lacks.
std::string Utf16File(const std::string& utf8) {
    const std::wstring wide = Utf16(utf8);
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

const std::string kNihon = "\xE6\x97\xA5\xE6\x9C\xAC";                // the two characters of Japan
const std::string kFolder = "Werkzeuge " + kNihon + " \xE2\x9C\x93";  // outside code page 1252

// Both kinds of settings file are read, and written back in their own encoding.
TEST_F(StartupFiles, Utf16AndCodePageFiles) {
    std::string ini = Write("prog.ini", Utf16File("[Settings]\r\nStartupQuickBox=" + kNihon + "\r\n[QuickBox]\r\n" +
                                                  kNihon + "=\"L\"\\u2713\"\"\r\n"));
    EXPECT_EQ(Start({dir_ + "\\prog.exe"}).startupQuickBox, kNihon);
    EXPECT_EQ(ReadQuickBoxSlot(ini, kNihon).statement, "L\"\\u2713\"");
    ASSERT_EQ(WriteQuickBoxSlot(ini, kFolder, "f();"), SlotWrite::Written);
    EXPECT_EQ(temp_.Read("prog.ini").substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(QuickBoxSlotNames(ini), (std::vector<std::string>{kNihon, kFolder}));
    EXPECT_EQ(ReadQuickBoxSlot(ini, kFolder).statement, "f();");

    ini = Write("ansi.ini", "[QuickBox]\r\nM\xFCnchen=\"A(\"\xE9\")\"\r\n");
    EXPECT_EQ(ReadQuickBoxSlot(ini, "M\xC3\xBCnchen").statement, "A(\"\xC3\xA9\")");
    ASSERT_EQ(WriteQuickBoxSlot(ini, "M\xC3\xBCnchen", "B(\"\xC3\xA0\")"), SlotWrite::Written);
    EXPECT_EQ(temp_.Read("ansi.ini"), "[QuickBox]\r\nM\xFCnchen=\"B(\"\xE0\")\"\r\n");
}

// The program, -CONFIG: and the location key (through a variable: a code
// page file cannot name the folder) in a folder whose name the code page lacks.
TEST_F(StartupFiles, SettingsInAFolderOutsideTheCodePage) {
    const std::string folder = temp_.Folder(kFolder);
    ASSERT_TRUE(test::TempDir::WriteBytes(folder + "\\prog.ini", "[Settings]\r\nadvanced=1\r\n"));
    EXPECT_EQ(Start({folder + "\\prog.exe"}).layout, Layout::Advanced);

    const std::string other = folder + "\\" + kNihon + ".ini";
    ASSERT_TRUE(test::TempDir::WriteBytes(other, "[Settings]\r\nStartupQuickBox=other\r\n"));
    EXPECT_EQ(Start({dir_ + "\\prog.exe", "-CONFIG:" + other}).startupQuickBox, "other");

    Write("prog.ini", "[Settings]\r\nlocation=%PW_TEST_DIR%\\prog.ini\r\n");
    SetEnvironmentVariableW(L"PW_TEST_DIR", Utf16(folder).c_str());
    EXPECT_EQ(Start({dir_ + "\\prog.exe"}).settingsPath, folder + "\\prog.ini");
    SetEnvironmentVariableW(L"PW_TEST_DIR", nullptr);
}

}  // namespace
}  // namespace pw
