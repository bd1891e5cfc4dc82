// The shell settings against Wine's real registry and profile files. Every
// test restores what it changes.
#include "RegistryKey.h"
#include "ShellSettings.h"
#include "TestSupport.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

const char TestKeyName[] = "Software\\VarnholtTests";
const char Winlogon[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char Explorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char Browse[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BrowseNewProcess";
const char IE4[] = "Software\\Microsoft\\IE4";

// Runs one activation and returns the one message box it showed.
SeenWindow OnlyMessageOf(void (*activate)(const ShellEntry&), const char* path)
{
    DialogDriver driver;
    driver.Then([](HWND box) { PressButton(box, IDOK); });
    activate(MakeEntry("test", path));
    EXPECT_EQ(1u, driver.Seen().size()) << "message boxes shown";
    return driver.Seen().empty() ? SeenWindow() : driver.Seen().front();
}

class RegistryKeyTest : public ::testing::Test
{
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_CURRENT_USER, TestKeyName); }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, TestKeyName); }
};

// Saves and restores every value that activation may write.
class ShellSettingsTest : public ::testing::Test
{
protected:
    RegistryValueGuard shell{HKEY_LOCAL_MACHINE, Winlogon, "Shell"};
    RegistryValueGuard machineDesktop{HKEY_LOCAL_MACHINE, Explorer, "DesktopProcess"};
    RegistryValueGuard userDesktop{HKEY_CURRENT_USER, Explorer, "DesktopProcess"};
    RegistryValueGuard browseKey{HKEY_LOCAL_MACHINE, Browse, "BrowseNewProcess"};
    RegistryValueGuard ie4Key{HKEY_LOCAL_MACHINE, IE4, "Varnholt test"};
    RegistryValueGuard wowShell{HKEY_LOCAL_MACHINE, Winlogon, "Shell", KEY_WOW64_32KEY};

    static void SetShell(const std::string& text)
    {
        SetRegistryValue(HKEY_LOCAL_MACHINE, Winlogon, "Shell", REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    static void SetIE4(bool present)
    {
        if (present)
            SetRegistryValue(HKEY_LOCAL_MACHINE, IE4, "Varnholt test", REG_SZ, "", 1);
        else
            DeleteRegistryTree(HKEY_LOCAL_MACHINE, IE4);
    }

    static std::string CurrentShell()
    {
        char buffer[MAX_PATH];
        ReadCurrentShell(buffer);
        return buffer;
    }

    static SeenWindow Activate(const char* path) { return OnlyMessageOf(ActivateShellNT, path); }
};

void ExpectMessage(const SeenWindow& box, UINT textId)
{
    EXPECT_EQ("Orvantis", box.caption);
    EXPECT_EQ(LoadText(textId), box.text);
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    EXPECT_FALSE(box.hasIcon);
    EXPECT_EQ(NULL, box.owner);
}

} // namespace

TEST_F(RegistryKeyTest, CreatesAMissingKeyAndOpensAnExistingOne)
{
    {
        RegistryKey key(HKEY_CURRENT_USER, TestKeyName, KEY_ALL_ACCESS);
        EXPECT_TRUE(key.CreatedNew());
    }
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, TestKeyName));
    RegistryKey again(HKEY_CURRENT_USER, TestKeyName, KEY_ALL_ACCESS);
    EXPECT_FALSE(again.CreatedNew());
}

