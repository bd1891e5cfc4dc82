#include "CatalogueFile.h"
#include "Dialogs.h"
#include "ShellSettings.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    g_instance = hInstance;

    ShellCatalogue* catalogue = new ShellCatalogue;
    LoadCatalogue(*catalogue);

    int choice = RunMainDialog(catalogue);
    if (choice != -1)
    {
        const bool windowsNT = IsWindowsNT();
        const ShellEntry& entry = catalogue->At(choice);
        if (windowsNT)
            ActivateShellNT(entry);
        else
            ActivateShell9x(entry);
    }

    SaveCatalogue(*catalogue);
    catalogue->Release();
    delete catalogue;
    return 0;
}
