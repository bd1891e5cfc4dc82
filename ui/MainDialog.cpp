#include "Dialogs.h"
#include "ShellSettings.h"
#include "resource.h"

#include <commctrl.h>

HINSTANCE g_instance;
ShellCatalogue* g_catalogue;

namespace
{

struct ListColumn
{
    const char* header;
    int width;
};

const ListColumn ShellListColumns[] = {{"Shell", 150}, {"Path", 450}};

void InsertListColumns(HWND list)
{
    for (int column = 0; column < 2; ++column)
    {
        LVCOLUMNA lvc = {};
        lvc.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        lvc.fmt = LVCFMT_LEFT;
        lvc.cx = ShellListColumns[column].width;
        lvc.pszText = const_cast<char*>(ShellListColumns[column].header);
        lvc.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&lvc));
    }
}

} // namespace

int RunMainDialog(ShellCatalogue* catalogue)
{
    return static_cast<int>(DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc,
                                            reinterpret_cast<LPARAM>(catalogue)));
}

INT_PTR CALLBACK MainDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        g_catalogue = reinterpret_cast<ShellCatalogue*>(lParam);
        InitMainDialog(hwnd, g_catalogue);
        return TRUE;
    case WM_COMMAND:
        return MainDialogCommand(hwnd, LOWORD(wParam));
    default:
        return FALSE;
    }
}

void InitMainDialog(HWND hwnd, ShellCatalogue* catalogue)
{
    char currentShell[MAX_PATH];
    ReadCurrentShell(currentShell);
    SetDlgItemTextA(hwnd, IDC_CURRENT_SHELL, currentShell);

    InsertListColumns(GetDlgItem(hwnd, IDC_SHELL_LIST));
    FillShellList(hwnd, catalogue);
}

void FillShellList(HWND hwnd, const ShellCatalogue* catalogue)
{
    HWND list = GetDlgItem(hwnd, IDC_SHELL_LIST);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);

    for (unsigned index = 0; index < catalogue->Size(); ++index)
    {
        const ShellEntry& entry = catalogue->At(static_cast<int>(index));

        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(index);
        item.pszText = const_cast<char*>(entry.name);
        item.lParam = static_cast<LPARAM>(index);
        LRESULT row = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));

        LVITEMA pathItem = {};
        pathItem.iSubItem = 1;
        pathItem.pszText = const_cast<char*>(entry.path);
        SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&pathItem));
    }
}

int GetSelectedEntryIndex(HWND listWindow)
{
    LRESULT row = SendMessageA(listWindow, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0));
    if (row == -1)
        return -1;

    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = static_cast<int>(row);
    SendMessageA(listWindow, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<int>(item.lParam);
}

BOOL MainDialogCommand(HWND hwnd, int id)
{
    const int selected = GetSelectedEntryIndex(GetDlgItem(hwnd, IDC_SHELL_LIST));

    switch (id)
    {
    case IDOK:
        if (selected == -1)
            MessageBeep(0xFFFFFFFF);
        else if (ConfirmShellChoice(hwnd, g_catalogue->At(selected)))
            EndDialog(hwnd, selected);
        break;
    case IDCANCEL:
        EndDialog(hwnd, -1);
        break;
    case IDC_NEW_SHELL:
        NewShell(hwnd);
        break;
    case IDC_EDIT_SHELL:
        EditShell(hwnd, selected);
        break;
    case IDC_DELETE_SHELL:
        DeleteShell(hwnd, selected);
        break;
    }
    return TRUE;
}
