#include "RegistryKey.h"
#include "ShellSettings.h"
#include "resource.h"

namespace
{

bool IsIE4Installed(REGSAM view)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, IE4KeyName, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void ShowOutcome(UINT messageId)
{
    char text[MessageSize];
    LoadMessage(messageId, text);
    MessageBoxA(NULL, text, ProgramTitle, MB_OK);
}

// Writes the shell and Explorer's process options; false when a key could
// not be opened or any value could not be written.
bool WriteShellSettingsNT(const char* shell)
{
    const REGSAM view = NativeRegistryView();
    const bool ie4 = IsIE4Installed(view);
    try
    {
        RegistryKey winlogon(HKEY_LOCAL_MACHINE, WinlogonKeyName, KEY_ALL_ACCESS | view);
        RegistryKey machineExplorer(HKEY_LOCAL_MACHINE, ExplorerKeyName, KEY_ALL_ACCESS | view);
        RegistryKey userExplorer(HKEY_CURRENT_USER, ExplorerKeyName, KEY_ALL_ACCESS | view);
        RegistryKey browse(HKEY_LOCAL_MACHINE, BrowseNewProcessKeyName, KEY_ALL_ACCESS | view);

        // Beside any other shell, Explorer windows need a process of their own.
        const bool explorer = lstrcmpiA(shell, "explorer.exe") == 0;
        const DWORD desktopProcess = explorer ? 0 : 1;

        bool written = winlogon.SetString("Shell", shell);
        written = machineExplorer.SetDword("DesktopProcess", desktopProcess) && written;
        written = userExplorer.SetDword("DesktopProcess", desktopProcess) && written;
        if (ie4)
            written = browse.SetString("BrowseNewProcess", explorer ? "NO" : "YES") && written;
        return written;
    }
    catch (registryException)
    {
        return false;
    }
}

} // namespace

void ActivateShellNT(const ShellEntry& entry)
{
    ShowOutcome(WriteShellSettingsNT(entry.path) ? IDS_SETTINGS_SAVED : IDS_REGISTRY_ERROR);
}

void ActivateShell9x(const ShellEntry& entry)
{
    bool written = WritePrivateProfileStringA("boot", "shell", entry.path, "system.ini") != FALSE;
    ShowOutcome(written ? IDS_SETTINGS_SAVED : IDS_PROFILE_ERROR);
}
