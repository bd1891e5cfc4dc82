#include "Dialogs.h"
#include "resource.h"

#include <commdlg.h>
#include <cstddef>

ShellEntry* g_editedEntry;

namespace
{

// The file dialog structure's first form, which every version of Windows
// accepts: 76 bytes in a 32-bit program.
constexpr DWORD OpenFileNameSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(OpenFileNameSize == 76, "the first form of OPENFILENAMEA is 76 bytes");
#endif

void BrowseForShell(HWND hwnd)
{
    char original[MAX_PATH];
    GetDlgItemTextA(hwnd, IDC_SHELL_PATH, original, MAX_PATH);

    char file[MAX_PATH];
    lstrcpyA(file, original);

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = OpenFileNameSize;
    ofn.hwndOwner = hwnd;
    ofn.lpstrFilter = "Shell Application\0*.exe\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = "Locate the Shell Executable";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NONETWORKBUTTON | OFN_EXPLORER;

    // After a cancel or a failure the buffer may hold anything (a too-long
    // choice leaves the size it needed there), so the field gets back the text
    // it had, at most MAX_PATH - 1 characters of it.
    if (GetOpenFileNameA(&ofn))
    {
        SetDlgItemTextA(hwnd, IDC_SHELL_NAME, GetFileNamePart(file));
        SetDlgItemTextA(hwnd, IDC_SHELL_PATH, file);
    }
    else
    {
        SetDlgItemTextA(hwnd, IDC_SHELL_PATH, original);
    }
}

} // namespace

int RunEntryEditor(HWND owner, ShellEntry* entry)
{
    return static_cast<int>(DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_EDIT_SHELL), owner, EntryEditorProc,
                                            reinterpret_cast<LPARAM>(entry)));
}

INT_PTR CALLBACK EntryEditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        g_editedEntry = reinterpret_cast<ShellEntry*>(lParam);
        SetDlgItemTextA(hwnd, IDC_SHELL_NAME, g_editedEntry->name);
        SetDlgItemTextA(hwnd, IDC_SHELL_PATH, g_editedEntry->path);
        return TRUE;
    case WM_COMMAND:
        EntryEditorCommand(hwnd, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

void EntryEditorCommand(HWND hwnd, int id)
{
    switch (id)
    {
    case IDOK:
        GetDlgItemTextA(hwnd, IDC_SHELL_NAME, g_editedEntry->name, ShellNameSize);
        GetDlgItemTextA(hwnd, IDC_SHELL_PATH, g_editedEntry->path, ShellPathSize);
        EndDialog(hwnd, IDOK);
        break;
    case IDCANCEL:
        EndDialog(hwnd, IDCANCEL);
        break;
    case IDC_BROWSE:
        BrowseForShell(hwnd);
        break;
    }
}

const char* GetFileNamePart(const char* path)
{
    if (path[0] == '\\')
        return "";

    const char* name = path;
    for (const char* p = path; *p; ++p)
    {
        if (*p == '\\')
            name = p + 1;
    }
    return name;
}