TEST_F(RegistryKeyTest, StoresStringsWithTheirTerminatorAndDwords)
{
    RegistryKey key(HKEY_CURRENT_USER, TestKeyName, KEY_ALL_ACCESS);
    EXPECT_TRUE(key.SetString("empty", ""));
    EXPECT_TRUE(key.SetString("text", "C:\\Shells\\alt.exe"));
    EXPECT_TRUE(key.SetDword("number", 1));

    HKEY raw;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, TestKeyName, 0, KEY_READ, &raw));
    struct Case
    {
        const char* name;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"empty", REG_SZ, std::string(1, '\0')},
        {"text", REG_SZ, std::string("C:\\Shells\\alt.exe") + '\0'},
        {"number", REG_DWORD, std::string("\x01\0\0\0", 4)},
    };
    for (const Case& c : cases)
    {
        char data[64];
        DWORD size = sizeof data, type = 0;
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(raw, c.name, NULL, &type, reinterpret_cast<BYTE*>(data), &size));
        EXPECT_EQ(c.type, type) << c.name;
        EXPECT_EQ(c.bytes, std::string(data, size)) << c.name;
    }
    RegCloseKey(raw);
}

TEST_F(RegistryKeyTest, QueryStringAlwaysLeavesATerminatedTextInTheBuffer)
{
    const DWORD bufferSize = 8;
    struct Case
    {
        const char* what;
        DWORD type;
        std::string stored; // empty type 0 means no value
        std::string expected;
    } cases[] = {
        {"missing value", 0, "", "fallbk"},
        {"fits", REG_SZ, std::string("abcdefg") + '\0', "abcdefg"},
        {"longer than the buffer", REG_SZ, std::string("abcdefgh") + '\0', "fallbk"},
        {"unterminated, shorter", REG_BINARY, "abc", "abc"},
        {"unterminated, buffer size", REG_BINARY, "abcdefgh", "abcdefg"},
        {"expandable string", REG_EXPAND_SZ, std::string("%x%") + '\0', "%x%"},
        {"dword", REG_DWORD, std::string("\x41\x42\0\0", 4), "AB"},
        {"empty binary", REG_BINARY, "", ""},
    };
    for (const Case& c : cases)
    {
        DeleteRegistryValue(HKEY_CURRENT_USER, TestKeyName, "value");
        if (c.type != 0)
            SetRegistryValue(HKEY_CURRENT_USER, TestKeyName, "value", c.type, c.stored.data(),
                             static_cast<DWORD>(c.stored.size()));

        char buffer[bufferSize + 4];
        std::memset(buffer, '#', sizeof buffer);
        RegistryKey key(HKEY_CURRENT_USER, TestKeyName, KEY_ALL_ACCESS);
        key.QueryString("value", buffer, bufferSize, "fallbk");
        EXPECT_EQ(c.expected, std::string(buffer)) << c.what;
        EXPECT_EQ('#', buffer[bufferSize]) << c.what << ": wrote past the buffer";
    }
}

TEST_F(RegistryKeyTest, ADeniedKeyThrowsWithTheErrorCode)
{
    {
        RegistryKey create(HKEY_CURRENT_USER, TestKeyName, KEY_ALL_ACCESS);
    }
    ReadOnlyKeyGuard readOnly(HKEY_CURRENT_USER, TestKeyName);
    try
    {
        RegistryKey key(HKEY_CURRENT_USER, TestKeyName, KEY_ALL_ACCESS);
        ADD_FAILURE() << "opened a key that grants only reading";
    }
    catch (registryException error)
    {
        EXPECT_EQ(ERROR_ACCESS_DENIED, error.code);
    }
}

TEST_F(ShellSettingsTest, ReadsTheConfiguredShellOrUnknown)
{
    EXPECT_TRUE(IsWindowsNT());
    struct Case
    {
        const char* what;
        bool present;
        std::string stored;
        std::string expected;
    } cases[] = {
        {"plain", true, "C:\\Shells\\alt.exe", "C:\\Shells\\alt.exe"},
        {"with arguments", true, "C:\\Shells\\alt.exe -desktop", "C:\\Shells\\alt.exe -desktop"},
        {"empty", true, "", ""},
        {"259 characters", true, std::string(259, 's'), std::string(259, 's')},
        {"260 characters", true, std::string(260, 's'), "Unknown"},
        {"missing", false, "", "Unknown"},
    };
    for (const Case& c : cases)
    {
        if (c.present)
            SetShell(c.stored);
        else
            DeleteRegistryValue(HKEY_LOCAL_MACHINE, Winlogon, "Shell");
        EXPECT_EQ(c.expected, CurrentShell()) << c.what;
    }
}

