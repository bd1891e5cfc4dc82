#pragma once

#include "ShellEntry.h"

#include <windows.h>

// The program's window title, also the caption of its message boxes.
extern const char ProgramTitle[];

// Size of a message text buffer; string-table texts are loaded into it with
// one byte to spare.
enum { MessageSize = 256 };

extern const char WinlogonKeyName[];
extern const char ExplorerKeyName[];
extern const char BrowseNewProcessKeyName[];
extern const char IE4KeyName[];

// True on the NT family, false on Windows 95/98.
bool IsWindowsNT();

// KEY_WOW64_64KEY when the program runs under WOW64, so that its keys are
// those the 64-bit logon reads; 0 elsewhere.
REGSAM NativeRegistryView();

// Fills buffer (MAX_PATH bytes) with the shell the system starts at logon,
// or "Unknown" when it can't be read.
void ReadCurrentShell(char* buffer);

// Write entry.path as the logon shell and report the outcome in an ownerless
// message box.
void ActivateShellNT(const ShellEntry& entry);
void ActivateShell9x(const ShellEntry& entry);

// Loads a string-table text of the executable into a MessageSize buffer.
void LoadMessage(UINT id, char* buffer);
