#pragma once

#include "ShellCatalogue.h"

#include <windows.h>

// The module whose dialog templates the program shows; set by WinMain before
// any dialog opens.
extern HINSTANCE g_instance;

// The catalogue that the open main dialog shows and edits (borrowed).
extern ShellCatalogue* g_catalogue;

// The entry that the open entry editor edits (borrowed).
extern ShellEntry* g_editedEntry;

// Main dialog: returns the catalogue index chosen with "Change", or -1.
int RunMainDialog(ShellCatalogue* catalogue);
INT_PTR CALLBACK MainDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void InitMainDialog(HWND hwnd, ShellCatalogue* catalogue);
void FillShellList(HWND hwnd, const ShellCatalogue* catalogue);
int GetSelectedEntryIndex(HWND listWindow);
BOOL MainDialogCommand(HWND hwnd, int id);

// Catalogue editing commands of the main dialog.
void NewShell(HWND hwnd);
void EditShell(HWND hwnd, int selected);
void DeleteShell(HWND hwnd, int selected);

// Entry editor: IDOK after the entry was overwritten, IDCANCEL, or -1.
int RunEntryEditor(HWND owner, ShellEntry* entry);
INT_PTR CALLBACK EntryEditorProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void EntryEditorCommand(HWND hwnd, int id);

// The file name after the last backslash; empty for a path that starts with one.
const char* GetFileNamePart(const char* path);

// Finds the program that a command line would start, by the rules Windows
// applies to a command line; false when there is none.
bool FindShellProgram(const char* commandLine, char program[MAX_PATH]);

// True when the entry may become the shell: its program exists, or the user
// confirmed the warning that it does not.
bool ConfirmShellChoice(HWND hwnd, const ShellEntry& entry);