TEST_F(ShellSettingsTest, ActivationWritesTheShellAndExplorerOptions)
{
    struct Case
    {
        const char* path;
        bool ie4;
        DWORD desktopProcess;
        const char* browseNewProcess; // nullptr: no value
    } cases[] = {
        {"explorer.exe", true, 0, "NO"},
        {"EXPLORER.EXE", true, 0, "NO"},
        {"C:\\WINNT\\explorer.exe", true, 1, "YES"},
        {"C:\\Shells\\alt.exe", false, 1, nullptr},
        {"explorer.exe", false, 0, nullptr},
    };
    std::string wowBefore;
    bool wowPresent = ReadRegistryString(HKEY_LOCAL_MACHINE, Winlogon, "Shell", wowBefore, KEY_WOW64_32KEY);
    for (const Case& c : cases)
    {
        SetIE4(c.ie4);
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, Browse);
        SetRegistryValue(HKEY_LOCAL_MACHINE, Explorer, "DesktopProcess", REG_DWORD, "\x07\0\0\0", 4);
        SetRegistryValue(HKEY_CURRENT_USER, Explorer, "DesktopProcess", REG_DWORD, "\x07\0\0\0", 4);

        ExpectMessage(Activate(c.path), IDS_SETTINGS_SAVED);

        std::string shell;
        EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, Winlogon, "Shell", shell));
        EXPECT_EQ(c.path, shell);
        DWORD machine = 7, user = 7;
        EXPECT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, Explorer, "DesktopProcess", machine));
        EXPECT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, Explorer, "DesktopProcess", user));
        EXPECT_EQ(c.desktopProcess, machine) << c.path;
        EXPECT_EQ(c.desktopProcess, user) << c.path;
        EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, Browse)) << c.path;
        std::string browse;
        bool hasBrowse = ReadRegistryString(HKEY_LOCAL_MACHINE, Browse, "BrowseNewProcess", browse);
        EXPECT_EQ(c.browseNewProcess != nullptr, hasBrowse) << c.path;
        if (c.browseNewProcess && hasBrowse)
        {
            EXPECT_EQ(c.browseNewProcess, browse) << c.path;
        }
        EXPECT_EQ(c.path, CurrentShell());
    }
    // This process is native, so the 32-bit view is never the one written.
    EXPECT_EQ(0u, NativeRegistryView());
    std::string wowAfter;
    EXPECT_EQ(wowPresent, ReadRegistryString(HKEY_LOCAL_MACHINE, Winlogon, "Shell", wowAfter, KEY_WOW64_32KEY));
    EXPECT_EQ(wowBefore, wowAfter);
}

TEST_F(ShellSettingsTest, ADeniedKeyShowsTheRegistryErrorAndWritesNothing)
{
    SetShell("C:\\Before\\before.exe");
    SetRegistryValue(HKEY_LOCAL_MACHINE, Explorer, "DesktopProcess", REG_DWORD, "\x07\0\0\0", 4);
    SetRegistryValue(HKEY_CURRENT_USER, Explorer, "DesktopProcess", REG_DWORD, "\x07\0\0\0", 4);
    SetIE4(true);

    // Each of the four keys denied in turn; the keys before it open, nothing is written.
    struct Case
    {
        HKEY root;
        const char* key;
    } cases[] = {{HKEY_LOCAL_MACHINE, Winlogon}, {HKEY_LOCAL_MACHINE, Explorer}, {HKEY_CURRENT_USER, Explorer},
                 {HKEY_LOCAL_MACHINE, Browse}};
    for (const Case& c : cases)
    {
        {
            RegistryKey ensure(c.root, c.key, KEY_ALL_ACCESS);
        }
        ReadOnlyKeyGuard readOnly(c.root, c.key);
        if (c.key == Winlogon)
        {
            EXPECT_EQ("Unknown", CurrentShell());
        }

        ExpectMessage(Activate("C:\\Shells\\alt.exe"), IDS_REGISTRY_ERROR);

        std::string shell, browse;
        DWORD machine = 0, user = 0;
        EXPECT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, Winlogon, "Shell", shell));
        EXPECT_EQ("C:\\Before\\before.exe", shell) << c.key;
        EXPECT_TRUE(ReadRegistryDword(HKEY_LOCAL_MACHINE, Explorer, "DesktopProcess", machine));
        EXPECT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, Explorer, "DesktopProcess", user));
        EXPECT_EQ(7u, machine) << c.key;
        EXPECT_EQ(7u, user) << c.key;
        EXPECT_FALSE(ReadRegistryString(HKEY_LOCAL_MACHINE, Browse, "BrowseNewProcess", browse)) << c.key;
    }
}

