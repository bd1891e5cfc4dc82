#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{

// How long a scripted step waits for its window before the test fails.
const DWORD StepTimeLimitMs = 15000;
const UINT PollIntervalMs = 10;

DialogDriver* g_driver;

bool IsDialogWindow(HWND hwnd)
{
    char className[32] = "";
    GetClassNameA(hwnd, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0;
}

// Ends a window that no step expected: the buttons a dialog or message box
// may have, the least harmful first.
void CloseUnexpected(HWND hwnd)
{
    PostMessageA(hwnd, WM_COMMAND, IDNO, 0);
    PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
}

BOOL CALLBACK CloseThreadDialog(HWND hwnd, LPARAM)
{
    if (IsWindowVisible(hwnd) && IsDialogWindow(hwnd))
        CloseUnexpected(hwnd);
    return TRUE;
}

} // namespace

DialogDriver::DialogDriver() : current(NULL), timer(0), lastProgress(GetTickCount())
{
    g_driver = this;
    timer = SetTimer(NULL, 0, PollIntervalMs, TimerProc);
}

DialogDriver::~DialogDriver()
{
    KillTimer(NULL, timer);
    g_driver = nullptr;
    EXPECT_EQ(0u, steps.size()) << "scripted steps that no window arrived for";
}

DialogDriver& DialogDriver::Then(Step step)
{
    steps.push_back(std::move(step));
    lastProgress = GetTickCount();
    return *this;
}

void CALLBACK DialogDriver::TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_driver)
        g_driver->Poll();
}

