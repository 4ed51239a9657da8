// Start-up against real settings files and the real profile functions.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <optional>

#include "common/temp_dir_win32.h"
#include "core/settings/app_settings.h"
#include "win32/quickbox_store_win32.h"
#include "win32/raii_win32.h"
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

// Windows reads a settings file as the code page unless it starts with FF FE:
// a UTF-8 one is converted once, every character kept, and then read; one
// that cannot be converted is named, not read as if it had no sections.
// (Wine's profile functions read UTF-8 after its mark too: the bytes of the
// file tell the conversion.)
TEST_F(StartupFiles, Utf8FilesAreConvertedOnceOrNamed) {
    SetEnvironmentVariableA("PW_TEST_DIR", dir_.c_str());
    const std::string bom = "\xEF\xBB\xBF";
    const std::string redirect = "[Settings]\r\nlocation=%PW_TEST_DIR%\\moved.ini\r\n";
    const std::string slots =
        "[Settings]\r\nStartupQuickBox=" + kNihon + "\r\n[QuickBox]\r\n" + kNihon + "=\"f(\"\xC3\xA9\");\"\r\n";
    const std::string ansi = "[Settings]\r\nStartupQuickBox=M\xFCnchen\r\n";
    const struct {
        const char* name;
        std::string prog, moved;  // the bytes of prog.ini and of the file its location names
        bool readOnly;
        std::string startupQuickBox;
        bool converted, named;
    } cases[] = {
        {"UTF-8 with a BOM, then without", bom + redirect, slots, false, kNihon, true, false},
        {"read-only UTF-8", bom + redirect, slots, true, "", false, true},
        {"code page", ansi, ansi, false, "M\xC3\xBCnchen", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string prog = Write("prog.ini", c.prog), moved = Write("moved.ini", c.moved);
        if (c.readOnly) SetFileAttributesW(Wide(prog).c_str(), FILE_ATTRIBUTE_READONLY);
        Win32StartupEnvironment env;
        const AppSettings s = ReadStartup({dir_ + "\\prog.exe"}, env);
        SetFileAttributesW(Wide(prog).c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(s.startupQuickBox, c.startupQuickBox);
        EXPECT_EQ(env.Problems(), c.named ? std::vector<std::string>{Utf8ProfileProblem(prog)}
                                          : std::vector<std::string>{});
        const auto after = [&](const std::string& bytes) {
            return c.converted ? Utf16File(bytes.substr(bytes.rfind(bom, 0) == 0 ? 3 : 0)) : bytes;
        };
        EXPECT_EQ(temp_.Read("prog.ini"), after(c.prog));
        if (c.converted) {
            EXPECT_EQ(s.settingsPath, moved);
            EXPECT_EQ(temp_.Read("moved.ini"), after(c.moved));
            EXPECT_EQ(ReadQuickBoxSlot(moved, kNihon).statement, "f(\"\xC3\xA9\");");
        }
        EXPECT_EQ(temp_.Read("prog.ini.~promptwright"), "");
    }
}

// A change goes into a copy that then takes the file's place, or, where that
// would be wrong or cannot be, into the file itself; either way the bytes are
// those the profile functions write in place, and the copy is gone after.
TEST_F(StartupFiles, ValuesAreSwappedInOrWrittenInPlace) {
    enum class Way { Swapped, Created, InPlace, Refused };
    enum class Setup { None, Leftover, HardLink, CopyNameTaken, HeldOpen, ReadOnly };
    const std::string ansi = "[Settings]\r\nCharacterSet=1\r\n[QuickBox]\r\nA=\"a();\"\r\n";
    const std::vector<ProfileValue> two = {{"Settings", "CharacterSet", "2"}, {"QuickBox", "B", "b();"}};
    const struct {
        const char* name;
        std::optional<std::string> before;
        Setup setup;
        Way way;
    } cases[] = {
        {"code page file", ansi, Setup::None, Way::Swapped},
        {"UTF-16 file", Utf16File(ansi), Setup::None, Way::Swapped},
        {"leftover of an ended run", ansi, Setup::Leftover, Way::Swapped},
        {"no file yet", std::nullopt, Setup::None, Way::Created},
        {"no file yet, a leftover", std::nullopt, Setup::Leftover, Way::Created},
        {"hard link", ansi, Setup::HardLink, Way::InPlace},
        {"no copy can be made", ansi, Setup::CopyNameTaken, Way::InPlace},
        {"held open without shared writing", ansi, Setup::HeldOpen, Way::Refused},
        {"read-only file", ansi, Setup::ReadOnly, Way::Refused},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string ini = temp_.File("s" + std::to_string(++n) + ".ini"), copy = ini + ".~promptwright";
        const std::string reference = temp_.File("r" + std::to_string(n) + ".ini");
        if (c.before) {
            temp_.WriteBytes(ini, *c.before);
            temp_.WriteBytes(reference, *c.before);
        }
        for (const ProfileValue& v : two)
            WritePrivateProfileStringW(Wide(v.section).c_str(), Wide(v.key).c_str(), Wide(v.value).c_str(),
                                       Wide(reference).c_str());
        const std::string expected = c.way == Way::Refused ? *c.before : test::TempDir::ReadBytes(reference);
        UniqueHandle held;
        if (c.setup == Setup::Leftover) {
            temp_.WriteBytes(copy, "[QuickBox]\r\nJunk=1\r\n");
            SetFileAttributesW(Wide(copy).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
        }
        if (c.setup == Setup::HardLink) {
            ASSERT_TRUE(CreateHardLinkW(Wide(ini + ".link").c_str(), Wide(ini).c_str(), nullptr));
        }
        if (c.setup == Setup::CopyNameTaken) CreateDirectoryW(Wide(copy).c_str(), nullptr);
        if (c.setup == Setup::HeldOpen)
            held = UniqueHandle(
                CreateFileW(Wide(ini).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (c.setup == Setup::ReadOnly) SetFileAttributesW(Wide(ini).c_str(), FILE_ATTRIBUTE_READONLY);
        const std::string old = ReadProfileString(ini, "Settings", "CharacterSet", "none");  // Wine keeps this parse
        const test::FileId id = test::IdOf(ini);

        EXPECT_EQ(WriteProfileValues(ini, two), c.way != Way::Refused);
        held.Reset();
        EXPECT_EQ(test::TempDir::ReadBytes(ini), expected);
        if (c.before) {
            EXPECT_EQ(test::IdOf(ini) == id, c.way != Way::Swapped) << "a swap puts another file in place";
        }
        EXPECT_EQ(test::TempDir::ReadBytes(ini + ".link"), c.setup == Setup::HardLink ? expected : "");
        EXPECT_EQ(ReadProfileString(ini, "Settings", "CharacterSet", "none"), c.way == Way::Refused ? old : "2");
        EXPECT_EQ(ReadProfileString(ini, "QuickBox", "B", "none"), c.way == Way::Refused ? "none" : "b();");
        const DWORD left = GetFileAttributesW(Wide(copy).c_str());
        if (c.setup == Setup::CopyNameTaken)
            EXPECT_TRUE(left != INVALID_FILE_ATTRIBUTES && (left & FILE_ATTRIBUTE_DIRECTORY));
        else
            EXPECT_EQ(left, INVALID_FILE_ATTRIBUTES);
    }
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
