#include "RegistryKey.h"
#include "ShellSettings.h"

const char ProgramTitle[] = "Orvantis";

const char WinlogonKeyName[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const char ExplorerKeyName[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const char BrowseNewProcessKeyName[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BrowseNewProcess";
const char IE4KeyName[] = "Software\\Microsoft\\IE4";

namespace
{
const char UnknownShell[] = "Unknown";
}

bool IsWindowsNT()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

REGSAM NativeRegistryView()
{
    // IsWow64Process is missing before Windows XP SP2; look it up so that the
    // program still loads there.
    typedef BOOL(WINAPI * IsWow64ProcessFunction)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    IsWow64ProcessFunction isWow64Process =
        kernel ? reinterpret_cast<IsWow64ProcessFunction>(
                     reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
               : NULL;

    BOOL wow64 = FALSE;
    if (isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64)
        return KEY_WOW64_64KEY;
    return 0;
}

void ReadCurrentShell(char* buffer)
{
    if (!IsWindowsNT())
    {
        GetPrivateProfileStringA("boot", "shell", UnknownShell, buffer, MAX_PATH, "system.ini");
        return;
    }

    try
    {
        RegistryKey winlogon(HKEY_LOCAL_MACHINE, WinlogonKeyName, KEY_ALL_ACCESS | NativeRegistryView());
        winlogon.QueryString("shell", buffer, MAX_PATH, UnknownShell);
    }
    catch (registryException)
    {
        lstrcpyA(buffer, UnknownShell);
    }
}

void LoadMessage(UINT id, char* buffer)
{
    if (!LoadStringA(NULL, id, buffer, MessageSize - 1))
        buffer[0] = '\0';
}