// Run by the copy system_tests_98.exe, which Wine reports as Windows 98.
class Windows98Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(IsWindowsNT()) << "the prefix does not report Windows 98 for this executable";
        char directory[MAX_PATH];
        GetWindowsDirectoryA(directory, MAX_PATH);
        path = std::string(directory) + "\\system.ini";
        original = ReadFileBytes(path);
        ASSERT_TRUE(FileExists(path));
    }
    void TearDown() override
    {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteFileBytes(path, original);
        WritePrivateProfileStringA(NULL, NULL, NULL, "system.ini"); // drop the profile cache
    }

    void UseSystemIni(const std::string& text)
    {
        WriteFileBytes(path, text);
        WritePrivateProfileStringA(NULL, NULL, NULL, "system.ini");
    }

    static SeenWindow Activate(const char* shell) { return OnlyMessageOf(ActivateShell9x, shell); }

    std::string path;
    std::string original;
};

TEST_F(Windows98Test, ReadsTheShellLineOfTheBootSection)
{
    struct Case
    {
        const char* what;
        std::string ini;
        std::string expected;
    } cases[] = {
        {"as written", "[boot]\r\nshell=Explorer.exe\r\n", "Explorer.exe"},
        {"no key", "[boot]\r\nother=1\r\n", "Unknown"},
        {"no section", "[drivers]\r\nshell=x.exe\r\n", "Unknown"},
        {"long line", "[boot]\r\nshell=" + std::string(300, 'L') + "\r\n", std::string(259, 'L')},
    };
    for (const Case& c : cases)
    {
        UseSystemIni(c.ini);
        char buffer[MAX_PATH];
        ReadCurrentShell(buffer);
        EXPECT_EQ(c.expected, std::string(buffer)) << c.what;
    }
}

TEST_F(Windows98Test, ActivationChangesOnlyTheShellLine)
{
    UseSystemIni("[boot]\r\noemfonts.fon=vgaoem.fon\r\nshell=Explorer.exe\r\nsystem.drv=system.drv\r\n"
                 "[386Enh]\r\nshell=keep.exe\r\n");
    ExpectMessage(Activate("C:\\Shells\\alt.exe"), IDS_SETTINGS_SAVED);
    EXPECT_EQ("[boot]\r\noemfonts.fon=vgaoem.fon\r\nshell=C:\\Shells\\alt.exe\r\nsystem.drv=system.drv\r\n"
              "[386Enh]\r\nshell=keep.exe\r\n",
              ReadFileBytes(path));
}

TEST_F(Windows98Test, AFailedWriteShowsTheProfileError)
{
    UseSystemIni("[boot]\r\nshell=Explorer.exe\r\n");
    // Another program has system.ini open and shares only reading.
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    ExpectMessage(Activate("C:\\Shells\\alt.exe"), IDS_PROFILE_ERROR);
    CloseHandle(holder);
    EXPECT_EQ("[boot]\r\nshell=Explorer.exe\r\n", ReadFileBytes(path));
}