namespace
{
// The dialog the user could work with now: the topmost visible and enabled
// one, since a modal dialog disables its owner.
BOOL CALLBACK FindTopDialog(HWND hwnd, LPARAM result)
{
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd) && IsDialogWindow(hwnd))
    {
        *reinterpret_cast<HWND*>(result) = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

void DialogDriver::Poll()
{
    HWND top = NULL;
    EnumThreadWindows(GetCurrentThreadId(), FindTopDialog, reinterpret_cast<LPARAM>(&top));
    if (top && top != current)
    {
        current = top;
        seen.push_back(DescribeWindow(top));
        lastProgress = GetTickCount();
        if (steps.empty())
        {
            ADD_FAILURE() << "unexpected window \"" << seen.back().caption << "\": " << seen.back().text;
            CloseUnexpected(top);
            return;
        }
        Step step = std::move(steps.front());
        steps.erase(steps.begin());
        step(top);
        return;
    }
    if (!top)
        current = NULL;

    if (!steps.empty() && GetTickCount() - lastProgress > StepTimeLimitMs)
    {
        ADD_FAILURE() << "no window arrived for a scripted step within " << StepTimeLimitMs << " ms";
        steps.clear();
        EnumThreadWindows(GetCurrentThreadId(), CloseThreadDialog, 0);
    }
}

std::string WindowText(HWND hwnd)
{
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string DlgItemText(HWND hwnd, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(hwnd, id, text, sizeof text);
    return text;
}

SeenWindow DescribeWindow(HWND hwnd)
{
    // Message boxes keep their text in static 0xFFFF and their icon in 0x0440.
    const int messageTextId = 0xFFFF;
    const int messageIconId = 0x0440;

    SeenWindow window;
    window.caption = WindowText(hwnd);
    window.text = DlgItemText(hwnd, messageTextId);
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
    {
        HWND button = GetDlgItem(hwnd, id);
        if (button && IsWindowVisible(button))
        {
            window.buttons.push_back(id);
            if ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
                window.defaultButton = id;
        }
    }
    HWND icon = GetDlgItem(hwnd, messageIconId);
    window.hasIcon = icon && IsWindowVisible(icon) && SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    window.owner = GetWindow(hwnd, GW_OWNER);
    return window;
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string ModuleDirectory()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = std::strrchr(path, '\\');
    if (slash)
        slash[1] = '\0';
    return path;
}

std::string CatalogueFilePath()
{
    return ModuleDirectory() + "Varnholt.dat";
}

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, NULL) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FilesMatching(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

ShellEntry MakeEntry(const char* name, const char* path, char filler)
{
    ShellEntry entry;
    std::memset(&entry, filler, sizeof entry);
    lstrcpynA(entry.name, name, ShellNameSize);
    lstrcpynA(entry.path, path, ShellPathSize);
    return entry;
}

std::string RecordBytes(const ShellEntry& entry)
{
    return std::string(reinterpret_cast<const char*>(&entry), sizeof entry);
}

std::string LoadText(UINT id)
{
    char text[1024] = "";
    LoadStringA(NULL, id, text, sizeof text);
    return text;
}

RegistryValueGuard::RegistryValueGuard(HKEY root, const std::string& subkey, const std::string& name, REGSAM view)
    : root(root), subkey(subkey), name(name), view(view), keyExisted(false), valueExisted(false), type(0)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return;
    keyExisted = true;
    DWORD size = 0;
    if (RegQueryValueExA(key, name.c_str(), NULL, &type, NULL, &size) == ERROR_SUCCESS)
    {
        data.resize(size + 1);
        valueExisted = RegQueryValueExA(key, name.c_str(), NULL, &type, data.data(), &size) == ERROR_SUCCESS;
        data.resize(size);
    }
    RegCloseKey(key);
}

RegistryValueGuard::~RegistryValueGuard()
{
    if (!keyExisted)
    {
        DeleteRegistryTree(root, subkey, view);
        return;
    }
    if (valueExisted)
        SetRegistryValue(root, subkey, name, type, data.data(), static_cast<DWORD>(data.size()), view);
    else
        DeleteRegistryValue(root, subkey, name, view);
}

bool ReadRegistryString(HKEY root, const std::string& subkey, const std::string& name, std::string& value,
                        REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    char buffer[4096] = "";
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, name.c_str(), NULL, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return false;
    value = buffer;
    return true;
}

bool ReadRegistryDword(HKEY root, const std::string& subkey, const std::string& name, DWORD& value, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof value;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, name.c_str(), NULL, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD;
}

bool RegistryKeyExists(HKEY root, const std::string& subkey, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SetRegistryValue(HKEY root, const std::string& subkey, const std::string& name, DWORD type, const void* data,
                      DWORD size, REGSAM view)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, subkey.c_str(), 0, NULL, 0, KEY_ALL_ACCESS | view, NULL, &key, NULL));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

void DeleteRegistryValue(HKEY root, const std::string& subkey, const std::string& name, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
}

void DeleteRegistryTree(HKEY root, const std::string& subkey, REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
        return;
    char child[256];
    while (RegEnumKeyA(key, 0, child, sizeof child) == ERROR_SUCCESS)
        DeleteRegistryTree(root, subkey + "\\" + child, view);
    RegCloseKey(key);
    RegDeleteKeyA(root, subkey.c_str());
}

ReadOnlyKeyGuard::ReadOnlyKeyGuard(HKEY root, const std::string& subkey) : key(NULL)
{
    if (RegOpenKeyExA(root, subkey.c_str(), 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS)
    {
        ADD_FAILURE() << "cannot change the security of " << subkey;
        key = NULL;
        return;
    }
    DWORD size = 0;
    RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, NULL, &size);
    originalSecurity.resize(size);
    EXPECT_EQ(ERROR_SUCCESS, RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, originalSecurity.data(), &size));

    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = NULL;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    BYTE aclBuffer[256];
    PACL acl = reinterpret_cast<PACL>(aclBuffer);
    InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor));
    FreeSid(everyone);
}

ReadOnlyKeyGuard::~ReadOnlyKeyGuard()
{
    if (!key)
        return;
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, originalSecurity.data()));
    RegCloseKey(key);
}
