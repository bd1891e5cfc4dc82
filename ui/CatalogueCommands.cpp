#include "CatalogueFile.h"
#include "Dialogs.h"
#include "ShellSettings.h"

namespace
{

const char DeletePromptFormat[] = "Remove %s from Varnholt?";
const char DeletePromptCaption[] = "Varnholt";

// The list and the file always show the catalogue as it is now.
void CatalogueChanged(HWND hwnd)
{
    FillShellList(hwnd, g_catalogue);
    SaveCatalogue(*g_catalogue);
}

bool IsUserEntry(int selected)
{
    if (selected >= 1)
        return true;
    MessageBeep(0xFFFFFFFF);
    return false;
}

} // namespace

void NewShell(HWND hwnd)
{
    // The proposal is the shell the system starts now.
    ShellEntry record = {};
    ReadCurrentShell(record.path);
    CopyText(record.name, ShellNameSize, GetFileNamePart(record.path));

    if (RunEntryEditor(hwnd, &record) != IDOK)
        return;
    g_catalogue->Append(record);
    CatalogueChanged(hwnd);
}

void EditShell(HWND hwnd, int selected)
{
    if (!IsUserEntry(selected))
        return;
    RunEntryEditor(hwnd, &g_catalogue->At(selected));
    CatalogueChanged(hwnd);
}

void DeleteShell(HWND hwnd, int selected)
{
    if (!IsUserEntry(selected))
        return;

    char prompt[MessageSize];
    wsprintfA(prompt, DeletePromptFormat, g_catalogue->At(selected).name);
    if (MessageBoxA(hwnd, prompt, DeletePromptCaption, MB_YESNO) != IDYES)
        return;
    g_catalogue->Erase(selected);
    CatalogueChanged(hwnd);
}
